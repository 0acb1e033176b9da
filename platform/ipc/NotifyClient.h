#pragma once
// The child's side of the notification channel. A program that the main program starts finds
// in its environment (ZV_NOTIFY) where the main program listens and the token of its run, and
// posts registered window messages there: the main window receives them as the messages
// registered under those names. Plain C++ on POSIX sockets, so that every outside program can
// link it; no Qt.

#include <cstdint>
#include <string>

namespace zar {

// "<token>:<socket path>"; set by the launcher for each run.
constexpr const char* kNotifyVariable = "ZV_NOTIFY";

// Posts (name, wParam, lParam) to the main window. False when the program was not started with
// a channel (ZV_NOTIFY unset or malformed), the main program no longer listens, or the name is
// empty, longer than 64 characters or holds a blank. Records of one process arrive in the order
// they were posted. Safe from any thread.
bool PostRegisteredMessage(const char* name, std::uintptr_t wParam, std::intptr_t lParam);

// A message through the standard-error pipe: writes the text (UTF-8 in) to standard error as
// UTF-16 little-endian code units, all of it, then posts (name, 0, bytes written). The reader
// takes at most 2048 bytes, so texts longer than 1023 characters arrive cut. False when the
// write failed (nothing is posted then) or the post failed.
bool PostPipeMessage(const char* name, const std::string& utf8Text);

// wParam of two 16-bit words, as the progress messages pack file number and percent.
constexpr std::uintptr_t MakeWParam(unsigned low, unsigned high) {
    return static_cast<std::uintptr_t>(low & 0xFFFFu) |
           (static_cast<std::uintptr_t>(high & 0xFFFFu) << 16);
}

// Closes the connection; the next post opens it again. Exiting closes it too.
void CloseNotifyChannel();

}  // namespace zar
