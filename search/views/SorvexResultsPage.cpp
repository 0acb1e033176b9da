#include "SorvexResultsPage.h"

#include "ZarDoc.h"
#include "controls/NumericEditCtrl.h"
#include "document/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zar {
namespace {

constexpr int kScanNumbers = 9046;
constexpr int kRetentionTime = 9047;
constexpr int kAll = 9048;
constexpr int kLimited = 9049;
constexpr int kEntriesEdit = 9050;
constexpr int kToleranceEdit = 9062;
constexpr int kResidueEdit = 9138;
constexpr int kAutoCalculate = 9139;

// A pair of radio buttons for the values 0 and 1.
QButtonGroup* radioPair(QWidget* page, QLayout* layout, const char* first, const char* second) {
    auto* group = new QButtonGroup(page);
    int value = 0;
    for (const char* text : {first, second}) {
        auto* button = new QRadioButton(QString::fromLatin1(text), page);
        group->addButton(button, value++);
        layout->addWidget(button);
    }
    return group;
}

void exchangeRadio(CDataExchange& dx, QButtonGroup* group, int& value) {
    if (dx.IsSaving()) {
        if (group->checkedId() >= 0) value = group->checkedId();
    } else if (QAbstractButton* button = group->button(value)) {
        button->setChecked(true);
    }
}

}  // namespace

CSorvexResultsPage::CSorvexResultsPage(QWidget* sheet)
    : CPropertyPageBase(9045, QStringLiteral("TurboSORVEX Results"), sheet),
      entriesEdit_(new CIntEditCtrl(this)),
      residueEdit_(new QLineEdit(this)),
      toleranceEdit_(new CDoubleEditCtrl(this)),
      autoBox_(new QCheckBox(QStringLiteral("Auto-calculate &XPRESS ratios"), this)) {
    xpressResidue_ = GetXpressResidue();
    xpressTolerance_ = GetXpressTolerance();
    summaryMode_ = GetSummaryDisplayMode();
    consensusMode_ = GetConsensusDisplayMode();
    consensusEntries_ = GetConsensusDisplayEntries();
    xpressAuto_ = GetXpressAutoCalculate();

    auto* layout = new QVBoxLayout(this);
    auto* summary = new QGroupBox(QStringLiteral("Summary Table"), this);
    auto* summaryRow = new QHBoxLayout(summary);
    summaryRow->addWidget(new QLabel(QStringLiteral("Display:"), summary));
    summaryGroup_ = radioPair(this, summaryRow, "&Scan numbers", "&Retention time");
    summaryRow->addStretch(1);
    layout->addWidget(summary);

    auto* consensus = new QGroupBox(QStringLiteral("Consensus Table"), this);
    auto* consensusBox = new QVBoxLayout(consensus);
    consensusBox->addWidget(new QLabel(QStringLiteral("Default entries displayed:"), consensus));
    auto* consensusRow = new QHBoxLayout;
    consensusGroup_ = radioPair(this, consensusRow, "&All", "&Limited number");
    // The count has no label of its own: its messages name it by the group's text.
    entriesEdit_->setAccessibleName(QStringLiteral("Default entries displayed"));
    consensusRow->addWidget(entriesEdit_);
    consensusRow->addStretch(1);
    consensusBox->addLayout(consensusRow);
    layout->addWidget(consensus);

    auto* xpress = new QGroupBox(QStringLiteral("XPRESS"), this);
    auto* xpressForm = new QFormLayout(xpress);
    xpressForm->addRow(QStringLiteral("A&mino Acid Residue:"), residueEdit_);
    xpressForm->addRow(QStringLiteral("&Mass tolerance:"), toleranceEdit_);
    xpressForm->addRow(autoBox_);
    layout->addWidget(xpress);
    layout->addStretch(1);

    AddControl(kScanNumbers, summaryGroup_->button(0));
    AddControl(kRetentionTime, summaryGroup_->button(1));
    AddControl(kAll, consensusGroup_->button(0));
    AddControl(kLimited, consensusGroup_->button(1));
    AddControl(kEntriesEdit, entriesEdit_);
    AddControl(kResidueEdit, residueEdit_);
    AddControl(kToleranceEdit, toleranceEdit_);
    AddControl(kAutoCalculate, autoBox_);
    entriesEdit_->setMaximumWidth(entriesEdit_->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    residueEdit_->setMaximumWidth(entriesEdit_->maximumWidth());
    toleranceEdit_->setMaximumWidth(entriesEdit_->maximumWidth());
    connect(consensusGroup_->button(0), &QAbstractButton::clicked, this, &CSorvexResultsPage::OnConsensusAll);
    connect(consensusGroup_->button(1), &QAbstractButton::clicked, this, &CSorvexResultsPage::OnConsensusLimited);
    connect(summaryGroup_, &QButtonGroup::idClicked, this, [this](int id) { summaryMode_ = id; });
    connect(autoBox_, &QCheckBox::clicked, this, [this](bool on) { xpressAuto_ = on ? 1 : 0; });
}

bool CSorvexResultsPage::OnInitDialog() {
    toleranceEdit_->Initialize(xpressTolerance_, kMinTolerance, kMaxTolerance);
    entriesEdit_->Initialize(consensusEntries_, kMinEntries, kMaxEntries);
    entriesEdit_->setVisible(consensusMode_ == 1);
    return true;
}

void CSorvexResultsPage::DoDataExchange(CDataExchange& dx) {
    exchangeRadio(dx, summaryGroup_, summaryMode_);
    exchangeRadio(dx, consensusGroup_, consensusMode_);
    // The count is a field only while a limited number is chosen: with All it is hidden and
    // keeps its value.
    if (!dx.IsSaving() || consensusMode_ == 1) DDX_Int(dx, entriesEdit_, consensusEntries_);
    DDX_Text(dx, residueEdit_, xpressResidue_);
    DDX_Double(dx, toleranceEdit_, xpressTolerance_);
    DDX_Check(dx, autoBox_, xpressAuto_);
}

// A click takes the choice only: the typed fields are checked on OK, not on every click.
void CSorvexResultsPage::OnConsensusAll() {
    consensusMode_ = 0;
    entriesEdit_->hide();
}

void CSorvexResultsPage::OnConsensusLimited() {
    consensusMode_ = 1;
    entriesEdit_->show();
}

void CSorvexResultsPage::SaveSettings() {
    UpdateData(true);
    SetSummaryDisplayMode(summaryMode_);
    SetConsensusDisplayMode(consensusMode_);
    SetConsensusDisplayEntries(consensusEntries_);
    CZarDoc* doc = CZarDoc::GetDoc();
    if (doc) doc->SetDisplayFlags(summaryMode_, consensusMode_, consensusEntries_);
    SetXpressAutoCalculate(xpressAuto_);
    SetXpressResidue(xpressResidue_);
    SetXpressTolerance(xpressTolerance_);
    // Later XPRESS calculations take the new residue and tolerance.
    if (doc) doc->InstallXpressSettings();
}

}  // namespace zar
