#pragma once
// A resizable bar that holds one tabbed sheet and keeps it filling the bar.

#include "ResizeDlgBar.h"

namespace zar {

class CResizableSheet;

class CSheetDlgBar : public CResizeDlgBar {
    Q_OBJECT
  public:
    explicit CSheetDlgBar(QWidget* parent = nullptr) : CResizeDlgBar(parent) {}
    ~CSheetDlgBar() override;

    // Docks the bar (see CResizeDlgBar::Create), then makes its sheet and its pages.
    bool Create(QMainWindow* frame, QSize defaultSize, bool changeFlag);
    CResizableSheet* GetSheet() const { return sheet_; }
    void ResizeContents() override;

  protected:
    // Puts the bar's pages into the sheet.
    virtual void AddPages(CResizableSheet& sheet) = 0;
    // Deletes the sheet; its pages leave it first. A bar whose pages are its members calls it
    // from its destructor, before the pages go.
    void DestroySheet();

  private:
    CResizableSheet* sheet_ = nullptr;
};

}  // namespace zar
