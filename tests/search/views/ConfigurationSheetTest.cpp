// Options > Configuration: the "Configuration Settings" sheet and its three pages.

#include "search/views/RegisterConfiguration.h"
#include "search/views/SettingsPropertySheet.h"
#include "search/views/SorvexDirectoryPage.h"
#include "search/views/SorvexInternetPage.h"
#include "search/views/SorvexResultsPage.h"

#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "app/grids/BlastLookup.h"
#include "ZarDoc.h"
#include "controls/NumericEditCtrl.h"
#include "document/Settings.h"

#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <functional>

using namespace zar;

namespace {

class ConfigurationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetSorvexResultsDirectory(QStringLiteral("C:\\Veltrix\\old-sorvex"));
        SetNCBIBlastURL(QStringLiteral("https://old.example.org/blast/blast.cgi"));
        SetSwissProtURL(QStringLiteral("https://old.example.org/cgi-bin"));
        SetSummaryDisplayMode(0);
        SetConsensusDisplayMode(0);
        SetConsensusDisplayEntries(10);
        SetXpressResidue(QStringLiteral("C"));
        SetXpressTolerance(1.5);
        SetXpressAutoCalculate(0);
    }
    // Runs the sheet modally; `act` runs once it shows, and ends it.
    int runSheet(CSettingsPropertySheet& sheet, const std::function<void()>& act) {
        QTimer::singleShot(0, &sheet, act);
        return sheet.DoModal();
    }
    static QTabWidget* tabs(CSettingsPropertySheet& sheet) { return sheet.findChild<QTabWidget*>(); }
    static void press(CSettingsPropertySheet& sheet, QDialogButtonBox::StandardButton which) {
        sheet.findChild<QDialogButtonBox*>()->button(which)->click();
    }

    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
    CZarDoc doc_;
};

}  // namespace

TEST_F(ConfigurationTest, ThreePagesInTheirTabOrder) {
    CSettingsPropertySheet sheet(QStringLiteral("Configuration Settings"), nullptr, 0);
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Configuration Settings"));
    ASSERT_EQ(sheet.GetPageCount(), 3);
    EXPECT_EQ(sheet.GetPage(0)->windowTitle(), QStringLiteral("Zarvik Browser Directories"));
    EXPECT_EQ(sheet.GetPage(1)->windowTitle(), QStringLiteral("TurboSORVEX Results"));
    EXPECT_EQ(sheet.GetPage(2)->windowTitle(), QStringLiteral("Internet URL's"));
    EXPECT_EQ(sheet.GetPage(0)->TemplateId(), 8921);
    EXPECT_EQ(sheet.GetPage(1)->TemplateId(), 9045);
    EXPECT_EQ(sheet.GetPage(2)->TemplateId(), 8922);
}

TEST_F(ConfigurationTest, EachPageAsTheUserSeesIt) {
    CSettingsPropertySheet sheet(QStringLiteral("Configuration Settings"), nullptr, 0);
    runSheet(sheet, [&] {
        for (int i = 0; i < 3; ++i) {
            tabs(sheet)->setCurrentIndex(i);
            QApplication::processEvents();
            sheet.grab().save(QStringLiteral("/tmp/i23-configuration-%1.png").arg(i));
        }
        press(sheet, QDialogButtonBox::Cancel);
    });
    EXPECT_TRUE(sheet.WasOpened(sheet.InternetPage()));
}

TEST_F(ConfigurationTest, OkAfterOnlyTheFirstTabWritesOnlyTheFolders) {
    CSettingsPropertySheet sheet(QStringLiteral("Configuration Settings"), nullptr, 0);
    const int result = runSheet(sheet, [&] {
        sheet.DirectoryPage()->Edit(CSorvexDirectoryPage::kSorvexResults)->setText(QStringLiteral("/data/sorvex"));
        // Pages never opened keep what the settings hold, whatever their fields say.
        sheet.InternetPage()->BlastEdit()->setText(QStringLiteral("https://new.example.org/blast"));
        sheet.ResultsPage()->SummaryGroup()->button(1)->setChecked(true);
        press(sheet, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(sheet.WasOpened(sheet.DirectoryPage()));
    EXPECT_FALSE(sheet.WasOpened(sheet.InternetPage()));
    EXPECT_FALSE(sheet.WasOpened(sheet.ResultsPage()));
    EXPECT_EQ(GetSorvexResultsDirectory(), QStringLiteral("/data/sorvex"));
    EXPECT_EQ(GetNCBIBlastURL(), QStringLiteral("https://old.example.org/blast/blast.cgi"));
    EXPECT_EQ(GetSummaryDisplayMode(), 0);
    EXPECT_EQ(doc_.SummaryOptions().showTimes, 0);
}

TEST_F(ConfigurationTest, OpenedPagesAreWrittenAndTheDocumentFollows) {
    CSettingsPropertySheet sheet(QStringLiteral("Configuration Settings"), nullptr, 0);
    const int result = runSheet(sheet, [&] {
        tabs(sheet)->setCurrentIndex(1);
        CSorvexResultsPage* results = sheet.ResultsPage();
        results->SummaryGroup()->button(1)->click();
        results->ConsensusGroup()->button(1)->click();
        results->EntriesEdit()->setText(QStringLiteral("25"));
        results->ResidueEdit()->setText(QStringLiteral("K"));
        results->ToleranceEdit()->setText(QStringLiteral("2.5"));
        results->AutoBox()->click();
        tabs(sheet)->setCurrentIndex(2);
        sheet.InternetPage()->BlastEdit()->setText(QStringLiteral("https://new.example.org/blast/blast.cgi/"));
        sheet.InternetPage()->SwissProtEdit()->setText(QStringLiteral("https://new.example.org/cgi-bin//"));
        press(sheet, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(GetSummaryDisplayMode(), 1);
    EXPECT_EQ(GetConsensusDisplayMode(), 1);
    EXPECT_EQ(GetConsensusDisplayEntries(), 25);
    EXPECT_EQ(GetXpressResidue(), QStringLiteral("K"));
    EXPECT_DOUBLE_EQ(GetXpressTolerance(), 2.5);
    EXPECT_EQ(GetXpressAutoCalculate(), 1);
    // One trailing "/" goes; of two, one stays.
    EXPECT_EQ(GetNCBIBlastURL(), QStringLiteral("https://new.example.org/blast/blast.cgi"));
    EXPECT_EQ(GetSwissProtURL(), QStringLiteral("https://new.example.org/cgi-bin/"));
    // The document takes the display flags and the XPRESS residue and tolerance.
    for (ResultsDisplayOptions* o : {&doc_.SummaryOptions(), &doc_.MassmapOptions(), &doc_.MultiConsensusOptions()}) {
        EXPECT_EQ(o->showTimes, 1);
        EXPECT_EQ(o->filterMode, 1);
        EXPECT_EQ(o->consensusRowLimit, 25);
    }
    EXPECT_EQ(doc_.GetXpressResidue(), QStringLiteral("K"));
    EXPECT_DOUBLE_EQ(doc_.GetXpressTolerance(), 2.5);
}

TEST_F(ConfigurationTest, CancelWritesNothing) {
    CSettingsPropertySheet sheet(QStringLiteral("Configuration Settings"), nullptr, 0);
    const int result = runSheet(sheet, [&] {
        sheet.DirectoryPage()->Edit(CSorvexDirectoryPage::kSorvexResults)->setText(QStringLiteral("/elsewhere"));
        tabs(sheet)->setCurrentIndex(2);
        sheet.InternetPage()->BlastEdit()->setText(QStringLiteral("https://new.example.org/"));
        press(sheet, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(GetSorvexResultsDirectory(), QStringLiteral("C:\\Veltrix\\old-sorvex"));
    EXPECT_EQ(GetNCBIBlastURL(), QStringLiteral("https://old.example.org/blast/blast.cgi"));
}

TEST_F(ConfigurationTest, AFolderNotInRangeKeepsTheSheetOpen) {
    CSettingsPropertySheet sheet(QStringLiteral("Configuration Settings"), nullptr, 0);
    bool stillOpen = false;
    const int result = runSheet(sheet, [&] {
        tabs(sheet)->setCurrentIndex(1);
        sheet.ResultsPage()->ToleranceEdit()->setText(QStringLiteral("80"));
        press(sheet, QDialogButtonBox::Ok);
        stillOpen = sheet.isVisible();
        press(sheet, QDialogButtonBox::Cancel);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_DOUBLE_EQ(GetXpressTolerance(), 1.5);
    EXPECT_FALSE(boxes_.texts().isEmpty()) << "the user is told what is wrong";
}

TEST_F(ConfigurationTest, AllHidesTheEntriesAndKeepsTheirCount) {
    SetConsensusDisplayMode(1);
    SetConsensusDisplayEntries(40);
    CSorvexResultsPage page;
    page.OnInitDialog();
    page.UpdateData(false);
    page.show();
    EXPECT_TRUE(page.EntriesEdit()->isVisible());
    page.ConsensusGroup()->button(0)->click();
    EXPECT_FALSE(page.EntriesEdit()->isVisible());
    EXPECT_EQ(page.ConsensusMode(), 0);
    EXPECT_EQ(page.ConsensusEntries(), 40);
    page.ConsensusGroup()->button(1)->click();
    EXPECT_TRUE(page.EntriesEdit()->isVisible());
    page.ConsensusGroup()->button(0)->click();
    page.SaveSettings();
    EXPECT_EQ(GetConsensusDisplayMode(), 0);
    EXPECT_EQ(GetConsensusDisplayEntries(), 40);
}

TEST_F(ConfigurationTest, AFieldRefusedBehindAnotherTabIsShownFocusedAndNamed) {
    CSettingsPropertySheet sheet(QStringLiteral("Configuration Settings"), nullptr, 0);
    struct Seen {
        int tab = -1;
        QWidget* focus = nullptr;
        bool open = false;
    } seen;
    const int result = runSheet(sheet, [&] {
        tabs(sheet)->setCurrentIndex(1);
        sheet.ResultsPage()->ToleranceEdit()->setText(QStringLiteral("80"));
        tabs(sheet)->setCurrentIndex(2);
        press(sheet, QDialogButtonBox::Ok);
        seen = {tabs(sheet)->currentIndex(), sheet.focusWidget(), sheet.isVisible()};
        press(sheet, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(seen.open);
    EXPECT_EQ(seen.tab, 1);
    EXPECT_EQ(seen.focus, sheet.ResultsPage()->ToleranceEdit());
    EXPECT_EQ(boxes_.texts(), QStringList{QStringLiteral(
                                  "Mass tolerance: Please enter a number between 0 and 25.")});
    EXPECT_DOUBLE_EQ(GetXpressTolerance(), 1.5);
}

TEST_F(ConfigurationTest, AnEmptyCountCountsOnlyWhileALimitedNumberIsChosen) {
    CSettingsPropertySheet sheet(QStringLiteral("Configuration Settings"), nullptr, 0);
    CSorvexResultsPage* results = sheet.ResultsPage();
    QStringList whileLimited;
    bool hiddenWithAll = false;
    const int result = runSheet(sheet, [&] {
        tabs(sheet)->setCurrentIndex(1);
        results->ConsensusGroup()->button(1)->click();
        results->EntriesEdit()->clear();
        press(sheet, QDialogButtonBox::Ok);
        whileLimited = boxes_.texts();
        boxes_.clear();
        // All hides the count: it is no field then, and says nothing on the click or on OK.
        results->ConsensusGroup()->button(0)->click();
        hiddenWithAll = !results->EntriesEdit()->isVisible();
        press(sheet, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(whileLimited,
              QStringList{QStringLiteral(
                  "Default entries displayed: Please enter a number between 1 and 10000.")});
    EXPECT_TRUE(hiddenWithAll);
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(GetConsensusDisplayMode(), 0);
    EXPECT_EQ(GetConsensusDisplayEntries(), 10);
}

TEST_F(ConfigurationTest, EverySaveThatFailsIsToldAndKeepsTheSheetOpen) {
    CSettingsPropertySheet sheet(QStringLiteral("Configuration Settings"), nullptr, 0);
    std::vector<bool> openAfter;
    QStringList told;
    int result = -1;
    {
        zartest::ScopedUnwritableFolder locked(config_.path());
        if (!locked.ok()) GTEST_SKIP() << "the settings folder cannot be made unwritable here";
        result = runSheet(sheet, [&] {
            sheet.DirectoryPage()->Edit(CSorvexDirectoryPage::kSorvexResults)->setText(QStringLiteral("/data/new"));
            for (int press_ = 0; press_ < 3; ++press_) {
                boxes_.clear();
                press(sheet, QDialogButtonBox::Ok);
                openAfter.push_back(sheet.isVisible());
                told << boxes_.texts().join(QLatin1Char('|'));
            }
            press(sheet, QDialogButtonBox::Cancel);
        });
    }
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(openAfter, (std::vector<bool>{true, true, true}));
    ASSERT_EQ(told.size(), 3);
    for (const QString& text : told) {
        EXPECT_FALSE(text.isEmpty()) << "every failed OK is told";
        EXPECT_FALSE(text.contains(QLatin1Char('|'))) << "once: " << text.toStdString();
    }
    EXPECT_EQ(sheet.DirectoryPage()->Edit(CSorvexDirectoryPage::kSorvexResults)->text(),
              QStringLiteral("/data/new"));
    // Once the folder can be written, OK saves what the user typed.
    const int again = runSheet(sheet, [&] { press(sheet, QDialogButtonBox::Ok); });
    EXPECT_EQ(again, QDialog::Accepted);
    EXPECT_EQ(GetSorvexResultsDirectory(), QStringLiteral("/data/new"));
}

TEST_F(ConfigurationTest, FoldersAreShownWithSlashes) {
    SetSequenceDirectory(QStringLiteral("/home/me/demo\\"));
    SetDatabaseDirectory(QStringLiteral("C:\\Veltrix\\Database\\"));
    CSorvexDirectoryPage page;
    page.UpdateData(false);
    EXPECT_EQ(page.Edit(CSorvexDirectoryPage::kSequence)->text(), QStringLiteral("/home/me/demo/"));
    EXPECT_EQ(page.Edit(CSorvexDirectoryPage::kDatabase)->text(), QStringLiteral("/Veltrix/Database/"));
    // A folder left as shown keeps what the settings hold; a changed one takes the new text.
    page.Edit(CSorvexDirectoryPage::kSorvexResults)->setText(QStringLiteral("/data/sorvex"));
    page.SaveSettings();
    EXPECT_EQ(GetDatabaseDirectory(), QStringLiteral("C:\\Veltrix\\Database\\"));
    EXPECT_EQ(GetSequenceDirectory(), QStringLiteral("/home/me/demo\\"));
    EXPECT_EQ(GetSorvexResultsDirectory(), QStringLiteral("/data/sorvex"));
}

TEST_F(ConfigurationTest, ResultsPageStartsFromTheSettings) {
    SetSummaryDisplayMode(1);
    SetXpressResidue(QStringLiteral("K"));
    SetXpressTolerance(3.25);
    CSorvexResultsPage page;
    page.OnInitDialog();
    page.UpdateData(false);
    EXPECT_TRUE(page.SummaryGroup()->button(1)->isChecked());
    EXPECT_FALSE(page.EntriesEdit()->isVisibleTo(&page));
    EXPECT_EQ(page.ResidueEdit()->text(), QStringLiteral("K"));
    EXPECT_DOUBLE_EQ(page.ToleranceEdit()->Upper(), 25.0);
    EXPECT_EQ(page.EntriesEdit()->Upper(), 10000);
    double tolerance = 0.0;
    ASSERT_TRUE(page.ToleranceEdit()->GetValue(tolerance));
    EXPECT_DOUBLE_EQ(tolerance, 3.25);
}

TEST_F(ConfigurationTest, BrowsingStartsAtTheShownFolderAndCancelKeepsIt) {
    SetDatabaseDirectory(QStringLiteral("C:\\Veltrix\\Database\\"));
    CSorvexDirectoryPage page;
    page.UpdateData(false);
    QString title, start;
    QString answer = QStringLiteral("/srv/databases");
    page.SetFolderPicker([&](QWidget*, const QString& t, const QString& s) {
        title = t;
        start = s;
        return answer;
    });
    page.BrowseButton(CSorvexDirectoryPage::kDatabase)->click();
    EXPECT_EQ(title, QStringLiteral("Database Directory"));
    EXPECT_EQ(start, QStringLiteral("/Veltrix/Database/"));
    EXPECT_EQ(page.Edit(CSorvexDirectoryPage::kDatabase)->text(), QStringLiteral("/srv/databases"));
    answer.clear();
    page.Edit(CSorvexDirectoryPage::kSequence)->setText(QStringLiteral("/home/me/seq"));
    page.OnBrowseSequence();
    EXPECT_EQ(title, QStringLiteral("Sequence Directory"));
    EXPECT_EQ(start, QStringLiteral("/home/me/seq"));
    EXPECT_EQ(page.Edit(CSorvexDirectoryPage::kSequence)->text(), QStringLiteral("/home/me/seq"));
    const struct {
        CSorvexDirectoryPage::Folder folder;
        const char* title;
    } rows[] = {{CSorvexDirectoryPage::kSorvexResults, "TurboSORVEX Results Directory"},
                {CSorvexDirectoryPage::kPeptideResults, "Peptide Mapping Results Directory"}};
    for (const auto& row : rows) {
        page.BrowseButton(row.folder)->click();
        EXPECT_EQ(title, QString::fromLatin1(row.title));
    }
}

TEST_F(ConfigurationTest, ThePeptideMappingFolderIsTheOneItsUsersRead) {
    CSorvexDirectoryPage page;
    page.UpdateData(false);
    page.SetFolderPicker([](QWidget*, const QString&, const QString&) { return QStringLiteral("/data/peptide"); });
    page.OnBrowsePeptideResults();
    page.SaveSettings();
    EXPECT_EQ(GetPeptideResultsDirectory(), QStringLiteral("/data/peptide"));
}

namespace {

// The help pages opened, by file name.
QStringList OpenedPages(const zartest::ShellOpenCapture& shell) {
    QStringList pages;
    for (const QUrl& url : shell.urls()) pages << url.fileName();
    return pages;
}

}  // namespace

TEST_F(ConfigurationTest, HelpIsTheDirectoriesPagesHelp) {
    zartest::ShellOpenCapture shell;
    CSettingsPropertySheet sheet(QStringLiteral("Configuration Settings"), nullptr, 0);
    runSheet(sheet, [&] {
        tabs(sheet)->setCurrentIndex(2);
        press(sheet, QDialogButtonBox::Help);
        press(sheet, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(OpenedPages(shell), QStringList{QStringLiteral("8921.html")});
    EXPECT_TRUE(boxes_.texts().isEmpty());
}

TEST_F(ConfigurationTest, F1OnAPageIsThatPagesHelp) {
    zartest::ShellOpenCapture shell;
    CSettingsPropertySheet sheet(QStringLiteral("Configuration Settings"), nullptr, 0);
    runSheet(sheet, [&] {
        QApplication::setActiveWindow(&sheet);
        tabs(sheet)->setCurrentIndex(2);
        sheet.InternetPage()->BlastEdit()->setFocus();
        QTest::keyClick(sheet.InternetPage()->BlastEdit(), Qt::Key_F1);
        tabs(sheet)->setCurrentIndex(0);
        sheet.DirectoryPage()->Edit(CSorvexDirectoryPage::kDatabase)->setFocus();
        QTest::keyClick(sheet.DirectoryPage()->Edit(CSorvexDirectoryPage::kDatabase), Qt::Key_F1);
        press(sheet, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(OpenedPages(shell),
              (QStringList{QStringLiteral("8922.html"), QStringLiteral("8921.html")}));
    EXPECT_TRUE(boxes_.texts().isEmpty());
}

TEST_F(ConfigurationTest, StoredAddressesAreOpenedEncoded) {
    CSorvexInternetPage page;
    page.UpdateData(false);
    page.BlastEdit()->setText(QStringLiteral("https://blast.example.org/blast/blast.cgi/"));
    page.SaveSettings();
    const QUrl url = MakeBlastUrl(GetNCBIBlastURL(), QStringLiteral("PEP TIDE&X=1"));
    ASSERT_TRUE(url.isValid());
    EXPECT_EQ(url.path(), QStringLiteral("/blast/blast.cgi"));
    // The stored base, with the peptide's text encoded: nothing typed can change the request.
    EXPECT_TRUE(url.toString(QUrl::FullyEncoded)
                    .startsWith(QStringLiteral("https://blast.example.org/blast/blast.cgi?SEQUENCE=PEP%20TIDE%26X%3D1&")))
        << url.toString(QUrl::FullyEncoded).toStdString();
}

TEST_F(ConfigurationTest, TheCommandIsRegisteredAndOpensTheSheet) {
    CMainFrame frame(&doc_);
    RegisterConfigurationSheet();
    frame.UpdateCommandUI();
    ASSERT_TRUE(frame.Action(ID_OPTIONS_CONFIGURATION)->isEnabled());
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* sheet = qobject_cast<CSettingsPropertySheet*>(QApplication::activeModalWidget())) {
            shown = sheet->windowTitle();
            sheet->reject();
        }
    });
    frame.RunCommand(ID_OPTIONS_CONFIGURATION);
    EXPECT_EQ(shown, QStringLiteral("Configuration Settings"));
    RegisterFrameCommand(ID_OPTIONS_CONFIGURATION, nullptr);
}
