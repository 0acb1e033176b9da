#pragma once
// The window of a control: a child widget of the host that paints through the control and hands
// mouse and key input back to it. It never outlives its control's interest: the control clears
// the callbacks (or deletes the window) when it goes.

#include <QWidget>

#include <functional>

namespace zar::plot {

class CControlWindow : public QWidget {
    Q_OBJECT
  public:
    struct Callbacks {
        std::function<void(QPainter&, const QRect&)> paint;
        std::function<void(QMouseEvent*)> mousePress;
        std::function<void(QMouseEvent*)> mouseMove;
        std::function<void(QMouseEvent*)> mouseRelease;
        // Returns true when the key was taken (the control's accelerator translation).
        std::function<bool(QKeyEvent*)> keyDown;
    };

    explicit CControlWindow(QWidget* parent, Callbacks callbacks);
    void clearCallbacks() { callbacks_ = {}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    Callbacks callbacks_;
};

}  // namespace zar::plot
