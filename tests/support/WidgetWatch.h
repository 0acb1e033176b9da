#pragma once
// Watching what the user would see of widgets in a test: the popup menus shown (each closed as
// soon as it shows, as Escape closes it), the paint events a widget gets, and a right click sent
// the way the window system sends it (so that Qt follows it with its context-menu event).

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace zartest {

// Counts the top-level popup menus shown while it lives and closes each one.
class PopupMenuCounter : public QObject {
  public:
    PopupMenuCounter() { qApp->installEventFilter(this); }
    ~PopupMenuCounter() override { qApp->removeEventFilter(this); }
    int shown() const { return shown_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* menu = qobject_cast<QMenu*>(watched);
            if (menu && menu->isWindow()) {
                ++shown_;
                QMetaObject::invokeMethod(menu, &QMenu::close, Qt::QueuedConnection);
            }
        }
        return false;
    }

  private:
    int shown_ = 0;
};

// Counts the paint events one widget gets while it lives.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) : widget_(widget) {
        if (widget) widget->installEventFilter(this);
    }
    ~PaintCounter() override {
        if (widget_) widget_->removeEventFilter(this);
    }
    int painted() const { return painted_; }
    void reset() { painted_ = 0; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::Paint) ++painted_;
        return false;
    }

  private:
    QPointer<QWidget> widget_;
    int painted_ = 0;
};

// A right click at the centre of a shown widget, delivered through its window as the window
// system delivers it. False when the widget has no window on screen.
inline bool RightClickThroughWindow(QWidget* widget) {
    if (!widget || !widget->window()->windowHandle()) return false;
    QWidget* top = widget->window();
    const QPoint at = widget->mapTo(top, widget->rect().center());
    QTest::mouseClick(top->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
    return true;
}

// The popup menus a right click on a shown widget opens (each closed at once), once the events
// it posts have arrived; -1 when the widget has no window on screen.
inline int MenusShownByRightClick(QWidget* widget) {
    PopupMenuCounter menus;
    if (!RightClickThroughWindow(widget)) return -1;
    QApplication::processEvents();
    QApplication::processEvents();
    return menus.shown();
}

}  // namespace zartest
