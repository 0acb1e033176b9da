// Replays every stored input of every fuzz target, seeds and past failures alike, through the
// same entry points the fuzzer drives. A crash or sanitizer report here is a regression.

#include "FuzzSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using Entry = int (*)(const std::uint8_t*, std::size_t);

// The seeds and past failures of a target; an on-disk target shares those of its reader's
// in-memory target.
QStringList StoredInputs(const char* target) {
    QStringList names{QLatin1String(target)};
    if (names[0].endsWith(QLatin1String("OnDisk"))) names << names[0].chopped(6);
    QStringList paths;
    for (const QString& name : names) {
        for (const char* kind : {"corpus", "regressions"}) {
            const QDir folder(QStringLiteral(ZAR_FUZZ_DATA_DIR "/%1/%2").arg(QLatin1String(kind), name));
            for (const QFileInfo& file : folder.entryInfoList(QDir::Files, QDir::Name))
                paths << file.filePath();
        }
    }
    return paths;
}

void Replay(const char* target, Entry entry) {
    const QStringList inputs = StoredInputs(target);
    ASSERT_FALSE(inputs.isEmpty()) << "every target has seeds";
    EXPECT_EQ(entry(nullptr, 0), 0) << "the empty input";
    for (const QString& path : inputs) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray bytes = file.readAll();
        // Named before it runs: a crash report follows the name.
        std::fprintf(stderr, "replaying %s\n", qPrintable(path));
        EXPECT_EQ(entry(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                        static_cast<std::size_t>(bytes.size())),
                  0)
            << path.toStdString();
    }
}

#define ZAR_REPLAY_TARGET(Name)              \
    TEST(FuzzReplay, Name) {                 \
        Replay(#Name, &zarfuzz::Fuzz##Name); \
    }
ZAR_FUZZ_TARGETS(ZAR_REPLAY_TARGET)
#undef ZAR_REPLAY_TARGET

}  // namespace
