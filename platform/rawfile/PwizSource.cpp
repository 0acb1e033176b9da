// The one file that sees the run-file library: it turns its spectra into plain records.

#include "RawSource.h"

#include "pwiz/data/msdata/DefaultReaderList.hpp"
#include "pwiz/data/msdata/MSDataFile.hpp"

#include <QFile>

#include <algorithm>
#include <exception>
#include <numeric>

namespace zar::rawfile {

namespace {

namespace pm = pwiz::msdata;
using namespace pwiz::cv;

int ScanNumberOf(const std::string& id) {
    // Native ids are blank-separated "name=value" pairs; we want "scan=N".
    std::size_t pos = 0;
    while ((pos = id.find("scan=", pos)) != std::string::npos) {
        if (pos == 0 || id[pos - 1] == ' ') {
            const char* start = id.c_str() + pos + 5;
            char* end = nullptr;
            const long value = std::strtol(start, &end, 10);
            if (end != start && (*end == '\0' || *end == ' ') && value > 0 && value < (1L << 30))
                return static_cast<int>(value);
            return 0;
        }
        pos += 5;
    }
    return 0;
}

QString ActivationOf(const pm::Activation& activation) {
    struct Kind {
        CVID cvid;
        const char* code;
    };
    // Most specific first: a supplemental activation lists its main one as well.
    static const Kind kKinds[] = {
        {MS_electron_transfer_dissociation, "etd"},
        {MS_electron_capture_dissociation, "ecd"},
        {MS_higher_energy_beam_type_collision_induced_dissociation, "hcd"},
        {MS_beam_type_collision_induced_dissociation, "hcd"},
        {MS_pulsed_q_dissociation, "pqd"},
        {MS_infrared_multiphoton_dissociation, "irmpd"},
        {MS_collision_induced_dissociation, "cid"},
    };
    for (const Kind& kind : kKinds) {
        if (activation.hasCVParam(kind.cvid)) return QLatin1String(kind.code);
    }
    return {};
}

QString IonizationOf(const pm::InstrumentConfigurationPtr& config) {
    if (!config) return {};
    for (const pm::Component& component : config->componentList) {
        if (component.type != pm::ComponentType_Source) continue;
        if (component.hasCVParamChild(MS_nanoelectrospray)) return "NSI";
        if (component.hasCVParam(MS_nanoelectrospray)) return "NSI";
        if (component.hasCVParam(MS_electrospray_ionization)) return "ESI";
        if (component.hasCVParam(MS_matrix_assisted_laser_desorption_ionization)) return "MALDI";
        if (component.hasCVParam(MS_atmospheric_pressure_chemical_ionization)) return "APCI";
    }
    return {};
}

class PwizSource : public RawSource {
  public:
    PwizSource(const std::string& path) : data_(path, &readers_) {
        spectra_ = data_.run.spectrumListPtr;
        defaultConfig_ = data_.run.defaultInstrumentConfigurationPtr;
        if (!defaultConfig_ && !data_.instrumentConfigurationPtrs.empty())
            defaultConfig_ = data_.instrumentConfigurationPtrs.front();
    }

    std::size_t size() const override { return spectra_ ? spectra_->size() : 0; }

    bool read(std::size_t index, bool withPeaks, RawScanRecord& record, std::vector<double>* mz,
              std::vector<double>* intensity, QString& error) const override {
        try {
            readSpectrum(index, withPeaks, record, mz, intensity);
            return true;
        } catch (const std::exception& e) {
            error = QString::fromUtf8(e.what());
        } catch (...) {
            error = "unknown failure";
        }
        return false;
    }

  private:
    void readSpectrum(std::size_t index, bool withPeaks, RawScanRecord& record,
                      std::vector<double>* mz, std::vector<double>* intensity) const {
        if (index >= size()) throw std::out_of_range("no such spectrum");
        const pm::SpectrumPtr spectrum = spectra_->spectrum(index, withPeaks);
        record = RawScanRecord();
        record.scanNumber = ScanNumberOf(spectrum->id);
        record.msLevel = spectrum->cvParam(MS_ms_level).valueAs<int>();
        if (record.msLevel <= 0) record.msLevel = spectrum->precursors.empty() ? 1 : 2;
        if (spectrum->hasCVParam(MS_positive_scan)) record.polarity = 1;
        if (spectrum->hasCVParam(MS_negative_scan)) record.polarity = 0;
        if (spectrum->hasCVParam(MS_centroid_spectrum)) record.centroid = 1;
        if (spectrum->hasCVParam(MS_profile_spectrum)) record.centroid = 0;
        const pm::CVParam tic = spectrum->cvParam(MS_total_ion_current);
        if (!tic.empty()) record.totalIonCurrent = tic.valueAs<double>();

        pm::InstrumentConfigurationPtr config = defaultConfig_;
        if (!spectrum->scanList.scans.empty()) {
            const pm::Scan& scan = spectrum->scanList.scans.front();
            const pm::CVParam time = scan.cvParam(MS_scan_start_time);
            if (!time.empty()) record.retentionTime = time.timeInSeconds() / 60.0;
            record.filterString = QString::fromStdString(scan.cvParam(MS_filter_string).value);
            if (!scan.scanWindows.empty()) {
                const pm::ScanWindow& window = scan.scanWindows.front();
                record.windowLow = window.cvParam(MS_scan_window_lower_limit).valueAs<double>();
                record.windowHigh = window.cvParam(MS_scan_window_upper_limit).valueAs<double>();
            }
            if (scan.instrumentConfigurationPtr) config = scan.instrumentConfigurationPtr;
        }
        record.ionization = IonizationOf(config);

        for (const pm::Precursor& precursor : spectrum->precursors) {
            RawPrecursor p;
            if (!precursor.selectedIons.empty()) {
                const pm::SelectedIon& ion = precursor.selectedIons.front();
                p.mz = ion.cvParam(MS_selected_ion_m_z).valueAs<double>();
                p.charge = ion.cvParam(MS_charge_state).valueAs<int>();
            }
            if (p.mz <= 0.0)
                p.mz = precursor.isolationWindow.cvParam(MS_isolation_window_target_m_z)
                           .valueAs<double>();
            const pm::CVParam energy = precursor.activation.cvParam(MS_collision_energy);
            if (!energy.empty()) {
                p.energy = energy.valueAs<double>();
                p.hasEnergy = true;
            }
            p.activation = ActivationOf(precursor.activation);
            record.precursors.push_back(p);
        }

        if (withPeaks && mz && intensity) {
            mz->clear();
            intensity->clear();
            pm::BinaryDataArrayPtr mzArray = spectrum->getMZArray();
            pm::BinaryDataArrayPtr intensityArray = spectrum->getIntensityArray();
            if (mzArray && intensityArray) {
                const std::size_t n = std::min(mzArray->data.size(), intensityArray->data.size());
                mz->assign(mzArray->data.begin(), mzArray->data.begin() + n);
                intensity->assign(intensityArray->data.begin(), intensityArray->data.begin() + n);
                if (!std::is_sorted(mz->begin(), mz->end())) SortByMass(*mz, *intensity);
            }
        }
    }

    static void SortByMass(std::vector<double>& mz, std::vector<double>& intensity) {
        std::vector<std::size_t> order(mz.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(),
                         [&mz](std::size_t a, std::size_t b) { return mz[a] < mz[b]; });
        std::vector<double> sortedMz(mz.size());
        std::vector<double> sortedIntensity(mz.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            sortedMz[i] = mz[order[i]];
            sortedIntensity[i] = intensity[order[i]];
        }
        mz.swap(sortedMz);
        intensity.swap(sortedIntensity);
    }

    pm::DefaultReaderList readers_;
    pm::MSDataFile data_;
    pm::SpectrumListPtr spectra_;
    pm::InstrumentConfigurationPtr defaultConfig_;
};

}  // namespace

std::unique_ptr<RawSource> OpenRunFile(const QString& path, QString& error) {
    try {
        auto source = std::make_unique<PwizSource>(QFile::encodeName(path).toStdString());
        return source;
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    } catch (...) {
        error = "unknown failure";
    }
    return nullptr;
}

}  // namespace zar::rawfile
