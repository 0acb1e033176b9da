// The database look-ups of the results window name their hit, wherever a sort moved it and
// whichever search of several it came from: BLAST, Retrieve and Coverage on the demo data set,
// after a sort of the summary, for a protein row, and for hits of File > Open Multiple Results.

#include "FormViewsTestSupport.h"

#include "core/Numbers.h"
#include "document/TextHelpers.h"
#include "resultviews/views/BlastView.h"
#include "resultviews/views/ProteinView.h"
#include "resultviews/views/RetrieveView.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

using namespace zar;

namespace {

constexpr int kWait = 120000;

// The protein sequence of a demo database entry, by its reference.
QString ProteinOfDemo(const QString& reference) {
    QFile fasta(rvtest::Demo().folder + "/demo.fasta");
    if (!fasta.open(QIODevice::ReadOnly)) return QString();
    QString sequence;
    bool inside = false;
    for (const QByteArray& line : fasta.readAll().split('\n')) {
        if (line.startsWith('>')) {
            if (inside) break;
            inside = QString::fromLatin1(line.mid(1)).startsWith(reference + QLatin1Char(' '));
        } else if (inside) {
            sequence += QString::fromLatin1(line.trimmed());
        }
    }
    return sequence;
}

void ClickCell(CGXGridWnd& grid, int row, int col) {
    const QModelIndex index = grid.GetModel()->index(row - 1, col - 1);
    grid.scrollTo(index);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(index).center());
}

// The BLAST rows hold the peptide, one of them in the protein of the reference; that row's
// number (0 when none).
int RowOfProtein(const CBlastView& blast, const QString& letters, const QString& reference) {
    int own = 0;
    for (int r = 1; r <= blast.HitRows(); ++r) {
        EXPECT_TRUE(blast.Grid()->GetValueRowCol(r, 2).contains(letters)) << r;
        if (own == 0 && blast.Grid()->GetValueRowCol(r, 1).startsWith(reference + QLatin1Char(' ')))
            own = r;
    }
    return own;
}

// The retrieve page shows the protein of the reference with the peptide's place in it.
void ExpectRetrieved(const CRetrieveView& retrieve, const QString& reference,
                     const QString& letters) {
    const QString protein = ProteinOfDemo(reference);
    ASSERT_FALSE(protein.isEmpty()) << reference.toStdString();
    EXPECT_TRUE(retrieve.ReferenceEdit()->text().startsWith(reference + QLatin1Char(' ')));
    EXPECT_EQ(QString::fromStdString(retrieve.ProteinSequence()), protein);
    const int at = static_cast<int>(protein.indexOf(letters)) + 1;
    EXPECT_EQ(retrieve.PositionText(), QCFormat("Position of sequence:  %d - %d", at,
                                                at + static_cast<int>(letters.size()) - 1));
}

}  // namespace

// Sorted by XCorr, the top row's hit stands at position 0 while its hit number is another; the
// search's first file matched nothing, as many spectra of a real run do.
TEST(HitLookupTest, TheTopRowAfterASortByXCorrLooksUpItsOwnHit) {
    fvtest::Program p;
    const QString demo = rvtest::Demo().folder;
    ASSERT_FALSE(demo.isEmpty()) << rvtest::Demo().failure.toStdString();
    const QString folder = demo + "/results-sorted";  // beside results/: "../demo.fasta" holds
    ASSERT_TRUE(rvtest::CopyFolder(demo + "/results", folder));
    QStringList outs = QDir(folder).entryList({"*.out"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(outs.isEmpty());
    QFile first(folder + "/" + outs.first());
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    // Its header up to the column titles, and no hit line.
    QByteArray empty;
    for (const QByteArray& line : first.readAll().split('\n')) {
        empty += line + '\n';
        if (line.startsWith(" ---")) break;
    }
    empty.replace(outs.first().toLatin1(), "demo.0001.0001.2.out");
    QFile none(folder + "/demo.0001.0001.2.out");
    ASSERT_TRUE(none.open(QIODevice::WriteOnly));
    none.write(empty + "\n");
    none.close();

    p.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
    ASSERT_TRUE(p.LoadFolder(folder));
    ASSERT_NE(p.Summary(), nullptr);
    ASSERT_TRUE(p.Set().FindHit(HitNumber(1))->peptide.isEmpty()) << "hit 1 matched nothing";
    p.Summary()->SortByColumn(7);  // XCorr
    QCoreApplication::processEvents();
    const HitNumber top = p.Summary()->GetRowHit(1);
    ASSERT_TRUE(top.isValid());
    ASSERT_EQ(p.Set().FindHitPosition(top), 0);
    ASSERT_NE(top, HitNumber(1));
    const SearchHitRecord hit = *p.Set().FindHit(top);
    const QString letters = ExtractPeptideSequence(hit.peptide);

    // The Count cell when the hit has further references, else the scan and the BLAST tab.
    CSummaryGrid& grid = *p.Summary()->Grid();
    const bool count = !grid.GetValueRowCol(1, 12).isEmpty();
    ClickCell(grid, 1, count ? 12 : 1);
    CResultsWindow* window = GetResultsWindow();
    ASSERT_NE(window, nullptr);
    if (!count) window->OnViewCommand(9316);
    auto* blast = p.ViewOf<CBlastView>(1);
    ASSERT_NE(blast, nullptr);
    ASSERT_TRUE(blast->WaitUntilIdle(kWait));
    EXPECT_EQ(blast->GetShownHit(), top);
    EXPECT_EQ(blast->Sequence(), letters);
    EXPECT_EQ(blast->DatabaseText(), "Database: " + hit.databaseFile);
    ASSERT_GE(blast->HitRows(), 1);
    const int own = RowOfProtein(*blast, letters, hit.reference);
    ASSERT_GT(own, 0) << "the hit's own protein is among them";

    // A click on that row retrieves the protein for the same hit.
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ClickCell(*blast->Grid(), own, 1);
    EXPECT_EQ(window->ShownType(), 2);
    auto* retrieve = p.ViewOf<CRetrieveView>(2);
    ASSERT_TRUE(retrieve->WaitUntilIdle(kWait));
    EXPECT_EQ(retrieve->Peptide(), letters);
    ExpectRetrieved(*retrieve, hit.reference, letters);

    // And the Retrieve tab for the summary's row.
    window->OnViewCommand(9317);
    ASSERT_TRUE(retrieve->WaitUntilIdle(kWait));
    ExpectRetrieved(*retrieve, hit.reference, letters);
    EXPECT_TRUE(p.boxes.texts().isEmpty()) << p.boxes.texts().join('|').toStdString();
}

namespace {

struct MultiProgram : fvtest::Program {
    bool Open() {
        const QString demo = rvtest::Demo().folder;
        return !demo.isEmpty() && LoadMultiple({demo + "/results", demo + "/results2"});
    }
};

}  // namespace

// File > Open Multiple Results combines two searches and has no results folder of its own: each
// hit is looked up in the database its own search names.
TEST(HitLookupTest, HitsOfSeveralSearchesLookUpTheirOwnSearchsDatabase) {
    MultiProgram p;
    ASSERT_TRUE(p.Open()) << rvtest::Demo().failure.toStdString();
    const CMultiConsensusResults& set = p.MultiSet();
    for (const char* search : {"/results2/", "/results/"}) {
        SCOPED_TRACE(search);
        const SearchHitRecord* hit = nullptr;
        for (int i = 0; i < set.GetHitCount() && !hit; ++i) {
            const SearchHitRecord* h = set.GetHit(i);
            if (h->path.contains(QLatin1String(search)) && !h->reference.isEmpty() &&
                ExtractPeptideSequence(h->peptide).size() >= 7 && !ProteinOfDemo(h->reference).isEmpty())
                hit = h;
        }
        ASSERT_NE(hit, nullptr);
        const QString letters = ExtractPeptideSequence(hit->peptide);
        SelectedResult result;
        result.kind = kResultKindMultiConsensus;
        result.viewType = 1;
        result.hit = hit->hitNumber();
        result.peptide = hit->peptide;
        CResultsWindow* window = p.Show(result);
        ASSERT_NE(window, nullptr);

        auto* blast = p.ViewOf<CBlastView>(1);
        ASSERT_TRUE(blast->WaitUntilIdle(kWait));
        ASSERT_GE(blast->HitRows(), 1);
        EXPECT_GT(RowOfProtein(*blast, letters, hit->reference), 0);

        window->OnViewCommand(9317);
        auto* retrieve = p.ViewOf<CRetrieveView>(2);
        ASSERT_TRUE(retrieve->WaitUntilIdle(kWait));
        ExpectRetrieved(*retrieve, hit->reference, letters);

        window->OnViewCommand(9321);
        auto* coverage = p.ViewOf<CProteinView>(6);
        ASSERT_TRUE(coverage->WaitUntilIdle(kWait));
        EXPECT_EQ(coverage->Reference(), hit->reference);
        EXPECT_GE(coverage->Total(2), static_cast<double>(letters.size())) << "covered residues";
        EXPECT_GT(coverage->Total(3), 0.0);
    }
    EXPECT_TRUE(p.boxes.texts().isEmpty()) << p.boxes.texts().join('|').toStdString();
}

// Where the database named by a hit's search is nowhere, the look-up says so.
TEST(HitLookupTest, AHitWhoseDatabaseIsNowhereSaysSo) {
    MultiProgram p;
    ASSERT_TRUE(p.Open()) << rvtest::Demo().failure.toStdString();
    const SearchHitRecord* hit = p.MultiSet().GetHit(0);
    ASSERT_NE(hit, nullptr);
    const QString moved = rvtest::Demo().folder + "/demo.fasta.away";
    ASSERT_TRUE(QFile::rename(rvtest::Demo().folder + "/demo.fasta", moved));
    SelectedResult result;
    result.kind = kResultKindMultiConsensus;
    result.viewType = 1;
    result.hit = hit->hitNumber();
    result.peptide = hit->peptide;
    p.Show(result);
    auto* blast = p.ViewOf<CBlastView>(1);
    const bool idle = blast->WaitUntilIdle(kWait);
    QFile::rename(moved, rvtest::Demo().folder + "/demo.fasta");
    ASSERT_TRUE(idle);
    EXPECT_EQ(blast->HitRows(), 0);
    EXPECT_EQ(p.boxes.texts(), QStringList{"Unable to open the database"});
}

// A protein row names no hit: the BLAST tab searches a peptide of that protein (the one the hit
// serving the protein's look-ups gave it), not the peptide of hit 1.
TEST(HitLookupTest, TheBlastTabOfAProteinRowSearchesThatProteinsPeptide) {
    MultiProgram p;
    ASSERT_TRUE(p.Open()) << rvtest::Demo().failure.toStdString();
    const CMultiConsensusResults& set = p.MultiSet();
    const QString firstHit = ExtractPeptideSequence(set.FindHit(HitNumber(1))->peptide);
    // A protein row whose protein does not hold hit 1's peptide.
    CMassmapGrid& grid = *p.Multi()->Grid();
    int row = 0;
    int protein = -1;
    for (int r = 2; r < 2 + p.Multi()->RowEntryCount() && row == 0; ++r) {
        ConsensusRowEntry entry;
        if (!p.Multi()->GetRowInfo(r, entry) || entry.kind != ConsensusRowEntry::kProteinRow)
            continue;
        const CProteinRecord& candidate = *set.GetProteins()[std::size_t(entry.protein)];
        if (!candidate.peptides.contains(firstHit) &&
            !ProteinOfDemo(candidate.reference).isEmpty()) {
            row = r;
            protein = entry.protein;
        }
    }
    ASSERT_GT(row, 0);
    const CProteinRecord& chosen = *set.GetProteins()[std::size_t(protein)];
    p.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
    ClickCell(grid, row, 1);  // the protein's coverage
    CResultsWindow* window = GetResultsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ShownType(), 6);
    ASSERT_TRUE(p.ViewOf<CProteinView>(6)->WaitUntilIdle(kWait));

    window->OnViewCommand(9316);
    auto* blast = p.ViewOf<CBlastView>(1);
    ASSERT_TRUE(blast->WaitUntilIdle(kWait));
    EXPECT_NE(blast->Sequence(), firstHit);
    EXPECT_TRUE(chosen.peptides.contains(blast->Sequence())) << blast->Sequence().toStdString();
    EXPECT_EQ(blast->Reference(), chosen.reference);
    ASSERT_GE(blast->HitRows(), 1);
    EXPECT_GT(RowOfProtein(*blast, blast->Sequence(), chosen.reference), 0);

    window->OnViewCommand(9317);
    auto* retrieve = p.ViewOf<CRetrieveView>(2);
    ASSERT_TRUE(retrieve->WaitUntilIdle(kWait));
    ExpectRetrieved(*retrieve, chosen.reference, blast->Sequence());
    EXPECT_TRUE(p.boxes.texts().isEmpty()) << p.boxes.texts().join('|').toStdString();
}
