#pragma once
// The Pepmap engine: digests the document's protein sequence with an enzyme of the enzyme table
// and keeps the peptides, with the best match of each in the run's spectra, for the Pepmap and
// trace views. The document owns the one engine; everything here runs on the user-interface
// thread. A run on a worker (CPepmapWorker) starts from MakeRunRequest and hands its list back
// through AdoptRunResult, so the list the views read is never written by another thread.

#include "PepmapDigest.h"
#include "PepmapMatcher.h"
#include "PepmapOptions.h"
#include "PepmapPeptide.h"
#include "PepmapRules.h"
#include "PepmapRun.h"

#include "document/EnzymeTable.h"

#include <QString>

#include <functional>
#include <vector>

namespace zar {

class CPepmapEngine {
  public:
    CPepmapEngine();
    ~CPepmapEngine();
    CPepmapEngine(const CPepmapEngine&) = delete;
    CPepmapEngine& operator=(const CPepmapEngine&) = delete;

    // Drops the digest and the bond markers (the document's reset, for a new run). The scan
    // limits of the last run mean nothing for the next: until the options dialog sets others,
    // the whole run is matched.
    void FreePeptides();

    void SetSequence(const QString& sequence) { sequence_ = sequence; }
    const QString& GetSequence() const { return sequence_; }

    // Rebuilds the rules from the document's enzyme table (when the options dialog opens).
    void BuildEnzymeRules(const CEnzymeTable::Records& records);
    const std::vector<PepmapRule>& GetRules() const { return rules_; }
    // The rule the enzyme option selects; an empty rule for an index without one.
    const PepmapRule& SelectedRule() const;

    // Copies the options out; the TIC of the given block is left as it was.
    void GetOptions(PepmapOptions& options) const;
    void SetOptions(const PepmapOptions& options) { options_ = options; }
    const PepmapOptions& Options() const { return options_; }

    // One marker per residue of the sequence, 1 for a cysteine named as a bond partner. A null
    // array changes nothing; the markers stay for later digests.
    void SetSpecificBonds(const int* markers, int count);
    bool HasBondMarkers() const { return markersSet_; }
    const std::vector<int>& BondMarkers() const { return markers_; }

    // Digests the sequence now, on the calling thread; messages go to the message box.
    void Digest();
    // Matches the list against the source's spectra now, on the calling thread; the source
    // must be open.
    void RunPepmap(PepmapSpectrumSource& source);
    // Sorts the list; kPepmapSortStored takes the options' mode.
    void SortPeptides(int mode);

    // Takes the sequence and returns the copy a worker runs on: the sequence, the options, the
    // selected rule, the masses, the bond markers and the run's path.
    PepmapRunRequest MakeRunRequest(const QString& sequence, const QString& rawFilePath);
    // Takes the list of a finished worker run.
    void AdoptRunResult(PepmapRunResult&& result);

    double GetHydrogenMass(bool monoisotopic) const { return masses_.hydrogen(monoisotopic); }
    // {average H, monoisotopic H}, {average OH, monoisotopic OH}.
    void GetNTermMasses(double out[2]) const;
    void GetCTermMasses(double out[2]) const;
    const PepmapMassTables& Masses() const { return masses_; }

    // Whether a digest list exists at all (none before the first digest and after a reset).
    bool HasDigest() const { return hasDigest_; }
    const PepmapPeptideList& Peptides() const { return peptides_; }
    // Rows in the list; -1 after a digest that ran out of memory.
    int PeptideCount() const { return peptideCount_; }

    // The trace view's new time range, passed on to the options dialog while it listens.
    void SetScanRangeListener(std::function<void(double, double)> listener) {
        scanRangeListener_ = std::move(listener);
    }
    void SetScanRangeFromTimes(double startTime, double endTime);

  private:
    PepmapDigestInput digestInput() const;

    QString sequence_;
    PepmapOptions options_;
    std::vector<PepmapRule> rules_;
    PepmapMassTables masses_;
    std::vector<int> markers_;
    bool markersSet_ = false;
    PepmapPeptideList peptides_;
    bool hasDigest_ = false;
    int peptideCount_ = 0;
    std::function<void(double, double)> scanRangeListener_;
};

}  // namespace zar
