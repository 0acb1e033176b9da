#include "StopSignal.h"

#include <atomic>
#include <csignal>

namespace zar {

namespace {

std::atomic<bool> gStop{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnStopSignal(int) {
    gStop.store(true, std::memory_order_relaxed);
}

}  // namespace

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted waits are resumed; the work loops look at the request themselves.
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool StopRequested() {
    return gStop.load(std::memory_order_relaxed);
}

void RequestStop() {
    gStop.store(true, std::memory_order_relaxed);
}

}  // namespace zar
