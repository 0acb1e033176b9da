#include "ExcelExport.h"

#include "TestSupport.h"
#include "excel/ExcelWorkbook.h"
#include "grid/GridWnd.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <minizip/unzip.h>

#include <gtest/gtest.h>

using namespace zar;

namespace {

// One file of a zip archive (an .xlsx is one), empty when missing.
QByteArray zipEntry(const QString& archive, const char* name) {
    unzFile zip = unzOpen(QFile::encodeName(archive).constData());
    if (!zip) return {};
    QByteArray out;
    if (unzLocateFile(zip, name, 0) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char buf[4096];
        int n = 0;
        while ((n = unzReadCurrentFile(zip, buf, sizeof buf)) > 0) out.append(buf, n);
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    return out;
}

// Points the temporary folder at a private one while it lives.
class ScopedTempFolder {
public:
    ScopedTempFolder() : previous_(qgetenv("TMPDIR")) { qputenv("TMPDIR", dir_.path().toLocal8Bit()); }
    ~ScopedTempFolder() {
        if (previous_.isEmpty()) qunsetenv("TMPDIR");
        else qputenv("TMPDIR", previous_);
    }
    QString path() const { return dir_.path(); }
    QStringList exportFiles() const { return QDir(dir_.path()).entryList({QStringLiteral("~ZVB*")}, QDir::Files); }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

void fillSample(CGXGridWnd& grid) {
    grid.SetColCount(4);
    grid.SetRowCount(3);
    const char* titles[] = {"Scan", "Peptide", "Reference", "Sequence"};
    for (int c = 1; c <= 4; ++c) grid.SetValueRange(0, c, QString::fromLatin1(titles[c - 1]));
    grid.SetValueRange(1, 1, QStringLiteral("100"));
    grid.SetValueRange(1, 2, QStringLiteral("100"));  // repeats the cell before it
    grid.SetValueRange(1, 3, QStringLiteral("ALBU\nBOVIN"));
    grid.SetValueRange(1, 4, QStringLiteral("MKWVTFISLL"));
    grid.SetValueRange(2, 1, 1234.5678);
    grid.SetValueRange(2, 2, QStringLiteral("50%"));
    grid.SetStyleRange(CGXRange::cols(1, 1), CGXStyle().setFormat(GridNumberFormat::Fixed, 2));
    grid.SetStyleRange(CGXRange::cols(4, 4), CGXStyle().setControl(GridControl::RichEdit));
}

TEST(ExcelExport, AFullTemporaryFolderFailsTheExport) {
    // The table fits QFile's buffer, so only the final flush meets the full disk.
    ScopedTempFolder temp;
    QTemporaryDir runs;
    ExcelExportParams params;
    params.lines.push_back({QStringLiteral("Scan"), QStringLiteral("Peptide")});
    for (int i = 0; i < 300; ++i) params.lines.push_back({QString::number(i), QStringLiteral("K.LVNEVTEFAK.T")});
    params.rawFilePath = runs.filePath(QStringLiteral("r.mzML"));
    params.templateName = QStringLiteral("a.xlt");
    params.reportName = QStringLiteral("A");
    const int code = zartest::RunWithFileSizeLimit(1024, [&] { return ExcelExportThreadProc(&params); });
    EXPECT_EQ(code, kExcelExportNoTemplateOrTempFile);
    EXPECT_FALSE(QFileInfo::exists(runs.filePath(QStringLiteral("rA.xlsx"))));
}

}  // namespace

TEST(ExcelExport, LinesRepeatLineBreaksAndRichTextColumns) {
    CGXGridWnd grid;
    fillSample(grid);
    const std::vector<QStringList> lines = GridExportLines(grid);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], (QStringList{"Scan", "Peptide", "Reference"})) << "the rich-text column is left out";
    EXPECT_EQ(lines[1], (QStringList{"100", " ", "ALBU BOVIN"}));
    EXPECT_EQ(lines[2], (QStringList{"1234.5678", "50%", ""})) << "the cell's value, not its shown text";
}

TEST(ExcelExport, OutputPathBesideTheRunNeverOverwrites) {
    QTemporaryDir dir;
    const QString raw = dir.filePath(QStringLiteral("sample1.raw"));
    const QString first = ExcelOutputPath(raw, QStringLiteral("Pepmap"));
    EXPECT_EQ(first, dir.filePath(QStringLiteral("sample1Pepmap.xlsx")));
    QFile(first).open(QIODevice::WriteOnly);
    const QString second = ExcelOutputPath(raw, QStringLiteral("Pepmap"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("sample1Pepmap_\\d{12}\\.xlsx$")).match(second).hasMatch()) << second.toStdString();
    QFile(second).open(QIODevice::WriteOnly);
    const QString third = ExcelOutputPath(raw, QStringLiteral("Pepmap"));
    EXPECT_NE(third, second);
    EXPECT_FALSE(QFileInfo::exists(third));
    EXPECT_EQ(ExcelOutputPath(QStringLiteral("D:\\runs\\sample1.raw"), QStringLiteral("Pepmap")),
              QStringLiteral("/runs/sample1Pepmap.xlsx"));
}

TEST(ExcelExport, SheetNamesExcelAccepts) {
    EXPECT_EQ(MakeExcelSheetName(QStringLiteral("C:\\runs\\a.raw")), QStringLiteral("C__runs_a.raw"));
    EXPECT_EQ(MakeExcelSheetName(QStringLiteral("x*y?z'[1]")), QStringLiteral("x_y_z__1_"));
    EXPECT_EQ(MakeExcelSheetName(QStringLiteral("/very/long/folder/name/of/a/run/sample_0001.mzML")).size(), 31);
    EXPECT_TRUE(MakeExcelSheetName(QStringLiteral("/very/long/folder/name/of/a/run/sample_0001.mzML")).endsWith(QStringLiteral("sample_0001.mzML")));
    EXPECT_EQ(MakeExcelSheetName(QString()), QStringLiteral("Sheet1"));
}

TEST(ExcelExport, WorkbookHoldsTheTableAndNoTemporaryFileRemains) {
    ScopedTempFolder temp;
    zartest::MessageBoxCapture boxes;
    zartest::ShellOpenCapture desktop;
    QTemporaryDir runs;
    const QString raw = runs.filePath(QStringLiteral("sample1.mzML"));
    CGXGridWnd grid;
    fillSample(grid);
    QString out;
    ASSERT_EQ(ExportToExcel(grid, raw, QStringLiteral("SorvexSummary.xlt"), QStringLiteral("SorvexSummaryReport"), &out),
              kExcelExportDone);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(out, runs.filePath(QStringLiteral("sample1SorvexSummaryReport.xlsx")));
    const QByteArray strings = zipEntry(out, "xl/sharedStrings.xml");
    const QByteArray sheet = zipEntry(out, "xl/worksheets/sheet1.xml");
    ASSERT_FALSE(sheet.isEmpty());
    for (const char* text : {"Scan", "Peptide", "Reference", "ALBU BOVIN", "50%", "SorvexSummaryReport"})
        EXPECT_TRUE(strings.contains(text)) << text;
    EXPECT_FALSE(strings.contains("MKWVTFISLL")) << "rich-text cells are not exported";
    EXPECT_TRUE(sheet.contains("<v>1234.5678</v>")) << "numbers are stored whole, as numbers";
    EXPECT_TRUE(zipEntry(out, "xl/styles.xml").contains("formatCode=\"0.00\""))
        << "shown with the column's two decimals";
    EXPECT_TRUE(zipEntry(out, "xl/workbook.xml").contains("<sheet name=\"sample1\""))
        << "the sheet is named after the run, not its path";
    EXPECT_TRUE(temp.exportFiles().isEmpty());
    // The workbook is handed to the desktop's spreadsheet program.
    ASSERT_EQ(desktop.urls().size(), 1u);
    EXPECT_EQ(desktop.urls()[0], QUrl::fromLocalFile(out));
}

TEST(ExcelExport, WithoutASpreadsheetProgramTheUserLearnsWhereTheWorkbookIs) {
    ScopedTempFolder temp;
    zartest::MessageBoxCapture boxes;
    zartest::ShellOpenCapture desktop;
    desktop.refuse();
    QTemporaryDir runs;
    CGXGridWnd grid;
    fillSample(grid);
    QString out;
    ASSERT_EQ(ExportToExcel(grid, runs.filePath(QStringLiteral("r.mzML")), QStringLiteral("a.xlt"),
                            QStringLiteral("Summary"), &out),
              kExcelExportDone);
    EXPECT_TRUE(QFileInfo::exists(out));
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].contains(out)) << boxes.texts()[0].toStdString();
}

TEST(ExcelExport, CellsGoOutAsTheirValues) {
    CGXGridWnd grid;
    grid.SetColCount(3);
    grid.SetRowCount(1);
    grid.SetValueRange(1, 1, 874.41712345678);
    grid.SetValueRange(1, 2, 2.0);
    grid.SetValueRange(1, 3, QStringLiteral("10/12"));
    grid.SetStyleRange(CGXRange::cols(1, 2), CGXStyle().setFormat(GridNumberFormat::Fixed, 3));
    EXPECT_EQ(grid.GetDisplayTextRowCol(1, 1), QStringLiteral("874.417"));
    EXPECT_EQ(GridExportValue(grid, 1, 1), QStringLiteral("874.41712345678"));
    EXPECT_EQ(GridExportValue(grid, 1, 2), QStringLiteral("2"));
    EXPECT_EQ(GridExportValue(grid, 1, 3), QStringLiteral("10/12"));
}

TEST(ExcelExport, SecondExportGetsANewNameAndKeepsTheFirst) {
    ScopedTempFolder temp;
    QTemporaryDir runs;
    const QString raw = runs.filePath(QStringLiteral("r.mzML"));
    CGXGridWnd grid;
    fillSample(grid);
    QString first, second;
    ASSERT_EQ(ExportToExcel(grid, raw, QStringLiteral("Pepmap.xlt"), QStringLiteral("Pepmap"), &first), kExcelExportDone);
    const QByteArray firstBytes = [&] {
        QFile f(first);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    grid.SetValueRange(1, 1, QStringLiteral("changed"));
    ASSERT_EQ(ExportToExcel(grid, raw, QStringLiteral("Pepmap.xlt"), QStringLiteral("Pepmap"), &second), kExcelExportDone);
    EXPECT_NE(first, second);
    QFile f(first);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), firstBytes);
    EXPECT_TRUE(zipEntry(second, "xl/sharedStrings.xml").contains("changed"));
}

TEST(ExcelExport, TakenTemporaryNameIsSkipped) {
    ScopedTempFolder temp;
    QFile taken(temp.path() + QStringLiteral("/~ZVB00000.txt"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("someone else's");
    taken.close();
    QTemporaryDir runs;
    CGXGridWnd grid;
    fillSample(grid);
    EXPECT_EQ(ExportToExcel(grid, runs.filePath(QStringLiteral("r.mzML")), QStringLiteral("Pepmap.xlt"), QStringLiteral("Pepmap")),
              kExcelExportDone);
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), QByteArray("someone else's"));
    EXPECT_EQ(temp.exportFiles(), QStringList{QStringLiteral("~ZVB00000.txt")});
}

TEST(ExcelExport, FailuresAreReportedNotIgnored) {
    zartest::MessageBoxCapture boxes;
    CGXGridWnd grid;
    fillSample(grid);
    {
        // Every temporary name is taken.
        ScopedTempFolder full;
        for (int n = 0; n <= kMaxExportTempFiles; ++n)
            QFile(full.path() + QStringLiteral("/~ZVB%1.txt").arg(n, 5, 10, QLatin1Char('0'))).open(QIODevice::WriteOnly);
        QTemporaryDir runs;
        EXPECT_EQ(ExportToExcel(grid, runs.filePath(QStringLiteral("r.mzML")), QStringLiteral("a.xlt"), QStringLiteral("A")),
                  kExcelExportNoTemplateOrTempFile);
        EXPECT_FALSE(QFileInfo::exists(runs.filePath(QStringLiteral("rA.xlsx"))));
    }
    {
        // The run's folder cannot take the workbook, nor can the place chosen instead.
        ScopedTempFolder temp;
        zartest::ModalDialogAnswer choose("QFileDialog", true, [](QWidget* dialog) {
            static_cast<QFileDialog*>(dialog)->selectFile(QStringLiteral("/nonexistent/other/r.xlsx"));
        });
        EXPECT_EQ(ExportToExcel(grid, QStringLiteral("/nonexistent/runs/r.mzML"), QStringLiteral("a.xlt"), QStringLiteral("A")),
                  kExcelExportSaveFailed);
        EXPECT_TRUE(choose.seen());
        EXPECT_TRUE(temp.exportFiles().isEmpty()) << "the temporary file is deleted on failure too";
    }
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_TRUE(boxes.texts()[0].contains(QStringLiteral("temporary file")));
    EXPECT_TRUE(boxes.texts()[1].startsWith(QStringLiteral("Unable to export the table")));
    EXPECT_EQ(ExcelExportThreadProc(nullptr), kExcelExportNoParameters);
}

TEST(ExcelExport, ALabelColumnStaysText) {
    ScopedTempFolder temp;
    zartest::MessageBoxCapture boxes;
    zartest::ShellOpenCapture desktop;
    QTemporaryDir runs;
    CGXGridWnd grid;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetValueRange(0, 1, QStringLiteral("Fragment"));
    grid.SetValueRange(0, 2, QStringLiteral("From"));
    grid.SetStyleRange(CGXRange::cols(1, 1), CGXStyle().setValueType(GridValueType::Text));
    grid.SetValueRange(1, 1, QStringLiteral("50.60"));  // peptide 50, piece 60
    grid.SetValueRange(1, 2, 1234.0);
    grid.SetValueRange(2, 1, QStringLiteral("7"));
    grid.SetValueRange(2, 2, QStringLiteral("77.50"));  // text of a column that is no label
    QString out;
    ASSERT_EQ(ExportToExcel(grid, runs.filePath(QStringLiteral("BSA2.mzML")), QStringLiteral("Pepmap.xlt"),
                            QStringLiteral("Pepmap"), &out),
              kExcelExportDone);
    const QByteArray strings = zipEntry(out, "xl/sharedStrings.xml");
    const QByteArray sheet = zipEntry(out, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(strings.contains("<t>50.60</t>")) << strings.toStdString();
    EXPECT_TRUE(strings.contains("<t>7</t>"));
    EXPECT_FALSE(sheet.contains("<v>50.6</v>"));
    EXPECT_TRUE(sheet.contains("<v>1234</v>"));
    EXPECT_TRUE(sheet.contains("<v>77.5</v>")) << "other columns read numbers as before";
    EXPECT_TRUE(zipEntry(out, "xl/workbook.xml").contains("<sheet name=\"BSA2\""));
}

TEST(ExcelExport, AnUnwritableRunFolderAsksWhereTheWorkbookGoes) {
    ScopedTempFolder temp;
    zartest::MessageBoxCapture boxes;
    zartest::ShellOpenCapture desktop;
    QTemporaryDir elsewhere;
    CGXGridWnd grid;
    fillSample(grid);
    const QString raw = QStringLiteral("/nonexistent/runs/BSA2.mzML");

    // Chosen: the workbook goes there, under the name it would have had.
    QString proposed;
    const QString chosen = elsewhere.filePath(QStringLiteral("mine"));
    zartest::ModalDialogAnswer choose("QFileDialog", true, [&](QWidget* dialog) {
        auto* files = static_cast<QFileDialog*>(dialog);
        proposed = files->selectedFiles().value(0);
        files->selectFile(chosen);
    });
    QString out;
    ASSERT_EQ(ExportToExcel(grid, raw, QStringLiteral("Pepmap.xlt"), QStringLiteral("Pepmap"), &out), kExcelExportDone);
    EXPECT_TRUE(choose.seen());
    EXPECT_TRUE(proposed.endsWith(QStringLiteral("/BSA2Pepmap.xlsx"))) << proposed.toStdString();
    EXPECT_EQ(out, chosen + QStringLiteral(".xlsx"));
    EXPECT_TRUE(QFileInfo::exists(out));
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join('|').toStdString();

    // Cancelled: nothing is written and nothing is reported as failed.
    zartest::ModalDialogAnswer cancel("QFileDialog", false);
    EXPECT_EQ(ExportToExcel(grid, raw, QStringLiteral("Pepmap.xlt"), QStringLiteral("Pepmap")), kExcelExportCancelled);
    EXPECT_TRUE(cancel.seen());
    EXPECT_TRUE(boxes.texts().isEmpty());
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{QStringLiteral("mine.xlsx")});
    EXPECT_TRUE(temp.exportFiles().isEmpty());
}

TEST(ExcelExport, AReadOnlyRunFolderAsksToo) {
    ScopedTempFolder temp;
    zartest::MessageBoxCapture boxes;
    zartest::ShellOpenCapture desktop;
    QTemporaryDir runs, elsewhere;
    zartest::ScopedUnwritableFolder locked(runs.path());
    if (!locked.ok()) GTEST_SKIP() << "no way to make a folder unwritable here";
    EXPECT_FALSE(CanWriteInFolder(runs.path()));
    EXPECT_TRUE(CanWriteInFolder(elsewhere.path()));
    CGXGridWnd grid;
    fillSample(grid);
    zartest::ModalDialogAnswer choose("QFileDialog", true, [&](QWidget* dialog) {
        static_cast<QFileDialog*>(dialog)->selectFile(elsewhere.filePath(QStringLiteral("r.xlsx")));
    });
    QString out;
    ASSERT_EQ(ExportToExcel(grid, runs.filePath(QStringLiteral("r.mzML")), QStringLiteral("a.xlt"), QStringLiteral("A"), &out),
              kExcelExportDone);
    EXPECT_EQ(out, elsewhere.filePath(QStringLiteral("r.xlsx")));
    EXPECT_TRUE(QDir(runs.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(ExcelExport, SheetNamedAfterTheRun) {
    const struct {
        const char* raw;
        const char* report;
        const char* sheet;
    } cases[] = {
        {"/data/runs/BSA2.mzML", "Pepmap", "BSA2"},
        {"D:\\runs\\sample1.raw", "Pepmap", "sample1"},
        {"", "Zarmass", "Zarmass"},
        {"/data/runs/a.b.mzXML", "Pepmap", "a.b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExcelSheetName(QString::fromLatin1(c.raw), QString::fromLatin1(c.report)), QString::fromLatin1(c.sheet))
            << c.raw;
}
