// Both search sheets on the demo data set, every page as a user first sees it; pictures go to
// /tmp. Runs only when ZAR_DEMO_DIR names a folder written by zar-make-demo.

#include "search/views/MassmapPropertySheet.h"
#include "search/views/SearchBasicPage.h"
#include "search/views/SorvexPropertySheet.h"

#include "SheetTestSupport.h"

#include <QMainWindow>
#include <QPushButton>

#include <cstdio>

using namespace zar;

namespace {

void GrabPages(CSearchPropertySheet& sheet, const QString& prefix) {
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        sheet.SetActivePage(i);
        QApplication::processEvents();
        const QString path = QStringLiteral("/tmp/%1-page%2.png").arg(prefix).arg(i + 1);
        EXPECT_TRUE(sheet.grab().save(path));
        std::printf("[ picture  ] %s\n", qPrintable(path));
    }
}

}  // namespace

TEST(DemoSheetScreenshotTest, BothSheetsOnTheDemoData) {
    const QString demo = qEnvironmentVariable("ZAR_DEMO_DIR");
    if (demo.isEmpty()) GTEST_SKIP() << "ZAR_DEMO_DIR not set";
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    SetSorvexResultsDirectory(demo + QStringLiteral("/results"));
    SetDatabaseDirectory(demo + QStringLiteral("/"));
    RegKey(RegRoot::LocalMachine, kProgramKey, true)
        .writeString(QStringLiteral("PeptideResultsDirectory"), demo + QStringLiteral("/results"));
    CEnzymeTable enzymes;
    sheettest::FakeLauncher launcher;
    launcher.rawFile = demo + QStringLiteral("/demo.mzML");

    QMainWindow owner;
    owner.resize(700, 500);
    owner.move(0, 0);
    owner.show();

    CSorvexPropertySheet sorvex(QStringLiteral("TurboSORVEX Search Parameters"), &owner, &launcher);
    sorvex.SetEnzymeTable(enzymes.GetRecords());
    sorvex.SetScanLimits(1, 400, 1, 400);
    sorvex.SetFastaMassRange(300.0, 2000.0, 300.0, 2000.0);
    sorvex.Create();
    GrabPages(sorvex, QStringLiteral("search-demo-sorvex"));

    // The demo database chosen, then an indexed database, as a user would; then started.
    sorvex.SetActivePage(0);
    sorvex.BasicPage()->OnDatabaseChosen(demo + QStringLiteral("/demo.fasta"));
    QTemporaryDir indexDir;
    const QString header = indexDir.filePath(QStringLiteral("demo.fasta.hdr"));
    sheettest::WriteBytes(header,
                          "SORVEX_INDEXED_DATABASE - HEADER\nEnzymeName: Trypsin\n"
                          "MassType: monoisotopic\nNumIntCleavageSites: 1\n"
                          "StaticModifications: C=57.021\nMinimumMass: 600\nMaximumMass: 4000\n"
                          "DifferentialModifications: (M* 15.9949)\n");
    static_cast<QAbstractButton*>(sorvex.GetPage(0)->GetDlgItem(CSearchBasicPage::kIndexedId))
        ->click();
    sorvex.BasicPage()->OnDatabaseChosen(header);
    QApplication::processEvents();
    EXPECT_TRUE(sorvex.grab().save(QStringLiteral("/tmp/search-demo-sorvex-indexed.png")));
    sorvex.SetActivePage(2);
    QApplication::processEvents();
    EXPECT_TRUE(sorvex.grab().save(QStringLiteral("/tmp/search-demo-sorvex-indexed-mods.png")));
    sorvex.SetActivePage(0);
    static_cast<QAbstractButton*>(sorvex.GetPage(0)->GetDlgItem(CSearchBasicPage::kFastaId))
        ->click();
    sorvex.BasicPage()->OnDatabaseChosen(demo + QStringLiteral("/demo.fasta"));
    sorvex.Button(CSearchPropertySheet::kStartId)->click();
    QApplication::processEvents();
    EXPECT_TRUE(sorvex.grab().save(QStringLiteral("/tmp/search-demo-sorvex-running.png")));
    std::printf("[ demo     ] launcher: %s\n",
                qPrintable(launcher.calls.join(QStringLiteral(", "))));

    CMassmapPropertySheet massmap(QStringLiteral("Peptide Mapping Search Parameters"), &owner,
                                  &launcher);
    massmap.SetEnzymeTable(enzymes.GetRecords());
    massmap.SetScanLimits(1, 400, 1, 400);
    massmap.SetFastaMassRange(300.0, 2000.0, 300.0, 2000.0);
    massmap.Create();
    GrabPages(massmap, QStringLiteral("search-demo-massmap"));
    massmap.SetActivePage(0);
    static_cast<QAbstractButton*>(massmap.GetPage(0)->GetDlgItem(CSearchBasicPage::kSelectedPeakId))
        ->click();
    QApplication::processEvents();
    EXPECT_TRUE(massmap.grab().save(QStringLiteral("/tmp/search-demo-massmap-selected.png")));
    std::printf("[ demo     ] messages: %s\n",
                qPrintable(boxes.texts().join(QStringLiteral(" | "))));
}
