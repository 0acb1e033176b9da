#pragma once
// The grid window every table of the program derives from: a QTableView over a CGXGridModel,
// numbered like the tables it replaces (row 0 the titles, column 0 the row headers, data from
// 1). Derived grids add only what must live inside the grid: what a click does, which cells may
// be edited, how an edited value is checked, and how a right click reaches the owner.

#include "grid/GridModel.h"
#include "grid/GridStyle.h"
#include "messages/Messages.h"

#include <QPageLayout>
#include <QPoint>
#include <QTableView>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QPainter;
class QPrinter;

namespace zar {

class CGXGridHeaderView;

constexpr unsigned WM_CONTEXTMENU = 0x007B;

// What a grid prints besides its rows: the page layout chosen in its page set-up and the texts
// above and below every page (left, centre, right), in which "$P" stands for the page number,
// "$N" for the page count and "$D" for the date.
struct GridPrintProperties {
    std::optional<QPageLayout> pageLayout;  // none: the printer's own
    // The page margins the grid's owner gives (points); the page set-up's layout, once chosen,
    // carries its own. None: the printer's margins.
    std::optional<QMarginsF> margins;
    std::array<QString, 3> header;
    std::array<QString, 3> footer{QString(), QString(), QStringLiteral("Page $P of $N")};
};
// Margins of a printed table (points), in the order the table owners give them.
struct GridPrintMargins {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
};
// The result tables (summary, consensus, peptide mapping and its multiple-file twin) and the
// lists of one result (candidates, proteins, ions) print with these.
inline constexpr GridPrintMargins kResultTablePrintMargins{48, 48, 72, 24};
inline constexpr GridPrintMargins kResultListPrintMargins{72, 48, 48, 24};

// A header or footer text with its fields filled in.
QString ExpandPageText(const QString& text, int page, int pages);

class CGXGridWnd : public QTableView {
    Q_OBJECT
public:
    explicit CGXGridWnd(QWidget* parent = nullptr);
    ~CGXGridWnd() override;

    CGXGridModel* GetModel() const { return model_; }

    // The value the owner gave; derived grids that need their owner do nothing while it is 0.
    void SetGridOwner(std::uintptr_t owner) { owner_ = owner; }
    std::uintptr_t GetGridOwner() const { return owner_; }
    template <class T>
    T* GetGridOwnerAs() const { return reinterpret_cast<T*>(owner_); }

    // Counts and values (grid numbering).
    int GetRowCount() const { return model_->GetRowCount(); }
    int GetColCount() const { return model_->GetColCount(); }
    void SetRowCount(int rows) { model_->SetRowCount(rows); }
    void SetColCount(int cols);
    void InsertRows(int before, int count) { model_->InsertRows(before, count); }
    void RemoveRows(int from, int to) { model_->RemoveRows(from, to); }
    void SetValueRange(int row, int col, const QString& text) { model_->SetValue(row, col, text); }
    void SetValueRange(int row, int col, double number) { model_->SetNumber(row, col, number); }
    QString GetValueRowCol(int row, int col) const { return model_->GetValue(row, col); }
    QString GetDisplayTextRowCol(int row, int col) const { return model_->GetDisplayText(row, col); }
    void ClearCells(const CGXRange& range);
    void SetStyleRange(const CGXRange& range, const CGXStyle& style) { model_->SetStyle(range, style); }
    CGXStyle GetStyleRowCol(int row, int col) const { return model_->GetStyle(row, col); }
    void SetCoveredCellsRowCol(int top, int left, int bottom, int right);
    // Removes every covered range, the titles' too.
    void ClearCoveredCells();

    // Layout.
    void SetColWidth(int col, int width);
    int GetColWidth(int col) const;
    void HideCols(int from, int to, bool hide = true);
    bool IsColHidden(int col) const;
    void SetRowHeight(int height);

    // Drawing: lock around a fill so the view is told once, at the end.
    void LockUpdate(bool lock) { model_->LockUpdate(lock); }
    void Redraw();

    // Current cell, selection, hit testing.
    bool GetCurrentCell(int& row, int& col) const;
    void SetCurrentCell(int row, int col);
    std::vector<int> GetSelectedRows() const;
    // Cell under a point of the viewport; row 0 for the titles. False outside every cell.
    bool HitTest(const QPoint& viewportPoint, int& row, int& col) const;

    // Editing: the text of the current cell's edit control while it is validated, and the
    // warning the user is shown when validation fails.
    QString GetCurrentText() const { return currentText_; }
    void SetWarningText(const QString& text) { warning_ = text; }
    // Runs the edit path a user's entry takes: validate, then store and announce; false when the
    // entry was refused (the warning has been shown and the cell holds the replacement).
    bool StoreEditedText(int row, int col, const QString& text);
    // Clears the selected cells the way the Delete key does.
    void DeleteSelectedCells();

    // Printing: the table with its titles repeated on every page, under the grid's header and
    // above its footer, on the grid's page layout when it has one. Every table prints the same
    // way: PrepareForPrinting gives the printer the grid's layout or margins, PrintPages draws
    // on a painter started on that printer. False when the printer cannot be opened or the
    // printout could not be finished (the user has been told).
    bool Print(QPrinter* printer, const QString& title = QString()) const;
    void PrepareForPrinting(QPrinter& printer) const;
    // The print dialog (named documentName) on the printer, then the pages; false when the
    // user cancels or printing fails.
    bool PrintWithDialog(QPrinter& printer, QWidget* parent, const QString& documentName) const;
    // The pages on a started printer: in its printable area, only the pages of its page range
    // when one was chosen. Returns the number of pages of the whole table.
    int PrintPages(QPainter& painter, QPrinter& printer, const QString& title = QString()) const;
    // Draws the pages into a painter (page: the printable area in device pixels, resolution:
    // the device's dots per inch); newPage is called between two drawn pages. Pages outside
    // fromPage..toPage (1-based; 0: no limit) are left out. Returns the number of pages.
    // Columns keep their widths: a table wider than the page prints in bands of columns, each
    // block of rows on one page per band, the first column repeated on every band when it is
    // narrow.
    int PaintPages(QPainter& painter, const QRectF& page, double resolution,
                   const std::function<void()>& newPage, const QString& title = QString(),
                   int fromPage = 0, int toPage = 0) const;
    // The visible columns of each printed band on a page of that width (grid units).
    std::vector<std::vector<int>> PrintBands(const std::vector<int>& columns, double pageWidth) const;
    // Margins of the printed page in points, in the order the table owners give them.
    void SetPrintMargins(const GridPrintMargins& margins);
    // The largest printed text size (points, 1/72 inch); the table's own font size when smaller.
    static constexpr double kPrintFontPoints = 10.0;
    GridPrintProperties& PrintProperties() { return printProperties_; }
    const GridPrintProperties& PrintProperties() const { return printProperties_; }
    // Qt's page set-up dialog on the printer, starting from the grid's layout; OK keeps the
    // layout for the grid's printing.
    bool OnPageSetup(QPrinter& printer, QWidget* parent);
    // The header and footer dialog; OK keeps the texts.
    bool OnPageHeaderFooter(QWidget* parent);

protected:
    // Notifications a derived grid overrides.
    virtual bool OnLButtonClickedRowCol(int row, int col, Qt::KeyboardModifiers flags, const QPoint& pt);
    virtual bool CanEditCell(int row, int col);
    virtual bool OnValidateCell(int row, int col);
    virtual void OnModifyCell(int row, int col);
    virtual void OnCellChanged(int row, int col);
    virtual bool OnGridKeyDown(int key, Qt::KeyboardModifiers modifiers);
    virtual void OnLButtonDownRowCol(int row, int col);
    // Whether a right click posts WM_CONTEXTMENU to the parent.
    virtual bool HasContextMenu() const { return true; }

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The library's own validation of a cell no rule of the derived grid checks.
    bool defaultValidate(int row, int col, const QString& text);
    void onTitleClicked(int col);

    CGXGridModel* model_;
    CGXGridHeaderView* header_;
    std::uintptr_t owner_ = 0;
    QString currentText_;
    QString warning_;
    QPoint pressPos_;
    bool pressed_ = false;
    GridPrintProperties printProperties_;

    friend class CGXGridDelegate;
};

// Reads a cell text as a number the way the grids check entries: the whole text must be a
// finite number (so "12abc", "abc", "inf" and "nan" are not).
bool ReadGridNumber(const QString& text, double& value);

}  // namespace zar
