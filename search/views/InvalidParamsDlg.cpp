#include "InvalidParamsDlg.h"

#include "app/ZarApp.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zar {

CInvalidParamsDlg::CInvalidParamsDlg(const QString& stem, const QString& label, QWidget* parent)
    : CDialogBase(kInvalidParamsDialogId, parent),
      stem_(stem),
      label_(label),
      intro_(new QLabel(this)),
      options_(new QButtonGroup(this)) {
    setWindowTitle(QString::fromLatin1(kInvalidParamsTitle));
    auto* layout = new QVBoxLayout(this);
    AddControl(kIntroId, intro_);
    layout->addWidget(intro_);

    auto* group = new QGroupBox(QStringLiteral("Options"), this);
    auto* groupLayout = new QVBoxLayout(group);
    const struct {
        int id;
        int option;
        QString text;
    } radios[] = {
        {kCopyDefaultId, 0, InvalidParamsCopyOptionText()},
        {kUseDefaultsId, 1, InvalidParamsDefaultsOptionText()},
        {kLeaveFileId, 2, QString()},  // its text names the search: set when shown
    };
    for (const auto& r : radios) {
        auto* radio = new QRadioButton(r.text, group);
        options_->addButton(radio, r.option);
        AddControl(r.id, radio);
        groupLayout->addWidget(radio);
    }
    layout->addWidget(group);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    ok->setDefault(true);
    AddControl(kOkId, ok);
    AddControl(kHelpId, help);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(help, &QPushButton::clicked, this, [this] { ShowContextHelp(this, TemplateId()); });
    layout->addWidget(buttons);
}

bool CInvalidParamsDlg::OnInitDialog() {
    intro_->setText(InvalidParamsIntroText(stem_));
    static_cast<QRadioButton*>(GetDlgItem(kLeaveFileId))
        ->setText(InvalidParamsExitOptionText(label_));
    return CDialogBase::OnInitDialog();
}

void CInvalidParamsDlg::DoDataExchange(CDataExchange& dx) {
    if (dx.IsSaving()) {
        option_ = std::max(0, options_->checkedId());
    } else if (QAbstractButton* b = options_->button(option_)) {
        b->setChecked(true);
    }
}

void CInvalidParamsDlg::OnOK() {
    accepted_ = true;
    CDialogBase::OnOK();
}

InvalidParamsOption CInvalidParamsDlgPrompt::ChooseOption(const QString& stem,
                                                          const QString& label) {
    CInvalidParamsDlg dlg(stem, label, parent_);
    dlg.DoModal();
    if (!dlg.WasAccepted()) return InvalidParamsOption::LeaveFile;
    return static_cast<InvalidParamsOption>(dlg.GetOption());
}

}  // namespace zar
