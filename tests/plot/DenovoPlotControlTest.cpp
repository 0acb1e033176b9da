// The DenovoPlot control created by ProgID: a dot map of 20 scans, the one-scan text, the
// guards against a display range of 0 and more than 64 scans, and the dot sizes.

#include "ControlTestSupport.h"

#include "plot/graph/DenovoGraph.h"

using namespace plottest;

namespace {

// Rows of `scans` parent masses over 0 .. 1000 with evidence at b/y-like ladders.
struct DenovoData {
    std::array<std::vector<std::int32_t>, 64> rows;
    std::array<std::int32_t*, 64> rowPointers{};
    std::array<std::int32_t, 64> parents{};
    std::array<std::int16_t, 64> signs{};
};

std::unique_ptr<DenovoData> MakeDenovo(int scans) {
    auto d = std::make_unique<DenovoData>();
    std::uint32_t seed = 3;
    d->parents[0] = 1000;  // the last mass of every row
    for (int r = 0; r < scans; ++r) {
        if (r > 0) d->parents[r] = 150 + r * 40;
        d->signs[r] = static_cast<std::int16_t>(r % 3 == 0 ? 1 : (r % 3 == 1 ? -1 : 0));
        d->rows[r].assign(1001, 0);
        for (int x = 60; x < 1000; x += 57 + r) d->rows[r][x] = 50 + Seeded(seed) % 3000;
        d->rowPointers[r] = d->rows[r].data();
    }
    return d;
}

class DenovoPlotControlTest : public ControlTest {
  protected:
    void SetUp() override {
        plot = Create<IDenovoPlot>(u"Zar_Plot.DenovoPlot.1");
        ASSERT_TRUE(plot);
    }
    void Load(int scans, int displayRange) {
        data = MakeDenovo(scans);
        ASSERT_EQ(plot->SetXMassRange(0, 1000), S_OK);
        ASSERT_EQ(plot->SetNumScans(scans), S_OK);
        ASSERT_EQ(plot->SetYParentMasses(data->parents.data()), S_OK);
        ASSERT_EQ(plot->SetZIntensities(data->rowPointers.data(), data->parents.data()), S_OK);
        ASSERT_EQ(plot->SetSign(data->signs.data()), S_OK);
        ASSERT_EQ(plot->SetZMaxIntensity(3000), S_OK);
        ASSERT_EQ(plot->SetZDisplayRangeIntensity(displayRange), S_OK);
        ASSERT_EQ(plot->SetNumber1DregenPoints(12), S_OK);
        ASSERT_EQ(plot->put_DataValid(1), S_OK);
    }
    ComPtr<IDenovoPlot> plot;
    std::unique_ptr<DenovoData> data;
};

}  // namespace

TEST_F(DenovoPlotControlTest, SettersBeforeInitializeSucceedAndDataValidFails) {
    EXPECT_EQ(plot->SetNumScans(3), S_OK);
    std::int32_t valid = 0;
    EXPECT_EQ(plot->get_DataValid(&valid), E_FAIL);
    EXPECT_EQ(plot->put_DataValid(1), E_FAIL);
    ASSERT_EQ(plot->Initialize(), S_OK);
    EXPECT_EQ(plot->get_DataValid(nullptr), E_POINTER);
}

TEST_F(DenovoPlotControlTest, DrawsADotMap) {
    ASSERT_EQ(plot->Initialize(), S_OK);
    Load(20, 30);
    QWidget* window = Show(plot.get(), 600, 600);
    const QImage image = window->grab().toImage();
    SavePicture(image, QStringLiteral("denovo"));
    int red = 0, lightBlue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            red += c == qRgb(255, 0, 0);
            lightBlue += c == qRgb(0xBF, 0xBF, 0xFF);
        }
    EXPECT_GT(red, 50);
    EXPECT_GT(lightBlue, 50);
}

TEST_F(DenovoPlotControlTest, OneScanShowsOnlyTheNoDataText) {
    ASSERT_EQ(plot->Initialize(), S_OK);
    Load(1, 30);
    QWidget* window = Show(plot.get(), 400, 300);
    const QImage image = window->grab().toImage();
    SavePicture(image, QStringLiteral("denovo_onescan"));
    EXPECT_GT(CountDark(image), 2 * 400 + 2 * 300);  // the frame and the text
    EXPECT_EQ(CountPixels(image, qRgb(255, 0, 0)), 0);
}

TEST_F(DenovoPlotControlTest, DisplayRangeZeroDrawsAxesWithoutDotsAndTooManyScansAreRefused) {
    ASSERT_EQ(plot->Initialize(), S_OK);
    Load(20, 0);
    QWidget* window = Show(plot.get(), 400, 400);
    const QImage image = window->grab().toImage();
    EXPECT_EQ(CountPixels(image, qRgb(255, 0, 0)), 0);
    EXPECT_GT(CountDark(image), 400 * 4);
    EXPECT_EQ(plot->SetNumScans(65), E_INVALIDARG);
    EXPECT_EQ(plot->SetNumScans(-1), E_INVALIDARG);
    EXPECT_EQ(plot->SetNumScans(64), S_OK);
}

TEST_F(DenovoPlotControlTest, ClearedDataShowsFrameAndNoDataText) {
    ASSERT_EQ(plot->Initialize(), S_OK);
    Load(20, 30);
    ASSERT_EQ(plot->put_NoDataText(u"No denovo data available"), S_OK);
    ASSERT_EQ(plot->ClearDataSet(), S_OK);
    std::int32_t valid = 1;
    ASSERT_EQ(plot->get_DataValid(&valid), S_OK);
    EXPECT_EQ(valid, 0);
    QWidget* window = Show(plot.get(), 400, 300);
    const QImage image = window->grab().toImage();
    EXPECT_EQ(CountPixels(image, qRgb(255, 0, 0)), 0);
    EXPECT_GT(CountDark(image), 2 * 400 + 2 * 300);
}

TEST(DenovoDotRadiusTest, GrowsWithTheLogarithmAndIsCapped) {
    struct Case {
        std::int32_t z, t;
        int cap, radius;
    };
    const Case cases[] = {
        {100, 100, 10, 0},   // exactly the threshold: no dot
        {200, 100, 10, 2},   // 2t
        {400, 100, 10, 3},   // 4t
        {1 << 20, 1, 2, 2},  // a range of 250 caps the radius at 2
        {50, 0, 10, 0},      // no threshold: no dot
    };
    for (const Case& c : cases)
        EXPECT_EQ(zar::plot::DenovoDotRadius(c.z, c.t, c.cap), c.radius) << c.z << " " << c.t;
}

TEST_F(DenovoPlotControlTest, ReadsOnlyTheScansInUse) {
    ASSERT_EQ(plot->Initialize(), S_OK);
    // Arrays of exactly five scans: nothing beyond them is read (the sanitizer build checks).
    std::vector<std::int32_t> parents{300, 120, 160, 200, 240};
    std::vector<std::vector<std::int32_t>> rows(5, std::vector<std::int32_t>(301, 0));
    std::vector<std::int32_t*> pointers;
    for (auto& r : rows) {
        r[100] = 900;
        r[250] = 400;
        pointers.push_back(r.data());
    }
    std::vector<std::int16_t> signs{1, 1, -1, 0, 1};
    ASSERT_EQ(plot->SetXMassRange(0, 300), S_OK);
    ASSERT_EQ(plot->SetNumScans(5), S_OK);
    ASSERT_EQ(plot->SetYParentMasses(parents.data()), S_OK);
    ASSERT_EQ(plot->SetZIntensities(pointers.data(), parents.data()), S_OK);
    ASSERT_EQ(plot->SetSign(signs.data()), S_OK);
    ASSERT_EQ(plot->SetZMaxIntensity(1000), S_OK);
    ASSERT_EQ(plot->SetZDisplayRangeIntensity(10), S_OK);
    ASSERT_EQ(plot->put_DataValid(1), S_OK);
    QWidget* window = Show(plot.get(), 300, 300);
    const QImage image = window->grab().toImage();
    EXPECT_GT(CountPixels(image, qRgb(255, 0, 0)), 0);  // rows of sign 1 in red
}
