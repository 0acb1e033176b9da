#pragma once
// Exporting a grid to a spreadsheet workbook saved next to the run.

#include <QString>
#include <QStringList>

#include <vector>

#include "excel/ExcelWorkbook.h"

namespace zar {

class CGXGridWnd;

// What the export worker needs, copied from the grid on the user-interface thread so that the
// worker never reads a window.
struct ExcelExportParams {
    std::vector<QStringList> lines;  // the tab-separated text, row 0 the titles
    std::vector<ExcelColumnFormat> columns;
    QString rawFilePath;
    QString templateName;
    QString reportName;
    QString outputPath;  // filled by the worker
    QString error;       // filled by the worker on failure
};

// Exit codes of the export worker.
enum ExcelExportResult : int {
    kExcelExportDone = 0,
    kExcelExportNoParameters = 1,
    kExcelExportNoExporter = 2,
    kExcelExportNoSecondExporter = 3,
    kExcelExportNoTemplateOrTempFile = 4,
    kExcelExportSaveFailed = 5,
    kExcelExportCancelled = 6,  // the user chose no place for the workbook
};

// Maximum number of temporary text files "~ZVB00000.txt" to "~ZVB01000.txt" tried.
constexpr int kMaxExportTempFiles = 1000;

// A cell as the export writes it: its value (a number whole, in the "C" format), not the text
// the table shows.
QString GridExportValue(const CGXGridWnd& grid, int row, int col);

// The rows of a grid as the export writes them (cells of rich-edit columns left out, a value
// repeating the previous one in its row written as a blank, line breaks as blanks).
std::vector<QStringList> GridExportLines(const CGXGridWnd& grid);

// The workbook's path: next to the run, run name + report name + ".xlsx"; when that exists,
// "_yyMMddhhmmss" is added, and a counter after that, so that no workbook is ever overwritten.
QString ExcelOutputPath(const QString& rawFilePath, const QString& reportName);

// The name of the sheet: the run's name ("BSA2" for /data/BSA2.mzML), or the report's name
// without a run.
QString ExcelSheetName(const QString& rawFilePath, const QString& reportName);

// Whether a new file can be made in the folder.
bool CanWriteInFolder(const QString& folder);

// The worker: writes the temporary text file, imports it into a workbook and saves it, to
// `outputPath` when that is set, else to ExcelOutputPath.
int ExcelExportThreadProc(ExcelExportParams* params);

// Exports the grid, waiting for the worker; shows a message when the export fails, and opens
// the workbook with the desktop's program when it succeeds (saying where it is when none can be
// started). When the run's folder cannot be written the user is asked where the workbook goes
// (kExcelExportCancelled when he chooses no place). Returns the exit code; on success
// `outputPath` receives the workbook's path.
int ExportToExcel(const CGXGridWnd& grid, const QString& rawFilePath, const QString& templateName,
                  const QString& reportName, QString* outputPath = nullptr);

// The message shown for an exit code (empty for success).
QString ExcelExportMessage(int code, const ExcelExportParams& params);

// Export to XML: the shared handler of the views; it writes nothing.
void ExportToXml(const CGXGridWnd& grid);

}  // namespace zar
