// ZarvikBrowser: the program's entry.

#include "MainFrame.h"
#include "ZarApp.h"
#include "databases/views/RegisterDatabaseTools.h"
#include "databases/views/RegisterPepmapViews.h"
#include "infobar/InfoBar.h"
#include "resultviews/RegisterResultViews.h"
#include "resultviews/views/RegisterResultFormViews.h"
#include "search/views/RegisterConfiguration.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "core/Log.h"
#include "core/Numbers.h"
#include "gui/GuiMessageBox.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZarvikBrowser"));
    QApplication::setOrganizationName(QStringLiteral("Korvath"));
    // Qt took the user's locale for everything; numbers in files stay in the "C" format.
    zar::UseCNumericLocale();
    zar::InstallGuiMessageBox();
    zar::LogLine(QStringLiteral("ZarvikBrowser started"));

    // The spectrum and trace panes are known before the first layout is made.
    zar::RegisterSpectrumViews();
    zar::RegisterDatabaseTools();
    zar::RegisterResultFormViews();
    zar::RegisterPepmapViews();
    zar::CZarApp zarApp;
    if (!zarApp.InitInstance(QApplication::arguments().mid(1))) return 0;
    // The subsystems plug their views, commands and windows into the frame.
    zar::RegisterResultViews(*zarApp.GetMainFrame());
    if (!zar::CreateInfoBar(*zarApp.GetMainFrame())) return 1;
    zar::RegisterConfigurationSheet();
    const int rc = QApplication::exec();
    zar::LogLine(QStringLiteral("ZarvikBrowser ended"));
    return rc;
}
