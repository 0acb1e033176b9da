#include "DemoRun.h"

#include "DemoRandom.h"

#include "databases/PepmapRules.h"
#include "databases/SequenceMasses.h"
#include "spectrumviews/FragmentIons.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

namespace zar {

namespace {

// Light : heavy amounts given to the cysteine peptides in turn.
constexpr double kPairRatios[] = {1.0, 2.0, 0.5, 3.0, 1.0 / 3.0, 1.5};
// Daltons per unit of the Poisson parameter of the isotope model.
constexpr double kMassPerIsotopeUnit = 1800.0;
constexpr int kMs1NoisePeaks = 120;
constexpr int kMs2NoisePeaks = 40;
// Smallest noise peak: every peak survives the text formats' one decimal.
constexpr double kMs2NoiseFloor = 5.0;
constexpr int kIntactNoisePeaks = 300;
constexpr double kMinIsotopeFraction = 0.01;
constexpr double kFragmentDropChance = 0.3;
constexpr double kMs2WindowHigh = 2000.0;
constexpr double kIntactWindowLow = 600.0;
constexpr double kIntactWindowHigh = 2000.0;
constexpr double kIntactApex = 3.0e6;
constexpr double kIntactCentreCharge = 17.0;
constexpr double kIntactChargeWidth = 3.0;
constexpr double kPrecursorError = 0.002;  // sigma of a measured precursor, m/z
constexpr double kMs1MassError = 0.001;
constexpr double kMs3FragmentError = 0.003;  // sigma of a measured MS3 precursor, m/z
constexpr double kMs3Energy = 35.0;
// Scans per minute of the run made with the default settings, to stretch a longer one.
constexpr double kScansPerMinute = 73.0;

// Kyte-Doolittle hydropathy, used to order the peptides' retention times.
double Hydropathy(QChar residue) {
    switch (residue.toLatin1()) {
        case 'I':
            return 4.5;
        case 'V':
            return 4.2;
        case 'L':
            return 3.8;
        case 'F':
            return 2.8;
        case 'C':
            return 2.5;
        case 'M':
            return 1.9;
        case 'A':
            return 1.8;
        case 'G':
            return -0.4;
        case 'T':
            return -0.7;
        case 'S':
            return -0.8;
        case 'W':
            return -0.9;
        case 'Y':
            return -1.3;
        case 'P':
            return -1.6;
        case 'H':
            return -3.2;
        case 'E':
        case 'Q':
        case 'D':
        case 'N':
            return -3.5;
        case 'K':
            return -3.9;
        case 'R':
            return -4.5;
        default:
            return 0.0;
    }
}

// How a peptide's ions share its charges: small peptides fly as 1+ and 2+, large ones as 2+
// to 4+.
void AssignCharges(DemoPeptide& peptide) {
    if (peptide.mass < 1000.0) {
        peptide.charges = {1, 2};
        peptide.chargeShares = {0.3, 0.7};
    } else if (peptide.mass < 2000.0) {
        peptide.charges = {2, 3};
        peptide.chargeShares = {0.75, 0.25};
    } else {
        peptide.charges = {2, 3, 4};
        peptide.chargeShares = {0.35, 0.5, 0.15};
    }
}

QString LabelledResidues(const QString& sequence) {
    QString text;
    for (QChar c : sequence) {
        text.append(c);
        if (c == QLatin1Char('C')) text.append(QLatin1Char('*'));
    }
    return text;
}

struct Peak {
    double mz;
    double intensity;
};

void StorePeaks(std::vector<Peak>& peaks, RunSpectrum& spectrum) {
    std::stable_sort(peaks.begin(), peaks.end(),
                     [](const Peak& a, const Peak& b) { return a.mz < b.mz; });
    spectrum.mz.reserve(peaks.size());
    spectrum.intensity.reserve(peaks.size());
    for (const Peak& p : peaks) {
        spectrum.mz.push_back(p.mz);
        spectrum.intensity.push_back(p.intensity);
    }
}

class RunBuilder {
  public:
    explicit RunBuilder(DemoRun& run)
        : run_(run),
          s_(run.settings),
          random_(run.settings.seed),
          stretch_(s_.scanCount > 0 ? std::max(1.0, s_.scanCount / (kScansPerMinute * s_.runMinutes))
                                    : 1.0) {}

    void build() {
        run_.database = DemoDatabaseProteins();
        digest();
        assignRetentionTimes();
        addHeavyPartners();
        listIons();
        schedule();
    }

  private:
    struct Ion {
        int peptide;
        int chargeIndex;
        int charge;
        double mz;  // monoisotopic
        std::vector<double> isotopes;
    };

    void digest() {
        const SequenceMassTable mono = SequenceMassTable::For(true);
        const PepmapRule trypsin = MakePepmapRule(1, QStringLiteral("KR"), QStringLiteral("P"));
        std::set<QString> seen;
        for (size_t p = 0; p < run_.database.size(); ++p) {
            const DemoProtein& protein = run_.database[p];
            if (!protein.target) continue;
            const std::vector<int> sites = FindCleavageSites(trypsin, protein.sequence);
            for (size_t i = 0; i + 1 < sites.size(); ++i) {
                const int start = sites[i];
                const int end = sites[i + 1];
                const int length = end - start;
                if (length < kDemoMinPeptideLength || length > kDemoMaxPeptideLength) continue;
                DemoPeptide peptide;
                peptide.sequence = protein.sequence.mid(start, length);
                if (!seen.insert(peptide.sequence).second) continue;
                peptide.protein = static_cast<int>(p);
                peptide.start = start;
                peptide.text = DemoHitText(protein.sequence, start, length, peptide.sequence);
                peptide.mass = NeutralMass(mono, peptide.sequence.toLatin1().toStdString());
                AssignCharges(peptide);
                // Ionisation varies a lot from peptide to peptide.
                peptide.apex = s_.apexScale * protein.abundance * std::exp(0.7 * random_.normal());
                peptide.peakWidth = stretch_ * random_.uniform(0.12, 0.2);
                run_.peptides.push_back(peptide);
            }
        }
    }

    // Retention follows hydropathy; ranks spread the peptides evenly over the gradient.
    void assignRetentionTimes() {
        std::vector<double> score(run_.peptides.size());
        for (size_t i = 0; i < run_.peptides.size(); ++i) {
            const QString& sequence = run_.peptides[i].sequence;
            double sum = 0.0;
            for (QChar c : sequence) sum += Hydropathy(c);
            score[i] = sum / sequence.size() + 0.02 * sequence.size() + 0.3 * random_.normal();
        }
        std::vector<size_t> order(run_.peptides.size());
        std::iota(order.begin(), order.end(), size_t{0});
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return score[a] < score[b]; });
        const double first = stretch_ * s_.firstElution;
        const double span = stretch_ * (s_.lastElution - s_.firstElution);
        for (size_t rank = 0; rank < order.size(); ++rank) {
            run_.peptides[order[rank]].retentionTime =
                first + span * (rank + 0.5) / static_cast<double>(order.size());
        }
    }

    void addHeavyPartners() {
        const size_t lightCount = run_.peptides.size();
        int pairIndex = 0;
        for (size_t i = 0; i < lightCount; ++i) {
            const int cysteines =
                static_cast<int>(run_.peptides[i].sequence.count(QLatin1Char('C')));
            if (cysteines == 0) continue;
            const double ratio = kPairRatios[pairIndex++ % std::size(kPairRatios)];
            DemoPeptide heavy = run_.peptides[i];
            const DemoProtein& protein = run_.database[static_cast<size_t>(heavy.protein)];
            heavy.labelCount = cysteines;
            heavy.mass += kDemoLabelShift * cysteines;
            heavy.text =
                DemoHitText(protein.sequence, heavy.start, static_cast<int>(heavy.sequence.size()),
                            LabelledResidues(heavy.sequence));
            // The pair's total is split by the ratio; both co-elute.
            const double total = run_.peptides[i].apex;
            run_.peptides[i].apex = total * ratio / (1.0 + ratio);
            heavy.apex = total / (1.0 + ratio);
            DemoPair pair;
            pair.light = static_cast<int>(i);
            pair.heavy = static_cast<int>(run_.peptides.size());
            pair.ratio = ratio;
            run_.pairs.push_back(pair);
            run_.peptides.push_back(heavy);
        }
    }

    void listIons() {
        for (size_t p = 0; p < run_.peptides.size(); ++p) {
            const DemoPeptide& peptide = run_.peptides[p];
            const std::vector<double> isotopes = DemoIsotopeFractions(
                peptide.mass - kDemoLabelShift * peptide.labelCount, kMinIsotopeFraction);
            for (size_t c = 0; c < peptide.charges.size(); ++c) {
                const double mz = DemoMz(peptide.mass, peptide.charges[c]);
                if (mz < s_.ms1Low || mz > s_.ms1High) continue;
                ions_.push_back(Ion{static_cast<int>(p), static_cast<int>(c), peptide.charges[c],
                                    mz, isotopes});
            }
        }
        excludedUntil_.assign(ions_.size(), -1.0);
    }

    double ionIntensity(const Ion& ion, double time) const {
        return run_.ionIntensity(ion.peptide, ion.chargeIndex, time);
    }

    RunSpectrum newScan(int msLevel, double time) const {
        RunSpectrum spectrum;
        spectrum.scanNumber = static_cast<int>(run_.scans.size()) + 1;
        spectrum.msLevel = msLevel;
        spectrum.retentionTime = time;
        return spectrum;
    }

    RunSpectrum makeMs1(double time) {
        RunSpectrum spectrum = newScan(1, time);
        spectrum.windowLow = s_.ms1Low;
        spectrum.windowHigh = s_.ms1High;
        std::vector<Peak> peaks;
        for (const Ion& ion : ions_) {
            const double total = ionIntensity(ion, time);
            if (total < 1.0) continue;
            for (size_t k = 0; k < ion.isotopes.size(); ++k) {
                const double mz = ion.mz + k * kDemoPeptideIsotopeSpacing / ion.charge +
                                  kMs1MassError * random_.normal();
                if (mz > s_.ms1High) break;
                if (mz < s_.ms1Low) continue;
                const double jitter = 1.0 + 0.02 * random_.normal();
                peaks.push_back({mz, total * ion.isotopes[k] * std::max(jitter, 0.5)});
            }
        }
        for (int i = 0; i < kMs1NoisePeaks; ++i)
            peaks.push_back(
                {random_.uniform(s_.ms1Low, s_.ms1High), 300.0 + random_.exponential(2000.0)});
        fitPeakCount(peaks, spectrum);
        StorePeaks(peaks, spectrum);
        return spectrum;
    }

    RunSpectrum makeMs2(const Ion& ion, double time, double precursorIntensity, DemoMs2& record) {
        const DemoPeptide& peptide = run_.peptides[static_cast<size_t>(ion.peptide)];
        RunSpectrum spectrum = newScan(2, time);
        record.scan = spectrum.scanNumber;
        record.peptide = ion.peptide;
        record.charge = ion.charge;
        record.retentionTime = time;
        record.precursorMz = ion.mz + kPrecursorError * random_.normal();
        record.precursorMH = (record.precursorMz - kDemoProton) * ion.charge + kDemoProton;
        RunPrecursor precursor;
        precursor.mz = record.precursorMz;
        precursor.charge = ion.charge;
        spectrum.precursors.push_back(precursor);
        spectrum.windowLow = std::max(50.0, std::floor(0.27 * record.precursorMz));
        spectrum.windowHigh = std::min(kMs2WindowHigh, std::ceil(record.precursorMH + 20.0));

        IonSlotMask wanted{};
        wanted[kIonB] = true;
        wanted[kIonY] = true;
        const FragmentIonTable table = ComputeFragmentIons(peptide.sequence, model_, wanted);
        const int n = table.residueCount;
        const int label = peptide.labelCount > 0 ? 1 : 0;
        const int maxFragmentCharge = std::max(1, ion.charge - 1);
        std::vector<Peak> peaks;
        int matched = 0;
        for (int i = 1; i <= n; ++i) {
            const int cBefore = static_cast<int>(peptide.sequence.left(i).count(QLatin1Char('C')));
            const int cFrom = static_cast<int>(peptide.sequence.mid(i - 1).count(QLatin1Char('C')));
            const double b = table.ion(i, kIonB);
            const double y = table.ion(i, kIonY);
            const double masses[2] = {b > 0.0 ? b + label * kDemoLabelShift * cBefore : 0.0,
                                      y > 0.0 ? y + label * kDemoLabelShift * cFrom : 0.0};
            for (int series = 0; series < 2; ++series) {
                if (masses[series] <= 0.0) continue;
                // y ions are stronger, and cleavage before a proline stronger still.
                double strength = series == 1 ? 1.0 : 0.55;
                if (series == 1 && peptide.sequence[i - 1] == QLatin1Char('P')) strength *= 3.0;
                for (int z = 1; z <= maxFragmentCharge; ++z) {
                    const double drawn = random_.uniform();
                    const double size = random_.uniform(0.15, 1.0);
                    if (drawn < kFragmentDropChance) continue;
                    const double mz = (masses[series] + (z - 1) * kDemoProton) / z;
                    if (mz < spectrum.windowLow || mz > spectrum.windowHigh) continue;
                    peaks.push_back({mz, precursorIntensity * 0.08 * strength * size / z});
                    ++matched;
                }
            }
        }
        for (int i = 0; i < kMs2NoisePeaks; ++i) {
            peaks.push_back(
                {random_.uniform(spectrum.windowLow, spectrum.windowHigh),
                 kMs2NoiseFloor + precursorIntensity * 0.004 * random_.exponential(1.0)});
        }
        if (record.precursorMz < spectrum.windowHigh)
            peaks.push_back({record.precursorMz, precursorIntensity * 0.05});
        fitPeakCount(peaks, spectrum);
        StorePeaks(peaks, spectrum);
        record.ionsMatched = matched;
        record.ionsTotal = 2 * (n - 1) * maxFragmentCharge;
        return spectrum;
    }

    // MS3 of the y ion made of the last `residues` residues of the MS2 scan's peptide: the b and
    // y ions of that stretch.
    RunSpectrum makeMs3(const Ion& ion, const DemoMs2& ms2, int residues, double time,
                        double precursorIntensity, DemoMs3& record) {
        const DemoPeptide& peptide = run_.peptides[static_cast<size_t>(ion.peptide)];
        const QString stretch = peptide.sequence.right(residues);
        RunSpectrum spectrum = newScan(3, time);
        record.scan = spectrum.scanNumber;
        record.ms2Scan = ms2.scan;
        record.peptide = ion.peptide;
        record.residues = residues;
        record.retentionTime = time;
        record.firstMz = ms2.precursorMz;
        const double yMz = NeutralMass(mono_, stretch.toLatin1().toStdString()) + kDemoProton;
        record.secondMz = yMz + kMs3FragmentError * ms3Random_.normal();
        RunPrecursor first;
        first.mz = ms2.precursorMz;
        first.charge = ion.charge;
        first.energy = kMs3Energy;
        RunPrecursor second;
        second.mz = record.secondMz;
        second.charge = 1;
        second.energy = kMs3Energy;
        spectrum.precursors = {first, second};
        spectrum.windowLow = std::max(50.0, std::floor(0.27 * yMz));
        spectrum.windowHigh = std::ceil(yMz + 10.0);

        IonSlotMask wanted{};
        wanted[kIonB] = true;
        wanted[kIonY] = true;
        const FragmentIonTable table = ComputeFragmentIons(stretch, model_, wanted);
        std::vector<Peak> peaks;
        for (int i = 1; i <= table.residueCount; ++i) {
            for (int slot : {kIonB, kIonY}) {
                const double mz = table.ion(i, slot);
                if (mz <= 0.0 || ms3Random_.uniform() < kFragmentDropChance) continue;
                if (mz < spectrum.windowLow || mz > spectrum.windowHigh) continue;
                const double strength = slot == kIonY ? 1.0 : 0.55;
                peaks.push_back({mz, precursorIntensity * 0.02 * strength * ms3Random_.uniform(0.15, 1.0)});
            }
        }
        for (int i = 0; i < kMs2NoisePeaks / 2; ++i) {
            peaks.push_back({ms3Random_.uniform(spectrum.windowLow, spectrum.windowHigh),
                             kMs2NoiseFloor + precursorIntensity * 0.001 * ms3Random_.exponential(1.0)});
        }
        fitPeakCount(peaks, spectrum);
        StorePeaks(peaks, spectrum);
        return spectrum;
    }

    // Some light peptides, on their first MS2 scan, are followed by MS3 scans of their largest
    // y ions.
    bool wantsMs3(const Ion& ion) {
        const DemoPeptide& peptide = run_.peptides[static_cast<size_t>(ion.peptide)];
        if (s_.ms3PeptideStride <= 0 || peptide.labelCount > 0 || ion.charge < 2) return false;
        if (ion.peptide % s_.ms3PeptideStride != 0) return false;
        return ms3Done_.insert(ion.peptide).second;
    }

    RunSpectrum makeIntact(double time) {
        RunSpectrum spectrum = newScan(1, time);
        spectrum.windowLow = kIntactWindowLow;
        spectrum.windowHigh = kIntactWindowHigh;
        for (size_t p = 0; p < run_.database.size(); ++p)
            if (run_.database[p].reference == QLatin1String("sp|P68082|MYG_HORSE"))
                run_.intactProtein = static_cast<int>(p);
        const QString& sequence = run_.database[static_cast<size_t>(run_.intactProtein)].sequence;
        run_.intactMass =
            NeutralMass(SequenceMassTable::For(false), sequence.toLatin1().toStdString());
        const std::vector<double> isotopes = DemoIsotopeFractions(run_.intactMass, 1e-4);
        // The envelope's centre of mass is the average mass.
        double mean = 0.0, sum = 0.0;
        for (size_t k = 0; k < isotopes.size(); ++k) {
            mean += k * isotopes[k];
            sum += isotopes[k];
        }
        mean /= sum;
        const double mono = run_.intactMass - mean * kDemoProteinIsotopeSpacing;
        std::vector<Peak> peaks;
        for (int z = kDemoIntactChargeLow; z <= kDemoIntactChargeHigh; ++z) {
            const double d = (z - kIntactCentreCharge) / kIntactChargeWidth;
            const double weight = std::exp(-0.5 * d * d);
            for (size_t k = 0; k < isotopes.size(); ++k) {
                const double mz = DemoMz(mono + k * kDemoProteinIsotopeSpacing, z);
                peaks.push_back({mz, kIntactApex * weight * isotopes[k] / sum});
            }
        }
        for (int i = 0; i < kIntactNoisePeaks; ++i)
            peaks.push_back({random_.uniform(kIntactWindowLow, kIntactWindowHigh),
                             200.0 + random_.exponential(800.0)});
        fitPeakCount(peaks, spectrum);
        StorePeaks(peaks, spectrum);
        return spectrum;
    }

    // With a peak count set: noise up to that many peaks in the scan's window, or the
    // strongest that many.
    void fitPeakCount(std::vector<Peak>& peaks, const RunSpectrum& spectrum) {
        const size_t wanted = static_cast<size_t>(std::max(s_.peaksPerScan, 0));
        if (wanted == 0) return;
        if (peaks.size() > wanted) {
            std::stable_sort(peaks.begin(), peaks.end(), [](const Peak& a, const Peak& b) {
                return a.intensity > b.intensity;
            });
            peaks.resize(wanted);
        }
        while (peaks.size() < wanted)
            peaks.push_back({random_.uniform(spectrum.windowLow, spectrum.windowHigh),
                             kMs2NoiseFloor + random_.exponential(1000.0)});
    }

    bool runGoesOn(double time) const {
        return s_.scanCount > 0 ? run_.scans.size() < static_cast<size_t>(s_.scanCount)
                                : time < s_.runMinutes;
    }

    // One MS1 scan, then the strongest precursors not recently picked, until the run ends.
    void schedule() {
        double time = 0.0;
        while (runGoesOn(time)) {
            if (run_.intactScan == 0 && time >= stretch_ * s_.intactMinutes) {
                RunSpectrum intact = makeIntact(time);
                run_.intactScan = intact.scanNumber;
                run_.scans.push_back(std::move(intact));
                time += s_.ms1Seconds / 60.0;
                continue;
            }
            const double surveyTime = time;
            run_.scans.push_back(makeMs1(surveyTime));
            time += s_.ms1Seconds / 60.0;

            std::vector<std::pair<double, size_t>> candidates;
            for (size_t i = 0; i < ions_.size(); ++i) {
                if (excludedUntil_[i] > surveyTime) continue;
                const double mono = ionIntensity(ions_[i], surveyTime) * ions_[i].isotopes[0];
                if (mono >= s_.triggerIntensity) candidates.push_back({mono, i});
            }
            std::stable_sort(candidates.begin(), candidates.end(),
                             [](const auto& a, const auto& b) { return a.first > b.first; });
            const size_t picked = std::min(candidates.size(), static_cast<size_t>(s_.topN));
            for (size_t k = 0; k < picked && runGoesOn(time); ++k) {
                const Ion& ion = ions_[candidates[k].second];
                DemoMs2 record;
                run_.scans.push_back(makeMs2(ion, time, ionIntensity(ion, time), record));
                run_.ms2.push_back(record);
                if (wantsMs3(ion)) {
                    // The MS3 scans share the MS2 scan's time slot, so the rest of the run is
                    // scheduled as it would be without them.
                    const int n = static_cast<int>(run_.peptides[static_cast<size_t>(ion.peptide)].sequence.size());
                    const double step = s_.ms2Seconds / 60.0 / (s_.ms3Fragments + 1);
                    for (int f = 1; f <= s_.ms3Fragments && n - f >= 2 && runGoesOn(time); ++f) {
                        const double at = time + f * step;
                        DemoMs3 ms3;
                        run_.scans.push_back(makeMs3(ion, record, n - f, at, ionIntensity(ion, at), ms3));
                        run_.ms3.push_back(ms3);
                    }
                }
                time += s_.ms2Seconds / 60.0;
                excludedUntil_[candidates[k].second] = time + s_.exclusionMinutes;
            }
        }
    }

    DemoRun& run_;
    const DemoSettings& s_;
    DemoRandom random_;
    FragmentMassModel model_{true};
    const SequenceMassTable mono_ = SequenceMassTable::For(true);
    std::vector<Ion> ions_;
    std::set<int> ms3Done_;
    // MS3 scans draw from their own stream: the rest of the run stays as it is without them.
    DemoRandom ms3Random_{run_.settings.seed * 7919 + 3};
    std::vector<double> excludedUntil_;
    double stretch_ = 1.0;  // of the gradient, for a run of more scans
};

}  // namespace

double DemoRun::ionIntensity(int peptide, int chargeIndex, double time) const {
    const DemoPeptide& p = peptides[static_cast<size_t>(peptide)];
    const double d = (time - p.retentionTime) / p.peakWidth;
    return p.apex * p.chargeShares[static_cast<size_t>(chargeIndex)] * std::exp(-0.5 * d * d);
}

QString DemoHitText(const QString& protein, int start, int length, const QString& residues) {
    const QChar before = start > 0 ? protein[start - 1] : QLatin1Char('-');
    const QChar after =
        start + length < protein.size() ? protein[start + length] : QLatin1Char('-');
    return QString(before) + QLatin1Char('.') + residues + QLatin1Char('.') + after;
}

std::vector<double> DemoIsotopeFractions(double mass, double minFraction) {
    const double lambda = std::max(mass, 0.0) / kMassPerIsotopeUnit;
    std::vector<double> fractions;
    double p = std::exp(-lambda);
    double largest = 0.0;
    for (int k = 0; k < 200; ++k) {
        if (k > 0) p *= lambda / k;
        largest = std::max(largest, p);
        if (k > lambda && p < minFraction * largest) break;
        fractions.push_back(p);
    }
    return fractions;
}

DemoRun MakeDemoRun(const DemoSettings& settings) {
    DemoRun run;
    run.settings = settings;
    RunBuilder(run).build();
    return run;
}

}  // namespace zar
