#pragma once
// The tool bar inside the spectrum panes: Previous Scan and Next Scan. Its buttons are enabled
// by the pane that holds it, and only while the bar is visible.

#include <QToolBar>

#include <functional>

class QAction;

namespace zar {

class CSpecToolBar : public QToolBar {
    Q_OBJECT
  public:
    static constexpr int kId = 8521;
    static constexpr int kPreviousScan = 9223;
    static constexpr int kNextScan = 9224;

    explicit CSpecToolBar(QWidget* parent = nullptr);
    QAction* Button(int command) const;
    // Asks the parent's update handler for each button; does nothing (false) while the bar is
    // hidden or has no parent.
    bool OnIdleUpdateCmdUI(const std::function<bool(int command)>& enabled);

  signals:
    void commandTriggered(int command);

  private:
    QAction* previous_;
    QAction* next_;
};

}  // namespace zar
