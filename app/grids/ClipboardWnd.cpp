#include "ClipboardWnd.h"

#include "core/MessageBox.h"

#include <QClipboard>
#include <QGuiApplication>

namespace zar {

CClipboardWnd::CClipboardWnd(QWidget* owner) : owner_(owner) {
    if (!owner_) return;
    QClipboard* clipboard = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::clipboard()
                                : nullptr;
    if (!clipboard) {
        ZarMessageBox(QStringLiteral("Cannot open the Clipboard"));
        return;
    }
    clipboard->clear();
    open_ = true;
}

CClipboardWnd::~CClipboardWnd() { owner_ = nullptr; }

bool SetClipboardUnicodeText(const QString& text) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
    QGuiApplication::clipboard()->setText(text);
    return true;
}

void CopyStringToClipboard(QWidget*, const QString& text) { SetClipboardUnicodeText(text); }

}  // namespace zar
