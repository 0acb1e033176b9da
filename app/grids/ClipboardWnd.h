#pragma once
// Text on the clipboard, under a guard that holds the clipboard while it lives.

#include <QString>

class QWidget;

namespace zar {

class CClipboardWnd {
public:
    // With an owner, takes the clipboard and empties it; says so when there is no clipboard.
    explicit CClipboardWnd(QWidget* owner);
    ~CClipboardWnd();
    CClipboardWnd(const CClipboardWnd&) = delete;
    CClipboardWnd& operator=(const CClipboardWnd&) = delete;

    bool IsOpen() const { return open_; }

private:
    QWidget* owner_;
    bool open_ = false;
};

// Puts the text on the clipboard as Unicode text; the caller holds a CClipboardWnd.
void CopyStringToClipboard(QWidget* owner, const QString& text);
bool SetClipboardUnicodeText(const QString& text);

}  // namespace zar
