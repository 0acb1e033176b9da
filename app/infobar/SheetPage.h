#pragma once
// A page of the bar's sheet. Its window (its controls) is made the first time the sheet shows
// it; until then the page keeps only its fields, and what needs the window waits or is dropped.
// A page's grid reports right clicks to the page, and the page fits the grid's columns to it.

#include "controls/DialogBase.h"

class QAbstractScrollArea;

namespace zar {

class CSheetPage : public CPropertyPageBase {
    Q_OBJECT
  public:
    CSheetPage(int templateId, const QString& caption, QWidget* parent = nullptr)
        : CPropertyPageBase(templateId, caption, parent) {}

    bool HasWindow() const { return hasWindow_; }
    // Makes the page's window once (OnInitDialog runs then).
    void CreatePageWindow();
    // The sheet made the page the active one.
    virtual bool OnSetActive() { return true; }
    // Spreads the grid's width over its columns.
    virtual void FitColumns() {}

  protected:
    // FitColumns runs whenever the grid's visible area changes size.
    void FitColumnsOf(QAbstractScrollArea* grid);
    // A right click on the page's grid, at a point of the screen.
    virtual void OnContextMenu(const QPoint&) {}
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    bool hasWindow_ = false;
    QWidget* fitted_ = nullptr;
};

}  // namespace zar
