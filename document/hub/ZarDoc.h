#pragma once
// The one document of the program: owns the run being viewed, the search-result sets, the
// engines of the interpretation and database tools, the enzyme table, the display options of
// the result tables and the selections one view makes and another reads. Views are made and
// dropped as the main frame switches layouts; they meet here.

#include "MSnPrecursorList.h"
#include "ZarDocFrame.h"
#include "document/ResultsDisplayOptions.h"
#include "document/SelectedResult.h"
#include "fileio/VXConfiguration.h"
#include "fileio/VXResults.h"
#include "interpretation/DenovoTypes.h"
#include "interpretation/ZarmassTypes.h"

#include <QString>

#include <memory>
#include <vector>

class QPainter;
class QRect;

namespace zar {

class VRawfile;
class CSearchResults;
class CSorvexResults;
class CMassmapResults;
class CMultiConsensusResults;
class CZarmassTransform;
class CZarmassDeconvolution;
struct XpressSettings;
class CDenovoEngine;
class CPepmapEngine;
class CEnzymeTable;
class CPepmatchData;

// The trace definitions of a run the user has defined none for: its TIC and base peak.
CVXUserTraceDefWrapper DefaultTraceDefinitions();

class CZarDoc {
public:
    // Spectra the de novo loader takes at the most.
    static constexpr int kMaxDenovoSpectra = 62;
    static constexpr int kMaxDenovoSelectionText = 100;

    CZarDoc();
    ~CZarDoc();
    CZarDoc(const CZarDoc&) = delete;
    CZarDoc& operator=(const CZarDoc&) = delete;

    // The document of the process; null before it is made and after it is gone.
    static CZarDoc* GetDoc();

    void SetFrame(CZarDocFrame* frame) { frame_ = frame; }
    CZarDocFrame* GetFrame() const { return frame_; }

    // Views.
    void AddView(CZarView* view);
    void RemoveView(CZarView* view);
    void UpdateAllViews(CZarView* sender, int hint);

    // Document life.
    bool OnNewDocument();
    // Opens a run; false (nothing else changed, no recent-file entry) when it cannot be read.
    bool OnOpenDocument(const QString& path);
    // The document has no file of its own to save: says so and reports success.
    bool OnSaveDocument(const QString& path);
    QString GetTitle() const;
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified) { modified_ = modified; }
    QString GetPathName() const { return pathName_; }

    // The results window.
    bool ShowResultsWindow(const SelectedResult& item);

    // Printing.
    bool PrintPageHeader(QPainter& painter, const QRect& rect, int dpiX, int dpiY) const;
    bool PrintPageFooter(QPainter& painter, const QString& leftUpper, const QString& leftLower, int page, int pages,
                         const QRect& rect, int dpiX, int dpiY) const;

    // Owned objects.
    VRawfile* GetRawFile() const { return rawFile_.get(); }
    CVXfile* GetFileHolder() const { return holder_.get(); }
    CVXResults* GetCurrentResults() const { return holder_ ? holder_->GetCurrentResults() : nullptr; }
    CSorvexResults* GetSorvexResults() const { return sorvex_.get(); }
    CMassmapResults* GetMassmapResults() const { return massmap_.get(); }
    CMultiConsensusResults* GetMultiConsensusResults() const { return multi_.get(); }
    // The set of a result-set kind (1 search engine, 2 peptide mapping, 3 multiple results);
    // null for any other kind.
    CSearchResults* GetResultsOfKind(int kind) const;
    CZarmassTransform* GetZarmassTransform() const { return transform_.get(); }
    CZarmassDeconvolution* GetZarmassDeconvolution() const { return deconvolution_.get(); }
    CDenovoEngine* GetDenovoEngine() const { return denovo_.get(); }
    CPepmapEngine* GetPepmapEngine() const { return pepmap_.get(); }
    CPepmatchData* GetPepmatchData() const { return pepmatch_.get(); }
    // Gives the search-engine result set the XPRESS engine with the current XPRESS settings.
    void InstallXpressSettings();
    CEnzymeTable* GetEnzymeTable() const { return enzymes_.get(); }

    ResultsDisplayOptions& SummaryOptions() { return summaryOptions_; }
    ResultsDisplayOptions& MassmapOptions() { return massmapOptions_; }
    ResultsDisplayOptions& MultiConsensusOptions() { return multiOptions_; }
    QString GetSorvexResultsDirectory() const { return sorvexResultsDirectory_; }
    void SetSorvexResultsDirectory(const QString& folder) { sorvexResultsDirectory_ = folder; }

    // Accessors.
    QString GetRawFilePath() const;
    void SetSequence(const QString& text) { sequence_ = text; }
    QString GetSequence() const { return sequence_; }
    double GetCurrentRetentionTime() const;
    void SetCurrentScanRange(int first, int last);
    void GetCurrentScanRange(int& first, int& last) const { first = currentScanFirst_; last = currentScanLast_; }
    // The detector type of the current user result's trace (0: the mass spectrometer); -1 when
    // no trace is current.
    int GetCurrentResultType() const;
    void SetDisplayFlags(int summaryMode, int consensusMode, int entries);
    void SetSummaryRange(double low, double high);
    void SetMassmapRange(double low, double high);
    DenovoParams GetDenovoParameters() const { return denovoParams_; }
    void SetDenovoParameters(const DenovoParams& params) { denovoParams_ = params; }
    void GetDenovoSelection(int& a, int& b, QString& text) const;
    void SetDenovoSelection(int a, int b, const QString& text);
    void GetSelectedRange(double& low, double& high) const { low = selectedLow_; high = selectedHigh_; }
    void SetSelectedRange(double low, double high) { selectedLow_ = low; selectedHigh_ = high; }
    // The smoothing the deconvolution pages apply before they calculate.
    SmoothingRecord& GetSmoothing() { return smoothing_; }
    const SmoothingRecord& GetSmoothing() const { return smoothing_; }
    void GetSelection(int& first, int& last) const { first = selectionFirst_; last = selectionLast_; }
    void SetSelection(int first, int last) { selectionFirst_ = first; selectionLast_ = last; }
    void SetSorvexSelection(HitNumber hit, int column) { sorvexSelection_ = {column, hit}; }
    void SetMassmapSelection(HitNumber hit, int column) { massmapSelection_ = {column, hit}; }
    HitNumber GetSorvexSelectedHit() const { return sorvexSelection_.second; }
    double GetMassmapHitRetentionTime() const;
    double GetSorvexHitRetentionTime() const;
    QString GetXpressResidue() const { return xpressResidue_; }
    double GetXpressDifference() const { return xpressDifference_; }
    double GetXpressTolerance() const { return xpressTolerance_; }
    // The residue and tolerance for the rest of this run of the program (the settings keep
    // theirs); later passes over the search-engine results take them.
    void SetXpressResidue(const QString& residue);
    void SetXpressTolerance(double tolerance);
    // What every XPRESS quantitation uses: the document's residue and tolerance, the configured
    // mass difference and scan window.
    XpressSettings GetXpressSettings() const;
    // The main frame's view type, kept with the current results; -1 when there are none.
    int GetViewType() const;
    void SetViewType(int type);
    // Entries of the open run (its scans); 0 when no run is open.
    int GetEntryCount() const;
    HitNumber GetXpressEntry() const { return xpressEntry_; }
    void SetXpressEntry(HitNumber entry) { xpressEntry_ = entry; }
    QChar ListSeparator() const { return listSeparator_; }
    // The plot configuration: room beside the axes, axis titles and scale types per detector.
    CVXConfiguration& GetConfiguration() { return configuration_; }
    // The left and right axes widths of the chromatograms (characters): a side's custom spacing,
    // 0.0 (automatic) when the side is automatic.
    void GetChroTraceInfo(double& left, double& right) const;
    // The Y scale type of a spectrum display: of user result `index` (byIndex), of the current
    // user result (current), else the configuration's for detector type `index`.
    int GetSpectrumDisplay(int index, bool byIndex, bool current) const;
    // Puts the axis titles on every chromatogram display of the current results: the given four,
    // or (no arguments) those the configuration holds for each trace's detector type.
    void ApplyDisplaySettings(const QString& xChromatogram, const QString& xSpectrum,
                              const QString& yRelative, const QString& yAbsolute);
    void ApplyDisplaySettings();
    QChar DecimalSeparator() const { return decimalSeparator_; }

    // Loads MSn scans of the run into the de novo engine and tells the main window.
    int LoadDenovoSpectra(const std::vector<int>& scans);

    // ---- the run (ZarDocRawFile.cpp) ----
    bool OpenRawFile(bool readTraces, bool readAll);
    void ResetContents();
    double ScanToRetentionTime(int scan) const;
    int RetentionTimeToScan(double time) const;
    double GetStartTime() const;
    double GetEndTime() const;
    // Index of the scan of a time-sorted list nearest a time (mode 0 lower, 1 upper, 2 nearer).
    static int FindScanIndex(double time, const std::vector<double>& times, int mode);
    int FindNearestScan(const std::vector<double>& times) const;
    QStringList GetScanFilterList();
    void LoadScanFilterList();
    void ParseMSnFilter();
    const CMSnPrecursorList* GetMSnPrecursorList() const { return msnList_.get(); }
    // A scan's peaks and header; false (with a message) when it cannot be read.
    bool ReadScan(int scan, std::vector<CVXDataPeak>& peaks, struct RawScanHeader* header = nullptr);
    // The spectrum of controller (type, number) at a time: the scan nearest the time among those
    // the filter passes (none: every scan). Fills the spectrum (peaks, the scan's mass range as
    // one segment, header) and the scan's filter. Without a controller of that type and number
    // nothing is read and the result is false; a failed read says so.
    bool ReadSpectrum(int type, int number, const CVXFilter* filterObject, double time,
                      CVXSpec* spectrum, CVXFilter* filter);
    // The header of the scan nearest a time; of a scan. The filter, when given, becomes the
    // scan's filter.
    bool ReadSpectrumHeader(double time, CVXSpec* spectrum, CVXFilter* filter);
    bool ReadScanHeader(int scan, CVXSpec* spectrum, CVXFilter* filter);
    // A detector's spectrum (type 3) states its smallest and largest intensity, each with its
    // position, in the header; nothing changes without peaks.
    static void TakeIntensityExtremes(const std::vector<CVXDataPeak>& peaks,
                                      CVXSpectrumHeaderData& header);

    // The chromatogram request from the user's trace definitions (resetTraces: the run's TIC
    // and base peak when none is enabled), its read, and the user results and trace layout
    // made of it. Each is false, with a message, when the run cannot answer.
    static constexpr int kDefaultTracesPerPage = 2;
    bool ReadChromatogram(bool resetTraces, bool build);
    bool ReadChromatogramsRange(bool a, bool b, bool c);
    bool ReadChromatograms(bool a, bool b, bool c);
    // A request's mass ranges: a range whose ends are equal becomes the mass plus and minus
    // the tolerance (unit 0 milli-mass units, 1 ppm, 2 mass units).
    static std::vector<CVX_MassRange> WidenedRanges(const std::vector<CVX_MassRange>& ranges,
                                                    double tolerance, int unit);
    // The value (intensity) of the point of a time-sorted list nearest a time; -1.0 for no list
    // or an empty one.
    static double GetRangeValue(const std::vector<CVXDataPeak>* list, double time);

private:
    double hitRetentionTime(const class CSearchResults* set, HitNumber selected) const;

    CZarDocFrame* frame_ = nullptr;
    std::vector<CZarView*> views_;
    QChar listSeparator_;
    QChar decimalSeparator_;
    QString rawFilePath_;
    QString pathName_;
    bool modified_ = false;
    std::unique_ptr<VRawfile> rawFile_;
    std::unique_ptr<CVXfile> holder_;
    std::unique_ptr<CSorvexResults> sorvex_;
    ResultsDisplayOptions summaryOptions_;
    QString sorvexResultsDirectory_;
    std::unique_ptr<CMassmapResults> massmap_;
    ResultsDisplayOptions massmapOptions_;
    std::unique_ptr<CMultiConsensusResults> multi_;
    ResultsDisplayOptions multiOptions_;
    std::unique_ptr<CZarmassTransform> transform_;
    std::unique_ptr<CZarmassDeconvolution> deconvolution_;
    std::unique_ptr<CDenovoEngine> denovo_;
    DenovoParams denovoParams_;
    int denovoSelectionA_ = 0;
    int denovoSelectionB_ = 0;
    QString denovoSelectionText_;
    std::unique_ptr<CPepmapEngine> pepmap_;
    std::unique_ptr<CPepmatchData> pepmatch_;
    double selectedLow_ = 0.0;
    double selectedHigh_ = 0.0;
    QString sequence_;
    QString xpressResidue_;
    double xpressDifference_ = 0.0;
    double xpressTolerance_ = 0.0;
    std::unique_ptr<CEnzymeTable> enzymes_;
    SmoothingRecord smoothing_;
    int selectionFirst_ = 0;
    int selectionLast_ = 0;
    std::pair<int, HitNumber> massmapSelection_{0, HitNumber()};  // column, hit
    std::pair<int, HitNumber> sorvexSelection_{0, HitNumber()};
    std::unique_ptr<CMSnPrecursorList> msnList_;
    CVXConfiguration configuration_;
    HitNumber xpressEntry_;
    int currentScanFirst_ = 0;
    int currentScanLast_ = 0;
};

}  // namespace zar
