#pragma once
// What the pages of the search-parameter sheets share: the sheet they belong to, the values they
// show (the sheet's SearchParamsModel), data exchange that can take only what is valid without a
// word, and the hints of their controls. A page loads its values into its controls when it is
// first shown, as the pages of a sheet are made when first activated; until then it neither
// reads nor writes its controls.

#include "search/SearchParamsModel.h"

#include "controls/DialogBase.h"

#include <initializer_list>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace zar {

class CDoubleEditCtrl;
class CDoubleRangeEditCtrl;
class CIntEditCtrl;
class CIntRangeEditCtrl;
class CSearchPropertySheet;

// Which controls the basic page's check boxes and the database type leave enabled.
struct SearchEnableFlags {
    bool generation = true;         // "Perform DTA Generation"
    bool search = true;             // "Perform DTA Search"
    bool databaseDependent = true;  // the search's own settings: not fixed by an indexed database
    bool operator==(const SearchEnableFlags&) const = default;
};

class CSearchPageBase : public CPropertyPageBase {
    Q_OBJECT
  public:
    CSearchPageBase(int templateId, const QString& title, CSearchPropertySheet* sheet);

    bool IsInitialized() const { return initialized_; }
    // The first showing: the values go into the controls (runs once).
    void EnsureInitialized();
    // Controls -> values. A quiet pass takes what is valid and says nothing; otherwise the first
    // control in error shows its message and gets the focus, and the result is false. A page
    // that was never shown has nothing to give and succeeds.
    bool Commit(bool quiet = false);
    // Values -> controls, once the page was shown.
    void Refresh();
    virtual void ApplyEnableFlags(const SearchEnableFlags&) {}

    // The hint (tool tip) of a control of the search pages; empty when it has none.
    static QString SearchControlHint(int id);
    // The limits of the scan edit: the file's scans, or any scan while they are not known.
    static IntLimits ScanEditLimits(const ScanPair& fileLimits);

  protected:
    bool OnInitDialog() override;
    void showEvent(QShowEvent* event) override;

    CSearchPropertySheet* Sheet() const { return sheet_; }
    SearchParamsModel& Model() const;
    // Enables the sheet's Defaults button.
    void MarkChanged();

    // Registers a control under its id and gives it the hint of that id.
    template <class T>
    T* Control(int id, T* widget) {
        AddControl(id, widget);
        const QString hint = SearchControlHint(id);
        if (!hint.isEmpty()) SetToolTipText(id, hint);
        return widget;
    }
    QCheckBox* NewCheck(int id, const QString& text, QWidget* parent);
    QRadioButton* NewRadio(int id, const QString& text, QButtonGroup* group, int value,
                           QWidget* parent);
    void EnableIds(std::initializer_list<int> ids, bool enable);

    // Exchanges that honour the quiet pass.
    void ExchangeDouble(CDataExchange& dx, CDoubleEditCtrl* edit, double& value);
    void ExchangeInt(CDataExchange& dx, CIntEditCtrl* edit, int& value);
    // A charge state: 0 is shown as an empty field, and an empty field is 0.
    void ExchangeCharge(CDataExchange& dx, CIntEditCtrl* edit, int& value);
    void ExchangeCheck(CDataExchange& dx, QCheckBox* box, bool& value);
    void ExchangeChoice(CDataExchange& dx, QButtonGroup* group, int& value);
    void ExchangeText(CDataExchange& dx, QLineEdit* edit, QString& value, int maxLength = 0);
    // A mass range: an emptied edit gives back the range's default pair.
    void ExchangeMassRange(CDataExchange& dx, CDoubleRangeEditCtrl* edit, MassRangeValue& range);
    // A scan range within the file's scans; an emptied edit gives back defaultPair.
    void ExchangeScanRange(CDataExchange& dx, CIntRangeEditCtrl* edit, ScanPair& value,
                           const ScanPair& fileLimits, const ScanPair& defaultPair);

  private:
    CSearchPropertySheet* sheet_;
    bool initialized_ = false;
    bool quiet_ = false;
};

}  // namespace zar
