#include "SorvexQueuePage.h"

#include "SearchLauncher.h"
#include "SearchPropertySheet.h"

#include "app/grids/SimpleEditGrids.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zar {

CSorvexQueuePage::CSorvexQueuePage(CSearchPropertySheet* sheet)
    : CSearchPageBase(kDialogId, QStringLiteral("SORVEX Queue"), sheet),
      runChoice_(new QButtonGroup(this)),
      priority_(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    auto* run = new QGroupBox(QStringLiteral("Run TurboSORVEX"), this);
    auto* runRow = new QHBoxLayout(run);
    runRow->addWidget(NewRadio(kDirectlyId, QStringLiteral("&Directly"), runChoice_, 0, run));
    runRow->addWidget(
        NewRadio(kThroughQueueId, QStringLiteral("&Through SORVEX Queue"), runChoice_, 1, run));
    runRow->addStretch(1);
    connect(runChoice_, &QButtonGroup::idClicked, this, [this](int id) { OnRunChoiceClicked(id); });

    auto* parameters = new QGroupBox(QStringLiteral("SORVEX Queue Parameters"), this);
    auto* parametersRow = new QHBoxLayout(parameters);
    auto* label = Control(kPriorityLabelId, new QLabel(QStringLiteral("&Priority:"), parameters));
    auto* high = NewRadio(kHighId, QStringLiteral("H&igh"), priority_, 0, parameters);
    label->setBuddy(high);
    parametersRow->addWidget(label);
    parametersRow->addWidget(high);
    parametersRow->addWidget(
        NewRadio(kNormalId, QStringLiteral("&Normal"), priority_, 1, parameters));
    parametersRow->addWidget(NewRadio(kLowId, QStringLiteral("&Low"), priority_, 2, parameters));
    parametersRow->addStretch(1);

    auto* status = new QGroupBox(QStringLiteral("SORVEX Queue Status"), this);
    auto* statusLayout = new QVBoxLayout(status);
    grid_ = Control(kGridId, new CSorvexQueueGrid(status));
    grid_->setObjectName(QStringLiteral("ComputerGrid"));
    grid_->SetColCount(3);
    grid_->SetValueRange(0, 1, QStringLiteral("Computer"));
    grid_->SetValueRange(0, 2, QStringLiteral("Status"));
    grid_->SetValueRange(0, 3, QStringLiteral("Searches"));
    statusLayout->addWidget(grid_);

    layout->addWidget(run);
    layout->addWidget(parameters);
    layout->addWidget(status, 1);
}

bool CSorvexQueuePage::OnInitDialog() {
    CSearchPageBase::OnInitDialog();
    ShowControls();
    LayoutGrid();
    return true;
}

void CSorvexQueuePage::DoDataExchange(CDataExchange& dx) {
    ExchangeChoice(dx, runChoice_, Model().queue.runChoice);
    ExchangeChoice(dx, priority_, Model().queue.priority);
}

void CSorvexQueuePage::OnRunChoiceClicked(int choice) {
    Model().queue.runChoice = choice;
    ShowControls();
}

void CSorvexQueuePage::ShowControls() {
    const bool daemon = Sheet()->Launcher() && Sheet()->Launcher()->HasSearchDaemon();
    EnableIds({kThroughQueueId}, daemon);
    const bool queue = Model().queue.runChoice == 1;
    EnableIds({kPriorityLabelId, kHighId, kNormalId, kLowId}, queue);
    CGXStyle look = CGXStyle().setReadOnly(!queue);
    look.setInterior(queue ? QColor(Qt::white) : QColor::fromRgb(kGreyInterior));
    grid_->SetStyleRange(CGXRange::table(), look);
    grid_->Redraw();
}

void CSorvexQueuePage::LayoutGrid() {
    int used = 0;
    for (int col = 1; col < grid_->GetColCount(); ++col) used += grid_->GetColWidth(col);
    const int rest = grid_->viewport()->width() - used;
    grid_->SetColWidth(grid_->GetColCount(), std::max(kMinimumLastColumn, rest));
    grid_->Redraw();
}

void CSorvexQueuePage::resizeEvent(QResizeEvent* event) {
    CSearchPageBase::resizeEvent(event);
    if (IsInitialized()) LayoutGrid();
}

}  // namespace zar
