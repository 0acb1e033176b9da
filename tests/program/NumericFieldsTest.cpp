// Every numeric and range field of the program's dialogs, sheets and pages follows one rule: a
// value that is unreadable or outside the field's limits is refused with a message that names
// the field and its limits, the field's page is brought forward and the field gets the focus,
// and the value of before stays. The fields are found in each window, so a field added later is
// held to the rule as well.

#include "ZarDoc.h"
#include "app/infobar/MSnListPage.h"
#include "controls/DialogBase.h"
#include "controls/NumericEditCtrl.h"
#include "core/Numbers.h"
#include "databases/views/FastaDbIndexerDlg.h"
#include "interpretation/views/DenovoParamsDlg.h"
#include "interpretation/views/ZarmassPropertySheet.h"
#include "interpretation/views/ZarmassSmoothPage.h"
#include "search/views/DtaCreateDialog.h"
#include "search/views/SettingsPropertySheet.h"
#include "search/views/SorvexResultsPage.h"
#include "spectrumviews/views/ChroDisplayOptionsDialog.h"
#include "spectrumviews/views/PepmatchOptionsDlg.h"
#include "spectrumviews/views/SpecDisplayOptionsDialog.h"
#include "spectrumviews/views/UserTraceDialog.h"
#include "spectrumviews/views/XpressParamsDlg.h"

#include "TestSupport.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace zar;

namespace {

struct Window {
    const char* name;
    // Makes the window as its command does, set up and shown, with every optional field made
    // to count (its box checked, its mode chosen).
    std::function<std::unique_ptr<QWidget>()> make;
};

template <class W>
std::unique_ptr<QWidget> Shown(std::unique_ptr<W> w) {
    w->show();
    QCoreApplication::processEvents();
    return w;
}

// The data exchange of the dialog, page or form that holds the field, saving.
bool SaveFieldsOf(QWidget* field) {
    for (QWidget* w = field; w; w = w->parentWidget()) {
        if (auto* page = dynamic_cast<CPropertyPageBase*>(w)) return page->UpdateData(true);
        if (auto* dialog = dynamic_cast<CDialogBase*>(w)) return dialog->UpdateData(true);
        if (auto* form = dynamic_cast<CFormViewBase*>(w)) return form->UpdateData(true);
    }
    ADD_FAILURE() << "no dialog holds the field";
    return true;
}

// The page (or window) the field belongs to: a field counts while it shows on it.
QWidget* PageOf(QWidget* field) {
    for (QWidget* w = field->parentWidget(); w; w = w->parentWidget())
        if (dynamic_cast<CPropertyPageBase*>(w) || w->isWindow()) return w;
    return field->window();
}

struct Limits {
    double lower = 0.0;
    double upper = 0.0;
    bool range = false;
    bool whole = false;
};

bool LimitsOf(QWidget* field, Limits& l) {
    if (auto* e = qobject_cast<CDoubleEditCtrl*>(field)) l = {e->Lower(), e->Upper(), false, false};
    else if (auto* e = qobject_cast<CIntEditCtrl*>(field)) l = {double(e->Lower()), double(e->Upper()), false, true};
    else if (auto* e = qobject_cast<CDoubleRangeEditCtrl*>(field)) l = {e->Lower(), e->Upper(), true, false};
    else if (auto* e = qobject_cast<CIntRangeEditCtrl*>(field)) l = {double(e->Lower()), double(e->Upper()), true, true};
    else return false;
    return true;
}

QString Number(double v, bool whole) {
    return whole ? QString::number(static_cast<long long>(v)) : QCFormat("%g", v);
}

// Texts no field of these limits may take.
QStringList BadTexts(const Limits& l) {
    QStringList bad{QStringLiteral("abc")};
    const bool bounded = l.upper < 1e9;
    const double step = l.whole ? 1.0 : std::max(0.5, (l.upper - l.lower) / 100.0);
    if (!l.range) {
        if (bounded) bad << Number(l.upper + step, l.whole);
        if (l.lower > -1e9) bad << Number(l.lower - step, l.whole);
        if (l.whole) bad << QStringLiteral("1.5");
        return bad;
    }
    bad << QStringLiteral("5");  // one number is no range
    if (l.upper > l.lower) bad << Number(l.upper, l.whole) + QLatin1Char('-') + Number(l.lower, l.whole);
    if (bounded) bad << Number(l.lower, l.whole) + QLatin1Char('-') + Number(l.upper + step, l.whole);
    return bad;
}

// A dialog as its command makes it: set up, then shown.
template <class D, class... Args>
std::unique_ptr<QWidget> Dialog(Args... args) {
    auto d = std::make_unique<D>(args...);
    d->EnsureInitialized();
    return Shown(std::move(d));
}

void Click(QAbstractButton* b) {
    if (b && !b->isChecked()) b->click();
}

const Window kWindows[] = {
    {"DeNovo Parameters", [] { return Dialog<CDenovoParamsDlg>(nullptr); }},
    {"Pepmatch Options", [] { return Dialog<CPepmatchOptionsDlg>(nullptr, nullptr); }},
    {"ZARMASS",
     [] {
         auto s = std::make_unique<CZarmassPropertySheet>(CZarmassPropertySheet::kCaptionId, nullptr, 0);
         s->Create();
         s->SetActivePage(2);
         Click(s->SmoothPage()->AveragingBox());
         Click(s->SmoothPage()->SmoothingBox());
         s->SetActivePage(0);
         return Shown(std::move(s));
     }},
    {"Configuration Settings",
     [] {
         auto s = std::make_unique<CSettingsPropertySheet>(QStringLiteral("Configuration Settings"), nullptr, 0);
         s->EnsureInitialized();
         Click(s->ResultsPage()->ConsensusGroup()->button(1));
         return Shown(std::move(s));
     }},
    {"MSn Browser",
     [] {
         auto p = std::make_unique<CMSnListPage>(nullptr);
         p->OnInitDialog();
         return Shown(std::move(p));
     }},
    {"XPRESS parameters", [] { return Dialog<CXpressParamsDlg>(nullptr); }},
    {"User trace", [] { return Dialog<CUserTraceDialog>(nullptr); }},
    {"Spectrum display options", [] { return Dialog<CSpecDisplayOptionsDialog>(nullptr); }},
    {"Chromatogram display options", [] { return Dialog<CChroDisplayOptionsDialog>(nullptr); }},
    {"FASTA indexer", [] { return Dialog<CFastaDbIndexerDlg>(nullptr); }},
    {"DTA creation", [] { return Dialog<CDtaCreateDialog>(nullptr, false); }},
};

}  // namespace

TEST(NumericFields, EveryFieldRefusesWhatItCannotTakeAndSaysWhichAndWhy) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    CZarDoc doc;
    for (const Window& w : kWindows) {
        SCOPED_TRACE(w.name);
        std::unique_ptr<QWidget> window = w.make();
        boxes.clear();  // what setting the window up said
        int checked = 0;
        QList<QLineEdit*> fields = window->findChildren<QLineEdit*>();
        for (QLineEdit* field : fields) {
            Limits limits;
            if (!LimitsOf(field, limits)) continue;
            QWidget* page = PageOf(field);
            // A hidden or disabled field is no field the user can fill.
            if (!field->isVisibleTo(page) || !field->isEnabledTo(page)) continue;
            const QString name = FieldName(field);
            SCOPED_TRACE(name.toStdString());
            EXPECT_FALSE(name.isEmpty()) << "a field without a name: " << field->metaObject()->className();
            const QString good = field->text();
            ASSERT_TRUE(SaveFieldsOf(field)) << "the window's own values pass: " << good.toStdString();
            for (const QString& bad : BadTexts(limits)) {
                SCOPED_TRACE(bad.toStdString());
                boxes.clear();
                field->setText(bad);
                field->setModified(true);  // as typed
                EXPECT_FALSE(SaveFieldsOf(field));
                ASSERT_EQ(boxes.texts().size(), 1);
                const QString told = boxes.texts().front();
                EXPECT_TRUE(told.startsWith(name + QStringLiteral(": "))) << told.toStdString();
                EXPECT_TRUE(told.contains(QStringLiteral("between"))) << told.toStdString();
                EXPECT_TRUE(field->isVisible()) << "its page is in front";
                EXPECT_EQ(field->window()->focusWidget(), field);
                EXPECT_EQ(field->text(), bad) << "kept for a correction";
                // The value of before is what the field still stands for.
                field->setText(good);
                EXPECT_TRUE(SaveFieldsOf(field));
            }
            ++checked;
        }
        EXPECT_GT(checked, 0) << "the window has numeric fields";
    }
}
