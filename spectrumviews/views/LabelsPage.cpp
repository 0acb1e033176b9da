#include "LabelsPage.h"

#include "fileio/VXConfiguration.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zar {

CLabelsPage::CLabelsPage(CDisplaySettingsPropertySheet* sheet)
    : CDetectorSettingsPage(kTemplateId, QStringLiteral("Axes Labels"), sheet),
      chroX_(new QLineEdit(this)),
      specX_(new QLineEdit(this)),
      yRelative_(new QLineEdit(this)),
      yAbsolute_(new QLineEdit(this)) {
    AddControl(8569, chroX_);
    AddControl(8568, specX_);
    AddControl(8566, yRelative_);
    AddControl(8567, yAbsolute_);
    auto* specLabel = new QLabel(QStringLiteral("S&pectra:"), this);
    specLabel->setBuddy(specX_);
    AddControl(8565, specLabel);
    spectrumControls_ = {specLabel, specX_};
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Detector Type:"), DetectorCombo());
    form->addRow(new QLabel(QStringLiteral("X axis"), this));
    form->addRow(QStringLiteral("&Chromatograms:"), chroX_);
    form->addRow(specLabel, specX_);
    form->addRow(new QLabel(QStringLiteral("Y axis"), this));
    form->addRow(QStringLiteral("&Relative Scale:"), yRelative_);
    form->addRow(QStringLiteral("&Absolute Scale:"), yAbsolute_);
    form->addRow(setSame_);
}

bool CLabelsPage::OnInitDialog() {
    CDetectorSettingsPage::OnInitDialog();
    for (QLineEdit* e : {chroX_, specX_, yRelative_, yAbsolute_}) e->setMaxLength(kMaxTitle);
    return true;
}

void CLabelsPage::DoDataExchange(CDataExchange& dx) {
    ExchangeDetector(dx);
    CVXAxesDefaults* d = Shown();
    if (!d) return;
    QString chroX = d->XAxisChromatograms();
    QString specX = d->XAxisSpectra();
    QString yRel = d->YAxisRelative();
    QString yAbs = d->YAxisAbsolute();
    DDX_Text(dx, chroX_, chroX, kMaxTitle);
    DDX_Text(dx, specX_, specX, kMaxTitle);
    DDX_Text(dx, yRelative_, yRel, kMaxTitle);
    DDX_Text(dx, yAbsolute_, yAbs, kMaxTitle);
    if (dx.IsSaving() && !dx.Failed()) {
        d->XAxisChromatograms(chroX);
        d->XAxisSpectra(specX);
        d->YAxisRelative(yRel);
        d->YAxisAbsolute(yAbs);
    }
}

void CLabelsPage::CopySame(const CVXAxesDefaults& from, CVXAxesDefaults& to) const {
    // The spectrum title stays each detector's own.
    to.YAxisRelative(from.YAxisRelative());
    to.YAxisAbsolute(from.YAxisAbsolute());
    to.XAxisChromatograms(from.XAxisChromatograms());
}

}  // namespace zar
