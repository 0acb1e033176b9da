#pragma once
// Helpers shared by the tests.

#include "core/MessageBox.h"

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

}  // namespace zartest
