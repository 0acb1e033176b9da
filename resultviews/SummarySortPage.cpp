#include "SummarySortPage.h"

#include <QButtonGroup>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace zar {

CSummarySortPage::CSummarySortPage(ResultsPageSet set, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Sort"));
    auto* layout = new QVBoxLayout(this);
    const Radios all = {{0, "&Filename"},
                        {1, "&Mass"},
                        {2, "&Peptide Sequence"},
                        {3, "Previous &Amino Acid"},
                        {4, "&Reference"},
                        {5, "&XCorr"},
                        {6, "&Delta Cn"},
                        {7, "&Sp"},
                        {8, "RS&p"},
                        {9, "Percent &Ions"},
                        {10, "Duplicate &Count"},
                        {11, "Protein &Weight"},
                        {12, "XPR&ESS Ratio"}};
    std::vector<int> keys;
    if (set == ResultsPageSet::Consensus)
        keys = {0, 1, 2, 3, 5, 6, 7, 8, 9, 10};
    else if (set == ResultsPageSet::Massmap)
        keys = {0, 1, 2, 3, 7, 9, 11};
    Radios radios;
    for (const auto& radio : all)
        if (keys.empty() || std::find(keys.begin(), keys.end(), radio.first) != keys.end())
            radios.push_back(radio);
    if (set != ResultsPageSet::Summary) {
        layout->addWidget(new QLabel(set == ResultsPageSet::Consensus
                                         ? QStringLiteral("Consensus Table By")
                                         : QStringLiteral("Results Table By"),
                                     this));
    }
    group_ = RadioGroup(radios, this, layout);
    connect(group_, &QButtonGroup::idClicked, this, [this](int) { StoreControls(); });
    LoadControls();
}

void CSummarySortPage::SetSortKey(int key) {
    sortKey = key;
    LoadControls();
}

void CSummarySortPage::SetSingleScore(int value) {
    singleScore = value;
    LoadControls();
}

void CSummarySortPage::LoadControls() {
    CheckRadio(group_, sortKey);
    for (int key = 5; key <= 8; ++key) EnableRadio(group_, key, singleScore == 0);
}

void CSummarySortPage::StoreControls() {
    if (group_->checkedId() >= 0) sortKey = group_->checkedId();
}

}  // namespace zar
