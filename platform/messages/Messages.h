#pragma once
// Window messages between threads and windows: a message keeps its number and its two
// parameters; a payload travels as an owned copy and is freed with the message when nobody
// takes it. A receiver dispatches by a table of number -> handler (its message map).

#include <QEvent>
#include <QObject>
#include <QString>

#include <any>
#include <cstdint>
#include <functional>
#include <unordered_map>

namespace zar {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// First number of the program's private messages; registered messages start at 0xC000.
constexpr unsigned WM_USER = 0x0400;
constexpr unsigned kFirstRegisteredMessage = 0xC000;

class MessageEvent : public QEvent {
public:
    MessageEvent(unsigned message, WPARAM wParam, LPARAM lParam, std::any payload = {});
    static QEvent::Type eventType();

    unsigned message() const { return message_; }
    WPARAM wParam() const { return wParam_; }
    LPARAM lParam() const { return lParam_; }
    // The payload posted with the message; a handler may move it out.
    std::any& payload() { return payload_; }
    // What the handler returned, for SendMessage.
    LRESULT result() const { return result_; }
    void setResult(LRESULT r) { result_ = r; }

private:
    unsigned message_;
    WPARAM wParam_;
    LPARAM lParam_;
    std::any payload_;
    LRESULT result_ = 0;
};

// What a handler receives.
struct Message {
    unsigned message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::any* payload = nullptr;  // null when sent without one

    template <class T>
    const T* payloadAs() const {
        return payload ? std::any_cast<T>(payload) : nullptr;
    }
};

using MessageHandler = std::function<LRESULT(const Message&)>;

// The table of number -> handler of one receiver.
class MessageMap {
public:
    void on(unsigned message, MessageHandler handler);
    bool handles(unsigned message) const;
    // Calls the handler of the message; false when the map has none.
    bool dispatch(const Message& message, LRESULT* result = nullptr) const;
    // For QObject::event(): true when the event was a message this map handled.
    bool handleEvent(QEvent* event) const;

private:
    std::unordered_map<unsigned, MessageHandler> handlers_;
};

// A QObject that owns a message map; windows that are not QObjects of this kind call
// MessageMap::handleEvent from their own event() instead.
class MessageReceiver : public QObject {
public:
    explicit MessageReceiver(QObject* parent = nullptr) : QObject(parent) {}
    MessageMap& messageMap() { return map_; }

protected:
    bool event(QEvent* e) override;

private:
    MessageMap map_;
};

// Queues the message for the target's thread; safe from any thread. False when there is no
// target (the payload is then freed at once).
bool PostMessage(QObject* target, unsigned message, WPARAM wParam = 0, LPARAM lParam = 0,
                 std::any payload = {});

// Delivers the message at once on the calling thread (the caller must be the target's thread).
LRESULT SendMessage(QObject* target, unsigned message, WPARAM wParam = 0, LPARAM lParam = 0,
                    std::any payload = {});

// One number per name for the life of the process, the same for every caller; 0 for an empty name.
unsigned RegisterWindowMessage(const QString& name);
// The name a registered number stands for, empty when none.
QString RegisteredMessageName(unsigned message);

}  // namespace zar
