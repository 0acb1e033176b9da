#include "TokenFile.h"

#include "NotifyProtocol.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryFile>

#include <cstdio>

namespace zar {

namespace {

constexpr int kTokenWords = 4;

bool MayTravel(const QByteArray& token) {
    return IsNotifyWord(std::string_view(token.constData(), static_cast<std::size_t>(token.size())),
                        kMaxNotifyTokenLength);
}

}  // namespace

QString NewChannelToken() {
    QString token;
    for (int i = 0; i < kTokenWords; ++i)
        token += QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16,
                                          QLatin1Char('0'));
    return token;
}

bool WriteTokenFile(const QString& path, const QString& token) {
    // A temporary file is readable by its user alone; it is renamed over the old token.
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    const QByteArray bytes = token.toLatin1() + '\n';
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) return false;
    file.close();
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}

QString ReadTokenFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    const QByteArray token = file.read(kMaxNotifyTokenLength + 2).trimmed();
    return MayTravel(token) ? QString::fromLatin1(token) : QString();
}

QByteArray TokenRequestLine(const QString& token, const QByteArray& request) {
    return token.toLatin1() + ' ' + request + '\n';
}

bool SplitTokenRequestLine(const QByteArray& line, QString& token, QByteArray& request) {
    const qsizetype blank = line.indexOf(' ');
    if (blank <= 0) return false;
    const QByteArray word = line.left(blank);
    if (!MayTravel(word)) return false;
    token = QString::fromLatin1(word);
    request = line.mid(blank + 1);
    return true;
}

}  // namespace zar
