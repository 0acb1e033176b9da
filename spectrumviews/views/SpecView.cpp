#include "SpecView.h"

#include "PaneSupport.h"
#include "PlotFeeding.h"
#include "SpecDisplayOptionsDialog.h"
#include "SpectrumPanes.h"
#include "ViewCommands.h"
#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "app/ZarmassSheetTarget.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "app/plotwrappers/SpecToolBar.h"
#include "core/Log.h"
#include "core/MessageBox.h"
#include "core/Paths.h"
#include "document/UpdateHints.h"
#include "document/hub/PlotRange.h"
#include "document/hub/SpectrumText.h"
#include "document/hub/ZarDoc.h"
#include "interpretation/ZarmassDeconvolution.h"
#include "rawfile/VRawfile.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QProcess>

#include <cstring>

namespace zar {

using namespace ZAR_PLOTLib;

namespace {

constexpr char kClickToSelect[] = "Click on a chromatogram to select a scan.";
constexpr char kClickToView[] = "Click on a chromatogram to view spectrum";
constexpr char kNoSpectralData[] = "No spectral data available";


}  // namespace

CSpecView::CSpecView(QWidget* parent)
    : CZarViewWidget(parent), CPlotPane(this, "Spectrum view"), toolBar_(new CSpecToolBar(this)) {
    setObjectName(QStringLiteral("CSpecView"));
    connect(toolBar_, &CSpecToolBar::commandTriggered, this, &CSpecView::OnCommand);
}

CSpecView::~CSpecView() = default;

CVXUserResult* CSpecView::currentUserResult() const {
    CZarDoc* doc = GetDocument();
    CVXResults* r = doc ? doc->GetCurrentResults() : nullptr;
    return r ? r->GetCurrentUserResult() : nullptr;
}

CVXSpecDisplay* CSpecView::GetSpecDisplay() const {
    CVXUserResult* u = currentUserResult();
    return u ? &u->specDisplay : nullptr;
}

double CSpecView::currentScanTime() const {
    CVXUserResult* u = currentUserResult();
    return u ? u->currentScanPosition : -1.0;
}

void CSpecView::setCurrentScanTime(double time) {
    if (CVXUserResult* u = currentUserResult()) u->currentScanPosition = time;
}

void CSpecView::OnInitialUpdate() {
    if (initialised_) return;
    initialised_ = true;
    CreatePlotControl(QRect(15, 15, 100, 100), QString());
    layoutChildren();
    // The first point of the current trace becomes the current scan.
    CVXUserResult* u = currentUserResult();
    if (u && !u->chro.points.empty()) {
        if (u->currentScanPosition < 0) u->currentScanPosition = u->chro.points.front().dPosition;
        GetDocument()->UpdateAllViews(nullptr, kHintScanRange);
    } else {
        SetNoDataText(QString::fromLatin1(kClickToSelect));
    }
    Redraw();
    updateToolBar();
}

void CSpecView::OnPlotArrowKey(bool right) {
    if (right)
        ShowNextScan();
    else
        ShowPreviousScan();
}

void CSpecView::OnUpdate(CZarView*, int hint) {
    CVXUserResult* u = currentUserResult();
    if (!u) return;
    detectorType_ = u->chro.detectorType;
    Guarded("loading the spectrum", [&] {
        if (detectorType_ == kVXMSDevice) {
            if (hint == kHintPlotLayout) SetDataValid(false);
            if (hint == kHintScanRange || hint == kHintRefillResults ||
                hint == kHintDisplaySettings || hint == kHintZarmassLayout ||
                hint == kHintDeconvolution || hint == kHintPlotLayout) {
                loadMsSpectrum();
                SetNoDataText(QString::fromLatin1(kClickToView));
                Redraw();
            }
        } else if (detectorType_ == kVXPDADevice) {
            if (hint == kHintPlotLayout) SetDataValid(false);
            if (hint == kHintScanRange || hint == kHintRefillResults ||
                hint == kHintDisplaySettings || hint == kHintPlotLayout) {
                loadPdaSpectrum();
                SetNoDataText(QString::fromLatin1(kClickToSelect));
                Redraw();
            }
        } else {
            SetNoDataText(QString::fromLatin1(kNoSpectralData));
            SetDataValid(false);
            Redraw();
        }
    });
    updateToolBar();
}

bool CSpecView::readSpectrumAt(double time) {
    CZarDoc* doc = GetDocument();
    if (!doc) return false;
    // The scan of that time among those the trace was read from.
    CVXUserResult* u = currentUserResult();
    const CVXFilter* filter = u && !u->chro.filter.IsAcceptAll() ? &u->chro.filter : nullptr;
    return doc->ReadSpectrum(0, 1, filter, time, &spectrum_, &spectrum_.filter);
}

double CSpecView::spectrumTime() const {
    // While the deconvolution works on a scan of a deconvolution run, that scan is shown.
    const CZarmassSheetTarget* sheet = OpenZarmassSheet();
    CZarDoc* doc = GetDocument();
    const CVXResults* r = doc ? doc->GetCurrentResults() : nullptr;
    if (sheet && sheet->IsDeconvolutionPageActive() && doc->GetZarmassDeconvolution() && r &&
        r->typeCode == kZarmassResultsType)
        return doc->GetZarmassDeconvolution()->GetScanTime();
    return currentScanTime();
}

void CSpecView::loadMsSpectrum() {
    const double time = spectrumTime();
    if (time < 0.0) {
        SetDataValid(false);
        return;
    }
    spectrum_.Empty();
    readSpectrumAt(time);
    HandOver("loading the spectrum", [this](CSpec& c) {
        SendSpectrumToControl(c);
        c.Call(&ISpec::put_EnableManualZoom, 1);
    });
}

void CSpecView::loadPdaSpectrum() {
    // The run reader holds the mass spectrometer only: a PDA trace has no spectra to read.
    if (currentScanTime() < 0.0) {
        SetDataValid(false);
        Redraw();
        return;
    }
    spectrum_.Empty();
    HandOver("loading the spectrum", [this](CSpec& c) {
        SendSpectrumToControl(c);
        c.Call(&ISpec::put_EnableManualZoom, 1);
    });
}

void CSpecView::SendSpectrumToControl(CSpec& c) {
    CVXSpecDisplay scratch;
    CVXSpecDisplay* d = GetSpecDisplay();
    if (!d) d = &scratch;
    // 1. The segment the zoom window falls in.
    const int selected = SelectDisplaySegment(spectrum_, *d);
    // 2-3. The deconvolution's ion labels.
    SendZarmassLabels(c, GetDocument(), spectrum_.peaks);
    // 4-5. Segment sizes and peaks: all segments, or the selected one alone.
    SendSpectrumPeaks(c, spectrum_, selected);
    // 6-8. File name, header, filter.
    CZarDoc* doc = GetDocument();
    const SpectrumFilterPass filter = detectorType_ == kVXMSDevice    ? SpectrumFilterPass::Record
                                      : detectorType_ == kVXPDADevice ? SpectrumFilterPass::Null
                                                                      : SpectrumFilterPass::Skip;
    SendSpectrumHeader(c, spectrum_, doc ? doc->GetRawFilePath() : QString(), filter);
    // 9-12. Style, axis titles, scale type, axis limits.
    applyStyle(c);
    CVXUserResult* u = currentUserResult();
    const CVXChroDisplay titles = u ? u->chroDisplay : CVXChroDisplay();
    SendSpectrumAxes(c, spectrum_, *d,
                     {titles.XAxisSpectraLabel(), titles.YAxisAbsoluteLabel(),
                      titles.YAxisRelativeLabel()});
    // 13.
    c.Call(&ISpec::put_DataValid, 1);
}

void CSpecView::OnMassRangeShown(double low, double high) {
    if (CZarmassSheetTarget* sheet = OpenZarmassSheet()) sheet->SetTrackedMassRange(low, high);
}

void CSpecView::applyStyle(CSpec& c) {
    const CVXSpecDisplay* d = GetSpecDisplay();
    SendSpectrumStyle(c, spectrum_, d ? *d : CVXSpecDisplay(), detectorType_);
}

void CSpecView::ApplyXLimits(CSpec& c) {
    CVXSpecDisplay* d = GetSpecDisplay();
    if (!d) return;
    // A window in another segment, or zoomed into one segment before (the other segments were
    // left out of the control): the spectrum goes to the control again.
    if ((d->xZoomed && spectrum_.segmentSizes.size() > 1) ||
        (!d->xZoomed && d->selectedSegment >= 0))
        SendSpectrumToControl(c);
    SendSpectrumXLimits(c, spectrum_, *d);
}

void CSpecView::ShowPreviousScan() {
    StepToPreviousScan(GetDocument());
}

void CSpecView::ShowNextScan() {
    StepToNextScan(GetDocument());
}

void CSpecView::OnPeakPicked(double mass, double intensity) {
    if (CZarmassSheetTarget* sheet = OpenZarmassSheet(); sheet && sheet->IsCalculationPageActive())
        sheet->SetSelectedMass(mass);
    emit peakPicked(mass, intensity);
}

bool CSpecView::IsCommandEnabled(int id) const {
    if (IsZoomCommand(id)) return IsZoomCommandEnabled(id);
    const bool valid = DataValid();
    switch (id) {
        case ID_PLOT_SPEC_PRINT:
        case ID_PLOT_SPEC_COPY:
        case ID_PLOT_EXPORT_EXACT_MASS:
        case ID_PLOT_EXPORT_NOMINAL_MASS:
        case ID_PLOT_EXPORT_PALLISADE:
            return valid;
        case ID_PLOT_PREVIOUS_SCAN:
        case ID_PLOT_NEXT_SCAN:
            return IsScanStepEnabled(id, GetDocument(), valid, Control() != nullptr);
        default:
            return true;
    }
}

void CSpecView::OnCommand(int id) {
    if (RunZoomCommand(id)) return;
    Guarded("a command", [&] {
        if (RunScanStepCommand(id, GetDocument())) return;
        switch (id) {
            case ID_PLOT_SPEC_COPY:
                CopyPicture();
                break;
            case ID_PLOT_SPEC_PRINT:
                PrintWithDialog();
                break;
            case ID_PLOT_DISPLAY_OPTIONS:
                OnDisplayOptions();
                break;
            case ID_PLOT_EXPORT_EXACT_MASS:
                ExportSpectrumText(true, QString());
                break;
            case ID_PLOT_EXPORT_NOMINAL_MASS:
                ExportSpectrumText(false, QString());
                break;
            case ID_PLOT_EXPORT_PALLISADE: {
                if (IsPallisadeInstalled()) {
                    // One copy of the program is started and kept for the session.
                    static QPointer<QProcess> running;
                    if (!running || running->state() == QProcess::NotRunning) {
                        const QString program =
                            JoinPath(GetPallisadePath(), QStringLiteral("Pallisade"));
                        auto* p = new QProcess(qApp);
                        p->setWorkingDirectory(GetPallisadePath());
                        p->start(program, {});
                        if (!p->waitForStarted(3000)) {
                            delete p;
                            ZarMessageBox(
                                QStringLiteral("Pallisade 2.0 failed to start.\nPlease verify that "
                                               "your installation is correct."),
                                MB_OK | MB_ICONEXCLAMATION);
                            break;
                        }
                        running = p;
                    }
                }
                ExportSpectrumText(true, QStringLiteral("PX"));
                break;
            }
            case ID_PLOT_ZARMASS:
            case ID_PLOT_SORVEX_SEARCH:
            case ID_PLOT_SORVEX_DTA:
                if (CMainFrame* frame = CMainFrame::GetMainFrame()) RunFrameCommand(id, *frame);
                break;
            default:
                break;
        }
    });
    Redraw();
    updateToolBar();
}

void CSpecView::OnDisplayOptions() {
    CVXSpecDisplay* d = GetSpecDisplay();
    if (!d) return;
    CSpecDisplayOptionsDialog dialog(this);
    dialog.display.copy_object(*d);
    if (dialog.DoModal() != QDialog::Accepted) return;
    CZarDoc* doc = GetDocument();
    ApplySpecDisplayOptions(dialog, *d, doc ? doc->GetCurrentResults() : nullptr);
    HandOver("styling", [this](CSpec& c) { applyStyle(c); });
}

bool CSpecView::ExportSpectrumText(bool exact, const QString& tag) {
    if (spectrum_.peaks.empty() && spectrum_.header.data.nScanNumber == 0) return false;
    CZarDoc* doc = GetDocument();
    SpectrumTextHeader header;
    header.scan = spectrum_.header.data.nScanNumber;
    header.retentionTime = spectrum_.header.data.dRT;
    const CVXMassDefect defect =
        doc && doc->GetFileHolder() ? doc->GetFileHolder()->massDefect : CVXMassDefect();
    return SpectrumToText(tag, doc ? doc->GetRawFilePath() : QString(), &spectrum_.filter, header,
                          spectrum_.peaks, exact, defect);
}

void CSpecView::PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY,
                          bool landscape) {
    PrintSpectrum(painter, page, dpiX, dpiY, landscape);
}

std::unique_ptr<QMenu> CSpecView::BuildContextMenu() {
    CVXSpecDisplay* d = GetSpecDisplay();
    if (!d) return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    const auto run = [this](int command) { OnCommand(command); };
    auto add = [&run](QMenu* m, int id, const char* text) {
        return AddCommandItem(m, id, text, run);
    };
    add(menu.get(), ID_PLOT_SPEC_COPY, "&Copy");
    add(menu.get(), ID_PLOT_SPEC_PRINT, "&Print...");
    QMenu* exportMenu = menu->addMenu(QStringLiteral("&Export"));
    add(exportMenu, ID_PLOT_EXPORT_EXACT_MASS, "Clipboard (&Exact Mass)");
    add(exportMenu, ID_PLOT_EXPORT_NOMINAL_MASS, "Clipboard (&Nominal Mass)");
    if (IsPallisadeInstalled()) add(exportMenu, ID_PLOT_EXPORT_PALLISADE, "&Pallisade");
    menu->addSeparator();
    AddZoomItems(menu.get(), run);
    menu->addSeparator();
    add(menu.get(), ID_PLOT_DISPLAY_OPTIONS, "&Display Options...");
    menu->addSeparator();
    AddSearchItems(menu.get(), run);

    const bool valid = DataValid();
    CZarDoc* doc = GetDocument();
    const int type = doc && doc->GetCurrentResults() ? doc->GetCurrentResults()->typeCode : 0;
    ForEachCommandItem(menu.get(), [&](QAction* a, int id) {
        bool on = true;
        switch (id) {
            case ID_PLOT_ZOOM_OUT_X:
            case ID_PLOT_DISPLAY_ALL:
                on = valid && d->xZoomed;
                break;
            case ID_PLOT_ZOOM_OUT_Y:
            case ID_PLOT_NORMALIZE:
                on = valid && d->yZoomed;
                break;
            case ID_PLOT_RESET_SCALING:
                on = valid && (d->xZoomed || d->yZoomed);
                break;
            case ID_PLOT_SPEC_COPY:
            case ID_PLOT_SPEC_PRINT:
            case ID_PLOT_EXPORT_EXACT_MASS:
            case ID_PLOT_EXPORT_NOMINAL_MASS:
            case ID_PLOT_EXPORT_PALLISADE:
            case ID_PLOT_ZOOM_IN_X:
            case ID_PLOT_ZOOM_IN_Y:
                on = valid;
                break;
            case ID_PLOT_DISPLAY_OPTIONS:
                on = valid;
                break;
            // The search and deconvolution items are the main window's commands: enabled only
            // when something answers them.
            case ID_PLOT_SORVEX_DTA:
            case ID_PLOT_SORVEX_SEARCH:
                on = type == 1 && HasFrameCommand(id);
                break;
            case ID_PLOT_ZARMASS:
                on = (type == 1 || type == 6) && HasFrameCommand(id);
                break;
            default:
                break;
        }
        a->setEnabled(on);
    });
    return menu;
}

void CSpecView::contextMenuEvent(QContextMenuEvent* event) {
    ShowContextMenu(event->globalPos());
}

void CSpecView::resizeEvent(QResizeEvent* event) {
    CZarViewWidget::resizeEvent(event);
    layoutChildren();
}

void CSpecView::layoutChildren() {
    const int barHeight = toolBar_->sizeHint().height();
    toolBar_->setGeometry(0, 0, width(), barHeight);
    barHeight_ = barHeight;
    if (Control())
        Control()->setGeometry(2, barHeight + 2, std::max(0, width() - 4),
                              std::max(0, height() - barHeight - 4));
}

void CSpecView::updateToolBar() {
    toolBar_->OnIdleUpdateCmdUI([this](int id) { return IsCommandEnabled(id); });
    CommandStateChanged();
}

}  // namespace zar
