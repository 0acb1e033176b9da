#pragma once
// The program's private window messages (posted to the main frame or the results window) and
// the names of the messages that child programs register. Numbers are fixed: outside programs
// and stored layouts never see them, but every poster and handler must agree.

namespace zar {

// Main frame.
constexpr unsigned kMsgMassmapReshowSheet = 0x408D;  // re-show the Massmap sheet, stop extraction
constexpr unsigned kMsgSorvexReshowSheet = 0x408E;   // the same for the Sorvex sheet
constexpr unsigned kMsgMassmapLauncherEnded = 0x4091;
constexpr unsigned kMsgSorvexLauncherEnded = 0x4094;
constexpr unsigned kMsgSheetIgnored = 0x4096;
constexpr unsigned kMsgSorvexResultsLoaded = 0x4097;
constexpr unsigned kMsgMassmapResultsLoaded = 0x4098;
constexpr unsigned kMsgDenovoSpectraLoaded = 0x4099;
constexpr unsigned kMsgResultsLoadEnded = 0x40A1;  // last message of every result load
constexpr unsigned kMsgZarmassCalculated = 0x40A2;
constexpr unsigned kMsgZarmassUpdated = 0x40A3;  // lParam 1 or 0
constexpr unsigned kMsgZarmassBroadcast = 0x40A4;
constexpr unsigned kMsgZarmassOwnerFirst = 0x40A5;  // 0x40A5 to 0x40A7, to the engine's owner
constexpr unsigned kMsgZarmassOwnerLast = 0x40A7;
constexpr unsigned kMsgSummaryCellSelected = 0x40A8;  // wParam hit number, lParam column
constexpr unsigned kMsgMassmapCellSelected = 0x40A9;
constexpr unsigned kMsgDenovoCandidateSelected = 0x40AD;  // payload: the selection record
constexpr unsigned kMsgPepmatchDone = 0x40AE;
constexpr unsigned kMsgXpressUpdated = 0x40AF;  // wParam the hit number or 0, lParam 1 or 0
constexpr unsigned kMsgDtaCount = 0x40B0;       // wParam number of files
constexpr unsigned kMsgDtaListClear = 0x40B1;
constexpr unsigned kMsgDtaFileName = 0x40B2;    // payload QString file name, lParam row
constexpr unsigned kMsgDtaSearchTime = 0x40B3;  // wParam time, lParam row
constexpr unsigned kMsgSequenceChanged = 0x40B4;
constexpr unsigned kMsgPepmapChanged = 0x40B5;
constexpr unsigned kMsgMultipleResultsLoaded = 0x40B8;
constexpr unsigned kMsgZarmassInfo = 0x40B9;
constexpr unsigned kMsgZarmassResults = 0x40BA;
constexpr unsigned kMsgZarmassClear = 0x40BB;
constexpr unsigned kMsgUserTracesChanged = 0x40BC;

// Results window.
constexpr unsigned kMsgSequenceRecord = 0x409B;
constexpr unsigned kMsgSequencePeptide = 0x409C;
constexpr unsigned kMsgSequenceCoverage = 0x409D;
constexpr unsigned kMsgRowCount = 0x409E;
constexpr unsigned kMsgReadingFrameEnable = 0x409F;
constexpr unsigned kMsgOutputFileEnable = 0x40A0;
constexpr unsigned kMsgIonsValue = 0x40AB;
constexpr unsigned kMsgIonsMassList = 0x40AC;
constexpr unsigned kMsgDatabaseSearchEnded = 0x40B6;
constexpr unsigned kMsgCoverageUpdate = 0x40B7;

// Range of the private messages.
constexpr unsigned kFirstPrivateMessage = 0x408D;
constexpr unsigned kLastPrivateMessage = 0x40BC;

// Names of the registered messages that child programs post to the main window.
constexpr const char* kRegDatabaseSize = "WM_DATABASE_SIZE";
constexpr const char* kRegDravelMSProgress = "ZV_DRAVELMS_PROGRESS";
constexpr const char* kRegDravelMSnProgress = "ZV_DRAVELMSN_PROGRESS";
constexpr const char* kRegMassmapProgress = "ZV_MASSMAP_PROGRESS";
constexpr const char* kRegSorvexProgress = "ZV_SORVEX_PROGRESS";

}  // namespace zar
