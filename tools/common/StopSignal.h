#pragma once
// How an outside program is asked to stop: the launcher sends SIGTERM (Cancel, Stop Search, the
// program's exit), and only after a grace time SIGKILL. The program notes the request, ends
// its own children, removes its scratch files and leaves with kToolStopped.

namespace zar {

// SIGTERM, SIGINT and SIGHUP set the request instead of ending the process at once.
void CatchStopSignals();
// Whether a stop was asked for.
bool StopRequested();
// Asks for a stop as the signal does (tests).
void RequestStop();

}  // namespace zar
