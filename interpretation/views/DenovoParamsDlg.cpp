#include "DenovoParamsDlg.h"

#include "MainFrame.h"
#include "ZarApp.h"
#include "ZarDoc.h"
#include "controls/NumericEditCtrl.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace zar {

CDenovoParamsDlg::CDenovoParamsDlg(QWidget* owner)
    : CDialogBase(kTemplateId, owner),
      daltons_(new CDoubleEditCtrl(this)),
      ppm_(new CDoubleEditCtrl(this)),
      threshold_(new CDoubleEditCtrl(this)),
      maxCandidates_(new CIntEditCtrl(this)),
      maxPartials_(new CIntEditCtrl(this)),
      minScore_(new CDoubleEditCtrl(this)),
      percent_(new CIntEditCtrl(this)),
      expandBox_(new QCheckBox(QStringLiteral("&Expand Partial Sequences"), this)),
      owner_(owner) {
    setObjectName(QStringLiteral("DenovoParamsDlg"));
    setWindowTitle(QStringLiteral("DeNovo Parameters"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);

    auto* precision = new QGroupBox(QStringLiteral("Mass Precision and Noise"), this);
    auto* precisionForm = new QFormLayout(precision);
    precisionForm->addRow(QStringLiteral("&Daltons:"), daltons_);
    precisionForm->addRow(QStringLiteral("&PPM:"), ppm_);
    precisionForm->addRow(QStringLiteral("&Threshold:"), threshold_);
    layout->addWidget(precision);

    auto* sequence = new QGroupBox(QStringLiteral("Sequence"), this);
    auto* sequenceForm = new QFormLayout(sequence);
    sequenceForm->addRow(QStringLiteral("&Maximum Number of Candidates:"), maxCandidates_);
    sequenceForm->addRow(QStringLiteral("Maximum &Number of Partial Sequences:"), maxPartials_);
    sequenceForm->addRow(QStringLiteral("Minimum Primary &Score:"), minScore_);
    sequenceForm->addRow(QStringLiteral("Percent of Hi&ghest Score:"), percent_);
    sequenceForm->addRow(expandBox_);
    layout->addWidget(sequence);

    QDialogButtonBox* buttons = MakeButtons(true);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Close"));
    buttons->button(QDialogButtonBox::Help)->setText(QStringLiteral("&Help"));
    connect(buttons, &QDialogButtonBox::helpRequested, this, &CDenovoParamsDlg::OnHelp);
    layout->addWidget(buttons);

    AddControl(kDaltonsId, daltons_);
    AddControl(kPpmId, ppm_);
    AddControl(kThresholdId, threshold_);
    AddControl(kMaxCandidatesId, maxCandidates_);
    AddControl(kMaxPartialSequencesId, maxPartials_);
    AddControl(kMinPrimaryScoreId, minScore_);
    AddControl(kPercentOfHighestId, percent_);
    AddControl(kExpandId, expandBox_);
    connect(expandBox_, &QCheckBox::clicked, this, [this] { UpdateData(true); });
}

void CDenovoParamsDlg::Create(QWidget* owner) {
    owner_ = owner;
    if (owner && parentWidget() != owner) setParent(owner, windowFlags());
    EnsureInitialized();
}

void CDenovoParamsDlg::SetParameters(double daTolerance, double minimumPrimaryScore,
                                     double ppmTolerance, double noiseThreshold,
                                     int maximumPartialSequences, int maximumCandidates,
                                     int percentOfHighestScore, int expand) {
    values_.daTolerance = daTolerance;
    values_.minimumPrimaryScore = minimumPrimaryScore;
    values_.ppmTolerance = ppmTolerance;
    values_.noiseThreshold = noiseThreshold;
    values_.maximumPartialSequences = maximumPartialSequences;
    values_.maximumCandidates = maximumCandidates;
    values_.percentOfHighestScore = percentOfHighestScore;
    values_.expandPartialSequences = expand;
    // A dialog shown before keeps its fields: they follow the values now.
    UpdateData(false);
}

bool CDenovoParamsDlg::OnInitDialog() {
    const DenovoParams& v = values_;
    daltons_->Initialize(v.daTolerance, 0.0, 10.0, 6, 1, 1, 0);
    ppm_->Initialize(v.ppmTolerance, 0.0, 1000.0, 6, 1, 1, 0);
    threshold_->Initialize(v.noiseThreshold, 0.0, 100.0, 5, 1, 1, 0);
    maxCandidates_->Initialize(v.maximumCandidates, kDenovoMinListLength, kDenovoMaxListLength);
    maxPartials_->Initialize(v.maximumPartialSequences, kDenovoMinListLength, kDenovoMaxListLength);
    minScore_->Initialize(v.minimumPrimaryScore, 0.0, 1.0, 5, 2, 1, 0);
    percent_->Initialize(v.percentOfHighestScore, 0, 100);
    const bool ok = CDialogBase::OnInitDialog();
    adjustSize();
    PlaceBesideOwner();
    return ok;
}

void CDenovoParamsDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Double(dx, daltons_, values_.daTolerance);
    DDX_Double(dx, ppm_, values_.ppmTolerance);
    DDX_Double(dx, threshold_, values_.noiseThreshold);
    DDX_Int(dx, maxCandidates_, values_.maximumCandidates);
    DDX_Int(dx, maxPartials_, values_.maximumPartialSequences);
    DDX_Double(dx, minScore_, values_.minimumPrimaryScore);
    DDX_Int(dx, percent_, values_.percentOfHighestScore);
    DDX_Check(dx, expandBox_, values_.expandPartialSequences);
}

void CDenovoParamsDlg::showEvent(QShowEvent* event) {
    CDialogBase::showEvent(event);
    // The window manager may move a window on its first showing: it goes beside the owner again.
    if (firstShow_) {
        firstShow_ = false;
        PlaceBesideOwner();
    }
}

QPoint CDenovoParamsDlg::Placement(const QRect& owner, const QSize& size, const QRect& desktop) {
    const int left = std::min(desktop.right() + 1 - size.width(), owner.right() + 1);
    const int top = std::min(desktop.bottom() + 1 - size.height(), owner.top());
    return {left, top};
}

void CDenovoParamsDlg::PlaceBesideOwner() {
    if (!owner_) return;
    const QRect owner = owner_->frameGeometry();
    QScreen* screen = owner_->screen();
    const QRect desktop = screen ? screen->availableGeometry() : owner;
    move(Placement(owner, frameGeometry().size(), desktop));
}

void CDenovoParamsDlg::OnOK() {
    if (!UpdateData(true)) return;
    if (CZarDoc* doc = CZarDoc::GetDoc()) doc->SetDenovoParameters(Parameters());
    // The scans the MSn Browser handed last are loaded again with the new settings.
    CMainFrame* frame = qobject_cast<CMainFrame*>(owner_.data());
    if (!frame) frame = CMainFrame::GetMainFrame();
    if (frame && frame->GetInfoBar()) frame->GetInfoBar()->ParseScanList();
    QDialog::accept();
}

void CDenovoParamsDlg::OnHelp() {
    ShowContextHelp(this, kTemplateId);
}

}  // namespace zar
