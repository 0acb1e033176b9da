#pragma once
// The modal "Configuration Settings" sheet of Options > Configuration: the folders, the result
// display and the web look-up addresses. OK writes back only the pages the user opened.

#include "controls/DialogBase.h"

#include <set>

namespace zar {

class CSorvexDirectoryPage;
class CSorvexInternetPage;
class CSorvexResultsPage;

class CSettingsPropertySheet : public CPropertySheetBase {
    Q_OBJECT
  public:
    CSettingsPropertySheet(const QString& caption, QWidget* parent, int firstPage = 0);

    CSorvexDirectoryPage* DirectoryPage() const { return directories_; }
    CSorvexInternetPage* InternetPage() const { return internet_; }
    CSorvexResultsPage* ResultsPage() const { return results_; }
    // Whether the user opened a page (it was shown).
    bool WasOpened(const QWidget* page) const { return opened_.count(page) > 0; }

  protected:
    void accept() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    CSorvexDirectoryPage* directories_;
    CSorvexInternetPage* internet_;
    CSorvexResultsPage* results_;
    std::set<const QWidget*> opened_;
};

}  // namespace zar
