#pragma once
// A pane of a layout that marks itself while it is the main window's active view: a 2-pixel
// frame along its edges, yellow when active, the button face otherwise. Its children keep the
// frame's width free (kFrameInset).

#include "ZarViewWidget.h"

class QPainter;

namespace zar {

// Draws the marking frame of a pane.
void DrawHighlightFrame(bool on, QWidget* window, QPainter& painter);

class CHighlightedPane : public CZarViewWidget {
    Q_OBJECT
  public:
    static constexpr int kFrameInset = 2;

    explicit CHighlightedPane(QWidget* parent = nullptr);
    // Whether the main window takes this pane for its active view.
    bool IsActivePane() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool shownActive_ = false;
};

}  // namespace zar
