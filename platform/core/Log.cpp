#include "core/Log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <mutex>

namespace zar {

QString LogDirectory() {
    const QByteArray env = qgetenv("ZAR_LOG_DIR");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    QByteArray state = qgetenv("XDG_STATE_HOME");
    QString base = state.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/state")
                                   : QString::fromLocal8Bit(state);
    return base + QStringLiteral("/Korvath");
}

QString LogFilePath() { return LogDirectory() + QStringLiteral("/ZarvikBrowser.log"); }

void LogLine(const QString& line) {
    static std::mutex m;
    std::lock_guard lock(m);
    const QString dir = LogDirectory();
    if (!QDir().mkpath(dir)) return;
    QFile file(LogFilePath());
    // Keep the log from growing without bound: start again past 4 MiB.
    const bool tooLarge = file.exists() && file.size() > 4 * 1024 * 1024;
    if (!file.open(QIODevice::WriteOnly | (tooLarge ? QIODevice::Truncate : QIODevice::Append)))
        return;
    const QString stamp = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
    file.write((stamp + QLatin1Char(' ') + line + QLatin1Char('\n')).toUtf8());
}

}  // namespace zar
