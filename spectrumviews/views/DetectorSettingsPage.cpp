#include "DetectorSettingsPage.h"

#include "DisplaySettingsPropertySheet.h"
#include "fileio/VXConfiguration.h"
#include "fileio/VXCore.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>

namespace zar {

CDetectorSettingsPage::CDetectorSettingsPage(int templateId, const QString& title,
                                             CDisplaySettingsPropertySheet* sheet)
    : CPropertyPageBase(templateId, title),
      setSame_(new QPushButton(QStringLiteral("&Set same"), this)),
      sheet_(sheet),
      combo_(new QComboBox(this)) {
    AddControl(kDetectorComboId, combo_);
    AddControl(kSetSameId, setSame_);
    connect(combo_, &QComboBox::activated, this, &CDetectorSettingsPage::OnDetectorChanged);
    connect(setSame_, &QPushButton::clicked, this, &CDetectorSettingsPage::OnSetSame);
}

bool CDetectorSettingsPage::HasSpectra(int detectorType) {
    return detectorType == kVXMSDevice || detectorType == kVXPDADevice;
}

CVXConfiguration* CDetectorSettingsPage::Configuration() const {
    return sheet_ ? &sheet_->Configuration() : nullptr;
}

CVXAxesDefaults* CDetectorSettingsPage::Shown() const {
    CVXConfiguration* c = Configuration();
    return c ? c->GetAxesDefaults(detectorShown_) : nullptr;
}

bool CDetectorSettingsPage::OnInitDialog() {
    const QSignalBlocker block(combo_);
    combo_->clear();
    for (int type = 0; type < kVXDetectorTypeCount; ++type) {
        QString name;
        TranslateDetectorTypeToString(type, name);
        combo_->addItem(name);
    }
    ShowSpectrumControls();
    return true;
}

void CDetectorSettingsPage::ExchangeDetector(CDataExchange& dx) {
    if (!dx.IsSaving() && combo_->count() > 0) {
        const QSignalBlocker block(combo_);
        combo_->setCurrentIndex(detectorShown_);
    }
}

void CDetectorSettingsPage::ShowSpectrumControls() {
    const bool show = HasSpectra(detectorShown_);
    for (QWidget* w : spectrumControls_) w->setVisible(show);
}

void CDetectorSettingsPage::OnDetectorChanged(int index) {
    // The values on show belong to the detector shown until now.
    if (!UpdateData(true)) {
        const QSignalBlocker block(combo_);
        combo_->setCurrentIndex(detectorShown_);
        return;
    }
    if (index < 0 || index >= kVXDetectorTypeCount) return;
    detectorShown_ = index;
    if (ShowsSpectrumControlsFirst()) ShowSpectrumControls();
    UpdateData(false);
    if (!ShowsSpectrumControlsFirst()) ShowSpectrumControls();
}

void CDetectorSettingsPage::OnSetSame() {
    if (!UpdateData(true)) return;
    CVXConfiguration* c = Configuration();
    const CVXAxesDefaults* shown = Shown();
    if (!c || !shown) return;
    const CVXAxesDefaults from = *shown;
    for (int type = 0; type < kVXDetectorTypeCount; ++type)
        if (type != detectorShown_) CopySame(from, *c->GetAxesDefaults(type));
}

}  // namespace zar
