#include "SegmentCtrl.h"

#include <QPainter>

namespace zar {

CSegmentCtrl::CSegmentCtrl(QWidget* parent)
    : QWidget(parent), background_(palette().color(QPalette::Button)), boxes_(255, 255, 128) {}

void CSegmentCtrl::Initialize(QColor background, QColor boxes, double boxHeightPercent) {
    background_ = background;
    boxes_ = boxes;
    boxHeight_ = boxHeightPercent;
    update();
}

void CSegmentCtrl::SetSegmentCount(int count) {
    segments_.assign(static_cast<std::size_t>(std::max(0, count)), Segment());
}

void CSegmentCtrl::SetRange(double low, double high) {
    low_ = low;
    high_ = high;
}

void CSegmentCtrl::SetSegment(int number, int, double start, double end, const QString& text) {
    if (number < 0 || number >= static_cast<int>(segments_.size())) return;
    segments_[number] = {number, start, end, text};
}

void CSegmentCtrl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), background_);
    const double span = high_ - low_;
    if (span <= 0.0) return;
    const int h =
        std::max(1, static_cast<int>(height() * std::clamp(boxHeight_, 10.0, 100.0) / 100.0));
    const int top = (height() - h) / 2;
    for (const Segment& s : segments_) {
        const int x0 = static_cast<int>((s.start - low_) / span * width());
        const int x1 = static_cast<int>((s.end - low_) / span * width());
        const QRect box(x0, top, std::max(1, x1 - x0), h - 1);
        p.fillRect(box, boxes_);
        p.setPen(Qt::black);
        p.drawRect(box);
        p.drawText(box, Qt::AlignCenter, s.text);
    }
}

}  // namespace zar
