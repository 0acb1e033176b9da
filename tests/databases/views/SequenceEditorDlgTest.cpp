// The Sequence Editor in its three modes, and its Disulfide Bonds dialog.

#include "databases/views/DisulfideBondsDlg.h"
#include "databases/views/SequenceEditorDlg.h"

#include "MainFrame.h"
#include "ZarDoc.h"
#include "controls/EditTextOnly.h"
#include "core/TextFile.h"
#include "databases/PepmapEngine.h"
#include "document/ZarMessages.h"
#include "grids/SimpleEditGrids.h"

#include "TestSupport.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace zar;

namespace {

// A view that opens the editor, recording what it is told.
struct RecordingView : CSequenceEditorView {
    void TakeDocumentSequence() override {
        taken << (CZarDoc::GetDoc() ? CZarDoc::GetDoc()->GetSequence() : QString());
    }
    void EnableButtons(bool enable) override { enabled.push_back(enable); }
    QStringList taken;
    std::vector<bool> enabled;
};

class SequenceEditorTest : public ::testing::Test {
  protected:
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    CZarDoc doc;
};

// Types at the end of the edit's text.
void Type(CSequenceEditorDlg& dialog, const QString& text) {
    dialog.SequenceEdit()->setFocus();
    dialog.SequenceEdit()->end(false);
    QTest::keyClicks(dialog.SequenceEdit(), text);
}

}  // namespace

TEST_F(SequenceEditorTest, WeightAndLengthFollowTheText) {
    CSequenceEditorDlg dialog(nullptr);
    dialog.EnsureInitialized();
    const struct {
        const char* text;
        const char* length;
        const char* weight;
    } cases[] = {{"", "Length: 0", "Weight: 0.00"},
                 {"A", "Length: 1", "Weight: 90.06"},  // 71.0371136 + 19.0183896
                 {"GG", "Length: 2", "Weight: 133.06"},
                 {"gg", "Length: 2", "Weight: 133.06"}};
    for (const auto& c : cases) {
        dialog.UpdateLengthWeight(c.text);
        EXPECT_EQ(dialog.LengthLabel()->text(), c.length) << c.text;
        EXPECT_EQ(dialog.WeightLabel()->text(), c.weight) << c.text;
    }
    EXPECT_NEAR(CSequenceEditorDlg::ComputeSequenceWeight("A"), 90.055503, 1e-6);
    EXPECT_EQ(CSequenceEditorDlg::ComputeSequenceWeight(""), 0.0);
    // J, U and other characters weigh nothing.
    EXPECT_DOUBLE_EQ(CSequenceEditorDlg::ComputeSequenceWeight("AJU"),
                     CSequenceEditorDlg::ComputeSequenceWeight("A"));
}

TEST_F(SequenceEditorTest, TypingUpdatesTheLabelsAndOkStoresUpperCase) {
    doc.SetSequence("PEPTIDE");
    CSequenceEditorDlg dialog(nullptr);
    dialog.show();
    EXPECT_EQ(dialog.SequenceEdit()->text(), "PEPTIDE");
    EXPECT_FALSE(dialog.DisulfideBondsButton()->isVisible()) << "never from the Tools menu";
    dialog.SequenceEdit()->clear();
    Type(dialog, "gak");
    EXPECT_EQ(dialog.LengthLabel()->text(), "Length: 3");
    EXPECT_EQ(dialog.WeightLabel()->text(),
              QStringLiteral("Weight: %1")
                  .arg(CSequenceEditorDlg::ComputeSequenceWeight("GAK"), 0, 'f', 2));
    // Letters without residues and other characters are refused.
    Type(dialog, "J1u-");
    EXPECT_EQ(dialog.SequenceEdit()->text(), "gak");
    dialog.OnOK();
    EXPECT_EQ(doc.GetSequence(), "GAK");
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(SequenceEditorTest, ResidueButtonAppendsAfterWhatWasTyped) {
    doc.SetSequence("AC");
    CSequenceEditorDlg dialog(nullptr);
    dialog.show();
    Type(dialog, "DE");
    dialog.SequenceEdit()->setCursorPosition(0);  // the caret does not matter
    QTest::mouseClick(dialog.ResidueButton('W'), Qt::LeftButton);
    EXPECT_EQ(dialog.SequenceEdit()->text(), "ACDEW");
    EXPECT_EQ(dialog.LengthLabel()->text(), "Length: 5");
    EXPECT_EQ(dialog.ResidueButton('W')->toolTip(), "Add Trp - Tryptophan to the sequence");
    EXPECT_EQ(dialog.ResidueButton('B'), nullptr);
}

TEST_F(SequenceEditorTest, MainWindowModeStoresTheSequence) {
    // Outside the Pepmap layout nothing else follows (the Pepmap case: PepmapViewTest).
    auto frame = std::make_unique<CMainFrame>(&doc);
    doc.OnNewDocument();
    CSequenceEditorDlg dialog(frame.get());
    dialog.EnsureInitialized();
    EXPECT_EQ(dialog.Mode(), SequenceEditorMode::kMainWindow);
    dialog.UpdateLengthWeight("kr");
    dialog.OnOK();
    EXPECT_EQ(doc.GetSequence(), "KR");
    QCoreApplication::sendPostedEvents();
}

TEST_F(SequenceEditorTest, ViewModesTellTheirView) {
    for (SequenceEditorMode mode : {SequenceEditorMode::kPepmap, SequenceEditorMode::kPepmatch}) {
        RecordingView view;
        doc.SetSequence("OLD");
        CSequenceEditorDlg editor(&view, mode, nullptr);
        editor.Create(nullptr);
        // The view loads its own sequence after the editor is made; it is kept.
        editor.ShowDisulfideButton(mode == SequenceEditorMode::kPepmap);
        editor.UpdateLengthWeight("acd");
        editor.show();
        EXPECT_EQ(editor.SequenceEdit()->text(), "acd");
        EXPECT_EQ(editor.DisulfideBondsButton()->isVisible(), mode == SequenceEditorMode::kPepmap);
        editor.OnOK();
        EXPECT_EQ(doc.GetSequence(), "ACD");
        EXPECT_EQ(view.taken, QStringList({"ACD"}));
        EXPECT_EQ(view.enabled, std::vector<bool>({true}));
        EXPECT_FALSE(editor.isVisible()) << "hidden and kept by the view";
        // Shown again with an empty sequence: OK disables the view's buttons.
        editor.UpdateLengthWeight(QString());
        editor.show();
        editor.OnOK();
        EXPECT_EQ(doc.GetSequence(), "");
        EXPECT_EQ(view.enabled, std::vector<bool>({true, false}));
    }
}

// ---- Disulfide Bonds ----

namespace {

// Cysteines at positions 3 and 10 (1-based), 5 and 12 in the longer one.
const QString kTwoCysteines = "AACDEFGHICK";

QStringList ChoicesOf(CDisulfideBondsDlg& dialog, int row) {
    return dialog.Grid()->GetStyleRowCol(row, 2).choiceList.split('\n', Qt::SkipEmptyParts);
}

}  // namespace

TEST_F(SequenceEditorTest, BondsDialogOffersTheOtherCysteines) {
    CDisulfideBondsDlg dialog(nullptr);
    dialog.Create(nullptr);
    dialog.SetSequence(kTwoCysteines);
    EXPECT_EQ(dialog.RowCount(), 11);
    EXPECT_EQ(dialog.Grid()->GetRowCount(), 11);
    EXPECT_EQ(dialog.Grid()->GetValueRowCol(3, 1), " C ");
    EXPECT_EQ(ChoicesOf(dialog, 3), QStringList({"No bond", "10"}));
    EXPECT_EQ(ChoicesOf(dialog, 10), QStringList({"No bond", "3"}));
    EXPECT_EQ(dialog.Grid()->GetValueRowCol(3, 2), "No bond");
    EXPECT_EQ(dialog.Grid()->GetStyleRowCol(3, 1).interior, QColor(210, 210, 210));
    EXPECT_EQ(dialog.Grid()->GetStyleRowCol(4, 2).interior, QColor(Qt::white));
    // Only cysteine rows may be edited.
    EXPECT_TRUE(dialog.Grid()->GetModel()->flags(dialog.Grid()->GetModel()->index(2, 1)) &
                Qt::ItemIsEditable);
    EXPECT_FALSE(dialog.Grid()->GetModel()->flags(dialog.Grid()->GetModel()->index(3, 1)) &
                 Qt::ItemIsEditable);
}

TEST_F(SequenceEditorTest, BondsMustBeMutual) {
    CDisulfideBondsDlg dialog(nullptr);
    dialog.Create(nullptr);
    dialog.show();
    dialog.SetSequence(kTwoCysteines);
    CPepmapEngine& engine = *doc.GetPepmapEngine();
    // One side only: the count is odd.
    dialog.Grid()->SetValueRange(3, 2, "10");
    dialog.OnOK();
    EXPECT_EQ(boxes.texts(), QStringList({"The disulfide bonds aren't matched"}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(engine.HasBondMarkers());
    // Both sides: markers at the two partners.
    dialog.Grid()->SetValueRange(10, 2, "3");
    dialog.OnOK();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(engine.HasBondMarkers());
    std::vector<int> expected(11, 0);
    expected[2] = expected[9] = 1;
    EXPECT_EQ(engine.BondMarkers(), expected);
}

TEST_F(SequenceEditorTest, PairsThatDoNotNameEachOtherAreRefused) {
    // Four cysteines: 1 -> 2 and 3 -> 4 is an even count, but 2 and 4 name nobody.
    CDisulfideBondsDlg dialog(nullptr);
    dialog.Create(nullptr);
    dialog.show();
    dialog.SetSequence("CCCC");
    dialog.Grid()->SetValueRange(1, 2, "2");
    dialog.Grid()->SetValueRange(3, 2, "4");
    dialog.OnOK();
    EXPECT_EQ(boxes.texts(), QStringList({"The disulfide bonds aren't matched"}));
    EXPECT_FALSE(doc.GetPepmapEngine()->HasBondMarkers());
    dialog.Grid()->SetValueRange(2, 2, "1");
    dialog.Grid()->SetValueRange(4, 2, "3");
    dialog.OnOK();
    EXPECT_EQ(doc.GetPepmapEngine()->BondMarkers(), std::vector<int>({1, 1, 1, 1}));
}

TEST_F(SequenceEditorTest, NoCysteinesHandsOnNoMarkers) {
    CDisulfideBondsDlg dialog(nullptr);
    dialog.Create(nullptr);
    dialog.show();
    dialog.SetSequence("PEPTIDE");
    EXPECT_TRUE(ChoicesOf(dialog, 1).isEmpty());
    dialog.OnOK();
    EXPECT_TRUE(boxes.texts().isEmpty());
    EXPECT_EQ(doc.GetPepmapEngine()->BondMarkers(), std::vector<int>(7, 0));
}

TEST_F(SequenceEditorTest, NoneSetsEveryCysteineBack) {
    CDisulfideBondsDlg dialog(nullptr);
    dialog.Create(nullptr);
    dialog.SetSequence(kTwoCysteines);
    dialog.Grid()->SetValueRange(3, 2, "10");
    dialog.Grid()->SetValueRange(10, 2, "3");
    dialog.OnNone();
    EXPECT_EQ(dialog.Grid()->GetValueRowCol(3, 2), "No bond");
    EXPECT_EQ(dialog.Grid()->GetValueRowCol(10, 2), "No bond");
    EXPECT_EQ(dialog.Grid()->GetValueRowCol(4, 2), "");
}

TEST_F(SequenceEditorTest, ACysteineIsPairedThroughItsDropDown) {
    CDisulfideBondsDlg dialog(nullptr);
    dialog.Create(nullptr);
    dialog.resize(300, 500);
    dialog.show();
    dialog.SetSequence(kTwoCysteines);
    CDisulfideGrid* grid = dialog.Grid();
    const QModelIndex cell = grid->GetModel()->index(2, 1);  // row 3, "Select"
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* combo = grid->findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 2);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->GetValueRowCol(3, 2), "10");
    dialog.grab().save("/tmp/i31-disulfide-bonds.png");
}

TEST_F(SequenceEditorTest, DisulfideButtonOpensTheBondsDialogWithTheTypedSequence) {
    RecordingView view;
    CSequenceEditorDlg editor(&view, SequenceEditorMode::kPepmap, nullptr);
    editor.Create(nullptr);
    editor.ShowDisulfideButton(true);
    editor.UpdateLengthWeight("acdc");
    editor.show();
    editor.OnDisulfideBonds();
    ASSERT_NE(editor.DisulfideBondsDialog(), nullptr);
    EXPECT_TRUE(editor.DisulfideBondsDialog()->isVisible());
    EXPECT_EQ(editor.DisulfideBondsDialog()->SequenceShown(), "ACDC");
    EXPECT_EQ(ChoicesOf(*editor.DisulfideBondsDialog(), 2), QStringList({"No bond", "4"}));
    editor.grab().save("/tmp/i31-sequence-editor.png");
}

TEST_F(SequenceEditorTest, AHundredThousandResiduesRoundTripWhole) {
    QString protein;
    for (int k = 0; k < 100000; ++k) protein += QLatin1Char("ACDEFGHIKLMNPQRSTVWY"[k % 20]);
    auto frame = std::make_unique<CMainFrame>(&doc);
    doc.OnNewDocument();
    QTemporaryDir dir;
    const QString in = dir.filePath("long.pep");
    ASSERT_TRUE(WriteTextFileAtomically(in, protein + "\n"));
    ASSERT_TRUE(frame->OpenSequenceFile(in));
    ASSERT_EQ(doc.GetSequence().size(), 100000);

    // Through the editor: shown, counted and stored whole.
    CSequenceEditorDlg dialog(frame.get());
    dialog.show();
    EXPECT_EQ(dialog.SequenceEdit()->text().size(), 100000);
    EXPECT_EQ(dialog.LengthLabel()->text(), "Length: 100000");
    // A residue typed at the end goes after the last one.
    Type(dialog, "w");
    EXPECT_EQ(dialog.LengthLabel()->text(), "Length: 100001");
    dialog.OnOK();
    EXPECT_EQ(doc.GetSequence(), protein + "W");

    // Saved and opened again: the same sequence.
    const QString out = dir.filePath("saved.pep");
    ASSERT_TRUE(frame->SaveSequenceFile(out));
    doc.SetSequence("X");
    ASSERT_TRUE(frame->OpenSequenceFile(out));
    EXPECT_EQ(doc.GetSequence(), protein + "W");
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join('|').toStdString();
    QCoreApplication::sendPostedEvents();
}
