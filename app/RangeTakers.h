#pragma once
// The windows that take a time range zoomed in a trace (search launchers, DTA creation,
// deconvolution smoothing) register here while they live: a taker goes with its owner.

#include <functional>

class QObject;

namespace zar {

using TimeRangeTaker = std::function<void(double start, double end)>;

// The owner's taker is called with every broadcast range (minutes) until the owner is destroyed.
void RegisterTimeRangeTaker(QObject* owner, TimeRangeTaker taker);
// Hands a range to the living takers in the order they registered.
void BroadcastToTimeRangeTakers(double start, double end);
// The living takers.
int TimeRangeTakerCount();

}  // namespace zar
