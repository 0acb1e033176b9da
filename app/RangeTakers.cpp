#include "RangeTakers.h"

#include <QObject>
#include <QPointer>

#include <vector>

namespace zar {
namespace {

struct Taker {
    QPointer<QObject> owner;
    TimeRangeTaker call;
};

std::vector<Taker>& takers() {
    static std::vector<Taker> list;
    return list;
}

void dropDeadTakers() {
    std::erase_if(takers(), [](const Taker& t) { return t.owner.isNull(); });
}

}  // namespace

void RegisterTimeRangeTaker(QObject* owner, TimeRangeTaker taker) {
    if (!owner || !taker) return;
    dropDeadTakers();
    takers().push_back({owner, std::move(taker)});
}

void BroadcastToTimeRangeTakers(double start, double end) {
    dropDeadTakers();
    // A taker may register or go while it is told: tell a copy, skipping owners gone meanwhile.
    const std::vector<Taker> now = takers();
    for (const Taker& t : now)
        if (!t.owner.isNull()) t.call(start, end);
}

int TimeRangeTakerCount() {
    dropDeadTakers();
    return static_cast<int>(takers().size());
}

}  // namespace zar
