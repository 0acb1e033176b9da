#pragma once
// "Advanced Parameters" of the Sorvex sheet: every extraction and search tolerance, the ion
// series and the output options.

#include "SearchAdvancedPage.h"

namespace zar {

class CSorvexParameterPage : public CSearchAdvancedPage {
    Q_OBJECT
  public:
    static constexpr int kDialogId = 8756;
    explicit CSorvexParameterPage(CSearchPropertySheet* sheet)
        : CSearchAdvancedPage(SearchKind::Sorvex, kDialogId, sheet) {}
};

}  // namespace zar
