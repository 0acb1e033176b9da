#pragma once
// "Advanced Parameters" of the Massmap sheet: the shorter set of tolerances and limits (with the
// number of cleavage sites) above the differential and static modification grids.

#include "SearchAdvancedPage.h"

namespace zar {

class CModificationGrids;

class CMassmapAdvancedPage : public CSearchAdvancedPage {
    Q_OBJECT
  public:
    static constexpr int kDialogId = 9154;
    explicit CMassmapAdvancedPage(CSearchPropertySheet* sheet);
    CModificationGrids* Grids() const { return grids_; }

  protected:
    bool OnInitDialog() override;

  private:
    CModificationGrids* grids_;
};

}  // namespace zar
