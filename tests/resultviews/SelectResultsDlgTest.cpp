#include "ResultViewsTestSupport.h"

#include "SelectResultsDlg.h"
#include "grids/BitmapButtonEdit.h"
#include "grids/SimpleEditGrids.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

using namespace zar;
using rvtest::Program;

namespace {

QStringList Listed(const CMultiConsensusResults& set) {
    QStringList folders;
    for (const ResultsListEntry& e : set.GetResultList()) {
        EXPECT_TRUE(e.rawFilePath.isEmpty());
        folders << e.resultsDirectory;
    }
    return folders;
}

TEST(SelectResultsDlgTest, GridOfTwelveFolderCells) {
    Program p;
    CSelectResultsDlg dialog(p.frame.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Select Results");
    CSelectResultsGrid& grid = *dialog.Grid();
    EXPECT_EQ(grid.GetRowCount(), 12);
    EXPECT_EQ(grid.GetColCount(), 1);
    EXPECT_EQ(grid.GetValueRowCol(0, 1), "TurboSORVEX Results");
    EXPECT_GE(grid.GetColWidth(1), 150);
    EXPECT_EQ(grid.GetStyleRowCol(5, 1).control.value_or(GridControl::Edit),
              GridControl::BrowseEdit);
    EXPECT_EQ(dialog.OkButton()->text(), "&OK");
    EXPECT_EQ(dialog.CloseButton()->text(), "&Close");
    // The column takes the width there is, but never less than 150.
    dialog.resize(700, dialog.height());
    QTest::qWait(20);
    EXPECT_GT(grid.GetColWidth(1), 300);
    // A grid narrower than the column: wide row headers leave it less than 150.
    grid.SetColWidth(0, grid.width() - 100);
    dialog.resize(dialog.width() - 1, dialog.height());
    QTest::qWait(20);
    ASSERT_LT(grid.viewport()->width(), 150);
    EXPECT_EQ(grid.GetColWidth(1), 150);
    grid.SetColWidth(0, 30);
    dialog.resize(420, 380);
    QTest::qWait(20);
    dialog.grab().toImage().save("/tmp/i24-select-results.png");
}

TEST(SelectResultsDlgTest, OkListsTheFoldersOnceInRowOrder) {
    Program p;
    CMultiConsensusResults& set = p.MultiSet();
    {
        CSelectResultsDlg dialog(p.frame.get());
        dialog.show();
        CSelectResultsGrid& grid = *dialog.Grid();
        grid.SetValueRange(1, 1, "/data/run1");
        grid.SetValueRange(3, 1, "/data/run2");
        grid.SetValueRange(4, 1, "/data/run1");  // the same folder again: listed once
        grid.SetValueRange(6, 1, "/data/RUN1");  // another letter case: another folder
        // The browse button fills a cell with the chosen folder.
        dialog.FolderCell()->SetFolderPicker(
            [](QWidget*, const QString&, const QString&) { return QStringLiteral("/data/run3"); });
        dialog.FolderCell()->Browse(12, 1);
        dialog.OkButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Listed(set), (QStringList{"/data/run1", "/data/run2", "/data/RUN1", "/data/run3"}));

    // Opened again, it shows the list; a cleared cell leaves the list on OK.
    {
        CSelectResultsDlg dialog(p.frame.get());
        dialog.show();
        CSelectResultsGrid& grid = *dialog.Grid();
        EXPECT_EQ(grid.GetValueRowCol(1, 1), "/data/run1");
        EXPECT_EQ(grid.GetValueRowCol(4, 1), "/data/run3");
        EXPECT_TRUE(grid.GetValueRowCol(5, 1).isEmpty());
        grid.SetValueRange(2, 1, QString());
        dialog.OkButton()->click();
    }
    EXPECT_EQ(Listed(set), (QStringList{"/data/run1", "/data/RUN1", "/data/run3"}));

    // Close leaves the list as it was.
    {
        CSelectResultsDlg dialog(p.frame.get());
        dialog.show();
        dialog.Grid()->SetValueRange(1, 1, QString());
        dialog.CloseButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(Listed(set), (QStringList{"/data/run1", "/data/RUN1", "/data/run3"}));
}

TEST(SelectResultsDlgTest, WithoutADocumentOkKeepsTheDialogOpen) {
    zartest::ScopedConfigDir config;
    CSelectResultsDlg dialog;
    dialog.show();
    dialog.Grid()->SetValueRange(1, 1, "/data/run1");
    dialog.OkButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST(SelectResultsDlgTest, FileOpenMultipleResultsCombinesTheChosenFolders) {
    Program p;
    ASSERT_FALSE(rvtest::Demo().folder.isEmpty()) << rvtest::Demo().failure.toStdString();
    p.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
    p.frame->UpdateCommandUI();
    // No run is needed: the command and the view are always there.
    EXPECT_TRUE(p.frame->Action(ID_OPEN_MULTIPLE_RESULTS)->isEnabled());
    EXPECT_TRUE(p.frame->Action(ID_VIEW_MULTI_CONSENSUS)->isEnabled());

    // An empty list is refused with a message.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CSelectResultsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->OkButton()->click();
    });
    p.frame->RunCommand(ID_OPEN_MULTIPLE_RESULTS);
    EXPECT_EQ(p.boxes.texts(), QStringList{"No RAW files or results directories specified"});
    EXPECT_FALSE(p.frame->IsLoadingResults());

    const QString demo = rvtest::Demo().folder;
    QTimer::singleShot(0, [demo] {
        auto* dialog = qobject_cast<CSelectResultsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->Grid()->SetValueRange(1, 1, demo + "/results");
        dialog->Grid()->SetValueRange(2, 1, demo + "/results2");
        dialog->OkButton()->click();
    });
    p.frame->RunCommand(ID_OPEN_MULTIPLE_RESULTS);
    ASSERT_TRUE(rvtest::WaitFor([&] { return !p.frame->IsLoadingResults(); }, zartest::kWorkWaitMs));
    EXPECT_EQ(p.frame->CurrentViewType(), 11);
    ASSERT_NE(p.Multi(), nullptr);
    EXPECT_EQ(p.MultiSet().GetHitCount(), 2 * static_cast<int>(rvtest::Demo().run.ms2.size()));
    EXPECT_GT(p.Multi()->RowEntryCount(), 100);
    p.frame->UpdateCommandUI();
    EXPECT_TRUE(p.frame->Action(ID_VIEW_MULTI_CONSENSUS)->isChecked());
    EXPECT_TRUE(p.frame->Action(ID_DISPLAY_OPTIONS)->isEnabled());
    QTest::qWait(50);
    p.frame->grab().toImage().save("/tmp/i24-multi-from-menu.png");

    // Away and back: the view is made again and fills from the loaded set.
    ASSERT_TRUE(p.frame->OnChooseView(0, false));
    p.frame->RunCommand(ID_VIEW_MULTI_CONSENSUS);
    EXPECT_EQ(p.frame->CurrentViewType(), 11);
    ASSERT_NE(p.Multi(), nullptr);
    EXPECT_GT(p.Multi()->RowEntryCount(), 100);
}

}  // namespace
