// The control windows create their controls by ProgID, fail like the framework when a control
// is not registered, and raise CComError for every failing call.

#include "app/plotwrappers/PlotWrappers.h"
#include "app/plotwrappers/SpecToolBar.h"

#include "ViewsTestSupport.h"

#include <QAction>
#include <QTest>

using namespace zar;
using namespace ZAR_PLOTLib;

TEST(PlotWrappersTest, CreateFailsWithoutRegistration) {
    zartest::ScopedConfigDir config;
    ResetRegistryCache();
    QWidget host;
    CSpec spec;
    EXPECT_FALSE(spec.Create(&host, QRect(0, 0, 50, 50), 0));
    EXPECT_EQ(spec.CreateResult(), CO_E_CLASSSTRING);
    EXPECT_FALSE(spec.Interface());
    // Calls without a control raise, carrying E_POINTER.
    try {
        spec.Call(&ISpec::Initialize);
        FAIL() << "no exception";
    } catch (const CComError& e) {
        EXPECT_EQ(e.Error(), E_POINTER);
    }
    CChro chro;
    EXPECT_FALSE(chro.Create(&host, QRect(0, 0, 50, 50), 8546));
    EXPECT_THROW(chro.SetShowFocusRect(true), CComError);
    ResetRegistryCache();
}

TEST(PlotWrappersTest, TheFirstControlThatCannotBeMadeTellsTheUserWhyOnce) {
    zartest::ScopedConfigDir config;
    ResetRegistryCache();
    CPlotControlWnd::ResetCreateFailureNotice();
    zartest::MessageBoxCapture boxes;
    QWidget host;
    CChro first, second;
    CSpec third;
    EXPECT_FALSE(first.Create(&host, QRect(0, 0, 50, 50), 0));
    EXPECT_FALSE(second.Create(&host, QRect(0, 0, 50, 50), 0));
    EXPECT_FALSE(third.Create(&host, QRect(0, 0, 50, 50), 0));
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].contains(QStringLiteral("\"Zar_Plot.Chro.1\"")));
    EXPECT_TRUE(boxes.texts()[0].contains(QStringLiteral("not registered")));
    // A library that cannot be loaded is named.
    EXPECT_TRUE(CPlotControlWnd::CreateFailureText(QStringLiteral("Zar_Plot.Spec.1"), CO_E_DLLNOTFOUND)
                    .contains(QStringLiteral("could not be created")));
    CPlotControlWnd::ResetCreateFailureNotice();
    ResetRegistryCache();
}

class RegisteredWrappersTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { server_ = std::make_unique<viewstest::RegisteredPlotServer>(); }
    static void TearDownTestSuite() { server_.reset(); }
    static inline std::unique_ptr<viewstest::RegisteredPlotServer> server_;
};

TEST_F(RegisteredWrappersTest, ControlsAreCreatedAndFailingCallsRaise) {
    ASSERT_TRUE(server_->ok());
    QWidget host;
    host.resize(300, 200);
    CSpec spec;
    ASSERT_TRUE(spec.Create(&host, QRect(10, 10, 200, 100), 0));
    ASSERT_TRUE(spec.Interface());
    ASSERT_TRUE(spec.ControlWindow());
    EXPECT_EQ(spec.ControlWindow()->parentWidget(), &spec);
    EXPECT_EQ(spec.ControlWindow()->size(), QSize(200, 100));
    // Members that need the graph fail before Initialize: the wrapper raises E_FAIL.
    VXPlot_SpecStyle style{};
    try {
        spec.Call(&ISpec::SetStyle, &style);
        FAIL() << "no exception";
    } catch (const CComError& e) {
        EXPECT_EQ(e.Error(), E_FAIL);
    }
    EXPECT_NO_THROW(spec.Call(&ISpec::Initialize));
    EXPECT_THROW(spec.Call(&ISpec::get_DataValid, static_cast<std::int32_t*>(nullptr)), CComError);

    CChro chro;
    ASSERT_TRUE(chro.Create(&host, QRect(0, 0, 100, 50), 8546));
    ASSERT_NO_THROW(chro.Call(&IChro::Initialize));
    chro.SetShowFocusRect(true);
    std::int32_t shown = 0;
    chro.Call(&IChro::get_ShowFocusRect, &shown);
    EXPECT_EQ(shown, 1);

    CDenovoPlot denovo;
    EXPECT_TRUE(denovo.Create(&host, QRect(0, 0, 50, 50), 0));
    denovo.Destroy();
    EXPECT_FALSE(denovo.Interface());
}

TEST_F(RegisteredWrappersTest, EventsReachTheirHandlers) {
    ASSERT_TRUE(server_->ok());
    QWidget host;
    CSpec spec;
    ASSERT_TRUE(spec.Create(&host, QRect(0, 0, 100, 100), 0));
    int right = 0;
    spec.OnEvent(SpecEvents::kSpecRightKeyPressed, [&](const DispArgs&) { ++right; });
    QTest::keyClick(spec.ControlWindow(), Qt::Key_Right);
    EXPECT_EQ(right, 1);
}

TEST(SpecToolBarTest, HiddenBarDoesNoUpdateWork) {
    QWidget parent;
    CSpecToolBar* bar = new CSpecToolBar(&parent);
    int asked = 0;
    auto enabled = [&](int id) {
        ++asked;
        return id == CSpecToolBar::kNextScan;
    };
    EXPECT_FALSE(bar->OnIdleUpdateCmdUI(enabled));
    EXPECT_EQ(asked, 0);
    parent.show();
    EXPECT_TRUE(bar->OnIdleUpdateCmdUI(enabled));
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(bar->Button(CSpecToolBar::kPreviousScan)->isEnabled());
    EXPECT_TRUE(bar->Button(CSpecToolBar::kNextScan)->isEnabled());
}
