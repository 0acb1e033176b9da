#pragma once
// Messages that the database look-ups and the database workers post.

#include "document/ZarMessages.h"
#include "messages/Messages.h"

namespace zar::dbmsg {

// The look-ups post the program's results-window messages (document/ZarMessages.h):
// kMsgReadingFrameEnable (wParam the database kind), kMsgRowCount (wParam sequence length / 50
// + 1), kMsgSequenceRecord and kMsgSequencePeptide (payload ProteinSequenceRecord),
// kMsgSequenceCoverage (payload ProteinLookupResult), kMsgCoverageUpdate (wParam the owner view)
// and kMsgDatabaseSearchEnded (wParam the owner view, payload the result).

// To a status dialog: the status text (payload QString), the progress position (wParam 0 to
// 100), one line of its message list (payload QString), and the end of the work (payload the
// result). Numbers are registered once per process.
unsigned StatusTextMessage();
unsigned ProgressMessage();
unsigned ListLineMessage();
unsigned WorkDoneMessage();

}  // namespace zar::dbmsg
