#pragma once
// "Annotate": a modeless tool window of the main window that places a free text label, with
// box, rotation, pointer and alignment choices, at the peak last picked in the active spectrum
// or trace pane. The pane is looked up again when the label is placed, so a layout switch
// leaves no stale target behind.

#include "controls/DialogBase.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <QPointer>
#include <QString>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace zar {

class CMainFrame;
class CZarViewWidget;

class CAnnotateDialog : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8986;
    static constexpr int kApplyId = 12321;
    static constexpr int kTextId = 8990;

    explicit CAnnotateDialog(QWidget* parent);
    ~CAnnotateDialog() override;

    // A peak (x, y) was picked: the active pane becomes the target when it takes labels.
    void UpdateForActiveView(double x, double y);
    void OnApply();
    void OnClose();

    // The choices, as the controls last gave them.
    int multiLineAlignment = 0;  // 0 left, 1 centre, 2 right
    int markedAlignment = 0;     // 0 left, 1 centre, 2 right
    int height = 0;              // 0 above the position, 1 above the graph
    int boxed = 0;
    int pointer = 0;
    int rotated = 0;
    QString text;

    int TargetKind() const { return targetKind_; }
    QString TargetClass() const { return targetClass_; }
    double X() const { return x_; }
    double Y() const { return y_; }
    const ZAR_PLOTLib::VXPlot_LabelParams& LabelParams() const { return params_; }
    QPushButton* OkButton() const;
    QPushButton* ApplyButton() const;
    QLineEdit* TextEdit() const { return textEdit_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;
    void reject() override { OnClose(); }

  private:
    // The pane of the target's class in the layout shown now; null when there is none.
    CZarViewWidget* findTarget() const;
    bool placeLabel();
    void clearTarget();
    void enableButtons(bool enable);

    QButtonGroup* multiLineGroup_;
    QButtonGroup* markedGroup_;
    QButtonGroup* heightGroup_;
    QCheckBox* boxedBox_;
    QCheckBox* pointerBox_;
    QCheckBox* rotatedBox_;
    QLineEdit* textEdit_;
    int targetKind_ = 0;
    QString targetClass_;
    ZAR_PLOTLib::VXPlot_LabelParams params_{};
    double x_ = 0.0;
    double y_ = 0.0;
};

// The main window's one Annotate dialog: made and shown on first use (Display > Annotate > Add
// Text), released when it closes; null while closed.
CAnnotateDialog* OpenAnnotateDialog(CMainFrame& frame);
CAnnotateDialog* AnnotateDialog();
void ReleaseAnnotateDialog();

}  // namespace zar
