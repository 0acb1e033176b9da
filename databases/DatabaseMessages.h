#pragma once
// Messages that the database look-ups and the database workers post.

#include "messages/Messages.h"

namespace zar::dbmsg {

// To the results window (wParam as noted; payloads are owned copies).
constexpr unsigned kDatabaseKind = 0x409F;     // wParam: 0 protein, else nucleotide database
constexpr unsigned kSequenceRows = 0x409E;     // wParam: sequence length / 50 + 1
constexpr unsigned kSequenceRecord = 0x409B;   // payload: ProteinSequenceRecord
constexpr unsigned kPositionRecord = 0x409C;   // payload: ProteinSequenceRecord
constexpr unsigned kCoverageRecord = 0x409D;   // payload: ProteinLookupResult
constexpr unsigned kCoverageRefresh = 0x40B7;  // wParam: the owner view
constexpr unsigned kLookupFinished = 0x40B6;   // wParam: the owner view; payload: the result

// To a status dialog: the status text (payload QString), the progress position (wParam 0 to
// 100), one line of its message list (payload QString), and the end of the work (payload the
// result). Numbers are registered once per process.
unsigned StatusTextMessage();
unsigned ProgressMessage();
unsigned ListLineMessage();
unsigned WorkDoneMessage();

}  // namespace zar::dbmsg
