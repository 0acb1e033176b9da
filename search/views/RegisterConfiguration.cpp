#include "RegisterConfiguration.h"

#include "SettingsPropertySheet.h"
#include "app/FrameCommands.h"
#include "app/MainFrame.h"

namespace zar {

void RegisterConfigurationSheet() {
    RegisterFrameCommand(ID_OPTIONS_CONFIGURATION, [](CMainFrame& frame) {
        CSettingsPropertySheet sheet(QStringLiteral("Configuration Settings"), &frame, 0);
        sheet.DoModal();
    });
}

}  // namespace zar
