#pragma once
// What the launcher tests share: a folder with a small run, the results, peptide and database
// folders of the settings, the outside programs played by the fake child (linked into the data
// system's program folders under the settings' names), and an owner window that takes the
// launcher's messages and hands the children's messages to the launcher as the main window does.

#include "search/views/MassmapLauncher.h"
#include "search/views/SearchBasicPage.h"
#include "search/views/SorvexLauncher.h"

#include "SheetTestSupport.h"
#include "app/RegisteredMessages.h"
#include "document/ZarMessages.h"
#include "rawfile/RunFileWriter.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>

#include <unistd.h>

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '"' << list.join(QStringLiteral("\", \"")).toStdString() << '"';
}

namespace launchertest {

// Takes every message: private ones are kept, registered ones go to the launcher as the main
// window hands them on.
class OwnerWindow : public QWidget {
  public:
    struct Kept {
        unsigned message;
        zar::WPARAM wParam;
        zar::LPARAM lParam;
        QString text;
    };
    zar::CSearchLauncherBase* launcher = nullptr;
    std::vector<Kept> kept;
    int dropped = 0;

    std::vector<Kept> Of(unsigned message) const {
        std::vector<Kept> found;
        for (const Kept& k : kept)
            if (k.message == message) found.push_back(k);
        return found;
    }

  protected:
    bool event(QEvent* e) override {
        if (e->type() != zar::MessageEvent::eventType()) return QWidget::event(e);
        auto* m = static_cast<zar::MessageEvent*>(e);
        const zar::Message msg{m->message(), m->wParam(), m->lParam(), &m->payload()};
        const zar::RegisteredMessages& r = zar::ProgramMessages();
        if (m->message() < zar::kFirstRegisteredMessage) {
            const QString* text = msg.payloadAs<QString>();
            kept.push_back({m->message(), m->wParam(), m->lParam(), text ? *text : QString()});
            return true;
        }
        if (!launcher || !launcher->IsOwnChildMessage(msg)) {
            ++dropped;
            return true;
        }
        if (m->message() == r.dravelMSnProgress || m->message() == r.dravelMSProgress)
            launcher->OnExtractionProgress(m->wParam(), m->lParam());
        else if (m->message() == r.sorvexProgress || m->message() == r.massmapProgress)
            launcher->OnSearchProgress(m->wParam(), m->lParam());
        else if (m->message() == r.databaseSize)
            launcher->OnDatabaseSize(m->wParam(), m->lParam());
        return true;
    }
};

// A run of scans 1..count, MS/MS scans at the even numbers unless ms1Only.
inline bool WriteSmallRun(const QString& path, int count, bool ms1Only = false) {
    QString error;
    return zar::WriteRunFile(
        path, count,
        [&](int index) {
            zar::RunSpectrum s;
            s.scanNumber = index + 1;
            s.retentionTime = 0.1 * (index + 1);
            const bool full = ms1Only || s.scanNumber % 2 == 1;
            s.msLevel = full ? 1 : 2;
            s.windowLow = full ? 400.0 : 100.0;
            s.windowHigh = full ? 1600.0 : 1200.0;
            if (!full) s.precursors.push_back(zar::RunPrecursor{600.0 + index, 2});
            s.mz = {450.0, 650.0, 850.0};
            s.intensity = {10.0, 100.0, 1000.0};
            return s;
        },
        error);
}

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class LauncherFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        root = dir.path();
        results = dir.filePath("results");
        peptide = dir.filePath("peptide");
        databases = dir.filePath("db") + "/";
        logs = dir.filePath("logs");
        extraction = dir.filePath("veltrix/system/programs");
        search = extraction + "/ZarvikBrowser";
        for (const QString& d : {results, peptide, databases, logs, search}) QDir().mkpath(d);
        zar::SetSorvexResultsDirectory(results);
        zar::SetDatabaseDirectory(databases);
        zar::RegKey(zar::RegRoot::LocalMachine, zar::kProgramKey, true)
            .writeString("PeptideResultsDirectory", peptide);
        zar::RegKey(zar::RegRoot::LocalMachine, zar::kGlobalKey, true)
            .writeString("Veltrix Path", dir.filePath("veltrix"));
        sheettest::WriteBytes(databases + "horse.fasta", ">P1 horse protein\nMKWVTFISLL\n");
        const QString fake =
            QDir(QCoreApplication::applicationDirPath()).filePath("zar_fake_search_child");
        ASSERT_TRUE(QFile::exists(fake)) << qPrintable(fake);
        for (const char* name : {"dravel_msn.exe", "dravel_ms.exe"})
            QFile::link(fake, extraction + "/" + name);
        for (const char* name : {"sorvex27.exe", "massmap.exe", "dbtally.exe"})
            QFile::link(fake, search + "/" + name);
        run = dir.filePath("run.mzML");
        ASSERT_TRUE(WriteSmallRun(run, 10));
        qputenv("ZAR_FAKE_LOG", logs.toLocal8Bit());
        qunsetenv("ZAR_FAKE_MODE");
        qunsetenv("ZAR_FAKE_SEARCH_MODE");
        enzymes.ResetToDefaults();
    }
    void TearDown() override {
        qunsetenv("ZAR_FAKE_LOG");
        qunsetenv("ZAR_FAKE_MODE");
        qunsetenv("ZAR_FAKE_SEARCH_MODE");
    }

    // The Sorvex launcher with its sheet open on the run and the horse database chosen.
    std::unique_ptr<zar::CSorvexLauncher> SorvexReady(const QString& runPath = QString()) {
        auto launcher = std::make_unique<zar::CSorvexLauncher>(&owner, &owner);
        owner.launcher = launcher.get();
        launcher->SetEnzymeTable(&enzymes.GetRecords());
        if (!launcher->Start(runPath.isEmpty() ? run : runPath)) return launcher;
        ChooseDatabase(*launcher);
        return launcher;
    }
    std::unique_ptr<zar::CMassmapLauncher> MassmapReady(const QString& runPath = QString()) {
        auto launcher = std::make_unique<zar::CMassmapLauncher>(&owner, &owner);
        owner.launcher = launcher.get();
        launcher->SetEnzymeTable(&enzymes.GetRecords());
        if (!launcher->Start(runPath.isEmpty() ? run : runPath)) return launcher;
        ChooseDatabase(*launcher);
        return launcher;
    }
    void ChooseDatabase(zar::CSearchLauncherBase& launcher) {
        auto* edit = dynamic_cast<QLineEdit*>(
            launcher.Sheet()->GetPage(0)->GetDlgItem(zar::CSearchBasicPage::kDatabaseEditId));
        ASSERT_TRUE(edit);
        edit->setText("horse.fasta");
        boxes.clear();
    }
    // Clicks a check box of the basic page as a user does.
    static void ClickBasic(zar::CSearchLauncherBase& launcher, int id) {
        auto* box = dynamic_cast<QAbstractButton*>(launcher.Sheet()->GetPage(0)->GetDlgItem(id));
        ASSERT_TRUE(box);
        box->click();
    }
    static void TypeBasic(zar::CSearchLauncherBase& launcher, int id, const QString& text) {
        auto* edit = dynamic_cast<QLineEdit*>(launcher.Sheet()->GetPage(0)->GetDlgItem(id));
        ASSERT_TRUE(edit);
        edit->setText(text);
    }
    static void PressStart(zar::CSearchLauncherBase& launcher) {
        launcher.Sheet()->Button(zar::CSearchPropertySheet::kStartId)->click();
        QApplication::processEvents();
    }
    // Waits for the run to end (the sheet goes when it does).
    static bool WaitForEnd(zar::CSearchLauncherBase& launcher) {
        const bool ended = QTest::qWaitFor(
            [&] {
                return !launcher.IsExtracting() && !launcher.IsSearching() &&
                       !launcher.HasRunState();
            },
            zartest::kWorkWaitMs);
        // What the last messages posted in turn arrives too.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        return ended;
    }
    QStringList LoggedArguments(const QString& role) const {
        return QString::fromUtf8(ReadAll(logs + "/" + role + ".args"))
            .split('\n', Qt::SkipEmptyParts);
    }
    QStringList FilesIn(const QString& folder, const QString& pattern) const {
        return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
    }

    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    QString root, results, peptide, databases, logs, extraction, search, run;
    zar::CEnzymeTable enzymes;
    OwnerWindow owner;
};

}  // namespace launchertest
