#include "databases/FastaReader.h"

#include "DatabaseTestUtil.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

using namespace zar;

namespace {

struct ReadEntry {
    qint64 offset;
    qint64 headerLength;
    QString header;
    std::string residues;
};

std::vector<ReadEntry> ReadAll(const QByteArray& bytes, qint64 blockSize) {
    QTemporaryDir dir;
    const QString path = dbtest::WriteFile(dir, "x.fasta", bytes);
    CFastaReader reader(blockSize);
    EXPECT_TRUE(reader.open(path));
    std::vector<ReadEntry> entries;
    FastaEntryStart start;
    while (reader.nextEntry(start)) {
        ReadEntry e{start.headerOffset, start.headerLength, FastaHeaderText(start.header), {}};
        reader.readResidues(e.residues);
        entries.push_back(std::move(e));
    }
    EXPECT_FALSE(reader.readFailed());
    return entries;
}

struct ReaderCase {
    const char* name;
    QByteArray bytes;
    std::vector<std::pair<QString, std::string>> expected;
};

}  // namespace

TEST(FastaReader, ReadsEntriesWhateverTheLineEndsAndBlockSize) {
    const std::vector<ReaderCase> cases = {
        {"plain", ">a one\nPEP\nTIDE\n>b two\nKR\n", {{"a one", "PEPTIDE"}, {"b two", "KR"}}},
        {"crlf", ">a one\r\nPEP\r\nTIDE\r\n>b\r\nKR\r\n", {{"a one", "PEPTIDE"}, {"b", "KR"}}},
        {"lone cr is no line end in a header", ">a\rB\nKR", {{"a\rB", "KR"}}},
        {"text before the first entry", "junk\nMORE\n>a\nK", {{"a", "K"}}},
        {"no final line end", ">a\nPEPTIDE", {{"a", "PEPTIDE"}}},
        {"header at end of file", ">a\nK\n>b", {{"a", "K"}, {"b", ""}}},
        {"empty sequences", ">a\n>b\n\n>c\nK\n", {{"a", ""}, {"b", ""}, {"c", "K"}}},
        {"'>' inside a sequence line", ">a\nPEP>b\nTIDE\n", {{"a", "PEP"}, {"b", "TIDE"}}},
        {"lower case, digits and stars", ">a\n1 pep*tide 9\n", {{"a", "PEPTIDE"}}},
        {"mass annotation cut", ">a desc [MASS=1234]\nK\n", {{"a desc ", "K"}}},
        {"empty file", "", {}},
        {"no entry at all", "PEPTIDE\n", {}},
    };
    for (const ReaderCase& c : cases) {
        for (const qint64 block : {qint64(1), qint64(2), qint64(3), qint64(7), kFastaBlockSize}) {
            const auto entries = ReadAll(c.bytes, block);
            ASSERT_EQ(entries.size(), c.expected.size()) << c.name << " block " << block;
            for (std::size_t i = 0; i < entries.size(); ++i) {
                EXPECT_EQ(entries[i].header, c.expected[i].first) << c.name << " block " << block;
                EXPECT_EQ(entries[i].residues, c.expected[i].second)
                    << c.name << " block " << block;
            }
        }
    }
}

TEST(FastaReader, HeaderOffsetsAndLengthsCountTheLineEnd) {
    const auto entries = ReadAll(">1234567\r\nAB\n>x", 3);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].offset, 1);
    EXPECT_EQ(entries[0].headerLength, 9);  // seven characters, CR and LF
    EXPECT_EQ(entries[1].offset, 14);
    EXPECT_EQ(entries[1].headerLength, 1);  // ends at the end of the file
}

TEST(FastaReader, LongHeadersAreCutToTheirFirst1999Characters) {
    const QByteArray header(5000, 'h');
    const auto entries = ReadAll(">" + header + "\nPEPTIDE\n", 1000);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].header.size(), kMaxHeaderChars);
    EXPECT_EQ(entries[0].headerLength, 5001);
    EXPECT_EQ(entries[0].residues, "PEPTIDE");
}

TEST(FastaReader, HugeSequenceLinesAreReadWhole) {
    QByteArray line(3'000'000, 'A');
    line[1'500'000] = 'w';
    const auto entries = ReadAll(">a\n" + line + "\n>b\nK", kFastaBlockSize);
    ASSERT_EQ(entries.size(), 2u);
    ASSERT_EQ(entries[0].residues.size(), 3'000'000u);
    EXPECT_EQ(entries[0].residues[1'500'000], 'W');
    EXPECT_EQ(entries[1].residues, "K");
}

TEST(FastaReader, MissingFileDoesNotOpen) {
    CFastaReader reader;
    EXPECT_FALSE(reader.open("/nonexistent/x.fasta"));
}

TEST(FastaReader, ResiduesOfEveryByteValueAtEveryAlignment) {
    for (int c = 0; c < 256; ++c) {
        for (int at = 0; at < 17; ++at) {
            QByteArray line(17, 'M');
            line[at] = char(c);
            std::string residues;
            AppendResidues(residues, line.constData(), line.size());
            const bool letter = std::isalpha(c) && c < 128;
            std::string expected(17, 'M');
            if (letter) {
                expected[std::size_t(at)] = char(std::toupper(c));
            } else {
                expected.erase(std::size_t(at), 1);
            }
            ASSERT_EQ(residues, expected) << "byte " << c << " at " << at;
        }
    }
}
