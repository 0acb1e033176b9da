#pragma once
// Opening documents and web addresses with the user's desktop.

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

namespace zar {

// Opens a web address (http or https only) or an existing local file with the desktop's
// handler; anything else is refused with a message. When no program can be started for it the
// user is told so, with failureText, or by default a text naming the address or file. Returns
// whether the target was handed over (a failure found later is told all the same).
bool OpenWithShell(const QString& target, QWidget* parent = nullptr,
                   const QString& failureText = QString());
bool OpenUrlWithShell(const QUrl& url, QWidget* parent = nullptr,
                      const QString& failureText = QString());

// Opens a web address only (http or https): a look-up address taken from the settings never
// hands a local file or another scheme to the desktop; anything else is refused with a message.
bool OpenWebUrlWithShell(const QUrl& url, QWidget* parent = nullptr,
                         const QString& failureText = QString());

// The text told when nothing could be started for the url.
QString ShellFailureText(const QUrl& url);

// How a checked target reaches the desktop: false when it could not be handed over at once; a
// failure found later is told with ZarMessageBox(failureText). Returns the previous opener; an
// empty one restores the desktop's (tests put their own in place).
using ShellOpener = std::function<bool(const QUrl& url, const QString& failureText)>;
ShellOpener SetShellOpener(ShellOpener opener);

// The desktop's opener: "xdg-open", in a session of its own so that what it starts outlives the
// program, watched until it ends (its exit status says whether anything took the target);
// without it, Qt's desktop services.
bool OpenWithDesktop(const QUrl& url, const QString& failureText);

}  // namespace zar
