#include "SorvexModificationPage.h"

#include "ModificationGrids.h"
#include "SearchPropertySheet.h"

#include "app/grids/ModificationGrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zar {

CSorvexModificationPage::CSorvexModificationPage(CSearchPropertySheet* sheet)
    : CSearchPageBase(kDialogId, QStringLiteral("Amino Acid Modifications"), sheet) {
    grids_ = new CModificationGrids(
        Model().modifications, [this] { return Model().basic.massType; }, this,
        QStringLiteral("Differential"), QStringLiteral("Static"));
    AddControl(CModificationGrids::kDifferentialGridId, grids_->DifferentialGrid());
    AddControl(CModificationGrids::kStaticGridId, grids_->StaticGrid());
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    left->addWidget(grids_->DifferentialBox());
    left->addStretch(1);
    layout->addLayout(left, 2);
    layout->addWidget(grids_->StaticBox(), 3);
}

bool CSorvexModificationPage::OnInitDialog() {
    CSearchPageBase::OnInitDialog();
    grids_->SetUp();
    grids_->EnableGrids(Sheet()->EnableFlags().databaseDependent);
    return true;
}

}  // namespace zar
