#include "UtilityAddPage.h"

#include "controls/NumericEditCtrl.h"
#include "core/Paths.h"
#include "databases/FastaUtilities.h"
#include "document/Settings.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace zar {

namespace {

constexpr const char* kProteinLetters = "ABCDEFGHIKLMNOPQRSTVWXZY";
constexpr const char* kNucleotideLetters = "ACGTUX";
const QString kProteinPrompt =
    QStringLiteral("Enter the amino acid sequence (all letters except J and U are accepted).");
const QString kNucleotidePrompt =
    QStringLiteral("Enter the nucleotide sequence (only A, C, G, T, U, and X are accepted).");
constexpr double kUserMassLimit = 1e20;

QRegularExpression LettersOnly(const char* letters) {
    const QString set = QString::fromLatin1(letters);
    return QRegularExpression(QStringLiteral("^[%1%2]*$").arg(set, set.toLower()));
}

}  // namespace

CUtilityAddPage::CUtilityAddPage(QWidget* parent)
    : CPropertyPageBase(kTemplateId, QStringLiteral("Add"), parent),
      userMassEdit_(new CDoubleEditCtrl(this)),
      sequenceEdit_(new QLineEdit(this)),
      databaseEdit_(new QLineEdit(this)),
      descriptionEdit_(new QLineEdit(this)),
      userMassLabel_(new QLabel(QStringLiteral("&User specified mass:"), this)),
      massOptions_(new QButtonGroup(this)),
      sequenceTypes_(new QButtonGroup(this)),
      letters_(new QRegularExpressionValidator(LettersOnly(kProteinLetters), this)),
      initialDirectory_(PortablePath(GetDatabaseDirectory())) {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setFixedWidth(32);
    auto* databaseLabel = new QLabel(QStringLiteral("&Database:"), this);
    databaseLabel->setBuddy(databaseEdit_);
    auto* descriptionLabel = new QLabel(QStringLiteral("&Enter Description: "), this);
    descriptionLabel->setBuddy(descriptionEdit_);
    top->addWidget(databaseLabel, 0, 0);
    top->addWidget(databaseEdit_, 0, 1);
    top->addWidget(browse, 0, 2);
    top->addWidget(descriptionLabel, 1, 0);
    top->addWidget(descriptionEdit_, 1, 1, 1, 2);
    layout->addLayout(top);

    auto* types = new QHBoxLayout;
    types->addWidget(new QLabel(QStringLiteral("Enter: "), this));
    auto* protein = new QRadioButton(QStringLiteral("&Protein Sequence"), this);
    auto* nucleotide = new QRadioButton(QStringLiteral("&Nucleotide/DNA Sequence"), this);
    sequenceTypes_->addButton(protein, 0);
    sequenceTypes_->addButton(nucleotide, 1);
    types->addWidget(protein);
    types->addWidget(nucleotide);
    types->addStretch();
    layout->addLayout(types);
    sequenceEdit_->setValidator(letters_);
    sequenceEdit_->setMaxLength(kSequenceEditLimit);
    layout->addWidget(sequenceEdit_);

    auto* mass = new QGroupBox(QStringLiteral("Mass"), this);
    auto* massLayout = new QGridLayout(mass);
    auto* calculated =
        new QRadioButton(QStringLiteral("Include c&alculated mass in description"), mass);
    auto* user =
        new QRadioButton(QStringLiteral("&Include user specified mass in description"), mass);
    auto* none = new QRadioButton(QStringLiteral("E&xclude mass from description"), mass);
    massOptions_->addButton(calculated, 0);
    massOptions_->addButton(user, 1);
    massOptions_->addButton(none, 2);
    userMassLabel_->setParent(mass);
    userMassEdit_->setParent(mass);
    userMassLabel_->setBuddy(userMassEdit_);
    massLayout->addWidget(calculated, 0, 0, 1, 2);
    massLayout->addWidget(user, 1, 0, 1, 2);
    massLayout->addWidget(none, 2, 0, 1, 2);
    massLayout->addWidget(userMassLabel_, 3, 0);
    massLayout->addWidget(userMassEdit_, 3, 1);
    layout->addWidget(mass);

    auto* add = new QPushButton(QStringLiteral("&Add Entry"), this);
    auto* addRow = new QHBoxLayout;
    addRow->addStretch();
    addRow->addWidget(add);
    layout->addLayout(addRow);
    layout->addStretch();

    AddControl(kDatabaseId, databaseEdit_);
    AddControl(kBrowseId, browse);
    AddControl(kDescriptionId, descriptionEdit_);
    AddControl(kProteinId, protein);
    AddControl(kNucleotideId, nucleotide);
    AddControl(kSequenceId, sequenceEdit_);
    AddControl(kCalculatedMassId, calculated);
    AddControl(kUserMassLabelId, userMassLabel_);
    AddControl(kUserMassOptionId, user);
    AddControl(kNoMassId, none);
    AddControl(kUserMassId, userMassEdit_);
    AddControl(kAddEntryId, add);

    connect(add, &QPushButton::clicked, this, &CUtilityAddPage::OnAddEntry);
    connect(browse, &QPushButton::clicked, this, &CUtilityAddPage::OnBrowse);
    connect(sequenceTypes_, &QButtonGroup::idClicked, this, [this] { OnSequenceType(); });
    connect(massOptions_, &QButtonGroup::idClicked, this, [this] { OnMassOption(); });
}

bool CUtilityAddPage::OnInitDialog() {
    userMassEdit_->Initialize(userMass_, 0.0, kUserMassLimit, 13, 2);
    userMassLabel_->setEnabled(false);
    userMassEdit_->setEnabled(false);
    sequenceEdit_->setPlaceholderText(kProteinPrompt);
    sequenceEdit_->setToolTip(kProteinPrompt);
    return true;
}

void CUtilityAddPage::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, databaseEdit_, databasePath_);
    DDX_Text(dx, descriptionEdit_, description_);
    DDX_Text(dx, sequenceEdit_, sequence_);
    DDX_Radio(dx, massOptions_, massOption_);
    DDX_Radio(dx, sequenceTypes_, sequenceType_);
    // The user's mass counts only when it is the chosen one.
    if (!dx.IsSaving() || massOption_ == 1) DDX_Double(dx, userMassEdit_, userMass_);
}

void CUtilityAddPage::OnSequenceType() {
    massOption_ = massOptions_->checkedId();
    sequenceType_ = sequenceTypes_->checkedId();
    const bool protein = sequenceType_ == 0;
    massOptions_->button(1)->setEnabled(protein);
    massOptions_->button(2)->setEnabled(protein);
    const bool userMass = protein && massOption_ == 1;
    userMassLabel_->setEnabled(userMass);
    userMassEdit_->setEnabled(userMass);
    letters_->setRegularExpression(LettersOnly(protein ? kProteinLetters : kNucleotideLetters));
    const QString& prompt = protein ? kProteinPrompt : kNucleotidePrompt;
    sequenceEdit_->setPlaceholderText(prompt);
    sequenceEdit_->setToolTip(prompt);
}

void CUtilityAddPage::OnMassOption() {
    massOption_ = massOptions_->checkedId();
    userMassLabel_->setEnabled(massOption_ == 1);
    userMassEdit_->setEnabled(massOption_ == 1);
}

void CUtilityAddPage::OnBrowse() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Browse for Database"), initialDirectory_,
        QStringLiteral("Database Files (*.fasta)"), nullptr, QFileDialog::ReadOnly);
    if (path.isEmpty()) return;
    databasePath_ = path;
    databaseEdit_->setText(path);
}

void CUtilityAddPage::OnAddEntry() {
    if (!UpdateData(true)) return;
    AddEntryRequest request;
    request.databasePath = databasePath_;
    request.description = description_;
    request.sequence = sequence_;
    request.nucleotide = sequenceType_ == 1;
    request.massOption = massOption_;
    request.userMass = userMass_;
    const AddEntryResult result = AddDatabaseEntry(request);
    if (result.field == AddEntryResult::Field::Description) descriptionEdit_->setFocus();
    if (result.field == AddEntryResult::Field::Sequence) sequenceEdit_->setFocus();
    if (result.badIndex >= 0) sequenceEdit_->setSelection(result.badIndex, 1);
}

}  // namespace zar
