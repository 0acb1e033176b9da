#include "ZarmassSmoothPage.h"

#include "ZarmassPropertySheet.h"

#include "ZarDoc.h"
#include "controls/NumericEditCtrl.h"
#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "document/hub/PlotRange.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zar {

namespace {

const QString kNote = QStringLiteral(
    "The actual averaging and/or smoothing of the spectra will not occur until one of the action "
    "buttons on either the Calculation or Deconvolution page of this dialog is selected.");

QStringList PointsOffered(int type) {
    switch (type) {
        case 2:
            return {QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("7")};
        case 3:
            return {QStringLiteral("3"), QStringLiteral("5"),  QStringLiteral("7"),
                    QStringLiteral("9"), QStringLiteral("11"), QStringLiteral("13")};
        default:
            return {QStringLiteral("3"), QStringLiteral("5"),  QStringLiteral("7"),
                    QStringLiteral("9"), QStringLiteral("11"), QStringLiteral("13"),
                    QStringLiteral("15")};
    }
}

}  // namespace

CZarmassSmoothPage::CZarmassSmoothPage(CZarmassPropertySheet*)
    : CPropertyPageBase(kTemplateId, QStringLiteral("Smoothing and Averaging")),
      scans_(new CIntRangeEditCtrl(this)),
      scansLabel_(new QLabel(QStringLiteral("Sca&ns:"), this)),
      pointsCombo_(new QComboBox(this)),
      pointsLabel_(new QLabel(QStringLiteral("Number of &Points:"), this)),
      type_(new QButtonGroup(this)),
      averaging_(new QCheckBox(QStringLiteral("Enable &Averaging"), this)),
      smoothing_(new QCheckBox(QStringLiteral("&Enable Smoothing"), this)),
      track_(new QCheckBox(QStringLiteral("Trac&k"), this)) {
    scansLabel_->setBuddy(scans_);
    pointsLabel_->setBuddy(pointsCombo_);
    pointsCombo_->setEditable(true);
    AddControl(IDC_ENABLE_AVERAGING, averaging_);
    AddControl(IDC_SCANS_LABEL, scansLabel_);
    AddControl(IDC_SCANS, scans_);
    AddControl(IDC_TRACK, track_);
    AddControl(IDC_ENABLE_SMOOTHING, smoothing_);
    AddControl(IDC_POINTS, pointsCombo_);
    AddControl(IDC_POINTS_LABEL, pointsLabel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(averaging_);
    auto* scanRow = new QHBoxLayout;
    scanRow->addSpacing(16);
    scanRow->addWidget(scansLabel_);
    scanRow->addWidget(scans_, 1);
    scanRow->addWidget(track_);
    layout->addLayout(scanRow);
    layout->addSpacing(8);
    layout->addWidget(smoothing_);
    auto* types = new QGridLayout;
    const struct {
        int id;
        const char* text;
    } radios[] = {{IDC_BOXCAR, "&Boxcar"},
                  {IDC_GAUSSIAN, "&Gaussian"},
                  {IDC_ORVO, "&Orvo"},
                  {IDC_SAVITSKY_GOLAY, "&Savitsky-Golay"}};
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(radios[i].text), this);
        type_->addButton(radio, i);
        AddControl(radios[i].id, radio);
        types->addWidget(radio, i / 2, 1 + i % 2);
    }
    types->setColumnMinimumWidth(0, 16);
    layout->addLayout(types);
    auto* pointsRow = new QHBoxLayout;
    pointsRow->addSpacing(16);
    pointsRow->addWidget(pointsLabel_);
    pointsRow->addWidget(pointsCombo_);
    pointsRow->addStretch(1);
    layout->addLayout(pointsRow);
    auto* note = new QLabel(kNote, this);
    note->setWordWrap(true);
    layout->addSpacing(8);
    layout->addWidget(note);
    layout->addStretch(1);

    connect(averaging_, &QCheckBox::clicked, this, [this] {
        readChoices();
        enableControls();
    });
    connect(smoothing_, &QCheckBox::clicked, this, [this] {
        readChoices();
        enableControls();
    });
    connect(type_, &QButtonGroup::idClicked, this, [this] {
        readChoices();
        fillPoints();
    });
    scans_->Initialize(firstScan_, lastScan_, firstScanLimit_, lastScanLimit_);
}

bool CZarmassSmoothPage::OnInitDialog() {
    if (!initialised_) {
        initialised_ = true;
        scans_->Initialize(firstScan_, lastScan_, firstScanLimit_, lastScanLimit_);
        if (const CZarDoc* doc = CZarDoc::GetDoc()) {
            const SmoothingRecord& record = doc->GetSmoothing();
            points_ = record.points;
            smoothingType_ = record.type;
            smoothingEnabled_ = record.enabled;
        }
        if (smoothingType_ < 0) smoothingType_ = 0;
        fillPoints();
        if (points_ > 0) pointsCombo_->setCurrentText(QString::number(points_));
    }
    UpdateData(false);
    enableControls();
    return true;
}

void CZarmassSmoothPage::DoDataExchange(CDataExchange& dx) {
    DDX_Check(dx, averaging_, averagingEnabled_);
    DDX_Check(dx, smoothing_, smoothingEnabled_);
    DDX_Check(dx, track_, trackOn_);
    DDX_Radio(dx, type_, smoothingType_);
    if (dx.Failed()) return;
    if (!dx.IsSaving()) {
        if (points_ > 0) pointsCombo_->setCurrentText(QString::number(points_));
        return;
    }
    // A field is checked only while its box makes it count (a disabled field cannot be mended).
    if (averagingEnabled_) DDX_IntRange(dx, scans_, firstScan_, lastScan_);
    if (!smoothingEnabled_ || dx.Failed()) return;
    long long points = 0;
    if (!ParseInt(pointsCombo_->currentText().trimmed(), points) ||
        points < kMinSmoothingPoints || points > kMaxSmoothingPoints)
        dx.Fail(pointsCombo_, NumberRangeMessage(kMinSmoothingPoints, kMaxSmoothingPoints));
    else
        points_ = static_cast<int>(points);
}

void CZarmassSmoothPage::readChoices() {
    averagingEnabled_ = averaging_->isChecked() ? 1 : 0;
    smoothingEnabled_ = smoothing_->isChecked() ? 1 : 0;
    trackOn_ = track_->isChecked() ? 1 : 0;
    if (type_->checkedButton()) smoothingType_ = type_->checkedId();
}

void CZarmassSmoothPage::enableControls() {
    const bool averaging = averaging_->isChecked();
    scansLabel_->setEnabled(averaging);
    scans_->setEnabled(averaging);
    track_->setEnabled(averaging);
    const bool smoothing = smoothing_->isChecked();
    for (QAbstractButton* b : type_->buttons()) b->setEnabled(smoothing);
    pointsLabel_->setEnabled(smoothing);
    pointsCombo_->setEnabled(smoothing);
}

void CZarmassSmoothPage::fillPoints() {
    pointsCombo_->clear();
    pointsCombo_->addItems(PointsOffered(smoothingType_));
    pointsCombo_->setCurrentIndex(0);
    points_ = pointsCombo_->currentText().toInt();
}

void CZarmassSmoothPage::SetScanLimits(int first, int last) {
    firstScanLimit_ = firstScan_ = first;
    lastScanLimit_ = lastScan_ = last;
    scans_->Initialize(firstScan_, lastScan_, firstScanLimit_, lastScanLimit_);
}

void CZarmassSmoothPage::SetScanRange(int first, int last) {
    if (!track_->isChecked()) return;
    firstScan_ = first;
    lastScan_ = last;
    scans_->Initialize(firstScan_, lastScan_, firstScanLimit_, lastScanLimit_);
}

bool CZarmassSmoothPage::ApplySmoothingSettings() {
    if (!UpdateData(true)) return false;
    CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc) return true;
    if (averagingEnabled_)
        doc->SetSelection(firstScan_, lastScan_);
    else
        doc->SetSelection(0, 0);
    SmoothingRecord& record = doc->GetSmoothing();
    if (smoothingEnabled_ && smoothingType_ >= 0) {
        record.enabled = 1;
        record.type = smoothingType_;
        record.points = points_;
    } else {
        record.enabled = 0;
        record.type = -1;
        record.points = 0;
    }
    return true;
}

}  // namespace zar
