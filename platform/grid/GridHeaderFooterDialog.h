#pragma once
// The header and footer of a grid's printed pages: three texts above and three below every page
// (left, centre, right), with the page number, page count and date as fields.

#include "grid/GridWnd.h"

#include <QDialog>

#include <array>

class QLineEdit;

namespace zar {

class CGXHeaderFooterDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CGXHeaderFooterDialog(const GridPrintProperties& properties, QWidget* parent = nullptr);
    // The texts as the dialog shows them now.
    void GetTexts(GridPrintProperties& properties) const;
    QLineEdit* HeaderEdit(int part) const { return header_[part]; }
    QLineEdit* FooterEdit(int part) const { return footer_[part]; }

  private:
    std::array<QLineEdit*, 3> header_{};
    std::array<QLineEdit*, 3> footer_{};
};

}  // namespace zar
