#pragma once
// A window that hosts one control of the plotting server: the control is created by ProgID
// through the COM layer and its window fills this one. Calls through the control's interface
// go through Call(), which raises CComError for a failing result; events reach handlers by
// dispatch id through a sink connected to the control.

#include "com/ComError.h"
#include "com/ComRegistry.h"
#include "com/Dispatch.h"

#include <QRect>
#include <QWidget>

#include <utility>

namespace zar {

class CPlotControlWnd : public QWidget {
    Q_OBJECT
  public:
    explicit CPlotControlWnd(QWidget* parent = nullptr);
    ~CPlotControlWnd() override;

    // Creates the control of progId as a child of parent at rect with the control id; false
    // (and no control) when the class is not registered or the control cannot make its window.
    bool CreateControl(const QString& progId, QWidget* parent, const QRect& rect, int id,
                       bool visible = true);
    // Releases the control and its window.
    void DestroyControl();
    bool HasControl() const { return static_cast<bool>(unknown_); }
    IUnknown* GetControlUnknown() const { return unknown_.get(); }
    QWidget* ControlWindow() const { return window_; }
    int ControlId() const { return id_; }
    // The result of the last failed creation (S_OK after a success).
    HRESULT CreateResult() const { return createResult_; }
    // Why a control of progId could not be created, in the user's words.
    static QString CreateFailureText(const QString& progId, HRESULT result);
    // The first control that cannot be created tells the user why; later ones are only logged.
    // This makes the next failure tell the user again.
    static void ResetCreateFailureNotice();

    // Repaints the control with what it was last given: its setters do not repaint it, and a
    // repaint of this host does not reach the control's own window.
    void RedrawControl();

    // Connects the handler of one event (the sink is made and connected on first use).
    void OnEvent(DISPID id, EventSink::Handler handler);

  protected:
    // The control's event interface.
    virtual IID EventInterface() const = 0;
    void resizeEvent(QResizeEvent* event) override;

  private:
    ComPtr<IUnknown> unknown_;
    QWidget* window_ = nullptr;
    ComPtr<EventSink> sink_;
    EventConnection connection_;
    int id_ = 0;
    HRESULT createResult_ = S_OK;
};

// A hosted control with its dual interface I.
template <class I>
class CPlotControl : public CPlotControlWnd {
  public:
    using CPlotControlWnd::CPlotControlWnd;

    bool Create(const QString& progId, QWidget* parent, const QRect& rect, int id,
                bool visible = true) {
        iface_.reset();
        if (!CreateControl(progId, parent, rect, id, visible)) return false;
        const HRESULT hr = GetControlUnknown()->QueryInterface(I::kIID, iface_.put());
        if (FAILED(hr)) {
            DestroyControl();
            return false;
        }
        return true;
    }
    void Destroy() {
        iface_.reset();
        DestroyControl();
    }
    // The interface, or null without a control.
    I* Interface() const { return iface_.get(); }

    // Calls a member of the interface; a failure (or no control) raises CComError.
    template <class... P, class... A>
    HRESULT Call(HRESULT (I::*member)(P...), A&&... args) const {
        if (!iface_) throw CComError(E_POINTER);
        return CheckHr((iface_.get()->*member)(std::forward<A>(args)...));
    }

  private:
    ComPtr<I> iface_;
};

}  // namespace zar
