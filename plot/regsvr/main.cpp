// Registers the plotting server in the user's registry (or removes it with -u):
//   zar_regplot [-u] [path of ZAR_Plot.so]
// Without a path, the server beside this program is used.

#include "com/ComError.h"
#include "com/ComRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    bool unregister = false;
    QString path;
    const QStringList args = app.arguments().mid(1);
    for (const QString& arg : args) {
        if (arg == QLatin1String("-u") || arg == QLatin1String("/u"))
            unregister = true;
        else
            path = arg;
    }
    if (path.isEmpty())
        path = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("ZAR_Plot.so"));
    path = QFileInfo(path).absoluteFilePath();
    const zar::HRESULT hr = zar::RegisterServerLibrary(path, unregister);
    if (zar::FAILED(hr)) {
        std::fprintf(stderr, "%s of %s failed: %s\n",
                     unregister ? "Unregistration" : "Registration", qPrintable(path),
                     qPrintable(zar::HResultText(hr)));
        return 1;
    }
    std::printf("%s %s\n", unregister ? "Unregistered" : "Registered", qPrintable(path));
    return 0;
}
