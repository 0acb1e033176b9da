#include "DisplayOutFileDlg.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

bool Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

TEST(DisplayOutFileDlgTest, ShowsEveryLineFollowedByALineBreak) {
    QTemporaryDir dir;
    ASSERT_TRUE(Write(dir.path() + "/a.out", "one\ntwo\r\nthree"));
    CDisplayOutFileDlg dialog;
    dialog.LoadFile(dir.path(), "a.out");
    EXPECT_EQ(dialog.Text(), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(dialog.windowTitle(), "Display ''.out'' File - a.out");
}

TEST(DisplayOutFileDlgTest, LongLinesStayWhole) {
    QTemporaryDir dir;
    const QByteArray longLine(5000, 'x');
    ASSERT_TRUE(Write(dir.path() + "/long.out", longLine + "\nend\n"));
    CDisplayOutFileDlg dialog;
    dialog.LoadFile(dir.path(), "long.out");
    EXPECT_EQ(dialog.Text(), QString::fromLatin1(longLine) + "\r\nend\r\n");
}

TEST(DisplayOutFileDlgTest, FailedReadKeepsTitleAndText) {
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    ASSERT_TRUE(Write(dir.path() + "/a.out", "one\n"));
    CDisplayOutFileDlg dialog;
    dialog.LoadFile(dir.path(), "a.out");
    dialog.LoadFile(dir.path(), "missing.out");
    EXPECT_EQ(boxes.texts(), QStringList{"Unable to open the out file"});
    EXPECT_EQ(dialog.windowTitle(), "Display ''.out'' File - a.out");
    EXPECT_EQ(dialog.Text(), "one\r\n");
    // Empty folder or name: nothing at all.
    dialog.LoadFile(QString(), "a.out");
    dialog.LoadFile(dir.path(), QString());
    EXPECT_EQ(boxes.texts().size(), 1);
}

}  // namespace
