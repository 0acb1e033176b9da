// The BLAST, retrieve and protein coverage views of the results window on the fixture folder of
// seven results and its "test.fasta": what each shows for a hit, their web look-ups and copies,
// requests that come while a look-up runs, the reading frame of nucleotide databases, printing.

#include "FormViewsTestSupport.h"

#include "app/grids/DisplayGrids.h"
#include "controls/NumericEditCtrl.h"
#include "databases/NucleotideTranslation.h"
#include "databases/SequenceMasses.h"
#include "document/TextHelpers.h"
#include "document/ZarMessages.h"
#include "grid/GridRichText.h"
#include "registry/RegKey.h"
#include "resultviews/SequenceReport.h"
#include "resultviews/views/BlastView.h"
#include "resultviews/views/ProteinView.h"
#include "resultviews/views/RetrieveView.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPdfWriter>
#include <QPrinter>
#include <QUrlQuery>

using namespace zar;
using fvtest::HitResult;

namespace {

constexpr int kLookupWait = zartest::kWorkWaitMs;
const char* const kProgramKey = "Software\\Korvath\\Veltrix\\ZarvikBrowser";

// Red letters of a rich-text cell.
QString RedOf(const QString& cell) {
    QString red;
    for (const RichTextRun& run : ParseRichText(cell).runs)
        if (run.color == QColor(255, 0, 0)) red += run.text;
    return red;
}

class LookupViewsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = p.CopySeven();
        ASSERT_FALSE(folder.isEmpty());
        ASSERT_TRUE(p.LoadFolder(folder));
        peptideHit = p.HitWithPeptide("K.PEPTIDEK.R");
        ASSERT_GE(peptideHit, 0);
    }
    // Shows view `type` for a hit and waits for its look-up.
    template <class View>
    View* ShowHit(int position, int type) {
        p.Show(HitResult(p.Set(), position, type));
        View* view = p.ViewOf<View>(type);
        EXPECT_NE(view, nullptr);
        if (view) {
            EXPECT_TRUE(view->WaitUntilIdle(kLookupWait));
        }
        return view;
    }
    // A setting of the program (the program's settings are the test's own).
    static void SetText(const char* name, const QString& value) {
        RegKey(RegRoot::LocalMachine, QString::fromLatin1(kProgramKey), true)
            .writeString(QString::fromLatin1(name), value);
    }

    fvtest::Program p;
    QString folder;
    int peptideHit = -1;
};

}  // namespace

TEST_F(LookupViewsTest, BlastViewListsTheProteinsThatHoldThePeptide) {
    auto* view = ShowHit<CBlastView>(peptideHit, 1);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(GetResultsWindow()->ShownType(), 1);
    EXPECT_EQ(view->Sequence(), "PEPTIDEK") << "the letters between the flanking residues";
    EXPECT_EQ(view->Reference(), "sp|P00001|PROA_TEST");
    EXPECT_EQ(view->DatabaseText(), "Database: test.fasta");
    CBlastGrid& grid = *view->Grid();
    ASSERT_EQ(view->HitRows(), 1);
    EXPECT_EQ(grid.GetValueRowCol(0, 1), "Reference");
    EXPECT_EQ(grid.GetColWidth(2), 424);
    EXPECT_EQ(grid.GetValueRowCol(1, 1), "sp|P00001|PROA_TEST Protein A");
    EXPECT_EQ(grid.GetValueRowCol(1, 2), "MKPEPTIDEKRAAAAGGGGW");
    EXPECT_EQ(grid.GetValueRowCol(1, 4), "3 - 10");
    EXPECT_GT(grid.GetModel()->GetNumber(1, 3), 2000.0);
    EXPECT_TRUE(grid.GetValueRowCol(2, 1).isEmpty());
    EXPECT_EQ(grid.GetRowCount(), CBlastView::kMinRows);
    EXPECT_EQ(view->StatusDialog(), nullptr) << "the look-up's end deleted its dialog";
    EXPECT_FALSE(view->IsSearching());
    EXPECT_TRUE(p.boxes.texts().isEmpty()) << p.boxes.texts().join('|').toStdString();
}

TEST_F(LookupViewsTest, WebLookUpsAreEncodedAndOnlyForTheWeb) {
    zartest::ShellOpenCapture browser;
    SelectedResult odd = HitResult(p.Set(), peptideHit, 1);
    odd.peptide = "PEP&TIDE+X Y";
    odd.reference = "sp|P1|A B&C#";
    auto* view = p.ViewOf<CBlastView>(1);
    p.Show(odd);
    view = p.ViewOf<CBlastView>(1);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->WaitUntilIdle(kLookupWait));
    view->OnNcbiBlast();
    view->OnSwissProtAccession();
    view->OnSwissProtDescription();
    view->OnSwissProtFullText();
    ASSERT_EQ(browser.urls().size(), 4);
    EXPECT_EQ(QUrlQuery(browser.urls()[0]).queryItemValue("SEQUENCE", QUrl::FullyDecoded),
              "PEP&TIDE+X Y");
    EXPECT_TRUE(browser.urls()[0]
                    .toString(QUrl::FullyEncoded)
                    .contains("SEQUENCE=PEP%26TIDE%2BX%20Y&PROGRAM=blastp"));
    EXPECT_TRUE(browser.urls()[1]
                    .toString(QUrl::FullyEncoded)
                    .endsWith("/sprot-search-ac?sp%7CP1%7CA%20B%26C%23"));
    EXPECT_TRUE(browser.urls()[2].path().endsWith("/sprot-search-de"));
    EXPECT_TRUE(browser.urls()[3].path().endsWith("/sprot-search-ful"));

    // An address setting that is no web address is refused with a message.
    p.boxes.clear();
    SetText("NCBIBlastURL", "javascript:alert(1)");
    SetText("SwissProtURL", "file:///etc");
    view->OnNcbiBlast();
    view->OnSwissProtAccession();
    EXPECT_EQ(browser.urls().size(), 4);
    EXPECT_EQ(p.boxes.shown().size(), 2u);
}

TEST_F(LookupViewsTest, ContextMenuHoldsTheLookUpsAndTheCopy) {
    auto* view = ShowHit<CBlastView>(peptideHit, 1);
    ASSERT_NE(view, nullptr);
    QMenu menu;
    view->FillContextMenu(menu);
    QStringList texts;
    std::function<void(QMenu*)> walk = [&](QMenu* m) {
        for (QAction* a : m->actions()) {
            if (a->menu()) {
                texts << a->text();
                walk(a->menu());
            } else if (!a->isSeparator()) {
                texts << a->text();
            }
        }
    };
    walk(&menu);
    EXPECT_EQ(texts, (QStringList{"&Export", "&Sequence (to Clipboard)", "&Searches", "&NCBI Blast",
                                  "Swiss-Prot Using &Accession", "Swiss-Prot Using &Description/ID",
                                  "Swiss-Prot Using &Full text", "&Print...\tCtrl+P"}));
    EXPECT_FALSE(view->IsCommandEnabled(CLookupFormView::kCmdExportSequence))
        << "no row pressed yet";
    EXPECT_TRUE(view->IsCommandEnabled(CLookupFormView::kCmdNcbiBlast));
}

// The copy takes the sequence of the row last pressed (not an empty text).
TEST_F(LookupViewsTest, SequenceCopyTakesThePressedRow) {
    auto* view = ShowHit<CBlastView>(peptideHit, 1);
    ASSERT_NE(view, nullptr);
    QGuiApplication::clipboard()->setText("before");
    view->OnExportSequence();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before")
        << "nothing pressed: the clipboard stays";
    CBlastGrid& grid = *view->Grid();
    view->show();
    GetResultsWindow()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(GetResultsWindow()));
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.GetModel()->index(0, 0)).center());
    view->OnExportSequence();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "MKPEPTIDEKRAAAAGGGGW");
}

TEST_F(LookupViewsTest, NoReferenceAndNoPeptideStartNoLookUp) {
    SelectedResult none;
    none.kind = 1;
    none.viewType = 1;
    none.hit = HitNumber(p.Set().GetHitCount() + 1);  // no such hit
    p.Show(none);
    auto* view = p.ViewOf<CBlastView>(1);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->StatusDialog(), nullptr);
    EXPECT_FALSE(view->IsSearching());
    EXPECT_EQ(view->HitRows(), 0);
}

// A request while a look-up runs is kept and runs once the running one has ended: the view
// ends up showing the newest request (never a stored dialog that blocks every later look-up).
TEST_F(LookupViewsTest, ARequestWhileALookUpRunsRunsAfterIt) {
    const int other = p.HitWithPeptide("K.FFFFHHHK.R");
    ASSERT_GE(other, 0);
    p.Show(HitResult(p.Set(), peptideHit, 1));
    auto* view = p.ViewOf<CBlastView>(1);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->StatusDialog(), nullptr) << "the first look-up runs";
    p.Show(HitResult(p.Set(), other, 1));
    EXPECT_TRUE(view->HasPendingRequest());
    EXPECT_EQ(view->Sequence(), "PEPTIDEK") << "nothing changes while the first runs";
    SelectedResult again = HitResult(p.Set(), peptideHit, 1);
    again.peptide = "K.AAAAGGGGW.-";
    p.Show(again);  // the newest request wins
    ASSERT_TRUE(view->WaitUntilIdle(kLookupWait));
    EXPECT_EQ(view->Sequence(), "AAAAGGGGW");
    ASSERT_EQ(view->HitRows(), 1);
    EXPECT_EQ(view->Grid()->GetValueRowCol(1, 4), "12 - 20");
    // And later look-ups still run.
    ShowHit<CBlastView>(other, 1);
    EXPECT_EQ(view->Sequence(), "FFFFHHHK");
    EXPECT_EQ(view->HitRows(), 0);
}

TEST_F(LookupViewsTest, RetrieveViewShowsTheProteinWithThePeptideInRed) {
    auto* view = ShowHit<CRetrieveView>(peptideHit, 2);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Reference(), "sp|P00001|PROA_TEST")
        << "the hit's reference: the result names none";
    EXPECT_EQ(view->SequenceEdit()->text(), "PEPTIDEK");
    EXPECT_EQ(view->ReferenceEdit()->text(), "sp|P00001|PROA_TEST Protein A");
    EXPECT_EQ(view->DatabaseText(), "Database:  test.fasta");
    EXPECT_EQ(view->AminoAcidsText(), "Number of Amino Acids:  20");
    EXPECT_TRUE(view->ProteinMassText().startsWith("Monoisotopic Mass:  "));
    EXPECT_EQ(view->PositionText(), "Position of sequence:  3 - 10");
    CSequenceGrid& grid = *view->SequenceGrid();
    EXPECT_EQ(grid.GetValueRowCol(0, 1), "1-10");
    EXPECT_EQ(grid.GetRowCount(), CRetrieveView::kInitialRows);
    EXPECT_EQ(grid.GetDisplayTextRowCol(1, 1), "MKPEPTIDEK");
    EXPECT_EQ(RedOf(grid.GetValueRowCol(1, 1)), "PEPTIDEK");
    EXPECT_EQ(grid.GetDisplayTextRowCol(1, 2), "RAAAAGGGGW");
    EXPECT_EQ(RedOf(grid.GetValueRowCol(1, 2)), "");
    EXPECT_TRUE(grid.GetValueRowCol(1, 3).isEmpty());
    EXPECT_EQ(view->ProteinSequence(), "MKPEPTIDEKRAAAAGGGGW");

    // The look-ups send the peptide and the reference; the copy the protein.
    zartest::ShellOpenCapture browser;
    view->OnNcbiBlast();
    view->OnSwissProtFullText();
    ASSERT_EQ(browser.urls().size(), 2);
    EXPECT_EQ(QUrlQuery(browser.urls()[0]).queryItemValue("SEQUENCE"), "PEPTIDEK");
    EXPECT_EQ(browser.urls()[1].query(QUrl::FullyDecoded), "sp|P00001|PROA_TEST");
    view->OnExportSequence();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "MKPEPTIDEKRAAAAGGGGW");
}

TEST_F(LookupViewsTest, RetrieveViewSaysWhenTheReferenceIsNotInTheDatabase) {
    const int gggg = p.HitWithPeptide("R.GGGGK.A");  // its reference sp|P00002|xABCy names no entry
    ASSERT_GE(gggg, 0);
    auto* view = ShowHit<CRetrieveView>(gggg, 2);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(p.boxes.texts(), QStringList{"No match found in the database"});
    EXPECT_EQ(view->ReferenceEdit()->text(), "sp|P00002|xABCy");
    EXPECT_EQ(view->PositionText(), "Position of sequence:  ");
    EXPECT_TRUE(view->SequenceGrid()->GetValueRowCol(1, 1).isEmpty());
}

TEST_F(LookupViewsTest, CoverageViewFollowsTheHitsProteinAndMatchesAHandCount) {
    auto* view = ShowHit<CProteinView>(peptideHit, 6);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Reference(), "sp|P00001|PROA_TEST");
    EXPECT_EQ(view->ReferenceEdit()->text(), "sp|P00001|PROA_TEST Protein A");
    const CProteinRecord& protein = *p.Set().GetProteins()[std::size_t(view->GetEntryIndex())];
    EXPECT_EQ(protein.reference, "sp|P00001|PROA_TEST");
    // By hand: of the entry's peptides only those in MKPEPTIDEKRAAAAGGGGW cover residues.
    const std::string sequence = "MKPEPTIDEKRAAAAGGGGW";
    std::vector<bool> covered(sequence.size(), false);
    int found = 0;
    for (const QString& peptide : protein.peptides) {
        const std::size_t at = sequence.find(ExtractPeptideSequence(peptide).toStdString());
        if (at == std::string::npos) continue;
        ++found;
        for (std::size_t i = at; i < at + std::size_t(ExtractPeptideSequence(peptide).size()); ++i)
            covered[i] = true;
    }
    const int count = static_cast<int>(std::count(covered.begin(), covered.end(), true));
    ASSERT_GT(count, 0);
    EXPECT_DOUBLE_EQ(view->Total(2), count);
    EXPECT_DOUBLE_EQ(view->Total(3), count * 100.0 / 20);
    EXPECT_EQ(view->TotalsEdit(2)->text(), QString::number(count));
    int rows = 0;
    for (int r = 1; r <= view->PeptideGrid()->GetRowCount(); ++r)
        rows += !view->PeptideGrid()->GetValueRowCol(r, 1).isEmpty();
    EXPECT_EQ(rows, found);
    EXPECT_EQ(view->PeptideGrid()->GetValueRowCol(0, 3), "% by Mass");
    EXPECT_EQ(view->PeptideGrid()->GetValueRowCol(1, 4), "3 - 10");
    EXPECT_EQ(view->PeptideGrid()->GetDisplayTextRowCol(1, 5), "40.00");
    QString red;
    for (int c = 1; c <= 2; ++c) red += RedOf(view->SequenceGrid()->GetValueRowCol(1, c));
    QString expected;
    for (std::size_t i = 0; i < sequence.size(); ++i)
        if (covered[i]) expected += QLatin1Char(sequence[i]);
    EXPECT_EQ(red, expected);

    // BLAST sends the entry's first peptide, Swiss-Prot its reference.
    zartest::ShellOpenCapture browser;
    view->OnNcbiBlast();
    view->OnSwissProtAccession();
    ASSERT_EQ(browser.urls().size(), 2);
    EXPECT_EQ(QUrlQuery(browser.urls()[0]).queryItemValue("SEQUENCE"),
              ExtractPeptideSequence(protein.peptides.front()));
    EXPECT_EQ(browser.urls()[1].query(QUrl::FullyDecoded), "sp|P00001|PROA_TEST");

    // A protein row of the consensus table names the entry itself.
    SelectedResult entry;
    entry.kind = 1;
    entry.viewType = 6;
    entry.entryIndex = view->GetEntryIndex() == 0 ? 1 : 0;
    p.Show(entry);
    ASSERT_TRUE(view->WaitUntilIdle(kLookupWait));
    EXPECT_EQ(view->Reference(), p.Set().GetProteins()[std::size_t(entry.entryIndex)]->reference);
}

TEST_F(LookupViewsTest, ReportsPrint) {
    auto* coverage = ShowHit<CProteinView>(peptideHit, 6);
    ASSERT_NE(coverage, nullptr);
    const std::vector<ReportLine> lines = coverage->ReportLines(kReportResiduesPortrait);
    ASSERT_GT(lines.size(), 8u);
    EXPECT_EQ(lines[0].text, "Reference: sp|P00001|PROA_TEST Protein A");
    EXPECT_EQ(lines[1].text, "Database:  test.fasta");
    EXPECT_EQ(lines[6].text, "MKPEPTIDEKRAAAAGGGGW");
    EXPECT_TRUE(lines[6].bold[2] && lines[6].bold[9] && !lines[6].bold[10]);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(p.dir.filePath("coverage.pdf"));
    EXPECT_EQ(coverage->PrintReport(printer), 1);
    EXPECT_GT(QFileInfo(p.dir.filePath("coverage.pdf")).size(), 1000);

    auto* retrieve = ShowHit<CRetrieveView>(peptideHit, 2);
    ASSERT_NE(retrieve, nullptr);
    const std::vector<ReportLine> r = retrieve->ReportLines(kReportResiduesLandscape);
    ASSERT_EQ(r.size(), 8u);
    EXPECT_EQ(r[0].text, "Peptide: PEPTIDEK");
    EXPECT_EQ(r[5].text, "Position of sequence:  3 - 10");
    printer.setOutputFileName(p.dir.filePath("retrieve.pdf"));
    EXPECT_EQ(retrieve->PrintReport(printer), 1);
}

// A nucleotide database: the look-ups translate it in the window's reading frame, and choosing
// another frame in the tool bar runs the shown view's look-up again.
TEST_F(LookupViewsTest, ReadingFrameOfANucleotideDatabase) {
    // PEPTIDEK coded on the forward strand, after one extra base.
    const std::string dna =
        "G"
        "CCTGAACCTACTATTGATGAAAAA"
        "TAA";
    QDir(p.dir.path()).mkpath("dna");
    {
        QFile out(p.dir.filePath("dna/dna.fasta"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(">dna1 coding strand\n") + QByteArray::fromStdString(dna) + "\n");
        QFile in(folder + "/run.0100.0100.1.out");
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        QByteArray text = in.readAll();
        text.replace(" # amino acids", " # bases");
        text.replace("test.fasta", "dna.fasta");
        QFile copy(p.dir.filePath("dna/run.0100.0100.1.out"));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write(text);
    }
    ASSERT_TRUE(p.LoadFolder(p.dir.filePath("dna")));
    ASSERT_EQ(p.Set().Parameters().nucleotide, 1);
    std::array<int, 7> expected{};
    for (int frame = 1; frame <= 6; ++frame)
        expected[std::size_t(frame)] = FindPeptide(TranslateFrame(dna, frame), "PEPTIDEK") ? 1 : 0;
    ASSERT_GT(std::count(expected.begin(), expected.end(), 1), 0);
    ASSERT_GT(std::count(expected.begin() + 1, expected.end(), 0), 0);

    auto* view = ShowHit<CBlastView>(0, 1);
    ASSERT_NE(view, nullptr);
    CResultsWindow* window = GetResultsWindow();
    EXPECT_TRUE(window->ReadingFrameCombo()->isEnabled())
        << "the look-up reported a nucleotide database";
    EXPECT_EQ(view->HitRows(), expected[1]);
    for (int frame = 1; frame <= 6; ++frame) {
        window->OnReadingFrameChanged(frame - 1);
        ASSERT_TRUE(view->WaitUntilIdle(kLookupWait));
        EXPECT_EQ(view->HitRows(), expected[std::size_t(frame)]) << "frame " << frame;
    }
}

// Closing the program while a look-up runs stops the look-up; nothing is left running.
TEST_F(LookupViewsTest, ClosingWhileALookUpRunsStopsIt) {
    QByteArray bytes;
    for (int i = 0; i < 200000; ++i) bytes += ">e\nAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA\n";
    QFile big(folder + "/test.fasta");
    ASSERT_TRUE(big.open(QIODevice::Append));
    big.write(bytes);
    big.close();
    p.Show(HitResult(p.Set(), peptideHit, 1));
    auto* view = p.ViewOf<CBlastView>(1);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->StatusDialog(), nullptr);
    EXPECT_TRUE(view->StatusDialog()->IsBusy() || view->IsSearching());
    p.frame.reset();  // the results window and its views go; the look-up is stopped and joined
    QCoreApplication::processEvents();
    SUCCEED();
}

// A click on a row of the BLAST grid retrieves that protein for the same hit.
TEST_F(LookupViewsTest, ClickingABlastRowRetrievesThatProtein) {
    SelectedResult result = HitResult(p.Set(), peptideHit, 1);
    result.peptide = "K.GGGG.-";  // in two proteins of the database
    p.Show(result);
    auto* blast = p.ViewOf<CBlastView>(1);
    ASSERT_NE(blast, nullptr);
    ASSERT_TRUE(blast->WaitUntilIdle(kLookupWait));
    ASSERT_EQ(blast->HitRows(), 2);
    CResultsWindow* window = GetResultsWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    CBlastGrid& grid = *blast->Grid();
    EXPECT_EQ(blast->GetShownHit(), p.Set().GetHit(peptideHit)->hitNumber());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.GetModel()->index(1, 0)).center());
    EXPECT_EQ(window->ShownType(), 2);
    auto* retrieve = p.ViewOf<CRetrieveView>(2);
    ASSERT_TRUE(retrieve->WaitUntilIdle(kLookupWait));
    EXPECT_EQ(retrieve->Reference(), grid.GetValueRowCol(2, 1));
    EXPECT_EQ(retrieve->ReferenceEdit()->text(), grid.GetValueRowCol(2, 1));
    EXPECT_EQ(retrieve->Peptide(), "PEPTIDEK") << "the hit's own peptide";
    const QString shots = qEnvironmentVariable("ZAR_SCREENSHOT_DIR");
    if (!shots.isEmpty()) window->grab().save(shots + "/seven-retrieve-from-blast.png");
}
