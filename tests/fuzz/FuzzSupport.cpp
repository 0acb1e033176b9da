#include "FuzzSupport.h"

#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "registry/RegKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <map>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace zarfuzz {

QString WorkFolder() {
    static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/zar-fuzz-XXXXXX"));
    return folder.path();
}

void InitializeFuzzing() {
    static bool done = false;
    if (done) return;
    done = true;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "zar-fuzz";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }
    zar::UseCNumericLocale();
    zar::SetMessageBoxHandler(
        [](const zar::MessageBoxRequest& r) { return zar::DefaultAnswer(r.style); });
    // The messages the readers give are not logged: a log line is a file opened and written.
    qputenv("ZAR_LOG_DIR", "/dev/null/no-log");
    const QString settings = WorkFolder() + QStringLiteral("/settings");
    QDir().mkpath(settings);
    qputenv("ZAR_CONFIG_DIR", settings.toLocal8Bit());
    zar::ResetRegistryCache();
}

QString WriteInput(const QString& name, const QByteArray& bytes) {
    const QString path = WorkFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        file.write(bytes);
    return path;
}

QByteArray InputBytes(const std::uint8_t* data, std::size_t size) {
    // A copy ends with a zero byte, as the bytes of a file read into memory do.
    return size == 0 ? QByteArray()
                     : QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

QString WriteInput(const QString& name, const std::uint8_t* data, std::size_t size) {
    return WriteInput(name, QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                                    static_cast<qsizetype>(size)));
}

QString EmptyFolder(const QString& name) {
    const QString path = WorkFolder() + QLatin1Char('/') + name;
    // Each folder stays open and is read again from its start: this runs for every input, and
    // opening a folder costs more than emptying a small one.
    static std::map<QString, std::unique_ptr<DIR, int (*)(DIR*)>> opened;
    auto found = opened.find(path);
    if (found != opened.end()) {
        ::rewinddir(found->second.get());
    } else {
        QDir().mkpath(path);
        DIR* made = ::opendir(QFile::encodeName(path).constData());
        if (!made) return path;
        found = opened.emplace(path, std::unique_ptr<DIR, int (*)(DIR*)>(made, ::closedir)).first;
    }
    DIR* folder = found->second.get();
    while (const dirent* entry = ::readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        if (::unlinkat(::dirfd(folder), entry->d_name, 0) != 0)
            QDir(path + QLatin1Char('/') + QFile::decodeName(entry->d_name)).removeRecursively();
    }
    return path;
}

}  // namespace zarfuzz
