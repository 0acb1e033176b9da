#pragma once
// Helpers shared by the tests.

#include "core/MessageBox.h"
#include "gui/Shell.h"

#include <QString>
#include <QStringList>
#include <QObject>
#include <QTemporaryDir>

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace zartest {

// How long a test waits for real work (a search, a load, a build, a child program, a worker) to
// end: as long as it may take on a slow machine under load. A wait returns as soon as the work
// ends; it times nothing, and only an outcome that never comes fails it.
inline constexpr int kWorkWaitMs = 600000;

// Captures the message boxes shown while it lives; answers from a queue, else the default.
class MessageBoxCapture {
public:
    MessageBoxCapture();
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    void answerNext(int answer) { answers_->push_back(answer); }
    const std::vector<zar::MessageBoxRequest>& shown() const { return *shown_; }
    QStringList texts() const;
    void clear() { shown_->clear(); }

private:
    std::shared_ptr<std::vector<zar::MessageBoxRequest>> shown_;
    std::shared_ptr<std::deque<int>> answers_;
    zar::MessageBoxHandler previous_;
};

// Records what is handed to the desktop while it lives (addresses and files), starting
// nothing; answers that it was handed over unless told otherwise.
class ShellOpenCapture {
public:
    ShellOpenCapture();
    ~ShellOpenCapture();
    ShellOpenCapture(const ShellOpenCapture&) = delete;
    ShellOpenCapture& operator=(const ShellOpenCapture&) = delete;

    void refuse() { *accept_ = false; }
    const std::vector<QUrl>& urls() const { return *urls_; }
    // The failure texts given with them.
    const QStringList& failureTexts() const { return *failures_; }

private:
    std::shared_ptr<std::vector<QUrl>> urls_;
    std::shared_ptr<QStringList> failures_;
    std::shared_ptr<bool> accept_;
    zar::ShellOpener previous_;
};

// Points ZAR_CONFIG_DIR at a fresh empty folder while it lives.
class ScopedConfigDir {
public:
    ScopedConfigDir();
    ~ScopedConfigDir();
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

// Makes an existing folder unwritable while it lives: its write permission is taken away, and
// where that is not enough (a user with rights to any folder) it is marked immutable.
// ok() is false when neither works; tests then skip.
class ScopedUnwritableFolder {
public:
    explicit ScopedUnwritableFolder(const QString& path);
    ~ScopedUnwritableFolder();
    ScopedUnwritableFolder(const ScopedUnwritableFolder&) = delete;
    ScopedUnwritableFolder& operator=(const ScopedUnwritableFolder&) = delete;
    bool ok() const { return ok_; }

private:
    QString path_;
    bool immutable_ = false;
    bool ok_ = false;
};

// Records the messages of the given numbers that reach an object (posted or sent to it).
class MessageTrap : public QObject {
public:
    struct Caught {
        unsigned message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    MessageTrap(QObject* target, std::initializer_list<unsigned> messages);
    const std::vector<Caught>& caught() const { return caught_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<unsigned> messages_;
    std::vector<Caught> caught_;
};

// Answers the next modal dialog of a class (or one derived from it) as soon as it shows, while
// the test runs the dialog's own event loop; an optional step fills it in before it is accepted.
class ModalDialogAnswer {
public:
    explicit ModalDialogAnswer(const char* className, bool accept = true,
                               std::function<void(QWidget*)> fill = {});
    bool seen() const { return *seen_; }

private:
    std::shared_ptr<bool> seen_;
};

// Path of a fixture in tests/data.
QString DataPath(const QString& name);

// Path of a file of the real example data (scripts/fetch-real-data.sh: BSA2.mzML, BSA3.mzML,
// proteins.fasta, proteins-target-decoy.fasta), or an empty string when it is not there. The
// folder is $ZAR_REAL_DATA, else the script's default cache folder. Tests skip when empty:
//   const QString run = zartest::RealDataPath("BSA2.mzML");
//   if (run.isEmpty()) GTEST_SKIP() << "real data not fetched";
QString RealDataPath(const QString& name);

// Runs body in a child process and returns its result, or -1 when the child did not end
// normally. The body must not start threads or show windows; what it leaves on disk is there
// for the parent to check.
int RunInChildProcess(const std::function<int()>& body);

// The same in a child whose files may not grow beyond limitBytes, as on a full disk: a write
// past the limit fails (SIGXFSZ is ignored). Needs no privileges.
int RunWithFileSizeLimit(qint64 limitBytes, const std::function<int()>& body);

// In a child process: gives up the super-user's rights (which write into read-only folders), so
// that a folder without write permission behaves as a read-only one. False when that fails.
bool DropSuperUserRights();

// Pages of a PDF file as its page objects count them; -1 when the file is not a PDF.
int PdfPageCount(const QString& path);

}  // namespace zartest
