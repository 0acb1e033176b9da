#pragma once
// "Amino Acid Modifications" of the Sorvex sheet: the differential and static modification
// grids.

#include "SearchPageBase.h"

namespace zar {

class CModificationGrids;

class CSorvexModificationPage : public CSearchPageBase {
    Q_OBJECT
  public:
    static constexpr int kDialogId = 8765;
    explicit CSorvexModificationPage(CSearchPropertySheet* sheet);
    CModificationGrids* Grids() const { return grids_; }

  protected:
    bool OnInitDialog() override;

  private:
    CModificationGrids* grids_;
};

}  // namespace zar
