#pragma once
// Base of the form views of the results window. The window hands each view the descriptor of
// the selected result and passes it the messages of the database-search workers while it is
// shown; a view overrides only what it handles.

#include "document/SelectedResult.h"
#include "messages/Messages.h"

#include <QWidget>

#include <any>
#include <functional>

class QPrinter;

namespace zar {

class CResultsWindow;

class CResultsFormView : public QWidget {
    Q_OBJECT
  public:
    CResultsFormView(CResultsWindow* owner, QWidget* parent);
    CResultsWindow* Owner() const { return owner_; }

    // The view's own title, naming what it shows; the results window carries the title of the
    // view it shows (the view's name while it has none).
    QString Title() const { return title_; }
    void SetTitle(const QString& title);

    virtual void OnInitialUpdate() {}
    // What a descriptor of the view's type runs (its look-up or its file).
    virtual void Display(const SelectedResult&) {}
    // A new reading frame was chosen while the view is shown.
    virtual void ReadingFrameChanged(const SelectedResult&) {}

    // Worker messages routed to the shown view.
    virtual void SetSequenceRecord(WPARAM) {}    // 0x409B
    virtual void ShowPeptide(WPARAM) {}          // 0x409C
    virtual void ShowCoverage(WPARAM) {}         // 0x409D
    virtual void SetRowCount(WPARAM, LPARAM) {}  // 0x409E
    virtual void SetIonsValue(double) {}         // 0x40AB
    virtual void SetMassList(WPARAM, LPARAM) {}  // 0x40AC
    virtual void DeleteSearch() {}               // 0x40B6
    virtual void UpdateData() {}                 // 0x40B7
    // The look-up's result that 0x40B6 carries, handed over just before DeleteSearch.
    virtual void TakeSearchResult(std::any&) {}

    // Commands of the window (printing, zoom) that the shown view answers.
    virtual void OnCommand(int) {}
    virtual bool IsCommandEnabled(int) const { return false; }

  private:
    CResultsWindow* owner_;
    QString title_;
};

// For checks and callers that must wait: processes events while busy() holds; false when the
// time ran out first.
bool ProcessEventsWhile(const std::function<bool()>& busy, int milliseconds);

// Asks the user for a printer for a view's report (no page range, no selection to choose);
// false when the user cancels.
bool ChooseReportPrinter(QPrinter& printer, QWidget* parent, const QString& documentName);

// Makers of the form views that other parts of the program provide, by results-window view
// type (1 BLAST, 2 retrieve, 5 display ions, 6 coverage, 7 search parameters, 8 select ions,
// 9 XPRESS). A type without a maker shows an empty pane.
using ResultsFormViewMaker = std::function<CResultsFormView*(CResultsWindow* owner)>;
void RegisterResultsFormView(int viewType, ResultsFormViewMaker maker);
ResultsFormViewMaker FindResultsFormView(int viewType);

}  // namespace zar
