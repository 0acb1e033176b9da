#include "SplitterViews.h"

#include "ViewFactory.h"

#include <QResizeEvent>
#include <QVBoxLayout>

namespace zar {

std::vector<int> SplitterRowHeights(int cy, const std::vector<int>& percents) {
    std::vector<int> rows;
    rows.reserve(percents.size());
    for (int p : percents) rows.push_back(cy > 0 ? static_cast<int>(static_cast<long long>(cy) * p / 100) : 0);
    return rows;
}

namespace {
const std::vector<SplitterLayout>& layouts() {
    static const std::vector<SplitterLayout> all = {
        {"CPlotSplitterView", Qt::Vertical, {{"CTraceView", 50}, {"CSpecView", 50}}},
        {"CSummarySplitterView", Qt::Vertical, {{"CTraceView", 25}, {"CSummaryView", 45}, {"CConsensusView", 30}}},
        {"CZarmassSplitterView", Qt::Vertical, {{"CTraceView", 30}, {"CZarmassSpecView", 35}, {"CZarmassDeconvView", 35}}},
        {"CDenovoSplitterView", Qt::Vertical, {{"CTraceView", 25}, {"CDenovoView", 25}, {"CVerticalSplitterView", 50}}},
        {"CPepmatchSplitterView", Qt::Vertical, {{"CTraceView", 25}, {"CPepmatchView", 35}, {"CPepmatchSpecView", 40}}},
        {"CPepmapSplitterView", Qt::Vertical, {{"CTraceView", 40}, {"CPepmapView", 60}}},
        {"CMassmapSplitterView", Qt::Vertical, {{"CTraceView", 35}, {"CMassmapView", 65}}},
        {"CMultiConsensusSplitterView", Qt::Vertical, {{"CTraceView", 25}, {"CMultiConsensusView", 75}}},
        {"CVerticalSplitterView", Qt::Horizontal, {{"CDenovoScatterView", 50}, {"CDenovoSpecView", 50}}},
    };
    return all;
}
}  // namespace

const SplitterLayout* LayoutByClassName(const QString& className) {
    for (const SplitterLayout& l : layouts())
        if (className == QLatin1String(l.className)) return &l;
    return nullptr;
}

const SplitterLayout* LayoutForViewType(int viewType) {
    static const char* const byType[] = {nullptr, "CPlotSplitterView", nullptr, nullptr, nullptr,
                                         "CSummarySplitterView", "CZarmassSplitterView", "CDenovoSplitterView",
                                         "CPepmatchSplitterView", "CPepmapSplitterView", "CMassmapSplitterView"};
    if (viewType < 0 || viewType > 10 || !byType[viewType]) return nullptr;
    return LayoutByClassName(QString::fromLatin1(byType[viewType]));
}

bool CanMakeWholeView(const QString& className) {
    const SplitterLayout* layout = LayoutByClassName(className);
    if (!layout) return IsViewClassRegistered(className);
    for (const SplitterPane& pane : layout->panes)
        if (!CanMakeWholeView(QString::fromLatin1(pane.viewClass))) return false;
    return true;
}

CSplitterLayoutView::CSplitterLayoutView(const SplitterLayout& layout, QWidget* parent)
    : CZarViewWidget(parent), layout_(layout), splitter_(new QSplitter(layout.orientation, this)) {
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(splitter_);
    splitter_->setChildrenCollapsible(false);
    for (const SplitterPane& pane : layout.panes) {
        const QString cls = QString::fromLatin1(pane.viewClass);
        CZarViewWidget* view = nullptr;
        if (const SplitterLayout* nested = LayoutByClassName(cls)) view = new CSplitterLayoutView(*nested);
        else view = CreateViewOfClass(cls, nullptr);
        if (!view) {
            missing_.append(cls);
            continue;
        }
        splitter_->addWidget(view);
        panes_.push_back(view);
        percents_.push_back(pane.percent);
    }
}

CZarViewWidget* CSplitterLayoutView::FindPane(const QString& className) const {
    for (CZarViewWidget* v : panes_) {
        if (className == QLatin1String(v->ViewClassName())) return v;
        if (auto* nested = qobject_cast<CSplitterLayoutView*>(v))
            if (CZarViewWidget* found = nested->FindPane(className)) return found;
    }
    return nullptr;
}

void CSplitterLayoutView::OnInitialUpdate() {
    // Each pane is initialised once, however often the layout is.
    if (panesInitialised_) return;
    panesInitialised_ = true;
    for (CZarViewWidget* v : panes_) v->OnInitialUpdate();
}

void CSplitterLayoutView::resizeEvent(QResizeEvent* event) {
    CZarViewWidget::resizeEvent(event);
    applySizes();
}

void CSplitterLayoutView::applySizes() {
    if (panes_.empty()) return;
    const int extent = layout_.orientation == Qt::Vertical ? height() : width();
    std::vector<int> sizes = SplitterRowHeights(extent, percents_);
    // Panes that are missing give their share to the others in proportion.
    int total = 0;
    for (int p : percents_) total += p;
    if (total > 0 && total < 100) {
        for (std::size_t i = 0; i < sizes.size(); ++i) sizes[i] = static_cast<int>(static_cast<long long>(extent) * percents_[i] / total);
    }
    splitter_->setSizes(QList<int>(sizes.begin(), sizes.end()));
}

}  // namespace zar
