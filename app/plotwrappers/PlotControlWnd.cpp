#include "PlotControlWnd.h"

#include <QResizeEvent>

namespace zar {

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
    ComPtr<IUnknown> unknown;
    createResult_ = CreateInstanceByProgID(progId, IID_IUnknown, unknown.put());
    if (FAILED(createResult_)) return false;
    ComPtr<IControlWindow> site;
    createResult_ = unknown->QueryInterface(IID_IControlWindow, site.put());
    if (FAILED(createResult_)) return false;
    QWidget* window = nullptr;
    createResult_ = site->CreateControlWindow(this, &window);
    if (FAILED(createResult_) || !window) {
        if (SUCCEEDED(createResult_)) createResult_ = E_FAIL;
        return false;
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
