#include "PlotControlWnd.h"

#include "core/Log.h"
#include "core/MessageBox.h"

#include <QResizeEvent>

namespace zar {
namespace {

bool& failureNoticeGiven() {
    static bool given = false;
    return given;
}

}  // namespace

QString CPlotControlWnd::CreateFailureText(const QString& progId, HRESULT result) {
    QString why;
    CLSID clsid;
    if (result == CO_E_CLASSSTRING || result == REGDB_E_CLASSNOTREG) {
        why = QStringLiteral("The plotting server is not registered for this user.");
    } else if (result == CO_E_DLLNOTFOUND && SUCCEEDED(CLSIDFromProgID(progId, &clsid))) {
        why = QStringLiteral("The plotting server library \"%1\" could not be loaded.")
                  .arg(InprocServerPath(clsid));
    } else {
        why = HResultText(result);
    }
    return QStringLiteral("The plots cannot be shown: the plotting control \"%1\" could not be "
                          "created.\n\n%2")
        .arg(progId, why);
}

void CPlotControlWnd::ResetCreateFailureNotice() { failureNoticeGiven() = false; }

CPlotControlWnd::CPlotControlWnd(QWidget* parent) : QWidget(parent) {}

CPlotControlWnd::~CPlotControlWnd() {
    DestroyControl();
}

bool CPlotControlWnd::CreateControl(const QString& progId, QWidget* parent, const QRect& rect,
                                    int id, bool visible) {
    DestroyControl();
    if (parent && parentWidget() != parent) setParent(parent);
    setGeometry(rect);
    id_ = id;
    const auto failed = [&] {
        const QString text = CreateFailureText(progId, createResult_);
        LogLine(text);
        if (!failureNoticeGiven()) {
            failureNoticeGiven() = true;
            ZarMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        }
        return false;
    };
    ComPtr<IUnknown> unknown;
    createResult_ = CreateInstanceByProgID(progId, IID_IUnknown, unknown.put());
    if (FAILED(createResult_)) return failed();
    ComPtr<IControlWindow> site;
    createResult_ = unknown->QueryInterface(IID_IControlWindow, site.put());
    if (FAILED(createResult_)) return failed();
    QWidget* window = nullptr;
    createResult_ = site->CreateControlWindow(this, &window);
    if (FAILED(createResult_) || !window) {
        if (SUCCEEDED(createResult_)) createResult_ = E_FAIL;
        return failed();
    }
    unknown_ = std::move(unknown);
    window_ = window;
    window_->setGeometry(0, 0, width(), height());
    window_->show();
    setVisible(visible);
    return true;
}

void CPlotControlWnd::DestroyControl() {
    connection_.disconnect();
    sink_.reset();
    // The window is ours (a child); the control forgets it when it goes.
    delete window_;
    window_ = nullptr;
    unknown_.reset();
}

void CPlotControlWnd::OnEvent(DISPID id, EventSink::Handler handler) {
    if (!sink_) sink_ = EventSink::Create(EventInterface());
    sink_->on(id, std::move(handler));
    if (!connection_.isConnected() && unknown_)
        connection_.connect(unknown_.get(), EventInterface(), sink_.get());
}

void CPlotControlWnd::RedrawControl() {
    update();
    if (window_) window_->update();
}

void CPlotControlWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (window_) window_->setGeometry(0, 0, width(), height());
}

}  // namespace zar
