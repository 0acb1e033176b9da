#pragma once
// The frame every control shares: reference counting with a module lock for the object's life,
// IDispatch answered from the interface's dispatch table, one connection point for the class's
// event interface, the control window, and persistence of the extent ("_cx", "_cy").

#include "ControlDrawing.h"
#include "ControlWindow.h"
#include "PlotModule.h"
#include "com/ConnectionPoint.h"
#include "plot/typelib/ZarPlotDispatch.h"

#include <QPainter>
#include <QPointer>

#include <optional>

namespace zar::plot {

using namespace ZAR_PLOTLib;

// The default extent of a new control, in HIMETRIC (two inches square).
inline constexpr SIZEL kDefaultControlExtent{5080, 5080};

template <class Interface>
class CComControl : public Interface, public IConnectionPointContainer, public IControlWindow {
  public:
    explicit CComControl(const ZAR_PLOTLib::CoclassInfo& info) : info_(info), lock_(PlotModule()) {
        if (!(info.eventInterface == IID_NULL)) events_.emplace(*this, info.eventInterface);
    }
    virtual ~CComControl() {
        if (events_) events_->UnadviseAll();
        if (window_) {
            // The window may be in one of its own handlers right now (a sink released the
            // control): it goes once control returns to the event loop, or with its parent.
            window_->clearCallbacks();
            window_->hide();
            window_->deleteLater();
        }
    }
    CComControl(const CComControl&) = delete;
    CComControl& operator=(const CComControl&) = delete;

    // IUnknown
    HRESULT QueryInterface(const IID& iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == Interface::kIID)
            return ProvideInterface(static_cast<Interface*>(this), object);
        if (iid == IID_IConnectionPointContainer)
            return ProvideInterface(static_cast<IConnectionPointContainer*>(this), object);
        if (iid == IID_IControlWindow)
            return ProvideInterface(static_cast<IControlWindow*>(this), object);
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return refs_.increment(); }
    ULONG Release() override {
        const ULONG left = refs_.decrement();
        if (left == 0) delete this;
        return left;
    }

    // IDispatch
    HRESULT GetTypeInfoCount(std::uint32_t* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(std::uint32_t, LCID, void**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(const IID&, LPCWSTR* names, std::uint32_t count, LCID,
                          DISPID* ids) override {
        if (!names || !ids) return E_POINTER;
        if (count == 0) return S_OK;
        // Only the member name is looked up; named arguments are not supported.
        return ZAR_PLOTLib::DispatchTableOf<Interface>().idOfName(names[0], &ids[0]);
    }
    HRESULT Invoke(DISPID id, const IID&, LCID, std::uint16_t flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO*, std::uint32_t*) override {
        ComPtr<Interface> self(static_cast<Interface*>(this));
        return ZAR_PLOTLib::DispatchTableOf<Interface>().invoke(*this, id, flags, params, result);
    }

    // IConnectionPointContainer
    HRESULT FindConnectionPoint(const IID& iid, IConnectionPoint** point) override {
        if (!point) return E_POINTER;
        *point = nullptr;
        if (!events_ || !(iid == events_->eventInterface())) return CONNECT_E_NOCONNECTION;
        *point = &*events_;
        events_->AddRef();
        return S_OK;
    }

    // IControlWindow
    HRESULT CreateControlWindow(QWidget* parent, QWidget** window) override {
        if (!window) return E_POINTER;
        if (!window_) {
            window_ = new CControlWindow(parent, windowCallbacks());
        } else if (window_->parentWidget() != parent) {
            window_->setParent(parent);
        }
        *window = window_.data();
        return S_OK;
    }
    HRESULT GetExtent(SIZEL* extent) override {
        if (!extent) return E_POINTER;
        *extent = extent_;
        return S_OK;
    }
    HRESULT SetExtent(const SIZEL* extent) override {
        if (!extent) return E_POINTER;
        if (extent->cx < 0 || extent->cy < 0) return E_INVALIDARG;
        extent_ = *extent;
        return S_OK;
    }
    HRESULT Save(BSTR* state) override {
        if (!state) return E_POINTER;
        *state = SysAllocQString(QStringLiteral("_cx=%1\n_cy=%2\n")
                                     .arg(static_cast<std::uint32_t>(extent_.cx))
                                     .arg(static_cast<std::uint32_t>(extent_.cy)));
        return *state ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT Load(LPCWSTR state) override {
        if (!state) return E_POINTER;
        SIZEL extent = extent_;
        for (const QString& line : FromWide(state).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq < 0) continue;
            bool ok = false;
            const std::uint32_t value = line.mid(eq + 1).trimmed().toUInt(&ok);
            if (!ok || value > 0x7FFFFFFFu) return E_INVALIDARG;
            const QString name = line.left(eq).trimmed();
            if (name == QLatin1String("_cx"))
                extent.cx = static_cast<std::int32_t>(value);
            else if (name == QLatin1String("_cy"))
                extent.cy = static_cast<std::int32_t>(value);
        }
        extent_ = extent;
        return S_OK;
    }

    QWidget* window() const { return window_.data(); }
    const ZAR_PLOTLib::CoclassInfo& coclass() const { return info_; }

  protected:
    // Calls an event on every connected sink; the control stays alive through the handlers.
    void Fire(DISPID id, std::vector<VARIANT> arguments = {}) {
        if (!events_) return;
        ComPtr<Interface> self(static_cast<Interface*>(this));
        events_->Fire(id, std::move(arguments));
    }
    void Invalidate() {
        if (window_) window_->update();
    }
    // The mouse feedback laid over the window's plot.
    FeedbackImage& Feedback() { return feedback_; }
    std::unique_ptr<FeedbackImage::Scope> BeginFeedback() {
        return feedback_.Begin(window_ ? window_->size() : QSize(1, 1));
    }
    void FeedbackChanged() {
        if (window_) window_->update();
    }

    // What the control does with its window; the defaults paint white and take nothing.
    virtual void OnDraw(QPainter& painter, const QRect& rect) { painter.fillRect(rect, Qt::white); }
    virtual void OnMousePress(QMouseEvent*) {}
    virtual void OnMouseMove(QMouseEvent*) {}
    virtual void OnMouseRelease(QMouseEvent*) {}
    virtual bool OnKeyDown(QKeyEvent*) { return false; }

  private:
    CControlWindow::Callbacks windowCallbacks() {
        CControlWindow::Callbacks c;
        // The window's callbacks keep the control alive while they run: a sink may release it.
        c.paint = [this](QPainter& p, const QRect& r) {
            OnDraw(p, r);
            feedback_.Composite(p);
        };
        c.mousePress = [this](QMouseEvent* e) {
            ComPtr<Interface> self(static_cast<Interface*>(this));
            OnMousePress(e);
        };
        c.mouseMove = [this](QMouseEvent* e) {
            ComPtr<Interface> self(static_cast<Interface*>(this));
            OnMouseMove(e);
        };
        c.mouseRelease = [this](QMouseEvent* e) {
            ComPtr<Interface> self(static_cast<Interface*>(this));
            OnMouseRelease(e);
        };
        c.keyDown = [this](QKeyEvent* e) {
            ComPtr<Interface> self(static_cast<Interface*>(this));
            return OnKeyDown(e);
        };
        return c;
    }

    const ZAR_PLOTLib::CoclassInfo& info_;
    ModuleLock lock_;
    RefCount refs_;
    std::optional<ConnectionPoint> events_;
    QPointer<CControlWindow> window_;
    FeedbackImage feedback_;
    SIZEL extent_ = kDefaultControlExtent;
};

}  // namespace zar::plot

namespace zar::plot {

// The checks every array argument passes: a negative count or one above the room (when there
// is one) is E_INVALIDARG, a null array with a positive count E_POINTER.
inline HRESULT CheckRecordArray(const void* records, std::int32_t count, std::int32_t room = -1) {
    if (count < 0 || (room >= 0 && count > room)) return E_INVALIDARG;
    if (count > 0 && !records) return E_POINTER;
    return S_OK;
}

// The displayed ranges that a control keeps and hands its graph before every drawing.
struct AxisLimits {
    double xStart = 0.0;
    double xEnd = 0.0;
    double normalizationLevel = 0.0;
    double absoluteMin = 0.0;
    double absoluteMax = 1.0;
    double relativeMin = 0.0;
    double relativeMax = 100.0;
    ZAR_PLOTLib::VXPlot_YAxisScaleType scaleType = ZAR_PLOTLib::VXPlot_YAxisScaleType_Relative;

    // The members of the same names: E_INVALIDARG (and no change) for values that make no range.
    HRESULT SetYAxisLimits(double normalization, double absMin, double absMax, double relMin,
                           double relMax);
    HRESULT SetXAxisLimits(double start, double end);
    HRESULT SetYAxisScaleType(ZAR_PLOTLib::VXPlot_YAxisScaleType type);
};

// The text-label parameters of a new control.
inline ZAR_PLOTLib::VXPlot_LabelParams DefaultLabelParams() {
    ZAR_PLOTLib::VXPlot_LabelParams p{};
    p.eTextXAnchor = ZAR_PLOTLib::CentreX;
    p.eTextYAnchor = ZAR_PLOTLib::BottomY;
    p.eTextAlign = ZAR_PLOTLib::AlignLeft;
    p.bAboveGraph = 1;
    return p;
}

class CGraphDrawing;

// The text-label parameters a host sets one by one, and the labels it adds with them: the same
// for every control that takes text labels.
class HostTextLabels {
  public:
    void SetPriority(double priority) { params_.dTextPriority = priority; }
    void SetAnchor(ZAR_PLOTLib::VXXAnchor x, ZAR_PLOTLib::VXYAnchor y) {
        params_.eTextXAnchor = x;
        params_.eTextYAnchor = y;
    }
    void SetAboveGraph(std::int32_t above) { params_.bAboveGraph = above; }
    void SetAlign(ZAR_PLOTLib::VXTextAlign align) { params_.eTextAlign = align; }
    void SetPointer(std::int32_t pointer) { params_.bPointer = pointer; }
    void SetRotate(std::int32_t rotate) { params_.bRotate = rotate; }
    void SetBoxed(std::int32_t boxed) { params_.bBoxed = boxed; }
    // The current parameters; the text colour is always 0.
    HRESULT Get(ZAR_PLOTLib::VXPlot_LabelParams* params) const;
    // Adds one label at (x, y) to the graph's user labels with the record's parameters (the
    // current ones without a record); a record's text colour becomes the colour the graph draws
    // its user labels in.
    void Add(CGraphDrawing& graph, LPCWSTR text, double x, double y,
             const ZAR_PLOTLib::VXPlot_LabelParams* params) const;

  private:
    ZAR_PLOTLib::VXPlot_LabelParams params_ = DefaultLabelParams();
};

// Doubles that make no range (not a number) are refused.
bool FiniteValues(std::initializer_list<double> values);

}  // namespace zar::plot
