// How massmap scores a protein against an MS spectrum: by the chance that a random protein of its
// digest size explains as many ions, with ions that most spectra of the run show and ions below
// the smallest mass compared left out. Hand-made spectra of singly charged ions, one peak each,
// against a database of three proteins.

#include "ToolTestSupport.h"

#include "TestSupport.h"

#include "databases/SequenceMasses.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Tryptic peptides (one K or R, at the end) of the small protein and of the large one; the
// large one holds many more besides.
const std::vector<std::string> kSmallPeptides = {"GAVLSEWK", "DFTNYQEMR", "HLVGAEFSTR",
                                                 "AAGLFWVDQK"};
const std::vector<std::string> kLargePeptides = {"YWGDLEFNSK", "QTVHEAGSMR", "NEWFLDAYGR"};
// The tiny protein's peptides are all lighter than the smallest ion compared.
const std::string kTinyProtein = "GAKSGRAVK";

std::string Join(const std::vector<std::string>& peptides) {
    std::string sequence;
    for (const std::string& p : peptides) sequence += p;
    return sequence;
}

// The large protein: its three named peptides among sixty others of its own.
std::string LargeProtein() {
    const std::string residues = "ADEFGHILMNQSTVWY";
    std::string sequence = Join(kLargePeptides);
    for (int i = 0; i < 60; ++i) {
        for (int k = 0; k < 8; ++k) sequence += residues[static_cast<size_t>((i * 7 + k * 5) % 16)];
        sequence += i % 2 ? 'K' : 'R';
    }
    return sequence;
}

double IonOf(const std::string& peptide) {
    return zar::ProtonatedMass(zar::SequenceMassTable::For(true), peptide);
}

// A spectrum of the given peptides' ions, the first the strongest.
void WriteSpectrum(const QString& path, const std::vector<std::string>& peptides) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1500.0 1\n");
    double intensity = 1000.0 * static_cast<double>(peptides.size());
    std::vector<std::pair<double, double>> peaks;
    for (const std::string& p : peptides) {
        peaks.push_back({IonOf(p), intensity});
        intensity -= 1000.0;
    }
    std::sort(peaks.begin(), peaks.end());
    for (const auto& [mz, height] : peaks)
        file.write(QByteArray::number(mz, 'f', 4) + ' ' + QByteArray::number(height, 'f', 1) +
                   '\n');
}

struct HitLine {
    QString reference;
    QString peptide;
};

// The hit lines of an ".out" file: reference and peptide of each.
std::vector<HitLine> HitLines(const QString& path) {
    std::vector<HitLine> hits;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return hits;
    const QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
    qsizetype i = 0;
    while (i < lines.size() && !lines[i].startsWith(" ---")) ++i;
    for (++i; i < lines.size() && lines[i].size() > 5; ++i) {
        const QStringList words = lines[i].split(' ', Qt::SkipEmptyParts);
        hits.push_back({words.value(words.size() - 2), words.last()});
    }
    return hits;
}

struct ScoreCase {
    const char* name;
    // Each spectrum's peptides, strongest first; each is written as run.NNNN.NNNN.1.dta.
    std::vector<std::vector<std::string>> spectra;
    const char* firstReference;  // of every file's first hit line; empty: no hits
    const char* firstPeptide;    // of the first spectrum's first hit line, when given
    const char* neverListed;     // a protein no file names, when given
};

void PrintTo(const ScoreCase& c, std::ostream* os) {
    *os << c.name;
}

// Twelve spectra that each show the large protein's three ions and two of the small protein's
// four, each of those in half of the spectra.
std::vector<std::vector<std::string>> SpectraOverBackground() {
    std::vector<std::vector<std::string>> spectra;
    for (size_t i = 0; i < 12; ++i) {
        std::vector<std::string> peptides = {kSmallPeptides[i % 4], kSmallPeptides[(i + 1) % 4]};
        peptides.insert(peptides.end(), kLargePeptides.begin(), kLargePeptides.end());
        spectra.push_back(peptides);
    }
    return spectra;
}

class MassmapScores : public ::testing::TestWithParam<ScoreCase> {};

TEST_P(MassmapScores, RankTheProteinsByTheChanceOfTheirMatch) {
    const ScoreCase& c = GetParam();
    zartest::ScopedConfigDir config;
    QTemporaryDir work;
    const QString database = work.filePath("three.fasta");
    {
        QFile fasta(database);
        ASSERT_TRUE(fasta.open(QIODevice::WriteOnly));
        fasta.write(">LARGE_PROT large\n" + QByteArray::fromStdString(LargeProtein()) + "\n");
        fasta.write(">SMALL_PROT small\n" + QByteArray::fromStdString(Join(kSmallPeptides)) + "\n");
        fasta.write(">TINY_PROT tiny\n" + QByteArray::fromStdString(kTinyProtein) + "\n");
    }
    QStringList outs;
    for (size_t i = 0; i < c.spectra.size(); ++i) {
        const QString base = QStringLiteral("run.%1.%1.1").arg(i + 1, 4, 10, QLatin1Char('0'));
        WriteSpectrum(work.filePath(base + ".dta"), c.spectra[i]);
        outs << work.filePath(base + ".out");
    }
    zartest::WriteSearchParams(work.path(), true, database,
                               {{"enzyme_number", "1"},
                                {"mass_type_parent", "1"},
                                {"max_num_internal_cleavage_sites", "0"},
                                {"peptide_mass_tolerance", "0.01"}});
    const zartest::ToolRun r = zartest::RunTool("massmap", {}, work.path());
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();

    for (const QString& out : outs) {
        const std::vector<HitLine> hits = HitLines(out);
        if (QString(c.firstReference).isEmpty()) {
            EXPECT_TRUE(hits.empty()) << out.toStdString();
            continue;
        }
        ASSERT_FALSE(hits.empty()) << out.toStdString();
        EXPECT_EQ(hits.front().reference.toStdString(), c.firstReference) << out.toStdString();
        if (!c.neverListed) continue;
        for (const HitLine& hit : hits)
            EXPECT_NE(hit.reference.toStdString(), c.neverListed) << out.toStdString();
    }
    if (c.firstPeptide) {
        const std::vector<HitLine> hits = HitLines(outs.front());
        ASSERT_FALSE(hits.empty());
        EXPECT_EQ(hits.front().peptide.toStdString(), c.firstPeptide);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MassmapScores,
    ::testing::Values(
        // Three ions each: a random protein of the large one's digest explains three far more
        // easily than one of the small one's.
        ScoreCase{
            "smallDigestBeforeLarge",
            {{"YWGDLEFNSK", "QTVHEAGSMR", "NEWFLDAYGR", "GAVLSEWK", "DFTNYQEMR", "HLVGAEFSTR"}},
            "SMALL_PROT",
            nullptr,
            nullptr},
        // The small protein's lines start with the peptide of its strongest ion.
        ScoreCase{"strongestIonFirst",
                  {{"HLVGAEFSTR", "GAVLSEWK", "AAGLFWVDQK"}},
                  "SMALL_PROT",
                  "R.HLVGAEFSTR.A",
                  "LARGE_PROT"},
        // The large protein's ions are in every spectrum: background, matched by nothing.
        ScoreCase{"backgroundIgnored", SpectraOverBackground(), "SMALL_PROT", nullptr,
                  "LARGE_PROT"},
        // Only ions lighter than the smallest compared: no protein is named.
        ScoreCase{"smallIonsIgnored", {{"GAK", "SGR", "AVK"}}, "", nullptr, nullptr}),
    [](const ::testing::TestParamInfo<ScoreCase>& info) { return std::string(info.param.name); });

}  // namespace
