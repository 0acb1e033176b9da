#include "ZarmassPropertySheet.h"

#include "ZarmassCalcPage.h"
#include "ZarmassDeconvolutionPage.h"
#include "ZarmassSmoothPage.h"

#include "MainFrame.h"
#include "RangeTakers.h"
#include "ZarApp.h"
#include "ZarDoc.h"
#include "document/TextHelpers.h"
#include "rawfile/VRawfile.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

namespace zar {

CZarmassPropertySheet::CZarmassPropertySheet(int captionId, QWidget* parent, int firstPage)
    : CPropertySheetBase(captionId == kCaptionId ? QStringLiteral("ZARMASS") : QString(), parent,
                         firstPage),
      owner_(parent),
      calcPage_(new CZarmassCalcPage(this)),
      deconvPage_(new CZarmassDeconvolutionPage(this)),
      smoothPage_(new CZarmassSmoothPage(this)) {
    setObjectName(QStringLiteral("ZarmassPropertySheet"));
    setModal(false);
    AddPage(calcPage_);
    AddPage(deconvPage_);
    AddPage(smoothPage_);
    // A range zoomed in a trace reaches the Smoothing page while the sheet lives.
    RegisterTimeRangeTaker(this,
                           [this](double start, double end) { SetSmoothingScanRange(start, end); });
}

CZarmassPropertySheet::~CZarmassPropertySheet() {
    if (CMainFrame* frame = CMainFrame::GetMainFrame(); frame && frame->GetZarmassSheet() == this)
        frame->SetZarmassSheet(nullptr);
}

bool CZarmassPropertySheet::Create() {
    EnsureInitialized();
    SetActivePage(kCalculationPage);
    return true;
}

bool CZarmassPropertySheet::OnInitDialog() {
    CPropertySheetBase::OnInitDialog();
    // Each page acts by its own buttons: OK goes, Cancel becomes Close, Help opens the
    // Calculation page's topic whichever page is shown.
    QDialogButtonBox* box = ButtonBox();
    QPushButton* help = box->addButton(QDialogButtonBox::Help);
    help->setText(QStringLiteral("&Help"));
    help->setProperty("commandId", kHelpCommand);
    // Hidden once the box holds all its buttons: laying them out again shows them.
    box->button(QDialogButtonBox::Ok)->hide();
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Close"));
    connect(box, &QDialogButtonBox::helpRequested, this,
            [this] { ShowContextHelp(this, kHelpId); });
    adjustSize();
    place();
    return true;
}

void CZarmassPropertySheet::showEvent(QShowEvent* event) {
    CPropertySheetBase::showEvent(event);
    if (firstShow_) {
        firstShow_ = false;
        place();
    }
}

void CZarmassPropertySheet::place() {
    auto* owner = qobject_cast<QWidget*>(owner_);
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect desktop = screen->availableGeometry();
    const QSize size = frameGeometry().size();
    int x = desktop.right() + 1 - size.width();
    int y = desktop.bottom() + 1 - size.height();
    if (owner) {
        const QRect frame = owner->frameGeometry();
        x = std::min(x, frame.right() + 1);
        y = std::min(y, frame.top());
    }
    move(std::max(desktop.left(), x), std::max(desktop.top(), y));
}

void CZarmassPropertySheet::reject() {
    CMainFrame* frame = CMainFrame::GetMainFrame();
    if (frame && frame->GetZarmassSheet() == this)
        frame->ReleaseZarmassSheet();
    else
        CPropertySheetBase::reject();
}

bool CZarmassPropertySheet::DestroySheetWindow() {
    hide();
    deleteLater();
    return true;
}

// ---- the run ----------------------------------------------------------------------------

void CZarmassPropertySheet::SetSpectrum(const QString& fileName, bool readInfo) {
    rawFileName_ = fileName;
    if (!readInfo || !loadRawFileInfo()) return;
    calcPage_->SetSpectrumRanges(massLow_, massHigh_, massLow_, massHigh_);
    deconvPage_->SetSpectrumRanges(massLow_, massHigh_, massLow_, massHigh_);
}

bool CZarmassPropertySheet::loadRawFileInfo() {
    if (rawFileName_.isEmpty()) return false;
    CZarDoc* doc = CZarDoc::GetDoc();
    VRawfile* run = doc ? doc->GetRawFile() : nullptr;
    // The document's reader holds the run; the sheet reads it, never opens another file on it.
    if (!run || !run->isOpen() || QFileInfo(run->fileName()) != QFileInfo(rawFileName_))
        return false;
    massLow_ = RoundTo001(run->lowMass());
    massHigh_ = RoundTo001(run->highMass());
    smoothPage_->SetScanLimits(run->firstScan(), run->lastScan());
    return true;
}

void CZarmassPropertySheet::SetOwnerView(QLabel* mwText) {
    mwTextWindow_ = mwText;
}

void CZarmassPropertySheet::SetMwText(const QString& text) {
    mwText_ = text;
    if (mwTextWindow_) mwTextWindow_->setText(text);
}

void CZarmassPropertySheet::ClearMassGrids() {
    calcPage_->ClearMassGrid();
    deconvPage_->ClearMassGrid();
}

// ---- forwarding to the active page ------------------------------------------------------

bool CZarmassPropertySheet::IsCalculationPageActive() const {
    return GetActiveIndex() == kCalculationPage;
}

bool CZarmassPropertySheet::IsDeconvolutionPageActive() const {
    return GetActiveIndex() == kDeconvolutionPage;
}

void CZarmassPropertySheet::SetSelectedMass(double mass) {
    if (IsCalculationPageActive())
        calcPage_->SetSelectedMass(mass);
    else
        deconvPage_->SetSelectedMass(mass);
}

void CZarmassPropertySheet::DropRunningWork() {
    if (deconvPage_) deconvPage_->DropRunningTransform();
}

void CZarmassPropertySheet::SetTrackedMassRange(double low, double high) {
    if (IsCalculationPageActive())
        calcPage_->SetTrackedMassRange(low, high);
    else
        deconvPage_->SetTrackedMassRange(low, high);
}

void CZarmassPropertySheet::EnableCalculation() {
    if (IsCalculationPageActive()) {
        calcPage_->EnableCalculation(calcPage_->CountValues());
    } else {
        deconvPage_->EnableCalculation(deconvPage_->CountValues() > 0 ? 1 : 0);
    }
}

void CZarmassPropertySheet::SetCappedValue(int n) {
    if (IsCalculationPageActive())
        calcPage_->SetCappedValue(n);
    else
        deconvPage_->SetCappedValue(n);
}

void CZarmassPropertySheet::SetSmoothingScanRange(double startTime, double endTime) {
    if (GetActiveIndex() != kSmoothingPage) return;
    CZarDoc* doc = CZarDoc::GetDoc();
    VRawfile* run = doc ? doc->GetRawFile() : nullptr;
    int first = 0, last = 0;
    // The full scans of the range are averaged.
    if (!run || !run->scanRangeForTimes(startTime, endTime, 1, first, last)) return;
    smoothPage_->SetScanRange(std::min(first, last), std::max(first, last));
}

bool CZarmassPropertySheet::ApplySmoothingSettings() {
    return smoothPage_->ApplySmoothingSettings();
}

void CZarmassPropertySheet::EnableDeconvolutionButtons() {
    deconvPage_->EnableButtons(true);
}

void CZarmassPropertySheet::RunSelectedTransform() {
    deconvPage_->StartSelectedTransform();
}

}  // namespace zar
