#include "gui/Shell.h"

#include "core/Log.h"
#include "core/MessageBox.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <mutex>

#include <unistd.h>

namespace zar {
namespace {

std::mutex& openerMutex() {
    static std::mutex m;
    return m;
}

ShellOpener& currentOpener() {
    static ShellOpener opener;
    return opener;
}

// Characters of an address or file name that a message shows, at most: a message box lays out
// all it is given, and an address of megabytes would hold the window for a minute.
constexpr qsizetype kMaxShownAddressLength = 300;

QString ShownAddress(const QString& address) {
    if (address.size() <= kMaxShownAddressLength) return address;
    return address.left(kMaxShownAddressLength) +
           QStringLiteral("... (%1 characters)").arg(address.size());
}

}  // namespace

QString ShellFailureText(const QUrl& url) {
    if (url.isLocalFile())
        return QStringLiteral("No program could be started to open\n%1")
            .arg(ShownAddress(url.toLocalFile()));
    return QStringLiteral("No web browser could be started to open this address:\n%1")
        .arg(ShownAddress(url.toString(QUrl::FullyEncoded)));
}

ShellOpener SetShellOpener(ShellOpener opener) {
    std::lock_guard lock(openerMutex());
    ShellOpener previous = std::move(currentOpener());
    currentOpener() = std::move(opener);
    return previous;
}

bool OpenWithDesktop(const QUrl& url, const QString& failureText) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty() || !QCoreApplication::instance()) return QDesktopServices::openUrl(url);
    // Qt's desktop services hand the target to the same opener but cannot tell when it finds no
    // program for it: the opener is run here and its exit status read.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments(
        {url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->setChildProcessModifier([] { ::setsid(); });
    QObject::connect(process, &QProcess::finished, process,
                     [process, failureText](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0) {
                             LogLine(QStringLiteral("xdg-open ended with %1").arg(code));
                             ZarMessageBox(failureText);
                         }
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failureText](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         ZarMessageBox(failureText);
                         process->deleteLater();
                     });
    process->start();
    return true;
}

bool OpenUrlWithShell(const QUrl& url, QWidget*, const QString& failureText) {
    const QString scheme = url.scheme().toLower();
    const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
    const bool file = url.isLocalFile() && QFileInfo::exists(url.toLocalFile());
    if (!url.isValid() || (!web && !file)) {
        ZarMessageBox(QStringLiteral("there is no association for the file type"),
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const QString text = failureText.isEmpty() ? ShellFailureText(url) : failureText;
    ShellOpener opener;
    {
        std::lock_guard lock(openerMutex());
        opener = currentOpener();
    }
    const bool handed = opener ? opener(url, text) : OpenWithDesktop(url, text);
    if (!handed) ZarMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return handed;
}

bool OpenWebUrlWithShell(const QUrl& url, QWidget* parent, const QString& failureText) {
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        ZarMessageBox(QStringLiteral("\"%1\" is not a web address (http or https).")
                          .arg(ShownAddress(url.toDisplayString())),
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return OpenUrlWithShell(url, parent, failureText);
}

bool OpenWithShell(const QString& target, QWidget* parent, const QString& failureText) {
    const QString t = target.trimmed();
    if (t.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        t.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return OpenUrlWithShell(QUrl(t, QUrl::TolerantMode), parent, failureText);
    return OpenUrlWithShell(QUrl::fromLocalFile(t), parent, failureText);
}

}  // namespace zar
