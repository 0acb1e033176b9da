#include "tools/demo/DemoResults.h"
#include "tools/demo/DemoWriter.h"

#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/TextFile.h"
#include "databases/DtaIons.h"
#include "databases/SequenceMasses.h"
#include "document/MassmapResults.h"
#include "document/Settings.h"
#include "document/SorvexResults.h"
#include "rawfile/VRawfile.h"
#include "registry/RegKey.h"
#include "spectrumviews/FragmentIons.h"
#include "spectrumviews/XpressQuant.h"
#include "core/Numbers.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>

#include <csignal>

#include <sys/resource.h>

using namespace zar;

namespace {

// The demo data set is made once for the whole suite: every test reads the same folder.
class DemoDataTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<QTemporaryDir>();
        run_ = std::make_unique<DemoRun>(MakeDemoRun());
        folder_ = dir_->filePath("demo");
        QString error;
        written_ = WriteDemoFolder(folder_, *run_, false, error);
        writeError_ = error;
    }
    static void TearDownTestSuite() {
        run_.reset();
        dir_.reset();
    }
    void SetUp() override { ASSERT_TRUE(written_) << writeError_.toStdString(); }

    static QString File(const QString& name) { return folder_ + "/" + name; }
    static QString Results() { return File("results"); }

    static std::unique_ptr<QTemporaryDir> dir_;
    static std::unique_ptr<DemoRun> run_;
    static QString folder_;
    static bool written_;
    static QString writeError_;

    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
};

std::unique_ptr<QTemporaryDir> DemoDataTest::dir_;
std::unique_ptr<DemoRun> DemoDataTest::run_;
QString DemoDataTest::folder_;
bool DemoDataTest::written_ = false;
QString DemoDataTest::writeError_;

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Sum of the peak intensities within tolerance of an m/z.
double IntensityNear(const std::vector<CVXDataPeak>& peaks, double mz, double tolerance) {
    double sum = 0.0;
    for (const CVXDataPeak& p : peaks)
        if (std::abs(p.dPosition - mz) <= tolerance) sum += p.dIntensity;
    return sum;
}

QString MakeDemoProgram() {
    return QCoreApplication::applicationDirPath() + "/zar-make-demo";
}

}  // namespace

TEST_F(DemoDataTest, WritesTheRunDatabaseResultsAndReadme) {
    for (const char* name : {"demo.mzML", "demo.fasta", "README.txt"})
        EXPECT_TRUE(QFile::exists(File(name))) << name;
    const QDir results(Results());
    EXPECT_EQ(results.entryList({"*.out"}, QDir::Files).size(),
              static_cast<qsizetype>(run_->ms2.size()));
    EXPECT_EQ(results.entryList({"*.dta"}, QDir::Files).size(),
              static_cast<qsizetype>(run_->ms2.size()));
    // No temporary files are left behind.
    EXPECT_TRUE(QDir(folder_).entryList({"*.part"}, QDir::Files).isEmpty());

    const QString fasta = QString::fromLatin1(Bytes(File("demo.fasta")));
    for (const DemoProtein& p : DemoTargetProteins()) {
        EXPECT_TRUE(fasta.contains(">" + p.reference + " ")) << p.reference.toStdString();
        EXPECT_TRUE(fasta.contains(">rev_" + p.reference + " ")) << p.reference.toStdString();
    }
    EXPECT_TRUE(fasta.contains(">bg|BKG001|"));

    // The readme records the ratios and the intact protein.
    const QString readme = QString::fromLatin1(Bytes(File("README.txt")));
    EXPECT_TRUE(
        readme.contains(QString("scan %1 holds sp|P68082|MYG_HORSE").arg(run_->intactScan)));
    EXPECT_TRUE(readme.contains("16951.5 Da"));
    EXPECT_TRUE(readme.contains("light:heavy"));
    EXPECT_TRUE(readme.contains("TCVADESHAGCEK"));
}

TEST_F(DemoDataTest, RunIsRealistic) {
    const DemoRun& run = *run_;
    EXPECT_GE(run.scans.size(), 1800u);
    EXPECT_LE(run.scans.size(), 2600u);
    EXPECT_GE(run.ms2.size(), 600u);
    EXPECT_GE(run.pairs.size(), 6u);
    // Every target protein gives peptides that were picked for MS2.
    std::map<int, int> picked;
    for (const DemoMs2& m : run.ms2) ++picked[run.peptides[static_cast<size_t>(m.peptide)].protein];
    for (size_t p = 0; p < DemoTargetProteins().size(); ++p)
        EXPECT_GE(picked[static_cast<int>(p)], 5) << p;
    for (const DemoPair& pair : run.pairs) {
        const DemoPeptide& light = run.peptides[static_cast<size_t>(pair.light)];
        const DemoPeptide& heavy = run.peptides[static_cast<size_t>(pair.heavy)];
        EXPECT_TRUE(light.sequence.contains('C'));
        EXPECT_EQ(heavy.sequence, light.sequence);
        EXPECT_NEAR(heavy.mass - light.mass, 8.0 * light.sequence.count('C'), 1e-9);
        EXPECT_DOUBLE_EQ(heavy.retentionTime, light.retentionTime);
    }
}

TEST_F(DemoDataTest, ReaderSeesScansTimesAndPrecursors) {
    VRawfile raw;
    ASSERT_TRUE(raw.open(File("demo.mzML"))) << raw.lastError().toStdString();
    ASSERT_EQ(raw.numSpectra(), static_cast<int>(run_->scans.size()));
    EXPECT_EQ(raw.firstScan(), 1);
    EXPECT_EQ(raw.lastScan(), static_cast<int>(run_->scans.size()));
    EXPECT_NEAR(raw.startTime(), 0.0, 1e-6);
    EXPECT_GT(raw.endTime(), 29.5);
    EXPECT_LT(raw.endTime(), 30.0);

    for (const DemoMs2& m : run_->ms2) {
        RawScanHeader header;
        ASSERT_TRUE(raw.scanHeader(m.scan, header)) << m.scan;
        EXPECT_EQ(header.msLevel, 2);
        EXPECT_NEAR(header.retentionTime, m.retentionTime, 1e-6);
        EXPECT_NEAR(header.precursorMass, m.precursorMz, 1e-6);
        EXPECT_EQ(header.precursorCharge, m.charge);
    }
    QString filter;
    const DemoMs2& first = run_->ms2.front();
    ASSERT_TRUE(raw.filterForScan(first.scan, filter));
    EXPECT_TRUE(filter.contains("ms2")) << filter.toStdString();
    EXPECT_TRUE(filter.contains("@cid")) << filter.toStdString();
    ASSERT_TRUE(raw.filterForScan(first.scan - 1, filter));
    EXPECT_FALSE(filter.contains("ms2")) << filter.toStdString();
}

TEST_F(DemoDataTest, Ms3ScansFollowTheirMs2ScanWithBothPrecursors) {
    ASSERT_GE(run_->ms3.size(), 4u);
    VRawfile raw;
    ASSERT_TRUE(raw.open(File("demo.mzML")));
    std::map<int, int> perMs2;
    for (const DemoMs3& m : run_->ms3) {
        ++perMs2[m.ms2Scan];
        EXPECT_GT(m.scan, m.ms2Scan);
        EXPECT_LE(m.scan - m.ms2Scan, run_->settings.ms3Fragments);
        RawScanHeader header;
        std::vector<CVXDataPeak> peaks;
        ASSERT_TRUE(raw.spectrum(m.scan, peaks, &header)) << m.scan;
        EXPECT_EQ(header.msLevel, 3);
        EXPECT_FALSE(peaks.empty());
        QString filter;
        ASSERT_TRUE(raw.filterForScan(m.scan, filter));
        EXPECT_TRUE(filter.contains(QCFormat("ms3 %.2f@cid35.00 %.2f@cid35.00", m.firstMz, m.secondMz)))
            << filter.toStdString();
        // The y ion of the last residues of the peptide.
        const QString stretch = run_->peptides[static_cast<size_t>(m.peptide)].sequence.right(m.residues);
        EXPECT_NEAR(m.secondMz, ProtonatedMass(SequenceMassTable::For(true), stretch.toStdString()), 0.02);
    }
    // Each MS2 scan that has MS3 scans has one per fragment: pairs share their first precursor.
    for (const auto& [ms2, count] : perMs2) EXPECT_EQ(count, run_->settings.ms3Fragments) << ms2;
}

TEST_F(DemoDataTest, Ms2SpectraHoldTheTruePeptidesFragments) {
    VRawfile raw;
    ASSERT_TRUE(raw.open(File("demo.mzML")));
    const FragmentMassModel model(true);
    IonSlotMask wanted{};
    wanted[kIonB] = true;
    wanted[kIonY] = true;
    // Every 25th MS2 scan: most of the singly charged b and y ions inside the scan window
    // of a light peptide are there.
    int checked = 0;
    for (size_t m = 0; m < run_->ms2.size(); m += 25) {
        const DemoMs2& ms2 = run_->ms2[m];
        const DemoPeptide& peptide = run_->peptides[static_cast<size_t>(ms2.peptide)];
        if (peptide.labelCount > 0) continue;
        std::vector<CVXDataPeak> peaks;
        RawScanHeader header;
        ASSERT_TRUE(raw.spectrum(ms2.scan, peaks, &header));
        const FragmentIonTable ions = ComputeFragmentIons(peptide.sequence, model, wanted);
        int expected = 0, found = 0;
        for (int i = 1; i <= ions.residueCount; ++i) {
            for (int slot : {static_cast<int>(kIonB), static_cast<int>(kIonY)}) {
                const double mz = ions.ion(i, slot);
                if (mz <= 0.0 || mz < header.lowMass || mz > header.highMass) continue;
                ++expected;
                found += IntensityNear(peaks, mz, 0.005) > 0.0 ? 1 : 0;
            }
        }
        ASSERT_GT(expected, 0) << ms2.scan;
        EXPECT_GE(found, expected / 2) << ms2.scan << " " << peptide.sequence.toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 10);
}

TEST_F(DemoDataTest, Ms1ScansHoldIsotopeEnvelopes) {
    VRawfile raw;
    ASSERT_TRUE(raw.open(File("demo.mzML")));
    // The strongest light peptide's 2+ ion at its apex: M, M+1, M+2 in the model's proportions.
    size_t best = 0;
    for (size_t p = 0; p < run_->peptides.size(); ++p)
        if (run_->peptides[p].labelCount == 0 && run_->peptides[p].charges[0] == 2 &&
            run_->peptides[p].apex > run_->peptides[best].apex)
            best = p;
    const DemoPeptide& peptide = run_->peptides[best];
    ASSERT_EQ(peptide.charges[0], 2);
    RawScanHeader header;
    std::vector<CVXDataPeak> peaks;
    ASSERT_TRUE(raw.spectrumAtTime(peptide.retentionTime, nullptr, peaks, &header));
    if (header.msLevel != 1) {
        int scan = header.scanNumber;
        do {
            ASSERT_TRUE(raw.spectrum(--scan, peaks, &header));
        } while (header.msLevel != 1);
    }
    const std::vector<double> fractions = DemoIsotopeFractions(peptide.mass, 0.01);
    ASSERT_GE(fractions.size(), 3u);
    const double mono = IntensityNear(peaks, DemoMz(peptide.mass, 2), 0.01);
    ASSERT_GT(mono, 1e4);
    for (int k = 1; k <= 2; ++k) {
        const double mz = DemoMz(peptide.mass, 2) + k * kDemoPeptideIsotopeSpacing / 2;
        EXPECT_NEAR(IntensityNear(peaks, mz, 0.01) / mono, fractions[k] / fractions[0],
                    0.1 * fractions[k] / fractions[0])
            << k;
    }
}

TEST_F(DemoDataTest, IntactProteinScanShowsTheChargeEnvelope) {
    VRawfile raw;
    ASSERT_TRUE(raw.open(File("demo.mzML")));
    EXPECT_NEAR(run_->intactMass, 16951.5, 0.1);
    std::vector<CVXDataPeak> peaks;
    RawScanHeader header;
    ASSERT_TRUE(raw.spectrum(run_->intactScan, peaks, &header));
    EXPECT_EQ(header.msLevel, 1);
    EXPECT_GT(header.retentionTime, 28.0);
    for (int z = kDemoIntactChargeLow; z <= kDemoIntactChargeHigh; ++z) {
        // The intensity-weighted centre of each charge's envelope is the average mass's m/z.
        const double expected = (16951.5 + z * kDemoProton) / z;
        double sum = 0.0, weighted = 0.0;
        for (const CVXDataPeak& p : peaks) {
            if (std::abs(p.dPosition - expected) > 8.0 / z || p.dIntensity < 2000.0) continue;
            sum += p.dIntensity;
            weighted += p.dIntensity * p.dPosition;
        }
        ASSERT_GT(sum, 0.0) << z;
        EXPECT_NEAR(weighted / sum, expected, 0.02) << z;
    }
}

TEST_F(DemoDataTest, LightHeavyPairsShowTheirRatiosInMs1) {
    VRawfile raw;
    ASSERT_TRUE(raw.open(File("demo.mzML")));
    int checked = 0;
    for (const DemoPair& pair : run_->pairs) {
        const DemoPeptide& light = run_->peptides[static_cast<size_t>(pair.light)];
        const DemoPeptide& heavy = run_->peptides[static_cast<size_t>(pair.heavy)];
        for (int z : light.charges) {
            const double lightMz = DemoMz(light.mass, z);
            const double heavyMz = DemoMz(heavy.mass, z);
            if (lightMz < run_->settings.ms1Low || heavyMz > run_->settings.ms1High) continue;
            double lightSum = 0.0, heavySum = 0.0;
            int first = 0, last = 0;
            ASSERT_TRUE(raw.retentionTimeToScan(light.retentionTime - 2 * light.peakWidth, first));
            ASSERT_TRUE(raw.retentionTimeToScan(light.retentionTime + 2 * light.peakWidth, last));
            for (int scan = first; scan <= last; ++scan) {
                std::vector<CVXDataPeak> peaks;
                RawScanHeader header;
                ASSERT_TRUE(raw.spectrum(scan, peaks, &header));
                if (header.msLevel != 1) continue;
                lightSum += IntensityNear(peaks, lightMz, 0.01);
                heavySum += IntensityNear(peaks, heavyMz, 0.01);
            }
            ASSERT_GT(heavySum, 0.0) << light.sequence.toStdString() << " " << z;
            EXPECT_NEAR(lightSum / heavySum / pair.ratio, 1.0, 0.05)
                << light.sequence.toStdString() << " " << z;
            ++checked;
        }
    }
    EXPECT_GE(checked, 10);
}

TEST_F(DemoDataTest, ResultsFolderLoadsWithTrueTopHits) {
    const std::vector<DemoOutFile> files = MakeDemoResults(*run_);
    CSorvexResults set;
    set.SetRawFilePath(File("demo.mzML"));
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(Results()));
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join("|").toStdString();
    ASSERT_EQ(set.GetHitCount(), static_cast<int>(run_->ms2.size()));
    EXPECT_EQ(set.Parameters().revision, 11);
    EXPECT_EQ(set.Parameters().databaseName, "../demo.fasta");
    EXPECT_DOUBLE_EQ(set.Parameters().differentialMasses[0], 8.0);

    // Each file read on its own returns 0 too.
    CSorvexResults single;
    single.SetRawFilePath(File("demo.mzML"));
    ASSERT_TRUE(single.Initialize());
    single.SetDirectory(Results());
    for (const DemoOutFile& f : files) {
        int searchTime = 0;
        ASSERT_EQ(single.ReadOutFile(f.baseName + ".out", 0, searchTime), 0)
            << f.baseName.toStdString();
    }

    std::map<QString, const DemoOutFile*> byName;
    for (const DemoOutFile& f : files) byName[" " + f.baseName + ".out"] = &f;
    const std::vector<DemoProtein> targets = DemoTargetProteins();
    for (int i = 0; i < set.GetHitCount(); ++i) {
        const SearchHitRecord* hit = set.GetHit(i);
        const auto it = byName.find(hit->fileInformation);
        ASSERT_NE(it, byName.end()) << hit->fileInformation.toStdString();
        const DemoMs2& m = run_->ms2[static_cast<size_t>(it->second->ms2)];
        const DemoPeptide& truth = run_->peptides[static_cast<size_t>(m.peptide)];
        EXPECT_EQ(hit->peptide, truth.text);
        EXPECT_EQ(hit->reference, targets[static_cast<size_t>(truth.protein)].reference);
        EXPECT_GT(hit->correlation, 1.5);
        EXPECT_GT(hit->deltaCorrelation, 0.1);
        EXPECT_NEAR(hit->precursorMass, m.precursorMH, 1e-3);
        EXPECT_NEAR(hit->hitMass, m.precursorMH, 0.05);
        // Protein masses come from the FASTA.
        EXPECT_GT(hit->proteinMass, 8000.0);
    }

    // The sample's proteins lead the protein list, each with many peptides.
    const auto& proteins = set.GetProteins();
    ASSERT_GE(proteins.size(), targets.size());
    for (size_t i = 0; i < targets.size(); ++i) {
        EXPECT_TRUE(targets[i].reference == proteins[i]->reference ||
                    DemoTargetIndex(proteins[i]->reference) >= 0)
            << proteins[i]->reference.toStdString();
        EXPECT_GE(proteins[i]->peptides.size(), 3) << proteins[i]->reference.toStdString();
    }
}

TEST_F(DemoDataTest, DtaFilesHoldTheSpectra) {
    const std::vector<DemoOutFile> files = MakeDemoResults(*run_);
    for (const DemoOutFile& f : files) {
        const DemoMs2& m = run_->ms2[static_cast<size_t>(f.ms2)];
        CDtaSpectrum dta;
        ASSERT_EQ(dta.read(Results() + "/" + f.baseName + ".dta"), CDtaSpectrum::ReadResult::Ok)
            << f.baseName.toStdString();
        EXPECT_NEAR(dta.precursor(), m.precursorMH, 1e-4);
        EXPECT_EQ(dta.charge(), m.charge);
        EXPECT_EQ(dta.peaks().size(), run_->scans[static_cast<size_t>(m.scan - 1)].mz.size());
    }
}

TEST_F(DemoDataTest, IonViewFindsTheHeavyLabelledFragments) {
    // The modification line and the "C*" marks of the heavy hits give the ion view the label.
    CSorvexResults set;
    set.SetRawFilePath(File("demo.mzML"));
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(Results()));
    int checked = 0;
    for (const DemoOutFile& f : MakeDemoResults(*run_)) {
        const DemoMs2& m = run_->ms2[static_cast<size_t>(f.ms2)];
        if (run_->peptides[static_cast<size_t>(m.peptide)].labelCount == 0) continue;
        CDtaSpectrum dta;
        ASSERT_EQ(dta.read(Results() + "/" + f.baseName + ".dta"), CDtaSpectrum::ReadResult::Ok);
        ASSERT_TRUE(dta.prepare(BinWidthFor(true)));
        SequenceMassTable masses = SequenceMassTable::For(true);
        PeptideModifications modifications;
        ParseModifications(set.Parameters().modificationText, masses, modifications);
        ASSERT_DOUBLE_EQ(modifications.differential[0], 8.0);
        const DtaIonTable ions = CalculateDtaIons(f.hits[0].peptide, 1, kIonSeriesB | kIonSeriesY,
                                                  masses, modifications, dta);
        int present = 0, total = 0;
        for (const DtaIonRow& row : ions.rows) {
            total += (row.hasB ? 1 : 0) + (row.hasY ? 1 : 0);
            present += (row.bPresent ? 1 : 0) + (row.yPresent ? 1 : 0);
        }
        EXPECT_GE(present * 2, total) << f.hits[0].peptide.toStdString();
        if (++checked == 10) break;
    }
    EXPECT_EQ(checked, 10);
}

TEST_F(DemoDataTest, SameSeedGivesIdenticalFiles) {
    QTemporaryDir other;
    QString error;
    ASSERT_TRUE(WriteDemoFolder(other.filePath("again"), MakeDemoRun(), false, error))
        << error.toStdString();
    for (const char* name : {"demo.mzML", "demo.fasta", "README.txt"})
        EXPECT_EQ(Bytes(File(name)), Bytes(other.filePath(QString("again/") + name))) << name;
    for (const char* folder : {"results", "results2", "peptide-mapping"}) {
        const QStringList results = QDir(File(folder)).entryList(QDir::Files);
        EXPECT_EQ(results, QDir(other.filePath(QString("again/") + folder)).entryList(QDir::Files));
        for (const QString& name : results)
            ASSERT_EQ(Bytes(File(folder) + "/" + name),
                      Bytes(other.filePath(QString("again/") + folder + "/" + name)))
                << folder << "/" << name.toStdString();
    }
}

TEST_F(DemoDataTest, SecondSearchIsTheSameRunThroughAWiderWindow) {
    const std::vector<DemoOutFile> first = MakeDemoResults(*run_);
    const std::vector<DemoOutFile> second = MakeDemoResults(*run_, DemoSecondSearch());
    ASSERT_EQ(second.size(), run_->ms2.size());
    EXPECT_EQ(QDir(File("results2")).entryList({"*.out"}, QDir::Files).size(),
              static_cast<qsizetype>(run_->ms2.size()));
    EXPECT_EQ(QDir(File("results2")).entryList({"*.dta"}, QDir::Files).size(),
              static_cast<qsizetype>(run_->ms2.size()));
    // The same spectra and true peptides, other scores and decoys.
    int otherDecoys = 0;
    for (size_t i = 0; i < second.size(); ++i) {
        EXPECT_EQ(second[i].baseName, first[i].baseName);
        EXPECT_EQ(second[i].hits[0].peptide, first[i].hits[0].peptide);
        EXPECT_NE(second[i].hits[0].xcorr, first[i].hits[0].xcorr);
        if (second[i].hits.size() > 1 && first[i].hits.size() > 1 &&
            second[i].hits[1].peptide != first[i].hits[1].peptide)
            ++otherDecoys;
    }
    EXPECT_GT(otherDecoys, static_cast<int>(second.size()) / 2);
    CSorvexResults set;
    set.SetRawFilePath(File("demo.mzML"));
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(File("results2")));
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join("|").toStdString();
    ASSERT_EQ(set.GetHitCount(), static_cast<int>(run_->ms2.size()));
    EXPECT_DOUBLE_EQ(set.Parameters().precursorTolerance, 3.0);
    const SearchHitRecord* hit = set.FindHit(HitNumber(1));
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->fileInformation, " " + second[0].baseName + ".out");
    EXPECT_EQ(hit->peptide, second[0].hits[0].peptide);
}

TEST_F(DemoDataTest, PeptideMappingFolderLoadsWithTrueTopHitsAndSharedRanks) {
    const std::vector<DemoMappingFile> files = MakeDemoPeptideMapping(*run_);
    ASSERT_EQ(files.size(), run_->ms2.size());
    CMassmapResults set;
    set.SetRawFilePath(File("demo.mzML"));
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(File("peptide-mapping")));
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join("|").toStdString();
    ASSERT_EQ(set.GetHitCount(), static_cast<int>(files.size()));
    EXPECT_EQ(set.Parameters().revision, 1);
    EXPECT_EQ(set.Parameters().databaseName, "../demo.fasta");

    // Every record holds its spectrum's true peptide with the best score; its rows are the
    // hit lines of ranks 1 to 5, equal scores sharing a rank.
    std::map<int, int> rowsOfHit;
    for (const auto& protein : set.GetProteins())
        for (const auto& group : protein->rowsByRank)
            for (const auto& row : group) ++rowsOfHit[row->hitNumber.value()];
    int tied = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        const DemoMappingFile& f = files[i];
        const SearchHitRecord* hit = set.FindHit(HitNumber::OfRecordIndex(static_cast<int>(i)));
        ASSERT_NE(hit, nullptr);
        EXPECT_EQ(hit->fileInformation, " " + f.baseName + ".out");
        const DemoMs2& m = run_->ms2[static_cast<size_t>(f.ms2)];
        EXPECT_EQ(hit->peptide, run_->peptides[static_cast<size_t>(m.peptide)].text);
        EXPECT_DOUBLE_EQ(hit->preliminaryScore, f.hits[0].score);
        EXPECT_GT(hit->proteinMass, 8000.0);
        const std::vector<int> ranks = DemoMappingRanks(f);
        const int rowsWanted = static_cast<int>(
            std::count_if(ranks.begin(), ranks.end(), [](int r) { return r >= 1 && r <= 5; }));
        EXPECT_EQ(rowsOfHit[static_cast<int>(i) + 1], rowsWanted) << f.baseName.toStdString();
        for (size_t k = 1; k < ranks.size(); ++k) tied += ranks[k] == ranks[k - 1] ? 1 : 0;
    }
    EXPECT_GT(tied, 100) << "equal scores share their rank";
}

// A short run keeps the folder tests quick.
class DemoFolderTest : public ::testing::Test {
  protected:
    static DemoRun ShortRun() {
        DemoSettings settings;
        settings.runMinutes = 1.0;
        settings.intactMinutes = 0.5;
        return MakeDemoRun(settings);
    }
    QTemporaryDir dir_;
};

TEST_F(DemoFolderTest, CountsForLoadTestsAreExact) {
    DemoSettings settings;
    settings.scanCount = 3000;  // more than the default run holds: the gradient stretches
    settings.peaksPerScan = 60;
    const DemoRun run = MakeDemoRun(settings);
    ASSERT_EQ(run.scans.size(), 3000u);
    for (const RunSpectrum& s : run.scans) {
        ASSERT_EQ(s.mz.size(), 60u) << s.scanNumber;
        ASSERT_TRUE(std::is_sorted(s.mz.begin(), s.mz.end())) << s.scanNumber;
    }
    EXPECT_GT(run.ms2.size(), 1000u);  // peptides still come as densely
    EXPECT_GT(run.intactScan, 0);
    EXPECT_GT(run.scans.back().retentionTime, 30.0);

    // Fewer files than MS2 scans, then more: repeats under scan numbers past the run's end.
    const int ms2 = static_cast<int>(run.ms2.size());
    for (const int count : {10, ms2 + 25}) {
        DemoRun copy = run;
        copy.settings.outFileCount = count;
        const std::vector<DemoOutFile> files = MakeDemoResults(copy);
        ASSERT_EQ(files.size(), static_cast<size_t>(count));
        std::set<QString> names;
        for (const DemoOutFile& f : files) names.insert(f.baseName);
        EXPECT_EQ(names.size(), files.size());
    }
    DemoRun more = run;
    more.settings.outFileCount = ms2 + 1;
    const DemoOutFile last = MakeDemoResults(more).back();
    const int scan = run.ms2[0].scan + 3000;
    EXPECT_EQ(last.baseName, QCFormat("demo.%04d.%04d.%d", scan, scan, run.ms2[0].charge));
    EXPECT_EQ(last.hits.front().peptide, MakeDemoResults(run).front().hits.front().peptide);
}

TEST_F(DemoFolderTest, RunWithoutScansStillWritesItsFolder) {
    DemoSettings settings;
    settings.runMinutes = 0.0;
    const DemoRun run = MakeDemoRun(settings);
    EXPECT_TRUE(run.scans.empty());
    EXPECT_EQ(run.intactScan, 0);
    QString error;
    EXPECT_TRUE(WriteDemoFolder(dir_.filePath("empty"), run, false, error)) << error.toStdString();
    EXPECT_FALSE(DemoReadmeText(run).contains("Intact protein"));
}

TEST_F(DemoFolderTest, ExistingFolderIsRefusedUnlessForced) {
    const QString folder = dir_.filePath("existing");
    ASSERT_TRUE(QDir().mkpath(folder + "/results"));
    // A stale result of an earlier demo would be read with the new ones.
    QFile stale(folder + "/results/demo.9999.9999.2.out");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    const DemoRun run = ShortRun();
    QString error;
    EXPECT_FALSE(WriteDemoFolder(folder, run, false, error));
    EXPECT_TRUE(error.contains("already exists")) << error.toStdString();
    EXPECT_TRUE(error.contains("--force")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(folder + "/demo.mzML"));

    EXPECT_TRUE(WriteDemoFolder(folder, run, true, error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(folder + "/demo.mzML"));
    EXPECT_FALSE(QFile::exists(folder + "/results/demo.9999.9999.2.out"));
}

TEST_F(DemoFolderTest, FolderThatCannotBeMadeIsReported) {
    QFile blocker(dir_.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const DemoRun run = ShortRun();
    const struct {
        QString folder;
        const char* message;
    } cases[] = {
        {dir_.filePath("file"), "is not a folder"},
        {dir_.filePath("file/demo"), "Cannot create the folder"},
        {QString(), "No folder"},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(WriteDemoFolder(c.folder, run, true, error)) << c.folder.toStdString();
        EXPECT_TRUE(error.contains(c.message)) << error.toStdString();
    }
}

TEST_F(DemoFolderTest, ProgramExitCodesAndMessages) {
    QFile blocker(dir_.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ASSERT_TRUE(QDir().mkpath(dir_.filePath("existing")));
    const struct {
        QStringList arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {{dir_.filePath("file/demo")}, 1, "Cannot create the folder"},
        {{dir_.filePath("existing")}, 1, "--force"},
        {{}, 2, "Usage"},
        {{"--bogus", dir_.filePath("x")}, 2, "Usage"},
        {{"--scans", "0", dir_.filePath("x")}, 2, "--scans needs a whole number"},
        {{dir_.filePath("x"), "--out-files"}, 2, "--out-files needs a whole number"},
    };
    for (const auto& c : cases) {
        QProcess process;
        process.start(MakeDemoProgram(), c.arguments);
        ASSERT_TRUE(process.waitForFinished(zartest::kWorkWaitMs)) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(process.exitCode(), c.exitCode) << c.arguments.join(' ').toStdString();
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        EXPECT_TRUE(err.contains(c.message)) << err.toStdString();
    }
}

TEST_F(DemoFolderTest, SetFoldersCompletesADataSetMadeBeforeItsNewerFolders) {
    zartest::ScopedConfigDir config;
    const QString folder = dir_.filePath("older");
    QString error;
    ASSERT_TRUE(WriteDemoFolder(folder, ShortRun(), false, error)) << error.toStdString();
    // As an earlier version left it: no second search, no peptide mapping.
    ASSERT_TRUE(QDir(folder + "/results2").removeRecursively());
    ASSERT_TRUE(QDir(folder + "/peptide-mapping").removeRecursively());
    const auto run = [&] {
        QProcess process;
        process.start(MakeDemoProgram(), {"--set-folders", "--scans", "300", folder});
        EXPECT_TRUE(process.waitForFinished(zartest::kWorkWaitMs));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return QString::fromLocal8Bit(process.readAllStandardOutput());
    };
    EXPECT_TRUE(run().contains("written")) << "an incomplete set is written again";
    EXPECT_FALSE(QDir(folder + "/results2").entryList({"*.out"}, QDir::Files).isEmpty());
    EXPECT_FALSE(QDir(folder + "/peptide-mapping").entryList({"*.out"}, QDir::Files).isEmpty());
    EXPECT_TRUE(run().contains("kept")) << "a complete set is kept";
    ResetRegistryCache();  // the program wrote the settings
    EXPECT_TRUE(PortablePath(GetPeptideResultsDirectory()).endsWith("/older/peptide-mapping"))
        << GetPeptideResultsDirectory().toStdString();
}

TEST_F(DemoDataTest, QuantitationFindsTheRecordedRatios) {
    CSorvexResults set;
    set.SetRawFilePath(File("demo.mzML"));
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(Results()));
    std::map<QString, double> ratioByPeptide;
    for (const DemoPair& pair : run_->pairs) {
        ratioByPeptide[run_->peptides[static_cast<size_t>(pair.light)].text] = pair.ratio;
        ratioByPeptide[run_->peptides[static_cast<size_t>(pair.heavy)].text] = pair.ratio;
    }
    CXpressQuant engine(kDemoLabelShift, "C");
    engine.SetMassTolerance(kDefaultXpressTolerance);
    ASSERT_TRUE(engine.OpenRawFile(File("demo.mzML")));
    int quantified = 0, close = 0;
    for (int i = 0; i < set.GetHitCount(); ++i) {
        SearchHitRecord hit = *set.GetHit(i);
        const auto it = ratioByPeptide.find(hit.peptide);
        if (it == ratioByPeptide.end()) continue;
        if (engine.QuantifyHit(hit) != 1 || hit.quantitationRatio == 0.0) continue;
        const double lightToHeavy =
            hit.quantitationRatio > 0.0 ? 1.0 / hit.quantitationRatio : -hit.quantitationRatio;
        ++quantified;
        if (std::abs(lightToHeavy / it->second - 1.0) < 0.15) ++close;
    }
    EXPECT_GE(quantified, 20);
    EXPECT_GE(close, quantified * 9 / 10);
}

namespace {

// Every file below a folder with its bytes, by relative path; a new set's unfinished copy
// (hidden) left by a writer ended by force is not part of the set.
std::map<QString, QByteArray> Snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    const QDir top(folder);
    QStringList pending{folder};
    while (!pending.isEmpty()) {
        const QDir dir(pending.takeFirst());
        for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (entry.isDir())
                pending << entry.filePath();
            else
                files[top.relativeFilePath(entry.filePath())] = Bytes(entry.filePath());
        }
    }
    return files;
}

// The program, its files limited to limitBytes as on a full disk (0: no limit).
QProcess* StartDemoProgram(QProcess& process, const QStringList& arguments, qint64 limitBytes) {
    if (limitBytes > 0) {
        process.setChildProcessModifier([limitBytes] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(limitBytes), static_cast<rlim_t>(limitBytes)};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    process.start(MakeDemoProgram(), arguments);
    return &process;
}

// The program run to its end with a success.
testing::AssertionResult ProgramWrites(const QStringList& arguments) {
    QProcess process;
    StartDemoProgram(process, arguments, 0);
    if (!process.waitForFinished(zartest::kWorkWaitMs)) return testing::AssertionFailure() << "no end";
    if (process.exitCode() != 0)
        return testing::AssertionFailure() << process.readAllStandardError().toStdString();
    return testing::AssertionSuccess();
}

}  // namespace

// A set that cannot be written whole leaves the one before it as it was, and says so.
TEST_F(DemoFolderTest, AFullDiskLeavesTheEarlierSetWhole) {
    zartest::ScopedConfigDir config;
    const QString folder = dir_.filePath("set");
    ASSERT_TRUE(ProgramWrites({"--scans", "300", folder}));
    WriteTextFileAtomically(folder + "/results/notes.txt", "the user's own file\n");
    const std::map<QString, QByteArray> before = Snapshot(folder);
    const qint64 runSize = QFileInfo(folder + "/demo.mzML").size();
    ASSERT_GT(runSize, 100000);

    // Through the library: room for every small file, but not for the run.
    const int status = zartest::RunWithFileSizeLimit(runSize / 2, [&] {
        DemoSettings settings;
        settings.scanCount = 300;
        QString error;
        const bool written = WriteDemoFolder(folder, MakeDemoRun(settings), true, error);
        return written ? 0 : error.contains("Cannot write") ? 1 : 2;
    });
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(Snapshot(folder) == before) << "the earlier set is kept as it was";

    const struct {
        QStringList arguments;
        qint64 limit;
        const char* message;
    } cases[] = {
        {{"--force", "--scans", "300", folder}, runSize / 2, "Cannot write"},
        // The set is kept, but the settings that point at it cannot be saved.
        {{"--set-folders", "--scans", "300", folder}, 16, "folders could not be set"},
    };
    for (const auto& c : cases) {
        QProcess process;
        StartDemoProgram(process, c.arguments, c.limit);
        ASSERT_TRUE(process.waitForFinished(zartest::kWorkWaitMs));
        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        EXPECT_NE(process.exitCode(), 0) << c.arguments.join(' ').toStdString();
        EXPECT_FALSE(out.contains("Demo data")) << out.toStdString();
        EXPECT_TRUE(err.contains(c.message)) << err.toStdString();
        EXPECT_TRUE(Snapshot(folder) == before) << c.arguments.join(' ').toStdString();
    }
}

// A writer ended by force while it writes a new set leaves the earlier set whole.
TEST_F(DemoFolderTest, AWriterKilledHalfwayLeavesTheEarlierSetWhole) {
    zartest::ScopedConfigDir config;
    const QString folder = dir_.filePath("set");
    ASSERT_TRUE(ProgramWrites({"--scans", "300", folder}));
    const std::map<QString, QByteArray> before = Snapshot(folder);
    const int resultFiles = QDir(folder + "/results").entryList(QDir::Files).size();

    QProcess second;
    StartDemoProgram(second, {"--force", "--scans", "3000", folder}, 0);
    // Killed once it has begun: its new set is under way, or old files have gone.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return !QDir(folder).entryList({".demo-new-*"}, QDir::Dirs | QDir::Hidden).isEmpty() ||
                   QDir(folder + "/results").entryList(QDir::Files).size() != resultFiles ||
                   second.state() == QProcess::NotRunning;
        },
        zartest::kWorkWaitMs));
    ASSERT_NE(second.state(), QProcess::NotRunning) << "it was still writing";
    second.kill();
    ASSERT_TRUE(second.waitForFinished(zartest::kWorkWaitMs));
    EXPECT_TRUE(Snapshot(folder) == before);

    // The next run clears what the killed one left.
    EXPECT_TRUE(ProgramWrites({"--force", "--scans", "300", folder}));
    EXPECT_TRUE(QDir(folder).entryList({".demo-new-*"}, QDir::Dirs | QDir::Hidden).isEmpty());
    EXPECT_TRUE(Snapshot(folder) == before) << "the same seed writes the same set";
}
