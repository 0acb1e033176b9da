#include "registry/RegKey.h"

#include "TestSupport.h"
#include "core/Numbers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <clocale>
#include <thread>

using namespace zar;
using zartest::MessageBoxCapture;
using zartest::ScopedConfigDir;

namespace {
const QString kProgramKey = QStringLiteral("Software\\Korvath\\Veltrix\\ZarvikBrowser");
}

TEST(Registry, ValuesReadBackWithTheirType) {
    ScopedConfigDir dir;
    RegKey key(RegRoot::CurrentUser, kProgramKey, true);
    ASSERT_TRUE(key.isValid());
    EXPECT_TRUE(key.writeString(QStringLiteral("BlastUrl"), QStringLiteral("http://localhost/blast")));
    EXPECT_TRUE(key.writeInt(QStringLiteral("MaxRank"), -7));
    EXPECT_TRUE(key.writeDouble(QStringLiteral("Tolerance"), 0.1));
    EXPECT_TRUE(key.writeStringList(QStringLiteral("Ranges"), {QStringLiteral("1"), QStringLiteral("2.5")}));
    EXPECT_TRUE(key.writeBinary(QStringLiteral("Blob"), QByteArray("\0\1\2", 3)));

    ResetRegistryCache();  // read from the file, not from memory
    RegKey again(RegRoot::CurrentUser, kProgramKey, false);
    ASSERT_TRUE(again.isValid());
    QString s;
    int i = 0;
    double d = 0;
    QStringList l;
    QByteArray b;
    EXPECT_TRUE(again.readString(QStringLiteral("BlastUrl"), s));
    EXPECT_EQ(s, QStringLiteral("http://localhost/blast"));
    EXPECT_TRUE(again.readInt(QStringLiteral("MaxRank"), i));
    EXPECT_EQ(i, -7);
    EXPECT_TRUE(again.readDouble(QStringLiteral("Tolerance"), d));
    EXPECT_EQ(d, 0.1);
    EXPECT_TRUE(again.readStringList(QStringLiteral("Ranges"), l));
    EXPECT_EQ(l, QStringList({QStringLiteral("1"), QStringLiteral("2.5")}));
    EXPECT_TRUE(again.readBinary(QStringLiteral("Blob"), b));
    EXPECT_EQ(b, QByteArray("\0\1\2", 3));
    EXPECT_EQ(again.valueType(QStringLiteral("MaxRank")), RegType::Int);
}

TEST(Registry, ReadOfMissingOrOtherTypedValueLeavesTheDefault) {
    ScopedConfigDir dir;
    RegKey key(RegRoot::CurrentUser, kProgramKey, true);
    key.writeString(QStringLiteral("Count"), QStringLiteral("12"));
    int value = 99;
    EXPECT_FALSE(key.readInt(QStringLiteral("Count"), value));
    EXPECT_FALSE(key.readInt(QStringLiteral("Missing"), value));
    EXPECT_EQ(value, 99);
}

TEST(Registry, NamesIgnoreCaseAndKeepTheirSpelling) {
    ScopedConfigDir dir;
    RegKey key(RegRoot::CurrentUser, QStringLiteral("Software\\Korvath\\Veltrix"), true);
    key.writeInt(QStringLiteral("Pairs OK"), 1);
    RegKey sub = key.subKey(QStringLiteral("Defaults/Mass Spectrometer"), true);
    ASSERT_TRUE(sub.isValid());
    int v = 0;
    EXPECT_TRUE(RegKey(RegRoot::CurrentUser, QStringLiteral("SOFTWARE/korvath/VELTRIX"), false)
                    .readInt(QStringLiteral("pairs ok"), v));
    EXPECT_EQ(v, 1);
    EXPECT_EQ(key.subKeyNames(), QStringList{QStringLiteral("Defaults")});
    EXPECT_EQ(key.valueNames(), QStringList{QStringLiteral("Pairs OK")});
}

TEST(Registry, OpeningWithoutCreateFailsForMissingKey) {
    ScopedConfigDir dir;
    RegKey key(RegRoot::LocalMachine, QStringLiteral("Software\\Nothing"), false);
    EXPECT_FALSE(key.isValid());
    QString s;
    EXPECT_FALSE(key.readString(QStringLiteral("x"), s));
    EXPECT_FALSE(key.writeString(QStringLiteral("x"), QStringLiteral("y")));
}

TEST(Registry, RootsAreSeparate) {
    ScopedConfigDir dir;
    RegKey(RegRoot::LocalMachine, QStringLiteral("Software\\A"), true).writeInt(QStringLiteral("v"), 1);
    EXPECT_FALSE(RegKey::keyExists(RegRoot::CurrentUser, QStringLiteral("Software\\A")));
    EXPECT_NE(RegistryFilePath(RegRoot::LocalMachine), RegistryFilePath(RegRoot::CurrentUser));
}

TEST(Registry, DeletesValuesAndWholeSubtrees) {
    ScopedConfigDir dir;
    RegKey key(RegRoot::CurrentUser, QStringLiteral("Software\\T"), true);
    key.writeInt(QStringLiteral("a"), 1);
    key.subKey(QStringLiteral("x\\y\\z"), true).writeInt(QStringLiteral("deep"), 2);
    EXPECT_TRUE(key.deleteValue(QStringLiteral("A")));
    EXPECT_EQ(key.valueType(QStringLiteral("a")), RegType::None);
    EXPECT_TRUE(key.deleteSubKey(QStringLiteral("X")));
    EXPECT_FALSE(RegKey::keyExists(RegRoot::CurrentUser, QStringLiteral("Software\\T\\x\\y")));
    EXPECT_TRUE(key.subKeyNames().isEmpty());
    EXPECT_TRUE(RegKey::deleteKey(RegRoot::CurrentUser, QStringLiteral("Software\\T")));
    EXPECT_FALSE(RegKey::keyExists(RegRoot::CurrentUser, QStringLiteral("Software\\T")));
}

TEST(Registry, ConfigDirectoryIsMovedByTheEnvironment) {
    ScopedConfigDir dir;
    RegKey(RegRoot::CurrentUser, QStringLiteral("Software\\M"), true).writeInt(QStringLiteral("v"), 5);
    EXPECT_TRUE(QFileInfo(RegistryFilePath(RegRoot::CurrentUser)).absolutePath().startsWith(dir.path()));
    EXPECT_TRUE(QFile::exists(RegistryFilePath(RegRoot::CurrentUser)));
}

TEST(Registry, DamagedFileIsKeptAsideAndTheUserIsTold) {
    ScopedConfigDir dir;
    MessageBoxCapture boxes;
    const QString path = RegistryFilePath(RegRoot::CurrentUser);
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{ \"keys\": { broken");
    }
    ResetRegistryCache();
    RegKey key(RegRoot::CurrentUser, QStringLiteral("Software\\X"), false);
    EXPECT_FALSE(key.isValid());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(boxes.shown()[0].text.contains(QStringLiteral("damaged")));
    // The damaged content survives in a copy beside the store.
    const QStringList kept = QDir(QFileInfo(path).absolutePath())
                                 .entryList({QStringLiteral("HKEY_CURRENT_USER.json.damaged-*")});
    ASSERT_EQ(kept.size(), 1);
    QFile copy(QFileInfo(path).absolutePath() + QLatin1Char('/') + kept[0]);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), QByteArray("{ \"keys\": { broken"));
    // And the store works again from empty.
    RegKey fresh(RegRoot::CurrentUser, QStringLiteral("Software\\X"), true);
    EXPECT_TRUE(fresh.writeInt(QStringLiteral("v"), 3));
}

TEST(Registry, WriteThatCannotTakeTheLockFailsAndKeepsWhatWasStored) {
    ScopedConfigDir dir;
    RegKey key(RegRoot::CurrentUser, QStringLiteral("Software\\L"), true);
    ASSERT_TRUE(key.writeString(QStringLiteral("kept"), QStringLiteral("yes")));
    // Something that is not a lock file stands in the lock's place: no write may go ahead.
    const QString lock = RegistryFilePath(RegRoot::CurrentUser) + QStringLiteral(".lock");
    ASSERT_TRUE(QDir().mkpath(lock + QStringLiteral("/inside")));
    MessageBoxCapture boxes;
    EXPECT_FALSE(key.writeString(QStringLiteral("other"), QStringLiteral("no")));
    EXPECT_FALSE(boxes.shown().empty());
    QDir(lock).removeRecursively();
    ResetRegistryCache();
    QString v;
    EXPECT_TRUE(RegKey(RegRoot::CurrentUser, QStringLiteral("Software\\L"), false).readString(QStringLiteral("kept"), v));
    EXPECT_EQ(v, QStringLiteral("yes"));
    EXPECT_EQ(RegKey(RegRoot::CurrentUser, QStringLiteral("Software\\L"), false).valueType(QStringLiteral("other")),
              RegType::None);
}

TEST(Registry, FolderThatCannotBeCreatedFailsWithAMessage) {
    ScopedConfigDir dir;
    // A file stands where the settings folder should be.
    const QString blocker = dir.path() + QStringLiteral("/blocker");
    {
        QFile f(blocker);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    qputenv("ZAR_CONFIG_DIR", (blocker + QStringLiteral("/settings")).toLocal8Bit());
    ResetRegistryCache();
    MessageBoxCapture boxes;
    RegKey key(RegRoot::CurrentUser, QStringLiteral("Software\\Y"), true);
    EXPECT_FALSE(key.isValid());
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_TRUE(boxes.shown()[0].text.contains(QStringLiteral("settings folder")));
}

TEST(Registry, StoredFileIsNotDamagedWhenAWriteFails) {
    ScopedConfigDir dir;
    RegKey key(RegRoot::CurrentUser, QStringLiteral("Software\\Z"), true);
    ASSERT_TRUE(key.writeString(QStringLiteral("kept"), QStringLiteral("yes")));
    const QString path = RegistryFilePath(RegRoot::CurrentUser);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    // Make the folder read-only: the temporary file cannot be created, the old file stays whole.
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    MessageBoxCapture boxes;
    const bool wrote = key.writeString(QStringLiteral("other"), QStringLiteral("no"));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (wrote) GTEST_SKIP() << "this user can write into read-only folders";
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_FALSE(boxes.shown().empty());
}

TEST(Registry, AFullDiskFailsTheWriteAndKeepsTheStoredSettings) {
    ScopedConfigDir dir;
    const QString keyPath = QStringLiteral("Software\\Full");
    ASSERT_TRUE(RegKey(RegRoot::CurrentUser, keyPath, true)
                    .writeString(QStringLiteral("kept"), QStringLiteral("yes")));
    const int result = zartest::RunWithFileSizeLimit(8 * 1024, [&] {
        MessageBoxCapture boxes;
        RegKey key(RegRoot::CurrentUser, keyPath, true);
        const bool wrote =
            key.writeString(QStringLiteral("big"), QString(20000, QLatin1Char('x')));
        return !wrote && boxes.texts().join(' ').contains(QStringLiteral("Unable to save")) ? 0
                                                                                             : 1;
    });
    EXPECT_EQ(result, 0) << "the write must fail with a message";
    ResetRegistryCache();
    MessageBoxCapture boxes;
    RegKey again(RegRoot::CurrentUser, keyPath, false);
    QString v;
    EXPECT_TRUE(again.readString(QStringLiteral("kept"), v));
    EXPECT_EQ(v, QStringLiteral("yes"));
    EXPECT_EQ(again.valueType(QStringLiteral("big")), RegType::None);
    EXPECT_TRUE(boxes.shown().empty()) << boxes.texts().join('\n').toStdString();
}

TEST(Registry, AFolderThatCannotBeWrittenIsToldAtOnce) {
    ScopedConfigDir dir;
    const QString keyPath = QStringLiteral("Software\\ReadOnly");
    ASSERT_TRUE(RegKey(RegRoot::CurrentUser, keyPath, true)
                    .writeString(QStringLiteral("kept"), QStringLiteral("yes")));
    // The folder and the way to it must stay readable by whoever the child becomes.
    const auto readable = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                          QFileDevice::ExeOther;
    QFile::setPermissions(dir.path(), readable);
    QFile::setPermissions(RegistryFilePath(RegRoot::CurrentUser),
                          QFileDevice::ReadOwner | QFileDevice::ReadOther);
    const int result = zartest::RunInChildProcess([&] {
        if (!zartest::DropSuperUserRights()) return 2;
        ResetRegistryCache();
        MessageBoxCapture boxes;
        RegKey key(RegRoot::CurrentUser, keyPath, false);
        if (key.writeString(QStringLiteral("other"), QStringLiteral("no"))) return 3;
        const QString text = boxes.texts().join(' ');
        return text.contains(QStringLiteral("cannot be written")) && !text.contains("locked") ? 0
                                                                                               : 1;
    });
    QFile::setPermissions(dir.path(), readable | QFileDevice::WriteOwner);
    if (result == 2) GTEST_SKIP() << "cannot run as another user here";
    EXPECT_EQ(result, 0);
}

TEST(Registry, DoublesIgnoreTheUsersDecimalComma) {
    ScopedConfigDir dir;
    const char* had = std::setlocale(LC_NUMERIC, nullptr);
    const std::string previous = had ? had : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    RegKey key(RegRoot::CurrentUser, QStringLiteral("Software\\N"), true);
    key.writeDouble(QStringLiteral("d"), 1234.5678);
    ResetRegistryCache();
    double d = 0;
    EXPECT_TRUE(RegKey(RegRoot::CurrentUser, QStringLiteral("Software\\N"), false).readDouble(QStringLiteral("d"), d));
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(d, 1234.5678);
    QFile f(RegistryFilePath(RegRoot::CurrentUser));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("1234.5678"));
}

TEST(Registry, ConcurrentWritersLoseNothing) {
    ScopedConfigDir dir;
    RegKey key(RegRoot::CurrentUser, QStringLiteral("Software\\C"), true);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            RegKey k(RegRoot::CurrentUser, QStringLiteral("Software\\C"), false);
            for (int i = 0; i < 25; ++i) k.writeInt(QStringLiteral("t%1_%2").arg(t).arg(i), i);
        });
    }
    for (auto& th : threads) th.join();
    ResetRegistryCache();
    EXPECT_EQ(RegKey(RegRoot::CurrentUser, QStringLiteral("Software\\C"), false).valueNames().size(), 100);
}
