#pragma once
// A small run with light/heavy pairs at known heights and the results folder of its search:
// what the XPRESS page and dialog tests quantify. Full-MS scans are odd, MS/MS scans even;
// each elution peak is a Gaussian over the full-MS scans within kHalfWidth of its apex, so
// a peak's area is a sum that a test can write down.

#include "core/Numbers.h"
#include "document/SorvexResults.h"
#include "document/hub/ZarDoc.h"
#include "registry/RegKey.h"

#include "SpectrumTestRuns.h"
#include "ViewsTestSupport.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cmath>
#include <memory>
#include <vector>

namespace xpresstest {

// The last scan is a full-MS scan.
constexpr int kScans = 321;
constexpr int kHalfWidth = 14;
constexpr double kSigma = 6.0;
constexpr double kApexHeight = 1.0e6;
constexpr double kProton = 1.008;
// Scans each side of the identified scans that the engine reads: wide enough for whole peaks.
constexpr int kScanWindow = 30;

// One identified peptide: as the search engine wrote it, its light (M+H)+, charge, labelled
// residues and their mass difference, the apex scan and both forms' heights there. A second
// light-only peak (an interfering ion at the light m/z) may elute later.
struct Peptide {
    const char* text;
    double lightMH;
    int charge;
    int labels;
    double difference;
    int apex;
    double lightHeight;
    double heavyHeight;
    int secondApex = 0;
    double secondHeight = 0.0;
};

inline const std::vector<Peptide>& Peptides() {
    static const std::vector<Peptide> peptides = {
        {"K.PEPCTIDEK.R", 1000.5, 2, 1, 8.0, 41, 2.0, 1.0, 121, 0.5},  // 2 : 1, light identified
        {"R.AC*DC*EFK.G", 1200.0, 2, 2, 8.0, 181, 1.0, 3.0},           // 1 : 3, heavy identified
        {"K.GGCAK.R", 800.0, 2, 1, 8.0, 231, 1.0, 0.0},                // no heavy partner
        {"K.PEPTIDEWR.A", 900.0, 2, 0, 8.0, 261, 1.0, 0.0},            // nothing labelled
        {"R.SAMPLEK.A", 1100.0, 1, 1, 6.0, 291, 1.0, 2.0},             // labelled on K, +6.0
    };
    return peptides;
}

inline bool IsFullScan(int scan) {
    return scan % 2 == 1;
}

inline double HeavyMH(const Peptide& p) {
    return p.lightMH + p.labels * p.difference;
}

inline double MzOf(double mh, int charge) {
    return (mh + (charge - 1) * kProton) / charge;
}

inline bool IsHeavyText(const Peptide& p) {
    return QString::fromLatin1(p.text).contains(QLatin1Char('*'));
}

// The height of a Gaussian elution peak at a scan (0 away from it and at MS/MS scans).
inline double PeakAt(int scan, int apex, double height) {
    const int d = scan - apex;
    if (!IsFullScan(scan) || std::abs(d) > kHalfWidth || height == 0.0) return 0.0;
    return height * kApexHeight * std::exp(-0.5 * (d / kSigma) * (d / kSigma));
}

// The sum of a peak over all its scans: the area the engine integrates when its limits hold
// the whole peak.
inline double PeakArea(int apex, double height) {
    double sum = 0.0;
    for (int s = apex - kHalfWidth; s <= apex + kHalfWidth; ++s) sum += PeakAt(s, apex, height);
    return sum;
}

// The sum over the apex and the scans after it (the right half of the peak).
inline double RightHalfArea(int apex, double height) {
    double sum = 0.0;
    for (int s = apex; s <= apex + kHalfWidth; ++s) sum += PeakAt(s, apex, height);
    return sum;
}

inline spectrumtest::Peaks ScanPeaks(int scan) {
    spectrumtest::Peaks peaks = {{1500.0, 100.0}};
    if (!IsFullScan(scan)) return peaks;
    for (const Peptide& p : Peptides()) {
        const double light = PeakAt(scan, p.apex, p.lightHeight) +
                             (p.secondApex ? PeakAt(scan, p.secondApex, p.secondHeight) : 0.0);
        const double heavy = PeakAt(scan, p.apex, p.heavyHeight);
        if (light > 0.0) peaks.push_back({MzOf(p.lightMH, p.charge), light});
        if (heavy > 0.0) peaks.push_back({MzOf(HeavyMH(p), p.charge), heavy});
    }
    return peaks;
}

// The spectrum name of a peptide's search in a run: identified in the MS/MS scan after its apex
// unless told another scan.
inline QString SpectrumName(const Peptide& p, const QString& run = QStringLiteral("pairs"),
                            int scan = 0) {
    return QStringLiteral("%1.%2.%2.%3")
        .arg(run)
        .arg(scan > 0 ? scan : p.apex + 1, 4, 10, QLatin1Char('0'))
        .arg(p.charge);
}

inline QString OutText(const Peptide& p, int number, const QString& name) {
    const double mh = IsHeavyText(p) ? HeavyMH(p) : p.lightMH;
    QString t;
    t += QStringLiteral("\n ") + name + QStringLiteral(".out\n");
    t += QStringLiteral(" TurboSORVEX v.27 (rev. 11), (C) 1998-2006\n");
    t += QStringLiteral(" Korvath Instruments\n Licensed to the test laboratory\n");
    t += QStringLiteral(" 12/10/2026, 01:30 PM, 2 sec. on node01\n");
    t += zar::QCFormat(" (M+H)+ mass = %.4f ~ 1.5000 (+%d), fragment tol = 0.50, MONO/MONO\n", mh,
                       p.charge);
    t += QStringLiteral(" total inten = 12345.6, lowest Sp = 10.0, # matched peptides = 1000\n");
    t += QStringLiteral(" # amino acids = 300, # proteins = 5, pairs.fasta\n");
    t += QStringLiteral(" ion series nABYabcdVWXYZ: 0 1 1 0.0 1.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0\n");
    t += QStringLiteral(" display top 10/5, ion % = 0.0, CODE = 001040\n");
    t += QStringLiteral(" (C* +8.0000)\n\n");
    t += QStringLiteral(
        "  #   Rank/Sp    (M+H)+   deltCn   XCorr    Sp    Ions  Reference"
        "             Peptide\n");
    t += QStringLiteral(
        " ---  --------  --------  ------  ------   -----  ----  ---------"
        "             -------\n");
    t += zar::QCFormat(
        "  1.   1 /  1  %9.4f  0.0000  2.5000  500.0  11/22  sp|P0000%d|PR%d_TEST"
        "       %s\n",
        mh, number, number, p.text);
    return t;
}

inline bool WriteFile(const QString& path, const QString& text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.toLatin1()) == text.toLatin1().size();
}

// Writes "pairs.mzML" into dir and the results folder "pairs" beside it; the folder's path.
inline QString WriteRunAndResults(const QString& dir) {
    if (!spectrumtest::WriteRun(dir + QStringLiteral("/pairs.mzML"), kScans, IsFullScan, ScanPeaks))
        return QString();
    const QString folder = dir + QStringLiteral("/pairs");
    QDir().mkpath(folder);
    QString fasta;
    int number = 1;
    for (const Peptide& p : Peptides()) {
        QString core = QString::fromLatin1(p.text).mid(2);
        core.chop(2);
        core.remove(QLatin1Char('*'));
        fasta += zar::QCFormat(">sp|P0000%d|PR%d_TEST Protein %d\nMK", number, number, number) +
                 core + QStringLiteral("GG\n");
        const QString name = SpectrumName(p);
        if (!WriteFile(folder + QLatin1Char('/') + name + QStringLiteral(".out"),
                       OutText(p, number, name)))
            return QString();
        ++number;
    }
    if (!WriteFile(folder + QStringLiteral("/pairs.fasta"), fasta)) return QString();
    return folder;
}

// The settings the tests quantify with (a scan window that holds whole peaks).
inline void WriteXpressSettings(double difference = 8.0, double tolerance = 1.5) {
    zar::RegKey key(zar::RegRoot::LocalMachine,
                    QStringLiteral("Software\\Korvath\\Veltrix\\ZarvikBrowser"), true);
    key.writeInt(QStringLiteral("XpressScanWindow"), kScanWindow);
    key.writeDouble(QStringLiteral("XpressDifference"), difference);
    key.writeDouble(QStringLiteral("XpressTolerance"), tolerance);
}

// Tests on the run: the plotting server registered and the run and its results written once per
// suite.
class XpressRunTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<viewstest::RegisteredPlotServer>();
        dir_ = std::make_unique<QTemporaryDir>();
        folder_ = WriteRunAndResults(dir_->path());
    }
    static void TearDownTestSuite() {
        dir_.reset();
        server_.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(server_->ok());
        ASSERT_FALSE(folder_.isEmpty());
    }

    // Opens the run in the document and reads its results with XPRESS on, with the document's
    // residue and tolerance (as File > Open TurboSORVEX Results does).
    static ::testing::AssertionResult OpenAndRead(zar::CZarDoc& doc) {
        if (!doc.OnOpenDocument(dir_->filePath(QStringLiteral("pairs.mzML"))))
            return ::testing::AssertionFailure() << "the run does not open";
        zar::CSorvexResults* set = doc.GetSorvexResults();
        set->SetRawFilePath(doc.GetRawFilePath());
        zar::XpressOptions options = set->GetXpressOptions();
        options.autoCalculate = true;
        options.residue = doc.GetXpressResidue();
        options.tolerance = doc.GetXpressTolerance();
        set->SetXpressOptions(options);
        if (!set->Initialize() || !set->ReadResults(folder_))
            return ::testing::AssertionFailure() << "the results are not read";
        if (set->GetHitCount() != static_cast<int>(Peptides().size()))
            return ::testing::AssertionFailure() << set->GetHitCount() << " hits read";
        return ::testing::AssertionSuccess();
    }

    static inline std::unique_ptr<viewstest::RegisteredPlotServer> server_;
    static inline std::unique_ptr<QTemporaryDir> dir_;
    static inline QString folder_;
};

}  // namespace xpresstest
