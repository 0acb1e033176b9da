#pragma once
// What the sheet tests share: a launcher that records what the sheet asks of it, a settings
// folder with a results folder and a database folder, and a way to answer a modal dialog that
// a sheet opens while the test waits for it.

#include "search/views/MassmapPropertySheet.h"
#include "search/views/SearchLauncher.h"
#include "search/views/SorvexPropertySheet.h"

#include "TestSupport.h"
#include "document/EnzymeTable.h"
#include "document/Settings.h"
#include "registry/RegKey.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <ostream>

#include <gtest/gtest.h>

// Texts in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace sheettest {

class FakeLauncher : public zar::CSearchLauncher {
  public:
    void EndStep(bool post) override { calls << (post ? "EndStep(1)" : "EndStep(0)"); }
    void DeleteOldResultFiles() override { calls << "DeleteOldResultFiles"; }
    void StartDtaGeneration() override { calls << "StartDtaGeneration"; }
    QString ListExistingDtaFiles() override {
        calls << "ListExistingDtaFiles";
        return listPath;
    }
    void RunSearch(const QString& path) override { calls << "RunSearch(" + path + ")"; }
    void SetScanRange(int first, int last) override {
        calls << QStringLiteral("SetScanRange(%1,%2)").arg(first).arg(last);
    }
    bool HasSearchDaemon() const override { return daemon; }
    QString RawFilePath() const override { return rawFile; }
    void ClearDatabaseTallyDone() override { calls << "ClearDatabaseTallyDone"; }

    QStringList calls;
    QString listPath = QStringLiteral("/results/SorvexList");
    QString rawFile = QStringLiteral("/data/run.mzML");
    bool daemon = false;
};

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// One entry of a parameter file: its value and its comment (from the ";").
struct Entry {
    QString value;
    QString comment;
    bool operator==(const Entry&) const = default;
};

// The entries of a parameter file by key, and every line that is no entry, in order.
struct ParsedFile {
    std::map<QString, Entry> entries;
    QStringList otherLines;
    int lineCount = 0;
};

inline ParsedFile ParseParamFile(const QByteArray& bytes) {
    ParsedFile parsed;
    QString text = QString::fromLatin1(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    parsed.lineCount = static_cast<int>(lines.size()) - (text.endsWith(QLatin1Char('\n')) ? 1 : 0);
    bool inEnzymes = false;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('['))) inEnzymes = line.contains(QLatin1String("ENZYME"));
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const qsizetype semi = line.indexOf(QLatin1Char(';'));
        if (inEnzymes || eq < 0 || (semi >= 0 && semi < eq)) {
            // Enzyme rows are compared by their fields, whatever separates them.
            parsed.otherLines << line.simplified();
            continue;
        }
        Entry e;
        const QString rest = line.mid(eq + 1);
        const qsizetype cut = rest.indexOf(QLatin1Char(';'));
        e.value = (cut < 0 ? rest : rest.left(cut)).trimmed();
        e.comment = cut < 0 ? QString() : rest.mid(cut);
        parsed.entries[line.left(eq).trimmed()] = e;
    }
    return parsed;
}

// A value of a parameter file as the engines read it: numbers to four decimals.
inline QString NormalValue(const QString& value) {
    QStringList tokens = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString& t : tokens) {
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (ok) t = QString::number(d, 'f', 4);
    }
    return tokens.join(QLatin1Char(' '));
}

// The results and database folders of a test, named by the settings the sheets read.
class SheetFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        results = dir.filePath(QStringLiteral("results"));
        peptide = dir.filePath(QStringLiteral("peptide"));
        databases = dir.filePath(QStringLiteral("db")) + QLatin1Char('/');
        programs = dir.filePath(QStringLiteral("veltrix/system/programs/ZarvikBrowser"));
        for (const QString& d : {results, peptide, databases, programs}) QDir().mkpath(d);
        zar::SetSorvexResultsDirectory(results);
        zar::SetDatabaseDirectory(databases);
        zar::RegKey(zar::RegRoot::LocalMachine, zar::kProgramKey, true)
            .writeString(QStringLiteral("PeptideResultsDirectory"), peptide);
        zar::RegKey(zar::RegRoot::LocalMachine, zar::kGlobalKey, true)
            .writeString(QStringLiteral("Veltrix Path"), dir.filePath(QStringLiteral("veltrix")));
        WriteBytes(databases + QStringLiteral("horse.fasta"), ">P1 horse protein\nMKWVTFISLL\n");
        enzymes.ResetToDefaults();
    }
    QString SorvexFile() const { return results + QStringLiteral("/sorvex.params"); }
    std::unique_ptr<zar::CSorvexPropertySheet> OpenSorvex(
        zar::InvalidParamsPrompt* prompt = nullptr) {
        auto sheet = std::make_unique<zar::CSorvexPropertySheet>(
            QStringLiteral("TurboSORVEX Search Parameters"), &owner, &launcher, prompt);
        sheet->SetEnzymeTable(enzymes.GetRecords());
        sheet->Create();
        return sheet;
    }
    std::unique_ptr<zar::CMassmapPropertySheet> OpenMassmap(
        zar::InvalidParamsPrompt* prompt = nullptr) {
        auto sheet = std::make_unique<zar::CMassmapPropertySheet>(
            QStringLiteral("Peptide Mapping Search Parameters"), &owner, &launcher, prompt);
        sheet->SetEnzymeTable(enzymes.GetRecords());
        sheet->Create();
        return sheet;
    }
    QString MassmapFile() const { return peptide + QStringLiteral("/massmap.params"); }

    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    QString results;
    QString peptide;
    QString databases;
    QString programs;
    zar::CEnzymeTable enzymes;
    FakeLauncher launcher;
    QWidget owner;
};

// A control of a page by its id.
template <class T = QWidget>
T* Ctl(zar::CSearchPageBase* page, int id) {
    return dynamic_cast<T*>(page->GetDlgItem(id));
}

// Clicks a check box or radio button the way a user does (the click handlers run).
inline void Click(zar::CSearchPageBase* page, int id) {
    Ctl<QAbstractButton>(page, id)->click();
}

// Chooses an entry of the next pop-up menu as soon as it opens; records the entries it had.
class MenuAnswer : public QObject {
  public:
    explicit MenuAnswer(const QString& choice) : choice_(choice) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            timer_.stop();
            for (QAction* a : menu->actions()) {
                if (!a->isSeparator()) entries << a->text();
            }
            for (QAction* a : menu->actions()) {
                if (a->text() == choice_) {
                    menu->close();
                    a->trigger();
                    return;
                }
            }
            menu->close();
        });
        timer_.start(10);
    }
    QStringList entries;

  private:
    QString choice_;
    QTimer timer_;
};

// Answers the next modal dialog that opens: act is called with it (once) as soon as it shows.
class ModalAnswer : public QObject {
  public:
    explicit ModalAnswer(std::function<void(QWidget*)> act) : act_(std::move(act)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || done_) return;
            done_ = true;
            timer_.stop();
            seen = modal->windowTitle();
            act_(modal);
        });
        timer_.start(10);
    }
    QString seen;  // title of the dialog answered

  private:
    std::function<void(QWidget*)> act_;
    QTimer timer_;
    bool done_ = false;
};

}  // namespace sheettest
