// The typed fields of the deconvolution sheet: a value that is none is told with the field's
// name and limits, the field is shown and focused, and nothing is read or calculated.

#include "ZarDoc.h"
#include "controls/NumericEditCtrl.h"
#include "interpretation/ZarmassTransform.h"
#include "interpretation/views/ZarmassCalcPage.h"
#include "interpretation/views/ZarmassDeconvolutionPage.h"
#include "interpretation/views/ZarmassPropertySheet.h"
#include "interpretation/views/ZarmassSmoothPage.h"
#include "messages/Messages.h"

#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>

using namespace zar;

namespace {

const char* const kRangeOfMasses =
    "Please enter a range as two numbers first-last between 0 and 200000, the first not above "
    "the last.";

struct FieldCase {
    const char* what;
    int page;  // the page that holds the field
    std::function<QLineEdit*(CZarmassPropertySheet&)> field;
    std::function<void(CZarmassPropertySheet&)> prepare;  // what makes the field count
    const char* text;
    std::function<void(CZarmassPropertySheet&)> press;
    QString message;
};

QLineEdit* CalcOriginal(CZarmassPropertySheet& s) { return s.CalcPage()->OriginalEdit(); }
QLineEdit* CalcWidth(CZarmassPropertySheet& s) { return s.CalcPage()->WidthEdit(); }
QLineEdit* DeconvOriginal(CZarmassPropertySheet& s) { return s.DeconvolutionPage()->OriginalEdit(); }
QLineEdit* DeconvMasses(CZarmassPropertySheet& s) { return s.DeconvolutionPage()->DeconvolutedEdit(); }
QLineEdit* DeconvWidth(CZarmassPropertySheet& s) { return s.DeconvolutionPage()->WidthEdit(); }
QLineEdit* Scans(CZarmassPropertySheet& s) { return s.SmoothPage()->ScansEdit(); }
QLineEdit* Points(CZarmassPropertySheet& s) { return s.SmoothPage()->PointsCombo()->lineEdit(); }

void Automatic(CZarmassPropertySheet& s) { s.CalcPage()->OnAutomatic(); }
void Convolute(CZarmassPropertySheet& s) { s.CalcPage()->OnConvolute(); }
void Deconvolute(CZarmassPropertySheet& s) { s.DeconvolutionPage()->OnDeconvolute(); }
void Nothing(CZarmassPropertySheet&) {}
void Smoothing(CZarmassPropertySheet& s) { s.SmoothPage()->SmoothingBox()->click(); }
void Averaging(CZarmassPropertySheet& s) { s.SmoothPage()->AveragingBox()->click(); }

}  // namespace

TEST(ZarmassFields, AValueThatIsNoneStopsTheButtonBeforeAnythingIsRead) {
    const QString range = QString::fromLatin1(kRangeOfMasses);
    const QString width = QStringLiteral("Width (mmu): Please enter a number between 0 and 100000.");
    const FieldCase cases[] = {
        {"letters", 0, CalcOriginal, Nothing, "abc", Automatic, "Original spectrum: " + range},
        {"past the limit", 0, CalcOriginal, Nothing, "0-300000", Automatic,
         "Original spectrum: " + range},
        {"wrong way round", 0, CalcOriginal, Nothing, "20-3", Convolute,
         "Original spectrum: " + range},
        {"empty width", 0, CalcWidth, Nothing, "", Automatic, width},
        {"wide width", 0, CalcWidth, Nothing, "200000", Convolute, width},
        {"letters", 1, DeconvOriginal, Nothing, "abc", Deconvolute, "Original spectrum: " + range},
        {"wrong way round", 1, DeconvMasses, Nothing, "20000-5000", Deconvolute,
         "Deconvoluted spectrum: " + range},
        {"one number", 1, DeconvMasses, Nothing, "5000", Deconvolute,
         "Deconvoluted spectrum: " + range},
        {"empty width", 1, DeconvWidth, Nothing, "", Deconvolute, width},
        {"every point there is", 2, Points, Smoothing, "2147483647", Automatic,
         QStringLiteral("Number of Points: Please enter a number between 3 and 99.")},
        {"no points", 2, Points, Smoothing, "x", Deconvolute,
         QStringLiteral("Number of Points: Please enter a number between 3 and 99.")},
        {"scans the wrong way round", 2, Scans, Averaging, "50-20", Automatic,
         QStringLiteral("Scans: Please enter a range as two numbers first-last between 1 and "
                        "1000, the first not above the last.")},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " in " + c.text);
        zartest::MessageBoxCapture boxes;
        CZarDoc doc;  // no run: reading one would say so
        QWidget owner;
        zartest::MessageTrap trap(&owner, {kMsgZarmassCalculated, kMsgZarmassClear,
                                           kMsgZarmassInfo, kMsgZarmassUpdated});
        CZarmassPropertySheet sheet(CZarmassPropertySheet::kCaptionId, &owner, 0);
        sheet.Create();
        sheet.show();
        sheet.CalcPage()->SetSelectedMass(1000.0);
        sheet.CalcPage()->SetSelectedMass(1060.0);
        c.prepare(sheet);
        int before = -1, last = -1;
        doc.GetSelection(before, last);
        QLineEdit* field = c.field(sheet);
        field->setText(QString::fromLatin1(c.text));
        sheet.SetActivePage(c.page == 1 ? 1 : 0);
        c.press(sheet);
        QCoreApplication::processEvents();
        EXPECT_EQ(boxes.texts(), QStringList{c.message});
        EXPECT_EQ(sheet.GetActiveIndex(), c.page);
        EXPECT_TRUE(field->isVisible());
        // An editable combo's text is its editor's.
        QWidget* focused = sheet.focusWidget();
        EXPECT_TRUE(focused == field ||
                    (focused && focused == field->parentWidget() && qobject_cast<QComboBox*>(focused)));
        EXPECT_EQ(field->text(), QString::fromLatin1(c.text)) << "kept for a correction";
        EXPECT_TRUE(trap.caught().empty());
        EXPECT_FALSE(sheet.DeconvolutionPage()->IsTransformRunning());
        int first = -2;
        doc.GetSelection(first, last);
        EXPECT_EQ(first, before);
    }
}

TEST(ZarmassFields, AverageAndConvoluteWaitForAMassAfterClearAll) {
    zartest::MessageBoxCapture boxes;
    CZarDoc doc;
    CZarmassPropertySheet sheet(CZarmassPropertySheet::kCaptionId, nullptr, 0);
    sheet.Create();
    CZarmassDeconvolutionPage* page = sheet.DeconvolutionPage();
    // A transform was accepted, with a mass listed.
    doc.GetZarmassTransform()->SetTransformDone(true);
    page->SetSelectedMass(17000.0);
    sheet.EnableDeconvolutionButtons();
    ASSERT_TRUE(page->AverageButton()->isEnabled());
    ASSERT_TRUE(page->ConvoluteButton()->isEnabled());
    page->OnClearAll();
    EXPECT_FALSE(page->AverageButton()->isEnabled());
    EXPECT_FALSE(page->ConvoluteButton()->isEnabled());
    EXPECT_TRUE(page->DeconvoluteButton()->isEnabled());
    page->SetSelectedMass(16950.0);
    EXPECT_TRUE(page->AverageButton()->isEnabled());
    EXPECT_TRUE(page->ConvoluteButton()->isEnabled());
    // Before any accepted transform a mass alone enables neither.
    doc.GetZarmassTransform()->SetTransformDone(false);
    page->OnClearAll();
    page->SetSelectedMass(16950.0);
    EXPECT_FALSE(page->AverageButton()->isEnabled());
    EXPECT_TRUE(boxes.texts().isEmpty());
}
