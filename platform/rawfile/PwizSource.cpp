// The one file that sees the run-file library: it turns its spectra into plain records, and
// writes runs for tests and benchmarks.

#include "RawSource.h"
#include "RunFileMarkup.h"
#include "rawfile/RunFileWriter.h"

#include "pwiz/data/msdata/DefaultReaderList.hpp"
#include "pwiz/data/msdata/MSDataFile.hpp"
#include "pwiz/data/msdata/Serializer_MGF.hpp"
#include "pwiz/data/msdata/Serializer_mzML.hpp"
#include "pwiz/data/msdata/Serializer_mzXML.hpp"
#include "pwiz/data/msdata/SpectrumListBase.hpp"
#include "pwiz/data/msdata/SpectrumList_mzXML.hpp"
#include "pwiz/utility/minimxml/SAXParser.hpp"
#include "pwiz/utility/misc/random_access_compressed_ifstream.hpp"

#include <boost/make_shared.hpp>

#include <QBuffer>
#include <QFile>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <cmath>
#include <exception>
#include <map>
#include <numeric>
#include <sstream>

namespace zar::rawfile {

namespace {

// Runs work that may throw; false with the exception's text when it did. Nothing thrown by
// the library gets past this file.
template <typename Work>
bool Guarded(Work&& work, QString& error) {
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    } catch (...) {
        error = QStringLiteral("unknown failure");
    }
    return false;
}

namespace pm = pwiz::msdata;
using namespace pwiz::cv;

// The first bytes by which the library tells a file's format.
constexpr qsizetype kHeadBytes = 512;

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

// The first whole number of a peak list's "SCANS=" value ("565", "565-567", "565,570").
int ScanNumberOfScans(const std::string& scans) {
    const char* start = scans.c_str();
    while (*start == ' ') ++start;
    char* end = nullptr;
    const long value = std::strtol(start, &end, 10);
    if (end == start || (*end != '\0' && *end != '-' && *end != ',' && *end != ' ')) return 0;
    return value > 0 && value < (1L << 30) ? static_cast<int>(value) : 0;
}

// "scan=N" anywhere in a peak list's title, as converters write it (often inside a quoted
// native id): a word of its own, the number ending at no letter or digit.
int ScanNumberOfTitle(const std::string& title) {
    const auto isWordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    for (std::size_t pos = title.find("scan="); pos != std::string::npos;
         pos = title.find("scan=", pos + 5)) {
        if (pos > 0 && (isWordChar(title[pos - 1]) || title[pos - 1] == '_')) continue;
        const char* start = title.c_str() + pos + 5;
        char* end = nullptr;
        const long value = std::strtol(start, &end, 10);
        if (end == start || !std::isdigit(static_cast<unsigned char>(*start)) || isWordChar(*end) ||
            *end == '.')
            continue;
        if (value > 0 && value < (1L << 30)) return static_cast<int>(value);
    }
    return 0;
}

// A spectrum's scan number: from its native id; for peak lists, whose ids are positions, from
// the "SCANS=" line or the title where they carry one; 0 when nothing does.
int ScanNumberOfSpectrum(const pm::Spectrum& spectrum) {
    if (const int n = ScanNumberOf(spectrum.id)) return n;
    if (const int n = ScanNumberOfScans(spectrum.cvParam(MS_peak_list_scans).value)) return n;
    return ScanNumberOfTitle(spectrum.cvParam(MS_spectrum_title).value);
}

// A value the file gives that is no number (NaN, infinite) counts as not given.
double FiniteOr(double value, double missing) {
    return std::isfinite(value) ? value : missing;
}

bool AllFinite(const double* mz, const double* intensity, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k)
        if (!std::isfinite(mz[k]) || !std::isfinite(intensity[k])) return false;
    return true;
}

// A precursor m/z that no instrument measures (negative, not finite, absurdly large) counts as
// not given.
double PlausiblePrecursorMz(double mz) {
    constexpr double kMaxPrecursorMz = 100000.0;
    return std::isfinite(mz) && mz > 0.0 && mz <= kMaxPrecursorMz ? mz : 0.0;
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

// The format of a run named `name` whose first bytes are `head`, as the library's readers of
// the formats we read tell it ("mzML", "mzXML", "Mascot Generic"); empty when none does.
std::string FormatOf(const std::string& name, const std::string& head) {
    static const pm::Reader_mzML mzmlReader;
    static const pm::Reader_mzXML mzxmlReader;
    static const pm::Reader_MGF mgfReader;
    // The markup readers look for the root element after an XML declaration (with the zero
    // bytes of a wide text left out): without one, asking them is only slow.
    std::string narrow;
    narrow.reserve(head.size());
    for (const char c : head)
        if (c != '\0') narrow.push_back(c);
    if (narrow.find("<?xml") != std::string::npos) {
        for (const pm::Reader* reader : {static_cast<const pm::Reader*>(&mzmlReader),
                                         static_cast<const pm::Reader*>(&mzxmlReader)}) {
            std::string type = reader->identify(name, head);
            if (!type.empty()) return type;
        }
    }
    return mgfReader.identify(name, head);
}

// Whether the file begins as a gzip stream does.
bool IsGzipFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char magic[2] = {};
    return file.read(magic, 2) && magic[0] == '\x1f' && magic[1] == '\x8b';
}

// Runs smaller than this are read through a standard file stream: the library's stream sets up
// read buffers larger than such a file each time it opens one, which costs a small run more
// than the position queries it saves.
constexpr std::uintmax_t kLibraryStreamMinBytes = std::uintmax_t(1) << 20;

// The stream a run file is read from: the library's own for a run of some size (the parser asks
// for its position all the time, which a standard file stream answers with a call to the
// system each time), a standard one for a small run.
boost::shared_ptr<std::istream> OpenRunStream(const std::string& path) {
    std::error_code failure;
    const std::uintmax_t bytes = std::filesystem::file_size(path, failure);
    if (!failure && bytes < kLibraryStreamMinBytes)
        return boost::make_shared<std::ifstream>(path, std::ios::binary);
    auto file = boost::make_shared<pwiz::util::random_access_compressed_ifstream>(path.c_str());
    if (!file->is_open()) file->setstate(std::ios::failbit);
    return file;
}

class PwizSource : public RawSource {
  public:
    // The run file at `path`: its format is found from its name and its first bytes, and the
    // library reads spectra on demand from the open file.
    explicit PwizSource(const std::string& path) {
        // The library's stream would read a compressed run too; that is not read (its markup
        // could not be checked first).
        if (IsGzipFile(path)) throw std::runtime_error("unsupported file format");
        boost::shared_ptr<std::istream> file = OpenRunStream(path);
        if (!*file) throw std::runtime_error("cannot open the file");
        std::string head(static_cast<std::size_t>(kHeadBytes), '\0');
        file->read(head.data(), kHeadBytes);
        head.resize(static_cast<std::size_t>(file->gcount()));
        file->clear();
        file->seekg(0);
        read(path, head, FormatOf(path, head), file);
    }
    // The bytes of a run file named `name`, read as the file's would be.
    PwizSource(const QByteArray& bytes, const std::string& name) {
        const std::string head(bytes.constData(), std::min<qsizetype>(bytes.size(), kHeadBytes));
        read(name, head, FormatOf(name, head),
             boost::make_shared<std::istringstream>(bytes.toStdString()));
    }

    std::size_t size() const override { return spectra_ ? spectra_->size() : 0; }

    bool read(std::size_t index, RawScanRecord& record, const PeakSink* sink,
              QString& error) const override {
        return Guarded([&] { readSpectrum(index, record, sink); }, error);
    }

  private:
    // Reads the run from `stream` as the library's reader of its format does from a file: the
    // markup formats with or without their index, and the file noted as the source, with the
    // kind of ids its spectra carry (the scan numbers of mzXML spectra follow from it).
    void read(const std::string& name, const std::string& head, const std::string& type,
              const boost::shared_ptr<std::istream>& stream) {
        // Made once: a reader of the XML formats builds its term tables when it is made.
        static const pm::Serializer_MGF mgf;
        static const pm::Serializer_mzXML indexedMzxml;
        static const pm::Serializer_mzXML bareMzxml = [] {
            pm::Serializer_mzXML::Config config;
            config.indexed = false;
            return pm::Serializer_mzXML(config);
        }();
        static const pm::Serializer_mzML indexedMzml;
        static const pm::Serializer_mzML bareMzml = [] {
            pm::Serializer_mzML::Config config;
            config.indexed = false;
            return pm::Serializer_mzML(config);
        }();
        CVID idFormat = CVID_Unknown;
        CVID fileFormat = CVID_Unknown;
        if (type == "Mascot Generic") {
            mgf.read(stream, *data_);
            idFormat = MS_multiple_peak_list_nativeID_format;
            fileFormat = MS_Mascot_MGF_format;
        } else if (type == "mzXML") {
            try {
                indexedMzxml.read(stream, *data_);
            } catch (const pm::SpectrumList_mzXML::index_not_found&) {
                // No usable index: the spectra are found by reading the whole run.
                stream->clear();
                stream->seekg(0);
                data_ = std::make_unique<pm::MSData>();
                bareMzxml.read(stream, *data_);
            }
            idFormat = MS_scan_number_only_nativeID_format;
            fileFormat = MS_ISB_mzXML_format;
        } else if (type == "mzML") {
            (pwiz::minimxml::xml_root_element(head) == "indexedmzML" ? indexedMzml : bareMzml)
                .read(stream, *data_);
        } else {
            throw std::runtime_error("unsupported file format");
        }
        const std::string fileName = name.substr(name.find_last_of('/') + 1);
        auto source = boost::make_shared<pm::SourceFile>(fileName, fileName);
        if (idFormat != CVID_Unknown) source->set(idFormat);
        if (fileFormat != CVID_Unknown) source->set(fileFormat);
        data_->fileDescription.sourceFilePtrs.push_back(source);
        take();
    }

    void take() {
        spectra_ = data_->run.spectrumListPtr;
        defaultConfig_ = data_->run.defaultInstrumentConfigurationPtr;
        if (!defaultConfig_ && !data_->instrumentConfigurationPtrs.empty())
            defaultConfig_ = data_->instrumentConfigurationPtrs.front();
    }

    void readSpectrum(std::size_t index, RawScanRecord& record, const PeakSink* sink) const {
        if (index >= size()) throw std::out_of_range("no such spectrum");
        const pm::SpectrumPtr spectrum = spectra_->spectrum(index, sink != nullptr);
        record = RawScanRecord();
        record.scanNumber = ScanNumberOfSpectrum(*spectrum);
        record.msLevel = spectrum->cvParam(MS_ms_level).valueAs<int>();
        if (record.msLevel <= 0) record.msLevel = spectrum->precursors.empty() ? 1 : 2;
        if (spectrum->hasCVParam(MS_positive_scan)) record.polarity = 1;
        if (spectrum->hasCVParam(MS_negative_scan)) record.polarity = 0;
        if (spectrum->hasCVParam(MS_centroid_spectrum)) record.centroid = 1;
        if (spectrum->hasCVParam(MS_profile_spectrum)) record.centroid = 0;
        const pm::CVParam tic = spectrum->cvParam(MS_total_ion_current);
        if (!tic.empty()) record.totalIonCurrent = FiniteOr(tic.valueAs<double>(), -1.0);

        pm::InstrumentConfigurationPtr config = defaultConfig_;
        if (!spectrum->scanList.scans.empty()) {
            const pm::Scan& scan = spectrum->scanList.scans.front();
            const pm::CVParam time = scan.cvParam(MS_scan_start_time);
            if (!time.empty()) record.retentionTime = FiniteOr(time.timeInSeconds() / 60.0, 0.0);
            record.filterString = QString::fromStdString(scan.cvParam(MS_filter_string).value);
            if (!scan.scanWindows.empty()) {
                const pm::ScanWindow& window = scan.scanWindows.front();
                record.windowLow =
                    FiniteOr(window.cvParam(MS_scan_window_lower_limit).valueAs<double>(), 0.0);
                record.windowHigh =
                    FiniteOr(window.cvParam(MS_scan_window_upper_limit).valueAs<double>(), 0.0);
            }
            if (scan.instrumentConfigurationPtr) config = scan.instrumentConfigurationPtr;
        }
        record.ionization = ionizationOf(config);

        for (const pm::Precursor& precursor : spectrum->precursors) {
            RawPrecursor p;
            if (!precursor.selectedIons.empty()) {
                const pm::SelectedIon& ion = precursor.selectedIons.front();
                p.mz = PlausiblePrecursorMz(ion.cvParam(MS_selected_ion_m_z).valueAs<double>());
                p.charge = ion.cvParam(MS_charge_state).valueAs<int>();
            }
            if (p.mz <= 0.0)
                p.mz = PlausiblePrecursorMz(
                    precursor.isolationWindow.cvParam(MS_isolation_window_target_m_z)
                        .valueAs<double>());
            const pm::CVParam energy = precursor.activation.cvParam(MS_collision_energy);
            if (!energy.empty()) {
                const double value = energy.valueAs<double>();
                p.hasEnergy = std::isfinite(value);
                p.energy = p.hasEnergy ? value : 0.0;
            }
            p.activation = ActivationOf(precursor.activation);
            record.precursors.push_back(p);
        }

        if (sink) {
            pm::BinaryDataArrayPtr mzArray = spectrum->getMZArray();
            pm::BinaryDataArrayPtr intensityArray = spectrum->getIntensityArray();
            std::size_t n = 0;
            if (mzArray && intensityArray)
                n = std::min(mzArray->data.size(), intensityArray->data.size());
            if (n == 0) {
                (*sink)(nullptr, nullptr, 0);
                return;
            }
            const double* mz = &mzArray->data[0];
            const double* intensity = &intensityArray->data[0];
            // A peak that is no number cannot be placed or summed: it is left out.
            std::vector<double> finiteMz;
            std::vector<double> finiteIntensity;
            if (!AllFinite(mz, intensity, n)) {
                for (std::size_t k = 0; k < n; ++k) {
                    if (!std::isfinite(mz[k]) || !std::isfinite(intensity[k])) continue;
                    finiteMz.push_back(mz[k]);
                    finiteIntensity.push_back(intensity[k]);
                }
                n = finiteMz.size();
                if (n == 0) {
                    (*sink)(nullptr, nullptr, 0);
                    return;
                }
                mz = finiteMz.data();
                intensity = finiteIntensity.data();
            }
            if (std::is_sorted(mz, mz + n)) {
                (*sink)(mz, intensity, n);
            } else {
                std::vector<double> sortedMz(mz, mz + n);
                std::vector<double> sortedIntensity(intensity, intensity + n);
                SortByMass(sortedMz, sortedIntensity);
                (*sink)(sortedMz.data(), sortedIntensity.data(), n);
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

    // Looking through the ontology for the source's kind is slow; one look per configuration.
    QString ionizationOf(const pm::InstrumentConfigurationPtr& config) const {
        const auto it = ionization_.find(config.get());
        if (it != ionization_.end()) return it->second;
        const QString ionization = IonizationOf(config);
        ionization_.emplace(config.get(), ionization);
        return ionization;
    }

    mutable std::map<const void*, QString> ionization_;
    std::unique_ptr<pm::MSData> data_ = std::make_unique<pm::MSData>();
    pm::SpectrumListPtr spectra_;
    pm::InstrumentConfigurationPtr defaultConfig_;
};

}  // namespace

std::unique_ptr<RawSource> OpenRunBytes(const QByteArray& bytes, const QString& name,
                                        QString& error) {
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    if (!CheckRunMarkup(device, error)) return nullptr;
    std::unique_ptr<RawSource> source;
    Guarded([&] { source = std::make_unique<PwizSource>(bytes, QFile::encodeName(name).toStdString()); },
            error);
    return source;
}

std::unique_ptr<RawSource> OpenRunFile(const QString& path, QString& error) {
    if (!CheckRunFileMarkup(path, error)) return nullptr;
    std::unique_ptr<RawSource> source;
    Guarded([&] { source = std::make_unique<PwizSource>(QFile::encodeName(path).toStdString()); },
            error);
    return source;
}

}  // namespace zar::rawfile

namespace zar {

namespace {

namespace pm = pwiz::msdata;
using namespace pwiz::cv;

CVID ActivationCvid(const QString& activation) {
    if (activation == QLatin1String("hcd")) return MS_beam_type_collision_induced_dissociation;
    if (activation == QLatin1String("etd")) return MS_electron_transfer_dissociation;
    return MS_collision_induced_dissociation;
}

// Makes each spectrum when the writer asks for it.
class GeneratedSpectra : public pm::SpectrumListBase {
  public:
    GeneratedSpectra(int count, const std::function<RunSpectrum(int)>& make,
                     pm::InstrumentConfigurationPtr config)
        : make_(make), config_(std::move(config)) {
        identities_.resize(count);
        for (int i = 0; i < count; ++i) identities_[i].index = i;
    }

    std::size_t size() const override { return identities_.size(); }
    const pm::SpectrumIdentity& spectrumIdentity(std::size_t index) const override {
        return identities_.at(index);
    }

    pm::SpectrumPtr spectrum(std::size_t index, bool getBinaryData) const override {
        const RunSpectrum made = make_(static_cast<int>(index));
        auto spectrum = boost::make_shared<pm::Spectrum>();
        spectrum->index = index;
        spectrum->id = "scan=" + std::to_string(made.scanNumber);
        identities_[index].id = spectrum->id;
        spectrum->set(MS_ms_level, made.msLevel);
        spectrum->set(made.msLevel == 1 ? MS_MS1_spectrum : MS_MSn_spectrum);
        spectrum->set(made.positive ? MS_positive_scan : MS_negative_scan);
        spectrum->set(made.centroid ? MS_centroid_spectrum : MS_profile_spectrum);
        spectrum->scanList.set(MS_no_combination);
        pm::Scan scan;
        scan.instrumentConfigurationPtr = config_;
        scan.set(MS_scan_start_time, made.retentionTime * 60.0, UO_second);
        if (!made.filterString.isEmpty())
            scan.set(MS_filter_string, made.filterString.toStdString());
        if (made.windowHigh > made.windowLow) {
            pm::ScanWindow window;
            window.set(MS_scan_window_lower_limit, made.windowLow, MS_m_z);
            window.set(MS_scan_window_upper_limit, made.windowHigh, MS_m_z);
            scan.scanWindows.push_back(window);
        }
        spectrum->scanList.scans.push_back(scan);
        for (const RunPrecursor& p : made.precursors) {
            pm::Precursor precursor;
            precursor.isolationWindow.set(MS_isolation_window_target_m_z, p.mz, MS_m_z);
            pm::SelectedIon ion;
            ion.set(MS_selected_ion_m_z, p.mz, MS_m_z);
            if (p.charge > 0) ion.set(MS_charge_state, p.charge);
            precursor.selectedIons.push_back(ion);
            precursor.activation.set(ActivationCvid(p.activation));
            precursor.activation.set(MS_collision_energy, p.energy, UO_electronvolt);
            spectrum->precursors.push_back(precursor);
        }
        const std::size_t n = std::min(made.mz.size(), made.intensity.size());
        spectrum->defaultArrayLength = n;
        if (getBinaryData) {
            spectrum->setMZIntensityArrays(
                std::vector<double>(made.mz.begin(), made.mz.begin() + n),
                std::vector<double>(made.intensity.begin(), made.intensity.begin() + n),
                MS_number_of_detector_counts);
        }
        return spectrum;
    }

  private:
    std::function<RunSpectrum(int)> make_;
    pm::InstrumentConfigurationPtr config_;
    mutable std::vector<pm::SpectrumIdentity> identities_;
};

}  // namespace

bool WriteRunFile(const QString& path, int count, const std::function<RunSpectrum(int)>& make,
                  QString& error) {
    return rawfile::Guarded(
        [&] {
            pm::MSData data;
            data.id = "run";
            data.cvs = pm::defaultCVList();
            data.fileDescription.fileContent.set(MS_MS1_spectrum);
            // Ids are "scan=N"; saying so lets every format keep the scan numbers.
            auto sourceFile = boost::make_shared<pm::SourceFile>("source", "run", "file:///");
            sourceFile->set(MS_scan_number_only_nativeID_format);
            sourceFile->set(MS_mzML_format);
            data.fileDescription.sourceFilePtrs.push_back(sourceFile);
            auto software = boost::make_shared<pm::Software>("writer");
            software->set(MS_custom_unreleased_software_tool);
            software->version = "1";
            data.softwarePtrs.push_back(software);
            auto config = boost::make_shared<pm::InstrumentConfiguration>("IC1");
            config->componentList.push_back(pm::Component(MS_nanoelectrospray, 1));
            config->componentList.push_back(pm::Component(MS_ion_trap, 2));
            config->componentList.push_back(pm::Component(MS_inductive_detector, 3));
            config->softwarePtr = software;
            data.instrumentConfigurationPtrs.push_back(config);
            auto processing = boost::make_shared<pm::DataProcessing>("dp");
            pm::ProcessingMethod method;
            method.order = 0;
            method.softwarePtr = software;
            method.set(MS_Conversion_to_mzML);
            processing->processingMethods.push_back(method);
            data.dataProcessingPtrs.push_back(processing);
            data.run.id = "run";
            data.run.defaultInstrumentConfigurationPtr = config;
            auto spectra = boost::make_shared<GeneratedSpectra>(std::max(count, 0), make, config);
            spectra->setDataProcessingPtr(processing);
            data.run.spectrumListPtr = spectra;

            pm::MSDataFile::WriteConfig writeConfig;
            const QString lower = path.toLower();
            writeConfig.format = lower.endsWith(".mgf")     ? pm::MSDataFile::Format_MGF
                                 : lower.endsWith(".mzxml") ? pm::MSDataFile::Format_mzXML
                                                            : pm::MSDataFile::Format_mzML;
            writeConfig.binaryDataEncoderConfig.precision = pm::BinaryDataEncoder::Precision_64;
            // The library does not look at its stream's state: a full disk would leave a cut
            // file behind a success.
            std::ofstream out(QFile::encodeName(path).toStdString(),
                              std::ios::binary | std::ios::trunc);
            if (!out) throw std::runtime_error(std::strerror(errno));
            pm::MSDataFile::write(data, out, writeConfig);
            out.flush();
            if (!out) throw std::runtime_error(std::strerror(errno ? errno : EIO));
            out.close();
            if (!out) throw std::runtime_error(std::strerror(errno ? errno : EIO));
        },
        error);
}

long long ReadEveryPeakWithLibrary(const QString& path, QString& error) {
    long long peaks = 0;
    const bool read = rawfile::Guarded(
        [&] {
            pm::DefaultReaderList readers;
            pm::MSDataFile data(QFile::encodeName(path).toStdString(), &readers);
            const pm::SpectrumListPtr spectra = data.run.spectrumListPtr;
            for (std::size_t i = 0; spectra && i < spectra->size(); ++i)
                peaks +=
                    static_cast<long long>(spectra->spectrum(i, true)->getMZArray()->data.size());
        },
        error);
    return read ? peaks : -1;
}

}  // namespace zar
