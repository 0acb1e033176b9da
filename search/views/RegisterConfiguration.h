#pragma once
// Options > Configuration: the command that opens the Configuration sheet.

namespace zar {

// Call once after the main frame is made.
void RegisterConfigurationSheet();

}  // namespace zar
