#include "BitmapButtonEdit.h"
#include "BlastLookup.h"
#include "DisplayGrids.h"
#include "EnzymeGrid.h"
#include "GridServices.h"
#include "ListGrids.h"
#include "ModificationGrid.h"
#include "PepmapOptionsGrid.h"
#include "ResultGrids.h"
#include "SimpleEditGrids.h"
#include "ZarmassCalcGrid.h"

#include "TestSupport.h"
#include "document/Settings.h"
#include "document/ZarMessages.h"
#include "messages/Messages.h"
#include "registry/RegKey.h"

#include <QHeaderView>
#include <QTest>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace zar;

namespace {

// Records the results-window requests and the messages to the main window.
struct Services {
    std::vector<SelectedResult> requests;
    MessageReceiver mainWindow;
    std::vector<Message> posted;
    Services() {
        GetGridServices().showResultsWindow = [this](const SelectedResult& r) {
            requests.push_back(r);
        };
        GetGridServices().mainWindow = &mainWindow;
        for (unsigned m : {kMsgSummaryCellSelected, kMsgPepmapChanged})
            mainWindow.messageMap().on(m, [this](const Message& msg) {
                posted.push_back({msg.message, msg.wParam, msg.lParam, nullptr});
                return 0;
            });
    }
    ~Services() {
        GetGridServices().showResultsWindow = nullptr;
        GetGridServices().mainWindow = nullptr;
    }
};

struct SummaryOwner : CSummaryGridOwner {
    std::vector<int> sorted;
    HitNumber GetRowHit(int row) const override {
        return row == 3 ? HitNumber() : HitNumber(row * 10);
    }
    QString GetHitSequence(HitNumber hit) const override {
        return hit == HitNumber(10) ? QStringLiteral("K.PEPT*IDE.R") : QStringLiteral("K.OTHER.R");
    }
    void SortByColumn(int col) override { sorted.push_back(col); }
};

// A shown grid of the given size, ready for clicks.
template <class Grid>
std::unique_ptr<Grid> shownGrid(int rows, int cols) {
    auto grid = std::make_unique<Grid>();
    grid->resize(1400, 400);
    grid->SetColCount(cols);
    grid->SetRowCount(rows);
    for (int c = 1; c <= cols; ++c) grid->SetColWidth(c, 90);
    grid->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    return grid;
}

QPoint cellCenter(CGXGridWnd& grid, int row, int col) {
    return grid.visualRect(grid.GetModel()->index(row - 1, col - 1)).center();
}

void clickCell(CGXGridWnd& grid, int row, int col) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(grid, row, col));
    QCoreApplication::processEvents();
}

}  // namespace

// ---- validation ----

struct ValidationCase {
    const char* name;
    std::function<std::unique_ptr<CGXGridWnd>()> make;
    int row, col;
    const char* text;
    bool accepted;
    const char* warning;
    const char* replacement;  // the cell afterwards when refused
};

class GridValidation : public ::testing::TestWithParam<ValidationCase> {};

TEST_P(GridValidation, EntryIsCheckedAsTheTableSays) {
    const ValidationCase& c = GetParam();
    zartest::MessageBoxCapture boxes;
    std::unique_ptr<CGXGridWnd> grid = c.make();
    grid->SetColCount(4);
    grid->SetRowCount(5);
    const bool accepted = grid->StoreEditedText(c.row, c.col, QString::fromUtf8(c.text));
    EXPECT_EQ(accepted, c.accepted);
    if (c.accepted) {
        EXPECT_TRUE(boxes.shown().empty());
        EXPECT_EQ(grid->GetValueRowCol(c.row, c.col), QString::fromUtf8(c.text));
    } else {
        ASSERT_EQ(boxes.texts().size(), 1);
        EXPECT_EQ(boxes.texts()[0], QString::fromUtf8(c.warning));
        EXPECT_EQ(grid->GetValueRowCol(c.row, c.col), QString::fromUtf8(c.replacement));
    }
}

template <class G>
std::unique_ptr<CGXGridWnd> make() {
    return std::make_unique<G>();
}

const char* const kNumeric = "Please enter only numeric values for the modification";
const char* const kZarmassRange = "Please enter a value between 100.0 - 200000.0!";
const char* const kResidues = "Please enter only amino acid residues";
const char* const kModRange = "Please enter a value between -57.0 - 1500.0!";
const char* const kZero = "Please enter a value greater than or equal to zero";

INSTANTIATE_TEST_SUITE_P(
    Grids, GridValidation,
    ::testing::Values(
        ValidationCase{"zarmass_low", make<CZarmassCalcGrid>, 1, 1, "99.99", false, kZarmassRange,
                       "0"},
        ValidationCase{"zarmass_high_ok", make<CZarmassCalcGrid>, 1, 1, "200000", true, "", ""},
        ValidationCase{"zarmass_low_ok", make<CZarmassCalcGrid>, 2, 3, "100", true, "", ""},
        ValidationCase{"zarmass_text", make<CZarmassCalcGrid>, 1, 1, "12abc", false, kNumeric, "0"},
        ValidationCase{"zarmass_inf", make<CZarmassCalcGrid>, 1, 1, "inf", false, kNumeric, "0"},
        ValidationCase{"mod_residues_lower", make<CModificationGrid>, 1, 1, "mka", true, "", ""},
        ValidationCase{"mod_residues_j", make<CModificationGrid>, 1, 1, "MJ", false, kResidues, ""},
        ValidationCase{"mod_residues_u", make<CModificationGrid>, 1, 1, "U", false, kResidues, ""},
        ValidationCase{"mod_mass_min", make<CModificationGrid>, 1, 2, "-57", true, "", ""},
        ValidationCase{"mod_mass_max", make<CModificationGrid>, 1, 2, "1500", true, "", ""},
        ValidationCase{"mod_mass_below", make<CModificationGrid>, 1, 2, "-57.01", false, kModRange,
                       "0"},
        ValidationCase{"mod_mass_text", make<CModificationGrid>, 1, 2, "abc", false, kNumeric, "0"},
        ValidationCase{"mod_nan", make<CModificationGrid>, 1, 2, "nan", false, kNumeric, "0"},
        ValidationCase{"terminal_mass", make<CTerminalModificationGrid>, 1, 2, "1500.5", false,
                       kModRange, "0"},
        ValidationCase{"terminal_ok", make<CTerminalModificationGrid>, 1, 2, "42.01", true, "", ""},
        ValidationCase{"pepmap_text", make<CPepmapOptionsGrid>, 1, 2, "x", false,
                       "Please enter only numeric values", "0"},
        ValidationCase{"pepmap_row2_max", make<CPepmapOptionsGrid>, 2, 2, "10000", true, "", ""},
        ValidationCase{"pepmap_row2_over", make<CPepmapOptionsGrid>, 2, 2, "10000.5", false,
                       "Please enter a value between 0 - 10000.0", "0"},
        ValidationCase{"pepmap_row1_any", make<CPepmapOptionsGrid>, 1, 2, "123456", true, "", ""},
        ValidationCase{"pepmap_row3_negative", make<CPepmapOptionsGrid>, 3, 2, "-1", false, kZero,
                       "0"},
        ValidationCase{"pepmap_row4_zero", make<CPepmapOptionsGrid>, 4, 2, "0", true, "", ""},
        // The minimums follow the same rules as the maximums.
        ValidationCase{"pepmap_min_text", make<CPepmapOptionsGrid>, 1, 1, "x", false,
                       "Please enter only numeric values", "0"},
        ValidationCase{"pepmap_min_row2_over", make<CPepmapOptionsGrid>, 2, 1, "10001", false,
                       "Please enter a value between 0 - 10000.0", "0"},
        ValidationCase{"pepmap_min_row3_negative", make<CPepmapOptionsGrid>, 3, 1, "-2", false,
                       kZero, "0"},
        ValidationCase{"pepmap_min_row1_ok", make<CPepmapOptionsGrid>, 1, 1, "6", true, "", ""},
        ValidationCase{"enzyme_offset_text", make<CEnzymeGrid>, 2, 2, "one", false,
                       "Please enter only numeric values for the offset", "0"},
        ValidationCase{"enzyme_offset_negative", make<CEnzymeGrid>, 2, 2, "-1", false, kZero, "0"},
        ValidationCase{"enzyme_dash", make<CEnzymeGrid>, 2, 3, "-", true, "", ""},
        ValidationCase{"enzyme_residues", make<CEnzymeGrid>, 2, 4, "kr", true, "", ""},
        ValidationCase{"enzyme_bad", make<CEnzymeGrid>, 2, 3, "K1", false, kResidues, "-"}),
    [](const ::testing::TestParamInfo<ValidationCase>& info) {
        return std::string(info.param.name);
    });

// ---- may edit ----

TEST(GridMayEdit, MatrixOfTheGrids) {
    struct Case {
        const char* name;
        std::unique_ptr<CGXGridWnd> grid;
        std::vector<std::pair<int, int>> editable;  // (row, col) among rows 1-3, cols 1-3
    };
    std::vector<Case> cases;
    auto all = std::vector<std::pair<int, int>>{};
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c) all.emplace_back(r, c);
    auto where = [&](std::function<bool(int, int)> f) {
        std::vector<std::pair<int, int>> v;
        for (auto [r, c] : all)
            if (f(r, c)) v.emplace_back(r, c);
        return v;
    };
    cases.push_back(
        {"queue", std::make_unique<CSorvexQueueGrid>(), where([](int, int c) { return c == 1; })});
    cases.push_back(
        {"filter", std::make_unique<CFilterGrid>(), where([](int, int c) { return c == 1; })});
    cases.push_back({"pepmap options", std::make_unique<CPepmapOptionsGrid>(), all});
    cases.push_back(
        {"enzyme", std::make_unique<CEnzymeGrid>(), where([](int r, int) { return r != 1; })});
    cases.push_back({"terminal", std::make_unique<CTerminalModificationGrid>(),
                     where([](int, int c) { return c > 1; })});
    cases.push_back({"zarmass calc", std::make_unique<CZarmassCalcGrid>(), all});
    cases.push_back({"select results", std::make_unique<CSelectResultsGrid>(), all});
    cases.push_back({"modification", std::make_unique<CModificationGrid>(), all});
    cases.push_back({"disulfide", std::make_unique<CDisulfideGrid>(),
                     where([](int, int c) { return c == 2; })});
    cases.push_back({"summary", std::make_unique<CSummaryGrid>(), {}});
    cases.push_back({"massmap", std::make_unique<CMassmapGrid>(), {}});
    cases.push_back({"multi consensus", std::make_unique<CMultiConsensusGrid>(), {}});
    cases.push_back({"consensus", std::make_unique<CConsensusGrid>(), {}});
    cases.push_back({"show out", std::make_unique<CShowOutGrid>(), {}});
    cases.push_back({"blast", std::make_unique<CBlastGrid>(), {}});
    cases.push_back({"denovo", std::make_unique<CDenovoGrid>(), {}});
    cases.push_back({"pepmap", std::make_unique<CPepmapGrid>(), {}});
    cases.push_back({"msn list", std::make_unique<CMSnListGrid>(), {}});
    cases.push_back({"dta list", std::make_unique<CDtaListGrid>(), {}});
    cases.push_back({"protein", std::make_unique<CProteinGrid>(), {}});
    cases.push_back({"sequence", std::make_unique<CSequenceGrid>(), {}});
    cases.push_back({"ion list", std::make_unique<CIonListGrid>(), {}});
    cases.push_back({"display ions", std::make_unique<CDisplayIonsGrid>(), {}});
    cases.push_back({"zarmass results", std::make_unique<CZarmassResultsGrid>(), {}});
    for (Case& c : cases) {
        c.grid->SetColCount(3);
        c.grid->SetRowCount(3);
        for (auto [r, col] : all) {
            const bool expected = std::find(c.editable.begin(), c.editable.end(),
                                            std::make_pair(r, col)) != c.editable.end();
            const bool editable =
                c.grid->GetModel()->flags(c.grid->GetModel()->index(r - 1, col - 1)) &
                Qt::ItemIsEditable;
            EXPECT_EQ(editable, expected) << c.name << " row " << r << " col " << col;
        }
    }
}

TEST(GridMayEdit, DisulfideCellDecidesInColumnTwo) {
    CDisulfideGrid grid;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetStyleRange(CGXRange::cell(2, 2), CGXStyle().setReadOnly(true));
    EXPECT_TRUE(grid.GetModel()->flags(grid.GetModel()->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.GetModel()->flags(grid.GetModel()->index(1, 1)) & Qt::ItemIsEditable);
}

// ---- clicks ----

TEST(SummaryGrid, PressPostsTheHitAndColumnToTheMainWindow) {
    Services services;
    SummaryOwner owner;
    auto grid = shownGrid<CSummaryGrid>(5, 14);
    grid->SetGridOwner(&owner);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(*grid, 2, 6));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(*grid, 2, 6));
    QCoreApplication::processEvents();
    ASSERT_EQ(services.posted.size(), 1u);
    EXPECT_EQ(services.posted[0].message, kMsgSummaryCellSelected);
    EXPECT_EQ(services.posted[0].wParam, 20u) << "the row's hit number";
    EXPECT_EQ(services.posted[0].lParam, 6);
    EXPECT_EQ(grid->PressedRow(), 2);
    EXPECT_EQ(grid->PressedCol(), 6);
    // A row without a hit posts nothing.
    clickCell(*grid, 3, 6);
    EXPECT_EQ(services.posted.size(), 1u);
}

TEST(SummaryGrid, CellClicksOpenTheViewsOfTheirColumns) {
    Services services;
    zartest::ShellOpenCapture browser;
    SummaryOwner owner;
    auto grid = shownGrid<CSummaryGrid>(5, 14);
    grid->SetGridOwner(&owner);
    grid->SetValueRange(1, 5, QStringLiteral("ALBU_BOVIN"));
    grid->SetValueRange(1, 12, 3.0);
    grid->SetValueRange(1, 14, QStringLiteral("1.25"));
    struct Case {
        int col;
        int viewType;  // 0: no window
    } cases[] = {{1, 7}, {2, 3}, {5, 2}, {11, 5}, {12, 1}, {14, 9}, {3, 0}, {6, 0}};
    for (const Case& c : cases) {
        services.requests.clear();
        clickCell(*grid, 1, c.col);
        if (c.viewType == 0) {
            EXPECT_TRUE(services.requests.empty()) << "column " << c.col;
            continue;
        }
        ASSERT_EQ(services.requests.size(), 1u) << "column " << c.col;
        EXPECT_EQ(services.requests[0].viewType, c.viewType) << "column " << c.col;
        EXPECT_EQ(services.requests[0].hit, HitNumber(10)) << "column " << c.col;
        EXPECT_EQ(services.requests[0].kind, 1);
    }
    services.requests.clear();
    clickCell(*grid, 1, 4);
    EXPECT_TRUE(services.requests.empty());
    ASSERT_EQ(browser.urls().size(), 1);
    EXPECT_EQ(QUrlQuery(browser.urls()[0]).queryItemValue(QStringLiteral("SEQUENCE")),
              QStringLiteral("PEPTIDE"))
        << "modification symbols drop out";
    // Empty reference and a zero count open nothing.
    services.requests.clear();
    clickCell(*grid, 2, 5);
    clickCell(*grid, 2, 12);
    EXPECT_TRUE(services.requests.empty());
}

TEST(SummaryGrid, TitleClickSorts) {
    SummaryOwner owner;
    auto grid = shownGrid<CSummaryGrid>(5, 14);
    grid->SetGridOwner(&owner);
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(2) + 10, header->height() / 2));
    EXPECT_EQ(owner.sorted, std::vector<int>{3});
}

TEST(SummaryGrid, WithoutOwnerClicksDoNothing) {
    Services services;
    auto grid = shownGrid<CSummaryGrid>(3, 14);
    clickCell(*grid, 1, 1);
    EXPECT_TRUE(services.requests.empty());
    EXPECT_TRUE(services.posted.empty());
}

TEST(MassmapGrid, MatchAndProteinRowsOpenTheirViews) {
    Services services;
    struct Owner : CProteinTableGridOwner {
        bool GetRowInfo(int row, ConsensusRowEntry& entry) const override {
            entry = row == 2 ? ConsensusRowEntry::Protein(row * 100)
                             : ConsensusRowEntry::Match(HitNumber(row * 100));
            return row >= 2;
        }
        std::vector<std::pair<int, int>> sorted;
        void SortByColumn(int row, int col) override { sorted.emplace_back(row, col); }
    } owner;
    auto grid = shownGrid<CMultiConsensusGrid>(4, 10);
    grid->SetGridOwner(&owner);
    grid->SetValueRange(3, 4, QStringLiteral("K.LVNELTEFAK.T"));
    grid->SetValueRange(3, 10, 2.0);
    clickCell(*grid, 1, 3);  // the second title row sorts too, told which title row it was
    EXPECT_EQ(owner.sorted, (std::vector<std::pair<int, int>>{{1, 3}}));
    clickCell(*grid, 2, 2);   // protein row, coverage
    clickCell(*grid, 2, 4);   // protein row, output files
    clickCell(*grid, 3, 9);   // match row, display ions
    clickCell(*grid, 3, 10);  // match row, BLAST results
    ASSERT_EQ(services.requests.size(), 4u);
    EXPECT_EQ(services.requests[0].viewType, 6);
    EXPECT_EQ(services.requests[0].entryIndex, 200);
    EXPECT_EQ(services.requests[1].viewType, 4);
    EXPECT_EQ(services.requests[2].viewType, 5);
    EXPECT_EQ(services.requests[2].peptide, QStringLiteral("K.LVNELTEFAK.T"));
    EXPECT_EQ(services.requests[2].kind, 3);
    EXPECT_EQ(services.requests[3].viewType, 1);
    EXPECT_EQ(services.requests[3].furtherReferences, 2);
    EXPECT_EQ(services.requests[3].hit, HitNumber(300));
    // The multiple-file table has no trace to mark: a press tells the frame nothing.
    EXPECT_TRUE(services.posted.empty());
}

TEST(MassmapGrid, SequenceCellBlastsTheRowsOwnPeptideAndPressTellsTheHitNumber) {
    Services services;
    zartest::ShellOpenCapture browser;
    services.mainWindow.messageMap().on(kMsgMassmapCellSelected, [&services](const Message& msg) {
        services.posted.push_back({msg.message, msg.wParam, msg.lParam, nullptr});
        return 0;
    });
    struct Owner : CProteinTableGridOwner {
        // Row 2 a protein, row 3 a match of hit 7.
        bool GetRowInfo(int row, ConsensusRowEntry& entry) const override {
            entry = row == 2 ? ConsensusRowEntry::Protein(0) : ConsensusRowEntry::Match(HitNumber(7));
            return row == 2 || row == 3;
        }
        void SortByColumn(int, int) override {}
    } owner;
    auto grid = shownGrid<CMassmapGrid>(4, 7);
    grid->SetGridOwner(&owner);
    grid->SetValueRange(3, 4, QStringLiteral("R.SECONDRANK.K"));
    clickCell(*grid, 3, 4);
    ASSERT_EQ(browser.urls().size(), 1u);
    EXPECT_TRUE(browser.urls()[0].toString().contains("SEQUENCE=SECONDRANK"))
        << browser.urls()[0].toString().toStdString();
    QCoreApplication::processEvents();
    ASSERT_EQ(services.posted.size(), 1u);
    EXPECT_EQ(services.posted[0].wParam, 7u);
    EXPECT_EQ(services.posted[0].lParam, 4);
    clickCell(*grid, 2, 4);  // a protein row names no hit
    QCoreApplication::processEvents();
    EXPECT_EQ(services.posted.size(), 1u);
}

TEST(PepmapGrid, TitleClickSortsTheDigestAndPostsTheChange) {
    Services services;
    struct Owner : CPepmapGridOwner {
        int count = 3;
        std::vector<int> modes;
        int PeptideCount() const override { return count; }
        void SortPeptides(int mode) override { modes.push_back(mode); }
    } owner;
    auto grid = shownGrid<CPepmapGrid>(3, 7);
    grid->SetGridOwner(&owner);
    QHeaderView* header = grid->horizontalHeader();
    for (int col : {1, 2, 3, 4, 5, 6, 7})
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, Qt::NoModifier,
            QPoint(header->sectionViewportPosition(col - 1) + 10, header->height() / 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.modes, (std::vector<int>{0, 2, 2, 1, 3, 2}));
    EXPECT_EQ(services.posted.size(), 6u);
    owner.count = 0;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
    EXPECT_EQ(owner.modes.size(), 6u) << "no digest, no sort";
}

TEST(DtaListGrid, ClickOnANamedRowShowsItsOutputFile) {
    struct Owner : CDtaListGridOwner {
        QStringList shown;
        void ShowOutputFile(const QString& name) override { shown.append(name); }
    } owner;
    auto grid = shownGrid<CDtaListGrid>(3, 2);
    grid->SetGridOwner(&owner);
    grid->SetValueRange(1, 0, QStringLiteral("run.0100.0100.2.out"));
    grid->SetValueRange(1, 2, QStringLiteral("done"));
    grid->SetValueRange(2, 0, QStringLiteral("run.0101.0101.2.out"));
    clickCell(*grid, 1, 1);
    clickCell(*grid, 2, 1);  // column 2 empty: nothing
    clickCell(*grid, 1, 2);  // column 2: nothing
    EXPECT_EQ(owner.shown, QStringList{QStringLiteral("run.0100.0100.2.out")});
}

TEST(ZarmassCalcGrid, DeleteCompactsColumnOne) {
    struct Owner : CZarmassCalcGridOwner {
        int enabled = 0;
        int capped = 0;
        void EnableCalculation() override { ++enabled; }
        void SetCappedValue(int n) override { capped = n; }
    } owner;
    auto grid = shownGrid<CZarmassCalcGrid>(5, 1);
    grid->SetGridOwner(&owner);
    grid->SetValueRange(1, 1, 1000.5);
    grid->SetValueRange(2, 1, 2000.5);
    grid->SetValueRange(3, 1, 3000.5);
    grid->SetCurrentCell(2, 1);
    grid->selectionModel()->select(grid->GetModel()->index(1, 0),
                                   QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(grid.get(), Qt::Key_Delete);
    EXPECT_EQ(grid->GetValueRowCol(1, 1), QStringLiteral("1000.5"));
    EXPECT_EQ(grid->GetValueRowCol(2, 1), QStringLiteral("3000.5"));
    EXPECT_EQ(grid->GetValueRowCol(3, 1), QString());
    EXPECT_EQ(owner.capped, 3);
    EXPECT_GE(owner.enabled, 1);
}

TEST(GridContextMenu, OnlyPepmapOptionsAndEnzymeGridsStaySilent) {
    struct Case {
        const char* name;
        std::function<CGXGridWnd*(QWidget*)> make;
        bool posts;
    } cases[] = {
        {"pepmap options", [](QWidget* p) { return new CPepmapOptionsGrid(p); }, false},
        {"enzyme", [](QWidget* p) { return new CEnzymeGrid(p); }, false},
        {"summary", [](QWidget* p) { return new CSummaryGrid(p); }, true},
        {"modification", [](QWidget* p) { return new CModificationGrid(p); }, true},
        {"sequence", [](QWidget* p) { return new CSequenceGrid(p); }, true},
    };
    for (const Case& c : cases) {
        QWidget holder;
        holder.resize(300, 200);
        CGXGridWnd* grid = c.make(&holder);
        grid->resize(300, 200);
        grid->SetColCount(2);
        grid->SetRowCount(2);
        zartest::MessageTrap trap(&holder, {WM_CONTEXTMENU});
        holder.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&holder));
        QTest::mouseClick(grid->viewport(), Qt::RightButton, Qt::NoModifier,
                          cellCenter(*grid, 1, 1));
        QCoreApplication::processEvents();
        if (c.posts) {
            ASSERT_EQ(trap.caught().size(), 1u) << c.name;
            EXPECT_EQ(trap.caught()[0].wParam, reinterpret_cast<WPARAM>(grid)) << c.name;
        } else {
            EXPECT_TRUE(trap.caught().empty()) << c.name;
        }
    }
}

TEST(ModificationGrid, ToolTipsForColumnRowAndCell) {
    CModificationGrid grid;
    grid.SetColCount(2);
    grid.SetRowCount(3);
    grid.SetToolTip(0, 1, QStringLiteral("Enter an amino acid (ABCDEFGHIKLMNOPQRSTVWXZY)"));
    grid.SetToolTip(2, 0, QStringLiteral("row"));
    grid.SetToolTip(3, 2, QStringLiteral("cell"));
    EXPECT_EQ(grid.GetStyleRowCol(1, 1).toolTip,
              QStringLiteral("Enter an amino acid (ABCDEFGHIKLMNOPQRSTVWXZY)"));
    EXPECT_EQ(grid.GetStyleRowCol(2, 2).toolTip, QStringLiteral("row"));
    EXPECT_EQ(grid.GetStyleRowCol(3, 2).toolTip, QStringLiteral("cell"));
}

TEST(BlastGrid, AddHitAppendsStyledRows) {
    CBlastGrid grid;
    grid.SetColCount(5);
    grid.SetRowCount(1);
    grid.AddHit(3);
    EXPECT_EQ(grid.GetRowCount(), 4);
    EXPECT_EQ(grid.GetStyleRowCol(4, 3).valueType, GridValueType::Number);
    EXPECT_EQ(grid.GetStyleRowCol(2, 1).valueType, GridValueType::Text);
}

// ---- BLAST address ----

TEST(BlastLookup, AddressIsEncodedAndCarriesTheFixedQuery) {
    const QUrl url = MakeBlastUrl(QStringLiteral("https://blast.example.org/blast/blast.cgi"),
                                  QStringLiteral("PEP&TIDE+X Y"));
    const QUrlQuery q(url);
    EXPECT_EQ(q.queryItemValue(QStringLiteral("SEQUENCE"), QUrl::FullyDecoded),
              QStringLiteral("PEP&TIDE+X Y"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("PROGRAM")), QStringLiteral("blastp"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("FILTER")), QStringLiteral("none"));
    EXPECT_TRUE(
        url.toString(QUrl::FullyEncoded).contains(QStringLiteral("SEQUENCE=PEP%26TIDE%2BX%20Y")))
        << url.toString(QUrl::FullyEncoded).toStdString();
    EXPECT_TRUE(
        url.toString(QUrl::FullyEncoded)
            .startsWith(QStringLiteral("https://blast.example.org/blast/blast.cgi?SEQUENCE=")));
}

TEST(BlastLookup, OnlyWebAddressesAreOpened) {
    zartest::MessageBoxCapture boxes;
    zartest::ShellOpenCapture browser;
    EXPECT_FALSE(BlastPeptide(QString()));
    RegKey(RegRoot::LocalMachine, QStringLiteral("Software\\Korvath\\Veltrix\\ZarvikBrowser"), true)
        .writeString(QStringLiteral("NCBIBlastURL"), QStringLiteral("javascript:alert(1)"));
    EXPECT_FALSE(BlastPeptide(QStringLiteral("PEPTIDE")));
    // Nor a local file, even one that exists.
    RegKey(RegRoot::LocalMachine, QStringLiteral("Software\\Korvath\\Veltrix\\ZarvikBrowser"), true)
        .writeString(QStringLiteral("NCBIBlastURL"), QStringLiteral("file:///bin/sh"));
    EXPECT_FALSE(BlastPeptide(QStringLiteral("PEPTIDE")));
    EXPECT_TRUE(browser.urls().empty());
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_TRUE(boxes.shown().back().text.contains(QStringLiteral("is not a web address")));
}

TEST(SwissProtLookup, ThreeSearchesWithTheReferenceEncodedAsTheQuery) {
    struct Case {
        SwissProtSearch search;
        const char* base;
        const char* expected;
    } cases[] = {
        {SwissProtSearch::Accession, "https://web.example.org/cgi-bin",
         "https://web.example.org/cgi-bin/sprot-search-ac?sp%7CP02769%7CALBU_BOVIN%20%26x%3D1%23"},
        {SwissProtSearch::Description, "https://web.example.org/cgi-bin/",
         "https://web.example.org/cgi-bin/sprot-search-de?sp%7CP02769%7CALBU_BOVIN%20%26x%3D1%23"},
        {SwissProtSearch::FullText, " http://web.example.org ",
         "http://web.example.org/sprot-search-ful?sp%7CP02769%7CALBU_BOVIN%20%26x%3D1%23"},
    };
    for (const Case& c : cases) {
        const QUrl url = MakeSwissProtUrl(QString::fromLatin1(c.base), c.search,
                                          QStringLiteral("sp|P02769|ALBU_BOVIN &x=1#"));
        EXPECT_EQ(url.toString(QUrl::FullyEncoded), QString::fromLatin1(c.expected));
        EXPECT_TRUE(url.fragment().isEmpty());
    }
    // Any length: no buffer cuts a long reference.
    const QString longReference(5000, QLatin1Char('A'));
    EXPECT_TRUE(
        MakeSwissProtUrl(QStringLiteral("https://x.org"), SwissProtSearch::Accession, longReference)
            .toString()
            .endsWith(longReference));
}

TEST(SwissProtLookup, OnlyWebAddressesAreOpened) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    zartest::ShellOpenCapture browser;
    EXPECT_FALSE(SwissProtReference(SwissProtSearch::Accession, QString()));
    EXPECT_TRUE(SwissProtReference(SwissProtSearch::FullText, QStringLiteral("ALBU_BOVIN")));
    ASSERT_EQ(browser.urls().size(), 1);
    EXPECT_TRUE(browser.urls()[0].path().endsWith(QStringLiteral("/sprot-search-ful")));
    RegKey(RegRoot::LocalMachine, QStringLiteral("Software\\Korvath\\Veltrix\\ZarvikBrowser"), true)
        .writeString(QStringLiteral("SwissProtURL"), QStringLiteral("javascript:alert(1)"));
    EXPECT_FALSE(SwissProtReference(SwissProtSearch::Accession, QStringLiteral("ALBU_BOVIN")));
    RegKey(RegRoot::LocalMachine, QStringLiteral("Software\\Korvath\\Veltrix\\ZarvikBrowser"), true)
        .writeString(QStringLiteral("SwissProtURL"), QStringLiteral("file:///bin"));
    EXPECT_FALSE(SwissProtReference(SwissProtSearch::Accession, QStringLiteral("ALBU_BOVIN")));
    EXPECT_EQ(browser.urls().size(), 1);
    EXPECT_FALSE(boxes.shown().empty());
}

// ---- folder cell ----

TEST(BitmapButtonEdit, ChosenFolderGoesIntoTheCellAndCancelChangesNothing) {
    CSelectResultsGrid grid;
    grid.SetColCount(1);
    grid.SetRowCount(2);
    auto* cell = new CBitmapButtonEdit(&grid);
    grid.setItemDelegateForColumn(0, cell);
    grid.SetValueRange(1, 1, QStringLiteral("/old"));
    QString askedTitle;
    QString answer = QStringLiteral("/data/results/run1");
    cell->SetFolderPicker([&](QWidget*, const QString& title, const QString&) {
        askedTitle = title;
        return answer;
    });
    cell->Browse(1, 1);
    EXPECT_EQ(askedTitle, QStringLiteral("TurboSORVEX Results Directory"));
    EXPECT_EQ(grid.GetValueRowCol(1, 1), QStringLiteral("/data/results/run1"));
    answer.clear();
    cell->Browse(1, 1);
    EXPECT_EQ(grid.GetValueRowCol(1, 1), QStringLiteral("/data/results/run1"));
}

TEST(BitmapButtonEdit, ButtonAndTextAreas) {
    const QRect cell(10, 20, 100, 20);
    EXPECT_EQ(CBitmapButtonEdit::TextArea(cell).left(), 10 + 16 + 3);
    EXPECT_EQ(CBitmapButtonEdit::ButtonArea(cell, 16), QRect(13, 22, 16, 16));
    EXPECT_TRUE(CBitmapButtonEdit::TextArea(QRect(0, 0, 18, 20)).isEmpty())
        << "a narrow cell shows no text";
    EXPECT_TRUE(CBitmapButtonEdit::ButtonArea(QRect(0, 0, 10, 8), 16).width() <= 10)
        << "the button stays in the cell";
}
