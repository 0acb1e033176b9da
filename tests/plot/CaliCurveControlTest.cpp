// The CaliCurve control created by ProgID: drawing, left-axis widths, the amount marker, right
// clicks on calibration points and the guard against right clicks without data.

#include "ControlTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace plottest;

namespace {

class CaliCurveControlTest : public ControlTest {
  protected:
    void SetUp() override {
        curve = Create<ICaliCurve>(u"Zar_Plot.CaliCurve.1");
        ASSERT_TRUE(curve);
    }
    void Load() {
        ASSERT_EQ(curve->Initialize(), S_OK);
        for (int i = 0; i <= 50; ++i) line.push_back({i * 2.0, 0.9 * i * 2.0 + 1.0, 0.f, 0});
        included = {{10, 10.5, 0, 0}, {20, 19.0, 0, 0}, {40, 37.5, 0, 0}, {80, 73.0, 0, 0}};
        // One excluded point lies on the second included one.
        excluded = {{20, 19.0, 0, 0}, {60, 70.0, 0, 0}};
        ASSERT_EQ(curve->SetTraceData(VXPlot_CaliCurveTraceIDs_Curve, line.data(), 51), S_OK);
        ASSERT_EQ(curve->SetTraceData(VXPlot_CaliCurveTraceIDs_Included, included.data(), 4), S_OK);
        ASSERT_EQ(curve->SetTraceData(VXPlot_CaliCurveTraceIDs_Excluded, excluded.data(), 2), S_OK);
        ASSERT_EQ(curve->SetXAxisLimits(0.0, 100.0), S_OK);
        ASSERT_EQ(curve->SetYAxisLimits(0.0, 100.0), S_OK);
        ASSERT_EQ(curve->SetHeading(u"Calibration of Compound A", u"Y = 0.9 X + 1.0"), S_OK);
        ASSERT_EQ(curve->SetXAxisLabel(u"Amount (ng)"), S_OK);
        ASSERT_EQ(curve->SetYAxisLabel(u"Area ratio"), S_OK);
        ASSERT_EQ(curve->SetCalculatedAmountMarker(1, 50.0, 46.0), S_OK);
        ASSERT_EQ(curve->put_DataValid(1), S_OK);
        ASSERT_EQ(curve->put_ShowBorder(1), S_OK);
    }
    ComPtr<ICaliCurve> curve;
    std::vector<VXPlot_DataPeak> line, included, excluded;
};

}  // namespace

TEST_F(CaliCurveControlTest, BeforeInitializeShowsNotInitialized) {
    HRESULT hr = E_FAIL;
    const QImage image = DrawToImage(curve.get(), 300, 200, &hr);
    EXPECT_EQ(hr, S_OK);
    EXPECT_GT(CountDark(image), 20);
    EXPECT_EQ(curve->SetXAxisLimits(0, 1), E_FAIL);
    EXPECT_EQ(curve->SetTraceData(VXPlot_CaliCurveTraceIDs_Curve, nullptr, 0), E_FAIL);
}

TEST_F(CaliCurveControlTest, DrawsCurvePointsHeadingAndMarker) {
    Load();
    const QImage image = DrawToImage(curve.get(), 700, 500);
    SavePicture(image, QStringLiteral("calicurve"));
    int redText = 0, bluePoints = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            redText += qRed(c) > 150 && qGreen(c) < 80 && qBlue(c) < 80;
            bluePoints += qBlue(c) > 150 && qRed(c) < 80 && qGreen(c) < 80;
        }
    EXPECT_GT(redText, 20);
    EXPECT_GT(bluePoints, 20);
    // Trace ID 3 changes nothing.
    std::vector<VXPlot_DataPeak> none{{1, 1, 0, 0}};
    EXPECT_EQ(curve->SetTraceData(VXPlot_CaliCurveTraceIDs(3), none.data(), 1), S_OK);
    EXPECT_EQ(DrawToImage(curve.get(), 700, 500), image);
}

TEST_F(CaliCurveControlTest, RightClickOnOverlappingPointsReportsBoth) {
    Load();
    QWidget* window = Show(curve.get(), 700, 500);
    window->grab();
    EventLog log(curve.get(), CaliCurveEvents::kIID,
                 {CaliCurveEvents::kCaliCurveHit, CaliCurveEvents::kCaliCurveRButtonUp});
    std::int32_t hits = 0, firstIndex = 0, firstTrace = -1, secondTrace = -1;
    ComPtr<EventSink> sink = EventSink::Create(CaliCurveEvents::kIID);
    sink->on(CaliCurveEvents::kCaliCurveHit, [&](const DispArgs& a) {
        const VARIANT& count = a.at(3);
        hits = *count.plVal;
        firstIndex = a.at(4).plVal[0];
        firstTrace = a.at(5).plVal[0];
        if (hits > 1) secondTrace = a.at(5).plVal[1];
    });
    EventConnection connection;
    ASSERT_EQ(connection.connect(curve.get(), CaliCurveEvents::kIID, sink.get()), S_OK);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(100, 400));
    Drag(window, QPoint(350, 250), QPoint(350, 250), Qt::RightButton);
    ASSERT_FALSE(log.seen.empty());
    // A right click off the points reports the mapped position.
    EXPECT_EQ(log.seen.back().id, CaliCurveEvents::kCaliCurveRButtonUp);
    const double x350 = log.seen.back().args[1];
    const double y250 = log.seen.back().args[2];
    EXPECT_GT(x350, 30.0);
    EXPECT_LT(x350, 70.0);
    // Walk from that pixel to the one of (20, 19) using the data scale of two clicks.
    Drag(window, QPoint(250, 350), QPoint(250, 350), Qt::RightButton);
    const double x250 = log.seen.back().args[1];
    const double y350 = log.seen.back().args[2];
    const double px = 250 + (20.0 - x250) * 100.0 / (x350 - x250);
    const double py = 350 - (19.0 - y350) * 100.0 / (y250 - y350);  // y grows upwards
    Drag(window, QPoint(int(px + 0.5), int(py + 0.5)), QPoint(int(px + 0.5), int(py + 0.5)),
         Qt::RightButton);
    EXPECT_EQ(hits, 2);
    EXPECT_EQ(firstIndex, 2);  // the second included point, counted from 1
    EXPECT_EQ(firstTrace, 0);
    EXPECT_EQ(secondTrace, 1);
}

TEST_F(CaliCurveControlTest, RightClickWithoutDataFiresNothing) {
    ASSERT_EQ(curve->Initialize(), S_OK);
    QWidget* window = Show(curve.get(), 300, 200);
    EventLog log(curve.get(), CaliCurveEvents::kIID,
                 {CaliCurveEvents::kCaliCurveHit, CaliCurveEvents::kCaliCurveRButtonUp});
    Drag(window, QPoint(100, 100), QPoint(100, 100), Qt::RightButton);
    EXPECT_TRUE(log.seen.empty());
}

TEST_F(CaliCurveControlTest, ZoomBoxIsReportedSorted) {
    Load();
    QWidget* window = Show(curve.get(), 700, 500);
    window->grab();
    EventLog log(curve.get(), CaliCurveEvents::kIID,
                 {CaliCurveEvents::kCaliCurveZoom, CaliCurveEvents::kCaliCurveLButtonUp});
    Drag(window, QPoint(500, 150), QPoint(200, 350));
    const SeenEvent* zoom = log.find(CaliCurveEvents::kCaliCurveZoom);
    ASSERT_TRUE(zoom);
    EXPECT_LT(zoom->args[1], zoom->args[3]);
    EXPECT_LT(zoom->args[2], zoom->args[4]);
}

TEST_F(CaliCurveControlTest, TrackingCursorFollowsTheMouseOverTheWindow) {
    Load();
    QWidget* window = Show(curve.get(), 700, 500);
    const QImage before = window->grab().toImage();
    QTest::mouseMove(window, QPoint(350, 250));
    const QImage tracking = window->grab().toImage();
    SavePicture(tracking, QStringLiteral("calicurve_cursor"));
    EXPECT_NE(tracking, before);
    // Out of the plot the cursor is erased.
    QTest::mouseMove(window, QPoint(3, 3));
    EXPECT_EQ(window->grab().toImage(), before);
}

TEST_F(CaliCurveControlTest, CopyPutsSvgAndImageOnTheClipboard) {
    Load();
    QGuiApplication::clipboard()->clear();
    ASSERT_EQ(curve->CopyToClipboard(), S_OK);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(mime);
    EXPECT_TRUE(mime->hasFormat(QStringLiteral("image/svg+xml")));
    ASSERT_TRUE(mime->hasImage());
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    EXPECT_EQ(image.size(), QSize(1024, 768));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));  // no frame on the clipboard
    std::int32_t border = 0;
    curve->get_ShowBorder(&border);
    EXPECT_EQ(border, 1);  // and the control's own flag is back
}
