#include "ResizeDlgBar.h"

#include "ProfileSettings.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

#include <algorithm>

namespace zar {
namespace {

// The frame keeps at least this much of its width for its view.
constexpr int kFrameViewReserve = 100;

int clampStored(int value, int low, int high) { return std::clamp(value, low, high); }

}  // namespace

CResizeDlgBar::CResizeDlgBar(QWidget* parent) : QDockWidget(parent), client_(new QWidget(this)) {
    // No title and no features: the bar stays docked where the frame put it.
    auto* title = new QWidget(this);
    auto* titleLayout = new QHBoxLayout(title);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    setTitleBarWidget(title);
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    setAllowedAreas(Qt::LeftDockWidgetArea);
    client_->setObjectName(QStringLiteral("BarClient"));
    client_->setMouseTracking(true);
    client_->installEventFilter(this);
    setWidget(client_);
}

CResizeDlgBar::~CResizeDlgBar() {
    client_->removeEventFilter(this);
    SaveSizes();
}

bool CResizeDlgBar::Create(QMainWindow* frame, QSize defaultSize, bool changeFlag) {
    if (!frame) return false;
    frame_ = frame;
    if (parentWidget() != frame) setParent(frame);
    docked_ = defaultSize;
    floating_ = defaultSize;
    changeFlag_ = changeFlag;
    LoadSizes();
    frame->addDockWidget(Qt::LeftDockWidgetArea, this);
    applyDockedWidth();
    return true;
}

void CResizeDlgBar::LoadSizes() {
    if (section_.isEmpty()) return;
    const auto read = [this](const char* name, int current) {
        return clampStored(GetProfileInt(section_, QString::fromLatin1(name), current), kDefaultMinimum,
                           kDefaultMaximum);
    };
    floating_.setWidth(read("FloatSizeCX", floating_.width()));
    floating_.setHeight(read("FloatSizeCY", floating_.height()));
    docked_.setWidth(read("DockSizeCX", docked_.width()));
    docked_.setHeight(read("DockSizeCY", docked_.height()));
}

void CResizeDlgBar::SaveSizes() const {
    if (section_.isEmpty()) return;
    WriteProfileInt(section_, QStringLiteral("FloatSizeCX"), floating_.width());
    WriteProfileInt(section_, QStringLiteral("FloatSizeCY"), floating_.height());
    WriteProfileInt(section_, QStringLiteral("DockSizeCX"), docked_.width());
    WriteProfileInt(section_, QStringLiteral("DockSizeCY"), docked_.height());
}

void CResizeDlgBar::applyDockedWidth() {
    int width = docked_.width();
    // A size stored on a wider screen must not push the frame past the screen.
    if (frame_ && frame_->width() - kFrameViewReserve > minimum_.width())
        width = std::min(width, frame_->width() - kFrameViewReserve);
    client_->setFixedWidth(width);
}

bool CResizeDlgBar::GetInsideRect(QRect& rect) const {
    if (!frame_) return false;
    // Docked at the left: the splitter side gives up 5 pixels, then 2 all round.
    rect = QRect(0, 0, client_->width() - 5, client_->height()).adjusted(2, 2, -2, -2);
    return true;
}

QRect CResizeDlgBar::GetSplitterRect() const {
    return QRect(client_->width() - kSplitterInset, 0, kSplitterWidth, client_->height());
}

int CResizeDlgBar::SizeForTracker(const QRect& tracker) const { return tracker.left() + kSplitterInset; }

bool CResizeDlgBar::IsSplitterPosValid(const QRect& tracker) const {
    const int size = SizeForTracker(tracker);
    return size > minimum_.width() && size < maximum_.width();
}

bool CResizeDlgBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != client_) return QDockWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::Paint: paintSplitter(); break;
        case QEvent::Resize: ResizeContents(); break;
        case QEvent::MouseMove: mouseMove(static_cast<QMouseEvent*>(event)->position().toPoint()); return true;
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
            buttonDown(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
            buttonUp(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        case QEvent::Leave:
            if (dragState_ == kOverSplitter) {
                dragState_ = kIdle;
                client_->unsetCursor();
            }
            break;
        default: break;
    }
    return QDockWidget::eventFilter(watched, event);
}

void CResizeDlgBar::paintSplitter() {
    QPainter p(client_);
    const QRect strip = GetSplitterRect();
    const QPalette& pal = client_->palette();
    p.setPen(pal.color(QPalette::Light));
    p.drawLine(strip.topLeft(), strip.bottomLeft());
    p.drawLine(strip.topLeft(), strip.topRight());
    p.setPen(pal.color(QPalette::Dark));
    p.drawLine(strip.topRight(), strip.bottomRight());
    p.drawLine(strip.bottomLeft(), strip.bottomRight());
}

void CResizeDlgBar::mouseMove(const QPoint& pos) {
    if (dragState_ < kDraggingWidth) {
        splitter_ = GetSplitterRect();
        if (splitter_.contains(pos)) {
            dragState_ = kOverSplitter;
            client_->setCursor(Qt::SizeHorCursor);
        } else if (dragState_ == kOverSplitter) {
            dragState_ = kIdle;
            client_->unsetCursor();
        }
        return;
    }
    // The tracker stays at its last valid place.
    QRect moved = splitter_;
    moved.moveLeft(pos.x() + dragOffset_);
    if (IsSplitterPosValid(moved)) splitter_ = moved;
    showTracker();
}

void CResizeDlgBar::buttonDown(const QPoint& pos) {
    splitter_ = GetSplitterRect();
    if (!splitter_.contains(pos)) {
        dragState_ = kIdle;
        return;
    }
    // The bar docks only at the left edge, so only its width is dragged.
    dragState_ = kDraggingWidth;
    dragOffset_ = splitter_.left() - pos.x();
    buttonDown_ = pos;
    showTracker();
}

void CResizeDlgBar::buttonUp(const QPoint& pos) {
    if (dragState_ != kDraggingWidth) {
        dragState_ = kIdle;
        return;
    }
    if (tracker_) tracker_->hide();
    docked_.setWidth(SizeForTracker(splitter_));
    if (changeFlag_) floating_.setWidth(docked_.width());
    dragState_ = kOverSplitter;
    if (pos == buttonDown_) return;
    applyDockedWidth();
    ResizeContents();
    client_->update();
}

void CResizeDlgBar::showTracker() {
    QWidget* host = frame_ ? static_cast<QWidget*>(frame_) : client_;
    if (!tracker_) tracker_ = new QRubberBand(QRubberBand::Line, host);
    tracker_->setGeometry(QRect(client_->mapTo(host, splitter_.topLeft()), splitter_.size()));
    tracker_->show();
    tracker_->raise();
}

}  // namespace zar
