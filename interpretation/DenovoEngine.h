#pragma once
// De novo sequencing of one peptide from its MS2 spectrum and the MS3 spectra of its fragment
// ions. The engine keeps the input spectra, turns them into evidence arrays over nominal mass
// (one per slot), sorts the fragment slots into two ion types, grows partial sequences on
// one-dimensional spectra built from them and ranks the survivors.
//
// A plain value type without widgets: the document owns one; a worker may run a copy and hand
// the finished copy back (DenovoWorker.h).

#include "DenovoTypes.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zar {

class CDenovoEngine {
  public:
    using Evidence = std::int64_t;

    // Capacities of the engine.
    static constexpr int kMaxSlots = 64;
    static constexpr int kMaxFilledSlots = 62;  // two slots stay for the colour accumulators
    static constexpr int kMaxPoints = 2048;     // points per spectrum
    static constexpr int kMaxCandidates = 512;  // working list and ranked table
    static constexpr int kMaxSequenceLength = 71;
    static constexpr int kMaxResiduePairs = 32;
    static constexpr int kMaxEvidence = 2048;
    static constexpr int kDisplayRange = 512;
    static constexpr int kMassRangeStart = 50;
    // Heaviest [M+H]+ prepared (far above any peptide the texts can spell); heavier or
    // non-positive precursors leave the engine unprepared instead of sizing arrays by them.
    static constexpr int kMaxParentMass = 20000;
    // Highest precursor charge taken as stated; a higher one counts as unknown.
    static constexpr int kMaxPrecursorCharge = 20;
    // Expansion of gaps: copies examined, largest gap expanded, fillers kept per gap and
    // combinations entered per copy.
    static constexpr int kMaxExpandedCopies = 16;
    static constexpr int kMaxExpandableGap = 384;
    static constexpr int kMaxGapFillers = 1024;
    static constexpr int kMaxExpansionsPerCopy = 4096;
    // Growth steps allowed per one-dimensional spectrum (dense spectra grow exponentially).
    static constexpr long long kDefaultWorkBudget = 200000;

    // Mass conversions between m/z and nominal mass.
    static constexpr double kMS2NominalFactor = 0.9995002498750625;
    static constexpr double kMS3NominalFactor = 0.9995002860784753;
    static constexpr double kNominalToMz = 1.0005;
    static constexpr double kProton = 1.0072764158248901;
    static constexpr double kWaterPlusProton = 19.0183896;

    CDenovoEngine();

    // --- Settings
    // Copies the settings without sequencing (the document's start values).
    void InitParameters(const DenovoParams& params);
    // Copies the settings and, when spectra are loaded, sequences them again.
    void SetParameters(const DenovoParams& params);
    DenovoParams Parameters() const;

    // Replaces the residue alphabet. When spectra are prepared, their residue pairs are found
    // again with the new alphabet, so the order of loading does not change the result.
    void SetResidueTable(int count, const char* letters, const double* masses);
    void SetResidueTable(const std::vector<DenovoResidue>& residues);
    const std::vector<DenovoResidue>& ResidueTable() const { return residues_; }

    // --- Loading
    // The whole load of a scan list in the order that gives reproducible results: alphabet,
    // spectra, preparation, settings (which sequence). Scans of another kind are skipped;
    // at most kMaxFilledSlots spectra are kept. An empty list changes nothing. Returns the
    // number of spectra loaded.
    int LoadSpectra(const std::vector<DenovoScan>& scans, const DenovoParams& params,
                    const std::vector<DenovoResidue>& residues = DenovoStandardResidues());

    // Copies one scan into a spectrum slot: points sorted by m/z; of more than kMaxPoints
    // points the most intense are kept. The charge of the precursor is 0 when unknown.
    void SetSpectrum(int slot, double precursor, const std::vector<DenovoPoint>& points,
                     int charge = 0);
    // Cleans the spectrum just copied into the slot and decides whether it is kept; returns
    // the next free slot index (slot + 1 when kept). The precursor becomes [M+H]+: by its
    // stated charge, or, when the charge is unknown, as doubly charged when the spectrum's
    // strong signal lies above it.
    int AddSpectrum(int slot, int kind);
    int AcceptSpectrum(int slot);
    void MergeSpectra(int target, int source);
    void SetSpectraLoaded(int count);
    int SpectraLoaded() const { return spectraLoaded_; }
    // Forgets every spectrum, slot and candidate (the alphabet and settings stay).
    void ClearSpectra();

    void FilterPeaks();
    void PrepareSpectra();
    void ClearScores();
    double LookupIntensity(int spectrum, int nominal) const;

    // --- Ion types and one-dimensional spectra
    void AssignSigns();
    void AssignSignsIteratively();
    void AssignRemainingSigns();
    double Similarity(int slotA, int slotB) const;
    Evidence SumSlot(int slot) const;
    void AddSlot(int target, int source);
    // Builds the one-dimensional spectrum of type 1-9; returns its point count (0 for another
    // type, which builds nothing).
    int BuildSpectrum(int type);
    const std::vector<Evidence>& GetOneDimensionalSpectrum(int* count) const;
    static QString GetSpectrumTypeName(int type);

    // --- Sequencing and scores
    void SequenceAllTypes();
    void SequenceSpectrum(int type);
    void ExpandPartialSequences();
    // Residue strings of two or more residues whose nominal masses sum to the gap (at most
    // kMaxGapFillers).
    std::vector<std::string> EnumerateGapFillers(int gap) const;
    double PrimaryScore(const std::string& text, double pathScore) const;
    double ScoreOneDimensional(const std::string& text);
    double ScoreTwoDimensional(const std::string& text);
    double ScoreMS2(const std::string& text);
    double GetSequenceMass(const std::string& text) const;
    void AddCandidate(const std::string& text, double pathScore);
    void AddExpandedCandidate(const std::string& text, double s0);
    // Ranks the working list into the candidate table; returns the candidate count.
    int FormatSequenceTable();
    const DenovoCandidate* GetCandidate(int index) const;
    int CandidateCount() const { return candidateCount_; }

    // The working list (best first).
    const std::string& WorkingText(int index) const { return texts_[index]; }
    double WorkingS0(int index) const { return s0_[index]; }
    double WorkingCS1D(int index) const { return cs1d_[index]; }

    // --- What the views read
    int MassRangeStart() const { return massRangeStart_; }
    int MassRangeEnd() const { return massRangeEnd_; }
    int MaximumEvidence() const { return maximumEvidence_; }
    int DisplayRange() const { return kDisplayRange; }
    int SlotParent(int slot) const { return parents_[slot]; }
    int SlotSign(int slot) const { return signs_[slot]; }
    void SetSlotSign(int slot, int sign) { signs_[slot] = static_cast<std::int16_t>(sign); }
    const std::vector<Evidence>& SlotEvidence(int slot) const { return evidence_[slot]; }
    double Precursor(int spectrum) const { return spectra_[spectrum].precursor; }
    int PrecursorCharge(int spectrum) const { return spectra_[spectrum].charge; }
    const std::vector<DenovoPoint>& Points(int spectrum) const { return spectra_[spectrum].points; }
    int YPairCount() const { return static_cast<int>(yPairs_.size()); }
    int BPairCount() const { return static_cast<int>(bPairs_.size()); }
    int OneDimensionalSum() const { return static_cast<int>(oneDSum_); }
    Evidence OneDimensionalMaximum() const { return oneDMax_; }

    // --- Work control
    // A flag that, once set, makes the running load or sequencing stop at the next step.
    void SetCancelFlag(const std::atomic<bool>* cancel) { cancel_ = cancel; }
    bool Cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }
    // Growth steps per one-dimensional spectrum; 0 = unbounded.
    void SetWorkBudget(long long steps) { workBudget_ = steps; }
    long long WorkDone() const { return workDone_; }

  private:
    struct Spectrum {
        double precursor = 0.0;
        int charge = 0;  // of the precursor as the run states it; 0 unknown
        std::vector<DenovoPoint> points;
    };
    struct ResiduePair {
        int parent = 0;
        int slot = 0;
    };
    // Where a growing sequence stands: its text and the gaps that frame it.
    struct Growth {
        std::string text;
        int head = 0;
        bool hasHead = false;
    };

    bool Prepared() const { return massRangeEnd_ > 0 && spectraLoaded_ > 0; }
    int RedSlot() const { return spectraLoaded_; }
    int BlueSlot() const { return spectraLoaded_ + 1; }
    bool Intense(int slot, int factor) const;
    const DenovoResidue* ResidueOfNominal(int nominal) const;
    const DenovoResidue* ResidueOfLetter(char letter) const;
    void RebuildResidueIndex();
    void FindResiduePairs();
    void KeepMostIntense(std::vector<DenovoPoint>& points, std::size_t count) const;
    bool LooksDoublyCharged(const Spectrum& spectrum, double precursor) const;
    void RemoveMultiplyChargedPrecursor(Spectrum& spectrum, double& precursor, int charge);
    void AddSign(int slot, int sign);
    double SimilarityOf(const std::vector<Evidence>& a, const std::vector<Evidence>& b) const;
    double Background(const std::vector<Evidence>& a, const std::vector<Evidence>& b) const;
    bool Counts(Evidence value, bool bothSigns) const;
    // Fills stepCounts_ and stepMasses_ for the 1-D spectrum about to be sequenced.
    void PrepareSteps();
    bool SpendWork();
    bool StartGrowth(int ionMass, Growth& growth) const;
    void ExtendForward(Growth& growth, int j, double score);
    void ExtendBackward(Growth& growth, int j, double score);
    // Enters the growth, closed by a last residue or by a trailing gap.
    void AddGrowth(const Growth& growth, const DenovoResidue* last, int tailGap, double score);
    double ScoreOf(int head, int tail, double pathScore) const;
    bool Admissible(double s0) const;
    void EnterCandidate(const std::string& text, double s0);
    void EnumerateResidueCombinations(int mass, int gap, const std::string& prefix,
                                      std::vector<std::string>& out) const;
    // The theoretical ladder of a text in the scratch array; returns its fragment positions.
    std::vector<int> BuildLadder(const std::string& text, bool mirrored);
    const std::vector<Evidence>& RedMinusBlueFolded();
    int FindEntry(const std::string& text, int listLength) const;
    bool RaiseIfListed(const std::string& text, double s0, int listLength);
    void MoveEntryUp(int from, double s0);
    void InsertEntry(const std::string& text, double s0, double cs1d, int listLength, bool byKey);

    // Settings.
    double daTolerance_ = 0.3;
    double noiseThreshold_ = 10.0;
    double ppmTolerance_ = 200.0;
    double minimumPrimaryScore_ = 0.1;
    double percentOfHighestScore_ = 50.0;
    int maximumPartialSequences_ = 256;
    int maximumCandidates_ = 16;
    int expandPartialSequences_ = 0;

    // Spectra and slots.
    std::vector<Spectrum> spectra_;
    std::vector<int> parents_;
    std::vector<std::vector<Evidence>> evidence_;
    std::vector<std::int16_t> signs_;
    int spectraLoaded_ = 0;
    int massRangeStart_ = kMassRangeStart;
    int massRangeEnd_ = 0;
    int maximumEvidence_ = 0;
    std::vector<ResiduePair> yPairs_;
    std::vector<ResiduePair> bPairs_;

    // Alphabet.
    std::vector<DenovoResidue> residues_;
    std::vector<int> residueOfNominal_;  // nominal mass -> first residue index, -1 none
    std::vector<int> residueOfLetter_;   // character code -> residue index, -1 none

    // One-dimensional spectrum.
    std::vector<Evidence> oneD_;
    // While one 1-D spectrum is sequenced: which of its positions count as a step (1), and the
    // residue masses a step can span, ascending, with their residue.
    std::vector<std::uint8_t> stepCounts_;
    std::vector<std::pair<int, const DenovoResidue*>> stepMasses_;
    int oneDCount_ = 0;
    Evidence oneDSum_ = 0;
    Evidence oneDMax_ = 0;

    // Working list and ranked table.
    std::vector<std::string> texts_;
    std::vector<double> s0_;
    std::vector<double> cs1d_;
    std::vector<DenovoCandidate> table_;
    int candidateCount_ = 0;

    // Scratch of the scores, and what stays valid while the ion types do not change.
    std::vector<Evidence> ladder_;
    std::vector<Evidence> experimental_;
    std::vector<Evidence> foldedRedMinusBlue_;
    bool foldedValid_ = false;
    std::unordered_map<std::string, double> cs1dMemo_;

    const std::atomic<bool>* cancel_ = nullptr;
    long long workBudget_ = kDefaultWorkBudget;
    long long workDone_ = 0;
    long long workStart_ = 0;
};

}  // namespace zar
