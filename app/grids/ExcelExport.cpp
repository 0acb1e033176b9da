#include "ExcelExport.h"

#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "grid/GridModel.h"
#include "grid/GridWnd.h"
#include "gui/Shell.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <thread>

namespace zar {

QString GridExportValue(const CGXGridWnd& grid, int row, int col) {
    const CGXGridModel& model = *grid.GetModel();
    // A number goes out whole; the column's number format shows it as the table does.
    if (model.IsNumber(row, col)) return QString::fromStdString(DoubleToText(model.GetNumber(row, col)));
    return grid.GetValueRowCol(row, col);
}

std::vector<QStringList> GridExportLines(const CGXGridWnd& grid) {
    std::vector<QStringList> lines;
    lines.reserve(static_cast<std::size_t>(grid.GetRowCount()) + 1);
    for (int row = 0; row <= grid.GetRowCount(); ++row) {
        QStringList cells;
        QString previous;
        for (int col = 1; col <= grid.GetColCount(); ++col) {
            if (grid.GetStyleRowCol(row, col).control == GridControl::RichEdit) continue;
            QString value = GridExportValue(grid, row, col);
            if (!previous.isEmpty() && value == previous) {
                cells.append(QStringLiteral(" "));
                continue;
            }
            previous = value;
            value.replace(QLatin1Char('\r'), QLatin1Char(' '));
            value.replace(QLatin1Char('\n'), QLatin1Char(' '));
            cells.append(value);
        }
        lines.push_back(cells);
    }
    return lines;
}

QString ExcelOutputPath(const QString& rawFilePath, const QString& reportName) {
    QString folder;
    QString base;
    if (rawFilePath.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty()) folder = QDir::homePath();
    } else {
        const QString portable = PortablePath(rawFilePath);
        folder = FolderOf(portable);
        if (folder.isEmpty()) folder = QStringLiteral(".");
        base = StripExtension(FileNameOf(portable));
    }
    const QString stem = JoinPath(folder, base + reportName);
    QString path = stem + QStringLiteral(".xlsx");
    if (!QFileInfo::exists(path)) return path;
    const QDateTime now = QDateTime::currentDateTime();
    const QString stamp = stem + QLatin1Char('_') + now.toString(QStringLiteral("yyMMddhhmmss"));
    path = stamp + QStringLiteral(".xlsx");
    for (int n = 2; QFileInfo::exists(path); ++n) path = stamp + QLatin1Char('_') + QString::number(n) + QStringLiteral(".xlsx");
    return path;
}

namespace {

// Opens the first free "~ZVB%.5d.txt" of the temporary folder, created new so two exports never share one.
bool openTempFile(QFile& file) {
    const QString dir = QDir::tempPath();
    for (int n = 0; n <= kMaxExportTempFiles; ++n) {
        file.setFileName(JoinPath(dir, QCFormat("~ZVB%.5d.txt", n)));
        if (file.exists()) continue;
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return true;
    }
    return false;
}

}  // namespace

QString ExcelSheetName(const QString& rawFilePath, const QString& reportName) {
    if (rawFilePath.isEmpty()) return reportName;
    const QString run = StripExtension(FileNameOf(PortablePath(rawFilePath)));
    return run.isEmpty() ? reportName : run;
}

bool CanWriteInFolder(const QString& folder) {
    QTemporaryFile probe(JoinPath(folder, QStringLiteral(".~write-test-XXXXXX")));
    return probe.open();
}

int ExcelExportThreadProc(ExcelExportParams* params) {
    if (!params) return kExcelExportNoParameters;
    try {
        CExcelWorkbook workbook;
        workbook.SetSheetName(ExcelSheetName(params->rawFilePath, params->reportName));
        workbook.SetTitle(params->rawFilePath.isEmpty() ? params->reportName
                                                        : params->reportName + QStringLiteral(" - ") + params->rawFilePath);
        workbook.SetColumnFormats(params->columns);

        QFile temp;
        if (!openTempFile(temp)) {
            params->error = QDir::tempPath();
            return kExcelExportNoTemplateOrTempFile;
        }
        QByteArray text;
        for (const QStringList& line : params->lines) text += line.join(QLatin1Char('\t')).toUtf8() + '\n';
        text += '\n';
        // A full temporary folder shows only when the buffered rest is flushed: checked, so a cut
        // table never becomes a workbook.
        const bool written = temp.write(text) == text.size() && temp.flush() && temp.error() == QFileDevice::NoError;
        temp.close();
        const bool imported = written && workbook.ImportText(temp.fileName());
        QFile::remove(temp.fileName());
        if (!imported) {
            params->error = temp.fileName();
            return kExcelExportNoTemplateOrTempFile;
        }
        if (params->outputPath.isEmpty()) params->outputPath = ExcelOutputPath(params->rawFilePath, params->reportName);
        if (!workbook.SaveAs(params->outputPath)) {
            params->error = workbook.ErrorString();
            return kExcelExportSaveFailed;
        }
        return kExcelExportDone;
    } catch (const std::exception& e) {
        params->error = QString::fromUtf8(e.what());
    } catch (...) {
        params->error = QStringLiteral("unknown error");
    }
    return kExcelExportSaveFailed;
}

QString ExcelExportMessage(int code, const ExcelExportParams& params) {
    switch (code) {
        case kExcelExportDone:
        case kExcelExportCancelled: return QString();
        case kExcelExportNoParameters: return QStringLiteral("There is nothing to export.");
        case kExcelExportNoExporter:
        case kExcelExportNoSecondExporter: return QStringLiteral("The spreadsheet exporter is not available.");
        case kExcelExportNoTemplateOrTempFile:
            return QStringLiteral("Unable to export the table: no temporary file can be created in %1.").arg(params.error);
        default: break;
    }
    return QStringLiteral("Unable to export the table: %1").arg(params.error);
}

int ExportToExcel(const CGXGridWnd& grid, const QString& rawFilePath, const QString& templateName,
                  const QString& reportName, QString* outputPath) {
    ExcelExportParams params;
    params.lines = GridExportLines(grid);
    for (int col = 1; col <= grid.GetColCount(); ++col) {
        if (grid.GetStyleRowCol(1, col).control == GridControl::RichEdit) continue;
        ExcelColumnFormat f;
        f.widthChars = std::max(4.0, grid.GetColWidth(col) / 7.0);
        const CGXStyle st = grid.GetStyleRowCol(1, col);
        if (st.format == GridNumberFormat::Fixed) f.decimals = st.decimals.value_or(2);
        f.text = st.valueType == GridValueType::Text;
        params.columns.push_back(f);
    }
    params.rawFilePath = rawFilePath;
    params.templateName = templateName;
    params.reportName = reportName;
    params.outputPath = ExcelOutputPath(rawFilePath, reportName);
    if (!CanWriteInFolder(FolderOf(params.outputPath))) {
        // A run on a read-only share or a CD: the workbook goes where the user says.
        QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (start.isEmpty() || !CanWriteInFolder(start)) start = QDir::homePath();
        params.outputPath = QFileDialog::getSaveFileName(
            QApplication::activeWindow(), QStringLiteral("Save the Workbook (the run's folder cannot be written)"),
            JoinPath(start, FileNameOf(params.outputPath)), QStringLiteral("Excel Workbook (*.xlsx)"));
        if (params.outputPath.isEmpty()) return kExcelExportCancelled;
        if (!params.outputPath.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
            params.outputPath += QStringLiteral(".xlsx");
    }
    int code = kExcelExportSaveFailed;
    // The caller waits for the worker, as the user waits for the workbook.
    std::thread worker([&] { code = ExcelExportThreadProc(&params); });
    worker.join();
    if (code != kExcelExportDone) {
        ZarMessageBox(ExcelExportMessage(code, params), MB_OK | MB_ICONEXCLAMATION);
        return code;
    }
    if (outputPath) *outputPath = params.outputPath;
    // The workbook opens in the desktop's spreadsheet program; without one the user learns
    // where it is.
    OpenWithShell(params.outputPath, nullptr,
                  QStringLiteral("The table was exported to\n%1\nbut no program could be started to open it.")
                      .arg(params.outputPath));
    return code;
}

void ExportToXml(const CGXGridWnd&) {}

}  // namespace zar
