#include "ZarDoc.h"

#include "core/Log.h"
#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "databases/PepmapEngine.h"
#include "document/EnzymeTable.h"
#include "document/MassmapResults.h"
#include "document/MultiConsensusResults.h"
#include "document/Settings.h"
#include "document/SorvexResults.h"
#include "document/TextHelpers.h"
#include "document/ZarMessages.h"
#include "interpretation/DenovoEngine.h"
#include "interpretation/ZarmassDeconvolution.h"
#include "interpretation/ZarmassTransform.h"
#include "messages/Messages.h"
#include "rawfile/VRawfile.h"
#include "spectrumviews/PepmatchData.h"
#include "spectrumviews/XpressQuant.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <optional>
#include <utility>

namespace zar {
namespace {
CZarDoc* gDocument = nullptr;
}

CZarDoc* CZarDoc::GetDoc() { return gDocument; }

CZarDoc::CZarDoc() {
    // A reader that cannot be made leaves the document without one: the program runs, and
    // opening a run then says why it cannot.
    try {
        rawFile_ = std::make_unique<VRawfile>();
    } catch (const std::exception& e) {
        LogLine(QStringLiteral("raw-file reader not available: ") + QString::fromUtf8(e.what()));
    }
    const QLocale locale;
    listSeparator_ = locale.decimalPoint() == QStringLiteral(",") ? QLatin1Char(';') : QLatin1Char(',');
    decimalSeparator_ = locale.decimalPoint().isEmpty() ? QLatin1Char('.') : locale.decimalPoint().front();
    gDocument = this;

    holder_ = std::make_unique<CVXfile>();
    sorvex_ = std::make_unique<CSorvexResults>();
    massmap_ = std::make_unique<CMassmapResults>();
    multi_ = std::make_unique<CMultiConsensusResults>();
    transform_ = std::make_unique<CZarmassTransform>();
    deconvolution_ = std::make_unique<CZarmassDeconvolution>();

    const int summaryMode = GetSummaryDisplayMode();
    const int consensusMode = GetConsensusDisplayMode();
    const int entries = GetConsensusDisplayEntries();
    summaryOptions_ = DefaultDisplayOptions(DisplayOptionsKind::Summary, summaryMode, consensusMode, entries);
    massmapOptions_ = DefaultDisplayOptions(DisplayOptionsKind::PeptideMapping, summaryMode, consensusMode, entries);
    multiOptions_ = DefaultDisplayOptions(DisplayOptionsKind::MultiConsensus, summaryMode, consensusMode, entries);
    sorvexResultsDirectory_ = zar::GetSorvexResultsDirectory();

    denovoParams_ = DenovoParams();
    denovo_ = std::make_unique<CDenovoEngine>();
    denovo_->InitParameters(denovoParams_);
    xpressResidue_ = zar::GetXpressResidue();
    xpressDifference_ = zar::GetXpressDifference();
    xpressTolerance_ = zar::GetXpressTolerance();
    InstallXpressEngine(*sorvex_, GetXpressSettings());
    enzymes_ = std::make_unique<CEnzymeTable>();
    // The digest cuts with the enzyme table's rules.
    pepmap_ = std::make_unique<CPepmapEngine>();
    pepmap_->BuildEnzymeRules(enzymes_->GetRecords());
    pepmatch_ = std::make_unique<CPepmatchData>();
}

void CZarDoc::InstallXpressSettings() {
    xpressResidue_ = zar::GetXpressResidue();
    xpressDifference_ = zar::GetXpressDifference();
    xpressTolerance_ = zar::GetXpressTolerance();
    if (sorvex_) InstallXpressEngine(*sorvex_, GetXpressSettings());
}

void CZarDoc::SetXpressResidue(const QString& residue) {
    xpressResidue_ = residue;
    if (sorvex_) InstallXpressEngine(*sorvex_, GetXpressSettings());
}

void CZarDoc::SetXpressTolerance(double tolerance) {
    xpressTolerance_ = tolerance;
    if (sorvex_) InstallXpressEngine(*sorvex_, GetXpressSettings());
}

XpressSettings CZarDoc::GetXpressSettings() const {
    XpressSettings s;
    s.residue = xpressResidue_;
    s.tolerance = xpressTolerance_;
    s.massDifference = xpressDifference_;
    s.scanWindow = zar::GetXpressScanWindow();
    return s;
}

CZarDoc::~CZarDoc() {
    gDocument = nullptr;
    if (rawFile_) rawFile_->close();
}

void CZarDoc::AddView(CZarView* view) {
    if (view && std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void CZarDoc::RemoveView(CZarView* view) { std::erase(views_, view); }

void CZarDoc::UpdateAllViews(CZarView* sender, int hint) {
    // A view may go away while others are told (a layout switch): tell a copy of the list,
    // skipping views that left meanwhile.
    const std::vector<CZarView*> views = views_;
    for (CZarView* v : views) {
        if (v == sender) continue;
        if (std::find(views_.begin(), views_.end(), v) == views_.end()) continue;
        v->OnUpdate(sender, hint);
    }
}

QString CZarDoc::GetTitle() const {
    const QString path = GetRawFilePath();
    if (path.isEmpty()) return QStringLiteral("Untitled");
    // The name as the file system has it: on a case-sensitive one "run.mzml" is another file.
    return FileNameOf(path);
}

bool CZarDoc::OnNewDocument() {
    modified_ = false;
    pathName_.clear();
    rawFilePath_.clear();
    if (rawFile_) rawFile_->close();
    holder_ = std::make_unique<CVXfile>();
    msnList_.reset();
    if (frame_) {
        frame_->ResetView();
        frame_->SetFrameTitle(GetTitle());
    }
    return true;
}

bool CZarDoc::OnOpenDocument(const QString& path) {
    // The new run is tried with a reader of its own; one that does not open leaves the open run,
    // its reader, what was read of it and every view of it as they were.
    std::unique_ptr<VRawfile> previousReader;
    try {
        previousReader = std::exchange(rawFile_, std::make_unique<VRawfile>());
    } catch (const std::exception& e) {
        LogLine(QStringLiteral("raw-file reader not available: ") + QString::fromUtf8(e.what()));
    }
    CVXResults* results = GetCurrentResults();
    const std::optional<CVXResults> previousResults =
        results ? std::optional<CVXResults>(*results) : std::nullopt;
    const QString previousPath = rawFilePath_;
    modified_ = false;
    ResetContents();
    rawFilePath_ = path;
    if (!OpenRawFile(true, true)) {
        rawFilePath_ = previousPath;
        if (previousReader) rawFile_ = std::move(previousReader);
        if (results && previousResults) *results = *previousResults;
        return false;
    }
    previousReader.reset();
    if (sorvex_) sorvex_->FreeResults();
    if (massmap_) massmap_->FreeResults();
    if (pepmap_) pepmap_->FreePeptides();
    if (CVXResults* r = GetCurrentResults()) r->viewType = 1;
    if (frame_) {
        frame_->ResetInfoBar();
        frame_->ShowPlotLayout();
        frame_->SetFrameTitle(GetTitle());
        frame_->SetMSnTimeRange(GetStartTime(), GetEndTime());
        frame_->AddToRecentFileList(path);
    }
    pathName_ = path;
    return true;
}

bool CZarDoc::OnSaveDocument(const QString&) {
    ZarMessageBox(QStringLiteral("Code under construction..."));
    return true;
}

CSearchResults* CZarDoc::GetResultsOfKind(int kind) const {
    switch (kind) {
        case kResultKindSorvex:
            return sorvex_.get();
        case kResultKindMassmap:
            return massmap_.get();
        case kResultKindMultiConsensus:
            return multi_.get();
        default:
            return nullptr;
    }
}

bool CZarDoc::ShowResultsWindow(const SelectedResult& item) {
    if (!frame_ || !frame_->ShowResultsWindow(item)) {
        ZarMessageBox(QStringLiteral("Unable to display the Sorvex Results window"));
        return false;
    }
    return true;
}

QString CZarDoc::GetRawFilePath() const {
    const CVXResults* r = GetCurrentResults();
    return r ? r->RawFilePath() : QString();
}

double CZarDoc::GetCurrentRetentionTime() const {
    CVXResults* r = GetCurrentResults();
    if (!r) return 0.0;
    const CVXUserResult* u = r->GetCurrentUserResult();
    if (!u || u->currentScanPosition < 0) return 0.0;
    return u->currentScanPosition;
}

void CZarDoc::SetCurrentScanRange(int first, int last) {
    currentScanFirst_ = first;
    currentScanLast_ = last;
}

int CZarDoc::GetCurrentResultType() const {
    const CVXResults* r = GetCurrentResults();
    if (!r || r->currentUserResult < 0 ||
        r->currentUserResult >= static_cast<int>(r->userResults.size()))
        return -1;
    return r->userResults[static_cast<std::size_t>(r->currentUserResult)].chro.detectorType;
}

int CZarDoc::GetViewType() const {
    const CVXResults* r = GetCurrentResults();
    return r ? r->viewType : -1;
}

void CZarDoc::SetViewType(int type) {
    if (CVXResults* r = GetCurrentResults()) r->viewType = type;
}

int CZarDoc::GetEntryCount() const {
    if (!rawFile_ || !rawFile_->isOpen() || GetRawFilePath().isEmpty()) return 0;
    return rawFile_->numSpectra();
}

void CZarDoc::SetDisplayFlags(int summaryMode, int consensusMode, int entries) {
    for (ResultsDisplayOptions* o : {&summaryOptions_, &massmapOptions_, &multiOptions_}) {
        o->showTimes = summaryMode ? 1 : 0;
        if (consensusMode) {
            o->filterMode = 1;
            o->consensusRowLimit = entries;
        } else {
            o->consensusRowLimit = 0;
        }
    }
}

void CZarDoc::SetSummaryRange(double low, double high) {
    summaryOptions_.retentionTimeMin = low;
    summaryOptions_.retentionTimeMax = high;
    const CVXResults* r = GetCurrentResults();
    if (summaryOptions_.filterMode == 5 && r && r->viewType == 5) UpdateAllViews(nullptr, 52);
}

void CZarDoc::SetMassmapRange(double low, double high) {
    massmapOptions_.retentionTimeMin = low;
    massmapOptions_.retentionTimeMax = high;
    const CVXResults* r = GetCurrentResults();
    if (massmapOptions_.filterMode == 5 && r && r->viewType == 10) UpdateAllViews(nullptr, 58);
}

void CZarDoc::GetDenovoSelection(int& a, int& b, QString& text) const {
    a = denovoSelectionA_;
    b = denovoSelectionB_;
    text = denovoSelectionText_;
}

void CZarDoc::SetDenovoSelection(int a, int b, const QString& text) {
    denovoSelectionA_ = a;
    denovoSelectionB_ = b;
    denovoSelectionText_ = text.left(kMaxDenovoSelectionText);
}

double CZarDoc::hitRetentionTime(const CSearchResults* set, HitNumber selected) const {
    if (!set) return 0.0;
    const SearchHitRecord* hit = set->FindHit(selected);
    if (!hit) return 0.0;
    // "name.first.last.charge": the scans after the first '.'.
    const QStringList parts = GetTextAfterDot(hit->fileInformation).split(QLatin1Char('.'));
    if (parts.size() < 2) return 0.0;
    const int first = static_cast<int>(LeadingInt(parts[0]));
    const int last = static_cast<int>(LeadingInt(parts[1]));
    if (first < 1 || last < 1) return 0.0;
    const int scan = first == last ? first : (first + last) / 2;
    return ScanToRetentionTime(scan);
}

double CZarDoc::GetMassmapHitRetentionTime() const { return hitRetentionTime(massmap_.get(), massmapSelection_.second); }
double CZarDoc::GetSorvexHitRetentionTime() const { return hitRetentionTime(sorvex_.get(), sorvexSelection_.second); }

int CZarDoc::LoadDenovoSpectra(const std::vector<int>& scans) {
    if (!denovo_ || !rawFile_) return 0;
    std::vector<DenovoScan> loaded;
    for (int scan : scans) {
        if (static_cast<int>(loaded.size()) >= kMaxDenovoSpectra) break;
        QString filter;
        if (!rawFile_->filterForScan(scan, filter)) continue;
        DenovoScan s;
        if (!ParseDenovoScanFilter(filter, &s.kind, &s.precursor)) continue;
        std::vector<CVXDataPeak> peaks;
        RawScanHeader header;
        if (!rawFile_->spectrum(scan, peaks, &header)) continue;
        // The filter names no charge; the run's own record of the MS2 precursor does (an MS3
        // record's first precursor is another ion).
        if (s.kind == kDenovoKindMS2) s.charge = header.precursorCharge;
        s.points.reserve(peaks.size());
        for (const CVXDataPeak& p : peaks) s.points.push_back({p.dPosition, p.dIntensity});
        loaded.push_back(std::move(s));
    }
    // The engine loads the alphabet before preparing the spectra, so a reload ranks the same.
    const int count = denovo_->LoadSpectra(loaded, denovoParams_);
    if (frame_) PostMessage(frame_->MessageTarget(), kMsgDenovoSpectraLoaded, 0, 0);
    return count;
}

bool CZarDoc::PrintPageHeader(QPainter& painter, const QRect& rect, int, int dpiY) const {
    painter.save();
    painter.setPen(QPen(Qt::black, std::max(1, dpiY / 60)));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    painter.setFont(font);
    const int lineY = rect.top() + dpiY / 120;
    painter.drawLine(rect.left(), lineY, rect.right(), lineY);
    const QRect textRect(rect.left(), rect.top() + dpiY / 16, rect.width(), painter.fontMetrics().height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("ZarvikBrowser rev. %1").arg(GetVersionString()));
    painter.drawText(textRect, Qt::AlignRight | Qt::AlignTop, QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
    painter.restore();
    return true;
}

bool CZarDoc::PrintPageFooter(QPainter& painter, const QString& leftUpper, const QString& leftLower, int page, int pages,
                              const QRect& rect, int, int dpiY) const {
    painter.save();
    painter.setPen(QPen(Qt::black, std::max(1, dpiY / 60)));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    painter.setFont(font);
    const int lineY = rect.bottom() - dpiY / 60;
    painter.drawLine(rect.left(), lineY, rect.right(), lineY);
    const int h = painter.fontMetrics().height();
    const QRect lower(rect.left(), rect.bottom() - dpiY / 16 - h, rect.width(), h);
    const QRect upper = lower.translated(0, -h);
    if (!leftUpper.isEmpty()) painter.drawText(upper, Qt::AlignLeft | Qt::AlignBottom, leftUpper);
    painter.drawText(upper, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Page %1 of %2").arg(page).arg(pages));
    if (!leftLower.isEmpty()) painter.drawText(lower, Qt::AlignLeft | Qt::AlignBottom, leftLower);
    const QString file = FileNameOf(GetRawFilePath());
    Qt::Alignment fileAlign = Qt::AlignLeft;
    if (!leftLower.isEmpty()) fileAlign = Qt::AlignRight;
    else if (!leftUpper.isEmpty()) fileAlign = Qt::AlignHCenter;
    painter.drawText(lower, fileAlign | Qt::AlignBottom, file);
    painter.restore();
    return true;
}

}  // namespace zar
