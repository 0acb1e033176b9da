// The Spec control created by ProgID: segments, scan header, heading, labels, drawing into an
// image, a printer and the clipboard, and the mouse events of clicks and zoom boxes.

#include "ControlTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPdfWriter>
#include <QSvgRenderer>

using namespace plottest;

namespace {

std::vector<VXPlot_DataPeak> MakeSpectrum(int count) {
    std::vector<VXPlot_DataPeak> peaks;
    std::uint32_t seed = 7;
    double mz = 150.0;
    for (int i = 0; i < count; ++i) {
        mz += 0.5 + 5.0 * Random(seed);
        const double big = (i % 37 == 5) ? 60.0 + 40.0 * Random(seed) : 0.0;
        peaks.push_back({mz, 1000.0 * (std::pow(Random(seed), 5) * 30.0 + big), 0.f, 0});
    }
    return peaks;
}

VXPlot_SpectrumHeader MakeHeader(double low, double high) {
    VXPlot_SpectrumHeader h{};
    h.nScanNumber = 1234;
    h.bIsCentroid = 1;
    h.dRT = 23.456;
    h.dLowMass = low;
    h.dHighMass = high;
    h.nNumScansAveraged = 1;
    return h;
}

class SpecControlTest : public ControlTest {
  protected:
    void SetUp() override {
        spec = Create<ISpec>(u"Zar_Plot.Spec.1");
        ASSERT_TRUE(spec);
        ASSERT_EQ(spec->Initialize(), S_OK);
    }
    // A 300-stick spectrum with a file name, a scan header, a filter and two labels.
    void Load() {
        peaks = MakeSpectrum(300);
        ASSERT_EQ(spec->SetPeakData(nullptr, nullptr, 0, peaks.data(), 300), S_OK);
        VXPlot_SpectrumHeader h = MakeHeader(100.0, peaks.back().dPosition + 20.0);
        ASSERT_EQ(spec->SetScanHeader(&h, 1), S_OK);
        ASSERT_EQ(spec->put_FileName(u"C:\\data\\runs\\Sample_07.raw"), S_OK);
        VXPlot_Filter f{};
        spec->InitializeFilter(&f);
        f.ePolarity = VXPlot_Positive;
        f.eMSOrder = VXPlot_ms2;
        ASSERT_EQ(spec->put_Filter(&f), S_OK);
        VXPlot_SpecStyle style{VXPlot_SpecStyle_StickStyle, 1, 20.0, 0, 0.f, 0};
        ASSERT_EQ(spec->SetStyle(&style), S_OK);
        ASSERT_EQ(spec->put_DataValid(1), S_OK);
        VXPlot_LabelParams params{};
        spec->GetTextLabelParams(&params);
        ASSERT_EQ(spec->AddTextLabel(u"y7", peaks[5].dPosition, peaks[5].dIntensity, nullptr),
                  S_OK);
    }
    ComPtr<ISpec> spec;
    std::vector<VXPlot_DataPeak> peaks;
};

}  // namespace

TEST_F(SpecControlTest, MembersThatNeedTheGraphFailBeforeInitialize) {
    ComPtr<ISpec> fresh = Create<ISpec>(u"Zar_Plot.Spec.1");
    std::int32_t flag = 0;
    EXPECT_EQ(fresh->get_DataValid(&flag), E_FAIL);
    EXPECT_EQ(fresh->SetPeakData(nullptr, nullptr, 0, nullptr, 0), E_FAIL);
    EXPECT_EQ(fresh->put_FileName(u"x"), E_FAIL);
    EXPECT_EQ(fresh->SetDetectorType(VXPlot_DetectorTypes(0)), S_OK);
    HRESULT hr = S_OK;
    DrawToImage(fresh.get(), 50, 50, &hr);
    EXPECT_EQ(hr, E_FAIL);
}

TEST_F(SpecControlTest, DrawsSticksLabelsAndHeadingIntoAnImage) {
    Load();
    HRESULT hr = E_FAIL;
    const QImage image = DrawToImage(spec.get(), 900, 500, &hr);
    ASSERT_EQ(hr, S_OK);
    SavePicture(image, QStringLiteral("spec"));
    // The frame is black, the sticks are black and the file name is in the heading's blue.
    EXPECT_EQ(image.pixel(0, 250), qRgb(0, 0, 0));
    EXPECT_GT(CountPixels(image, qRgb(0, 0, 0)), 2000);
    EXPECT_GT(CountBluish(image), 20);
}

TEST_F(SpecControlTest, NoValidDataDrawsOnlyTheFrameAndTheNoDataText) {
    ASSERT_EQ(spec->put_NoDataText(u"Nothing %s to show"), S_OK);
    const QImage image = DrawToImage(spec.get(), 300, 200);
    SavePicture(image, QStringLiteral("spec_nodata"));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    const QImage bare = DrawToImage(spec.get(), 300, 200, nullptr, false);
    EXPECT_EQ(bare.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_GT(CountDark(image), 2 * 300 + 2 * 200 + 20);  // frame and text
}

TEST_F(SpecControlTest, SegmentsAndScanSummaryFollowEachOther) {
    std::vector<VXPlot_DataPeak> p = MakeSpectrum(5);
    std::int32_t sizes[] = {2, 0, 3};
    VXPlot_MassRange ranges[] = {{100, 400}, {400, 800}, {800, 1200}};
    ASSERT_EQ(spec->SetPeakData(sizes, ranges, 3, p.data(), 5), S_OK);
    VXPlot_SpectrumHeader h = MakeHeader(150, 1150);
    // The summary is replaced by each SetPeakData: header, peaks, header again stays sound.
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(spec->SetScanHeader(&h, 0), S_OK);
        ASSERT_EQ(spec->SetPeakData(sizes, ranges, 3, p.data(), 5), S_OK);
    }
    ASSERT_EQ(spec->SetScanHeader(&h, 1), S_OK);
    std::int32_t tooMany[] = {4, 0, 3};
    EXPECT_EQ(spec->SetPeakData(tooMany, ranges, 3, p.data(), 5), E_INVALIDARG);
    ASSERT_EQ(spec->put_DataValid(1), S_OK);
    EXPECT_EQ(DrawToImage(spec.get(), 400, 300).pixel(0, 0), qRgb(0, 0, 0));
}

TEST_F(SpecControlTest, ClickAndZoomBoxEvents) {
    Load();
    ASSERT_EQ(spec->put_EnableManualZoom(1), S_OK);
    QWidget* window = Show(spec.get(), 800, 500);
    QImage shown = window->grab().toImage();  // paints once: the regions come from here
    EventLog log(spec.get(), SpecEvents::kIID,
                 {SpecEvents::kSpecLButtonDown, SpecEvents::kSpecLButtonUp, SpecEvents::kSpecZoom,
                  SpecEvents::kSpecRButtonDown, SpecEvents::kSpecLeftKeyPressed});
    // 3 pixels is a click, 4 pixels a zoom box.
    Drag(window, {400, 300}, {403, 303});
    EXPECT_EQ(log.ids(),
              (std::vector<DISPID>{SpecEvents::kSpecLButtonDown, SpecEvents::kSpecLButtonUp}));
    EXPECT_EQ(log.seen[1].args[0], 1.0);
    const double clickMass = log.seen[1].args[1];
    EXPECT_GT(clickMass, 100.0);
    log.seen.clear();
    Drag(window, {400, 300}, {404, 300});
    EXPECT_EQ(log.ids(),
              (std::vector<DISPID>{SpecEvents::kSpecLButtonDown, SpecEvents::kSpecZoom}));
    log.seen.clear();
    // Right to left: the start mass is still the smaller one. While dragging the box shows.
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, {600, 350});
    QTest::mouseMove(window, {450, 250});
    QTest::mouseMove(window, {300, 150});
    const QImage boxed = window->grab().toImage();
    SavePicture(boxed, QStringLiteral("spec_zoombox"));
    EXPECT_NE(boxed, shown);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, {300, 150});
    const SeenEvent* zoom = log.find(SpecEvents::kSpecZoom);
    ASSERT_TRUE(zoom);
    ASSERT_EQ(zoom->args.size(), 5u);
    EXPECT_EQ(zoom->args[0], 1.0);
    EXPECT_LT(zoom->args[1], clickMass);
    EXPECT_GT(zoom->args[3], clickMass);
    EXPECT_LT(zoom->args[2], zoom->args[4]);
    // The feedback is gone after the release: the window looks as before.
    EXPECT_EQ(window->grab().toImage(), shown);
    // Manual zoom off: a drag is a click.
    log.seen.clear();
    spec->put_EnableManualZoom(0);
    Drag(window, {600, 350}, {300, 150});
    EXPECT_EQ(log.ids(),
              (std::vector<DISPID>{SpecEvents::kSpecLButtonDown, SpecEvents::kSpecLButtonUp}));
    log.seen.clear();
    QTest::keyClick(window, Qt::Key_Left);
    EXPECT_EQ(log.ids(), (std::vector<DISPID>{SpecEvents::kSpecLeftKeyPressed}));
}

TEST_F(SpecControlTest, DrawMatchesTheWindowOfTheSameSize) {
    Load();
    QWidget* window = Show(spec.get(), 640, 400);
    const QImage grabbed = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage drawn = DrawToImage(spec.get(), 640, 400);
    EXPECT_EQ(grabbed, drawn);
}

TEST_F(SpecControlTest, PrintsIntoAPdf) {
    Load();
    const QString path = QStringLiteral("/tmp/zar_plot_spec.pdf");
    {
        QPdfWriter pdf(path);
        pdf.setResolution(300);
        QPainter painter(&pdf);
        std::uintptr_t handle = reinterpret_cast<std::uintptr_t>(&painter);
        const QRect page = painter.viewport();
        tagRECT rect{0, 0, page.width(), page.height() / 2};
        ASSERT_EQ(spec->Draw(&handle, &handle, 1, &rect, 1), S_OK);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
    EXPECT_GT(file.size(), 5000);
}

TEST_F(SpecControlTest, CopyPutsSvgAndImageOnTheClipboard) {
    Load();
    QGuiApplication::clipboard()->clear();
    ASSERT_EQ(spec->CopyToClipboard(), S_OK);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(mime);
    ASSERT_TRUE(mime->hasFormat(QStringLiteral("image/svg+xml")));
    ASSERT_TRUE(mime->hasImage());
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    EXPECT_EQ(image.size(), QSize(1024, 768));
    QSvgRenderer svg(mime->data(QStringLiteral("image/svg+xml")));
    ASSERT_TRUE(svg.isValid());
    QImage rendered(1024, 768, QImage::Format_RGB32);
    rendered.fill(Qt::black);
    QPainter painter(&rendered);
    svg.render(&painter);
    painter.end();
    SavePicture(rendered, QStringLiteral("spec_clipboard_svg"));
    // Drawn without a frame: a white border all round.
    for (int x = 0; x < 1024; x += 16) {
        EXPECT_EQ(rendered.pixel(x, 0), qRgb(255, 255, 255));
        EXPECT_EQ(rendered.pixel(x, 767), qRgb(255, 255, 255));
    }
    EXPECT_GT(CountDark(rendered), 1000);
}

TEST_F(SpecControlTest, YLimitsReachTheGraphInItsOwnOrder) {
    Load();
    ASSERT_EQ(spec->SetYAxisScaleType(VXPlot_YAxisScaleType_Absolute), S_OK);
    // Normalisation, absolute minimum and maximum, relative minimum and maximum.
    ASSERT_EQ(spec->SetYAxisLimits(0.0, 0.0, 4.0e5, 10.0, 50.0), S_OK);
    QWidget* window = Show(spec.get(), 800, 500);
    window->grab();
    EventLog log(spec.get(), SpecEvents::kIID, {SpecEvents::kSpecLButtonUp});
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, {400, 60});
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, {400, 440});
    ASSERT_EQ(log.seen.size(), 2u);
    EXPECT_GT(log.seen[0].args[2], 3.0e5);  // near the top: close to the absolute maximum
    EXPECT_LE(log.seen[0].args[2], 4.0e5);
    EXPECT_LT(log.seen[1].args[2], 1.0e5);
    SavePicture(DrawToImage(spec.get(), 800, 500), QStringLiteral("spec_absolute"));
}

TEST_F(SpecControlTest, AnnotatedPeaksTakeTheirPenAndAnUnknownPenIsBlack) {
    Load();
    VXPlot_PeakInfo info[2]{};
    for (int i = 0; i < 2; ++i) {
        const VXPlot_DataPeak& p = peaks[i == 0 ? 5 : 42];
        info[i].apex = {p.dPosition, p.dIntensity, 0.0};
        info[i].left.dMass = p.dPosition - 0.2;
        info[i].right.dMass = p.dPosition + 0.2;
        info[i].bShowColor = 1;
        info[i].iChargeState = 2;
    }
    info[0].iPenIndex = 0;
    info[1].iPenIndex = 99;  // beyond every pen
    std::uint32_t colours[] = {0x0000FF};
    ASSERT_EQ(spec->SetPeakInfoColors(colours, 1), S_OK);
    ASSERT_EQ(spec->SetPeakInfo(info, 2), S_OK);
    const QImage image = DrawToImage(spec.get(), 900, 500);
    SavePicture(image, QStringLiteral("spec_peakinfo"));
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) red += image.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_GT(red, 50);
    EXPECT_EQ(spec->SetPeakInfo(nullptr, 3), E_POINTER);
}
