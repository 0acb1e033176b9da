#include "DisplayIonsView.h"

#include "PaneSupport.h"
#include "PlotFeeding.h"
#include "SegmentCtrl.h"
#include "SpectrumPanes.h"
#include "ViewCommands.h"
#include "app/FrameCommands.h"
#include "app/ZarApp.h"
#include "app/grids/DisplayGrids.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "core/Log.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "databases/DatabaseSearch.h"
#include "document/MassmapResults.h"
#include "document/MultiConsensusResults.h"
#include "document/SearchResults.h"
#include "document/SorvexResults.h"
#include "document/hub/PlotRange.h"
#include "document/hub/ZarDoc.h"
#include "gui/PrintJob.h"
#include "resultviews/ResultsWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace zar {

using namespace ZAR_PLOTLib;

namespace {

// The worker's result, posted to the page's own receiver.
constexpr unsigned kMsgIonsReady = WM_USER + 0x300;

// The hit's spectrum file: its ".out" name with ".dta".
QString DtaFileName(const SearchHitRecord& hit) {
    QString name = hit.path.isEmpty() ? hit.fileInformation.trimmed() : FileNameOf(hit.path);
    if (name.endsWith(QLatin1String(".out"), Qt::CaseInsensitive)) name.chop(4);
    return name + QStringLiteral(".dta");
}

// The ion series the hit was searched with; a hit whose file names none gets the request's
// usual b and y ions rather than an empty table.
int IonSeriesOf(const SearchHitRecord& hit) {
    const int series = hit.ionSeriesFlags & (kIonSeriesA | kIonSeriesB | kIonSeriesY);
    return series != 0 ? series : DtaIonRequest().ionSeries;
}

CSearchResults* ResultSetOfKind(CZarDoc* doc, int kind) {
    if (!doc) return nullptr;
    switch (kind) {
        case 1:
            return doc->GetSorvexResults();
        case 2:
            return doc->GetMassmapResults();
        case 3:
            return doc->GetMultiConsensusResults();
        default:
            return nullptr;
    }
}

}  // namespace

CDisplayIonsView::CDisplayIonsView(CResultsWindow* owner, QWidget* parent)
    : CResultsFormView(owner, parent),
      CPlotPane(this, "Display ions"),
      charge_(new QComboBox(this)),
      dtaFile_(new QLabel(QStringLiteral("Dta file:"), this)),
      precursorLabel_(new QLabel(QStringLiteral("Precursor mass: "), this)),
      massTypeLabel_(new QLabel(QStringLiteral("Mass type: "), this)),
      grid_(new CDisplayIonsGrid(this)),
      segments_(new CSegmentCtrl(this)),
      scrollBar_(new QScrollBar(Qt::Horizontal, this)),
      receiver_(new MessageReceiver(this)) {
    setObjectName(QStringLiteral("CDisplayIonsView"));
    auto* layout = new QGridLayout(this);
    auto* top = new QHBoxLayout;
    auto* chargeLabel =
        new QLabel(QStringLiteral("&Display the ion series for charge state:"), this);
    chargeLabel->setBuddy(charge_);
    top->addWidget(chargeLabel);
    top->addWidget(charge_);
    top->addStretch();
    layout->addLayout(top, 0, 0, 1, 2);
    layout->addWidget(dtaFile_, 1, 0, 1, 2);
    auto* statics = new QHBoxLayout;
    statics->addWidget(precursorLabel_);
    statics->addWidget(massTypeLabel_);
    statics->addStretch();
    layout->addLayout(statics, 2, 0, 1, 2);
    layout->addWidget(grid_, 3, 0, 3, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(3, 1);
    layout->addWidget(segments_, 4, 1);
    layout->addWidget(scrollBar_, 5, 1);
    scrollBar_->setRange(0, 0);
    connect(charge_, &QComboBox::activated, this, &CDisplayIonsView::OnSelChangeCharge);
    AttachMassScrollBar(scrollBar_);
    receiver_->messageMap().on(kMsgIonsReady, [this](const Message& m) -> LRESULT {
        if (m.payload) {
            if (auto* r = std::any_cast<DisplayIonsResult>(m.payload)) takeResult(std::move(*r));
        }
        return 0;
    });
    display_.style = CVXSpecDisplay::kStick;
}

CDisplayIonsView::~CDisplayIonsView() {
    // The worker's result is dropped with the receiver; its wait cursor ends here.
    if (worker_.joinable()) worker_.join();
    if (busy_) QApplication::restoreOverrideCursor();
}

void CDisplayIonsView::OnInitialUpdate() {
    grid_->SetRowCount(rowCount_);
    grid_->SetColCount(6);
    grid_->SetColWidth(1, 24);
    grid_->SetColWidth(6, 24);
    grid_->SetColWidth(2, 20);
    // Wide enough for the ion masses as the table writes them ("%.13g").
    for (int c = 3; c <= 5; ++c) grid_->SetColWidth(c, kIonColumnWidth);
    grid_->SetValueRange(0, 2, QStringLiteral("AA"));
    grid_->SetValueRange(0, 3, QStringLiteral("A Ions"));
    grid_->SetValueRange(0, 4, QStringLiteral("B Ions"));
    grid_->SetValueRange(0, 5, QStringLiteral("Y Ions"));
    CGXStyle numbers;
    numbers.setInterior(QColor(0xEB, 0xEB, 0xEB));
    grid_->SetStyleRange(CGXRange::cells(1, 1, rowCount_, 1), numbers);
    grid_->SetStyleRange(CGXRange::cells(1, 6, rowCount_, 6), numbers);

    if (!Control() &&
        CreatePlotControl(QRect(0, 0, 300, 200), QStringLiteral("No spectral data available"))) {
        Control()->setMinimumSize(200, 150);
        static_cast<QGridLayout*>(layout())->addWidget(Control(), 3, 1);
    }
    if (!segmentsInitialised_) {
        segments_->Initialize(palette().color(QPalette::Button), QColor(0xFF, 0xFF, 0x80),
                              10.0 * 10.0);
        segments_->SetSegmentCount(0);
        segmentsInitialised_ = true;
    }
    UpdateScrollBar();
    UpdateSegmentControl(lowMass_, highMass_);
    if (charge_->count() == 0) {
        for (int z = 1; z <= kChargeCount; ++z) charge_->addItem(QStringLiteral("+%1").arg(z));
        charge_->setCurrentIndex(0);
    }
}

void CDisplayIonsView::SetRowCount(WPARAM rows, LPARAM second) {
    if (second != 1) FillIonsGrid(static_cast<int>(rows));
}

void CDisplayIonsView::FillIonsGrid(int rows) {
    if (rows <= 0 || rows <= rowCount_) return;
    rowCount_ = rows;
    grid_->SetRowCount(rows);
    CGXStyle numbers;
    numbers.setInterior(QColor(0xEB, 0xEB, 0xEB));
    grid_->SetStyleRange(CGXRange::cells(1, 1, rows, 1), numbers);
    grid_->SetStyleRange(CGXRange::cells(1, 6, rows, 6), numbers);
    grid_->SetValueRange(0, 1, QString());
    grid_->SetValueRange(0, 6, QString());
}

void CDisplayIonsView::SetMassList(const std::vector<double>& masses) {
    massList_ = masses;
    UpdateSegmentControl(lowMass_, highMass_);
}

void CDisplayIonsView::SetDtaFile(const SelectedResult& item, const QString& sequence) {
    kind_ = item.kind;
    hit_ = item.hit;
    sequenceOverride_ = sequence;
    LoadDtaFile(kind_, hit_, sequenceOverride_);
}

void CDisplayIonsView::LoadDtaFile(int kind, HitNumber number, const QString& sequence) {
    grid_->ClearCells(CGXRange::cells(1, 1, std::max(1, grid_->GetRowCount()), 6));
    CSearchResults* set = ResultSetOfKind(CZarDoc::GetDoc(), kind);
    const SearchHitRecord* hit = set ? set->FindHit(number) : nullptr;
    if (!hit) return;
    peptide_ = sequence.isEmpty() ? hit->peptide : sequence;
    SetTitle(QStringLiteral("DisplayIons - ") + QString::fromStdString(PeptideLetters(peptide_)));
    dtaFile_->setText(QStringLiteral("Dta File:  ") + DtaFileName(*hit));
    const Request request{kind, number, sequence};
    if (busy_) {
        // The newest request wins: it runs as soon as the running one ends.
        pending_ = request;
        return;
    }
    startWorker(request);
}

void CDisplayIonsView::startWorker(const Request& request) {
    CSearchResults* set = ResultSetOfKind(CZarDoc::GetDoc(), request.kind);
    const SearchHitRecord* hit = set ? set->FindHit(request.hit) : nullptr;
    if (!hit) return;
    if (worker_.joinable()) worker_.join();
    busy_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    DtaIonRequest ionRequest;
    ionRequest.dtaName = hit->path;
    ionRequest.peptide = request.sequence.isEmpty() ? hit->peptide : request.sequence;
    ionRequest.charge = selectedCharge_;
    ionRequest.ionSeries = IonSeriesOf(*hit);
    ionRequest.monoisotopic = hit->monoisotopicPrecursor != 0;
    ionRequest.modifications = set->Parameters().modificationText;
    const QString folder = set->GetDirectory();
    worker_ = std::thread([ionRequest, folder, receiver = receiver_] {
        DisplayIonsResult result;
        result.charge = ionRequest.charge;
        CDatabaseSearch search(QString(), folder.isEmpty() ? QStringLiteral(".") : folder);
        if (std::optional<DtaIonResult> ions = search.ShowDtaIons(ionRequest)) {
            result.ions = std::move(*ions);
            result.ionsOk = true;
        }
        CDtaSpectrum spectrum;
        if (spectrum.read(ionRequest.dtaName + QStringLiteral(".dta")) ==
            CDtaSpectrum::ReadResult::Ok)
            result.peaks = spectrum.peaks();
        // Peaks in ascending m/z for the one-pass matching of the marked ions.
        std::stable_sort(result.peaks.begin(), result.peaks.end(),
                         [](const DtaPeak& a, const DtaPeak& b) { return a.mz < b.mz; });
        PostMessage(receiver, kMsgIonsReady, 0, 0, std::move(result));
    });
}

void CDisplayIonsView::takeResult(DisplayIonsResult result) {
    if (worker_.joinable()) worker_.join();
    QApplication::restoreOverrideCursor();
    busy_ = false;
    if (pending_) {
        // A newer hit was asked for meanwhile: this result is stale.
        const Request next = *pending_;
        pending_.reset();
        startWorker(next);
        return;
    }
    CSearchResults* set = ResultSetOfKind(CZarDoc::GetDoc(), kind_);
    const SearchHitRecord* hit = set ? set->FindHit(hit_) : nullptr;

    // The ion table.
    ions_.clear();
    if (result.ionsOk) {
        const DtaIonTable& t = result.ions.table;
        FillIonsGrid(static_cast<int>(t.rows.size()));
        grid_->LockUpdate(true);
        for (std::size_t i = 0; i < t.rows.size(); ++i) {
            const DtaIonRow& row = t.rows[i];
            const int r = static_cast<int>(i) + 1;
            grid_->SetValueRange(r, 1, QString::number(row.number));
            grid_->SetValueRange(r, 2, row.residue);
            if (row.hasA) grid_->SetValueRange(r, 3, QCFormat("%.13g", row.a));
            if (row.hasB) grid_->SetValueRange(r, 4, QCFormat("%.13g", row.b));
            if (row.hasY) grid_->SetValueRange(r, 5, QCFormat("%.13g", row.y));
            grid_->SetValueRange(r, 6, QString::number(row.fromCTerminus));
        }
        grid_->LockUpdate(false);
        ions_ = t.labels;
        precursorLabel_->setText(result.ions.precursorText);
        massTypeLabel_->setText(result.ions.massTypeText);
        precursor_ = static_cast<double>(static_cast<long long>(result.ions.precursor));
        massList_ = t.cumulative;
    }

    // Scans and charge from the file name: "base.first.last.charge".
    firstScan_ = lastScan_ = 0;
    int charge = 0;
    if (hit) {
        const QString info = hit->fileInformation;
        const qsizetype dot = info.indexOf(QLatin1Char('.'));
        const QStringList parts = info.mid(dot + 1).trimmed().split(QLatin1Char('.'));
        long long v = 0;
        if (parts.size() > 0 && ParseInt(parts[0], v)) firstScan_ = static_cast<int>(v);
        if (parts.size() > 1 && ParseInt(parts[1], v)) lastScan_ = static_cast<int>(v);
        if (parts.size() > 2 && ParseInt(parts[2], v)) charge = static_cast<int>(v);
    }
    CZarDoc* doc = CZarDoc::GetDoc();
    firstTime_ = doc ? doc->ScanToRetentionTime(firstScan_) : 0.0;
    lastTime_ = doc ? doc->ScanToRetentionTime(lastScan_) : 0.0;
    if (charge > 0 && charge_->count() != charge) {
        charge_->clear();
        for (int z = 1; z <= charge; ++z) charge_->addItem(QStringLiteral("+%1").arg(z));
        charge_->setCurrentIndex(0);
    }
    chargeCount_ = charge;

    // The spectrum and its statistics.
    peaks_ = std::move(result.peaks);
    lowMass_ = 0.0;
    highMass_ = peaks_.empty() ? 0.0 : peaks_.back().mz;
    total_ = 0.0;
    smallest_ = largest_ = peaks_.empty() ? 0.0 : peaks_.front().intensity;
    for (const DtaPeak& p : peaks_) {
        total_ += p.intensity;
        if (p.intensity < smallest_) smallest_ = p.intensity;
        if (p.intensity > largest_) largest_ = p.intensity;
    }
    heading_ = QCFormat("#%d-%d RT:%.2f-%.2f NL: ", firstScan_, lastScan_, firstTime_, lastTime_) +
               FormatCompactNumber(largest_);
    spectrum_.Empty();
    spectrum_.peaks.reserve(peaks_.size());
    for (const DtaPeak& p : peaks_) spectrum_.peaks.push_back({p.mz, p.intensity, 0.0f, firstScan_});
    CVXSpectrumHeaderData& header = spectrum_.header.data;
    header.dLowMass = lowMass_;
    header.dHighMass = highMass_;
    header.dMinPeakIntensity = smallest_;
    header.dBasePeakIntensity = largest_;
    header.nScanNumber = firstScan_;
    display_.xZoomed = 0;
    display_.yZoomed = 0;
    showSpectrum();
}

void CDisplayIonsView::showSpectrum() {
    if (peaks_.empty()) {
        SetDataValid(false);
        Redraw();
    } else {
        HandOver("showing the spectrum", [this](CSpec& c) {
            SendSpectrumToControl(c);
            c.Call(&ISpec::put_EnableManualZoom, 1);
        });
    }
    UpdateMassScrollBar();
    UpdateSegmentControl(display_.xZoomed ? display_.xStart : lowMass_,
                         display_.xZoomed ? display_.xEnd : highMass_);
}

void CDisplayIonsView::SendSpectrumToControl(CSpec& c) {
    std::vector<VXPlot_DataPeak> peaks;
    peaks.reserve(peaks_.size());
    for (const DtaPeak& p : peaks_) peaks.push_back({p.mz, p.intensity, 0.0f, firstScan_});
    std::int32_t size = static_cast<std::int32_t>(peaks.size());
    VXPlot_MassRange range{lowMass_, highMass_};
    c.Call(&ISpec::SetPeakData, &size, &range, 1, peaks.empty() ? nullptr : peaks.data(), size);

    // The marked ions, matched to their most intense peaks.
    infos_.clear();
    for (const IonLabel& ion : ions_)
        infos_.push_back(MakePeakInfo(ion.low, ion.mz, ion.high, std::clamp(ion.style, 0, 3),
                                      selectedCharge_, ion.text));
    std::stable_sort(infos_.begin(), infos_.end(),
                     [](const VXPlot_PeakInfo& a, const VXPlot_PeakInfo& b) {
                         return a.apex.dMass < b.apex.dMass;
                     });
    std::vector<CVXDataPeak> matchPeaks;
    matchPeaks.reserve(peaks_.size());
    for (const DtaPeak& p : peaks_) matchPeaks.push_back({p.mz, p.intensity, 0.0f, 0});
    MatchPeakInfoApexes(infos_, matchPeaks);
    std::uint32_t pens[4] = {kIonPens[0], kIonPens[1], kIonPens[2], kIonPens[3]};
    if (infos_.empty()) {
        c.Call(&ISpec::SetPeakInfo, static_cast<VXPlot_PeakInfo*>(nullptr), 0);
        c.Call(&ISpec::SetPeakInfoColors, static_cast<std::uint32_t*>(nullptr), 0);
    } else {
        c.Call(&ISpec::SetPeakInfo, infos_.data(), static_cast<std::int32_t>(infos_.size()));
        c.Call(&ISpec::SetPeakInfoColors, pens, 4);
    }

    CZarDoc* doc = CZarDoc::GetDoc();
    const QString file = doc ? doc->GetRawFilePath() : QString();
    c.Call(&ISpec::put_FileName, WideText(file));
    VXPlot_SpectrumHeader header{};
    header.nScanNumber = firstScan_;
    header.bIsCentroid = 1;
    header.dRT = firstTime_;
    header.dTIC = total_;
    header.dMinPeakIntensity = smallest_;
    header.dBasePeakIntensity = largest_;
    header.dLowMass = lowMass_;
    header.dHighMass = highMass_;
    header.bScanRangeValid = 1;
    header.nFirstScanNumber = firstScan_;
    header.nLastScanNumber = lastScan_;
    header.dStartRT = firstTime_;
    header.dEndRT = lastTime_;
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
    const QString x = QString::fromLatin1(kDefaultXAxisSpectra);
    const QString yAbs = QString::fromLatin1(kDefaultYAxisAbsolute);
    const QString yRel = QString::fromLatin1(kDefaultYAxisRelative);
    c.Call(&ISpec::SetAxisLabels, WideText(x), WideText(yAbs), WideText(yRel),
           static_cast<LPCWSTR>(nullptr), static_cast<LPCWSTR>(nullptr));
    c.Call(&ISpec::SetYAxisScaleType, static_cast<VXPlot_YAxisScaleType>(display_.yAxisScaleType));
    c.Call(&ISpec::SetForcedHeading, 1);
    c.Call(&ISpec::SetHeading, WideText(heading_));
    ApplyXLimits(c);
    ApplyYLimits(c);
    c.Call(&ISpec::put_DataValid, 1);
}

std::unique_ptr<QMenu> CDisplayIonsView::BuildContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    AddZoomItems(menu.get(), [this](int command) { OnCommand(command); });
    ForEachCommandItem(menu.get(),
                       [this](QAction* a, int id) { a->setEnabled(IsZoomCommandEnabled(id)); });
    return menu;
}

void CDisplayIonsView::OnSelChangeCharge(int index) {
    if (index < 0) return;
    selectedCharge_ = index + 1;
    LoadDtaFile(kind_, hit_, sequenceOverride_);
    if (index < charge_->count()) charge_->setCurrentIndex(index);
}

void CDisplayIonsView::UpdateSegmentControl(double low, double high) {
    if (!segmentsInitialised_ || peptide_.isEmpty()) return;
    const std::string letters = PeptideLetters(peptide_);
    const int n =
        std::min<int>(static_cast<int>(letters.size()), static_cast<int>(massList_.size()));
    // Residue i ends at its mass-list entry (never past the precursor) and starts where the
    // residue before it ended.
    std::vector<double> ends(n);
    for (int i = 0; i < n; ++i)
        ends[i] = precursor_ > 0.0 ? std::min(precursor_, massList_[i]) : massList_[i];
    auto spanOf = [&](int i, double& start, double& end) {
        start = i == 0 ? 0.0 : ends[i - 1];
        end = ends[i];
    };
    int count = 0;
    for (int i = 0; i < n; ++i) {
        double s = 0, e = 0;
        spanOf(i, s, e);
        if (s >= low && e <= high) ++count;
    }
    if (count > 0) {
        segments_->SetSegmentCount(count);
        segments_->SetRange(low, high);
        int number = 0;
        for (int i = 0; i < n; ++i) {
            double s = 0, e = 0;
            spanOf(i, s, e);
            if (s >= low && e <= high)
                segments_->SetSegment(number++, 0, s, e, QString(QLatin1Char(letters[i])));
        }
    } else {
        int first = -1;
        for (int i = 0; i < n; ++i)
            if (massList_[i] >= low && massList_[i] <= high) {
                first = i;
                break;
            }
        if (first < 0) return;
        const double end = first + 1 < n ? std::min(massList_[first + 1], high) : high;
        segments_->SetSegmentCount(1);
        segments_->SetRange(low, high);
        segments_->SetSegment(0, 0, massList_[first], end, QString(QLatin1Char(letters[first])));
    }
    segments_->update();
}

bool CDisplayIonsView::IsCommandEnabled(int id) const {
    return id == ID_FILE_PRINT;
}

bool CDisplayIonsView::PrintReport(QPrinter& printer) {
    QPainter painter;
    if (!BeginPrinting(painter, printer)) return false;
    const int dpi = printer.resolution();
    const QRect paper = printer.pageLayout().paintRectPixels(dpi);
    PrintPage(painter, QRect(0, 0, paper.width(), paper.height()), dpi, dpi,
              printer.pageLayout().orientation() == QPageLayout::Landscape);
    return EndPrinting(painter, printer);
}

void CDisplayIonsView::OnCommand(int id) {
    if (id == ID_FILE_PRINT) {
        QPrinter& printer = ProgramPrinter();
        if (ChooseReportPrinter(printer, this, Title().isEmpty() ? QStringLiteral("Display Ions") : Title()))
            PrintReport(printer);
        return;
    }
    RunZoomCommand(id);
}

void CDisplayIonsView::PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY,
                                 bool landscape) {
    CSpec offscreen;
    if (!offscreen.Create(this, QRect(-50, -50, 25, 25), 0)) return;
    Guarded("printing", [&] {
        offscreen.Call(&ISpec::Initialize);
        SendSpectrumToControl(offscreen);
        const PrintedPage p = LayOutPrintedPage(page, dpiX, dpiY, landscape);
        const QRect r = p.plot;
        QFont font(QStringLiteral("Courier"));
        font.setPixelSize(std::max(1, 10 * dpiY / 72));
        painter.setFont(font);
        const int line = painter.fontMetrics().height();
        const int avg = painter.fontMetrics().averageCharWidth();
        CZarDoc* doc = CZarDoc::GetDoc();
        if (doc)
            doc->PrintPageFooter(painter, dtaFile_->text(), QString(), 1, 1, p.footer, dpiX, dpiY);
        int y = r.top() + line;
        painter.drawText(r.left(), y,
                         QStringLiteral("Ion series for charge: +%1").arg(selectedCharge_));
        y += line;
        painter.drawText(r.left(), y, QStringLiteral("AA   A ions     B ions     Y ions"));
        y += line;
        painter.drawText(r.left(), y, QStringLiteral("---------------------------------"));
        for (int row = 1; row <= grid_->GetRowCount(); ++row) {
            const QString aa = grid_->GetValueRowCol(row, 2);
            if (aa.isEmpty()) continue;
            y += line;
            painter.drawText(r.left(), y, aa);
            const int offsets[3] = {4, 15, 26};
            for (int k = 0; k < 3; ++k) {
                double v = 0.0;
                const QString text = grid_->GetValueRowCol(row, 3 + k);
                if (text.isEmpty() || !ParseDouble(text, v)) continue;
                painter.drawText(r.left() + offsets[k] * avg, y, QCFormat("%6.1f", v));
            }
        }
        const int top = r.top() + r.height() * 40 / 100;
        std::uintptr_t dc = reinterpret_cast<std::uintptr_t>(&painter);
        tagRECT target{r.left(), top, r.right() + 1, r.bottom() + 1};
        offscreen.Call(&ISpec::Draw, &dc, &dc, 1, &target, 0);
        if (doc) doc->PrintPageHeader(painter, p.header, dpiX, dpiY);
    });
}

bool CDisplayIonsView::WaitUntilIdle(int milliseconds) {
    return ProcessEventsWhile([this] { return busy_ || pending_; }, milliseconds);
}

QString CDisplayIonsView::DtaFileText() const {
    return dtaFile_->text();
}

QString CDisplayIonsView::PrecursorText() const {
    return precursorLabel_->text();
}

QString CDisplayIonsView::MassTypeText() const {
    return massTypeLabel_->text();
}

}  // namespace zar
