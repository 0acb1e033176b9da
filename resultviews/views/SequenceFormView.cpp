#include "SequenceFormView.h"

#include "app/grids/DisplayGrids.h"
#include "databases/DatabaseSearch.h"
#include "document/hub/ZarDoc.h"
#include "resultviews/SequenceCells.h"
#include "resultviews/SequenceReport.h"

#include "gui/PrintJob.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace zar {

CSequenceFormView::CSequenceFormView(CResultsWindow* owner, QWidget* parent, int initialRows)
    : CLookupFormView(owner, parent),
      referenceEdit_(new QLineEdit(this)),
      database_(new QLabel(QStringLiteral("Database:"), this)),
      aminoAcids_(new QLabel(QStringLiteral("Number of Amino Acids:"), this)),
      proteinMass_(new QLabel(QStringLiteral("Protein Mass:"), this)),
      sequenceGrid_(new CSequenceGrid(this)),
      form_(new QGridLayout(this)),
      rowCount_(initialRows) {
    referenceEdit_->setReadOnly(true);
    sequenceGrid_->setObjectName(QStringLiteral("PeptideGrid"));
    for (QLabel* label : {database_, aminoAcids_, proteinMass_})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form_->setContentsMargins(6, 6, 6, 6);
}

void CSequenceFormView::SetUpSequenceGrid() {
    if (gridReady_) return;
    gridReady_ = true;
    sequenceGrid_->SetColCount(kSequenceGridColumns);
    for (int c = 1; c <= kSequenceGridColumns; ++c) {
        sequenceGrid_->SetValueRange(0, c, SequenceColumnTitle(c));
        sequenceGrid_->SetColWidth(c, kSequenceColumnWidth);
    }
    sequenceGrid_->SetRowCount(rowCount_);
    // Rich text is the cells' standard type, rows added later included.
    sequenceGrid_->SetStyleRange(CGXRange::cols(1, kSequenceGridColumns),
                                 CGXStyle().setControl(GridControl::RichEdit).setReadOnly(true));
}

void CSequenceFormView::GrowRows(int rows) {
    if (rows < 1 || rows <= rowCount_) return;
    rowCount_ = rows;
    sequenceGrid_->SetRowCount(rows);
}

void CSequenceFormView::SetRowCount(WPARAM rows, LPARAM) {
    if (WantsSearchRecords()) GrowRows(static_cast<int>(rows));
}

QString CSequenceFormView::DatabaseText() const {
    return database_->text();
}
QString CSequenceFormView::ProteinMassText() const {
    return proteinMass_->text();
}
QString CSequenceFormView::AminoAcidsText() const {
    return aminoAcids_->text();
}

QStringList CSequenceFormView::StaticTexts() const {
    return {database_->text(), aminoAcids_->text(), proteinMass_->text()};
}

void CSequenceFormView::ClearProtein() {
    sequence_.clear();
    sequenceGrid_->ClearCells(
        CGXRange::cells(1, 1, std::max(1, sequenceGrid_->GetRowCount()), kSequenceGridColumns));
}

void CSequenceFormView::WriteCells(const std::vector<SequenceCell>& cells) {
    int rows = 0;
    for (const SequenceCell& cell : cells) rows = std::max(rows, cell.row);
    GrowRows(rows);
    sequenceGrid_->LockUpdate(true);
    for (const SequenceCell& cell : cells)
        sequenceGrid_->SetValueRange(cell.row, cell.col, cell.text);
    sequenceGrid_->LockUpdate(false);
}

void CSequenceFormView::ShowFoundProtein(const ProteinLookupResult& result) {
    referenceEdit_->setText(result.description);
    referenceEdit_->setCursorPosition(0);
    if (result.status != LookupStatus::Found) return;
    database_->setText(result.databaseText);
    proteinMass_->setText(result.massText);
    aminoAcids_->setText(result.aminoAcidText);
    sequence_ = result.record.sequence;
    GrowRows(SequenceGridRows(result.record.length));
    WriteCells(PlainSequenceCells(sequence_));
}

int CSequenceFormView::ResiduesPerLine(const QPrinter& printer) {
    return printer.pageLayout().orientation() == QPageLayout::Landscape ? kReportResiduesLandscape
                                                                        : kReportResiduesPortrait;
}

int CSequenceFormView::PrintReportLines(QPrinter& printer, const std::vector<ReportLine>& lines,
                                        const QString& footer) {
    QPainter painter;
    if (!BeginPrinting(painter, printer)) return 0;
    const int dpiX = printer.resolution();
    const int dpiY = printer.resolution();
    const QRect paper = printer.pageLayout().paintRectPixels(dpiY);
    const QRect inside = QRect(0, 0, paper.width(), paper.height())
                             .adjusted(dpiX / 4, dpiY / 4, -dpiX / 4, -dpiY / 4);
    QFont regular(QStringLiteral("Courier"));
    regular.setStyleHint(QFont::TypeWriter);
    regular.setPixelSize(std::max(1, 10 * dpiY / 72));
    QFont bold = regular;
    bold.setWeight(QFont::Bold);
    painter.setFont(regular);
    const int lineHeight = std::max(1, painter.fontMetrics().height());
    const int charWidth = std::max(1, painter.fontMetrics().horizontalAdvance(QLatin1Char('M')));
    const int band = 3 * lineHeight;
    const QRect header(inside.left(), inside.top(), inside.width(), band);
    const QRect footerRect(inside.left(), inside.bottom() - band, inside.width(), band);
    const QRect body(inside.left(), header.bottom() + 1, inside.width(),
                     footerRect.top() - header.bottom() - 1);
    const int perPage = std::max(1, body.height() / lineHeight);
    const int pages = std::max(1, static_cast<int>((lines.size() + perPage - 1) / perPage));
    const CZarDoc* doc = CZarDoc::GetDoc();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) printer.newPage();
        if (doc) {
            doc->PrintPageHeader(painter, header, dpiX, dpiY);
            doc->PrintPageFooter(painter, footer, QString(), page + 1, pages, footerRect, dpiX,
                                 dpiY);
        }
        painter.setPen(Qt::black);
        int y = body.top() + painter.fontMetrics().ascent();
        const std::size_t first = static_cast<std::size_t>(page) * perPage;
        const std::size_t last = std::min(lines.size(), first + perPage);
        for (std::size_t i = first; i < last; ++i, y += lineHeight) {
            const ReportLine& line = lines[i];
            if (!line.residues) {
                painter.setFont(regular);
                painter.drawText(body.left(), y, line.text);
                continue;
            }
            int x = body.left();
            for (qsizetype k = 0; k < line.text.size(); ++k) {
                const bool strong =
                    static_cast<std::size_t>(k) < line.bold.size() && line.bold[std::size_t(k)];
                painter.setFont(strong ? bold : regular);
                painter.drawText(x, y, QString(line.text[k]));
                x += charWidth;
                if ((k + 1) % kResiduesPerCell == 0) x += charWidth;
            }
        }
    }
    return EndPrinting(painter, printer) ? pages : 0;
}

}  // namespace zar
