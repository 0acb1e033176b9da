#pragma once
// The "Fasta Database Utilities" sheet (Tools > Fasta Database Utilities...): the Select page,
// which writes a database from the entries of another, and the Add page, which appends one
// entry. The sheet only closes: each page acts by its own button, and each opening starts from
// the defaults.

#include "controls/DialogBase.h"

namespace zar {

class CUtilityAddPage;
class CUtilitySelectPage;

class CUtilityPropertySheet : public CPropertySheetBase {
    Q_OBJECT
  public:
    static constexpr int kCaptionId = 8410;

    CUtilityPropertySheet(int captionId, QWidget* parent, int firstPage = 0);

    CUtilitySelectPage* SelectPage() const { return select_; }
    CUtilityAddPage* AddPage() const { return add_; }

  protected:
    bool OnInitDialog() override;

  private:
    CUtilitySelectPage* select_;
    CUtilityAddPage* add_;
};

}  // namespace zar
