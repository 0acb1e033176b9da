#include "DialogBase.h"

#include "NumericEditCtrl.h"
#include "core/MessageBox.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zar {

void CDataExchange::Fail(QWidget* control, const QString& message) {
    if (failed_) return;
    failed_ = true;
    ZarMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    if (control) control->setFocus();
}

void DDX_Double(CDataExchange& dx, CDoubleEditCtrl* edit, double& value) {
    if (!edit || dx.Failed()) return;
    if (!dx.IsSaving()) {
        edit->SetValue(value);
        return;
    }
    if (!edit->GetValue(value)) dx.Fail(edit, NumberRangeMessage(edit->Lower(), edit->Upper()));
}

void DDX_Int(CDataExchange& dx, CIntEditCtrl* edit, int& value) {
    if (!edit || dx.Failed()) return;
    if (!dx.IsSaving()) {
        edit->SetValue(value);
        return;
    }
    if (!edit->GetValue(value)) dx.Fail(edit, NumberRangeMessage(edit->Lower(), edit->Upper()));
}

void DDX_Text(CDataExchange& dx, QLineEdit* edit, QString& value, int maxLength) {
    if (!edit || dx.Failed()) return;
    if (!dx.IsSaving()) {
        edit->setText(value);
        return;
    }
    const QString text = edit->text();
    if (maxLength > 0 && text.size() > maxLength) {
        dx.Fail(edit, QStringLiteral("Enter no more than %1 characters.").arg(maxLength));
        return;
    }
    value = text;
}

void DDX_Check(CDataExchange& dx, QCheckBox* box, int& value) {
    if (!box || dx.Failed()) return;
    if (dx.IsSaving())
        value = box->isChecked() ? 1 : 0;
    else
        box->setChecked(value != 0);
}

void DDX_Radio(CDataExchange& dx, QButtonGroup* group, int& value) {
    if (!group || dx.Failed()) return;
    if (dx.IsSaving()) {
        if (group->checkedButton()) value = group->checkedId();
    } else if (QAbstractButton* b = group->button(value)) {
        b->setChecked(true);
    }
}

void CControlTable::SetToolTipText(int id, const QString& text) {
    if (QWidget* w = GetDlgItem(id)) w->setToolTip(text);
}

CDialogBase::CDialogBase(int templateId, QWidget* parent)
    : QDialog(parent), templateId_(templateId) {}

int CDialogBase::DoModal() {
    EnsureInitialized();
    return exec();
}

void CDialogBase::EnsureInitialized() {
    if (initialized_) return;
    initialized_ = true;
    OnInitDialog();
}

bool CDialogBase::OnInitDialog() {
    return UpdateData(false);
}

bool CDialogBase::UpdateData(bool saveAndValidate) {
    CDataExchange dx(saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void CDialogBase::OnOK() {
    if (UpdateData(true)) QDialog::accept();
}

void CDialogBase::showEvent(QShowEvent* event) {
    EnsureInitialized();
    QDialog::showEvent(event);
}

QDialogButtonBox* CDialogBase::MakeButtons(bool withHelp) {
    auto buttons = withHelp
                       ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help
                       : QDialogButtonBox::Ok | QDialogButtonBox::Cancel;
    auto* box = new QDialogButtonBox(buttons, this);
    connect(box, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    AddControl(1, box->button(QDialogButtonBox::Ok));
    AddControl(2, box->button(QDialogButtonBox::Cancel));
    if (withHelp) AddControl(9, box->button(QDialogButtonBox::Help));
    return box;
}

CPropertyPageBase::CPropertyPageBase(int templateId, const QString& title, QWidget* parent)
    : QWidget(parent), templateId_(templateId) {
    setWindowTitle(title);
}

bool CPropertyPageBase::UpdateData(bool saveAndValidate) {
    CDataExchange dx(saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

CPropertySheetBase::CPropertySheetBase(const QString& caption, QWidget* parent, int firstPage)
    : QDialog(parent), tabs_(new QTabWidget(this)), firstPage_(firstPage) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CPropertySheetBase::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons_);
}

void CPropertySheetBase::AddPage(CPropertyPageBase* page) {
    tabs_->addTab(page, page->windowTitle());
}

int CPropertySheetBase::DoModal() {
    EnsureInitialized();
    return exec();
}

void CPropertySheetBase::EnsureInitialized() {
    if (initialized_) return;
    initialized_ = true;
    OnInitDialog();
}

bool CPropertySheetBase::OnInitDialog() {
    for (int i = 0; i < tabs_->count(); ++i) {
        auto* page = static_cast<CPropertyPageBase*>(tabs_->widget(i));
        page->OnInitDialog();
        page->UpdateData(false);
    }
    if (firstPage_ >= 0 && firstPage_ < tabs_->count()) tabs_->setCurrentIndex(firstPage_);
    return true;
}

CPropertyPageBase* CPropertySheetBase::GetPage(int i) const {
    return static_cast<CPropertyPageBase*>(tabs_->widget(i));
}

int CPropertySheetBase::GetPageCount() const {
    return tabs_->count();
}

int CPropertySheetBase::GetActiveIndex() const {
    return tabs_->currentIndex();
}

void CPropertySheetBase::SetActivePage(int i) {
    if (i >= 0 && i < tabs_->count()) tabs_->setCurrentIndex(i);
}

void CPropertySheetBase::accept() {
    for (int i = 0; i < tabs_->count(); ++i) {
        if (!GetPage(i)->UpdateData(true)) {
            tabs_->setCurrentIndex(i);
            return;
        }
    }
    QDialog::accept();
}

CFormViewBase::CFormViewBase(int templateId, QWidget* parent)
    : QWidget(parent), templateId_(templateId) {}

bool CFormViewBase::UpdateData(bool saveAndValidate) {
    CDataExchange dx(saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

}  // namespace zar
