// ZarvikBrowser: the program's entry.

#include "core/Log.h"
#include "core/Numbers.h"
#include "gui/GuiMessageBox.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZarvikBrowser"));
    QApplication::setOrganizationName(QStringLiteral("Korvath"));
    // Qt took the user's locale for everything; numbers in files stay in the "C" format.
    zar::UseCNumericLocale();
    zar::InstallGuiMessageBox();
    zar::LogLine(QStringLiteral("ZarvikBrowser started"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("ZarvikBrowser"));
    window.resize(1024, 720);
    window.show();
    const int rc = QApplication::exec();
    zar::LogLine(QStringLiteral("ZarvikBrowser ended"));
    return rc;
}
