#include "ScalingPage.h"

#include "fileio/VXConfiguration.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zar {

namespace {

QGroupBox* ScaleGroup(CPropertyPageBase* page, QButtonGroup* group, const char* title,
                      int relativeId, const char* relative, int absoluteId, const char* absolute) {
    auto* box = new QGroupBox(QString::fromLatin1(title), page);
    auto* layout = new QHBoxLayout(box);
    auto* r = new QRadioButton(QString::fromLatin1(relative), box);
    auto* a = new QRadioButton(QString::fromLatin1(absolute), box);
    group->addButton(r, kVXScaleRelative);
    group->addButton(a, kVXScaleAbsolute);
    page->AddControl(relativeId, r);
    page->AddControl(absoluteId, a);
    layout->addWidget(r);
    layout->addWidget(a);
    return box;
}

}  // namespace

CScalingPage::CScalingPage(CDisplaySettingsPropertySheet* sheet)
    : CDetectorSettingsPage(kTemplateId, QStringLiteral("Axes Scaling"), sheet),
      chro_(new QButtonGroup(this)),
      spec_(new QButtonGroup(this)) {
    QGroupBox* chroGroup = ScaleGroup(this, chro_, "Chromatograms y-axis scaling", 8563,
                                      "&Relative", 8564, "&Absolute");
    QGroupBox* specGroup = ScaleGroup(this, spec_, "Spectra y-axis scaling", 8577, "R&elative",
                                      8578, "A&bsolute");
    specGroup_ = specGroup;
    AddControl(8580, specGroup);
    spectrumControls_ = {specGroup};
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Detector Type:"), DetectorCombo());
    layout->addLayout(form);
    layout->addWidget(chroGroup);
    layout->addWidget(specGroup);
    layout->addWidget(setSame_, 0, Qt::AlignLeft);
    layout->addStretch();
}

void CScalingPage::DoDataExchange(CDataExchange& dx) {
    ExchangeDetector(dx);
    CVXAxesDefaults* d = Shown();
    if (!d) return;
    DDX_Radio(dx, chro_, d->chroYScaleType);
    DDX_Radio(dx, spec_, d->specYScaleType);
}

void CScalingPage::CopySame(const CVXAxesDefaults& from, CVXAxesDefaults& to) const {
    to.chroYScaleType = from.chroYScaleType;
    to.specYScaleType = from.specYScaleType;
}

}  // namespace zar
