// The Smoothing and Averaging page: the points offered per type, what it stores in the
// document, and the scan range it takes from a trace only while it is active and tracking.

#include "ZarmassViewsTestSupport.h"

#include "RangeTakers.h"
#include "controls/NumericEditCtrl.h"
#include "interpretation/views/ZarmassPropertySheet.h"
#include "interpretation/views/ZarmassSmoothPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

QStringList Items(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

}  // namespace

TEST(ZarmassSmoothPage, EachTypeOffersItsPoints) {
    CZarDoc doc;
    CZarmassPropertySheet sheet(CZarmassPropertySheet::kCaptionId, nullptr, 0);
    sheet.Create();
    CZarmassSmoothPage* page = sheet.SmoothPage();
    page->SmoothingBox()->click();
    ASSERT_TRUE(page->PointsCombo()->isEnabled());
    EXPECT_EQ(Items(page->PointsCombo()), QString("3 5 7 9 11 13 15").split(' '));
    page->PointsCombo()->setCurrentText(QStringLiteral("11"));
    page->TypeGroup()->button(2)->click();  // Orvo
    EXPECT_EQ(Items(page->PointsCombo()), QString("3 5 7").split(' '));
    EXPECT_EQ(page->PointsCombo()->currentText(), QStringLiteral("3"));
    page->TypeGroup()->button(3)->click();  // Savitsky-Golay
    EXPECT_EQ(Items(page->PointsCombo()), QString("3 5 7 9 11 13").split(' '));
    page->TypeGroup()->button(1)->click();  // Gaussian
    EXPECT_EQ(page->PointsCombo()->count(), 7);
}

TEST(ZarmassSmoothPage, StoresSmoothingAndAveragingInTheDocument) {
    CZarDoc doc;
    CZarmassPropertySheet sheet(CZarmassPropertySheet::kCaptionId, nullptr, 0);
    sheet.Create();
    CZarmassSmoothPage* page = sheet.SmoothPage();
    // The controls follow their check boxes.
    EXPECT_FALSE(page->ScansEdit()->isEnabled());
    EXPECT_FALSE(page->TypeGroup()->button(0)->isEnabled());
    page->SetScanLimits(1, 300);
    page->AveragingBox()->click();
    EXPECT_TRUE(page->ScansEdit()->isEnabled());
    page->ScansEdit()->SetRange(40, 60);
    page->SmoothingBox()->click();
    page->TypeGroup()->button(1)->click();
    page->PointsCombo()->setCurrentText(QStringLiteral("5"));
    sheet.ApplySmoothingSettings();
    int first = 0, last = 0;
    doc.GetSelection(first, last);
    EXPECT_EQ(first, 40);
    EXPECT_EQ(last, 60);
    EXPECT_EQ(doc.GetSmoothing().enabled, 1);
    EXPECT_EQ(doc.GetSmoothing().type, 1);
    EXPECT_EQ(doc.GetSmoothing().points, 5);

    // Switched off: no smoothing and no averaging, whatever the radio buttons show.
    page->SmoothingBox()->click();
    page->AveragingBox()->click();
    sheet.ApplySmoothingSettings();
    doc.GetSelection(first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 0);
    EXPECT_EQ(doc.GetSmoothing().enabled, 0);
    EXPECT_EQ(doc.GetSmoothing().type, -1);
    EXPECT_EQ(doc.GetSmoothing().points, 0);
    EXPECT_TRUE(page->TypeGroup()->button(1)->isChecked());
    sheet.SetActivePage(CZarmassPropertySheet::kSmoothingPage);
    page->AveragingBox()->click();
    viewstest::Grab(sheet, QStringLiteral("/tmp/i32-sheet-smoothing.png"));
}

TEST(ZarmassSmoothPage, TakesATraceRangeOnlyWhileActiveAndTracking) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("small.mzML"));
    ASSERT_TRUE(viewstest::WriteSmallRun(path, 40));  // scan n at 0.05 n minutes
    zartest::ScopedConfigDir config;
    CZarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));
    CZarmassPropertySheet sheet(CZarmassPropertySheet::kCaptionId, nullptr, 0);
    sheet.Create();
    sheet.SetSpectrum(doc.GetRawFilePath(), true);
    CZarmassSmoothPage* page = sheet.SmoothPage();
    EXPECT_EQ(page->FirstScan(), 1);
    EXPECT_EQ(page->LastScan(), 40);

    // A zoom in a trace reaches the sheet; the Calculation page is active: nothing changes.
    BroadcastToTimeRangeTakers(0.5, 1.0);
    EXPECT_EQ(page->FirstScan(), 1);
    sheet.SetActivePage(CZarmassPropertySheet::kSmoothingPage);
    BroadcastToTimeRangeTakers(1.0, 0.5);
    // The full scans of 0.5-1.0 min (the odd scans are the full ones).
    EXPECT_EQ(page->FirstScan(), 11);
    EXPECT_EQ(page->LastScan(), 19);
    int first = 0, last = 0;
    ASSERT_TRUE(page->ScansEdit()->GetRange(first, last));
    EXPECT_EQ(first, 11);
    page->TrackBox()->setChecked(false);
    sheet.SetSmoothingScanRange(0.1, 0.2);
    EXPECT_EQ(page->FirstScan(), 11);
}
