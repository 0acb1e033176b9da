#pragma once
// The spreadsheet exporter: imports a tab-separated text into one sheet and saves it as a real
// .xlsx workbook laid out as our report templates: a title row, the table's header row in bold,
// the table's number formats and column widths.

#include <QString>
#include <QStringList>

#include <vector>

namespace zar {

// How one column of the exported table looks.
struct ExcelColumnFormat {
    double widthChars = 12;  // width in characters
    int decimals = -1;        // fixed decimals of number cells; -1: as the number is
    // A column of labels: every cell goes out as the text it is, even one that reads as a number
    // ("50.60", peptide 50 piece 60, is no 50.6).
    bool text = false;
};

class CExcelWorkbook {
public:
    // Excel's limit on sheet names.
    static constexpr int kMaxSheetNameLength = 31;

    void SetTitle(const QString& title) { title_ = title; }
    void SetSheetName(const QString& name);
    QString SheetName() const { return sheet_; }
    void SetColumnFormats(std::vector<ExcelColumnFormat> formats) { formats_ = std::move(formats); }

    // Reads the tab-separated text (first line the header row); false when it cannot be read.
    bool ImportText(const QString& path);
    // Writes the workbook to `path` (through a temporary file); false with ErrorString() on failure.
    bool SaveAs(const QString& path);
    QString ErrorString() const { return error_; }

    const std::vector<QStringList>& Rows() const { return rows_; }

private:
    QString title_;
    QString sheet_ = QStringLiteral("Sheet1");
    std::vector<ExcelColumnFormat> formats_;
    std::vector<QStringList> rows_;
    QString error_;
};

// A sheet name Excel accepts: the characters it refuses become "_", and a name longer than
// Excel allows keeps its end (the file name part).
QString MakeExcelSheetName(const QString& text);

}  // namespace zar
