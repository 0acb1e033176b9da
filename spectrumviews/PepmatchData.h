#pragma once
// The fragment-ion engine of the document: computes the ions of a typed peptide into an ion
// grid, keeps them as labelled ions, matches them against the current scan of the run and tells
// the main window that new labels exist. Runs on the user-interface thread only.

#include "FragmentIons.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QObject;

namespace zar {

class VRawfile;

// 0x00BBGGRR, as the label colours are stored.
using ColorRef = std::uint32_t;

// Label colours: one per colour set; appends beyond the last keep using the last set.
constexpr int kMaxColorSets = 16;
// Characters of an ion label ("Y'12"); longer labels are cut.
constexpr int kMaxIonLabelLength = 15;
// A peak within this many m/z units of an ion matches it.
constexpr double kPepmatchHalfWindow = 0.5;
constexpr double kInitialRelativeThreshold = 0.2;

// Grid columns: 1 the residue, 2 "M + H", then one per series slot.
constexpr int kIonGridResidueColumn = 1;
constexpr int kIonGridMHColumn = 2;
constexpr int kIonGridFirstIonColumn = 3;
constexpr int kIonGridColumnCount = kIonGridFirstIonColumn + kFragmentSeriesCount - 1;  // 18
// Titles of columns 1..18, as the hosting views create the grid.
inline constexpr const char* kIonGridTitles[kIonGridColumnCount] = {
    "AA", "M + H", "A",  "A*", "Ao", "B",  "B*", "Bo",    "C",
    "X",  "Y",     "Y*", "Yo", "Z*", "W'", "D'", "H int", "P int"};

// The ion grid as the engine writes it; the hosting view adapts its grid to this. Rows and
// columns are 1-based (row 0 and column 0 are the headers).
class IIonGridSink {
  public:
    virtual ~IIonGridSink() = default;
    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    // Empties rows first..last, columns first..last.
    virtual void clearCells(int firstRow, int firstColumn, int lastRow, int lastColumn) = 0;
    virtual void setTextCell(int row, int column, const QString& text) = 0;
    // A number shown as text ("%.13g") with a numeric value type; coloured cells use the colour
    // for their text.
    virtual void setNumberCell(int row, int column, const QString& text, bool coloured,
                               ColorRef color) = 0;
};

struct PepmatchIon {
    double intensity = 0.0;  // of the matched peak; 0 while unmatched
    double mass = 0.0;       // theoretical m/z, or the matched peak's; 0 = empty slot
    int colorSet = 0;
    int present = 0;
    QString label;  // at most kMaxIonLabelLength characters
};

class CPepmatchIonList {
  public:
    explicit CPepmatchIonList(int residueCount);
    virtual ~CPepmatchIonList() = default;

    PepmatchIon& ion(int residue1, int slot) {
        return ions_[static_cast<size_t>((residue1 - 1) * kFragmentSeriesCount + slot)];
    }
    const PepmatchIon& ion(int residue1, int slot) const {
        return ions_[static_cast<size_t>((residue1 - 1) * kFragmentSeriesCount + slot)];
    }
    const std::vector<PepmatchIon>& ions() const { return ions_; }

    int residueCount() const { return residueCount_; }
    int labelledIonCount() const { return labelledIonCount_; }
    const QString& sequence() const { return sequence_; }
    double relativeThreshold() const { return relativeThreshold_; }
    double matchHalfWindow() const { return kPepmatchHalfWindow; }

  private:
    friend class CPepmatchData;
    std::vector<PepmatchIon> ions_;
    QString sequence_;
    double relativeThreshold_ = kInitialRelativeThreshold;
    int residueCount_ = 0;
    int labelledIonCount_ = 0;
};

struct PepmatchOptions {
    // Positions of the series flags, in the order the options dialog keeps them.
    enum Series : int {
        kA = 0,
        kAStar,
        kAo,
        kB,
        kBStar,
        kBo,
        kC,
        kD,
        kHInternal,
        kPInternal,
        kW,
        kX,
        kY,
        kYStar,
        kYo,
        kZStar,
    };

    ColorRef labelColor = 0;
    double threshold = 0.0;  // percent of the base peak
    int append = 0;
    int monoisotopic = 1;
    std::array<int, kFragmentSeriesCount> series{};

    // The flags as series slots.
    IonSlotMask slotMask() const;
};

class CPepmatchData {
  public:
    CPepmatchData();
    ~CPepmatchData();
    CPepmatchData(const CPepmatchData&) = delete;
    CPepmatchData& operator=(const CPepmatchData&) = delete;

    // Binds a reader on the run: the shared one (the document's) when it has this file open,
    // else a reader of the engine's own. False after a message.
    bool OpenRawFile(const QString& path, VRawfile* shared = nullptr);
    // The scan nearest the time becomes the current scan; false when the reader cannot say.
    bool SetScanFromRetentionTime(double retentionTime);
    void SetCurrentScan(int scan) { currentScan_ = scan; }
    int GetCurrentScan() const { return currentScan_; }
    int GetFirstScan() const { return firstScan_; }
    int GetLastScan() const { return lastScan_; }

    // The grid the next calculation writes to (borrowed; null writes nothing).
    void SetTargetGrid(IIonGridSink* grid) { grid_ = grid; }
    // Receives the "Pepmatch done" message (the main window).
    void SetNotifyTarget(QObject* target) { notifyTarget_ = target; }

    // Computes, labels and matches the ions; false when the sequence is empty.
    bool PerformPepmatch(const QString& sequence, const PepmatchOptions& options);
    // Writes the selected series into the grid only.
    // shifts, terminals: the static modifications of the search the sequence was found with.
    bool CalculateSequenceIons(const QString& sequence, const PepmatchOptions& options,
                               const ResidueMassShifts& shifts = {},
                               const TerminalMassShifts& terminals = {});

    const CPepmatchIonList* GetIonList() const { return ionList_.get(); }
    const std::array<ColorRef, kMaxColorSets>& GetLabelColors() const { return labelColors_; }
    int GetLabelColorCount() const { return colorSetCount_; }

  private:
    bool prepareGrid(const QString& sequence, const FragmentIonTable& table);
    void matchCurrentScan();
    void fillIon(PepmatchIon& ion, double mass, int slot, int residue1, int internalStart,
                 int colorSet);

    VRawfile* reader_ = nullptr;  // the document's reader or ownReader_
    std::unique_ptr<VRawfile> ownReader_;
    std::unique_ptr<CPepmatchIonList> ionList_;
    IIonGridSink* grid_ = nullptr;
    QObject* notifyTarget_ = nullptr;
    std::array<ColorRef, kMaxColorSets> labelColors_{};
    int firstScan_ = 0;
    int lastScan_ = 0;
    int currentScan_ = 0;
    int colorSetCount_ = 1;
};

}  // namespace zar
