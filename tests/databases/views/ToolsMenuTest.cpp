// The Tools menu as a new user meets it: each database tool is enabled and opens its window.

#include "databases/views/EnzymeEditorDlg.h"
#include "databases/views/FastaDbIndexerDlg.h"
#include "databases/views/FastaIndexDlg.h"
#include "databases/views/RegisterDatabaseTools.h"
#include "databases/views/UtilityPropertySheet.h"

#include "FrameCommands.h"
#include "MainFrame.h"
#include "ZarDoc.h"
#include "document/Settings.h"

#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace zar;

TEST(ToolsMenu, EachDatabaseToolOpensItsWindow) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    SetDatabaseDirectory(dir.path() + "/");
    RegisterDatabaseTools();
    auto doc = std::make_unique<CZarDoc>();
    auto frame = std::make_unique<CMainFrame>(doc.get());
    frame->show();
    doc->OnNewDocument();
    frame->UpdateCommandUI();

    const struct {
        int id;
        const char* title;
        const char* screenshot;
    } tools[] = {
        {ID_TOOLS_FASTA_INDEX, "Fasta Index", "/tmp/i30-menu-fasta-index.png"},
        {ID_TOOLS_DB_INDEXER, "Fasta Database Indexer", "/tmp/i30-menu-indexer.png"},
        {ID_TOOLS_ENZYME_EDITOR, "Enzyme Editor", "/tmp/i30-menu-enzyme-editor.png"},
        {ID_TOOLS_DB_UTILITIES, "Fasta Database Utilities", "/tmp/i30-menu-utilities.png"},
    };
    for (const auto& t : tools) {
        QAction* action = frame->Action(t.id);
        ASSERT_NE(action, nullptr);
        EXPECT_TRUE(action->isEnabled()) << t.title;
        QString seen;
        QTimer::singleShot(0, [&] {
            QWidget* window = QApplication::activeModalWidget();
            if (!window) return;
            seen = window->windowTitle();
            window->grab().save(QString::fromLatin1(t.screenshot));
            window->close();
        });
        action->trigger();
        EXPECT_EQ(seen, t.title);
    }
    // No database manager is installed beside the program.
    EXPECT_FALSE(frame->Action(ID_TOOLS_DATABASE_MANAGER)->isEnabled());
    frame.reset();
    doc.reset();
}
