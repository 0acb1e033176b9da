#include "core/Paths.h"

#include <QDir>
#include <QStandardPaths>

namespace zar {

QString PortablePath(const QString& stored) {
    QString p = stored.trimmed();
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.size() >= 2 && p[1] == QLatin1Char(':') && p[0].isLetter()) p.remove(0, 2);
    // Keep a leading "//" of a network path as a single root; fold the rest.
    QString out;
    out.reserve(p.size());
    for (QChar c : p) {
        if (c == QLatin1Char('/') && out.endsWith(QLatin1Char('/'))) continue;
        out.append(c);
    }
    return out;
}

QString FileNameOf(const QString& stored) {
    const qsizetype cut = std::max(stored.lastIndexOf(QLatin1Char('/')), stored.lastIndexOf(QLatin1Char('\\')));
    QString name = stored.mid(cut + 1);
    if (cut < 0 && name.size() >= 2 && name[1] == QLatin1Char(':') && name[0].isLetter()) name.remove(0, 2);
    return name;
}

QString FolderOf(const QString& stored) {
    const QString p = PortablePath(stored);
    const qsizetype cut = p.lastIndexOf(QLatin1Char('/'));
    if (cut < 0) return QString();
    if (cut == 0) return QStringLiteral("/");
    return p.left(cut);
}

QString StripExtension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = std::max(fileName.lastIndexOf(QLatin1Char('/')), fileName.lastIndexOf(QLatin1Char('\\')));
    if (dot < 0 || dot <= slash) return fileName;
    return fileName.left(dot);
}

QString JoinPath(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return name;
    QString f = PortablePath(folder);
    QString n = name;
    n.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (n.startsWith(QLatin1Char('/'))) n.remove(0, 1);
    if (f.endsWith(QLatin1Char('/'))) return f + n;
    return f + QLatin1Char('/') + n;
}

QString ConfigDirectory() {
    const QByteArray env = qgetenv("ZAR_CONFIG_DIR");
    if (!env.isEmpty()) return QDir::cleanPath(QString::fromLocal8Bit(env));
    const QByteArray xdg = qgetenv("XDG_CONFIG_HOME");
    const QString base = xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : QString::fromLocal8Bit(xdg);
    return QDir::cleanPath(base + QStringLiteral("/Korvath"));
}

}  // namespace zar
