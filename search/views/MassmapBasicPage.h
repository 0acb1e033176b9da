#pragma once
// "Basic Parameters" of the Massmap sheet: no results folder and one mass range, but the
// protein mass (base peak or a supplied mass) and the charge state of the peptide mapping.

#include "SearchBasicPage.h"

namespace zar {

class CMassmapBasicPage : public CSearchBasicPage {
    Q_OBJECT
  public:
    static constexpr int kDialogId = 9149;
    explicit CMassmapBasicPage(CSearchPropertySheet* sheet)
        : CSearchBasicPage(SearchKind::Massmap, kDialogId, sheet) {}
};

}  // namespace zar
