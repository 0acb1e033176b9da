#include "SearchPageBase.h"

#include "SearchPropertySheet.h"

#include "controls/NumericEditCtrl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHash>
#include <QRadioButton>

#include <climits>

namespace zar {

QString CSearchPageBase::SearchControlHint(int id) {
    static const QHash<int, const char*> hints = {
        {8704, "Enter the directory to contain the results"},
        {8705, "Browser for the results directory"},
        {8706, "Enter the scan limits"},
        {8708, "Enter the minimum total ion intensity threshold"},
        {8709, "Enter the precursor mass tolerance (m/z) in range "},
        {8710, "Enter the group scan tolerance (scans) "},
        {8711, "Enter the minimum group count tolerance  (scans)  in range "},
        {8712, "Enter the minimum number of ions needed to be considered for dta file."},
        {8713, "Enter the new charge state value (z) in the range [0 to 6]"},
        {8714, "Enter the maximum number of results to be used by TurboSORVEX"},
        {8727, "The database is a protein database"},
        {8728, "The database is a nucleotide database"},
        {8729, "Use average mass values when interpreting the sequences"},
        {8730, "Use monoisotopic mass values when interpreting the sequences"},
        {8738, "Select the enzyme to use when building the indexed database"},
        {8740, "Enter the maximum number of internal cleavage sites allowed"},
        {8745, "Select the scan limits from the chromatographic trace"},
        {8746, "Enter the mass range"},
        {8747, "Enter the mass range"},
        {8748, "Specify subset of the peptide or protein sequence (using one-letter abreviations)"},
        {8749, "Delete any existing *.dta files that are in the results directory before starting"},
        {8751, "Delete any existing *.out files that are in the results directory before starting"},
        {8752, "Enter the name of the database to use during the search"},
        {8753, "Browser for the database"},
        {8754, "Use a FASTA style database in the search"},
        {8755, "Use a database that has been indexed to maximize the speed of the search"},
        {8757, "Enter the peptide tolerance"},
        {8758, "Enter the fragment ion tolerance"},
        {8759, "Show the fragment ions in the output file(s)"},
        {8760, "Print duplicate references in the output file(s)"},
        {8761, "Print the advanced parameters in the output file(s)"},
        {8762, "Display the b ions in the output file(s)"},
        {8763, "Display the y ions in the output file(s)"},
        {8764, "Display the a ions in the output file(s)"},
        {8766, "Enter the number of matches written to the output file"},
        {9150, "The protein mass used in the search will be the base peak"},
        {9151, "The protein mass used in the search will be the supplied mass"},
        {9152, "Enter the mass value"},
    };
    const char* text = hints.value(id, nullptr);
    return text ? QString::fromLatin1(text) : QString();
}

IntLimits CSearchPageBase::ScanEditLimits(const ScanPair& fileLimits) {
    if (fileLimits.first == 0 && fileLimits.last == 0) return {0, INT_MAX};
    return {std::min(fileLimits.first, fileLimits.last),
            std::max(fileLimits.first, fileLimits.last)};
}

CSearchPageBase::CSearchPageBase(int templateId, const QString& title, CSearchPropertySheet* sheet)
    : CPropertyPageBase(templateId, title), sheet_(sheet) {}

SearchParamsModel& CSearchPageBase::Model() const {
    return sheet_->Model();
}

void CSearchPageBase::MarkChanged() {
    sheet_->SetModified(true);
}

void CSearchPageBase::EnsureInitialized() {
    if (initialized_) return;
    initialized_ = true;
    OnInitDialog();
}

bool CSearchPageBase::OnInitDialog() {
    Refresh();
    return true;
}

void CSearchPageBase::showEvent(QShowEvent* event) {
    EnsureInitialized();
    CPropertyPageBase::showEvent(event);
}

bool CSearchPageBase::Commit(bool quiet) {
    if (!initialized_) return true;
    quiet_ = quiet;
    const bool ok = UpdateData(true);
    quiet_ = false;
    return ok || quiet;
}

void CSearchPageBase::Refresh() {
    if (initialized_) UpdateData(false);
}

QCheckBox* CSearchPageBase::NewCheck(int id, const QString& text, QWidget* parent) {
    return Control(id, new QCheckBox(text, parent));
}

QRadioButton* CSearchPageBase::NewRadio(int id, const QString& text, QButtonGroup* group, int value,
                                        QWidget* parent) {
    auto* radio = Control(id, new QRadioButton(text, parent));
    group->addButton(radio, value);
    return radio;
}

void CSearchPageBase::EnableIds(std::initializer_list<int> ids, bool enable) {
    for (int id : ids) {
        if (QWidget* w = GetDlgItem(id)) w->setEnabled(enable);
    }
}

void CSearchPageBase::ExchangeDouble(CDataExchange& dx, CDoubleEditCtrl* edit, double& value) {
    if (quiet_ && dx.IsSaving()) {
        edit->GetValue(value);
        return;
    }
    DDX_Double(dx, edit, value);
}

void CSearchPageBase::ExchangeInt(CDataExchange& dx, CIntEditCtrl* edit, int& value) {
    if (quiet_ && dx.IsSaving()) {
        edit->GetValue(value);
        return;
    }
    DDX_Int(dx, edit, value);
}

void CSearchPageBase::ExchangeCharge(CDataExchange& dx, CIntEditCtrl* edit, int& value) {
    if (dx.Failed()) return;
    if (!dx.IsSaving()) {
        if (value == 0)
            edit->clear();
        else
            edit->SetValue(value);
        return;
    }
    if (edit->text().trimmed().isEmpty()) {
        value = 0;
        return;
    }
    if (!edit->GetValue(value) && !quiet_) {
        dx.Fail(edit, NumberRangeMessage(edit->Lower(), edit->Upper()));
    }
}

void CSearchPageBase::ExchangeCheck(CDataExchange& dx, QCheckBox* box, bool& value) {
    if (dx.IsSaving())
        value = box->isChecked();
    else
        box->setChecked(value);
}

void CSearchPageBase::ExchangeChoice(CDataExchange& dx, QButtonGroup* group, int& value) {
    if (dx.IsSaving()) {
        if (group->checkedId() >= 0) value = group->checkedId();
    } else if (QAbstractButton* b = group->button(value)) {
        b->setChecked(true);
    }
}

void CSearchPageBase::ExchangeText(CDataExchange& dx, QLineEdit* edit, QString& value,
                                   int maxLength) {
    if (quiet_ && dx.IsSaving()) {
        if (maxLength <= 0 || edit->text().size() <= maxLength) value = edit->text();
        return;
    }
    DDX_Text(dx, edit, value, maxLength);
}

void CSearchPageBase::ExchangeMassRange(CDataExchange& dx, CDoubleRangeEditCtrl* edit,
                                        MassRangeValue& range) {
    if (dx.Failed()) return;
    if (!dx.IsSaving()) {
        edit->SetLimits(range.bounds.low, range.bounds.high);
        edit->SetRange(range.value.low, range.value.high);
        return;
    }
    if (edit->text().trimmed().isEmpty()) {
        range.value = range.defaultPair;
        edit->SetRange(range.value.low, range.value.high);
        return;
    }
    MassPair pair;
    if (edit->GetRange(pair.low, pair.high)) {
        range.value = pair;
    } else if (!quiet_) {
        dx.Fail(edit, RangeMessage(edit->Lower(), edit->Upper()));
    }
}

void CSearchPageBase::ExchangeScanRange(CDataExchange& dx, CIntRangeEditCtrl* edit, ScanPair& value,
                                        const ScanPair& fileLimits, const ScanPair& defaultPair) {
    if (dx.Failed()) return;
    const IntLimits limits = ScanEditLimits(fileLimits);
    edit->SetLimits(limits.low, limits.high);
    if (!dx.IsSaving()) {
        edit->SetRange(value.first, value.last);
        return;
    }
    if (edit->text().trimmed().isEmpty()) {
        value = defaultPair;
        edit->SetRange(value.first, value.last);
        return;
    }
    ScanPair pair;
    if (edit->GetRange(pair.first, pair.last)) {
        value = pair;
    } else if (!quiet_) {
        dx.Fail(edit, RangeMessage(limits.low, limits.high));
    }
}

}  // namespace zar
