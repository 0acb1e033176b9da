#pragma once
// The spectra of a run file (mzML, mzXML, MGF) for the Pepmap matching, read through a reader
// of its own so that a worker never shares the document's reader.

#include "PepmapMatcher.h"

#include "rawfile/VRawfile.h"

#include <QString>

namespace zar {

class PepmapRawFileSource : public PepmapSpectrumSource {
  public:
    OpenResult open(const QString& path) override;
    int firstScan() const override { return first_; }
    int lastScan() const override { return last_; }
    // A scan number the run lacks (runs may number their scans with gaps) reads as an empty
    // spectrum; a scan that is there but cannot be read fails.
    bool readScan(int scanNumber, PepmapScan* scan) override;

  private:
    VRawfile raw_;
    int first_ = 0;
    int last_ = -1;
};

// What the Pepmap options take from a run: its scans and the total ion current that the match
// threshold is a share of. That is the highest total ion current of a scan (the top of the
// run's TIC trace): a peptide's intensity in one scan is compared with it.
struct PepmapRunSummary {
    int firstScan = 0;
    int lastScan = 0;
    double tic = 0.0;
};

// Reads the summary through the reader, which opens the run unless it holds that run already.
PepmapSpectrumSource::OpenResult ReadPepmapRunSummary(VRawfile& raw, const QString& path,
                                                      PepmapRunSummary* summary);

}  // namespace zar
