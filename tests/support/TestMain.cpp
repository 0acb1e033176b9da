// Main of every test executable.

#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "gui/Shell.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Nothing a test does may touch the user's own settings or log.
    QTemporaryDir home;
    qputenv("ZAR_CONFIG_DIR", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("ZAR_LOG_DIR", (home.path() + QStringLiteral("/log")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    zar::UseCNumericLocale();
    // An unexpected message box must never block a test run.
    zar::SetMessageBoxHandler([](const zar::MessageBoxRequest& r) { return zar::DefaultAnswer(r.style); });
    // Nor may it start the user's browser or spreadsheet program.
    zar::SetShellOpener([](const QUrl&, const QString&) { return true; });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
