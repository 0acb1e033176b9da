#include "DialogBase.h"

#include "NumericEditCtrl.h"
#include "core/MessageBox.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zar {

namespace {

QString LabelText(QString text) {
    // "&&" stands for one '&'; a single '&' marks the mnemonic.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    text = text.simplified();
    while (text.endsWith(QLatin1Char(':'))) text.chop(1);
    return text.trimmed();
}

const QLabel* FormLabelOf(const QWidget* control, const QWidget* top) {
    for (const QFormLayout* form : top->findChildren<QFormLayout*>()) {
        if (auto* label = qobject_cast<const QLabel*>(form->labelForField(const_cast<QWidget*>(control))))
            return label;
    }
    return nullptr;
}

// The editor of a control whose text is typed (a line edit, or an editable combo's).
QLineEdit* TypedEditor(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit;
    if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->lineEdit();
    return nullptr;
}

}  // namespace

QString FieldName(const QWidget* control) {
    if (!control) return {};
    if (!control->accessibleName().isEmpty()) return LabelText(control->accessibleName());
    const QWidget* top = control->window();
    for (const QLabel* label : top->findChildren<QLabel*>())
        if (label->buddy() == control) return LabelText(label->text());
    // A form row's label (its buddy is set only where the label has a mnemonic), searched from
    // the nearest ancestor out, so that a page's own form wins over its sheet's.
    for (const QWidget* w = control->parentWidget(); w; w = w->parentWidget()) {
        if (const QLabel* label = FormLabelOf(control, w)) return LabelText(label->text());
        if (w == top) break;
    }
    return {};
}

void RevealControl(QWidget* control) {
    for (QWidget* child = control; child; child = child->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(child->parentWidget());
        if (!stack) continue;
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
            tabs->setCurrentWidget(child);
        else
            stack->setCurrentWidget(child);
    }
}

void CDataExchange::Fail(QWidget* control, const QString& message) {
    if (failed_) return;
    failed_ = true;
    failedControl_ = control;
    const QString name = FieldName(control);
    if (control) {
        RevealControl(control);
        control->setFocus();
        if (QLineEdit* edit = TypedEditor(control)) edit->selectAll();
    }
    ZarMessageBox(name.isEmpty() ? message : QStringLiteral("%1: %2").arg(name, message),
                  MB_OK | MB_ICONEXCLAMATION);
    // The message box took the focus while it was up.
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

namespace {

template <class Edit, class T>
void ExchangeRange(CDataExchange& dx, Edit* edit, T& low, T& high) {
    if (!edit || dx.Failed()) return;
    if (!dx.IsSaving()) {
        edit->SetRange(low, high);
        return;
    }
    if (!edit->GetRange(low, high)) dx.Fail(edit, RangeMessage(edit->Lower(), edit->Upper()));
}

}  // namespace

void DDX_DoubleRange(CDataExchange& dx, CDoubleRangeEditCtrl* edit, double& low, double& high) {
    ExchangeRange(dx, edit, low, high);
}

void DDX_IntRange(CDataExchange& dx, CIntRangeEditCtrl* edit, int& first, int& last) {
    ExchangeRange(dx, edit, first, last);
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
