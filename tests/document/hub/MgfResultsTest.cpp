// A results folder searched from a peak list (MGF) finds each hit's spectrum in that list.

#include "document/OutFileFormat.h"
#include "document/SorvexResults.h"
#include "rawfile/VRawfile.h"

#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace zar;

namespace {

constexpr double kProton = 1.007276;

// One search-engine result file of the run "titled" for a precursor (M+H)+.
bool WriteOut(const QString& folder, const QString& name, double precursorMh) {
    const QString text =
        QStringLiteral(
            "\n %1\n TurboSORVEX v.27 (rev. 11), (C) 1998-2006\n x\n x\n"
            " 12/10/2026, 01:30 PM, 2 sec. on node01\n"
            " (M+H)+ mass = %2 ~ 1.5000 (+2), fragment tol = 0.50, MONO/MONO\n x\n"
            " # amino acids = 300, # proteins = 3, test.fasta\n"
            " ion series nABYabcdVWXYZ: 0 1 1 0.0 1.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0\n"
            " display top 10/5\n (M* +15.9949)\n\n  #   Rank/Sp\n ---  ----\n"
            "  1.   1 /  1  %2  0.0000  2.5000  200.0   6/10  sp|P1|PROT      "
            "K.PEPTIDEK.R\n\n")
            .arg(name)
            .arg(precursorMh, 0, 'f', 4);
    QFile f(folder + QLatin1Char('/') + name);
    return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) > 0;
}

TEST(MgfResults, EachHitOpensTheSpectrumItWasSearchedFrom) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    const QString run = zartest::DataPath(QStringLiteral("rawfile/titled.mgf"));
    // The converter wrote the scans into the titles (a native id, a SCANS= line, plain text).
    const struct {
        const char* out;
        double precursorMz;
    } hits[] = {
        {"titled.0565.0565.2.out", 750.85},
        {"titled.0566.0566.3.out", 500.9},
        {"titled.0570.0570.1.out", 1001.5},
    };
    QTemporaryDir folder;
    for (const auto& h : hits) {
        int first = 0, last = 0, charge = 0;
        ASSERT_TRUE(ParseOutFileName(h.out, first, last, charge));
        ASSERT_TRUE(
            WriteOut(folder.path(), h.out, h.precursorMz * charge - (charge - 1) * kProton));
    }
    CSorvexResults results;
    results.SetRawFilePath(run);
    ASSERT_TRUE(results.Initialize());
    ASSERT_TRUE(results.ReadResults(folder.path()));
    ASSERT_EQ(results.GetHitCount(), 3);

    VRawfile raw;
    ASSERT_TRUE(raw.open(run)) << raw.lastError().toStdString();
    ASSERT_TRUE(raw.setCurrentController(0, 1));
    for (int i = 0; i < results.GetHitCount(); ++i) {
        const SearchHitRecord* hit = results.GetHit(i);
        int first = 0, last = 0, charge = 0;
        ASSERT_TRUE(ParseOutFileName(QFileInfo(hit->path).fileName(), first, last, charge));
        RawScanHeader header;
        std::vector<CVXDataPeak> peaks;
        ASSERT_TRUE(raw.spectrum(first, peaks, &header)) << "scan " << first;
        EXPECT_EQ(header.scanNumber, first);
        EXPECT_NEAR(header.precursorMass * charge - (charge - 1) * kProton, hit->precursorMass,
                    1e-3)
            << "scan " << first;
        EXPECT_FALSE(peaks.empty());
    }
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join('|').toStdString();
}

}  // namespace
