// The sequence grids' cells: ten residues a cell, a hundred a row, residues black or red.

#include "SequenceCells.h"
#include "SequenceReport.h"

#include "grid/GridRichText.h"

#include <gtest/gtest.h>

#include <map>

using namespace zar;

namespace {

std::string Residues(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s.push_back(static_cast<char>('A' + i % 20));
    return s;
}

// Red residues of a cell, by position in the cell.
QString RedOf(const QString& cell) {
    QString red;
    for (const RichTextRun& run : ParseRichText(cell).runs)
        if (run.color == QColor(255, 0, 0)) red += run.text;
    return red;
}

}  // namespace

TEST(SequenceCells, PlainCellsOfAProteinOf250Residues) {
    const std::string protein = Residues(250);
    const std::vector<SequenceCell> cells = PlainSequenceCells(protein);
    EXPECT_EQ(SequenceGridRows(250), 3);
    ASSERT_EQ(cells.size(), 25u);
    std::map<int, int> perRow;
    for (const SequenceCell& c : cells) ++perRow[c.row];
    EXPECT_EQ(perRow[1], 10);
    EXPECT_EQ(perRow[2], 10);
    EXPECT_EQ(perRow[3], 5) << "row 3 has 5 cells";
    EXPECT_EQ(cells[0].text, QString::fromLatin1(kSequenceCellHeader) + "\\cf0" +
                                 QString::fromStdString(protein.substr(0, 10)) + "}");
    EXPECT_EQ(cells[24].row, 3);
    EXPECT_EQ(cells[24].col, 5);
    EXPECT_EQ(ParseRichText(cells[24].text).plainText(),
              QString::fromStdString(protein.substr(240)));
    EXPECT_EQ(ParseRichText(cells[24].text).fontFamily, "Courier New");
    EXPECT_TRUE(PlainSequenceCells("").empty());
    EXPECT_EQ(SequenceColumnTitle(1), "1-10");
    EXPECT_EQ(SequenceColumnTitle(10), "91-100");
}

TEST(SequenceCells, CoverageMarksEachCoveredResidueRed) {
    const std::string protein = Residues(23);
    std::vector<std::uint16_t> covered(protein.size() + 1, 0);
    for (int i = 8; i <= 12; ++i) covered[std::size_t(i)] = 1;
    const std::vector<SequenceCell> cells = CoverageSequenceCells(protein, covered);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(RedOf(cells[0].text), QString::fromStdString(protein.substr(8, 2)));
    EXPECT_EQ(RedOf(cells[1].text), QString::fromStdString(protein.substr(10, 3)));
    EXPECT_EQ(RedOf(cells[2].text), "");
    EXPECT_EQ(ParseRichText(cells[2].text).plainText(), QString::fromStdString(protein.substr(20)));
    EXPECT_TRUE(cells[0].text.contains("\\cf1" + QString(QLatin1Char(protein[8])) + "\\cf1"));
}

TEST(SequenceCells, PeptideCellsFromTheCellOfItsFirstResidue) {
    struct Case {
        const char* what;
        int length, first, last;
        std::vector<std::pair<int, int>> cells;  // (row, col) written
        std::vector<QString> red;                // red residues of each
    };
    const std::string p = Residues(300);
    auto span = [&](int from, int to) {
        return QString::fromStdString(p.substr(std::size_t(from - 1), std::size_t(to - from + 1)));
    };
    const Case cases[] = {
        {"residues 20-29 redraw from residue 11",
         300,
         20,
         29,
         {{1, 2}, {1, 3}},
         {span(20, 20), span(21, 29)}},
        {"residues 95-104 make two rows red",
         300,
         95,
         104,
         {{1, 10}, {2, 1}},
         {span(95, 100), span(101, 104)}},
        {"a long peptide",
         300,
         5,
         31,
         {{1, 1}, {1, 2}, {1, 3}, {1, 4}},
         {span(5, 10), span(11, 20), span(21, 30), span(31, 31)}},
        {"near the end", 23, 21, 23, {{1, 3}}, {span(21, 23)}},
    };
    for (const Case& c : cases) {
        const std::vector<SequenceCell> cells =
            PeptideSequenceCells(p.substr(0, std::size_t(c.length)), c.first, c.last);
        ASSERT_EQ(cells.size(), c.cells.size()) << c.what;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            EXPECT_EQ(std::make_pair(cells[i].row, cells[i].col), c.cells[i]) << c.what;
            EXPECT_EQ(RedOf(cells[i].text), c.red[i]) << c.what;
        }
    }
    EXPECT_TRUE(PeptideSequenceCells(p, 0, 0).empty()) << "a peptide not found";
    EXPECT_TRUE(PeptideSequenceCells(p, 301, 305).empty());
}

TEST(SequenceReport, CoverageReportLinesAndBoldResidues) {
    CoverageReport r;
    r.reference = "sp|P1|ONE first";
    r.statics = QStringList{"Database:  db.fasta", "Number of Amino Acids:  60",
                            "Monoisotopic Mass:  6000.0"};
    r.sequence = Residues(60);
    r.peptides = {{"K.ABC.D", 300.25, 5.0, "2 - 4", 5.0}, {"EFG", 320.5, 5.3, "3 - 12", 16.67}};
    r.coveredMass = 1234.5;
    r.coveredMassPercent = 20.5;
    r.coveredResidues = 11;
    r.coveredResiduePercent = 18.33;
    const std::vector<ReportLine> lines = CoverageReportLines(r, kReportResiduesPortrait);
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(lines[0].text, "Reference: sp|P1|ONE first");
    EXPECT_EQ(lines[1].text, "Database:  db.fasta");
    EXPECT_EQ(lines[4].text, "");
    EXPECT_EQ(lines[5].text, "Protein:");
    ASSERT_TRUE(lines[6].residues);
    EXPECT_EQ(lines[6].text.size(), 50);
    EXPECT_EQ(lines[7].text.size(), 10);
    // Residues 2 to 12 lie inside a position of the table.
    for (int i = 0; i < 50; ++i) EXPECT_EQ(lines[6].bold[std::size_t(i)], i >= 1 && i <= 11) << i;
    EXPECT_EQ(lines[9].text, "Protein Coverage:");
    EXPECT_TRUE(lines[10].text.startsWith("Sequence"));
    EXPECT_TRUE(lines[11].text.startsWith("K.ABC.D"));
    EXPECT_TRUE(lines[11].text.contains("300.25"));
    EXPECT_TRUE(lines[11].text.contains("2 - 4"));
    EXPECT_TRUE(lines.back().text.startsWith("Totals:"));
    EXPECT_TRUE(lines.back().text.contains("1234.50"));
    EXPECT_TRUE(lines.back().text.contains(" 11 ")) << lines.back().text.toStdString();
    EXPECT_EQ(CoverageReportLines(r, kReportResiduesLandscape)[6].text.size(), 60);
}

TEST(SequenceReport, RetrieveReportBoldsThePeptidesFirstOccurrence) {
    RetrieveReport r;
    r.peptide = "KAK";
    r.reference = "sp|P2|TWO";
    r.statics = QStringList{"a", "b", "c", "Position of sequence:  2 - 4"};
    r.sequence = "MKAKGGKAK";
    const std::vector<ReportLine> lines = RetrieveReportLines(r, 50);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].text, "Peptide: KAK");
    EXPECT_EQ(lines[1].text, "Reference: sp|P2|TWO");
    EXPECT_EQ(lines[6].text, "Protein:");
    EXPECT_EQ(lines[7].bold,
              (std::vector<bool>{false, true, true, true, false, false, false, false, false}));
}

TEST(SequenceReport, PositionsGiveTheirResidues) {
    const std::vector<bool> in = ResiduesInPositions(10, {"2 - 3", "9 - 12", "junk", ""});
    EXPECT_EQ(
        in, (std::vector<bool>{false, true, true, false, false, false, false, false, true, true}));
}
