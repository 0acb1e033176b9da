#include "AxesPositionPage.h"

#include "DisplaySettingsPropertySheet.h"
#include "controls/NumericEditCtrl.h"
#include "fileio/VXConfiguration.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zar {

namespace {

QGroupBox* SideGroup(CAxesPositionPage* page, QButtonGroup* group, CDoubleEditCtrl* edit,
                     const char* title, int automaticId, const char* automatic, int customId,
                     const char* custom, int editId) {
    auto* box = new QGroupBox(QString::fromLatin1(title), page);
    auto* layout = new QGridLayout(box);
    auto* a = new QRadioButton(QString::fromLatin1(automatic), box);
    auto* c = new QRadioButton(QString::fromLatin1(custom), box);
    group->addButton(a, 0);
    group->addButton(c, 1);
    page->AddControl(automaticId, a);
    page->AddControl(customId, c);
    page->AddControl(editId, edit);
    layout->addWidget(a, 0, 0);
    layout->addWidget(c, 1, 0);
    layout->addWidget(edit, 1, 1);
    QObject::connect(group, &QButtonGroup::idClicked, page, [page](int) { page->OnModeClicked(); });
    return box;
}

}  // namespace

CAxesPositionPage::CAxesPositionPage(CDisplaySettingsPropertySheet* sheet)
    : CPropertyPageBase(kTemplateId, QStringLiteral("Axes Positions")),
      sheet_(sheet),
      leftGroup_(new QButtonGroup(this)),
      rightGroup_(new QButtonGroup(this)),
      left_(new CDoubleEditCtrl(this)),
      right_(new CDoubleEditCtrl(this)) {
    left_->Initialize(leftSpacing, 0.0, kMaxSpacing, kSpacingChars, 1);
    right_->Initialize(rightSpacing, 0.0, kMaxSpacing, kSpacingChars, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SideGroup(this, leftGroup_, left_, "Left axis", 8571, "&Automatic", 8572,
                                "&Custom", 8573));
    layout->addWidget(SideGroup(this, rightGroup_, right_, "Right axis", 8574, "Au&tomatic", 8575,
                                "Cu&stom", 8576));
    layout->addStretch();
}

bool CAxesPositionPage::OnInitDialog() {
    left_->setMaxLength(kSpacingChars);
    right_->setMaxLength(kSpacingChars);
    UpdateData(false);
    enableEdits();
    return true;
}

void CAxesPositionPage::enableEdits() {
    left_->setEnabled(leftMode != 0);
    right_->setEnabled(rightMode != 0);
}

void CAxesPositionPage::OnModeClicked() {
    UpdateData(true);
    enableEdits();
}

void CAxesPositionPage::DoDataExchange(CDataExchange& dx) {
    CVXAxesPositions* p = sheet_ ? &sheet_->Configuration().axesPositions : nullptr;
    if (p && !dx.IsSaving()) {
        leftMode = p->leftMode;
        rightMode = p->rightMode;
        leftSpacing = p->leftSpacing;
        rightSpacing = p->rightSpacing;
    }
    DDX_Radio(dx, leftGroup_, leftMode);
    DDX_Radio(dx, rightGroup_, rightMode);
    DDX_Double(dx, left_, leftSpacing);
    DDX_Double(dx, right_, rightSpacing);
    if (p && dx.IsSaving() && !dx.Failed()) {
        p->leftMode = leftMode;
        p->rightMode = rightMode;
        p->leftSpacing = leftSpacing;
        p->rightSpacing = rightSpacing;
    }
    if (!dx.IsSaving()) enableEdits();
}

}  // namespace zar
