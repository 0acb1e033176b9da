// The Select Ions page of the results window: the theoretical ions of a typed or selected
// peptide against hand-computed masses, the series and mass-type choices, growing the table,
// and its export.

#include "spectrumviews/views/SelectIonsView.h"

#include "app/grids/DisplayGrids.h"
#include "document/SorvexResults.h"
#include "resultviews/ResultsWindow.h"
#include "spectrumviews/PepmatchData.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"

#include "ViewsTestSupport.h"
#include "WidgetWatch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>

#include <map>

using namespace zar;

namespace {

// Monoisotopic residues and the terms of this program's ions (hydrogen atoms for the charge).
constexpr double kG = 57.021464;
constexpr double kK = 128.094963;
constexpr double kH = 1.007825;
constexpr double kWater = 18.010565;

// One results folder: the fixture's GGGGK hit, and a copy of it whose peptide is long.
QString WriteHit(const QString& folder, const QString& name, const QString& peptide,
                 const QString& modifications = QString()) {
    QFile in(zartest::DataPath(QStringLiteral("resultviews/seven/run.0101.0101.2.out")));
    if (!in.open(QIODevice::ReadOnly)) return QString();
    QString text = QString::fromLatin1(in.readAll());
    text.replace(QStringLiteral("run.0101.0101.2.out"), name);
    text.replace(QStringLiteral("R.GGGGK.A"), peptide);
    if (!modifications.isEmpty())
        text.replace(QStringLiteral(" C=160.1388"), QLatin1Char(' ') + modifications);
    QFile out(folder + QLatin1Char('/') + name);
    if (!out.open(QIODevice::WriteOnly)) return QString();
    out.write(text.toLatin1());
    return out.fileName();
}

class SelectIonsViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterSpectrumViews();
        doc_ = std::make_unique<CZarDoc>();
        view_ = std::make_unique<CSelectIonsView>(nullptr);
        view_->resize(1000, 600);
        view_->show();
        view_->OnInitialUpdate();
    }
    double cell(int row, int col) const { return view_->Grid()->GetModel()->GetNumber(row, col); }
    QString text(int row, int col) const { return view_->Grid()->GetValueRowCol(row, col); }
    void type(const QString& sequence) {
        view_->SequenceEdit()->setText(sequence);
        view_->OnUpdateIons();
    }
    void setMassType(int type) {
        qobject_cast<QAbstractButton*>(view_->Control(9010 + type))->click();
    }
    // Loads a results folder holding the given peptides (hit numbers in this order).
    void loadHits(const QStringList& peptides, const QString& modifications = QString()) {
        for (int i = 0; i < peptides.size(); ++i)
            ASSERT_FALSE(WriteHit(dir_.path(), QStringLiteral("run.%1.%1.2.out").arg(200 + i),
                                  peptides[i], modifications)
                             .isEmpty());
        CSorvexResults* set = doc_->GetSorvexResults();
        set->Initialize();
        set->ReadResults(dir_.path());
        ASSERT_EQ(set->GetHitCount(), peptides.size());
    }
    HitNumber hitOf(const QString& peptide) const {
        const CSorvexResults* set = doc_->GetSorvexResults();
        for (int i = 0; i < set->GetHitCount(); ++i)
            if (set->GetHit(i)->peptide == peptide) return set->GetHit(i)->hitNumber();
        return HitNumber();
    }

    zartest::MessageBoxCapture boxes_;
    QTemporaryDir dir_;
    std::unique_ptr<CZarDoc> doc_;
    std::unique_ptr<CSelectIonsView> view_;
};

}  // namespace

TEST_F(SelectIonsViewTest, ANewPageShowsTheDefaultSelectionAndAnEmptyTable) {
    EXPECT_EQ(view_->massType, 0);
    EXPECT_EQ(view_->series, DefaultSeriesFlags());
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(view_->Control(9010))->isChecked());
    EXPECT_TRUE(qobject_cast<QCheckBox*>(view_->Control(9017))->isChecked());   // B
    EXPECT_FALSE(qobject_cast<QCheckBox*>(view_->Control(9013))->isChecked());  // A
    EXPECT_EQ(view_->Grid()->GetRowCount(), 50);
    ASSERT_EQ(view_->Grid()->GetColCount(), 18);
    const char* titles[] = {"AA", "M + H", "A",  "A*", "Ao", "B",  "B*", "Bo",    "C",
                            "X",  "Y",     "Y*", "Yo", "Z*", "W'", "D'", "H int", "P int"};
    for (int c = 1; c <= 18; ++c) EXPECT_EQ(text(0, c), QString::fromLatin1(titles[c - 1]));
    EXPECT_TRUE(text(1, 1).isEmpty());
    // A mass of five digits shows whole in every mass column.
    const int fiveDigits =
        view_->Grid()->fontMetrics().horizontalAdvance(QStringLiteral("10000.00"));
    for (int c = 2; c <= 18; ++c) EXPECT_GT(view_->Grid()->GetColWidth(c), fiveDigits + 6) << c;
}

TEST_F(SelectIonsViewTest, TheTableOfAPeptideMatchesHandComputedMasses) {
    setMassType(1);
    view_->OnCommand(CSelectIonsView::ID_SELECT_ALL);
    type(QStringLiteral("GGGGK"));
    EXPECT_EQ(text(1, 1), QStringLiteral(" G "));
    EXPECT_EQ(text(5, 1), QStringLiteral(" K "));
    // Row i: [M+H]+ of residues 1..i, then one column per series.
    EXPECT_NEAR(cell(1, 2), kG + kWater + kH, 1e-4);
    EXPECT_NEAR(cell(5, 2), 4 * kG + kK + kWater + kH, 1e-4);
    EXPECT_NEAR(cell(2, 3 + kIonB), 2 * kG + kH, 1e-4);              // b2
    EXPECT_NEAR(cell(2, 3 + kIonA), 2 * kG + kH - 27.994915, 1e-4);  // a2
    EXPECT_NEAR(cell(2, 3 + kIonC), 2 * kG + kH + 17.026549, 1e-3);  // c2
    EXPECT_NEAR(cell(5, 3 + kIonY), kK + kWater + kH, 1e-4);         // y1
    EXPECT_NEAR(cell(4, 3 + kIonY), kG + kK + kWater + kH, 1e-4);    // y2
    EXPECT_NEAR(cell(4, 3 + kIonYo), kG + kK + kH, 1e-3);            // y2 - H2O
    EXPECT_NEAR(cell(2, 3 + kIonX), 3 * kG + kK + kWater + kH + 27.994915 - 2 * kH, 1e-3);
    EXPECT_TRUE(text(5, 3 + kIonC).isEmpty());  // no C ion at the last residue
    EXPECT_TRUE(text(1, 3 + kIonX).isEmpty());  // no X ion at the first
    EXPECT_TRUE(text(1, 3 + kIonHInternal).isEmpty());
    // The same peptide in average masses differs in every mass, "M + H" included.
    const double mono = cell(5, 2);
    setMassType(0);
    view_->OnUpdateIons();
    EXPECT_NEAR(cell(5, 2), 375.4, 0.05);
    EXPECT_NE(cell(5, 2), mono);
    viewstest::Grab(*view_, QStringLiteral("/tmp/i26-select-ions.png"));
}

TEST_F(SelectIonsViewTest, NoSeriesGivesResiduesAndMHOnly) {
    view_->OnCommand(CSelectIonsView::ID_SELECT_NONE);
    EXPECT_FALSE(qobject_cast<QCheckBox*>(view_->Control(9017))->isChecked());
    type(QStringLiteral("GGGGK"));
    EXPECT_FALSE(text(3, 2).isEmpty());
    for (int c = 3; c <= 18; ++c) EXPECT_TRUE(text(3, c).isEmpty()) << c;
    view_->OnCommand(CSelectIonsView::ID_SELECT_DEFAULT);
    EXPECT_EQ(view_->series, DefaultSeriesFlags());
    type(QString());
    EXPECT_EQ(boxes_.texts(), QStringList{QStringLiteral("Please enter a sequence")});
    EXPECT_FALSE(text(3, 2).isEmpty());  // the table stays
}

TEST_F(SelectIonsViewTest, ALongTypedSequenceGrowsTheTable) {
    const QString longPeptide = QString(70, QLatin1Char('G')) + QLatin1Char('K');
    type(longPeptide);
    EXPECT_EQ(view_->Grid()->GetRowCount(), 71);
    EXPECT_EQ(view_->RowCapacity(), 71);
    EXPECT_EQ(text(71, 1), QStringLiteral(" K "));
    EXPECT_FALSE(text(71, 3 + kIonY).isEmpty());
}

TEST_F(SelectIonsViewTest, AHitsPeptideReplacesTheTable) {
    const QString longPeptide =
        QStringLiteral("K.") + QString(59, QLatin1Char('A')) + QStringLiteral("R.G");
    loadHits({QStringLiteral("R.GGGGK.A"), longPeptide, QStringLiteral("-.")});
    type(QStringLiteral("SAMPLERSAMPLER"));
    ASSERT_FALSE(text(14, 1).isEmpty());

    view_->ShowSequenceIons(1, hitOf(QStringLiteral("R.GGGGK.A")));
    EXPECT_EQ(view_->Title(), QStringLiteral("Sequence Ions - GGGGK"));
    EXPECT_EQ(view_->SequenceEdit()->text(), QStringLiteral("GGGGK"));
    EXPECT_EQ(view_->massType, 1);  // the results were searched with monoisotopic masses
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(view_->Control(9011))->isChecked());
    EXPECT_EQ(text(5, 1), QStringLiteral(" K "));
    // The previous peptide's rows and ions are gone; the hit's ions show at once.
    EXPECT_TRUE(text(6, 1).isEmpty());
    EXPECT_TRUE(text(14, 1).isEmpty());
    EXPECT_NEAR(cell(2, 3 + kIonB), 2 * kG + kH, 1e-4);
    EXPECT_FALSE(text(1, 2).isEmpty());

    // A peptide of 60 residues grows the table beyond its 50 rows.
    view_->ShowSequenceIons(1, hitOf(longPeptide));
    EXPECT_EQ(view_->Grid()->GetRowCount(), 60);
    EXPECT_EQ(text(60, 1), QStringLiteral(" R "));
    EXPECT_EQ(view_->ShownHit(), hitOf(longPeptide));

    // A hit without a peptide leaves title and table as they are.
    view_->ShowSequenceIons(1, hitOf(QStringLiteral("-.")));
    EXPECT_EQ(view_->Title(), QStringLiteral("Sequence Ions - ") + longPeptide.mid(2, 60));
    EXPECT_EQ(text(60, 1), QStringLiteral(" R "));
    // Another kind of result set does nothing.
    view_->ShowSequenceIons(3, HitNumber(1));
    EXPECT_EQ(text(60, 1), QStringLiteral(" R "));
}

TEST_F(SelectIonsViewTest, AHitsIonsCarryTheStaticModificationsOfItsSearch) {
    // The fixture's search gave cysteine the mass 160.1388 (C=160.1388).
    constexpr double kModifiedC = 160.1388;
    loadHits({QStringLiteral("R.GCGGK.A")});
    view_->ShowSequenceIons(1, hitOf(QStringLiteral("R.GCGGK.A")));
    ASSERT_EQ(view_->massType, 1);
    EXPECT_NEAR(cell(2, 3 + kIonB), kG + kModifiedC + kH, 1e-3) << "b2, without pressing Update";
    EXPECT_NEAR(cell(1, 3 + kIonB), kG + kH, 1e-4) << "glycine is not modified";
    // Update keeps them: the sequence is still the hit's.
    view_->OnUpdateIons();
    EXPECT_NEAR(cell(2, 3 + kIonB), kG + kModifiedC + kH, 1e-3);
}

TEST_F(SelectIonsViewTest, AHitsIonsCarryTheTerminalModificationsOfItsSearch) {
    // A search with an acetylated N terminus and an amidated C terminus.
    constexpr double kNTerm = 42.0106;
    constexpr double kCTerm = -0.9840;
    loadHits({QStringLiteral("R.GGGGK.A")},
             QStringLiteral("+Nterm-pep=42.0106 +Cterm-pep=-0.9840"));
    view_->ShowSequenceIons(1, hitOf(QStringLiteral("R.GGGGK.A")));
    ASSERT_EQ(view_->massType, 1);
    // b ions hold the N terminus; y ions the C terminus; the whole peptide both.
    EXPECT_NEAR(cell(1, 3 + kIonB), kG + kNTerm + kH, 1e-3) << "b1";
    EXPECT_NEAR(cell(4, 3 + kIonB), 4 * kG + kNTerm + kH, 1e-3) << "b4";
    EXPECT_NEAR(cell(5, 3 + kIonY), kK + kCTerm + kWater + kH, 1e-3) << "y1";
    EXPECT_NEAR(cell(2, 3 + kIonY), 3 * kG + kK + kCTerm + kWater + kH, 1e-3) << "y4";
    EXPECT_NEAR(cell(1, 3 + kIonY), 4 * kG + kK + kNTerm + kCTerm + kWater + kH, 1e-3) << "y5";
}

TEST_F(SelectIonsViewTest, TheResultsWindowShowsTheHitOnItsSelectIonsPage) {
    loadHits({QStringLiteral("R.GGGGK.A"), QStringLiteral("K.SAMPLER.A")});
    CResultsWindow window;
    SelectedResult item;
    item.kind = 1;
    item.viewType = CSelectIonsView::kResultsViewType;
    item.hit = hitOf(QStringLiteral("K.SAMPLER.A"));
    item.display = 1;
    window.DisplayResult(item);
    auto* page = dynamic_cast<CSelectIonsView*>(window.ViewOfType(8));
    ASSERT_TRUE(page);
    EXPECT_EQ(window.ShownType(), 8);
    EXPECT_TRUE(window.Action(9323)->isEnabled());
    EXPECT_EQ(page->SequenceEdit()->text(), QStringLiteral("SAMPLER"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Sequence Ions - SAMPLER"));
    EXPECT_FALSE(page->Grid()->GetValueRowCol(7, 3 + kIonY).isEmpty()) << "filled when shown";
    EXPECT_TRUE(page->IsCommandEnabled(57607));
    window.resize(1000, 650);
    window.show();
    viewstest::Grab(window, QStringLiteral("/tmp/i26-select-ions-window.png"));
}

TEST_F(SelectIonsViewTest, ExportToXmlIsGreyedAndLeavesTheClipboard) {
    type(QStringLiteral("GGGGK"));
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    std::unique_ptr<QMenu> menu = view_->BuildContextMenu();
    std::map<int, bool> items;
    for (QAction* a : menu->findChildren<QAction*>())
        if (a->data().isValid()) items[a->data().toInt()] = a->isEnabled();
    EXPECT_EQ(items.size(), 5u);
    EXPECT_TRUE(items.at(CSelectIonsView::ID_SELECT_ALL));
    EXPECT_TRUE(items.at(CSelectIonsView::ID_EXPORT_EXCEL));
    EXPECT_FALSE(items.at(CSelectIonsView::ID_EXPORT_XML));
    view_->OnCommand(CSelectIonsView::ID_EXPORT_XML);
    view_->OnCommand(CSelectIonsView::ID_EXPORT_XML_OTHER);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(SelectIonsViewTest, ExportToExcelWritesTheTableBesideTheRun) {
    zartest::ShellOpenCapture opened;
    const QString run = dir_.path() + QStringLiteral("/small.mzML");
    ASSERT_TRUE(viewstest::WriteSmallRun(run, 4));
    ASSERT_TRUE(doc_->OnOpenDocument(run));
    type(QStringLiteral("GGGGK"));
    view_->OnCommand(CSelectIonsView::ID_EXPORT_EXCEL);
    ASSERT_EQ(opened.urls().size(), 1u) << boxes_.texts().join(QLatin1Char('|')).toStdString();
    const QString workbook = opened.urls().front().toLocalFile();
    EXPECT_TRUE(workbook.endsWith(QStringLiteral(".xlsx")));
    EXPECT_EQ(QFileInfo(workbook).fileName(), QStringLiteral("smallSelectIons.xlsx"));
    EXPECT_GT(QFileInfo(workbook).size(), 0);
    QFile::remove(workbook);
}

// One right click on the table, one context menu: the grid asks the view for it, and the
// context-menu event that follows the same click opens no second one.
TEST_F(SelectIonsViewTest, ARightClickOnTheTableOpensOneMenu) {
    type(QStringLiteral("GGGGK"));
    QApplication::processEvents();
    EXPECT_EQ(zartest::MenusShownByRightClick(view_->Grid()->viewport()), 1);
}
