#pragma once
// How a long database operation reports: status text, a percentage, lines of a message list,
// and a cancel flag that it polls between entries. Each report is optional.

#include <QString>

#include <atomic>
#include <functional>

namespace zar {

class WorkProgress {
  public:
    std::function<void(const QString&)> onStatus;
    std::function<void(int percent)> onPercent;
    std::function<void(const QString&)> onListLine;
    const std::atomic<bool>* cancelFlag = nullptr;

    void status(const QString& text) const {
        if (onStatus) onStatus(text);
    }
    void percent(int value) const {
        if (onPercent) onPercent(value);
    }
    void listLine(const QString& text) const {
        if (onListLine) onListLine(text);
    }
    bool cancelled() const { return cancelFlag && cancelFlag->load(std::memory_order_relaxed); }
};

}  // namespace zar
