#include "ZarmassCalcPage.h"

#include "ZarmassPropertySheet.h"

#include "ZarDoc.h"
#include "controls/NumericEditCtrl.h"
#include "interpretation/ZarmassDeconvolution.h"
#include "interpretation/ZarmassScanReader.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zar {

CZarmassCalcPage::CZarmassCalcPage(CZarmassPropertySheet* sheet)
    : CZarmassPageBase(kTemplateId, QStringLiteral("Calculation"), sheet, IDC_ZARMASS_CALC_COLOUR),
      automatic_(MakeButton(IDC_ZARMASS_AUTOMATIC, QStringLiteral("&Automatic"))),
      manual_(MakeButton(IDC_ZARMASS_MANUAL, QStringLiteral("&Manual"))),
      convolute_(MakeButton(IDC_ZARMASS_CONVOLUTE, QStringLiteral("&Convolute"))) {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QGridLayout;
    AddFormRow(form, 0, QStringLiteral("&Original spectrum:"), OriginalEdit(), TrackBox());
    AddFormRow(form, 1, QStringLiteral("Adduct &ion mass (u):"), AdductCombo());
    AddFormRow(form, 2, QStringLiteral("&Width (mmu):"), WidthEdit());
    form->setColumnStretch(1, 1);
    layout->addLayout(form);
    layout->addLayout(MakeLabelRow());
    auto* lower = new QHBoxLayout;
    lower->addWidget(Grid(), 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(automatic_);
    buttons->addWidget(manual_);
    buttons->addWidget(convolute_);
    buttons->addStretch(1);
    lower->addLayout(buttons);
    layout->addLayout(lower, 1);
    connect(automatic_, &QPushButton::clicked, this, [this] { OnAutomatic(); });
    connect(manual_, &QPushButton::clicked, this, [this] { OnManual(); });
    connect(convolute_, &QPushButton::clicked, this, [this] { OnConvolute(); });
    EnableCalculation(0);
}

bool CZarmassCalcPage::OnInitDialog() {
    CZarmassPageBase::OnInitDialog();
    EnableCalculation(CountValues());
    return true;
}

void CZarmassCalcPage::EnableCalculation(int n) {
    automatic_->setEnabled(n >= 2);
    manual_->setEnabled(n >= 2);
    convolute_->setEnabled(n == 1);
}

bool CZarmassCalcPage::calculate(int mode) {
    // Every field is checked before anything is read or calculated.
    ZarmassParams params;
    if (!ReadParams(params) || !Sheet()->ApplySmoothingSettings()) return false;
    ZarmassSpectrum spectrum;
    std::vector<PeakRecord> peaks;
    if (!ReadCurrentSpectrum(false, spectrum, peaks)) return false;
    PostToOwner(kMsgZarmassCalculated, 3, 0);
    CZarDoc* doc = CZarDoc::GetDoc();
    CZarmassDeconvolution* engine = doc ? doc->GetZarmassDeconvolution() : nullptr;
    if (!engine) return false;
    engine->SetInputPeaks(params, peaks, spectrum.scan);
    engine->CalculateMW(mode);
    return true;
}

void CZarmassCalcPage::finish(int mode) {
    CZarDoc* doc = CZarDoc::GetDoc();
    CZarmassDeconvolution* engine = doc ? doc->GetZarmassDeconvolution() : nullptr;
    if (!engine) return;
    PostToOwner(kMsgZarmassClear);
    engine->SetComponentColour(Colour(), AppendChosen());
    if (mode == kZarmassModeConvolute) {
        Sheet()->SetMwText(QStringLiteral("Avg MW:"));
        ReportLabels(*engine);
        return;
    }
    // A failed fit shows no weight, not the last good one.
    Sheet()->SetMwText(AverageMwText(*engine));
    if (engine->HasMW()) ReportLabels(*engine);
}

void CZarmassCalcPage::OnAutomatic() {
    ZarmassWaitCursor wait;
    if (calculate(kZarmassModeAutomatic)) finish(kZarmassModeAutomatic);
}

void CZarmassCalcPage::OnManual() {
    ZarmassWaitCursor wait;
    if (calculate(kZarmassModeManual)) finish(kZarmassModeManual);
}

void CZarmassCalcPage::OnConvolute() {
    ZarmassWaitCursor wait;
    if (calculate(kZarmassModeConvolute)) finish(kZarmassModeConvolute);
}

}  // namespace zar
