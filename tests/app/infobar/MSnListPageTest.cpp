// The "MSn Browser" page: the MS3 experiments of a run in a time range, and the scans a row
// hands to the de novo loader.

#include "InfoBarTestSupport.h"
#include "ResizableSheet.h"

#include "controls/NumericEditCtrl.h"
#include "core/Numbers.h"
#include "document/ZarMessages.h"
#include "rawfile/VRawfile.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

using namespace zar;
using namespace infobartest;

namespace {

std::vector<int> scanNumbers(const std::vector<MSnScanEntry>& scans) {
    std::vector<int> numbers;
    for (const MSnScanEntry& s : scans) numbers.push_back(s.scan);
    return numbers;
}

MSnPrecursorGroup group(int level, std::vector<double> precursors, std::vector<int> scans) {
    MSnPrecursorGroup g;
    g.level = level;
    g.precursors = std::move(precursors);
    g.energies.assign(g.precursors.size(), 35.0);
    for (int s : scans) g.scans.push_back({99.0, s});
    return g;
}

}  // namespace

TEST(MSnCollectScans, PrecursorsWithinTheLabelsToleranceWhateverTheirTime) {
    const std::vector<MSnPrecursorGroup> experiments = {
        group(2, {445.07}, {10, 11}),          // the lower bound is included
        group(2, {445.17}, {30}),              // and the upper one
        group(2, {445.18}, {40}),              // outside
        group(2, {445.06}, {41}),              // outside
        group(3, {445.12, 623.50}, {20, 5}),   // the pair
        group(3, {445.12, 623.51}, {42}),      // another pair
        group(3, {445.18, 623.45}, {43}),      // another first precursor
        group(3, {623.45, 445.12}, {44}),      // the pair the other way round
    };
    std::vector<MSnScanEntry> scans;
    ASSERT_TRUE(CMSnListPage::CollectScans(QStringLiteral("MS3 of 445.12@35.0 623.45@35.0"), experiments, scans));
    CMSnListPage::SortScans(scans);
    EXPECT_EQ(scanNumbers(scans), (std::vector<int>{5, 10, 11, 20, 30}));

    for (const char* label : {"MS3 of 0.00@35.0 623.45@35.0", "MS3 of 445.12@35.0 0.00@35.0", "MS3 of 445.12@35.0",
                              "MS3 445.12@35.0 623.45@35.0", "garbage", ""}) {
        std::vector<MSnScanEntry> none;
        EXPECT_FALSE(CMSnListPage::CollectScans(QString::fromLatin1(label), experiments, none)) << label;
        EXPECT_TRUE(none.empty()) << label;
    }
}

TEST(MSnCollectScans, SortingKeepsEachScanOnce) {
    std::vector<MSnScanEntry> scans = {{1.0, 9}, {0.5, 2}, {1.0, 9}, {0.7, 4}, {0.5, 2}};
    CMSnListPage::SortScans(scans);
    EXPECT_EQ(scanNumbers(scans), (std::vector<int>{2, 4, 9}));
}

namespace {

class MSnListPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Two MS3 experiments share their first precursor (445.12); one lies late in the run.
        run_ = WriteRun(dir_.path(), QStringLiteral("msn.mzML"),
                        {Spectrum(1, 1, 0.5), Spectrum(2, 2, 1.0, {445.12}), Spectrum(3, 3, 1.1, {445.12, 623.45}),
                         Spectrum(4, 3, 1.2, {445.12, 520.30}), Spectrum(5, 1, 2.0), Spectrum(6, 2, 2.5, {447.00}),
                         Spectrum(7, 2, 5.0, {445.13}), Spectrum(8, 3, 5.1, {445.12, 623.45}),
                         Spectrum(9, 2, 7.9, {300.50}), Spectrum(10, 3, 8.0, {300.50, 400.25}),
                         Spectrum(11, 1, 9.5)});
        ASSERT_FALSE(run_.isEmpty());
        ASSERT_TRUE(f_.doc().OnOpenDocument(run_));
        f_.bar().ShowPage(CInfoBar::kMSnBrowserPage);
        QCoreApplication::processEvents();
    }
    CMSnListPage& page() { return f_.bar().MSnListPage(); }
    QStringList labels() {
        QStringList shown;
        for (int row = 1; row <= page().Grid()->GetRowCount(); ++row)
            if (const QString label = page().Grid()->GetValueRowCol(row, 1); !label.isEmpty()) shown << label;
        return shown;
    }
    void selectRows(std::initializer_list<int> rows) {
        QItemSelectionModel* selection = page().Grid()->selectionModel();
        selection->clearSelection();
        for (int row : rows)
            selection->select(page().Grid()->GetModel()->index(row - 1, 0), QItemSelectionModel::Select);
    }

    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
    QTemporaryDir dir_;
    QString run_;
    FrameWithBar f_;
};

}  // namespace

TEST_F(MSnListPageTest, ListsTheMs3PairsOfTheRunInOrder) {
    EXPECT_EQ(page().Grid()->GetValueRowCol(0, 1), QStringLiteral("Experiment(s)"));
    EXPECT_EQ(labels(), (QStringList{QStringLiteral("MS3 of 300.50@35.0 400.25@35.0"),
                                     QStringLiteral("MS3 of 445.12@35.0 520.30@35.0"),
                                     QStringLiteral("MS3 of 445.12@35.0 623.45@35.0")}));
    EXPECT_EQ(page().RangeEdit()->text(), QStringLiteral("0.50-9.50"));
    EXPECT_TRUE(page().Track());
    EXPECT_EQ(page().Grid()->GetRowCount(), 50);
}

TEST_F(MSnListPageTest, ARowClickHandsItsScansToTheDeNovoLoader) {
    zartest::MessageTrap trap(&f_.frame(), {kMsgDenovoSpectraLoaded});
    const QRect cell = page().Grid()->visualRect(page().Grid()->GetModel()->index(2, 0));
    QTest::mouseClick(page().Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    QCoreApplication::processEvents();
    ASSERT_TRUE(page().SelectedScans().has_value());
    // The MS2 scans of 445.12 and the MS3 scans of the pair, by scan number; not 447.00.
    EXPECT_EQ(scanNumbers(*page().SelectedScans()), (std::vector<int>{2, 3, 7, 8}));
    ASSERT_EQ(trap.caught().size(), 1u) << "the document tells the frame";
    // The de novo settings' OK hands the same scans again.
    f_.frame().GetInfoBar()->ParseScanList();
    QCoreApplication::processEvents();
    EXPECT_EQ(trap.caught().size(), 2u);
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(MSnListPageTest, UseSelectedItemsHandsEachScanOnce) {
    zartest::MessageTrap trap(&f_.frame(), {kMsgDenovoSpectraLoaded});
    selectRows({2, 3});
    page().OnUseSelectedItems();
    ASSERT_TRUE(page().SelectedScans().has_value());
    // Both rows gather the MS2 scans of 445.12: they are handed once.
    EXPECT_EQ(scanNumbers(*page().SelectedScans()), (std::vector<int>{2, 3, 4, 7, 8}));
    QCoreApplication::processEvents();
    EXPECT_EQ(trap.caught().size(), 1u);
    // Nothing selected, nothing handed.
    page().OnSelectNone();
    EXPECT_TRUE(page().Grid()->GetSelectedRows().empty());
    page().OnUseSelectedItems();
    QCoreApplication::processEvents();
    EXPECT_EQ(trap.caught().size(), 1u);
    page().OnSelectAll();
    EXPECT_EQ(page().Grid()->GetSelectedRows(), (std::vector<int>{1, 2, 3}));
}

TEST_F(MSnListPageTest, TheListFollowsTheChromatogramOnlyWhileTracking) {
    f_.frame().SetMSnTimeRange(0.0, 5.004);
    EXPECT_EQ(page().RangeEdit()->text(), QStringLiteral("0.00-5.00"));
    EXPECT_EQ(labels(), (QStringList{QStringLiteral("MS3 of 445.12@35.0 520.30@35.0"),
                                     QStringLiteral("MS3 of 445.12@35.0 623.45@35.0")}));
    page().TrackBox()->click();
    EXPECT_FALSE(page().Track());
    f_.frame().SetMSnTimeRange(7.0, 9.0);
    EXPECT_EQ(labels().size(), 2) << "unchecked, chromatogram ranges leave the list";
    EXPECT_EQ(page().RangeEdit()->text(), QStringLiteral("0.00-5.00"));
}

TEST_F(MSnListPageTest, AnExperimentOutsideTheRangeIsListedOnceTheRangeIsWidened) {
    page().RangeEdit()->setText(QStringLiteral("6.00-9.50"));
    emit page().RangeEdit()->editingFinished();
    EXPECT_EQ(labels(), QStringList{QStringLiteral("MS3 of 300.50@35.0 400.25@35.0")});
    page().RangeEdit()->setText(QStringLiteral("1.15-9.50"));
    emit page().RangeEdit()->editingFinished();
    EXPECT_EQ(labels().size(), 3);
    EXPECT_DOUBLE_EQ(page().RangeStart(), 1.15);
}

TEST_F(MSnListPageTest, ARangeThatIsNoneIsToldAndTheListStays) {
    page().RangeEdit()->setText(QStringLiteral("6.00-9.50"));
    emit page().RangeEdit()->editingFinished();
    const QStringList listed = labels();
    ASSERT_EQ(listed, QStringList{QStringLiteral("MS3 of 300.50@35.0 400.25@35.0")});
    // Unreadable, past the run's times, the wrong way round.
    for (const char* bad : {"abc", "0-100", "20-3", "5", ""}) {
        boxes_.clear();
        page().RangeEdit()->setText(QString::fromLatin1(bad));
        emit page().RangeEdit()->editingFinished();
        EXPECT_EQ(boxes_.texts(),
                  QStringList{QStringLiteral(
                      "Time range (min): Please enter a range as two numbers first-last between "
                      "0.5 and 9.5, the first not above the last.")})
            << bad;
        EXPECT_EQ(page().window()->focusWidget(), page().RangeEdit()) << bad;
        EXPECT_EQ(page().RangeEdit()->text(), QString::fromLatin1(bad)) << "kept for a correction";
        EXPECT_EQ(labels(), listed) << bad;
        EXPECT_DOUBLE_EQ(page().RangeStart(), 6.0);
        EXPECT_DOUBLE_EQ(page().RangeEnd(), 9.5);
    }
}

TEST_F(MSnListPageTest, MoreExperimentsThanRowsGrowTheList) {
    std::vector<RunSpectrum> spectra = {Spectrum(1, 1, 0.1)};
    for (int i = 0; i < 60; ++i) spectra.push_back(Spectrum(i + 2, 3, 0.2 + 0.01 * i, {400.0 + i, 200.0 + i}));
    const QString many = WriteRun(dir_.path(), QStringLiteral("many.mzML"), spectra);
    ASSERT_TRUE(f_.doc().OnOpenDocument(many));
    QCoreApplication::processEvents();
    EXPECT_EQ(page().RowCount(), 60);
    EXPECT_EQ(page().Grid()->GetRowCount(), 60);
    EXPECT_EQ(labels().size(), 60);
    EXPECT_EQ(labels().front(), QStringLiteral("MS3 of 400.00@35.0 200.00@35.0"));
    EXPECT_EQ(page().RangeEdit()->text(), QStringLiteral("0.10-0.79")) << "a new run brings its own range";
}

TEST(MSnListPageDemo, TheDemoRunsMs3PairsAndTheirScans) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QString error;
    const QString demo = DemoFolder(&error);
    ASSERT_FALSE(demo.isEmpty()) << error.toStdString();
    const DemoRun& run = DemoRunData();
    ASSERT_GE(run.ms3.size(), 2u) << "the demo run has MS3 scans";
    FrameWithBar f;
    ASSERT_TRUE(f.doc().OnOpenDocument(demo + QStringLiteral("/demo.mzML")));
    f.bar().ShowPage(CInfoBar::kMSnBrowserPage);
    QCoreApplication::processEvents();
    CMSnListPage& page = f.bar().MSnListPage();

    std::set<std::pair<QString, QString>> pairs;
    for (const DemoMs3& m : run.ms3) pairs.insert({QCFormat("%.2f", m.firstMz), QCFormat("%.2f", m.secondMz)});
    std::vector<std::pair<double, double>> ordered;
    for (const auto& [a, b] : pairs) ordered.push_back({a.toDouble(), b.toDouble()});
    std::sort(ordered.begin(), ordered.end());
    QStringList expected;
    for (const auto& [a, b] : ordered) expected << QCFormat("MS3 of %.2f@35.0 %.2f@35.0", a, b);
    QStringList shown;
    for (const MSnExperimentRow& row : page.Rows()) shown << row.label;
    EXPECT_EQ(shown, expected);

    // The first row's scans: its MS3 scans and the MS2 scans of its first precursor.
    const QRect cell = page.Grid()->visualRect(page.Grid()->GetModel()->index(0, 0));
    QTest::mouseClick(page.Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    QCoreApplication::processEvents();
    ASSERT_TRUE(page.SelectedScans().has_value());
    const std::vector<int> handed = scanNumbers(*page.SelectedScans());
    EXPECT_TRUE(std::is_sorted(handed.begin(), handed.end()));
    EXPECT_EQ(std::adjacent_find(handed.begin(), handed.end()), handed.end());
    for (const DemoMs3& m : run.ms3) {
        if (QCFormat("MS3 of %.2f@35.0 %.2f@35.0", m.firstMz, m.secondMz) != expected.front()) continue;
        EXPECT_TRUE(std::binary_search(handed.begin(), handed.end(), m.scan)) << m.scan;
        EXPECT_TRUE(std::binary_search(handed.begin(), handed.end(), m.ms2Scan)) << m.ms2Scan;
    }
    for (int scan : handed) {
        QString filter;
        ASSERT_TRUE(f.doc().GetRawFile()->filterForScan(scan, filter));
        std::vector<double> masses, energies;
        const int level = CMSnPrecursorList::ParseFilter(filter, masses, energies);
        ASSERT_GE(level, 2) << scan;
        EXPECT_NEAR(masses[0], ordered.front().first, 0.05 + 1e-9) << scan;
        if (level == 3) {
            EXPECT_NEAR(masses[1], ordered.front().second, 0.05 + 1e-9) << scan;
        }
    }
    EXPECT_EQ(f.doc().GetViewType(), 7) << "the frame shows the de novo layout";
    f.bar().grab().save(QStringLiteral("/tmp/i23-msn-browser.png"));
}
