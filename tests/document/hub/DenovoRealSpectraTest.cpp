// De novo sequencing of real MS2 spectra of a bovine serum albumin digest, as the document
// hands them to the engine. Each spectrum's peptide is established here on its own: its
// precursor m/z and charge fit a tryptic peptide of the protein within a few ppm, and that
// peptide's b and y ions explain much of the spectrum.

#include "ZarDoc.h"

#include "TestSupport.h"
#include "interpretation/DenovoEngine.h"
#include "rawfile/VRawfile.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <string>

using namespace zar;

namespace {

constexpr double kProton = 1.00727646688;
constexpr double kWater = 18.0105646863;

// Monoisotopic residue masses, kept apart from the program's own table.
double ResidueMass(char c) {
    static const std::map<char, double> masses = {
        {'G', 57.02146},  {'A', 71.03711},  {'S', 87.03203},  {'P', 97.05276},  {'V', 99.06841},
        {'T', 101.04768}, {'L', 113.08406}, {'I', 113.08406}, {'N', 114.04293}, {'D', 115.02694},
        {'Q', 128.05858}, {'K', 128.09496}, {'E', 129.04259}, {'M', 131.04049}, {'H', 137.05891},
        {'F', 147.06841}, {'R', 156.10111}, {'Y', 163.06333}, {'W', 186.07931}};
    return masses.at(c);
}

double PeptideMass(const std::string& peptide) {
    double m = kWater;
    for (char c : peptide) m += ResidueMass(c);
    return m;
}

// Share of the spectrum's intensity at the peptide's singly charged b and y ions (0.5 Da).
double ExplainedByLadder(const std::string& peptide, const std::vector<CVXDataPeak>& peaks) {
    const double mass = PeptideMass(peptide);
    std::vector<bool> used(peaks.size(), false);
    double total = 0.0;
    double explained = 0.0;
    for (const CVXDataPeak& p : peaks) total += p.dIntensity;
    double prefix = 0.0;
    for (size_t i = 0; i + 1 < peptide.size(); ++i) {
        prefix += ResidueMass(peptide[i]);
        for (double ion : {prefix + kProton, mass - prefix + kProton}) {
            for (size_t k = 0; k < peaks.size(); ++k) {
                if (used[k] || std::fabs(peaks[k].dPosition - ion) >= 0.5) continue;
                used[k] = true;
                explained += peaks[k].dIntensity;
            }
        }
    }
    return total > 0.0 ? explained / total : 0.0;
}

// The sequence of the protein entry whose header names the given text.
std::string ProteinSequence(const QString& fasta, const QString& name) {
    QFile file(fasta);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QTextStream in(&file);
    std::string sequence;
    bool inside = false;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(QLatin1Char('>'))) {
            if (inside) break;
            inside = line.contains(name);
        } else if (inside) {
            sequence += line.trimmed().toStdString();
        }
    }
    return sequence;
}

bool IsTrypticPeptideOf(const std::string& peptide, const std::string& protein) {
    for (size_t at = protein.find(peptide); at != std::string::npos;
         at = protein.find(peptide, at + 1)) {
        const bool cleavedBefore = at == 0 || protein[at - 1] == 'K' || protein[at - 1] == 'R';
        const char last = peptide.back();
        if (cleavedBefore && (last == 'K' || last == 'R')) return true;
    }
    return false;
}

// Residues of a candidate text ("head.LETTERS.tail") that stand where the peptide has them; I
// reads as L and Q as K, whose masses the alphabet lists.
int ResiduesInPlace(const std::string& text, const std::string& peptide,
                    const CDenovoEngine& engine) {
    std::map<char, int> nominal;
    for (const DenovoResidue& r : engine.ResidueTable()) nominal[r.letter] = r.nominal;
    const auto Nominal = [&nominal](char c) { return nominal.count(c) ? nominal[c] : 0; };
    std::map<int, char> residueAt;  // nominal prefix mass -> the residue that follows
    int prefix = 0;
    for (char c : peptide) {
        residueAt[prefix] = c == 'I' ? 'L' : (c == 'Q' ? 'K' : c);
        prefix += static_cast<int>(ResidueMass(c));
    }
    size_t pos = 0;
    int at = 0;
    if (!text.empty() && std::isdigit(static_cast<unsigned char>(text[0]))) {
        at = std::stoi(text);
        pos = text.find('.') + 1;
    }
    int inPlace = 0;
    for (; pos < text.size() && text[pos] != '.'; ++pos) {
        const auto found = residueAt.find(at);
        if (found != residueAt.end() && found->second == text[pos]) ++inPlace;
        at += Nominal(text[pos]);
    }
    return inPlace;
}

struct RealSpectrum {
    int scan;
    const char* peptide;
    int charge;
    int residuesInPlace;  // the best candidate places at least this many residues rightly
    int trueRank;         // the whole sequence ranks here or better; -1: not asked
};

// The engine works on nominal masses from the precursor it is handed; a precursor of charge 3
// taken as doubly charged leaves no candidate with anything in common with the peptide.
TEST(DenovoRealSpectra, BsaPeptidesAreSequencedFromTheirSinglyChargedMass) {
    const QString run = zartest::RealDataPath(QStringLiteral("BSA2.mzML"));
    const QString fasta = zartest::RealDataPath(QStringLiteral("proteins.fasta"));
    if (run.isEmpty() || fasta.isEmpty()) GTEST_SKIP() << "real data not fetched";
    const std::string albumin = ProteinSequence(fasta, QStringLiteral("ALBU_BOVIN"));
    ASSERT_FALSE(albumin.empty());

    const RealSpectrum spectra[] = {
        {1411, "YLYEIAR", 2, 7, 0},       {1014, "AEFVEVTK", 2, 6, -1},
        {660, "DDSPDLPK", 2, 6, -1},      {1682, "KQTALVELLK", 3, 6, -1},
        {1670, "RHPEYAVSVLLR", 3, 7, -1},
    };
    zartest::ScopedConfigDir config;
    CZarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(run));
    VRawfile* raw = doc.GetRawFile();
    ASSERT_NE(raw, nullptr);
    for (const RealSpectrum& s : spectra) {
        const std::string peptide = s.peptide;
        SCOPED_TRACE(std::to_string(s.scan) + " " + peptide);
        // Who the spectrum is.
        ASSERT_TRUE(IsTrypticPeptideOf(peptide, albumin));
        std::vector<CVXDataPeak> peaks;
        RawScanHeader header;
        ASSERT_TRUE(raw->spectrum(s.scan, peaks, &header));
        ASSERT_EQ(header.msLevel, 2);
        ASSERT_EQ(header.precursorCharge, s.charge);
        const double mass = PeptideMass(peptide);
        const double mz = (mass + s.charge * kProton) / s.charge;
        ASSERT_LT(std::fabs(header.precursorMass - mz) / mz * 1e6, 5.0);
        ASSERT_GT(ExplainedByLadder(peptide, peaks), 0.3);

        // What the engine makes of it.
        ASSERT_EQ(doc.LoadDenovoSpectra({s.scan}), 1);
        CDenovoEngine* engine = doc.GetDenovoEngine();
        const double mh = mass + kProton;
        EXPECT_NEAR(engine->Precursor(0), mh, 0.02) << "[M+H]+ from the filter's m/z";
        EXPECT_EQ(engine->MassRangeEnd(),
                  static_cast<int>(mh * CDenovoEngine::kMS2NominalFactor + 0.5));
        const int count = engine->FormatSequenceTable();
        ASSERT_GT(count, 0);
        int best = 0;
        int rank = -1;
        std::string whole = peptide;
        std::replace(whole.begin(), whole.end(), 'I', 'L');
        std::replace(whole.begin(), whole.end(), 'Q', 'K');
        for (int i = 0; i < count; ++i) {
            const std::string text = engine->GetCandidate(i)->sequence.toStdString();
            best = std::max(best, ResiduesInPlace(text, peptide, *engine));
            if (rank < 0 && text == whole) rank = i;
        }
        EXPECT_GE(best, s.residuesInPlace);
        if (s.trueRank >= 0) {
            EXPECT_GE(rank, 0);
            EXPECT_LE(rank, s.trueRank);
        }
    }
}

}  // namespace
