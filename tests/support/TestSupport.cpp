#include "TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "messages/Messages.h"
#include "registry/RegKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <csignal>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace zartest {

MessageBoxCapture::MessageBoxCapture()
    : shown_(std::make_shared<std::vector<zar::MessageBoxRequest>>()),
      answers_(std::make_shared<std::deque<int>>()) {
    auto shown = shown_;
    auto answers = answers_;
    previous_ = zar::SetMessageBoxHandler([shown, answers](const zar::MessageBoxRequest& r) {
        shown->push_back(r);
        if (answers->empty()) return zar::DefaultAnswer(r.style);
        const int a = answers->front();
        answers->pop_front();
        return a;
    });
}

MessageBoxCapture::~MessageBoxCapture() { zar::SetMessageBoxHandler(previous_); }

QStringList MessageBoxCapture::texts() const {
    QStringList t;
    for (const auto& r : *shown_) t.append(r.text);
    return t;
}

ShellOpenCapture::ShellOpenCapture()
    : urls_(std::make_shared<std::vector<QUrl>>()),
      failures_(std::make_shared<QStringList>()),
      accept_(std::make_shared<bool>(true)) {
    auto urls = urls_;
    auto failures = failures_;
    auto accept = accept_;
    previous_ = zar::SetShellOpener([urls, failures, accept](const QUrl& url, const QString& failure) {
        urls->push_back(url);
        failures->append(failure);
        return *accept;
    });
}

ShellOpenCapture::~ShellOpenCapture() { zar::SetShellOpener(previous_); }

ScopedConfigDir::ScopedConfigDir() : previous_(qgetenv("ZAR_CONFIG_DIR")) {
    qputenv("ZAR_CONFIG_DIR", dir_.path().toLocal8Bit());
    zar::ResetRegistryCache();
}

ScopedConfigDir::~ScopedConfigDir() {
    qputenv("ZAR_CONFIG_DIR", previous_);
    zar::ResetRegistryCache();
}

namespace {

// Sets or clears the immutable attribute of a folder; false when the file system or the
// process's rights do not allow it.
bool SetImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

bool CanCreateFileIn(const QString& folder) {
    QFile probe(QDir(folder).filePath(QStringLiteral(".write-probe")));
    if (!probe.open(QIODevice::WriteOnly)) return false;
    probe.close();
    probe.remove();
    return true;
}

}  // namespace

ScopedUnwritableFolder::ScopedUnwritableFolder(const QString& path) : path_(path) {
    QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (!CanCreateFileIn(path_)) {
        ok_ = true;
        return;
    }
    immutable_ = SetImmutable(path_, true);
    ok_ = immutable_ && !CanCreateFileIn(path_);
}

ScopedUnwritableFolder::~ScopedUnwritableFolder() {
    if (immutable_) SetImmutable(path_, false);
    QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

MessageTrap::MessageTrap(QObject* target, std::initializer_list<unsigned> messages) : messages_(messages) {
    target->installEventFilter(this);
}

bool MessageTrap::eventFilter(QObject*, QEvent* event) {
    if (event->type() != zar::MessageEvent::eventType()) return false;
    auto* m = static_cast<zar::MessageEvent*>(event);
    if (std::find(messages_.begin(), messages_.end(), m->message()) == messages_.end()) return false;
    caught_.push_back({m->message(), m->wParam(), m->lParam()});
    return true;
}

namespace {

void AnswerWhenShown(const QByteArray& className, bool accept, std::function<void(QWidget*)> fill,
                     std::shared_ptr<bool> seen, int triesLeft) {
    QTimer::singleShot(20, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (dialog && dialog->inherits(className.constData())) {
            *seen = true;
            if (fill) fill(dialog);
            if (accept)
                dialog->accept();
            else
                dialog->reject();
        } else if (triesLeft > 0) {
            AnswerWhenShown(className, accept, fill, seen, triesLeft - 1);
        }
    });
}

}  // namespace

ModalDialogAnswer::ModalDialogAnswer(const char* className, bool accept,
                                     std::function<void(QWidget*)> fill)
    : seen_(std::make_shared<bool>(false)) {
    // Gives up after some seconds, so a dialog that never comes cannot leave timers behind.
    AnswerWhenShown(QByteArray(className), accept, std::move(fill), seen_, 250);
}

QString DataPath(const QString& name) {
    return QStringLiteral(ZAR_TEST_DATA_DIR) + QLatin1Char('/') + name;
}

QString RealDataPath(const QString& name) {
    QString folder = qEnvironmentVariable("ZAR_REAL_DATA");
    if (folder.isEmpty()) {
        QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
        if (cache.isEmpty()) cache = QDir::homePath() + QStringLiteral("/.cache");
        folder = cache + QStringLiteral("/zar-real-data");
    }
    const QFileInfo file(folder + QLatin1Char('/') + name);
    return file.isFile() && file.size() > 0 ? file.absoluteFilePath() : QString();
}

int RunInChildProcess(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) _exit(body());
    int status = 0;
    if (waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunWithFileSizeLimit(qint64 limitBytes, const std::function<int()>& body) {
    return RunInChildProcess([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(limitBytes), static_cast<rlim_t>(limitBytes)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 125;
        return body();
    });
}

bool DropSuperUserRights() {
    constexpr uid_t kNobody = 65534;
    if (geteuid() != 0) return true;
    return setgid(kNobody) == 0 && setuid(kNobody) == 0 && geteuid() == kNobody;
}

int PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("%PDF")) return -1;
    // "/Type /Pages" (the page tree) is not a page: only the marks a separator ends.
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                            bytes.count("/Type /Page "));
}

}  // namespace zartest
