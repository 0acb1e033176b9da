#include "RegisterResultViews.h"

#include "ResultsPropertySheet.h"

#include "ConsensusView.h"
#include "MainFrame.h"
#include "ResultsStatusDlg.h"
#include "ResultsWindow.h"
#include "SummaryView.h"
#include "ViewFactory.h"
#include "ZarDoc.h"
#include "document/Settings.h"
#include "document/SorvexResults.h"
#include "grids/GridServices.h"

#include <QFileDialog>
#include <QPointer>

namespace zar {
namespace {

QPointer<CResultsWindow>& ResultsWindowPointer() {
    static QPointer<CResultsWindow> window;
    return window;
}

bool ShowResultsWindowFor(CMainFrame& frame, const SelectedResult& result) {
    QPointer<CResultsWindow>& window = ResultsWindowPointer();
    if (!window) window = new CResultsWindow(&frame);
    window->show();
    window->raise();
    window->DisplayResult(result);
    return true;
}

}  // namespace

CResultsWindow* GetResultsWindow() {
    return ResultsWindowPointer().data();
}

bool OpenSorvexResults(CMainFrame& frame, const QString& folder) {
    CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc || !doc->GetSorvexResults() || folder.isEmpty()) return false;
    // One load at a time: a second one would read into the set the first is filling.
    if (frame.IsLoadingResults()) return false;
    CSorvexResults* set = doc->GetSorvexResults();
    doc->SetSorvexResultsDirectory(folder);
    set->SetRawFilePath(doc->GetRawFilePath());
    XpressOptions xpress;
    xpress.autoCalculate = GetXpressAutoCalculate() != 0;
    // The residue and tolerance the XPRESS Parameters dialog may have set for this run of the
    // program.
    xpress.residue = doc->GetXpressResidue();
    xpress.tolerance = doc->GetXpressTolerance();
    set->SetXpressOptions(xpress);
    auto* dialog = new CResultsStatusDlg(set, &frame, &frame);
    dialog->SetResultsFolder(folder);
    frame.SetResultsStatusDialog(dialog);
    dialog->Create();
    return true;
}

void RegisterResultViews(CMainFrame& frame) {
    RegisterViewClass(QStringLiteral("CSummaryView"),
                      [](QWidget* parent) { return new CSummaryView(parent); });
    RegisterViewClass(QStringLiteral("CConsensusView"),
                      [](QWidget* parent) { return new CConsensusView(parent); });

    RegisterFrameCommand(ID_OPEN_SORVEX_RESULTS, [](CMainFrame& f) {
        CZarDoc* doc = CZarDoc::GetDoc();
        QString start = doc ? doc->GetSorvexResultsDirectory() : QString();
        if (start.isEmpty()) start = GetSorvexResultsDirectory();
        const QString folder = QFileDialog::getExistingDirectory(
            &f, QStringLiteral("Select Results Directory"), start);
        if (!folder.isEmpty()) OpenSorvexResults(f, folder);
    });

    // Display > Options... belongs to the result tables of the summary layout.
    RegisterFrameCommand(ID_DISPLAY_OPTIONS, [](CMainFrame& f) {
        if (f.CurrentViewType() == 5) RunSummaryOptionsSheet(&f, true);
    });

    QPointer<CMainFrame> target(&frame);
    frame.SetResultsWindowHandler([target](const SelectedResult& result) {
        return target ? ShowResultsWindowFor(*target, result) : false;
    });

    GridServices& services = GetGridServices();
    services.mainWindow = &frame;
    services.showResultsWindow = [](const SelectedResult& result) {
        if (CZarDoc* doc = CZarDoc::GetDoc()) doc->ShowResultsWindow(result);
    };
}

}  // namespace zar
