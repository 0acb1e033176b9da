#include "MassmapAdvancedPage.h"

#include "ModificationGrids.h"
#include "SearchPropertySheet.h"

#include "app/grids/ModificationGrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zar {

CMassmapAdvancedPage::CMassmapAdvancedPage(CSearchPropertySheet* sheet)
    : CSearchAdvancedPage(SearchKind::Massmap, kDialogId, sheet) {
    grids_ = new CModificationGrids(
        Model().modifications, [this] { return Model().basic.massType; }, this,
        QStringLiteral("Differential Modifications"), QStringLiteral("Static Modifications"));
    AddControl(CModificationGrids::kDifferentialGridId, grids_->DifferentialGrid());
    AddControl(CModificationGrids::kStaticGridId, grids_->StaticGrid());
    auto* row = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(grids_->DifferentialBox());
    left->addStretch(1);
    row->addLayout(left, 2);
    row->addWidget(grids_->StaticBox(), 3);
    PageLayout()->addLayout(row, 1);
}

bool CMassmapAdvancedPage::OnInitDialog() {
    CSearchAdvancedPage::OnInitDialog();
    grids_->SetUp();
    grids_->EnableGrids(Sheet()->EnableFlags().databaseDependent);
    ApplyEnableFlags(Sheet()->EnableFlags());
    return true;
}

}  // namespace zar
