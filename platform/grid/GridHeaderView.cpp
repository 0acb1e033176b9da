#include "grid/GridHeaderView.h"

#include "grid/GridModel.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace zar {

CGXGridHeaderView::CGXGridHeaderView(CGXGridModel* cells, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), cells_(cells) {
    setSectionsClickable(true);
    setHighlightSections(false);
    connect(cells_, &CGXGridModel::titlesChanged, viewport(), qOverload<>(&QWidget::update));
}

void CGXGridHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const int col = logicalIndex + 1;
    QRect cellRect = rect;
    int textCol = col;
    if (const CGXGridModel::Span* span = cells_->CoveredCellAt(0, col)) {
        // Every section of a span paints the whole span, so it shows whichever part is visible.
        const int first = span->left - 1;
        const int last = span->right - 1;
        int left = sectionViewportPosition(first);
        int right = sectionViewportPosition(last) + sectionSize(last);
        cellRect = QRect(left, rect.top(), right - left, rect.height());
        textCol = span->left;
    }
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = cellRect;
    opt.section = logicalIndex;
    opt.text = cells_->GetDisplayText(0, textCol);
    opt.textAlignment = Qt::AlignCenter;
    const CGXStyle st = cells_->GetStyle(0, textCol);
    if (st.alignment) opt.textAlignment = *st.alignment;
    painter->save();
    painter->setClipRect(rect);
    QFont f = painter->font();
    if (st.bold) f.setBold(*st.bold);
    painter->setFont(f);
    style()->drawControl(QStyle::CE_Header, &opt, painter, this);
    painter->restore();
}

}  // namespace zar
