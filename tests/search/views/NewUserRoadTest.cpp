// The road of a new user, with pictures: the program as it starts, BSA2.mzML opened, Actions >
// TurboSORVEX Search, the sheet set for the run, Start Search, the progress while .dta files are
// made and while they are searched, and the summary the finished search fills. Runs only when
// ZAR_ROAD_PICTURES names a folder for the pictures (it takes a real search's time).

#include "LauncherTestSupport.h"

#include "app/MainFrame.h"
#include "app/SplitterViews.h"
#include "app/infobar/InfoBar.h"
#include "com/ComRegistry.h"
#include "document/SorvexResults.h"
#include "hub/ZarDoc.h"
#include "registry/RegKey.h"
#include "resultviews/RegisterResultViews.h"
#include "search/views/DtaCreateDialog.h"
#include "search/views/SearchLaunchers.h"
#include "search/views/SearchProgressDlg.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QStandardPaths>

#include <cstdio>

using namespace zar;
using namespace launchertest;

namespace {

void Picture(QWidget* widget, const QString& folder, const char* name) {
    QApplication::processEvents();
    const QString path = folder + "/" + name + ".png";
    EXPECT_TRUE(widget->grab().save(path));
    std::printf("[ picture  ] %s\n", qPrintable(path));
}

}  // namespace

TEST_F(LauncherFixture, NewUserRoadFromTheSearchCommandToTheSummary) {
    const QString pictures = qEnvironmentVariable("ZAR_ROAD_PICTURES");
    const QString bsa = zartest::RealDataPath("BSA2.mzML");
    const QString database = zartest::RealDataPath("proteins.fasta");
    if (pictures.isEmpty() || bsa.isEmpty() || database.isEmpty())
        GTEST_SKIP() << "ZAR_ROAD_PICTURES or real data missing";
    ResetRegistryCache();
    ASSERT_EQ(RegisterServerLibrary(ZAR_PLOT_LIBRARY, false), S_OK);
    RegKey(RegRoot::LocalMachine, kGlobalKey, true).writeString("Veltrix Path", "");
    SetDatabaseDirectory(QFileInfo(database).absolutePath() + "/");

    RegisterSpectrumViews();
    auto doc = std::make_unique<CZarDoc>();
    auto frame = std::make_unique<CMainFrame>(doc.get());
    RegisterResultViews(*frame);
    ASSERT_TRUE(CreateInfoBar(*frame));
    RegisterSearchLaunchers(*frame);
    frame->resize(1280, 860);
    frame->move(0, 0);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    ASSERT_TRUE(doc->OnOpenDocument(bsa));
    Picture(frame.get(), pictures, "road-1-run-opened");

    QElapsedTimer timer;
    timer.start();
    frame->RunCommand(ID_ACTION_SORVEX_SEARCH);
    CSorvexLauncher* launcher = CSearchLaunchers::Of(*frame)->SorvexLauncher();
    ASSERT_TRUE(launcher && launcher->HasRunState()) << qPrintable(boxes.texts().join('|'));
    CSearchPropertySheet* sheet = launcher->Sheet();
    Picture(sheet, pictures, "road-2-sheet-as-opened");
    TypeBasic(*launcher, CSearchBasicPage::kDatabaseEditId, "proteins.fasta");
    TypeBasic(*launcher, CSearchBasicPage::kThresholdId, "0");
    ClickBasic(*launcher, CSearchBasicPage::kMonoisotopicId);
    auto* enzyme =
        dynamic_cast<QComboBox*>(sheet->GetPage(0)->GetDlgItem(CSearchBasicPage::kEnzymeId));
    ASSERT_TRUE(enzyme);
    enzyme->setCurrentIndex(enzyme->findText("Trypsin", Qt::MatchStartsWith));
    const auto& statics = sheet->Model().modifications.StaticEntries();
    for (int i = 0; i < static_cast<int>(statics.size()); ++i)
        if (statics[static_cast<size_t>(i)].name == "add_C_Cysteine")
            sheet->SetStaticModification(i, 57.021464);
    sheet->SetDifferentialModification(0, "M", 15.9949);
    Picture(sheet, pictures, "road-3-sheet-set");
    sheet->SetActivePage(2);
    Picture(sheet, pictures, "road-4-modifications");
    sheet->SetActivePage(0);
    boxes.clear();

    PressStart(*launcher);
    ASSERT_TRUE(QTest::qWaitFor([&] { return launcher->DtaCount() >= 300; }, zartest::kWorkWaitMs));
    Picture(launcher->ProgressDialog(), pictures, "road-5-progress-extraction");
    Picture(frame.get(), pictures, "road-6-frame-while-extracting");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return launcher->IsSearching() && launcher->FilesSearched() > 100; }, zartest::kWorkWaitMs));
    Picture(launcher->ProgressDialog(), pictures, "road-7-progress-search");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return frame->CurrentViewType() == 5 && !frame->IsLoadingResults(); }, zartest::kWorkWaitMs));
    std::printf("[ timing   ] from Start Search to the filled summary: %.1f s\n",
                timer.elapsed() / 1000.0);
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    EXPECT_GT(doc->GetSorvexResults()->GetHitCount(), 900);
    Picture(frame.get(), pictures, "road-8-summary");
    // The Dta dialog, from the same menu.
    frame->RunCommand(ID_ACTION_SORVEX_DTA);
    ASSERT_TRUE(CSearchLaunchers::Of(*frame)->DtaDialog());
    Picture(CSearchLaunchers::Of(*frame)->DtaDialog(), pictures, "road-9-dta-dialog");
    CSearchLaunchers::Of(*frame)->DtaDialog()->hide();
    frame.reset();
    doc.reset();
}
