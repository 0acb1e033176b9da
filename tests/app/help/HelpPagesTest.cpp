// Every Help button of every dialog, sheet and window, pressed offscreen: each must open the page
// of its own help context, a page that says something. The sources are read for Help buttons the
// walk does not press yet, and the pages for links that lead nowhere.

#include "ZarApp.h"
#include "databases/views/DisulfideBondsDlg.h"
#include "databases/views/EnzymeEditorDlg.h"
#include "databases/views/FastaDbIndexerDlg.h"
#include "databases/views/FastaIndexDlg.h"
#include "databases/views/PepmapOptionsDlg.h"
#include "databases/views/PepmapView.h"
#include "databases/views/SequenceCalcDlg.h"
#include "databases/views/SequenceEditorDlg.h"
#include "databases/views/UtilityPropertySheet.h"
#include "interpretation/views/DenovoParamsDlg.h"
#include "interpretation/views/ZarmassPropertySheet.h"
#include "resultviews/DisplayOutFileDlg.h"
#include "resultviews/ResultsPropertySheet.h"
#include "resultviews/ResultsWindow.h"
#include "resultviews/SelectResultsDlg.h"
#include "search/views/DtaCreateDialog.h"
#include "search/views/InvalidParamsDlg.h"
#include "search/views/MassmapPropertySheet.h"
#include "search/views/SettingsPropertySheet.h"
#include "search/views/SorvexPropertySheet.h"
#include "spectrumviews/views/AnnotateDialog.h"
#include "spectrumviews/views/ChroDisplayOptionsDialog.h"
#include "spectrumviews/views/DisplaySettingsPropertySheet.h"
#include "spectrumviews/views/PepmatchOptionsDlg.h"
#include "spectrumviews/views/SpecDisplayOptionsDialog.h"
#include "spectrumviews/views/UserTraceDialog.h"
#include "spectrumviews/views/XpressParamsDlg.h"

#include "TestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <set>

using namespace zar;

namespace {

// A page must tell more than its title: what the window is for, its controls, an example.
constexpr int kMinimumPageText = 600;

QString ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString VisibleText(const QString& html) {
    QString text = html;
    text.remove(QRegularExpression(QStringLiteral("<head>.*</head>"),
                                   QRegularExpression::DotMatchesEverythingOption));
    text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return text.simplified();
}

QStringList Links(const QString& html) {
    QStringList links;
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    for (auto it = href.globalMatch(html); it.hasNext();) links << it.next().captured(1);
    return links;
}

// The help pages the shell was handed since the capture began, by file name.
QStringList OpenedPages(const zartest::ShellOpenCapture& shell, size_t from) {
    QStringList pages;
    for (size_t i = from; i < shell.urls().size(); ++i)
        pages << QFileInfo(shell.urls()[i].toLocalFile()).fileName();
    return pages;
}

bool IsHelpButton(const QAbstractButton* b) {
    return QString(b->text()).remove(QLatin1Char('&')) == QStringLiteral("Help");
}

// How a window shows its help: its Help button, the Help command of its tool bar, or F1 on one
// of its pages.
enum class Press { Button, ToolBarHelp, F1OnPage };

struct HelpCase {
    const char* name;
    const char* source;  // where the window makes its Help button
    std::function<std::unique_ptr<QWidget>()> make;
    int helpId;
    Press press = Press::Button;
    int page = 0;  // for F1: the page pressed on
};

void PrintTo(const HelpCase& c, std::ostream* os) {
    *os << c.name;
}

template <class Sheet>
std::unique_ptr<QWidget> Initialized(std::unique_ptr<Sheet> sheet) {
    sheet->EnsureInitialized();
    return sheet;
}

const std::vector<HelpCase>& Cases() {
    static const std::vector<HelpCase> cases = {
        {"Select Results", "resultviews/SelectResultsDlg.cpp",
         [] { return std::make_unique<CSelectResultsDlg>(); }, 9167},
        {"Display '.out' File", "resultviews/DisplayOutFileDlg.cpp",
         [] { return std::make_unique<CDisplayOutFileDlg>(); }, 9159},
        {"Summary options", "resultviews/ResultsPropertySheet.cpp",
         [] {
             return std::make_unique<CResultsPropertySheet>(8412, nullptr,
                                                            CResultsPropertySheet::kSummaryMode);
         },
         8843},
        {"Peptide mapping options", "resultviews/ResultsPropertySheet.cpp",
         [] {
             return std::make_unique<CResultsPropertySheet>(8412, nullptr,
                                                            CResultsPropertySheet::kMassmapMode);
         },
         9155},
        {"Multiple file consensus options", "resultviews/ResultsPropertySheet.cpp",
         [] {
             return std::make_unique<CResultsPropertySheet>(8412, nullptr,
                                                            CResultsPropertySheet::kConsensusMode);
         },
         9170},
        {"Results window", "resultviews/ResultsWindow.cpp",
         [] { return std::make_unique<CResultsWindow>(); }, 9339, Press::ToolBarHelp},
        {"Spectrum Display Options", "spectrumviews/views/SpecDisplayOptionsDialog.cpp",
         [] { return std::make_unique<CSpecDisplayOptionsDialog>(); }, 8581},
        {"Chromatogram Display Options", "spectrumviews/views/ChroDisplayOptionsDialog.cpp",
         [] { return std::make_unique<CChroDisplayOptionsDialog>(); }, 8550},
        {"Chromatogram Ranges", "spectrumviews/views/UserTraceDialog.cpp",
         [] { return std::make_unique<CUserTraceDialog>(); }, 8532},
        {"Annotate", "spectrumviews/views/AnnotateDialog.cpp",
         [] { return std::make_unique<CAnnotateDialog>(nullptr); }, 8986},
        {"Pepmatch Options", "spectrumviews/views/PepmatchOptionsDlg.cpp",
         [] { return std::make_unique<CPepmatchOptionsDlg>(nullptr, nullptr); }, 8900},
        {"XPRESS Parameters", "spectrumviews/views/XpressParamsDlg.cpp",
         [] { return std::make_unique<CXpressParamsDlg>(nullptr); }, 9137},
        {"Display Settings", "spectrumviews/views/DisplaySettingsPropertySheet.cpp",
         [] { return Initialized(std::make_unique<CDisplaySettingsPropertySheet>(nullptr)); },
         8562},
        {"Display Settings, F1 on Axes Scaling",
         "spectrumviews/views/DisplaySettingsPropertySheet.cpp",
         [] { return Initialized(std::make_unique<CDisplaySettingsPropertySheet>(nullptr)); }, 8562,
         Press::F1OnPage, 0},
        {"Display Settings, F1 on Axes Labels",
         "spectrumviews/views/DisplaySettingsPropertySheet.cpp",
         [] { return Initialized(std::make_unique<CDisplaySettingsPropertySheet>(nullptr)); }, 8579,
         Press::F1OnPage, 1},
        {"Display Settings, F1 on Axes Positions",
         "spectrumviews/views/DisplaySettingsPropertySheet.cpp",
         [] { return Initialized(std::make_unique<CDisplaySettingsPropertySheet>(nullptr)); }, 8570,
         Press::F1OnPage, 2},
        {"Configuration", "search/views/SettingsPropertySheet.cpp",
         [] {
             return std::make_unique<CSettingsPropertySheet>(
                 QStringLiteral("Configuration Settings"), nullptr);
         },
         8921},
        {"Configuration, F1 on Directories", "search/views/SorvexDirectoryPage.cpp",
         [] {
             return std::make_unique<CSettingsPropertySheet>(
                 QStringLiteral("Configuration Settings"), nullptr);
         },
         8921, Press::F1OnPage, 0},
        {"Configuration, F1 on Internet URL's", "search/views/SorvexInternetPage.cpp",
         [] {
             return std::make_unique<CSettingsPropertySheet>(
                 QStringLiteral("Configuration Settings"), nullptr);
         },
         8922, Press::F1OnPage, 2},
        {"Invalid Parameters file", "search/views/InvalidParamsDlg.cpp",
         [] {
             return std::make_unique<CInvalidParamsDlg>(QStringLiteral("sorvex"),
                                                        QStringLiteral("TurboSORVEX"), nullptr);
         },
         8785},
        {"TurboSORVEX Dta", "search/views/DtaCreateDialog.cpp",
         [] { return std::make_unique<CDtaCreateDialog>(nullptr, true); }, 8703},
        {"TurboSORVEX Search Parameters", "search/views/SearchPropertySheet.cpp",
         [] {
             return std::make_unique<CSorvexPropertySheet>(
                 QStringLiteral("TurboSORVEX Search Parameters"), nullptr, nullptr);
         },
         8744},
        {"Peptide Mapping Search Parameters", "search/views/SearchPropertySheet.cpp",
         [] {
             return std::make_unique<CMassmapPropertySheet>(
                 QStringLiteral("Peptide Mapping Search Parameters"), nullptr, nullptr);
         },
         9149},
        {"Fasta Database Utilities", "databases/views/UtilityPropertySheet.cpp",
         [] { return Initialized(std::make_unique<CUtilityPropertySheet>(0, nullptr)); }, 8792},
        {"Sequence Editor", "databases/views/SequenceEditorDlg.cpp",
         [] { return std::make_unique<CSequenceEditorDlg>(nullptr); }, 9111},
        {"Disulfide Bonds", "databases/views/DisulfideBondsDlg.cpp",
         [] { return std::make_unique<CDisulfideBondsDlg>(nullptr); }, 9143},
        {"Fasta Database Indexer", "databases/views/FastaDbIndexerDlg.cpp",
         [] { return std::make_unique<CFastaDbIndexerDlg>(); }, 8722},
        {"Enzyme Editor", "databases/views/EnzymeEditorDlg.cpp",
         [] { return std::make_unique<CEnzymeEditorDlg>(); }, 8841},
        {"Fasta Index", "databases/views/FastaIndexDlg.cpp",
         [] { return std::make_unique<CFastaIndexDlg>(); }, 9160},
        {"Sequence Calculator", "databases/views/SequenceCalcDlg.cpp",
         [] { return std::make_unique<CSequenceCalcDlg>(nullptr); }, 8976},
        {"Pepmap Options", "databases/views/PepmapOptionsDlg.cpp",
         [] { return std::make_unique<CPepmapOptionsDlg>(nullptr); }, 9084},
        {"ZARMASS", "interpretation/views/ZarmassPropertySheet.cpp",
         [] {
             return Initialized(std::make_unique<CZarmassPropertySheet>(
                 CZarmassPropertySheet::kCaptionId, nullptr));
         },
         8947},
        {"DeNovo Parameters", "interpretation/views/DenovoParamsDlg.cpp",
         [] { return std::make_unique<CDenovoParamsDlg>(nullptr); }, 9036},
    };
    return cases;
}

// Presses the window's help the way its case says; false when there is nothing to press.
bool PressHelp(QWidget& window, const HelpCase& c) {
    switch (c.press) {
        case Press::Button: {
            std::vector<QAbstractButton*> helps;
            for (QAbstractButton* b : window.findChildren<QAbstractButton*>())
                if (IsHelpButton(b)) helps.push_back(b);
            if (helps.size() != 1) return false;
            helps.front()->click();
            return true;
        }
        case Press::ToolBarHelp: {
            auto* results = dynamic_cast<CResultsWindow*>(&window);
            QAction* help = results ? results->Action(CResultsWindow::kHelpCommand) : nullptr;
            if (!help || !help->isEnabled()) return false;
            help->trigger();
            return true;
        }
        case Press::F1OnPage: {
            auto* tabs = window.findChild<QTabWidget*>();
            if (!tabs || c.page >= tabs->count()) return false;
            window.show();
            tabs->setCurrentIndex(c.page);
            QWidget* page = tabs->currentWidget();
            QApplication::setActiveWindow(&window);
            page->setFocus();
            QTest::keyClick(page, Qt::Key_F1);
            return true;
        }
    }
    return false;
}

class HelpPagesTest : public ::testing::TestWithParam<HelpCase> {
  protected:
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    zartest::ShellOpenCapture shell;
};

}  // namespace

TEST_P(HelpPagesTest, HelpOpensThePageOfItsOwnContext) {
    const HelpCase& c = GetParam();
    std::unique_ptr<QWidget> window = c.make();
    ASSERT_TRUE(window);
    boxes.clear();
    const size_t before = shell.urls().size();
    ASSERT_TRUE(PressHelp(*window, c)) << c.name << ": no Help to press";
    QApplication::processEvents();
    EXPECT_EQ(OpenedPages(shell, before), QStringList{QStringLiteral("%1.html").arg(c.helpId)})
        << c.name;
    EXPECT_TRUE(boxes.texts().isEmpty())
        << c.name << ": " << qPrintable(boxes.texts().join(QLatin1Char('\n')));
    const QString page = HelpPagePath(c.helpId);
    ASSERT_FALSE(page.isEmpty()) << c.name;
    EXPECT_GE(VisibleText(ReadText(page)).size(), kMinimumPageText)
        << c.name << ": the page says too little";
    window->close();
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, HelpPagesTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<HelpCase>& info) {
                             QString name = QString::fromLatin1(info.param.name);
                             name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")),
                                          QString());
                             return name.toStdString();
                         });

// A window that gains a Help button is walked above, so that its button cannot open nothing.
TEST(HelpPages, EverySourceWithAHelpButtonIsWalked) {
    std::set<QString> walked;
    for (const HelpCase& c : Cases()) walked.insert(QString::fromLatin1(c.source));
    // The dialog base offers the button to the dialogs above; the main menu's Help is a menu.
    const std::set<QString> notWindows = {QStringLiteral("platform/controls/DialogBase.cpp"),
                                          QStringLiteral("app/MainFrameCommands.cpp")};
    static const QRegularExpression makesHelp(QStringLiteral(
        R"(\"&Help\"|QDialogButtonBox::Help\b|MakeButtons\(true\)|QKeySequence::HelpContents)"));
    const QDir root(QStringLiteral(ZAR_SOURCE_DIR));
    int seen = 0;
    for (const char* folder : {"app", "resultviews", "spectrumviews", "search", "databases",
                               "interpretation", "platform"}) {
        QDirIterator it(root.filePath(QString::fromLatin1(folder)), {QStringLiteral("*.cpp")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!makesHelp.match(ReadText(path)).hasMatch()) continue;
            ++seen;
            const QString relative = root.relativeFilePath(path);
            if (notWindows.count(relative)) continue;
            EXPECT_TRUE(walked.count(relative))
                << qPrintable(relative) << " makes a Help button the walk does not press";
        }
    }
    EXPECT_GT(seen, 20);
}

TEST(HelpPages, TheContentsReachEveryPageAndEveryLinkResolves) {
    const QDir folder(HelpFolder());
    const QStringList pages = folder.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_TRUE(pages.contains(QStringLiteral("index.html")));
    const QStringList fromIndex = Links(ReadText(folder.filePath(QStringLiteral("index.html"))));
    for (const QString& page : pages) {
        const QString html = ReadText(folder.filePath(page));
        EXPECT_TRUE(html.contains(QStringLiteral("<title>")) &&
                    html.contains(QStringLiteral("<h1>")))
            << qPrintable(page);
        for (const QString& link : Links(html)) {
            const QString target = link.section(QLatin1Char('#'), 0, 0);
            EXPECT_TRUE(QFileInfo::exists(folder.filePath(target)))
                << qPrintable(page) << " links to " << qPrintable(link);
        }
        if (page == QStringLiteral("index.html")) continue;
        EXPECT_TRUE(fromIndex.contains(page)) << "the contents do not list " << qPrintable(page);
        EXPECT_TRUE(Links(html).contains(QStringLiteral("index.html")))
            << qPrintable(page) << " leads nowhere back";
        EXPECT_GE(VisibleText(html).size(), kMinimumPageText)
            << qPrintable(page) << " says too little";
    }
}

TEST(HelpPages, TheProgramsOwnHelpOpensTheContents) {
    zartest::MessageBoxCapture boxes;
    zartest::ShellOpenCapture shell;
    EXPECT_TRUE(ShowContextHelp(nullptr, kHelpContentsId));
    EXPECT_TRUE(ShowHelpContents(nullptr));
    EXPECT_EQ(OpenedPages(shell, 0),
              (QStringList{QStringLiteral("index.html"), QStringLiteral("index.html")}));
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST(HelpPages, AnIdWithoutAPageIsToldNotOpened) {
    zartest::MessageBoxCapture boxes;
    zartest::ShellOpenCapture shell;
    EXPECT_TRUE(HelpPagePath(424242).isEmpty());
    EXPECT_FALSE(ShowContextHelp(nullptr, 424242));
    EXPECT_TRUE(shell.urls().empty());
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].contains(QStringLiteral("424242")));
}
