// The Pepmap layout end to end on the demo run: the table of a run, options, cancel, sorting,
// disulfide bonds, a very large digest, the sequence editor, export and printing.

#include "PepmapViewsTestSupport.h"

#include "FrameCommands.h"
#include "controls/EditTextOnly.h"
#include "controls/NumericEditCtrl.h"
#include "databases/PepmapEngine.h"
#include "databases/views/DisulfideBondsDlg.h"
#include "databases/views/PepmapOptionsDlg.h"
#include "databases/views/PepmapStatusDlg.h"
#include "databases/views/SequenceEditorDlg.h"
#include "core/TextFile.h"
#include "document/UpdateHints.h"
#include "document/ZarMessages.h"
#include "grids/PepmapOptionsGrid.h"
#include "grid/GridRichText.h"
#include "grids/SimpleEditGrids.h"
#include "spectrumviews/views/TraceView.h"

#include "rawfile/VRawfile.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>

using namespace zar;
using namespace pepmapviewtest;

namespace {

constexpr const char* kMyoglobin = "sp|P68082|MYG_HORSE";
constexpr double kH = kHydrogenMono;
constexpr double kWater = 2 * kHydrogenMono + kOxygenMono;

QStringList Column(const CPepmapView& view, int col, int rows) {
    QStringList out;
    for (int r = 1; r <= rows; ++r) out << view.Grid()->GetDisplayTextRowCol(r, col);
    return out;
}

// Whether a sequence cell shows a cysteine in blue.
bool HasBlueCysteine(const QString& cell) {
    for (const RichTextRun& run : ParseRichText(cell).runs)
        if (run.color == QColor(Qt::blue) && run.text.trimmed() == QStringLiteral("C")) return true;
    return false;
}

double MonoResidues(const QString& residues) {
    ResidueMassTable t = ZeroResidueMasses();
    InitAminoAcidMasses(t, true);
    double sum = 0.0;
    for (QChar c : residues) sum += t[c.unicode()];
    return sum;
}

class PepmapViewTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(DemoRunPath().isEmpty()); }
    // The layout with a sequence, the options dialog open.
    CPepmapOptionsDlg* OpenOptions(CPepmapView& view) {
        QTest::mouseClick(view.OptionsButton(), Qt::LeftButton);
        return CPepmapOptionsDlg::Current();
    }
    template <class W>
    W* Item(CPepmapOptionsDlg& d, int id) {
        return qobject_cast<W*>(d.GetDlgItem(id));
    }
    zartest::MessageBoxCapture boxes;
    zartest::ShellOpenCapture shell;
};

}  // namespace

TEST_F(PepmapViewTest, ADemoProteinIsFoundAtTheTimesOfTheRun) {
    PepmapWindow w;
    w.doc().SetSequence(DemoProteinSequence(kMyoglobin));
    w.frame().UpdateCommandUI();
    EXPECT_TRUE(w.frame().Action(ID_VIEW_PEPMAP)->isEnabled());
    CPepmapView* view = w.ShowPepmapLayout();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(w.frame().CurrentViewType(), 9);
    EXPECT_TRUE(view->UpdateButton()->isEnabled());
    EXPECT_TRUE(view->OptionsButton()->isEnabled());
    // No run yet: 50 empty rows under the titles.
    EXPECT_EQ(view->Grid()->GetRowCount(), CPepmapView::kMinRows);
    EXPECT_TRUE(view->Grid()->GetValueRowCol(1, 1).isEmpty());
    EXPECT_EQ(view->Grid()->GetValueRowCol(0, 4), "M+nH (avg)");
    w.frame().grab().save("/tmp/i31-pepmap-empty.png");

    // Monoisotopic masses through the options; the run's typical scan current sets the
    // threshold.
    CPepmapOptionsDlg* options = OpenOptions(*view);
    ASSERT_NE(options, nullptr);
    EXPECT_FALSE(view->OptionsButton()->isEnabled());
    EXPECT_FALSE(view->SequenceButton()->isEnabled());
    Item<QCheckBox>(*options, CPepmapOptionsDlg::kMonoisotopicId)->setChecked(true);
    options->grab().save("/tmp/i31-pepmap-options.png");
    options->OnOK();
    EXPECT_TRUE(view->OptionsButton()->isEnabled());
    EXPECT_GT(w.engine().Options().tic, 0.0);
    const int lastScan = static_cast<int>(DemoRunData().scans.size());
    EXPECT_EQ(w.engine().Options().firstScan, 1);
    EXPECT_EQ(w.engine().Options().lastScan, lastScan);

    ASSERT_TRUE(w.RunPepmap(*view));
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(" | ").toStdString();
    const PepmapPeptideList& rows = w.engine().Peptides();
    ASSERT_GT(rows.size(), 20u);
    EXPECT_EQ(view->Grid()->GetRowCount(), std::max<int>(rows.size(), CPepmapView::kMinRows));
    EXPECT_EQ(view->Grid()->GetValueRowCol(0, 4), "M+nH (mono)");
    EXPECT_EQ(view->Grid()->GetValueRowCol(0, 5), "Time");

    // Every light peptide the generator put into the run, against its row.
    const int protein = DemoTargetIndex(QString::fromLatin1(kMyoglobin));
    int expected = 0, found = 0;
    for (const DemoPeptide& d : DemoRunData().peptides) {
        if (d.protein != protein || d.labelCount != 0) continue;
        ++expected;
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const CPepmapPeptide& p = rows[k];
            // The enzyme cuts before a proline too, which the generator's did not.
            if (p.digestKind != kPepmapCompletePeptide || p.start != d.start ||
                p.end - p.start + 1 != d.sequence.size())
                continue;
            EXPECT_NEAR(rows.monoMass(p), d.mass, 1e-3) << d.sequence.toStdString();
            if (!p.isMatched() || std::abs(p.matchedTime - d.retentionTime) >= 0.2) continue;
            ++found;
            const int row = static_cast<int>(k) + 1;
            EXPECT_EQ(view->Grid()->GetDisplayTextRowCol(row, 5),
                      QString::number(p.matchedTime, 'f', 2));
            EXPECT_TRUE(view->Grid()->GetStyleRowCol(row, 1).bold.value_or(false));
            EXPECT_EQ(view->Grid()->GetDisplayTextRowCol(row, 6), d.sequence);
        }
    }
    ASSERT_GE(expected, 10);
    EXPECT_GE(found * 4, expected * 3) << found << " of " << expected;
    // An unmatched row: no time, no bold.
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (rows[k].isMatched()) continue;
        EXPECT_TRUE(view->Grid()->GetValueRowCol(static_cast<int>(k) + 1, 5).isEmpty());
        EXPECT_FALSE(view->Grid()->GetStyleRowCol(static_cast<int>(k) + 1, 1).bold.value_or(false));
        break;
    }
    // The trace pane labels the matched peptides (look at the picture).
    w.frame().grab().save("/tmp/i31-pepmap-layout.png");
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST_F(PepmapViewTest, OptionsChangeTheDigestAsWorkedOutByHand) {
    PepmapWindow w;
    // Trypsin pieces AAK | CCR | GGK | DD.
    w.doc().SetSequence("AAKCCRGGKDD");
    CPepmapView* view = w.ShowPepmapLayout();
    ASSERT_NE(view, nullptr);
    CPepmapOptionsDlg* options = OpenOptions(*view);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->EnzymeList()->itemText(0), "Trypsin");
    Item<QCheckBox>(*options, CPepmapOptionsDlg::kIncompleteDigestId)->setChecked(true);
    Item<QCheckBox>(*options, CPepmapOptionsDlg::kLimitFragmentsId)->click();
    EXPECT_TRUE(options->LimitsGrid()->isEnabled());
    // Length 3 to 6 (both ends kept), every mass.
    options->LimitsGrid()->StoreEditedText(1, 1, "3");
    options->LimitsGrid()->StoreEditedText(1, 2, "6");
    options->LimitsGrid()->StoreEditedText(2, 1, "0");
    options->LimitsGrid()->StoreEditedText(2, 2, "0");
    Item<QCheckBox>(*options, CPepmapOptionsDlg::kMonoisotopicId)->setChecked(true);
    Item<QCheckBox>(*options, CPepmapOptionsDlg::kShowNeighboursId)->setChecked(true);
    options->SortByList()->setCurrentText("Mass");
    options->DisplayOrderList()->setCurrentText("Descending");
    options->OnApply();
    const PepmapOptions& o = w.engine().Options();
    EXPECT_EQ(o.lengthMin, 3.0);
    EXPECT_EQ(o.lengthMax, 6.0);
    EXPECT_EQ(o.massMax, kPepmapWideMass) << "both at 0: no mass limit";
    EXPECT_EQ(o.sortMode, kPepmapSortMass);
    EXPECT_EQ(o.descending, 1);
    options->OnOK();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(CPepmapOptionsDlg::Current(), nullptr);

    ASSERT_TRUE(w.RunPepmap(*view));
    // By hand: the pieces of 3 residues, and the spans of 2 pieces within 6 residues.
    struct Row {
        const char* label;
        const char* residues;
    } hand[] = {{"1", "AAK"},      {"2", "CCR"},      {"3", "GGK"},
                {"1-2", "AAKCCR"}, {"2-3", "CCRGGK"}, {"3-4", "GGKDD"}};
    std::vector<std::pair<double, QString>> expected;
    for (const Row& r : hand)
        expected.emplace_back(MonoResidues(r.residues) + kWater + kH, r.label);
    std::sort(expected.begin(), expected.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    ASSERT_EQ(w.engine().PeptideCount(), 6);
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(view->Grid()->GetValueRowCol(k + 1, 1), expected[k].second);
        EXPECT_NEAR(view->Grid()->GetValueRowCol(k + 1, 4).toDouble(), expected[k].first, 1e-6);
    }
    // Neighbours in brackets, "-" at the protein's ends.
    const QStringList texts = Column(*view, 6, 6);
    EXPECT_TRUE(texts.contains("[-]AAK[C]"));
    EXPECT_TRUE(texts.contains("[R]GGKDD[-]"));
    w.frame().grab().save("/tmp/i31-pepmap-options-applied.png");

    // Opened again: the engine's options; choices not applied are lost.
    options = OpenOptions(*view);
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(Item<QCheckBox>(*options, CPepmapOptionsDlg::kIncompleteDigestId)->isChecked());
    EXPECT_EQ(options->LimitsGrid()->GetValueRowCol(1, 2), "6");
    Item<QCheckBox>(*options, CPepmapOptionsDlg::kIncompleteDigestId)->setChecked(false);
    options->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    options = OpenOptions(*view);
    EXPECT_TRUE(Item<QCheckBox>(*options, CPepmapOptionsDlg::kIncompleteDigestId)->isChecked());
    // With limit fragments clear the engine gets the wide limits, whatever the grid shows.
    Item<QCheckBox>(*options, CPepmapOptionsDlg::kLimitFragmentsId)->click();
    EXPECT_FALSE(options->LimitsGrid()->isEnabled());
    options->OnOK();
    EXPECT_EQ(w.engine().Options().lengthMin, 0.0);
    EXPECT_EQ(w.engine().Options().lengthMax, kPepmapWideLength);
    EXPECT_EQ(w.engine().Options().massMax, kPepmapWideMass);
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join(" | ").toStdString();
}

TEST_F(PepmapViewTest, TrackFollowsTheTraceRange) {
    PepmapWindow w;
    w.doc().SetSequence("PEPTIDEK");
    CPepmapView* view = w.ShowPepmapLayout();
    ASSERT_NE(view, nullptr);
    CPepmapOptionsDlg* options = OpenOptions(*view);
    ASSERT_NE(options, nullptr);
    auto* trace = w.frame().findChild<CTraceView*>();
    ASSERT_NE(trace, nullptr);
    const double t1 = w.doc().ScanToRetentionTime(200), t2 = w.doc().ScanToRetentionTime(400);
    trace->BroadcastRange(t1, t2);
    // Peptides are matched in full scans: the limits are the first and the last full scan of
    // the range (the demo run alternates full and MS/MS scans).
    const auto isFullScan = [&w](int scan) {
        RawScanHeader h;
        return w.doc().GetRawFile()->scanHeader(scan, h) && h.msLevel == 1;
    };
    int first = 200;
    while (!isFullScan(first)) ++first;
    int last = 400;
    while (!isFullScan(last)) --last;
    const QString limits = QStringLiteral("%1-%2").arg(first).arg(last);
    EXPECT_EQ(options->ScanLimits()->text(), limits);
    Item<QCheckBox>(*options, CPepmapOptionsDlg::kTrackId)->setChecked(false);
    trace->BroadcastRange(w.doc().ScanToRetentionTime(10), w.doc().ScanToRetentionTime(20));
    EXPECT_EQ(options->ScanLimits()->text(), limits);
    options->OnOK();
    EXPECT_EQ(w.engine().Options().firstScan, first);
    EXPECT_EQ(w.engine().Options().lastScan, last);
}

TEST_F(PepmapViewTest, CancelLeavesThePreviousTable) {
    PepmapWindow w;
    w.doc().SetSequence(DemoProteinSequence(kMyoglobin));
    CPepmapView* view = w.ShowPepmapLayout();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(w.RunPepmap(*view));
    const int before = w.engine().PeptideCount();
    const QStringList labels = Column(*view, 1, before);
    const QStringList times = Column(*view, 5, before);

    w.doc().SetSequence(DemoProteinSequence("sp|P02769|ALBU_BOVIN"));
    QTest::mouseClick(view->UpdateButton(), Qt::LeftButton);
    CPepmapStatusDlg* status = view->StatusDialog();
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->windowTitle(), "Pepmap Status");
    status->grab().save("/tmp/i31-pepmap-status.png");
    QTest::mouseClick(status->CancelButton(), Qt::LeftButton);
    EXPECT_TRUE(status->IsCancelled());
    EXPECT_FALSE(status->isVisible());
    ASSERT_TRUE(WaitFor([&] { return status->IsRunFinished(); }));
    for (int k = 0; k < 5; ++k) QCoreApplication::processEvents();
    EXPECT_EQ(w.engine().PeptideCount(), before);
    EXPECT_EQ(Column(*view, 1, before), labels);
    EXPECT_EQ(Column(*view, 5, before), times);
}

TEST_F(PepmapViewTest, TitleClickSortsTheTable) {
    PepmapWindow w;
    w.doc().SetSequence("AAKCCRGGKDD");
    CPepmapView* view = w.ShowPepmapLayout();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(w.RunPepmap(*view));
    EXPECT_EQ(Column(*view, 1, 4), QStringList({"1", "2", "3", "4"}));
    // "M+nH": by mass. DD 248.19 < GGK 260.29 < AAK 288.35 < CCR 380.48 (average).
    emit view->Grid()->horizontalHeader()->sectionClicked(3);
    ASSERT_TRUE(WaitFor([&] { return view->Grid()->GetValueRowCol(1, 1) == "4"; }, zartest::kWorkWaitMs));
    EXPECT_EQ(Column(*view, 1, 4), QStringList({"4", "3", "1", "2"}));
    // "Fragment": by position again.
    emit view->Grid()->horizontalHeader()->sectionClicked(0);
    ASSERT_TRUE(WaitFor([&] { return view->Grid()->GetValueRowCol(1, 1) == "1"; }, zartest::kWorkWaitMs));
}

TEST_F(PepmapViewTest, DisulfideBondsChangeTheMasses) {
    PepmapWindow w;
    // ACK | DCR | ECK: cysteines at 2, 5 and 8.
    w.doc().SetSequence("ACKDCRECK");
    CPepmapView* view = w.ShowPepmapLayout();
    ASSERT_NE(view, nullptr);
    // Bond the cysteines of pieces 1 and 3 through the editor's Disulfide Bonds dialog.
    QTest::mouseClick(view->SequenceButton(), Qt::LeftButton);
    CSequenceEditorDlg* editor = view->SequenceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->DisulfideBondsButton()->isVisible());
    QTest::mouseClick(editor->DisulfideBondsButton(), Qt::LeftButton);
    CDisulfideBondsDlg* bonds = editor->DisulfideBondsDialog();
    ASSERT_NE(bonds, nullptr);
    bonds->Grid()->SetValueRange(2, 2, "8");
    bonds->Grid()->SetValueRange(8, 2, "2");
    bonds->OnOK();
    ASSERT_TRUE(w.engine().HasBondMarkers());

    CPepmapOptionsDlg* options = OpenOptions(*view);
    ASSERT_NE(options, nullptr);
    auto* specific = Item<QRadioButton>(
        *options, CPepmapOptionsDlg::kNoDisulfidesId + kPepmapSpecificDisulfides);
    ASSERT_TRUE(specific->isEnabled());
    specific->setChecked(true);
    Item<QCheckBox>(*options, CPepmapOptionsDlg::kMonoisotopicId)->setChecked(true);
    options->OnOK();
    ASSERT_TRUE(w.RunPepmap(*view));
    // In the order of positions: a bonded pair follows its first peptide.
    ASSERT_EQ(Column(*view, 1, 5), QStringList({"1", "1.3", "2", "3", ""}));
    const double ack = MonoResidues("ACK") + kWater, eck = MonoResidues("ECK") + kWater;
    // The bonded pair weighs both peptides less the two hydrogens of the bond.
    EXPECT_NEAR(view->Grid()->GetValueRowCol(2, 4).toDouble(), ack + eck - 2 * kH + kH, 1e-6);
    EXPECT_NEAR(view->Grid()->GetValueRowCol(1, 4).toDouble(), ack + kH, 1e-6);
    EXPECT_EQ(view->Grid()->GetDisplayTextRowCol(2, 6), "ACK + ECK");
    EXPECT_TRUE(HasBlueCysteine(view->Grid()->GetValueRowCol(2, 6)));
    EXPECT_TRUE(HasBlueCysteine(view->Grid()->GetValueRowCol(3, 6))) << "cysteines in blue";

    // All disulfides: every pair of cysteine peptides.
    options = OpenOptions(*view);
    Item<QRadioButton>(*options, CPepmapOptionsDlg::kNoDisulfidesId + kPepmapAllDisulfides)
        ->setChecked(true);
    options->OnOK();
    ASSERT_TRUE(w.RunPepmap(*view));
    EXPECT_EQ(Column(*view, 1, 7), QStringList({"1", "1.2", "1.3", "2", "2.3", "3", ""}));
    w.frame().grab().save("/tmp/i31-pepmap-disulfides.png");
    // No disulfides: no links, no blue.
    options = OpenOptions(*view);
    Item<QRadioButton>(*options, CPepmapOptionsDlg::kNoDisulfidesId)->setChecked(true);
    options->OnOK();
    ASSERT_TRUE(w.RunPepmap(*view));
    EXPECT_EQ(Column(*view, 1, 4), QStringList({"1", "2", "3", ""}));
    EXPECT_FALSE(HasBlueCysteine(view->Grid()->GetValueRowCol(2, 6)));
}

TEST_F(PepmapViewTest, AVeryLargeDigestIsPutToTheUserFirst) {
    PepmapWindow w;
    QString titinLike;
    for (int k = 0; k < 4000; ++k) titinLike += QStringLiteral("GGGK");
    w.doc().SetSequence(titinLike);
    CPepmapView* view = w.ShowPepmapLayout();
    ASSERT_NE(view, nullptr);
    PepmapOptions o = w.engine().Options();
    o.incompleteDigest = 1;
    w.engine().SetOptions(o);
    // Cancel: nothing runs, nothing changes.
    boxes.answerNext(IDCANCEL);
    QTest::mouseClick(view->UpdateButton(), Qt::LeftButton);
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith("This digest makes about 8002000 peptides"));
    EXPECT_TRUE(boxes.texts()[0].contains("at most 2 undigested sites (about 11997 peptides"));
    EXPECT_EQ(boxes.shown()[0].style & MB_TYPEMASK, unsigned(MB_YESNOCANCEL));
    EXPECT_EQ(view->StatusDialog(), nullptr);
    EXPECT_EQ(w.engine().Options().limitFragments, 0);
    // Yes: the bound goes into the options and the run starts with it.
    boxes.answerNext(IDYES);
    ASSERT_TRUE(w.RunPepmap(*view));
    EXPECT_EQ(w.engine().Options().limitFragments, 1);
    EXPECT_EQ(w.engine().Options().undigestedSitesMax, 2.0);
    EXPECT_EQ(w.engine().PeptideCount(), 11997);
}

TEST_F(PepmapViewTest, SequenceEditorOfTheView) {
    PepmapWindow w;
    CPepmapView* view = w.ShowPepmapLayout();
    ASSERT_NE(view, nullptr);
    // No sequence: Options and Update wait for one.
    EXPECT_FALSE(view->OptionsButton()->isEnabled());
    EXPECT_FALSE(view->UpdateButton()->isEnabled());
    QTest::mouseClick(view->SequenceButton(), Qt::LeftButton);
    CSequenceEditorDlg* editor = view->SequenceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Mode(), SequenceEditorMode::kPepmap);
    editor->SequenceEdit()->setText("lvnelteFAK");
    editor->grab().save("/tmp/i31-pepmap-sequence-editor.png");
    editor->OnOK();
    EXPECT_EQ(w.doc().GetSequence(), "LVNELTEFAK");
    EXPECT_EQ(view->Sequence(), "LVNELTEFAK");
    EXPECT_TRUE(view->OptionsButton()->isEnabled());
    EXPECT_TRUE(view->UpdateButton()->isEnabled());
    // The same editor comes back with the view's sequence.
    QTest::mouseClick(view->SequenceButton(), Qt::LeftButton);
    EXPECT_EQ(view->SequenceEditor(), editor);
    EXPECT_EQ(editor->SequenceEdit()->text(), "LVNELTEFAK");
    editor->reject();

    // Tools > Sequence Editor while the Pepmap layout is shown: the view follows.
    QTimer::singleShot(0, [] {
        if (auto* d = qobject_cast<CSequenceEditorDlg*>(QApplication::activeModalWidget())) {
            EXPECT_FALSE(d->DisulfideBondsButton()->isVisible());
            d->SequenceEdit()->setText("PEPTIDEK");
            d->OnOK();
        }
    });
    w.frame().RunCommand(ID_TOOLS_SEQUENCE_EDITOR);
    ASSERT_TRUE(WaitFor([&] { return view->Sequence() == "PEPTIDEK"; }, zartest::kWorkWaitMs));
    // A .pep file saved and opened again gives the same sequence.
    QTemporaryDir dir;
    const QString pep = dir.filePath("peptide.pep");
    ASSERT_TRUE(w.frame().SaveSequenceFile(pep));
    w.doc().SetSequence("X");
    ASSERT_TRUE(w.frame().OpenSequenceFile(pep));
    ASSERT_TRUE(WaitFor([&] { return view->Sequence() == "PEPTIDEK"; }, zartest::kWorkWaitMs));
}

TEST_F(PepmapViewTest, ALineEndOfTheSequenceFileIsNoResidue) {
    PepmapWindow w;
    const QString albumin = DemoProteinSequence("sp|P02769|ALBU_BOVIN");
    ASSERT_TRUE(albumin.endsWith("LVVSTQTALA"));
    CPepmapView* view = w.ShowPepmapLayout();
    ASSERT_NE(view, nullptr);
    // As a text editor saves it: wrapped, with line ends.
    QString wrapped;
    for (qsizetype at = 0; at < albumin.size(); at += 60) wrapped += albumin.mid(at, 60) + "\r\n";
    QTemporaryDir dir;
    const QString pep = dir.filePath("albumin.pep");
    ASSERT_TRUE(WriteTextFileAtomically(pep, wrapped));
    ASSERT_TRUE(w.frame().OpenSequenceFile(pep));
    ASSERT_TRUE(WaitFor([&] { return view->Sequence() == albumin; }, zartest::kWorkWaitMs))
        << view->Sequence().size();
    // Pieces of 7 to 10 residues: the last one is the protein's end, whole.
    PepmapOptions o = w.engine().Options();
    o.limitFragments = 1;
    o.lengthMin = 7.0;
    o.lengthMax = 10.0;
    o.massMin = 0.0;
    o.massMax = kPepmapWideMass;
    w.engine().SetOptions(o);
    ASSERT_TRUE(w.RunPepmap(*view));
    const int rows = w.engine().PeptideCount();
    ASSERT_GT(rows, 5);
    const QString end = QString::number(albumin.size());
    bool last = false;
    for (int r = 1; r <= rows; ++r) {
        EXPECT_LE(view->Grid()->GetValueRowCol(r, 3).toInt(), albumin.size()) << r;
        if (view->Grid()->GetDisplayTextRowCol(r, 6) == "LVVSTQTALA") {
            last = true;
            EXPECT_EQ(view->Grid()->GetValueRowCol(r, 3), end);
        }
    }
    EXPECT_TRUE(last) << "the protein's last piece is listed";
}

TEST_F(PepmapViewTest, ExportPrintingAndTheContextMenu) {
    PepmapWindow w;
    w.doc().SetSequence("AAKCCRGGKDD");
    CPepmapView* view = w.ShowPepmapLayout();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(w.RunPepmap(*view));
    QString workbook;
    EXPECT_EQ(view->OnExportExcel(&workbook), 0);
    EXPECT_TRUE(QFileInfo::exists(workbook)) << workbook.toStdString();
    EXPECT_TRUE(QFileInfo(workbook).fileName().contains("Pepmap"));
    // The fragment labels ("1.3", peptide 1 bonded to 3) are names: a column of text.
    EXPECT_EQ(view->Grid()->GetStyleRowCol(1, 1).valueType, GridValueType::Text);
    QFile::remove(workbook);

    // The menu: Excel, and the XML item greyed; the clipboard is left alone.
    QApplication::clipboard()->setText("kept");
    QStringList items;
    bool xmlEnabled = true;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions()) {
                items << a->text();
                if (a->text() == "Export to XML") xmlEnabled = a->isEnabled();
            }
            menu->close();
        }
    });
    PostMessage(view, WM_CONTEXTMENU, 0, 0);
    QCoreApplication::sendPostedEvents(view);
    EXPECT_EQ(items, QStringList({"Export to Excel", "Export to XML"}));
    EXPECT_FALSE(xmlEnabled);
    EXPECT_EQ(QApplication::clipboard()->text(), "kept");

    EXPECT_TRUE(view->HasViewCommand(ID_FILE_PRINT));
    EXPECT_TRUE(view->HasViewCommand(ID_FILE_PAGE_HEADER_FOOTER));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("pepmap.pdf"));
    EXPECT_TRUE(view->PrintTo(printer));
    EXPECT_GT(QFileInfo(dir.filePath("pepmap.pdf")).size(), 1000);
}
