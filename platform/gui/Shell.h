#pragma once
// Opening documents and web addresses with the user's desktop.

#include <QString>
#include <QUrl>

class QWidget;

namespace zar {

// Opens a web address (http or https only) or an existing local file with the desktop's
// handler. Anything else is refused with a message; returns whether it was handed over.
bool OpenWithShell(const QString& target, QWidget* parent = nullptr);
bool OpenUrlWithShell(const QUrl& url, QWidget* parent = nullptr);

}  // namespace zar
