#include "gui/Shell.h"

#include "core/MessageBox.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace zar {

bool OpenUrlWithShell(const QUrl& url, QWidget*) {
    const QString scheme = url.scheme().toLower();
    const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
    const bool file = url.isLocalFile() && QFileInfo::exists(url.toLocalFile());
    if (!url.isValid() || (!web && !file)) {
        ZarMessageBox(QStringLiteral("there is no association for the file type"), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!QDesktopServices::openUrl(url)) {
        ZarMessageBox(QStringLiteral("Unable to open %1").arg(url.toDisplayString()), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool OpenWithShell(const QString& target, QWidget* parent) {
    const QString t = target.trimmed();
    if (t.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        t.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return OpenUrlWithShell(QUrl(t, QUrl::TolerantMode), parent);
    return OpenUrlWithShell(QUrl::fromLocalFile(t), parent);
}

}  // namespace zar
