#include "excel/ExcelWorkbook.h"

#include "core/Numbers.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QXmlStreamReader>

#include <minizip/unzip.h>
#include <xlsxwriter.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include <unistd.h>

namespace zar {

QString MakeExcelSheetName(const QString& text) {
    QString name = text;
    for (QChar& c : name)
        if (QStringLiteral("*:/\\?'[]").contains(c)) c = QLatin1Char('_');
    if (name.size() > CExcelWorkbook::kMaxSheetNameLength) name = name.right(CExcelWorkbook::kMaxSheetNameLength);
    if (name.trimmed().isEmpty()) name = QStringLiteral("Sheet1");
    return name;
}

namespace {

// True when every part of the workbook at `path` reads back whole: the archive opens, each part
// passes its checksum and each XML part is well-formed to its end. The library does not notice
// writes that fail on a full disk (neither of its own temporary files nor of the archive), so
// the result is read back before it replaces anything.
bool IsWholeWorkbook(const QString& path) {
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || ::fsync(file.handle()) != 0) return false;
    }
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (!zip) return false;
    bool whole = unzGoToFirstFile(zip) == UNZ_OK;
    std::vector<char> block(1 << 16);
    for (int next = UNZ_OK; whole && next == UNZ_OK; next = unzGoToNextFile(zip)) {
        char name[512] = {};
        if (unzGetCurrentFileInfo64(zip, nullptr, name, sizeof name - 1, nullptr, 0, nullptr, 0) !=
                UNZ_OK ||
            unzOpenCurrentFile(zip) != UNZ_OK) {
            whole = false;
            break;
        }
        const QByteArray entry(name);
        const bool xml = entry.endsWith(".xml") || entry.endsWith(".rels");
        QXmlStreamReader reader;
        int depth = 0;
        bool rootClosed = false;
        int got = 0;
        while ((got = unzReadCurrentFile(zip, block.data(), static_cast<unsigned>(block.size()))) >
               0) {
            if (!xml) continue;
            reader.addData(QByteArray(block.data(), got));
            while (!reader.atEnd()) {
                const auto token = reader.readNext();
                if (token == QXmlStreamReader::StartElement) ++depth;
                if (token == QXmlStreamReader::EndElement && --depth == 0) rootClosed = true;
            }
        }
        // Fed piece by piece, the reader always waits for more: the root element's end is what
        // shows the part is whole.
        if (xml &&
            (!rootClosed || (reader.hasError() &&
                             reader.error() != QXmlStreamReader::PrematureEndOfDocumentError)))
            whole = false;
        if (unzCloseCurrentFile(zip) != UNZ_OK || got < 0) whole = false;
    }
    unzClose(zip);
    return whole;
}

}  // namespace

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
    // The library creates the file again under the reserved name, so that the workbook gets the
    // mode of a new file (the user's umask) rather than the temporary file's private one.
    tmp.setAutoRemove(false);
    QFile::remove(tmpPath);

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
            const bool labels = static_cast<std::size_t>(c) < formats_.size() && formats_[c].text;
            double v = 0;
            if (!labels && ParseDouble(text, v) && std::isfinite(v)) {
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
    if (!IsWholeWorkbook(tmpPath)) {
        QFile::remove(tmpPath);
        error_ = QStringLiteral("Unable to save the workbook %1: the disk may be full.").arg(path);
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
