// The Chro control created by ProgID: a 2,000-point chromatogram with integrated peaks, markers
// and labels, drawn into an image and a PDF, and the events of zoom boxes, added and deleted
// peaks and clicks.

#include "ControlTestSupport.h"

#include <QPdfWriter>

using namespace plottest;

namespace {

struct Chromatogram {
    std::vector<VXPlot_DataPeak> points;
    std::vector<VXPlot_ChroPeak> peaks;
};

Chromatogram MakeChromatogram() {
    Chromatogram c;
    std::uint32_t seed = 11;
    const double centres[] = {8.0, 15.5, 22.0, 31.0};
    const double heights[] = {4.0e6, 9.0e6, 2.5e6, 6.0e6};
    for (int i = 0; i < 2000; ++i) {
        const double t = i * 0.02;
        double y = 5.0e4 * Random(seed);
        for (int k = 0; k < 4; ++k)
            y += heights[k] * std::exp(-(t - centres[k]) * (t - centres[k]) / 0.08);
        c.points.push_back({t, y, 0.f, i + 1});
    }
    for (int k = 0; k < 4; ++k) {
        VXPlot_ChroPeak p{};
        p.left = {centres[k] - 0.6, 0.0, 3.0e4};
        p.apex = {centres[k], heights[k], 3.0e4};
        p.right = {centres[k] + 0.6, 0.0, 3.0e4};
        p.eType = k == 2 ? VXPlot_PeakType_User : VXPlot_PeakType_Auto;
        p.dArea = heights[k] * 0.5;
        p.dNoise = 2.0e4;
        p.nPeakIndex = k;
        c.peaks.push_back(p);
    }
    return c;
}

class ChroControlTest : public ControlTest {
  protected:
    void SetUp() override {
        chro = Create<IChro>(u"Zar_Plot.Chro.1");
        ASSERT_TRUE(chro);
        ASSERT_EQ(chro->Initialize(), S_OK);
    }
    void Load() {
        data = MakeChromatogram();
        VXPlot_ChroInfo info{};
        chro->InitializeChroInfo(&info);
        VXPlot_Filter filter{};
        chro->InitializeFilter(&filter);
        filter.ePolarity = VXPlot_Positive;
        filter.eMSOrder = VXPlot_ms;
        ASSERT_EQ(chro->SetTraceInfo(&info, &filter, 0, nullptr), S_OK);
        ASSERT_EQ(chro->SetPeakData(data.points.data(), 2000), S_OK);
        ASSERT_EQ(chro->SetChroPeakData(data.peaks.data(), 4), S_OK);
        VXPlot_ChroLabels labels{};
        labels.bLabelRT = 1;
        labels.bLabelArea = 1;
        labels.bLabelSignalToNoise = 1;
        labels.nLabelDecimals = 2;
        ASSERT_EQ(chro->SetLabelling(&labels), S_OK);
        ASSERT_EQ(chro->SetXAxisLimits(0.0, 40.0), S_OK);
        ASSERT_EQ(chro->ShowPositionMarker(1, 15.5), S_OK);
        // New limits move the position marker to the new absolute range.
        ASSERT_EQ(chro->SetYAxisLimits(0.0, 0.0, 9.0e6, 0.0, 100.0), S_OK);
        VXPlot_DataPeak msn[] = {{5.0, 0, 0, 0}, {12.0, 0, 0, 0}, {26.0, 0, 0, 0}};
        ASSERT_EQ(chro->SetMarkerPeakData(msn, 3), S_OK);
        ASSERT_EQ(chro->ShowMSnScans(1), S_OK);
        ASSERT_EQ(chro->put_IndexNumber(0), S_OK);
        ASSERT_EQ(chro->put_InfoID(7), S_OK);
    }
    ComPtr<IChro> chro;
    Chromatogram data;
};

bool HasColour(const QImage& image, int r, int g, int b) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (std::abs(qRed(c) - r) < 40 && std::abs(qGreen(c) - g) < 40 &&
                std::abs(qBlue(c) - b) < 40)
                return true;
        }
    return false;
}

}  // namespace

TEST_F(ChroControlTest, DrawsTraceBaselinesMarkersAndLabels) {
    Load();
    HRESULT hr = E_FAIL;
    const QImage image = DrawToImage(chro.get(), 900, 450, &hr);
    ASSERT_EQ(hr, S_OK);
    SavePicture(image, QStringLiteral("chro"));
    EXPECT_TRUE(HasColour(image, 0, 0, 255));  // baselines and MSn marks (0xFF0000 is blue)
    EXPECT_TRUE(HasColour(image, 255, 0, 0));  // the position marker (255 is red)
    EXPECT_GT(CountDark(image), 2000);
    BSTR filter = nullptr;
    ASSERT_EQ(chro->get_Filter(&filter), S_OK);
    EXPECT_FALSE(FromBstr(filter).isEmpty());
    SysFreeString(filter);
}

TEST_F(ChroControlTest, NoDataTextIsLiteralExceptItsOneArgument) {
    BSTR label = SysAllocQString(QStringLiteral("UV"));
    ASSERT_EQ(chro->SetDetectorLabel(label), S_OK);
    SysFreeString(label);
    ASSERT_EQ(chro->put_NoDataText(u"No %s trace %d %n 100%"), S_OK);
    const QImage image = DrawToImage(chro.get(), 300, 100);
    SavePicture(image, QStringLiteral("chro_nodata"));
    EXPECT_GT(CountDark(image), 2 * 300 + 2 * 100);
}

TEST_F(ChroControlTest, ZoomAddAndDeletePeakEvents) {
    Load();
    ASSERT_EQ(chro->put_EnableManualZoom(1), S_OK);
    QWidget* window = Show(chro.get(), 800, 400);
    window->grab();
    EventLog log(chro.get(), ChroEvents::kIID,
                 {ChroEvents::kChroLButtonDown, ChroEvents::kChroLButtonUp, ChroEvents::kChroZoom,
                  ChroEvents::kChroAddPeak, ChroEvents::kChroDeletePeak});
    Drag(window, {500, 300}, {200, 150});
    const SeenEvent* zoom = log.find(ChroEvents::kChroZoom);
    ASSERT_TRUE(zoom);
    ASSERT_EQ(zoom->args.size(), 7u);
    EXPECT_EQ(zoom->args[0], 0.0);  // index number
    EXPECT_EQ(zoom->args[1], 7.0);  // info id
    EXPECT_LT(zoom->args[3], zoom->args[5]);
    EXPECT_GT(zoom->args[3], 0.0);
    EXPECT_LT(zoom->args[5], 40.0);

    log.seen.clear();
    ASSERT_EQ(chro->put_EnableManualAddPeakMode(1), S_OK);
    Drag(window, {300, 300}, {360, 300});
    const SeenEvent* added = log.find(ChroEvents::kChroAddPeak);
    ASSERT_TRUE(added);
    EXPECT_LT(added->args[3], added->args[5]);
    // Times snap to the trace's points (every 0.02 min).
    EXPECT_NEAR(std::fmod(added->args[3] + 1e-9, 0.02), 0.0, 1e-6);

    // A press and release without movement still makes a peak.
    log.seen.clear();
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, {330, 300});
    EXPECT_TRUE(log.find(ChroEvents::kChroAddPeak));
    EXPECT_FALSE(log.find(ChroEvents::kChroLButtonUp));

    log.seen.clear();
    ASSERT_EQ(chro->put_EnableManualDeletePeakMode(1), S_OK);
    std::int32_t addMode = 1;
    chro->get_EnableManualAddPeakMode(&addMode);
    EXPECT_EQ(addMode, 0);
    Drag(window, {400, 250}, {420, 250});
    EXPECT_EQ(log.ids(),
              (std::vector<DISPID>{ChroEvents::kChroLButtonDown, ChroEvents::kChroDeletePeak}));
}

// A zoom box reports the intensities it covers whichever way the axis is labelled: the panes keep
// zoom ranges as intensities (read as percentages of the largest point, a relative axis zoomed to
// an empty band).
TEST_F(ChroControlTest, AZoomBoxGivesIntensitiesOnARelativeAxisToo) {
    Load();
    ASSERT_EQ(chro->put_EnableManualZoom(1), S_OK);
    QWidget* window = Show(chro.get(), 800, 400);
    std::vector<std::vector<double>> boxes;
    for (const auto scale : {VXPlot_YAxisScaleType_Absolute, VXPlot_YAxisScaleType_Relative}) {
        ASSERT_EQ(chro->SetYAxisScaleType(scale), S_OK);
        window->grab();  // paints: the regions come from here
        EventLog log(chro.get(), ChroEvents::kIID, {ChroEvents::kChroZoom});
        Drag(window, {200, 150}, {500, 300});
        const SeenEvent* zoom = log.find(ChroEvents::kChroZoom);
        ASSERT_TRUE(zoom) << "scale type " << scale;
        boxes.push_back(zoom->args);
    }
    ASSERT_EQ(boxes.size(), 2u);
    // The same box (the axis labels' widths move the plotted area by a few pixels).
    EXPECT_NEAR(boxes[1][4], boxes[0][4], 0.02 * boxes[0][4]);
    EXPECT_NEAR(boxes[1][6], boxes[0][6], 0.02 * boxes[0][6]);
    // Half-way up a 9e6 axis, not a percentage.
    EXPECT_GT(boxes[1][6], 1.0e6);
}

TEST_F(ChroControlTest, WithoutIndexNumberNoMouseEvents) {
    Load();
    ASSERT_EQ(chro->put_IndexNumber(-1), S_OK);
    QWidget* window = Show(chro.get(), 600, 300);
    window->grab();
    EventLog log(chro.get(), ChroEvents::kIID,
                 {ChroEvents::kChroLButtonDown, ChroEvents::kChroLButtonUp,
                  ChroEvents::kChroLeftKeyPressed});
    Drag(window, {300, 200}, {301, 200});
    EXPECT_TRUE(log.seen.empty());
    QTest::keyClick(window, Qt::Key_Left);
    EXPECT_EQ(log.ids(), (std::vector<DISPID>{ChroEvents::kChroLeftKeyPressed}));
}

TEST_F(ChroControlTest, PrintsIntoAPdf) {
    Load();
    const QString path = QStringLiteral("/tmp/zar_plot_chro.pdf");
    {
        QPdfWriter pdf(path);
        pdf.setResolution(300);
        QPainter painter(&pdf);
        std::uintptr_t handle = reinterpret_cast<std::uintptr_t>(&painter);
        tagRECT rect{0, 0, painter.viewport().width(), painter.viewport().height() / 2};
        ASSERT_EQ(chro->Draw(&handle, &handle, 1, &rect, 1), S_OK);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_GT(file.size(), 5000);
}

TEST_F(ChroControlTest, DraggedBaselineEndIsReportedSnappedToTheTrace) {
    Load();
    ASSERT_EQ(chro->put_EnableManualBaselineDrag(1), S_OK);
    QWidget* window = Show(chro.get(), 800, 400);
    window->grab();
    EventLog log(chro.get(), ChroEvents::kIID,
                 {ChroEvents::kChroLButtonUp, ChroEvents::kChroBaselineDrag});
    // Two clicks give the pixel scale of time and intensity.
    auto click = [&](QPoint p) {
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, p);
        return log.seen.back();
    };
    const SeenEvent a = click({100, 100}), b = click({700, 300});
    ASSERT_EQ(a.id, ChroEvents::kChroLButtonUp);
    const double t0 = a.args[3], t1 = b.args[3], i0 = a.args[4], i1 = b.args[4];
    const double base = 3.0e4 * 100.0 / 9.0e6;  // the baselines lie at 30000 (percent shown)
    const int x = int(100 + (14.9 - t0) * 600.0 / (t1 - t0) + 0.5);
    const int y = int(100 + (base - i0) * 200.0 / (i1 - i0) + 0.5);
    log.seen.clear();
    Drag(window, {x, y}, {x + 20, y});
    const SeenEvent* drag = log.find(ChroEvents::kChroBaselineDrag);
    ASSERT_TRUE(drag) << x << "," << y;
    ASSERT_EQ(drag->args.size(), 10u);
    EXPECT_EQ(drag->args[2], 1.0);
    EXPECT_DOUBLE_EQ(drag->args[3], 14.9);  // initial X1
    EXPECT_DOUBLE_EQ(drag->args[4], 16.1);  // initial X2
    EXPECT_EQ(drag->args[5], 0.0);          // the left end moved
    EXPECT_GT(drag->args[6], 14.9);
    EXPECT_NEAR(std::fmod(drag->args[6] + 1e-9, 0.02), 0.0, 1e-6);  // on a trace point
    EXPECT_DOUBLE_EQ(drag->args[8], 16.1);
}

TEST_F(ChroControlTest, DrawMatchesTheWindowOfTheSameSize) {
    Load();
    ASSERT_EQ(chro->ShowFocusRectImmediate(1), S_OK);
    QWidget* window = Show(chro.get(), 640, 300);
    const QImage grabbed = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage drawn = DrawToImage(chro.get(), 640, 300);
    EXPECT_EQ(grabbed, drawn);
    EXPECT_EQ(drawn.pixel(1, 150), qRgb(0, 0, 255));  // the focus frame: 2 pixels, blue
}

namespace {

int CountNear(const QImage& image, QRect area, int r, int g, int b) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            n += std::abs(qRed(c) - r) < 40 && std::abs(qGreen(c) - g) < 40 &&
                 std::abs(qBlue(c) - b) < 40;
        }
    return n;
}

}  // namespace

TEST_F(ChroControlTest, MarkerGroupsComeAndGoSeparately) {
    Load();
    VXPlot_Marker host{};
    ASSERT_EQ(chro->InitializeMarker(&host), S_OK);
    host.lineColor = 0x00C000;  // green
    host.dStartPosition = host.dEndPosition = 35.0;
    host.dStartIntensity = 0.0;
    host.dEndIntensity = 8.0e6;
    ASSERT_EQ(chro->SetMarkerList(&host, 1), S_OK);
    const QRect top(0, 40, 900, 40), whole(0, 0, 900, 450);
    QImage image = DrawToImage(chro.get(), 900, 450);
    EXPECT_GT(CountNear(image, top, 0, 0, 255), 10);     // MSn marks at the top
    EXPECT_GT(CountNear(image, whole, 0, 192, 0), 100);  // the host's marker
    EXPECT_GT(CountNear(image, whole, 255, 0, 0), 100);  // the position marker

    ASSERT_EQ(chro->ShowMSnScans(0), S_OK);
    image = DrawToImage(chro.get(), 900, 450);
    EXPECT_EQ(CountNear(image, top, 0, 0, 255), 0);
    EXPECT_GT(CountNear(image, whole, 0, 192, 0), 100);
    EXPECT_GT(CountNear(image, whole, 255, 0, 0), 100);

    ASSERT_EQ(chro->ClearMarkerList(), S_OK);
    image = DrawToImage(chro.get(), 900, 450);
    EXPECT_EQ(CountNear(image, whole, 0, 192, 0), 0);
    EXPECT_GT(CountNear(image, whole, 255, 0, 0), 100);
}

TEST_F(ChroControlTest, ShowFlagsKeepTheirHostNames) {
    Load();
    const QImage full = DrawToImage(chro.get(), 600, 300);
    // "ShowXAxis" is the intensity axis at the left: without it the data start further left.
    ASSERT_EQ(chro->put_ShowXAxis(0), S_OK);
    const QImage noLeftAxis = DrawToImage(chro.get(), 600, 300);
    auto firstInkColumn = [](const QImage& image, int y) {
        for (int x = 3; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) return x;
        return image.width();
    };
    EXPECT_LT(firstInkColumn(noLeftAxis, 280), firstInkColumn(full, 280) - 10);
    // "ShowAxisAtLeft" is the time axis along the bottom.
    ASSERT_EQ(chro->put_ShowXAxis(1), S_OK);
    ASSERT_EQ(chro->put_ShowAxisAtLeft(0), S_OK);
    const QImage noTimeAxis = DrawToImage(chro.get(), 600, 300);
    SavePicture(noTimeAxis, QStringLiteral("chro_no_time_axis"));
    // The intensity axis now reaches down to where the time axis was: its "0" label moves down.
    auto lowestLeftInk = [](const QImage& image) {
        int lowest = 0;
        for (int y = 3; y < image.height() - 3; ++y)
            for (int x = 3; x < 60; ++x)
                if (qGray(image.pixel(x, y)) < 128) lowest = y;
        return lowest;
    };
    EXPECT_GT(lowestLeftInk(noTimeAxis), lowestLeftInk(full) + 15);
}
