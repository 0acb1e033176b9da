#include "excel/ExcelWorkbook.h"

#include "TestSupport.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace zar;

namespace {

CExcelWorkbook SampleWorkbook(const QTemporaryDir& dir, int rows) {
    QString text = QStringLiteral("Scan\tPeptide\n");
    for (int r = 1; r <= rows; ++r) text += QStringLiteral("%1\tPEPTIDE%1K\n").arg(r);
    const QString table = dir.filePath(QStringLiteral("table.txt"));
    WriteTextFileAtomically(table, text);
    CExcelWorkbook book;
    book.SetTitle(QStringLiteral("Summary"));
    book.ImportText(table);
    return book;
}

// Restores the process's file-creation mask.
class ScopedUmask {
  public:
    explicit ScopedUmask(mode_t mask) : previous_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(previous_); }

  private:
    mode_t previous_;
};

mode_t ModeOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return 0;
    return st.st_mode & 0777;
}

TEST(ExcelWorkbook, ASavedWorkbookHasTheModeOfANewFile) {
    QTemporaryDir dir;
    CExcelWorkbook book = SampleWorkbook(dir, 3);
    for (const mode_t mask : {mode_t(022), mode_t(027), mode_t(077)}) {
        ScopedUmask umask(mask);
        const QString path = dir.filePath(QStringLiteral("report-%1.xlsx").arg(mask, 0, 8));
        ASSERT_TRUE(book.SaveAs(path)) << book.ErrorString().toStdString();
        EXPECT_EQ(ModeOf(path), 0666 & ~mask) << "umask " << std::oct << mask;
    }
}

// The disk fills while the library writes its own temporary files (a large table), or while it
// writes the archive itself (a small one).
TEST(ExcelWorkbook, AFullDiskFailsTheSaveAndLeavesNoFile) {
    const struct {
        int rows;
        qint64 limit;
    } cases[] = {{3000, 8 * 1024}, {3, 2 * 1024}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        CExcelWorkbook book = SampleWorkbook(dir, c.rows);
        const QString path = dir.filePath(QStringLiteral("report.xlsx"));
        const int result = zartest::RunWithFileSizeLimit(c.limit, [&] {
            const bool saved = book.SaveAs(path);
            return !saved && !book.ErrorString().isEmpty() ? 0 : 1;
        });
        EXPECT_EQ(result, 0) << c.rows << " rows";
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString(),
                  "table.txt")
            << c.rows << " rows";
    }
}

}  // namespace
