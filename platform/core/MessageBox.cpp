#include "core/MessageBox.h"

#include "core/Log.h"

#include <mutex>

namespace zar {
namespace {

std::mutex& handlerMutex() {
    static std::mutex m;
    return m;
}

MessageBoxHandler& currentHandler() {
    static MessageBoxHandler handler;
    return handler;
}

}  // namespace

int DefaultAnswer(unsigned style) {
    switch (style & MB_TYPEMASK) {
        case MB_ABORTRETRYIGNORE: return IDABORT;
        case MB_YESNOCANCEL:
        case MB_YESNO: return IDYES;
        case MB_RETRYCANCEL: return IDRETRY;
        default: return IDOK;
    }
}

int ZarMessageBox(const QString& text, unsigned style, const QString& title) {
    MessageBoxHandler handler;
    {
        std::lock_guard lock(handlerMutex());
        handler = currentHandler();
    }
    LogLine(QStringLiteral("message: ") + text);
    MessageBoxRequest request{text, title, style};
    if (!handler) return DefaultAnswer(style);
    return handler(request);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard lock(handlerMutex());
    MessageBoxHandler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}

}  // namespace zar
