#pragma once
// Tokens of the local channels. The notification channel hands each child its token through
// the environment; a server that others find by a known path (the SORVEX Queue) keeps its token
// in a file only its user may read, and takes only requests that carry it: "<token> <request>".

#include <QByteArray>
#include <QString>

namespace zar {

// A new random token: 32 hexadecimal digits.
QString NewChannelToken();

// Writes the token (replacing the file whole); the file may be read by its user alone.
bool WriteTokenFile(const QString& path, const QString& token);
// The token of the file; empty when there is none that may travel.
QString ReadTokenFile(const QString& path);

// A request line "<token> <request>\n"; and back: false when the line has no token.
QByteArray TokenRequestLine(const QString& token, const QByteArray& request);
bool SplitTokenRequestLine(const QByteArray& line, QString& token, QByteArray& request);

}  // namespace zar
