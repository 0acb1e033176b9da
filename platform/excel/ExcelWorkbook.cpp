#include "excel/ExcelWorkbook.h"

#include "core/Numbers.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cmath>
#include <cstdio>

namespace zar {

QString MakeExcelSheetName(const QString& text) {
    QString name = text;
    for (QChar& c : name)
        if (QStringLiteral("*:/\\?'[]").contains(c)) c = QLatin1Char('_');
    if (name.size() > CExcelWorkbook::kMaxSheetNameLength) name = name.right(CExcelWorkbook::kMaxSheetNameLength);
    if (name.trimmed().isEmpty()) name = QStringLiteral("Sheet1");
    return name;
}

void CExcelWorkbook::SetSheetName(const QString& name) { sheet_ = MakeExcelSheetName(name); }

bool CExcelWorkbook::ImportText(const QString& path) {
    QStringList lines;
    if (!ReadTextLines(path, lines, &error_)) return false;
    rows_.clear();
    for (const QString& line : lines) rows_.push_back(line.split(QLatin1Char('\t')));
    // The export ends with an empty line; it is no row of the table.
    while (!rows_.empty() && rows_.back().size() == 1 && rows_.back().front().isEmpty()) rows_.pop_back();
    return true;
}

bool CExcelWorkbook::SaveAs(const QString& path) {
    const QFileInfo target(path);
    // libxlsxwriter writes in place; write a temporary file beside the target and rename it.
    QTemporaryFile tmp(target.absolutePath() + QStringLiteral("/.~xlsx-XXXXXX"));
    if (!tmp.open()) {
        error_ = QStringLiteral("Unable to write in %1: %2").arg(target.absolutePath(), tmp.errorString());
        return false;
    }
    const QString tmpPath = tmp.fileName();
    tmp.close();

    const QByteArray file = QFile::encodeName(tmpPath);
    lxw_workbook* wb = workbook_new(file.constData());
    if (!wb) {
        error_ = QStringLiteral("Unable to create the workbook %1.").arg(path);
        return false;
    }
    const QByteArray sheetName = sheet_.toUtf8();
    lxw_worksheet* ws = workbook_add_worksheet(wb, sheetName.constData());
    if (!ws) ws = workbook_add_worksheet(wb, nullptr);
    lxw_format* titleFormat = workbook_add_format(wb);
    format_set_bold(titleFormat);
    format_set_font_size(titleFormat, 14);
    lxw_format* headerFormat = workbook_add_format(wb);
    format_set_bold(headerFormat);
    format_set_bottom(headerFormat, LXW_BORDER_THIN);
    std::vector<lxw_format*> numberFormats;
    for (const ExcelColumnFormat& f : formats_) {
        lxw_format* nf = nullptr;
        if (f.decimals >= 0) {
            nf = workbook_add_format(wb);
            const QByteArray pattern = f.decimals == 0 ? QByteArray("0") : "0." + QByteArray(f.decimals, '0');
            format_set_num_format(nf, pattern.constData());
        }
        numberFormats.push_back(nf);
    }
    for (std::size_t c = 0; c < formats_.size(); ++c)
        worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), formats_[c].widthChars, nullptr);

    lxw_row_t row = 0;
    if (!title_.isEmpty()) {
        worksheet_write_string(ws, row, 0, title_.toUtf8().constData(), titleFormat);
        row += 2;
    }
    for (std::size_t r = 0; r < rows_.size(); ++r, ++row) {
        const QStringList& cells = rows_[r];
        for (int c = 0; c < cells.size(); ++c) {
            const QString& text = cells[c];
            if (text.isEmpty()) continue;
            const auto col = static_cast<lxw_col_t>(c);
            if (r == 0) {
                worksheet_write_string(ws, row, col, text.toUtf8().constData(), headerFormat);
                continue;
            }
            double v = 0;
            if (ParseDouble(text, v) && std::isfinite(v)) {
                lxw_format* nf = static_cast<std::size_t>(c) < numberFormats.size() ? numberFormats[c] : nullptr;
                worksheet_write_number(ws, row, col, v, nf);
            } else {
                worksheet_write_string(ws, row, col, text.toUtf8().constData(), nullptr);
            }
        }
    }
    const lxw_error err = workbook_close(wb);
    if (err != LXW_NO_ERROR) {
        QFile::remove(tmpPath);
        error_ = QStringLiteral("Unable to save the workbook %1: %2").arg(path, QString::fromUtf8(lxw_strerror(err)));
        return false;
    }
    if (std::rename(QFile::encodeName(tmpPath).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(tmpPath);
        error_ = QStringLiteral("Unable to save the workbook %1.").arg(path);
        return false;
    }
    return true;
}

}  // namespace zar
