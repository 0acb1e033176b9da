// A user whose settings do not know the plotting server yet: the program registers the server
// beside itself at start, and mends a registration that names another library.

#include "ZarApp.h"

#include "TestSupport.h"
#include "com/ComRegistry.h"
#include "plot/typelib/ZarPlotTypes.h"
#include "registry/RegKey.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zar;

namespace {

// The library every class of the server names; empty when one is not registered.
QStringList RegisteredLibraries() {
    QStringList paths;
    for (const ZAR_PLOTLib::CoclassInfo& c : ZAR_PLOTLib::kCoclasses) {
        CLSID clsid;
        if (FAILED(CLSIDFromProgID(QString::fromUtf16(c.progId), &clsid))) return {};
        paths << QFileInfo(InprocServerPath(clsid)).canonicalFilePath();
    }
    return paths;
}

class PlotServerStartup : public ::testing::Test {
  protected:
    void SetUp() override { ResetRegistryCache(); }
    void TearDown() override { ResetRegistryCache(); }
    zartest::ScopedConfigDir config_;
    const QString library_ = QFileInfo(QStringLiteral(ZAR_PLOT_LIBRARY)).canonicalFilePath();
};

}  // namespace

TEST_F(PlotServerStartup, AFreshSettingsFolderGetsTheServerRegisteredAndAWrongOneMended) {
    ASSERT_FALSE(library_.isEmpty());
    EXPECT_TRUE(RegisteredLibraries().isEmpty());
    EXPECT_TRUE(EnsurePlotServerRegistered(library_));
    const QStringList paths = RegisteredLibraries();
    ASSERT_EQ(paths.size(), 5);
    for (const QString& p : paths) EXPECT_EQ(p, library_);

    // A registration that names another library is mended.
    CLSID spec;
    ASSERT_EQ(CLSIDFromProgID(QStringLiteral("Zar_Plot.Spec.1"), &spec), S_OK);
    RegKey(RegRoot::ClassesRoot,
           QStringLiteral("CLSID\\") + GuidToString(spec) + QStringLiteral("\\InprocServer32"), true)
        .writeString(DefaultValueName(), QStringLiteral("/elsewhere/ZAR_Plot.so"));
    EXPECT_TRUE(RegisteredLibraries().contains(QString()));
    EXPECT_TRUE(EnsurePlotServerRegistered(library_));
    for (const QString& p : RegisteredLibraries()) EXPECT_EQ(p, library_);
}

TEST_F(PlotServerStartup, WithoutALibraryNothingIsRegistered) {
    EXPECT_FALSE(EnsurePlotServerRegistered(QStringLiteral("/nonexistent/ZAR_Plot.so")));
    EXPECT_TRUE(RegisteredLibraries().isEmpty());
}

TEST_F(PlotServerStartup, StartingTheProgramRegistersTheServerBesideIt) {
    ASSERT_TRUE(QFileInfo::exists(PlotServerPath()));
    {
        CZarApp app;
        ASSERT_TRUE(app.InitInstance({}));
    }
    const QStringList paths = RegisteredLibraries();
    ASSERT_EQ(paths.size(), 5);
    EXPECT_EQ(paths[0], QFileInfo(PlotServerPath()).canonicalFilePath());
}
