#pragma once
// What the program keeps of an open run: the results object (path, scan filters, user traces
// and their chromatograms, scans read) and the file holder that owns the current results.

#include "fileio/VXChro.h"
#include "fileio/VXSpectrum.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace zar {

// One user trace as shown: its chromatogram, display records and the picked scan.
class CVXUserResult {
  public:
    QString Name() const { return name_; }
    void Name(const QString& name) { name_ = name; }

    double currentScanPosition = -1.0;  // retention time (minutes); below 0: none picked
    CVXChro chro;
    CVXChroDisplay chroDisplay;
    CVXSpecDisplay specDisplay;
    int controllerType = 0;  // for traces of other devices (PDA)
    int controllerNumber = 1;

  private:
    QString name_;
};

// One scan read from the run, with its spectrum.
class CVXParentResult {
  public:
    int scanNumber = 0;
    double retentionTime = 0.0;
    CVXSpec spectrum;
};

// The request of the multi-trace chromatogram read and what it gave.
class CVXGeneralChroResult {
  public:
    // Mass tolerance units: 0 milli-mass units, 1 ppm, 2 mass units.
    enum ToleranceUnit { kMmu = 0, kPpm = 1, kAmu = 2 };

    void copy_object(const CVXGeneralChroResult& other) { *this = other; }
    void Empty() { *this = CVXGeneralChroResult(); }
    void EmptyResult() { traces.clear(); }

    std::vector<CVXUserTraceDef> request;  // at most CVXUserTraceDefWrapper::kMaxTraces
    double massTolerance = 0.5;
    int toleranceUnit = kAmu;
    double startTime = 0.0;  // requested time range; start >= end: the whole run
    double endTime = 0.0;
    std::vector<CVXChro> traces;  // one per request entry
};

class CVXResults {
  public:
    QString RawFilePath() const { return rawFilePath_; }
    void SetRawFilePath(const QString& path) { rawFilePath_ = path; }
    // Drops everything read, the path included.
    void Empty() { *this = CVXResults(); }

    // User result i, created empty when missing; nullptr for a negative index.
    CVXUserResult* GetUserResultAt(int i);
    CVXUserResult* GetCurrentUserResult();
    CVXParentResult* GetParentResultAt(int i);

    double fileValue = 0.0;  // kept from the reader when the file was opened
    QStringList scanFilters;
    CVXUserTraceDefWrapper userTraceDefs;
    CVXGeneralChroResult generalChro;
    int viewType = 0;
    int typeCode = 1;  // kind of results: 1 a raw file of the mass spectrometer
    std::vector<CVXUserResult> userResults;
    int currentUserResult = -1;
    std::vector<CVXParentResult> parentResults;

    // Trace layout of the trace pane.
    static constexpr int kMaxDisplaySlots = 10;
    int currentTraceNumber = -1;
    int currentTraceSlot = -1;
    int displaySlotCount = 0;  // at most kMaxDisplaySlots
    int tracesPerPage = 1;
    std::vector<int> slotArray;  // trace number per display slot
    int tracesDefined = 0;

  private:
    QString rawFilePath_;
};

// Mass-defect correction used for nominal masses: defect (thousandths) at two masses.
struct CVXMassDefect {
    double defect1 = 0.0;
    double mass1 = 0.0;
    double defect2 = 0.0;
    double mass2 = 0.0;
};

// Holds the current results of the open file; created empty.
class CVXfile {
  public:
    CVXfile() : results_(std::make_unique<CVXResults>()) {}
    CVXResults* GetCurrentResults() { return results_.get(); }
    const CVXResults* GetCurrentResults() const { return results_.get(); }

    CVXMassDefect massDefect;

  private:
    std::unique_ptr<CVXResults> results_;
};

}  // namespace zar
