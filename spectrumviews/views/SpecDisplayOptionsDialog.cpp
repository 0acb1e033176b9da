#include "SpecDisplayOptionsDialog.h"

#include "app/ZarApp.h"
#include "controls/NumericEditCtrl.h"
#include "fileio/VXResults.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zar {

CSpecDisplayOptionsDialog::CSpecDisplayOptionsDialog(QWidget* parent)
    : CDialogBase(kTemplateId, parent),
      threshold_(new CDoubleEditCtrl(this)),
      offset_(new CDoubleEditCtrl(this)),
      styleGroup_(new QButtonGroup(this)),
      offsetBox_(new QCheckBox(QStringLiteral("&Offset"), this)),
      rotatedBox_(new QCheckBox(QStringLiteral("&Rotated"), this)),
      showLabelsBox_(new QCheckBox(QStringLiteral("Show &labels"), this)),
      applyAllBox_(new QCheckBox(QStringLiteral("Apply to all plots"), this)) {
    setWindowTitle(QStringLiteral("Spectrum Display Options"));
    threshold_->Initialize(0.0, 0.0, 100.0, kThresholdChars, 2);
    offset_->Initialize(0.0, 0.0, 5.0, kOffsetChars, 1);
    AddControl(kThresholdId, threshold_);
    AddControl(kOffsetEditId, offset_);
    AddControl(kOffsetId, offsetBox_);
    AddControl(kRotatedId, rotatedBox_);
    AddControl(kShowLabelsId, showLabelsBox_);
    AddControl(kApplyToAllId, applyAllBox_);

    auto* styleBox = new QGroupBox(QStringLiteral("Style"), this);
    auto* styleLayout = new QVBoxLayout(styleBox);
    const char* styles[] = {"&Automatic", "&Point-to-point", "&Stick"};
    for (int k = 0; k < 3; ++k) {
        auto* b = new QRadioButton(QString::fromLatin1(styles[k]), styleBox);
        styleGroup_->addButton(b, k);
        AddControl(kStyleId + k, b);
        styleLayout->addWidget(b);
    }
    auto* labelBox = new QGroupBox(QStringLiteral("Labels"), this);
    auto* labelLayout = new QFormLayout(labelBox);
    labelLayout->addRow(showLabelsBox_);
    labelLayout->addRow(QStringLiteral("&Threshold (%):"), threshold_);
    auto* offsetRow = new QHBoxLayout;
    offsetRow->addWidget(offsetBox_);
    offsetRow->addWidget(offset_);
    labelLayout->addRow(offsetRow);
    labelLayout->addRow(rotatedBox_);
    connect(offsetBox_, &QCheckBox::clicked, this, &CSpecDisplayOptionsDialog::OnOffset);

    auto* groups = new QHBoxLayout;
    groups->addWidget(styleBox);
    groups->addWidget(labelBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(applyAllBox_);
    QDialogButtonBox* buttons = MakeButtons(true);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { ShowContextHelp(this, kTemplateId); });
    layout->addWidget(buttons);
}

bool CSpecDisplayOptionsDialog::OnInitDialog() {
    threshold_->setMaxLength(kThresholdChars);
    offset_->setMaxLength(kOffsetChars);
    const bool ok = CDialogBase::OnInitDialog();
    offset_->setEnabled(offsetLabels != 0);
    return ok;
}

void CSpecDisplayOptionsDialog::DoDataExchange(CDataExchange& dx) {
    if (!dx.IsSaving()) {
        showLabels = display.showLabels;
        offsetLabels = display.offsetLabels;
        labelOffset = display.labelOffset;
        style = display.style;
        rotated = display.rotateLabels;
        threshold = display.labelThreshold;
    }
    double offset = labelOffset;
    DDX_Check(dx, offsetBox_, offsetLabels);
    DDX_Double(dx, offset_, offset);
    DDX_Radio(dx, styleGroup_, style);
    DDX_Check(dx, rotatedBox_, rotated);
    DDX_Check(dx, showLabelsBox_, showLabels);
    DDX_Double(dx, threshold_, threshold);
    DDX_Check(dx, applyAllBox_, applyToAll);
    if (dx.IsSaving() && !dx.Failed()) {
        labelOffset = static_cast<float>(offset);
        display.showLabels = showLabels;
        display.offsetLabels = offsetLabels;
        display.labelOffset = labelOffset;
        display.style = style;
        display.rotateLabels = rotated;
        display.labelThreshold = threshold;
    }
}

void CSpecDisplayOptionsDialog::OnOffset() {
    if (!UpdateData(true)) return;
    offset_->setEnabled(offsetLabels != 0);
    UpdateData(false);
}

void ApplySpecDisplayOptions(const CSpecDisplayOptionsDialog& dialog, CVXSpecDisplay& current,
                             CVXResults* results) {
    current.copy_object(dialog.display);
    if (!dialog.applyToAll || !results) return;
    const CVXSpecDisplay& d = dialog.display;
    for (CVXUserResult& u : results->userResults) {
        u.specDisplay.style = d.style;
        u.specDisplay.showLabels = d.showLabels;
        u.specDisplay.labelThreshold = d.labelThreshold;
        u.specDisplay.offsetLabels = d.offsetLabels;
        u.specDisplay.rotateLabels = d.rotateLabels;
        u.specDisplay.labelOffset = d.labelOffset;
    }
}

}  // namespace zar
