#include "SummaryOptionsPage.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QVBoxLayout>

namespace zar {

CSummaryOptionsPage::CSummaryOptionsPage(ResultsPageSet set, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Options"));
    auto* layout = new QVBoxLayout(this);
    auto* display = new QGroupBox(QStringLiteral("Display"), this);
    auto* displayLayout = new QVBoxLayout(display);
    display_ = RadioGroup({QStringLiteral("&Scan Numbers"), QStringLiteral("Retention &Time")},
                          display, displayLayout);
    layout->addWidget(display);
    if (set != ResultsPageSet::Massmap) {
        auto* score = new QGroupBox(QStringLiteral("Consensus Score"), this);
        auto* scoreLayout = new QVBoxLayout(score);
        score_ =
            RadioGroup({QStringLiteral("&Rankings"), QStringLiteral("Ranking + XCorr + &Delta Cn")},
                       score, scoreLayout);
        layout->addWidget(score);
        connect(score_, &QButtonGroup::idClicked, this, [this](int) { StoreControls(); });
    }
    layout->addStretch();
    connect(display_, &QButtonGroup::idClicked, this, [this](int) { StoreControls(); });
    LoadControls();
}

void CSummaryOptionsPage::SetShowTimes(int value) {
    showTimes = value;
    LoadControls();
}

void CSummaryOptionsPage::SetScoreMethod(int method) {
    scoreMethod = method;
    LoadControls();
}

void CSummaryOptionsPage::LoadControls() {
    CheckRadio(display_, showTimes != 0 ? 1 : 0);
    if (score_) CheckRadio(score_, scoreMethod != 0 ? 1 : 0);
}

void CSummaryOptionsPage::StoreControls() {
    showTimes = display_->checkedId() == 1 ? 1 : 0;
    if (score_) scoreMethod = score_->checkedId() == 1 ? 1 : 0;
}

}  // namespace zar
