#include "core/Paths.h"

#include <gtest/gtest.h>

using namespace zar;

TEST(Paths, StoredWindowsPathsReadPortably) {
    struct Case {
        const char* stored;
        const char* portable;
    } cases[] = {
        {"C:\\Data\\run.raw", "/Data/run.raw"},
        {"c:/Data//results\\", "/Data/results/"},
        {"..\\db\\human.fasta", "../db/human.fasta"},
        {"/home/user/run.mzML", "/home/user/run.mzML"},
        {"relative/x", "relative/x"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(PortablePath(QString::fromUtf8(c.stored)), QString::fromUtf8(c.portable)) << c.stored;
}

TEST(Paths, FileAndFolderParts) {
    EXPECT_EQ(FileNameOf(QStringLiteral("C:\\Xcalibur\\data\\run.0100.0100.2.out")), QStringLiteral("run.0100.0100.2.out"));
    EXPECT_EQ(FileNameOf(QStringLiteral("/a/b/c.dta")), QStringLiteral("c.dta"));
    EXPECT_EQ(FileNameOf(QStringLiteral("C:x.txt")), QStringLiteral("x.txt"));
    EXPECT_EQ(FolderOf(QStringLiteral("C:\\Data\\run.raw")), QStringLiteral("/Data"));
    EXPECT_EQ(FolderOf(QStringLiteral("/run.raw")), QStringLiteral("/"));
    EXPECT_EQ(FolderOf(QStringLiteral("run.raw")), QString());
    EXPECT_EQ(StripExtension(QStringLiteral("run.0100.0100.2.out")), QStringLiteral("run.0100.0100.2"));
    EXPECT_EQ(StripExtension(QStringLiteral("dir.v2/noext")), QStringLiteral("dir.v2/noext"));
    EXPECT_EQ(JoinPath(QStringLiteral("C:\\Data\\"), QStringLiteral("\\x.out")), QStringLiteral("/Data/x.out"));
    EXPECT_EQ(JoinPath(QStringLiteral("/tmp"), QStringLiteral("y")), QStringLiteral("/tmp/y"));
    EXPECT_EQ(JoinPath(QString(), QStringLiteral("y")), QStringLiteral("y"));
}

TEST(Paths, ConfigDirectoryFollowsTheEnvironment) {
    const QByteArray saved = qgetenv("ZAR_CONFIG_DIR");
    qputenv("ZAR_CONFIG_DIR", "/tmp/zar-somewhere/");
    EXPECT_EQ(ConfigDirectory(), QStringLiteral("/tmp/zar-somewhere"));
    qunsetenv("ZAR_CONFIG_DIR");
    EXPECT_TRUE(ConfigDirectory().endsWith(QStringLiteral("/Korvath")));
    qputenv("ZAR_CONFIG_DIR", saved);
}
