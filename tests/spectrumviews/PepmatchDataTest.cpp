// The Pepmatch engine: ion grid, labelled ions, matching against a scan of a written run,
// append and colour sets.

#include "PepmatchData.h"
#include "SpectrumTestRuns.h"

#include "core/Numbers.h"
#include "document/ZarMessages.h"
#include "messages/Messages.h"
#include "rawfile/VRawfile.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace zar;
using namespace spectrumtest;

namespace {

// An ion grid that records what it was given.
class FakeIonGrid : public IIonGridSink {
  public:
    struct Cell {
        QString text;
        bool coloured = false;
        ColorRef color = 0;
        bool number = false;
    };
    FakeIonGrid(int rows, int columns) : rows_(rows), columns_(columns) {}
    int rowCount() const override { return rows_; }
    int columnCount() const override { return columns_; }
    void clearCells(int firstRow, int firstColumn, int lastRow, int lastColumn) override {
        ++clears;
        for (auto it = cells.begin(); it != cells.end();) {
            const auto [row, column] = it->first;
            const bool inside =
                row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
            it = inside ? cells.erase(it) : std::next(it);
        }
    }
    void setTextCell(int row, int column, const QString& text) override {
        check(row, column);
        cells[{row, column}] = Cell{text, false, 0, false};
    }
    void setNumberCell(int row, int column, const QString& text, bool coloured,
                       ColorRef color) override {
        check(row, column);
        cells[{row, column}] = Cell{text, coloured, color, true};
    }
    const Cell* at(int row, int column) const {
        const auto it = cells.find({row, column});
        return it == cells.end() ? nullptr : &it->second;
    }
    double number(int row, int column) const {
        const Cell* c = at(row, column);
        return c ? c->text.toDouble() : 0.0;
    }

    std::map<std::pair<int, int>, Cell> cells;
    int clears = 0;
    bool outside = false;

  private:
    void check(int row, int column) {
        if (row < 1 || row > rows_ || column < 1 || column > columns_) outside = true;
    }
    int rows_;
    int columns_;
};

PepmatchOptions Options(std::initializer_list<int> series, ColorRef color = 0x0000FF,
                        double threshold = 0.0, int append = 0, int mono = 1) {
    PepmatchOptions o;
    o.labelColor = color;
    o.threshold = threshold;
    o.append = append;
    o.monoisotopic = mono;
    for (int s : series) o.series[static_cast<size_t>(s)] = 1;
    return o;
}

PepmatchOptions AllSeries() {
    PepmatchOptions o;
    o.series.fill(1);
    return o;
}

double BIon(int residue) {
    return ComputeFragmentIons(QStringLiteral("PEPTIDE"), FragmentMassModel(true))
        .ion(residue, kIonB);
}

class PepmatchDataTest : public ::testing::Test {
  protected:
    // Scan 1 full MS, scan 2 the MS/MS spectrum the B ions of PEPTIDE are matched against.
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath("pepmatch.mzML");
        ASSERT_TRUE(WriteRun(
            path_, 2, [](int scan) { return scan == 1; },
            [](int scan) -> Peaks {
                if (scan == 1) return {{500.0, 10.0}};
                return {
                    {BIon(1) + 0.5, 50.0},  // exactly at the window's upper bound
                    {227.0, 30.0},          // two equal peaks in B2's window: the lower wins
                    {227.3, 30.0},         {324.2, 100.0},  // base peak, B3
                    {425.2, 5.0},                           // B4, weak
                    {782.4, 20.0},                          // B7: the last peak of the spectrum
                };
            }));
    }

    QTemporaryDir dir_;
    QString path_;
    zartest::MessageBoxCapture boxes_;
};

}  // namespace

TEST_F(PepmatchDataTest, WritesTheIonTableOfEverySeries) {
    CPepmatchData engine;
    FakeIonGrid grid(7, kIonGridColumnCount);
    engine.SetTargetGrid(&grid);
    ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDE"), AllSeries()));
    EXPECT_FALSE(grid.outside);
    EXPECT_EQ(grid.at(1, kIonGridResidueColumn)->text, QStringLiteral(" P "));
    EXPECT_NEAR(grid.number(2, kIonGridMHColumn),
                97.0527636 + 129.0425928 + 15.9949146 + 3 * 1.007825, 1e-9);
    EXPECT_NEAR(grid.number(2, kIonGridFirstIonColumn + kIonB), 227.1031814, 1e-6);
    EXPECT_EQ(grid.at(7, kIonGridFirstIonColumn + kIonC), nullptr);  // no C at the last residue
    EXPECT_EQ(grid.at(1, kIonGridFirstIonColumn + kIonX), nullptr);  // no X at the first
    EXPECT_EQ(grid.at(1, kIonGridFirstIonColumn + kIonHInternal), nullptr);  // no H in PEPTIDE
    for (int i = 1; i <= 7; ++i) {
        EXPECT_TRUE(grid.at(i, kIonGridFirstIonColumn + kIonPInternal)) << i;
        EXPECT_EQ(engine.GetIonList()->ion(i, kIonPInternal).label, QStringLiteral("P1"));
    }
    const CPepmatchIonList* list = engine.GetIonList();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->ion(2, kIonB).label, QStringLiteral("B2"));
    EXPECT_EQ(list->ion(2, kIonY).label, QStringLiteral("Y'6"));
    EXPECT_EQ(list->ion(7, kIonZStar).label, QStringLiteral("Z*1"));
    // 7 residues x 14 series - no C7 - no X1, plus 7 internal P ions.
    EXPECT_EQ(list->labelledIonCount(), 7 * 14 - 2 + 7);
    EXPECT_EQ(list->sequence(), QStringLiteral("PEPTIDE"));
}

TEST(IonGridTest, OneTitlePerColumn) {
    EXPECT_EQ(kIonGridColumnCount, 18);
    EXPECT_STREQ(kIonGridTitles[kIonGridMHColumn - 1], "M + H");
    EXPECT_STREQ(kIonGridTitles[kIonGridFirstIonColumn + kIonZStar - 1], "Z*");
    EXPECT_STREQ(kIonGridTitles[kIonGridFirstIonColumn + kIonPInternal - 1], "P int");
}

TEST_F(PepmatchDataTest, NumbersAreWrittenInTheCFormat) {
    CPepmatchData engine;
    FakeIonGrid grid(7, kIonGridColumnCount);
    engine.SetTargetGrid(&grid);
    ASSERT_TRUE(
        engine.CalculateSequenceIons(QStringLiteral("PEPTIDE"), Options({PepmatchOptions::kB})));
    EXPECT_EQ(grid.at(2, kIonGridFirstIonColumn + kIonB)->text, QCFormat("%.13g", BIon(2)));
    EXPECT_TRUE(grid.at(2, kIonGridFirstIonColumn + kIonB)->number);
    EXPECT_EQ(grid.at(2, kIonGridFirstIonColumn + kIonY), nullptr);
    EXPECT_EQ(engine.GetIonList(), nullptr);  // the select-ions table keeps no labels
}

TEST_F(PepmatchDataTest, EmptySequenceIsRefused) {
    CPepmatchData engine;
    FakeIonGrid grid(3, kIonGridColumnCount);
    engine.SetTargetGrid(&grid);
    EXPECT_FALSE(engine.PerformPepmatch(QString(), AllSeries()));
    EXPECT_FALSE(engine.CalculateSequenceIons(QString(), AllSeries()));
    EXPECT_EQ(boxes_.texts(), QStringList({"Please enter a sequence", "Please enter a sequence"}));
    EXPECT_EQ(grid.clears, 0);
    EXPECT_EQ(engine.GetIonList(), nullptr);
}

TEST_F(PepmatchDataTest, AShortGridIsNeverWrittenPast) {
    CPepmatchData engine;
    FakeIonGrid grid(3, 10);
    engine.SetTargetGrid(&grid);
    ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDE"), AllSeries()));
    ASSERT_TRUE(engine.CalculateSequenceIons(QStringLiteral("PEPTIDE"), AllSeries()));
    EXPECT_FALSE(grid.outside);
    EXPECT_EQ(engine.GetIonList()->residueCount(), 7);
}

TEST_F(PepmatchDataTest, MatchesPeaksWithinHalfAMassUnitAboveTheThreshold) {
    struct Case {
        double threshold;
        int residue;
        double expectedMass;  // 0: unmatched, the theoretical mass stays
        double expectedIntensity;
    };
    const Case cases[] = {
        {10.0, 1, BIon(1) + 0.5, 50.0},                       // a peak exactly at mass + 0.5
        {10.0, 2, 227.0, 30.0},                               // equal peaks: the lower m/z wins
        {10.0, 3, 324.2, 100.0},        {10.0, 4, 0.0, 0.0},  // 5 % of the base peak is below 10 %
        {0.0, 4, 425.2, 5.0},           {10.0, 5, 0.0, 0.0},  // nothing in the window
        {10.0, 7, 782.4, 20.0},    // the window holds the spectrum's last peak
        {100.0, 3, 324.2, 100.0},  // threshold 100: only the base peak
        {100.0, 1, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        CPepmatchData engine;
        ASSERT_TRUE(engine.OpenRawFile(path_));
        engine.SetCurrentScan(2);
        FakeIonGrid grid(7, kIonGridColumnCount);
        engine.SetTargetGrid(&grid);
        const ColorRef color = 0x00112233;
        ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDE"),
                                           Options({PepmatchOptions::kB}, color, c.threshold)));
        const PepmatchIon& ion = engine.GetIonList()->ion(c.residue, kIonB);
        const FakeIonGrid::Cell* cell = grid.at(c.residue, kIonGridFirstIonColumn + kIonB);
        ASSERT_TRUE(cell);
        if (c.expectedMass == 0.0) {
            EXPECT_DOUBLE_EQ(ion.mass, BIon(c.residue)) << c.residue << " at " << c.threshold;
            EXPECT_EQ(ion.intensity, 0.0);
            EXPECT_FALSE(cell->coloured);
        } else {
            EXPECT_NEAR(ion.mass, c.expectedMass, 1e-9) << c.residue << " at " << c.threshold;
            EXPECT_DOUBLE_EQ(ion.intensity, c.expectedIntensity);
            EXPECT_TRUE(cell->coloured);
            EXPECT_EQ(cell->color, color);
        }
    }
    EXPECT_TRUE(boxes_.texts().isEmpty());
}

TEST_F(PepmatchDataTest, NoMatchingOutsideTheRunsScans) {
    CPepmatchData engine;
    ASSERT_TRUE(engine.OpenRawFile(path_));
    EXPECT_EQ(engine.GetFirstScan(), 1);
    EXPECT_EQ(engine.GetLastScan(), 2);
    engine.SetCurrentScan(3);
    ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDE"), Options({PepmatchOptions::kB})));
    EXPECT_EQ(engine.GetIonList()->ion(3, kIonB).intensity, 0.0);
    ASSERT_TRUE(engine.SetScanFromRetentionTime(0.1));
    EXPECT_EQ(engine.GetCurrentScan(), 2);
}

TEST_F(PepmatchDataTest, AppendAddsAColourSetAndKeepsEarlierIons) {
    CPepmatchData engine;
    ASSERT_TRUE(engine.OpenRawFile(path_));
    engine.SetCurrentScan(2);
    FakeIonGrid grid(7, kIonGridColumnCount);
    engine.SetTargetGrid(&grid);
    ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDE"),
                                       Options({PepmatchOptions::kB}, 0x0000FF, 10.0)));
    ASSERT_TRUE(engine.PerformPepmatch(
        QStringLiteral("PEPTIDE"),
        Options({PepmatchOptions::kB, PepmatchOptions::kY}, 0x00FF00, 10.0, 1)));
    const CPepmatchIonList* list = engine.GetIonList();
    EXPECT_EQ(engine.GetLabelColorCount(), 2);
    EXPECT_EQ(engine.GetLabelColors()[0], 0x0000FFu);
    EXPECT_EQ(engine.GetLabelColors()[1], 0x00FF00u);
    EXPECT_EQ(list->ion(3, kIonB).colorSet, 0);  // filled by the first run, kept
    EXPECT_NEAR(list->ion(3, kIonB).mass, 324.2, 1e-9);
    EXPECT_EQ(list->ion(3, kIonY).colorSet, 1);
    EXPECT_EQ(list->labelledIonCount(), 7 + 7);
    EXPECT_EQ(grid.at(3, kIonGridFirstIonColumn + kIonB)->color, 0x0000FFu);
}

TEST_F(PepmatchDataTest, AppendOfAnotherPeptideOfTheSameLengthOverwrites) {
    CPepmatchData engine;
    ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDE"), Options({PepmatchOptions::kB})));
    ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDA"),
                                       Options({PepmatchOptions::kB}, 0x00FF00, 0.0, 1)));
    EXPECT_EQ(engine.GetLabelColorCount(), 1);
    const CPepmatchIonList* list = engine.GetIonList();
    EXPECT_EQ(list->sequence(), QStringLiteral("PEPTIDA"));
    const double expected =
        ComputeFragmentIons(QStringLiteral("PEPTIDA"), FragmentMassModel(true)).ion(7, kIonB);
    EXPECT_DOUBLE_EQ(list->ion(7, kIonB).mass, expected);
    EXPECT_EQ(list->ion(7, kIonB).colorSet, 0);

    ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDES"),
                                       Options({PepmatchOptions::kY}, 0x00FF00, 0.0, 1)));
    EXPECT_EQ(engine.GetIonList()->residueCount(), 8);
    EXPECT_EQ(engine.GetIonList()->labelledIonCount(), 8);
}

TEST_F(PepmatchDataTest, ColourSetsStopAtSixteen) {
    CPepmatchData engine;
    ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDE"), Options({PepmatchOptions::kB})));
    for (int run = 1; run < 40; ++run) {
        PepmatchOptions o = Options({PepmatchOptions::kB}, static_cast<ColorRef>(run), 0.0, 1);
        ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDE"), o));
        ASSERT_LE(engine.GetLabelColorCount(), kMaxColorSets);
    }
    EXPECT_EQ(engine.GetLabelColorCount(), kMaxColorSets);
    EXPECT_EQ(engine.GetLabelColors()[kMaxColorSets - 1], 39u);
    for (const PepmatchIon& ion : engine.GetIonList()->ions())
        EXPECT_LT(ion.colorSet, kMaxColorSets);
}

TEST_F(PepmatchDataTest, ARunPostsTheDoneMessage) {
    CPepmatchData engine;
    MessageReceiver main;
    int done = 0;
    main.messageMap().on(kMsgPepmatchDone, [&](const Message& m) {
        EXPECT_EQ(m.wParam, 0u);
        EXPECT_EQ(m.lParam, 0);
        ++done;
        return LRESULT(0);
    });
    engine.SetNotifyTarget(&main);
    ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDE"), AllSeries()));
    engine.CalculateSequenceIons(QStringLiteral("PEPTIDE"), AllSeries());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(done, 1);
}

TEST_F(PepmatchDataTest, AnUnreadableRunIsReported) {
    CPepmatchData engine;
    EXPECT_FALSE(engine.OpenRawFile(dir_.filePath("missing.mzML")));
    ASSERT_EQ(boxes_.texts().size(), 1);
    EXPECT_EQ(boxes_.texts()[0],
              "Error - failed to open raw file.\nThe raw file may be a newer revision or damaged.");
    // Without a run the ions are still computed, unmatched.
    engine.SetCurrentScan(2);
    ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDE"), Options({PepmatchOptions::kB})));
    EXPECT_EQ(engine.GetIonList()->ion(3, kIonB).intensity, 0.0);
}

TEST_F(PepmatchDataTest, TheDocumentsOpenReaderIsShared) {
    VRawfile shared;
    ASSERT_TRUE(shared.open(path_));
    CPepmatchData engine;
    ASSERT_TRUE(engine.OpenRawFile(path_, &shared));
    engine.SetCurrentScan(2);
    ASSERT_TRUE(engine.PerformPepmatch(QStringLiteral("PEPTIDE"), Options({PepmatchOptions::kB})));
    EXPECT_NEAR(engine.GetIonList()->ion(3, kIonB).mass, 324.2, 1e-9);
}
