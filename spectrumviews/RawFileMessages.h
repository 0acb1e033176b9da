#pragma once
// The messages the spectrum engines show when they cannot use a run.

namespace zar {

constexpr const char* kRawFileOpenFailedText =
    "Error - failed to open raw file.\nThe raw file may be a newer revision or damaged.";
constexpr const char* kRawFileNoMSDataText =
    "Error - this raw file does not contain any MS data.\n\nRaw files used within Zarvik "
    "Browser must contain MS/MS data.";

}  // namespace zar
