#pragma once
// Base of every view the main frame shows: a widget that the document tells of changes by
// update hints. A view joins the document when it is made and leaves it when it goes.

#include "ZarDocFrame.h"

#include <QString>
#include <QWidget>

class QPainter;
class QPrinter;

namespace zar {

class CGXGridWnd;
class CZarDoc;

class CZarViewWidget : public QWidget, public CZarView {
    Q_OBJECT
public:
    explicit CZarViewWidget(QWidget* parent = nullptr);
    ~CZarViewWidget() override;

    CZarDoc* GetDocument() const;
    // Called once after the view and its neighbours exist.
    virtual void OnInitialUpdate() {}
    void OnUpdate(CZarView* sender, int hint) override;
    // The run-time class name the frame switches and activates by.
    virtual const char* ViewClassName() const = 0;

    // Commands of the main window that the active view answers (printing, page set-up, header
    // and footer, zoom): whether the view answers one, whether it may run now, and running it.
    // A table view answers the printing commands through its grid.
    virtual bool HasViewCommand(int id) const;
    virtual bool IsViewCommandEnabled(int id) const { return HasViewCommand(id); }
    virtual void OnViewCommand(int id);
    // The table a table view prints; null for other views.
    virtual CGXGridWnd* PrintableGrid() const { return nullptr; }

    // Printing: what the printout is (it names the PDF file with the run's name), whether the
    // print dialog offers page ranges, and the pages drawn on a printer the painter has begun.
    virtual QString PrintTitle() const { return QString(); }
    virtual bool PrintsPageRanges() const { return true; }
    virtual void PrintPages(QPainter& painter, QPrinter& printer);
    QString PrintName() const;
    // Prints on the printer without a dialog; false (the user told why) when it cannot.
    bool PrintTo(QPrinter& printer);
    // Qt's print dialog on the program's printer, then the printout.
    bool PrintWithDialog();

  protected:
    // What the view's commands may do changed (a zoom, a new scan): the main window's menus and
    // tool bar follow.
    void CommandStateChanged();
};

}  // namespace zar
