// The Info Bar as a new user meets it on the demo data: the run opened, its results read, each
// page looked at. The pictures go to /tmp.

#include "InfoBarTestSupport.h"
#include "ResizableSheet.h"
#include "grids/DisplayGrids.h"

#include "ViewFactory.h"
#include "com/ComRegistry.h"
#include "document/ZarMessages.h"
#include "messages/Messages.h"
#include "registry/RegKey.h"
#include "resultviews/RegisterResultViews.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace zar;
using namespace infobartest;

#ifdef ZAR_PLOT_LIBRARY
TEST(InfoBarTryout, EachPageOnTheDemoData) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    ResetRegistryCache();
    ASSERT_EQ(RegisterServerLibrary(QFileInfo(QStringLiteral(ZAR_PLOT_LIBRARY)).absoluteFilePath(), false), S_OK);
    QString error;
    const QString demo = DemoFolder(&error);
    ASSERT_FALSE(demo.isEmpty()) << error.toStdString();

    RegisterSpectrumViews();
    {
        FrameWithBar f;
        RegisterResultViews(f.frame());
        f.frame().resize(1280, 820);
        ASSERT_TRUE(f.doc().OnOpenDocument(demo + QStringLiteral("/demo.mzML")));
        ASSERT_TRUE(OpenSorvexResults(f.frame(), demo + QStringLiteral("/results")));
        ASSERT_TRUE(WaitFor([&] { return !f.frame().IsLoadingResults(); }));
        QCoreApplication::processEvents();
        EXPECT_EQ(f.doc().GetViewType(), 5);
        EXPECT_FALSE(f.bar().DtaListPage().Grid()->GetValueRowCol(1, 1).isEmpty());
        f.frame().grab().save(QStringLiteral("/tmp/i23-tryout-dta-files.png"));

        f.bar().ShowPage(CInfoBar::kMSnBrowserPage);
        QCoreApplication::processEvents();
        EXPECT_FALSE(f.bar().MSnListPage().Rows().empty());
        // A label wider than the bar can be scrolled into view.
        const CMSnListGrid& msnGrid = *f.bar().MSnListPage().Grid();
        if (msnGrid.GetColWidth(1) > msnGrid.viewport()->width()) {
            EXPECT_TRUE(msnGrid.horizontalScrollBar()->isVisible());
        }
        f.frame().grab().save(QStringLiteral("/tmp/i23-tryout-msn-browser.png"));

        // What the deconvolution posts for the intact protein's charge states.
        PostMessage(&f.frame(), kMsgZarmassClear);
        const double mass = 16951.5;
        for (int z = 12, row = 1; z <= 22; ++z, ++row) {
            PostMessage(&f.frame(), kMsgZarmassInfo, static_cast<WPARAM>((mass + z * 1.00728) / z * 100.0 + 0.5), row);
            PostMessage(&f.frame(), kMsgZarmassResults, static_cast<WPARAM>(z), row);
        }
        f.bar().ShowPage(CInfoBar::kZarmassResultsPage);
        QCoreApplication::processEvents();
        EXPECT_FALSE(f.bar().ZarmassPage().Grid()->GetValueRowCol(11, 1).isEmpty());
        f.frame().grab().save(QStringLiteral("/tmp/i23-tryout-zarmass.png"));
    }
    // The panes stay with this test.
    for (const QString& cls : RegisteredViewClasses()) RegisterViewClass(cls, nullptr);
    ResetRegistryCache();
}
#endif
