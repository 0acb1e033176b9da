// The block scanner of Find Sequence against the sequential reader it replaces.

#include "databases/FastaPeptideScanner.h"

#include "databases/FastaReader.h"
#include "databases/SequenceMasses.h"

#include "DatabaseTestUtil.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace zar;

namespace {

struct Found {
    QByteArray header;
    std::string residues;
    std::size_t at = 0;
    bool operator==(const Found& o) const {
        return header == o.header && residues == o.residues && at == o.at;
    }
};

std::ostream& operator<<(std::ostream& out, const Found& f) {
    return out << '[' << f.header.constData() << "] " << f.residues << " @" << f.at;
}

// Entry by entry through the sequential reader: the letters of each, searched whole.
std::vector<Found> Reference(const QString& path, const std::string& peptide) {
    std::vector<Found> found;
    CFastaReader reader(7);
    EXPECT_TRUE(reader.open(path));
    FastaEntryStart start;
    while (reader.nextEntry(start)) {
        std::string residues;
        reader.readResidues(residues);
        if (const auto at = FindPeptide(residues, peptide))
            found.push_back({start.header, residues, std::size_t(at->first - 1)});
    }
    return found;
}

std::vector<Found> Scanned(const QString& path, const std::string& peptide, qint64 block,
                           std::vector<qint64>* ends = nullptr) {
    std::vector<Found> found;
    CFastaPeptideScanner scanner(peptide, block);
    EXPECT_TRUE(scanner.open(path));
    const auto status = scanner.scan(
        [&](FastaPeptideHit& hit) { found.push_back({hit.header, hit.residues, hit.at}); },
        [&](qint64 position) {
            if (ends) ends->push_back(position);
            return true;
        });
    EXPECT_EQ(status, CFastaPeptideScanner::Status::Done);
    return found;
}

// FASTA-like text with everything the readers must take: text before the first entry, '>'
// inside headers and lines, CRLF, lower case, digits, blanks and stars in sequences, empty
// entries, long headers and the peptide put in whole, across line ends and across junk.
QByteArray RandomFasta(std::mt19937& random, const std::string& peptide) {
    std::uniform_int_distribution<int> pick(0, 99);
    const auto letters = [&](int n) {
        static const char kResidues[] = "ACDEFGHIKLMNPQRSTVWYacdefghik";
        QByteArray s;
        for (int i = 0; i < n; ++i) s += kResidues[random() % (sizeof kResidues - 1)];
        return s;
    };
    QByteArray text;
    if (pick(random) < 20) text += "junk before " + letters(5) + "\n";
    const int entries = 1 + pick(random) % 12;
    for (int e = 0; e < entries; ++e) {
        text += ">h" + QByteArray::number(e);
        if (pick(random) < 10) text += " with > inside";
        if (pick(random) < 5) text += QByteArray(300, 'x');
        if (pick(random) < 10) text += "\r";
        if (pick(random) < 3 && e + 1 == entries) break;  // header at the end of the file
        text += "\n";
        const int pieces = pick(random) % 8;
        for (int p = 0; p < pieces; ++p) {
            const int roll = pick(random);
            if (roll < 40) {
                text += letters(pick(random) % 70);
            } else if (roll < 55) {
                // The peptide, cut anywhere by a line end or junk.
                QByteArray whole = QByteArray::fromStdString(peptide);
                const int cut = static_cast<int>(random() % (whole.size() + 1));
                static const char* const kBreaks[] = {"", "\n", "\r\n", " ", "12", "*", "\n\n"};
                whole.insert(cut, kBreaks[random() % 7]);
                if (pick(random) < 30) whole = whole.toLower();
                text += whole;
            } else if (roll < 75) {
                text += "\n";
            } else if (roll < 85) {
                text += "\r\n";
            } else if (roll < 95) {
                text += letters(60) + "\n";
            } else {
                text += " 10 * ";
            }
        }
        if (pick(random) < 70) text += "\n";
    }
    return text;
}

}  // namespace

TEST(FastaPeptideScanner, FindsWhatTheSequentialReaderFinds) {
    QTemporaryDir dir;
    std::mt19937 random(99);
    int hits = 0;
    for (int round = 0; round < 400; ++round) {
        static const char* const kPeptides[] = {"K", "PE", "PEPTIDE", "WHMDCYWHMKAA"};
        const std::string peptide = kPeptides[round % 4];
        const QByteArray text = RandomFasta(random, peptide);
        const QString path = dbtest::WriteFile(dir, "random.fasta", text);
        const std::vector<Found> expected = Reference(path, peptide);
        hits += static_cast<int>(expected.size());
        for (const qint64 block : {qint64(1), qint64(3), qint64(8), qint64(61), qint64(4096)}) {
            ASSERT_EQ(Scanned(path, peptide, block), expected)
                << "round " << round << ", block " << block << "\n"
                << text.constData();
        }
    }
    EXPECT_GT(hits, 300);  // the cases do find something
}

TEST(FastaPeptideScanner, EntryEndsComeWithTheirPositions) {
    QTemporaryDir dir;
    const QString path = dbtest::WriteFile(dir, "three.fasta", "x\n>a\nAAA\n>b\nCC\n>c\nG");
    std::vector<qint64> ends;
    EXPECT_EQ(Scanned(path, "CC", 4, &ends).size(), 1u);
    EXPECT_EQ(ends, (std::vector<qint64>{9, 15, 19}));  // each at the next entry's ">"
}

TEST(FastaPeptideScanner, StopsWhenTold) {
    QTemporaryDir dir;
    const QString path = dbtest::WriteFile(dir, "two.fasta", ">a\nPEPTIDE\n>b\nPEPTIDE\n");
    CFastaPeptideScanner scanner("PEPTIDE", 5);
    ASSERT_TRUE(scanner.open(path));
    int hits = 0;
    EXPECT_EQ(scanner.scan([&](FastaPeptideHit&) { ++hits; }, [](qint64) { return false; }),
              CFastaPeptideScanner::Status::Cancelled);
    EXPECT_EQ(hits, 0);
    EXPECT_FALSE(CFastaPeptideScanner("P").open(dir.filePath("missing.fasta")));
}
