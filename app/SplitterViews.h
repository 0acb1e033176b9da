#pragma once
// The layouts of the main frame: a splitter of panes, the trace view always on top, whose rows
// keep fixed shares of the height: every resize sets them again.

#include "ZarViewWidget.h"

#include <QSplitter>
#include <QString>

#include <vector>

namespace zar {

// Heights of rows with the given percentages of cy (truncated, so they add to at most cy).
std::vector<int> SplitterRowHeights(int cy, const std::vector<int>& percents);

struct SplitterPane {
    const char* viewClass;
    int percent;  // share of the height (rows) or width (columns); 0: what is left
};

struct SplitterLayout {
    const char* className;
    Qt::Orientation orientation;     // Vertical: rows
    std::vector<SplitterPane> panes;
};

// The layouts by view type (1, 5 to 10) and the other splitter classes by name.
const SplitterLayout* LayoutForViewType(int viewType);
const SplitterLayout* LayoutByClassName(const QString& className);
// Whether a view of the class can be made whole: a layout when every pane of it (nested layouts
// too) is provided, any other class when it is registered.
bool CanMakeWholeView(const QString& className);

class CSplitterLayoutView : public CZarViewWidget {
    Q_OBJECT
public:
    CSplitterLayoutView(const SplitterLayout& layout, QWidget* parent = nullptr);
    const char* ViewClassName() const override { return layout_.className; }
    void OnInitialUpdate() override;
    QSplitter* Splitter() const { return splitter_; }
    // The pane views that exist, in pane order (a pane whose view is not provided is missing).
    const std::vector<CZarViewWidget*>& Panes() const { return panes_; }
    QStringList MissingPanes() const { return missing_; }
    // The pane of a class, searching nested layouts too; null when none.
    CZarViewWidget* FindPane(const QString& className) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void applySizes();
    const SplitterLayout& layout_;
    QSplitter* splitter_;
    std::vector<CZarViewWidget*> panes_;
    std::vector<int> percents_;
    QStringList missing_;
    bool panesInitialised_ = false;
};

}  // namespace zar
