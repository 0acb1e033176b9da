#include "RegisterResultViews.h"

#include "ResultsPropertySheet.h"

#include "ConsensusView.h"
#include "MainFrame.h"
#include "MassmapView.h"
#include "MultiConsensusView.h"
#include "ResultsStatusDlg.h"
#include "ResultsWindow.h"
#include "SelectResultsDlg.h"
#include "SummaryView.h"
#include "ViewFactory.h"
#include "ZarDoc.h"
#include "core/MessageBox.h"
#include "core/Paths.h"
#include "document/MassmapResults.h"
#include "document/MultiConsensusResults.h"
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

bool OpenMassmapResults(CMainFrame& frame, const QString& folder) {
    CZarDoc* doc = CZarDoc::GetDoc();
    CMassmapResults* set = doc ? doc->GetMassmapResults() : nullptr;
    if (!set || folder.isEmpty() || frame.IsLoadingResults()) return false;
    set->SetDirectory(folder);
    set->SetRawFilePath(doc->GetRawFilePath());
    auto* dialog = new CResultsStatusDlg(set, &frame, &frame);
    dialog->SetResultsFolder(folder);
    frame.SetResultsStatusDialog(dialog);
    dialog->Create();
    return true;
}

bool OpenMultipleResults(CMainFrame& frame) {
    CZarDoc* doc = CZarDoc::GetDoc();
    CMultiConsensusResults* set = doc ? doc->GetMultiConsensusResults() : nullptr;
    if (!set || frame.IsLoadingResults()) return false;
    if (set->GetResultList().empty()) {
        ZarMessageBox(QStringLiteral("No RAW files or results directories specified"));
        return false;
    }
    auto* dialog = new CResultsStatusDlg(set, &frame, &frame);
    frame.SetResultsStatusDialog(dialog);
    dialog->Create();
    return true;
}

void RegisterResultViews(CMainFrame& frame) {
    RegisterViewClass(QStringLiteral("CSummaryView"),
                      [](QWidget* parent) { return new CSummaryView(parent); });
    RegisterViewClass(QStringLiteral("CConsensusView"),
                      [](QWidget* parent) { return new CConsensusView(parent); });
    RegisterViewClass(QStringLiteral("CMassmapView"),
                      [](QWidget* parent) { return new CMassmapView(parent); });
    RegisterViewClass(QStringLiteral("CMultiConsensusView"),
                      [](QWidget* parent) { return new CMultiConsensusView(parent); });

    RegisterFrameCommand(ID_OPEN_SORVEX_RESULTS, [](CMainFrame& f) {
        CZarDoc* doc = CZarDoc::GetDoc();
        QString start = doc ? doc->GetSorvexResultsDirectory() : QString();
        if (start.isEmpty()) start = GetSorvexResultsDirectory();
        const QString folder = QFileDialog::getExistingDirectory(
            &f, QStringLiteral("Select Results Directory"), start);
        if (!folder.isEmpty()) OpenSorvexResults(f, folder);
    });

    RegisterFrameCommand(ID_OPEN_MASSMAP_RESULTS, [](CMainFrame& f) {
        CZarDoc* doc = CZarDoc::GetDoc();
        const CMassmapResults* set = doc ? doc->GetMassmapResults() : nullptr;
        QString start = set ? set->GetDirectory() : QString();
        if (start.isEmpty()) start = PortablePath(GetPeptideResultsDirectory());
        const QString folder = QFileDialog::getExistingDirectory(
            &f, QStringLiteral("Select Results Directory"), start);
        if (!folder.isEmpty()) OpenMassmapResults(f, folder);
    });

    RegisterFrameCommand(ID_OPEN_MULTIPLE_RESULTS, [](CMainFrame& f) {
        CSelectResultsDlg dialog(&f);
        if (dialog.DoModal() == QDialog::Accepted) OpenMultipleResults(f);
    });

    // Display > Options... belongs to the result tables of the layout shown.
    RegisterFrameCommand(ID_DISPLAY_OPTIONS, [](CMainFrame& f) {
        switch (f.CurrentViewType()) {
            case 5:
                RunSummaryOptionsSheet(&f, true);
                break;
            case 10:
                RunMassmapOptionsSheet(&f);
                break;
            case 11:
                RunMultiConsensusOptionsSheet(&f);
                break;
            default:
                break;
        }
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
