#include "IonGridSink.h"

#include "app/ZarApp.h"
#include "controls/ColorLabel.h"
#include "grid/GridWnd.h"

#include <QContextMenuEvent>
#include <QPrinter>

#include <algorithm>

#include "messages/Messages.h"

namespace zar {

int CIonGridSink::rowCount() const {
    return grid_.GetRowCount();
}

int CIonGridSink::columnCount() const {
    return grid_.GetColCount();
}

void CIonGridSink::clearCells(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    grid_.ClearCells(CGXRange::cells(firstRow, firstColumn, lastRow, lastColumn));
    // A cell coloured by an earlier match shows in the plain colour again.
    grid_.SetStyleRange(CGXRange::cells(firstRow, firstColumn, lastRow, lastColumn),
                        CGXStyle().setTextColor(Qt::black));
}

void CIonGridSink::setTextCell(int row, int column, const QString& text) {
    grid_.SetValueRange(row, column, text);
    grid_.SetStyleRange(CGXRange::cell(row, column), CGXStyle()
                                                         .setValueType(GridValueType::Text)
                                                         .setAlignment(Qt::AlignCenter)
                                                         .setReadOnly(true));
}

void CIonGridSink::setNumberCell(int row, int column, const QString& text, bool coloured,
                                 ColorRef color) {
    double value = 0.0;
    if (ReadGridNumber(text, value))
        grid_.SetValueRange(row, column, value);
    else
        grid_.SetValueRange(row, column, text);
    grid_.SetStyleRange(CGXRange::cell(row, column),
                        CGXStyle()
                            .setValueType(GridValueType::Number)
                            .setTextColor(coloured ? ColorFromColorref(color) : QColor(Qt::black)));
}

void SetUpIonGridColumns(CGXGridWnd& grid) {
    grid.SetColCount(kIonGridColumnCount);
    for (int c = 1; c <= kIonGridColumnCount; ++c)
        grid.SetValueRange(0, c, QString::fromLatin1(kIonGridTitles[c - 1]));
    // The cells hold the full masses (copied and exported as they are); narrow columns show
    // them to a hundredth.
    grid.SetStyleRange(CGXRange::cols(kIonGridMHColumn, kIonGridColumnCount),
                       CGXStyle().setFormat(GridNumberFormat::Fixed, kIonGridDecimals));
}

int IonMassColumnWidth(const CGXGridWnd& grid, int least) {
    return std::max(least, grid.fontMetrics().horizontalAdvance(QStringLiteral("00000.00")) + 12);
}

void SetIonGridPrintMargins(CGXGridWnd& grid) {
    grid.SetPrintMargins(kResultListPrintMargins);
}

bool FollowsGridRightClick(const QContextMenuEvent* event, const QWidget* grid) {
    return event && grid && event->reason() == QContextMenuEvent::Mouse && grid->isVisible() &&
           grid->rect().contains(grid->mapFromGlobal(event->globalPos()));
}

bool IsGridContextMenu(QEvent* event) {
    return event && event->type() == MessageEvent::eventType() &&
           static_cast<MessageEvent*>(event)->message() == WM_CONTEXTMENU;
}

}  // namespace zar
