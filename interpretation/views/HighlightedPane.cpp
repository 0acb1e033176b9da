#include "HighlightedPane.h"

#include "MainFrame.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>

namespace zar {

void DrawHighlightFrame(bool on, QWidget* window, QPainter& painter) {
    const QColor colour = on ? QColor(Qt::yellow) : window->palette().color(QPalette::Button);
    const QRect r = window->rect();
    const int w = CHighlightedPane::kFrameInset;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), w), colour);
    painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), colour);
    painter.fillRect(QRect(r.left(), r.top(), w, r.height()), colour);
    painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), colour);
}

CHighlightedPane::CHighlightedPane(QWidget* parent) : CZarViewWidget(parent) {
    // The main window changes its active view as the focus moves (it listens first).
    connect(qApp, &QApplication::focusChanged, this, [this] {
        if (IsActivePane() != shownActive_) update();
    });
}

bool CHighlightedPane::IsActivePane() const {
    const CMainFrame* frame = CMainFrame::GetMainFrame();
    return frame && frame->ActiveView() == this;
}

void CHighlightedPane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    shownActive_ = IsActivePane();
    DrawHighlightFrame(shownActive_, this, painter);
}

}  // namespace zar
