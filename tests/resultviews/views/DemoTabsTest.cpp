// Every tab of the results window on the demo data set, as a user takes it: a click on a hit's
// scan in the summary table opens the window, and each tab then shows that hit's content, for
// two hits of different proteins and again after a sort. Leaves screenshots of the tabs in the
// folder that ZAR_SCREENSHOT_DIR names.

#include "FormViewsTestSupport.h"

#include "ShowOutView.h"
#include "app/grids/DisplayGrids.h"
#include "controls/NumericEditCtrl.h"
#include "core/Numbers.h"
#include "document/TextHelpers.h"
#include "resultviews/views/BlastView.h"
#include "resultviews/views/ProteinView.h"
#include "resultviews/views/RetrieveView.h"
#include "resultviews/views/SearchInfoView.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "tools/demo/DemoWriter.h"

#include <QLineEdit>
#include <QMap>

using namespace zar;

namespace {

constexpr int kWait = zartest::kWorkWaitMs;

class DemoTabsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<QTemporaryDir>();
        QString error;
        written_ = WriteDemoFolder(dir_->filePath("demo"), MakeDemoRun(), false, error);
        // The database by header, as a user reads it.
        QFile fasta(dir_->filePath("demo/demo.fasta"));
        if (!fasta.open(QIODevice::ReadOnly)) written_ = false;
        QString header;
        for (const QByteArray& line : fasta.readAll().split('\n')) {
            if (line.startsWith('>')) {
                header = QString::fromLatin1(line.mid(1));
                database_.insert(header, QString());
            } else if (!header.isEmpty()) {
                database_[header] += QString::fromLatin1(line.trimmed());
            }
        }
    }
    static void TearDownTestSuite() { dir_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(written_);
        ASSERT_TRUE(p.serverRegistered);
        RegisterSpectrumViews();
        p.frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
        ASSERT_TRUE(p.LoadFolder(dir_->filePath("demo/results")));
        ASSERT_NE(p.Summary(), nullptr);
    }

    // The protein sequence whose header starts with the reference.
    static QString ProteinOf(const QString& reference) {
        for (auto it = database_.cbegin(); it != database_.cend(); ++it)
            if (it.key().startsWith(reference + QLatin1Char(' '))) return it.value();
        return QString();
    }
    // The first shown hit of rank 1 of a protein whose peptide has at least seven residues.
    HitNumber HitOf(const QString& reference) const {
        const CSorvexResults& set = p.Set();
        for (int row = 1; row <= p.Summary()->RowMapLength(); ++row) {
            const SearchHitRecord* hit = set.FindHit(p.Summary()->GetRowHit(row));
            if (hit && hit->reference == reference &&
                ExtractPeptideSequence(hit->peptide).size() >= 7)
                return hit->hitNumber();
        }
        return HitNumber();
    }
    // Clicks the summary table's cell of a hit, in a column.
    void ClickHit(HitNumber number, int col) {
        CSummaryGrid& grid = *p.Summary()->Grid();
        int row = 0;
        for (int r = 1; r <= p.Summary()->RowMapLength() && row == 0; ++r)
            if (p.Summary()->GetRowHit(r) == number) row = r;
        ASSERT_GT(row, 0);
        const QModelIndex index = grid.GetModel()->index(row - 1, col - 1);
        grid.scrollTo(index);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(index).center());
    }
    void Shoot(const QString& name) {
        const QString folder = qEnvironmentVariable("ZAR_SCREENSHOT_DIR");
        if (folder.isEmpty()) return;
        CResultsWindow* window = GetResultsWindow();
        window->resize(1000, 640);
        QTest::qWait(30);
        window->grab().save(folder + "/" + name + ".png");
    }
    // Every tab shows a hit: checked against the files and a hand count.
    void CheckTabs(HitNumber number, const QString& shots) {
        const SearchHitRecord hit = *p.Set().FindHit(number);
        const QString letters = ExtractPeptideSequence(hit.peptide);
        const QString protein = ProteinOf(hit.reference);
        ASSERT_FALSE(protein.isEmpty()) << hit.reference.toStdString();
        const QStringList nameParts = hit.fileInformation.trimmed().split(QLatin1Char('.'));
        ASSERT_GE(nameParts.size(), 4);

        ClickHit(number, 1);  // the scan: the search parameters
        CResultsWindow* window = GetResultsWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->ShownType(), 7);
        auto* info = p.ViewOf<CSearchInfoView>(7);
        ASSERT_TRUE(info->WaitUntilIdle(kWait));
        EXPECT_EQ(info->StaticText(8939), "Database:  demo.fasta");
        EXPECT_EQ(info->StaticText(8944), "Charge:  " + QString::number(nameParts[3].toInt()));
        EXPECT_EQ(info->FirstScan(), nameParts[1].toInt());
        EXPECT_TRUE(info->HasData());
        EXPECT_GT(info->Spectrum().peaks.size(), 3u);
        Shoot(shots + "-search");

        window->OnViewCommand(9316);
        auto* blast = p.ViewOf<CBlastView>(1);
        ASSERT_TRUE(blast->WaitUntilIdle(kWait));
        EXPECT_EQ(blast->Sequence(), letters);
        ASSERT_GE(blast->HitRows(), 1);
        bool own = false;
        for (int r = 1; r <= blast->HitRows(); ++r) {
            EXPECT_TRUE(blast->Grid()->GetValueRowCol(r, 2).contains(letters)) << r;
            own = own ||
                  blast->Grid()->GetValueRowCol(r, 1).startsWith(hit.reference + QLatin1Char(' '));
        }
        EXPECT_TRUE(own) << "the hit's own protein is among them";
        Shoot(shots + "-blast");

        window->OnViewCommand(9317);
        auto* retrieve = p.ViewOf<CRetrieveView>(2);
        ASSERT_TRUE(retrieve->WaitUntilIdle(kWait));
        EXPECT_TRUE(retrieve->ReferenceEdit()->text().startsWith(hit.reference + QLatin1Char(' ')));
        const int at = static_cast<int>(protein.indexOf(letters)) + 1;
        EXPECT_EQ(retrieve->PositionText(), QCFormat("Position of sequence:  %d - %d", at,
                                                     at + static_cast<int>(letters.size()) - 1));
        EXPECT_EQ(QString::fromStdString(retrieve->ProteinSequence()), protein);
        Shoot(shots + "-retrieve");

        window->OnViewCommand(9318);
        EXPECT_EQ(window->ShowOut()->Grid()->GetValueRowCol(1, 2), hit.peptide);
        Shoot(shots + "-showout");

        window->OnViewCommand(9321);
        auto* coverage = p.ViewOf<CProteinView>(6);
        ASSERT_TRUE(coverage->WaitUntilIdle(kWait));
        EXPECT_EQ(coverage->Reference(), hit.reference);
        const CProteinRecord& entry =
            *p.Set().GetProteins()[std::size_t(coverage->GetEntryIndex())];
        std::vector<bool> covered(std::size_t(protein.size()), false);
        for (const QString& peptide : entry.peptides) {
            const QString residues = ExtractPeptideSequence(peptide);
            const qsizetype from = protein.indexOf(residues);
            if (from < 0) continue;
            for (qsizetype i = from; i < from + residues.size(); ++i)
                covered[std::size_t(i)] = true;
        }
        const int count = static_cast<int>(std::count(covered.begin(), covered.end(), true));
        EXPECT_GT(count, static_cast<int>(letters.size()) - 1);
        EXPECT_DOUBLE_EQ(coverage->Total(2), count) << "covered residues by hand";
        EXPECT_NEAR(coverage->Total(3), count * 100.0 / protein.size(), 1e-9);
        EXPECT_EQ(coverage->AminoAcidsText(),
                  QCFormat("Number of Amino Acids:  %d", static_cast<int>(protein.size())));
        Shoot(shots + "-coverage");

        window->OnViewCommand(9320);
        Shoot(shots + "-ions");
        EXPECT_TRUE(p.boxes.texts().isEmpty()) << p.boxes.texts().join('|').toStdString();
    }

    static std::unique_ptr<QTemporaryDir> dir_;
    static bool written_;
    static QMap<QString, QString> database_;
    fvtest::Program p;
};

std::unique_ptr<QTemporaryDir> DemoTabsTest::dir_;
bool DemoTabsTest::written_ = false;
QMap<QString, QString> DemoTabsTest::database_;

}  // namespace

TEST_F(DemoTabsTest, EveryTabShowsTheClickedHitAlsoAfterASort) {
    const HitNumber albumin = HitOf("sp|P02769|ALBU_BOVIN");
    const HitNumber lysozyme = HitOf("sp|P00698|LYSC_CHICK");
    ASSERT_TRUE(albumin.isValid());
    ASSERT_TRUE(lysozyme.isValid());
    CheckTabs(albumin, "albumin");
    CheckTabs(lysozyme, "lysozyme");

    // Sorting moves the hits; a click still shows the hit of the clicked row.
    p.Summary()->SortByColumn(4);
    QCoreApplication::processEvents();
    ASSERT_NE(p.Set().FindHitPosition(albumin), albumin.recordIndex()) << "the sort moved it";
    CheckTabs(albumin, "albumin-sorted");
}
