#pragma once
// "Basic Parameters" of the Sorvex sheet: the results folder, scan limits, a mass range for
// each kind of database, and the number of internal cleavage sites.

#include "SearchBasicPage.h"

namespace zar {

class CSorvexGeneralPage : public CSearchBasicPage {
    Q_OBJECT
  public:
    static constexpr int kDialogId = 8744;
    explicit CSorvexGeneralPage(CSearchPropertySheet* sheet)
        : CSearchBasicPage(SearchKind::Sorvex, kDialogId, sheet) {}
};

}  // namespace zar
