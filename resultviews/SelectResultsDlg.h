#pragma once
// The modal "Select Results" dialog of File > Open Multiple Results: a one-column grid of up to
// 12 result folders, each cell an edit field with a browse button. OK makes the folders of the
// grid, in row order and each once, the list of results the multiple-results set processes.

#include "controls/DialogBase.h"

class QPushButton;

namespace zar {

class CBitmapButtonEdit;
class CSelectResultsGrid;

class CSelectResultsDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 9167;
    static constexpr int kGridId = 9168;
    static constexpr int kBrowseControlId = 9173;
    static constexpr int kRows = 12;
    static constexpr int kColumnWidth = 150;
    static constexpr int kRowHeight = 17;

    explicit CSelectResultsDlg(QWidget* parent = nullptr);

    // Fills the grid from the set's list of results (cleared without a set).
    void LoadList();
    void OnOK() override;
    void OnHelp();

    CSelectResultsGrid* Grid() const { return grid_; }
    CBitmapButtonEdit* FolderCell() const { return folderCell_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CloseButton() const { return close_; }

  protected:
    bool OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FitColumn();

    CSelectResultsGrid* grid_;
    CBitmapButtonEdit* folderCell_;
    QPushButton* ok_;
    QPushButton* close_;
    bool initialised_ = false;
};

}  // namespace zar
