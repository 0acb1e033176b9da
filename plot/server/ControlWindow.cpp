#include "ControlWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zar::plot {

CControlWindow::CControlWindow(QWidget* parent, Callbacks callbacks)
    : QWidget(parent), callbacks_(std::move(callbacks)) {
    setFocusPolicy(Qt::StrongFocus);
    // Moves without a button held reach the control too (tracking cursor, cursor shapes).
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CControlWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto paint = callbacks_.paint;
    if (paint)
        paint(painter, rect());
    else
        painter.fillRect(rect(), Qt::white);
}

void CControlWindow::mousePressEvent(QMouseEvent* event) {
    // A copy: the control may go (and clear the callbacks) while it handles the event.
    const auto handler = callbacks_.mousePress;
    if (handler) handler(event);
}

void CControlWindow::mouseMoveEvent(QMouseEvent* event) {
    // A copy: the control may go (and clear the callbacks) while it handles the event.
    const auto handler = callbacks_.mouseMove;
    if (handler) handler(event);
}

void CControlWindow::mouseReleaseEvent(QMouseEvent* event) {
    // A copy: the control may go (and clear the callbacks) while it handles the event.
    const auto handler = callbacks_.mouseRelease;
    if (handler) handler(event);
}

void CControlWindow::keyPressEvent(QKeyEvent* event) {
    const auto keyDown = callbacks_.keyDown;
    if (keyDown && keyDown(event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace zar::plot
