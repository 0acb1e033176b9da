#pragma once
// What the tests of the results window's views share: the program around the views (document,
// main frame, the views registered, the plotting server registered in its settings) and a loaded
// results folder.

#include "ResultViewsTestSupport.h"
#include "ViewsTestSupport.h"

#include "ResultsWindow.h"
#include "resultviews/views/RegisterResultFormViews.h"

namespace fvtest {

// The program around the views, with the plotting server registered in its settings.
struct Program : rvtest::Program {
    bool serverRegistered = false;

    Program() {
        zar::RegisterResultFormViews();
        zar::ResetRegistryCache();
        serverRegistered = zar::RegisterServerLibrary(viewstest::PlotLibrary(), false) == zar::S_OK;
    }
    // Loads a results folder through the status dialog and waits for its end.
    bool LoadFolder(const QString& folder) {
        if (!zar::OpenSorvexResults(*frame, folder)) return false;
        return rvtest::WaitFor([this] { return !frame->IsLoadingResults(); }, zartest::kWorkWaitMs);
    }
    // A copy of the fixture folder of seven results with its "test.fasta".
    QString CopySeven() {
        const QString folder = dir.path() + "/seven";
        return rvtest::CopyFolder(zartest::DataPath(QStringLiteral("resultviews/seven")), folder)
                   ? folder
                   : QString();
    }
    // Shows a result in the results window (made on first use).
    zar::CResultsWindow* Show(const zar::SelectedResult& result) {
        doc->ShowResultsWindow(result);
        return zar::GetResultsWindow();
    }
    template <class View>
    View* ViewOf(int type) const {
        zar::CResultsWindow* w = zar::GetResultsWindow();
        return w ? dynamic_cast<View*>(w->ViewOfType(type)) : nullptr;
    }
    // The position of the hit whose peptide this is; -1 when none.
    int HitWithPeptide(const QString& peptide) const {
        const zar::CSorvexResults& set = Set();
        for (int i = 0; i < set.GetHitCount(); ++i)
            if (set.GetHit(i)->peptide == peptide) return i;
        return -1;
    }
};

// A result as a click on the summary table's scan column makes it.
inline zar::SelectedResult HitResult(const zar::CSearchResults& set, int position, int viewType) {
    zar::SelectedResult r;
    r.kind = 1;
    r.viewType = viewType;
    r.hit = set.GetHit(position)->hitNumber();
    r.peptide = set.GetHit(position)->peptide;
    return r;
}

}  // namespace fvtest
