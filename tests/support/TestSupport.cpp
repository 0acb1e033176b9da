#include "TestSupport.h"

#include "messages/Messages.h"
#include "registry/RegKey.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <csignal>

#include <sys/resource.h>
#include <sys/wait.h>
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

ScopedConfigDir::ScopedConfigDir() : previous_(qgetenv("ZAR_CONFIG_DIR")) {
    qputenv("ZAR_CONFIG_DIR", dir_.path().toLocal8Bit());
    zar::ResetRegistryCache();
}

ScopedConfigDir::~ScopedConfigDir() {
    qputenv("ZAR_CONFIG_DIR", previous_);
    zar::ResetRegistryCache();
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

}  // namespace zartest
