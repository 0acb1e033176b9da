#include "ChroDisplayOptionsDialog.h"

#include "app/ZarApp.h"
#include "controls/NumericEditCtrl.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace zar {

CChroDisplayOptionsDialog::CChroDisplayOptionsDialog(QWidget* parent)
    : CDialogBase(kTemplateId, parent),
      threshold_(new CDoubleEditCtrl(this)),
      basePeak_(new QCheckBox(QStringLiteral("&Base peak"), this)),
      flags_(new QCheckBox(QStringLiteral("&Flags"), this)),
      retentionTime_(new QCheckBox(QStringLiteral("&Retention time"), this)),
      signalToNoise_(new QCheckBox(QStringLiteral("Signal to &noise"), this)),
      scanNumber_(new QCheckBox(QStringLiteral("&Scan number"), this)),
      applyAll_(new QCheckBox(QStringLiteral("&Apply to all plots"), this)),
      group_(new QGroupBox(QStringLiteral("Label with"), this)) {
    setWindowTitle(QStringLiteral("Display Options"));
    threshold_->Initialize(0.0, 0.0, 100.0, kThresholdChars, 2);
    threshold_->setMaxLength(kThresholdChars);
    AddControl(8520, threshold_);
    AddControl(8516, basePeak_);
    AddControl(8518, flags_);
    AddControl(8514, retentionTime_);
    AddControl(8517, signalToNoise_);
    AddControl(8515, scanNumber_);
    AddControl(8519, applyAll_);
    AddControl(8551, group_);
    auto* boxes = new QVBoxLayout(group_);
    for (QCheckBox* b : {retentionTime_, scanNumber_, basePeak_, signalToNoise_, flags_})
        boxes->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Label &Threshold (%):"), threshold_);
    layout->addLayout(form);
    layout->addWidget(applyAll_);
    QDialogButtonBox* buttons = MakeButtons(true);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { ShowContextHelp(this, kTemplateId); });
    layout->addWidget(buttons);
}

bool CChroDisplayOptionsDialog::OnInitDialog() {
    // Without the signal-to-noise choice the group closes up; the layout moves the rest.
    signalToNoise_->setVisible(offerSignalToNoise != 0);
    return CDialogBase::OnInitDialog();
}

void CChroDisplayOptionsDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Double(dx, threshold_, labelThreshold);
    DDX_Check(dx, basePeak_, labelBasePeak);
    DDX_Check(dx, flags_, labelFlags);
    DDX_Check(dx, retentionTime_, labelRetentionTime);
    DDX_Check(dx, signalToNoise_, labelSignalToNoise);
    DDX_Check(dx, scanNumber_, labelScanNumber);
    DDX_Check(dx, applyAll_, applyToAll);
}

}  // namespace zar
