#pragma once
// The one way the program shows a message box. Engines and workers call ZarMessageBox; the
// program installs a window-showing handler at start-up, tests install a capturing one.

#include <QString>

#include <functional>

namespace zar {

// Button sets and icons, with the values the program's code was written against.
enum MessageBoxStyle : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_TYPEMASK = 0xF,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_ICONMASK = 0xF0,
};

// The answers.
enum MessageBoxAnswer : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

struct MessageBoxRequest {
    QString text;
    QString title;
    unsigned style = MB_OK | MB_ICONEXCLAMATION;
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Shows the message and returns the button pressed. Safe to call from any thread.
int ZarMessageBox(const QString& text, unsigned style = MB_OK | MB_ICONEXCLAMATION,
                  const QString& title = QString());

// Installs the handler that shows messages; returns the previous one. An empty handler
// restores the default, which logs the message and answers with the style's first button.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The answer a box of this style gives when nobody is there to press a button.
int DefaultAnswer(unsigned style);

}  // namespace zar
