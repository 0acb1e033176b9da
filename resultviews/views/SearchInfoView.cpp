#include "SearchInfoView.h"

#include "app/plotwrappers/PlotWrappers.h"
#include "core/Paths.h"
#include "document/SearchResults.h"
#include "document/TextHelpers.h"
#include "document/hub/PlotRange.h"
#include "document/hub/ZarDoc.h"
#include "resultviews/ResultsStatusDlg.h"
#include "resultviews/ResultsWindow.h"
#include "resultviews/views/LookupFormView.h"
#include "spectrumviews/views/PaneSupport.h"
#include "spectrumviews/views/PlotFeeding.h"
#include "spectrumviews/views/SpectrumPanes.h"
#include "spectrumviews/views/ViewCommands.h"

#include "gui/PrintJob.h"
#include <QApplication>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QShortcut>
#include <QThread>

#include <algorithm>
#include <cstring>

namespace zar {

using namespace ZAR_PLOTLib;

namespace {

// The loader's result, posted to the view's own receiver.
constexpr unsigned kMsgSearchInfoLoaded = WM_USER + 0x310;
constexpr int kCmdPrint = 57607;
constexpr int kCmdPrintDirect = 57608;
// The control's place on the form (left, top, right, bottom).
const QRect kControlRect(QPoint(10, 80), QPoint(850, 420));

// The statics' first texts, by position in kStaticIds.
const char* const kCaptions[] = {
    "Database:",           "Enzyme:",    "Precursor mass:",    "Charge:",
    "Fragment tolerance:", "Mass type:", "Search information:"};

}  // namespace

CSearchInfoView::CSearchInfoView(CResultsWindow* owner, QWidget* parent)
    : CResultsFormView(owner, parent),
      CPlotPane(this, "Search information"),
      scrollBar_(new QScrollBar(Qt::Horizontal, this)),
      receiver_(new MessageReceiver(this)) {
    setObjectName(QStringLiteral("CSearchInfoView"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    for (std::size_t i = 0; i < statics_.size(); ++i) {
        statics_[i] = new QLabel(QString::fromLatin1(kCaptions[i]), this);
        statics_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    // Database, enzyme and mass type on the left; precursor, charge and tolerance on the right;
    // the search line across.
    layout->addWidget(statics_[0], 0, 0);
    layout->addWidget(statics_[1], 1, 0);
    layout->addWidget(statics_[5], 2, 0);
    layout->addWidget(statics_[2], 0, 1);
    layout->addWidget(statics_[3], 1, 1);
    layout->addWidget(statics_[4], 2, 1);
    layout->addWidget(statics_[6], 3, 0, 1, 2);
    layout->setRowStretch(4, 1);
    layout->addWidget(scrollBar_, 5, 0, 1, 2);
    layout->setRowMinimumHeight(4, kControlRect.height());
    AttachMassScrollBar(scrollBar_);
    receiver_->messageMap().on(kMsgSearchInfoLoaded, [this](const Message& m) -> LRESULT {
        if (m.payload)
            if (auto* load = std::any_cast<SearchInfoLoad>(m.payload)) takeLoad(std::move(*load));
        return 0;
    });
    auto* print = new QShortcut(QKeySequence::Print, this, [this] { OnFilePrint(); });
    print->setContext(Qt::WidgetWithChildrenShortcut);
    display_.style = CVXSpecDisplay::kStick;
}

CSearchInfoView::~CSearchInfoView() {
    // The loader's result goes with the receiver.
    if (loader_.joinable()) loader_.join();
    if (loading_) QApplication::restoreOverrideCursor();
}

void CSearchInfoView::OnInitialUpdate() {
    if (!initialised_) {
        initialised_ = true;
        if (CreatePlotControl(kControlRect, QStringLiteral("No spectral data available"))) {
            Control()->setMinimumSize(300, 200);
            static_cast<QGridLayout*>(layout())->addWidget(Control(), 4, 0, 1, 2);
            Redraw();
        }
    }
    UpdateMassScrollBar();
}

QString CSearchInfoView::StaticText(int id) const {
    for (std::size_t i = 0; i < kStaticIds.size(); ++i)
        if (kStaticIds[i] == id) return statics_[i]->text();
    return QString();
}

void CSearchInfoView::clearStatics() {
    for (std::size_t i = 0; i < statics_.size(); ++i)
        statics_[i]->setText(QString::fromLatin1(kCaptions[i]));
}

void CSearchInfoView::ShowSearchInfo(const SelectedResult& item) {
    kind_ = item.kind;
    const CSearchResults* set = ReadyResultsOfKind(item.kind);
    const SearchHitRecord* hit = set ? TargetOfResult(*set, item) : nullptr;
    hit_ = hit ? hit->hitNumber() : HitNumber();
    if (!hit) return;
    if (Owner())
        Owner()->SetTitle(QStringLiteral("SearchParameters - ") + hit->fileInformation.trimmed());
    Request request;
    request.kind = item.kind;
    request.hit = hit_;
    request.fileInformation = hit->fileInformation;
    request.monoisotopic = hit->monoisotopicPrecursor != 0;
    if (!hit->path.isEmpty()) {
        request.folder = FolderOf(hit->path);
        request.file = FileNameOf(hit->path);
    } else {
        QString name = hit->fileInformation.trimmed();
        if (name.endsWith(QLatin1String(".out"), Qt::CaseInsensitive)) name.chop(4);
        request.folder = set->GetDirectory();
        request.file = name;
    }
    if (loading_) {
        // The newest request runs once the running load has ended.
        pending_ = request;
        return;
    }
    startLoad(request);
}

void CSearchInfoView::startLoad(const Request& request) {
    if (loader_.joinable()) loader_.join();
    loading_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    clearStatics();
    loader_ = std::thread([request, receiver = receiver_] {
        CDatabaseSearch search(QString(),
                               request.folder.isEmpty() ? QStringLiteral(".") : request.folder);
        SearchInfoLoad load;
        load.fileInformation = request.fileInformation;
        const bool massmap = request.kind == kResultKindMassmap;
        load.info = massmap ? search.ReadSearchInfo(request.file, request.monoisotopic)
                            : search.ReadSearchInfo2(request.file, request.monoisotopic);
        // A spectrum that cannot be read still leaves the search's settings to show.
        SearchInfoText text;
        if (!load.info &&
            ReadSearchInfoText(
                JoinPath(search.resultsDirectory(), request.file + QStringLiteral(".out")),
                massmap ? OutHeaderLayout::PeptideMapping : OutHeaderLayout::SearchEngine, text))
            load.header = text;
        PostMessage(receiver, kMsgSearchInfoLoaded, 0, 0, std::move(load));
    });
}

void CSearchInfoView::takeLoad(SearchInfoLoad load) {
    if (loader_.joinable()) loader_.join();
    loading_ = false;
    QApplication::restoreOverrideCursor();
    if (pending_) {
        // A newer request came meanwhile: this file is no longer the one to show.
        const Request next = *pending_;
        pending_.reset();
        startLoad(next);
        return;
    }
    if (!load.info && !load.header) {
        loadSpectrum({});
        return;
    }
    const SearchInfoText& t = load.info ? load.info->text : *load.header;
    const QString texts[] = {t.database, t.enzyme,   t.precursor, t.charge,
                             t.fragment, t.massType, t.search};
    for (std::size_t i = 0; i < statics_.size(); ++i) statics_[i]->setText(texts[i]);
    // The scans and the charge after the base name: "base.first.last.charge".
    const QStringList parts = GetTextAfterDot(load.fileInformation).split(QLatin1Char('.'));
    firstScan_ = parts.value(0).trimmed().toInt();
    CZarDoc* doc = CZarDoc::GetDoc();
    retentionTime_ = doc && firstScan_ > 0 ? doc->ScanToRetentionTime(firstScan_) : 0.0;
    loadSpectrum(load.info ? load.info->spectrum : std::vector<DtaPeak>());
}

void CSearchInfoView::loadSpectrum(const std::vector<DtaPeak>& dta) {
    spectrum_.Empty();
    display_.xZoomed = 0;
    display_.yZoomed = 0;
    std::vector<DtaPeak> peaks = dta;
    std::stable_sort(peaks.begin(), peaks.end(),
                     [](const DtaPeak& a, const DtaPeak& b) { return a.mz < b.mz; });
    total_ = 0.0;
    if (peaks.empty()) {
        fullLow_ = 0.0;
        fullHigh_ = 100.0;
        lowest_ = lowestMz_ = highest_ = highestMz_ = base_ = 0.0;
        HandOver("clearing the spectrum", [](CSpec& c) { c.Call(&ISpec::put_DataValid, 0); });
        UpdateMassScrollBar();
        OnZoomChanged();
        return;
    }
    fullLow_ = peaks.front().mz;
    fullHigh_ = peaks.back().mz;
    lowest_ = highest_ = peaks.front().intensity;
    lowestMz_ = highestMz_ = peaks.front().mz;
    for (const DtaPeak& p : peaks) {
        total_ += p.intensity;
        if (p.intensity < lowest_) {
            lowest_ = p.intensity;
            lowestMz_ = p.mz;
        }
        if (p.intensity > highest_) {
            highest_ = p.intensity;
            highestMz_ = p.mz;
        }
    }
    base_ = highest_;
    CVXSpectrumHeaderData& h = spectrum_.header.data;
    h.nScanNumber = firstScan_;
    h.bIsCentroid = 1;
    h.dRT = retentionTime_;
    h.dTIC = total_;
    h.dMinPeakIntensity = lowest_;
    h.dMinPeakMass = lowestMz_;
    h.dBasePeakIntensity = base_;
    h.dBasePeakMass = highestMz_;
    h.dLowMass = fullLow_;
    h.dHighMass = fullHigh_;
    h.bScanRangeValid = 1;
    h.nFirstScanNumber = h.nLastScanNumber = firstScan_;
    h.dStartRT = h.dEndRT = retentionTime_;
    spectrum_.massRanges = {CVX_MassRange{fullLow_, fullHigh_}};
    spectrum_.segmentSizes = {static_cast<int>(peaks.size())};
    for (const DtaPeak& p : peaks) spectrum_.peaks.push_back({p.mz, p.intensity, 0.0f, firstScan_});
    HandOver("showing the spectrum", [this](CSpec& c) {
        SendSpectrumToControl(c);
        c.Call(&ISpec::put_EnableManualZoom, 1);
    });
    UpdateMassScrollBar();
    OnZoomChanged();
}

void CSearchInfoView::SendSpectrumToControl(CSpec& c) {
    std::vector<std::int32_t> sizes(spectrum_.segmentSizes.begin(), spectrum_.segmentSizes.end());
    VXPlot_MassRange range{fullLow_, fullHigh_};
    std::vector<VXPlot_DataPeak> peaks = PlotPeaks(spectrum_.peaks.data(), spectrum_.peaks.size());
    c.Call(&ISpec::SetPeakData, sizes.data(), &range, 1, peaks.data(),
           static_cast<std::int32_t>(peaks.size()));
    const CZarDoc* doc = CZarDoc::GetDoc();
    const QString file = doc ? doc->GetRawFilePath() : QString();
    c.Call(&ISpec::put_FileName, WideText(file));
    VXPlot_SpectrumHeader header;
    static_assert(sizeof(header) == sizeof(spectrum_.header.data));
    std::memcpy(&header, &spectrum_.header.data, sizeof(header));
    c.Call(&ISpec::SetScanHeader, &header, 0);
    VXPlot_SpecStyle style{};
    style.eStyle = display_.style == CVXSpecDisplay::kProfile ? VXPlot_SpecPlotStyle(1)
                                                              : VXPlot_SpecPlotStyle(2);
    style.bShowLabels = display_.showLabels;
    style.dLabelThreshold = display_.labelThreshold;
    style.bOffsetLabels = display_.offsetLabels;
    style.fLabelOffset = display_.labelOffset;
    style.bRotateLabels = display_.rotateLabels;
    c.Call(&ISpec::SetStyle, &style);
    // The axis titles of the open run, else the program's own.
    CVXResults* results = doc ? doc->GetCurrentResults() : nullptr;
    const CVXUserResult* user = results ? results->GetCurrentUserResult() : nullptr;
    const CVXChroDisplay titles = user ? user->chroDisplay : CVXChroDisplay();
    const QString x = titles.XAxisSpectraLabel();
    const QString absolute = titles.YAxisAbsoluteLabel();
    const QString relative = titles.YAxisRelativeLabel();
    c.Call(&ISpec::SetAxisLabels, WideText(x), WideText(absolute), WideText(relative),
           static_cast<LPCWSTR>(nullptr), static_cast<LPCWSTR>(nullptr));
    c.Call(&ISpec::SetYAxisScaleType, static_cast<VXPlot_YAxisScaleType>(display_.yAxisScaleType));
    UpdateMassScrollBar();
    ApplyXLimits(c);
    ApplyYLimits(c);
    c.Call(&ISpec::put_DataValid, 1);
}

void CSearchInfoView::ApplyYLimits(CSpec& c) {
    const VisibleRange v = ComputeVisibleRange(display_.yZoomed != 0, display_.yStart,
                                               display_.yEnd, PlotRange{lowest_, highest_});
    c.Call(&ISpec::SetYAxisLimits, base_, v.start, v.end, v.startPercent, v.endPercent);
}

CSearchInfoView::ScrollBox CSearchInfoView::ScrollBoxFor(double fullLow, double fullHigh,
                                                         double shownLow, double shownHigh) {
    ScrollBox box;
    const double width = fullHigh - fullLow;
    if (!(width > 0.0)) return box;  // nothing to scroll
    box.page = std::clamp(static_cast<int>((shownHigh - shownLow) * 100.0 / width) + 1, 1, 100);
    box.position = std::clamp(static_cast<int>((shownLow - fullLow) * 100.0 / width), 0, 100);
    return box;
}

int CSearchInfoView::LineLeft(int position) {
    return PercentScrollTarget(PercentScroll::LineBack, position, 0, 0, 100);
}

int CSearchInfoView::LineRight(int position, int page) {
    return std::max(0, PercentScrollTarget(PercentScroll::LineForward, position, page, 0, 100));
}

bool CSearchInfoView::HasData() const {
    return DataValid();
}

bool CSearchInfoView::IsCommandEnabled(int id) const {
    switch (id) {
        case ID_PLOT_ZOOM_IN_Y:
        case ID_PLOT_ZOOM_IN_X:
        case kCmdPrint:
        case kCmdPrintDirect:
            return true;
        case ID_PLOT_ZOOM_OUT_Y:
        case ID_PLOT_NORMALIZE:
        case ID_PLOT_ZOOM_OUT_X:
        case ID_PLOT_DISPLAY_ALL:
        case ID_PLOT_RESET_SCALING:
            return IsZoomCommandEnabled(id);
        default:
            return false;
    }
}

void CSearchInfoView::OnCommand(int id) {
    if (id == kCmdPrint || id == kCmdPrintDirect) {
        OnFilePrint();
        return;
    }
    RunZoomCommand(id);
}

void CSearchInfoView::OnZoomChanged() {
    // What the window's zoom commands may do follows the zoom and the data.
    if (Owner()) Owner()->UpdateCommandUI();
}

std::unique_ptr<QMenu> CSearchInfoView::BuildContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    AddZoomItems(menu.get(), [this](int id) { OnCommand(id); });
    menu->addSeparator();
    QAction* print = menu->addAction(QStringLiteral("&Print...\tCtrl+P"), this,
                                     [this] { OnCommand(kCmdPrint); });
    print->setData(kCmdPrint);
    ForEachCommandItem(menu.get(),
                       [this](QAction* a, int id) { a->setEnabled(IsCommandEnabled(id)); });
    return menu;
}

void CSearchInfoView::contextMenuEvent(QContextMenuEvent* e) {
    ShowContextMenu(e->globalPos());
}

void CSearchInfoView::OnFilePrint() {
    QPrinter printer;
    if (ChooseReportPrinter(printer, this, Title())) PrintReport(printer);
}

bool CSearchInfoView::PrintReport(QPrinter& printer) {
    QPainter painter;
    if (!BeginPrinting(painter, printer)) return false;
    const int dpi = printer.resolution();
    const QRect paper = printer.pageLayout().paintRectPixels(dpi);
    const PrintedPage p =
        LayOutPrintedPage(QRect(0, 0, paper.width(), paper.height()), dpi, dpi,
                          printer.pageLayout().orientation() == QPageLayout::Landscape);
    const CZarDoc* doc = CZarDoc::GetDoc();
    if (doc) {
        doc->PrintPageHeader(painter, p.header, dpi, dpi);
        doc->PrintPageFooter(painter, StaticText(8942), QString(), 1, 1, p.footer, dpi, dpi);
    }
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, 10 * dpi / 72));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int line = painter.fontMetrics().height();
    int y = p.plot.top() + painter.fontMetrics().ascent();
    for (int id : kStaticIds) {
        painter.drawText(p.plot.left(), y, StaticText(id));
        y += line;
    }
    bool drawn = true;
    if (!spectrum_.peaks.empty()) {
        // A hidden control of its own draws the spectrum into the rest of the page.
        CSpec offscreen;
        drawn = offscreen.Create(this, QRect(-50, -50, 25, 25), 0, false);
        if (drawn) {
            Guarded("printing", [&] {
                offscreen.Call(&ISpec::Initialize);
                SendSpectrumToControl(offscreen);
                std::uintptr_t dc = reinterpret_cast<std::uintptr_t>(&painter);
                tagRECT target{p.plot.left(), y + line, p.plot.right() + 1, p.plot.bottom() + 1};
                offscreen.Call(&ISpec::Draw, &dc, &dc, 1, &target, 0);
            });
        }
    }
    return EndPrinting(painter, printer) && drawn;
}

bool CSearchInfoView::WaitUntilIdle(int milliseconds) {
    return ProcessEventsWhile([this] { return loading_ || pending_.has_value(); }, milliseconds);
}

}  // namespace zar
