// Text labels a host adds to the Spec and Chro controls: both take the label parameters the same
// way and write the label in the colour the host's record names.

#include "ControlTestSupport.h"

using namespace plottest;

namespace {

constexpr std::uint32_t kGreen = 0x00C800;  // COLORREF: green 200

// Pixels that are mostly green.
int CountGreenish(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            n += qGreen(c) > 120 && qRed(c) < 90 && qBlue(c) < 90;
        }
    return n;
}

std::vector<VXPlot_DataPeak> Bumps() {
    std::vector<VXPlot_DataPeak> points;
    for (int i = 0; i < 400; ++i) {
        const double x = 200.0 + i;
        const double y = 1000.0 * std::exp(-std::pow(x - 400.0, 2) / 800.0) + 10.0;
        points.push_back({x, y, 0.f, i + 1});
    }
    return points;
}

// A control of either kind with data, ready to take labels.
struct LabelledControl {
    virtual ~LabelledControl() = default;
    virtual HRESULT AddTextLabel(LPCWSTR text, double x, double y, VXPlot_LabelParams* p) = 0;
    virtual HRESULT GetTextLabelParams(VXPlot_LabelParams* p) = 0;
    virtual HRESULT SetTextAnchor(VXXAnchor x, VXYAnchor y) = 0;
    virtual QImage Draw() = 0;
};

struct SpecHost : LabelledControl {
    explicit SpecHost(ComPtr<ISpec> c) : spec(std::move(c)) {
        spec->Initialize();
        spec->SetPeakData(nullptr, nullptr, 0, points.data(), static_cast<int>(points.size()));
        VXPlot_SpectrumHeader h{};
        h.nScanNumber = 1;
        h.dLowMass = 200.0;
        h.dHighMass = 600.0;
        spec->SetScanHeader(&h, 1);
        VXPlot_SpecStyle style{VXPlot_SpecStyle_ProfileStyle, 0, 0.0, 0, 0.f, 0};
        spec->SetStyle(&style);
        spec->put_DataValid(1);
    }
    HRESULT AddTextLabel(LPCWSTR t, double x, double y, VXPlot_LabelParams* p) override {
        return spec->AddTextLabel(t, x, y, p);
    }
    HRESULT GetTextLabelParams(VXPlot_LabelParams* p) override {
        return spec->GetTextLabelParams(p);
    }
    HRESULT SetTextAnchor(VXXAnchor x, VXYAnchor y) override { return spec->SetTextAnchor(x, y); }
    QImage Draw() override { return DrawToImage(spec.get(), 700, 400); }
    std::vector<VXPlot_DataPeak> points = Bumps();
    ComPtr<ISpec> spec;
};

struct ChroHost : LabelledControl {
    explicit ChroHost(ComPtr<IChro> c) : chro(std::move(c)) {
        chro->Initialize();
        chro->SetPeakData(points.data(), static_cast<int>(points.size()));
        chro->SetXAxisLimits(200.0, 600.0);
        chro->put_ShowTextAtRight(0);
    }
    HRESULT AddTextLabel(LPCWSTR t, double x, double y, VXPlot_LabelParams* p) override {
        return chro->AddTextLabel(t, x, y, p);
    }
    HRESULT GetTextLabelParams(VXPlot_LabelParams* p) override {
        return chro->GetTextLabelParams(p);
    }
    HRESULT SetTextAnchor(VXXAnchor x, VXYAnchor y) override { return chro->SetTextAnchor(x, y); }
    QImage Draw() override { return DrawToImage(chro.get(), 700, 400); }
    std::vector<VXPlot_DataPeak> points = Bumps();
    ComPtr<IChro> chro;
};

class HostLabelsTest : public ControlTest, public ::testing::WithParamInterface<const char*> {
  protected:
    std::unique_ptr<LabelledControl> Make() {
        if (QString::fromLatin1(GetParam()) == QLatin1String("Spec"))
            return std::make_unique<SpecHost>(Create<ISpec>(u"Zar_Plot.Spec.1"));
        return std::make_unique<ChroHost>(Create<IChro>(u"Zar_Plot.Chro.1"));
    }
};

}  // namespace

TEST_P(HostLabelsTest, ARecordsTextColourIsTheColourOfTheLabel) {
    std::unique_ptr<LabelledControl> c = Make();
    EXPECT_EQ(CountGreenish(c->Draw()), 0);
    VXPlot_LabelParams p{};
    ASSERT_EQ(c->GetTextLabelParams(&p), S_OK);
    p.crTextColor = kGreen;
    p.bAboveGraph = 0;
    ASSERT_EQ(c->AddTextLabel(u"GREEN LABEL", 300.0, 500.0, &p), S_OK);
    const QImage image = c->Draw();
    SavePicture(image, QStringLiteral("label_colour_") + QString::fromLatin1(GetParam()));
    EXPECT_GT(CountGreenish(image), 30);
}

TEST_P(HostLabelsTest, LabelsWithoutARecordTakeTheCurrentParameters) {
    std::unique_ptr<LabelledControl> c = Make();
    ASSERT_EQ(c->SetTextAnchor(LeftX, TopY), S_OK);
    VXPlot_LabelParams p{};
    ASSERT_EQ(c->GetTextLabelParams(&p), S_OK);
    EXPECT_EQ(p.eTextXAnchor, LeftX);
    EXPECT_EQ(p.eTextYAnchor, TopY);
    EXPECT_EQ(p.crTextColor, 0u);
    EXPECT_EQ(c->GetTextLabelParams(nullptr), E_POINTER);
    // A label without a record is written in black.
    ASSERT_EQ(c->AddTextLabel(u"PLAIN", 300.0, 500.0, nullptr), S_OK);
    const QImage image = c->Draw();
    EXPECT_EQ(CountGreenish(image), 0);
}

INSTANTIATE_TEST_SUITE_P(BothControls, HostLabelsTest, ::testing::Values("Spec", "Chro"));
