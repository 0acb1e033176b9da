#include "messages/Messages.h"

#include <QCoreApplication>
#include <QHash>

#include <mutex>

namespace zar {

MessageEvent::MessageEvent(unsigned message, WPARAM wParam, LPARAM lParam, std::any payload)
    : QEvent(eventType()), message_(message), wParam_(wParam), lParam_(lParam), payload_(std::move(payload)) {}

QEvent::Type MessageEvent::eventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void MessageMap::on(unsigned message, MessageHandler handler) { handlers_[message] = std::move(handler); }

bool MessageMap::handles(unsigned message) const { return handlers_.count(message) != 0; }

bool MessageMap::dispatch(const Message& message, LRESULT* result) const {
    const auto it = handlers_.find(message.message);
    if (it == handlers_.end() || !it->second) return false;
    const LRESULT r = it->second(message);
    if (result) *result = r;
    return true;
}

bool MessageMap::handleEvent(QEvent* event) const {
    if (event->type() != MessageEvent::eventType()) return false;
    auto* e = static_cast<MessageEvent*>(event);
    Message m{e->message(), e->wParam(), e->lParam(), e->payload().has_value() ? &e->payload() : nullptr};
    LRESULT result = 0;
    if (!dispatch(m, &result)) return false;
    e->setResult(result);
    return true;
}

bool MessageReceiver::event(QEvent* e) {
    if (map_.handleEvent(e)) return true;
    return QObject::event(e);
}

bool PostMessage(QObject* target, unsigned message, WPARAM wParam, LPARAM lParam, std::any payload) {
    if (!target) return false;
    QCoreApplication::postEvent(target, new MessageEvent(message, wParam, lParam, std::move(payload)));
    return true;
}

LRESULT SendMessage(QObject* target, unsigned message, WPARAM wParam, LPARAM lParam, std::any payload) {
    if (!target) return 0;
    MessageEvent event(message, wParam, lParam, std::move(payload));
    QCoreApplication::sendEvent(target, &event);
    return event.result();
}

namespace {
struct Registry {
    std::mutex mutex;
    QHash<QString, unsigned> byName;
    QHash<unsigned, QString> byNumber;
    unsigned next = kFirstRegisteredMessage;
};
Registry& registry() {
    static Registry r;
    return r;
}
}  // namespace

unsigned RegisterWindowMessage(const QString& name) {
    if (name.isEmpty()) return 0;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    // Names compare without regard to case, as window-message names always have.
    const QString key = name.toLower();
    auto it = r.byName.find(key);
    if (it != r.byName.end()) return *it;
    if (r.next > 0xFFFF) return 0;
    const unsigned number = r.next++;
    r.byName.insert(key, number);
    r.byNumber.insert(number, name);
    return number;
}

QString RegisteredMessageName(unsigned message) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return r.byNumber.value(message);
}

}  // namespace zar
