#pragma once
// The Zarmass engine: assigns charge states to the m/z values of one multiply charged ion
// series, turns them into a weighted average molecular weight with its spread, finds each
// ion's apex in the spectrum and makes the labels the spectrum views draw.

#include "ZarmassTypes.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zar {

// Calculations CalculateMW runs.
enum ZarmassMode : int {
    kZarmassModeSelectedMass = 2,  // series of one mass picked in the deconvoluted spectrum
    kZarmassModeAutomatic = 3,     // fit the typed values, then refine the whole series
    kZarmassModeManual = 4,        // fit the typed values only
    kZarmassModeConvolute = 5,     // show the series of one mass, no fit
};

class CZarmassDeconvolution {
  public:
    // The owner receives the messages the engine posts; it may be null.
    explicit CZarmassDeconvolution(QObject* owner = nullptr);
    CZarmassDeconvolution(const CZarmassDeconvolution&) = delete;
    CZarmassDeconvolution& operator=(const CZarmassDeconvolution&) = delete;

    // Takes a spectrum (ascending m/z) and the page's values. False when there are no peaks;
    // the engine then holds no spectrum and no result, so nothing is calculated on the one
    // read before.
    bool SetInputPeaks(const ZarmassParams& params, std::span<const PeakRecord> peaks,
                       const ZarmassScanInfo& scan);

    // Runs a mode on the spectrum set last. Modes 3 and 4 show "Unable to calculate the
    // molecular weight" when the fit fails; a failed fit reports no weight.
    bool CalculateMW(int mode);

    void GetMW(double& average, double& stdDev) const;
    double GetAverageMW() const { return averageMW_; }
    double GetStdDev() const { return stdDevMW_; }
    // True when the latest fit gave a weight.
    bool HasMW() const { return mwValid_; }
    int GetMode() const { return mode_; }

    std::span<const PeakRecord> GetWorkPeaks() const { return workPeaks_; }
    std::span<const PeakRecord> GetInputPeaks() const { return inputPeaks_; }
    std::span<const PeakRecord> GetOutputPeaks() const { return outputPeaks_; }
    const PeakRecord& GetBasePeak() const { return basePeak_; }
    double GetTotalIntensity() const { return totalIntensity_; }

    // The labels of the latest calculation, in ascending apex mass.
    std::span<const CPeakLabel> GetIdentifiedPeaks() const;
    // All label slots; those past the count are empty (apex mass 0.0).
    const std::array<CPeakLabel, kZarmassLabelSlots>& GetLabelSlots() const { return labels_; }
    // The m/z values of the series with their charge states and weights.
    std::span<const ChargeStateEntry> GetChargeStates() const;
    // The series the latest calculation worked on.
    std::span<const double> GetSelected() const;

    int GetComponentCount() const { return componentCount_; }
    int GetCurrentComponent() const { return currentComponent_; }
    const std::array<std::uint32_t, kZarmassColourCount>& GetColours() const { return colours_; }
    double GetScanTime() const { return scanTime_; }
    int GetScanNumber() const { return scanNumber_; }
    const QString& GetFilterText() const { return filterText_; }
    double GetAdduct() const { return adduct_; }

    void ClearSelection();
    // The next labels get this colour: a new component when appending (at most
    // kZarmassColourCount; the last one is reused after that), else component 0.
    void SetComponentColour(std::uint32_t colour, bool append);
    void FreeBuffers();
    // Forgets the spectra, the selection, the labels and the weight (another run is open); the
    // colours and limits stay.
    void Clear();

  protected:
    // Every m/z at which the neutral mass is seen within the work spectrum, descending.
    void GenerateSeries(double mass);
    // Moves each value onto its peak and trims the weak ends of the series.
    void RefineSeries();
    void BuildEntries(bool fromList);
    int AssignCharges();
    void ComputeWeights();
    void ComputeAverage();
    bool CalculateCore(bool fromList);
    void BuildLabels();
    // Charges of a generated series without a fit (the labels show them).
    void AssignFromSeries();
    void ResetMW();
    bool HasSpectrum() const { return !workPeaks_.empty(); }
    // The page's limits, adduct, widths and label mode; its values as the selected list.
    void TakeParams(const ZarmassParams& params);
    void TakeSelected(const ZarmassParams& params);
    void TakeScan(const ZarmassScanInfo& scan);
    void PostToOwner(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) const;

    std::array<std::uint32_t, kZarmassColourCount> colours_;
    std::uint32_t currentColour_ = 0xFF0000;
    QObject* owner_ = nullptr;
    std::vector<PeakRecord> inputPeaks_;
    std::vector<PeakRecord> outputPeaks_;
    std::vector<PeakRecord> workPeaks_;
    PeakRecord basePeak_;
    int mode_ = 0;
    std::vector<ChargeStateEntry> entries_;
    std::array<CPeakLabel, kZarmassLabelSlots> labels_;
    std::array<double, kZarmassMaxSelected> selected_{};
    double adduct_ = 1.0;
    double relativeThreshold_ = 0.0;
    double massLow_ = 5000.0;
    double massHigh_ = 30000.0;
    double totalIntensity_ = 0.0;
    double massStep_ = 1.0;
    double averageMW_ = 0.0;
    double scanTime_ = 0.0;
    double mzLow_ = 0.0;
    double mzHigh_ = 2000.0;
    double stdDevMW_ = 0.0;
    double peakWidth_ = 16.008;
    int scanNumber_ = 0;
    int polarity_ = 1;
    int selectedCount_ = 0;
    int componentCount_ = 1;
    int labelCount_ = 0;
    int currentComponent_ = 0;
    int labelsBuilt_ = 0;
    int overwriteLabels_ = 0;
    int directIndex_ = 0;
    bool mwValid_ = false;
    QString filterText_;
};

}  // namespace zar
