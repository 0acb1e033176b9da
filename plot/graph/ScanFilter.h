#pragma once
// The server's scan filter: which scans a trace or spectrum stands for. Made from the program's
// VXPlot_Filter record, formatted as the filter text of a heading, compared and matched.

#include "plot/typelib/ZarPlotTypes.h"

#include <QChar>
#include <QString>

#include <vector>

namespace zar::plot {

using namespace ZAR_PLOTLib;

struct ScanFilterSettings {
    VXPlot_ScanData scanData = VXPlot_AcceptAnyScanData;
    VXPlot_Polarity polarity = VXPlot_AnyPolarity;
    VXPlot_MSOrder msOrder = VXPlot_AcceptAnyMSorder;
    VXPlot_Dep dependent = VXPlot_AcceptAnyDep;
    VXPlot_Wideband wideband = VXPlot_AcceptAnyWideband;
    VXPlot_SourceCID sourceCID = VXPlot_AcceptAnySourceCID;
    VXPlot_ScanType scanType = VXPlot_AcceptAnyScanType;
    std::int32_t isComplete = 1;
    VXPlot_TurboScan turboScan = VXPlot_AcceptAnyTurboScan;
    VXPlot_IonizationMode ionizationMode = VXPlot_AcceptAnyIonizationMode;
    VXPlot_Corona corona = VXPlot_AcceptAnyCorona;
    VXPlot_Detector detector = VXPlot_AcceptAnyDetector;
    double detectorValue = 0.0;
    VXPlot_SourceCIDType sourceCIDType = VXPlot_AcceptAnySourceCIDType;
    std::int32_t scanTypeIndex = -1;  // high and low 16 bits are two numbers; -1 none
};

// Mass, energy and whether the energy is left out of the filter are kept together, so the lists
// can never disagree in length.
struct FilterPrecursor {
    double mass = 0.0;
    double energy = 0.0;
    bool energyIgnored = true;
};

struct FilterEnergy {
    double energy = 0.0;
    bool ignored = true;
};

struct FilterMassRange {
    double low = 0.0;
    double high = 0.0;
};

class CScanFilter {
  public:
    // The defaults: everything accepted, separators from the user's locale.
    CScanFilter();

    ScanFilterSettings& Settings() { return settings_; }
    const ScanFilterSettings& Settings() const { return settings_; }
    const std::vector<FilterPrecursor>& Precursors() const { return precursors_; }
    const std::vector<FilterMassRange>& MassRanges() const { return massRanges_; }
    const std::vector<FilterEnergy>& SourceFragmentationEnergies() const { return sourceEnergies_; }

    // Growing a list: new precursors and energies are ignored; a new mass range starts as the
    // mass spectrometer's default range.
    void ResizePrecursors(std::size_t count);
    void SetPrecursor(std::size_t index, double mass, double energy, bool energyValid);
    void ResizeMassRanges(std::size_t count);
    void SetMassRange(std::size_t index, double low, double high);
    void ResizeSourceFragmentation(std::size_t count);
    void SetSourceFragmentationEnergy(std::size_t index, double energy, bool valid);
    // Resets to a new filter's defaults (the separators stay).
    void Clear();

    void SetSeparators(QChar list, QChar decimal) {
        listSeparator_ = list;
        decimalSeparator_ = decimal;
    }
    QChar ListSeparator() const { return listSeparator_; }
    QChar DecimalSeparator() const { return decimalSeparator_; }

    // The filter text: massDecimals and energyDecimals digits; maxLength >= 3 cuts a longer text
    // to maxLength - 3 characters and "...". Callers use (2, -1, 2).
    QString Format(int massDecimals = 2, int maxLength = -1, int energyDecimals = 2) const;
    bool IsAcceptAll() const;
    bool Equals(const CScanFilter& other) const;
    bool Matches(const CScanFilter& other, double massTolerance, double energyTolerance) const;

  private:
    ScanFilterSettings settings_;
    std::vector<FilterPrecursor> precursors_;
    std::vector<FilterMassRange> massRanges_;
    std::vector<FilterEnergy> sourceEnergies_;
    std::vector<FilterMassRange> secondMassRanges_;  // copied and cleared with the filter only
    QChar listSeparator_;
    QChar decimalSeparator_;
};

// The controls' InitializeFilter: every field on accept-any, complete, no counts, validity
// arrays zeroed (the mass and energy arrays are left as they were).
void InitFilterRecord(VXPlot_Filter* record);

// Copies a record into a filter (resetting nothing first). Counts below 0 or above the record's
// room make it refuse: false, and the filter is unchanged.
bool ConvertFilterRecord(const VXPlot_Filter* record, CScanFilter& filter);
// True when the record's counts fit its arrays.
bool FilterRecordCountsValid(const VXPlot_Filter& record);

// The list separator of the user's locale ("," unless the decimal separator is a comma).
QChar LocaleListSeparator();
QChar LocaleDecimalSeparator();

}  // namespace zar::plot
