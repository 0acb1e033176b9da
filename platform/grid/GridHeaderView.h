#pragma once
// Title row of a grid: draws row 0 of the cell store, including title cells that span columns.

#include <QHeaderView>

namespace zar {

class CGXGridModel;

class CGXGridHeaderView : public QHeaderView {
    Q_OBJECT
public:
    CGXGridHeaderView(CGXGridModel* cells, QWidget* parent);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    CGXGridModel* cells_;
};

}  // namespace zar
