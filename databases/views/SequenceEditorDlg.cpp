#include "SequenceEditorDlg.h"

#include "DisulfideBondsDlg.h"

#include "MainFrame.h"
#include "ZarApp.h"
#include "ZarDoc.h"
#include "controls/EditTextOnly.h"
#include "databases/FastaUtilities.h"
#include "databases/SequenceMasses.h"
#include "document/ZarMessages.h"
#include "messages/Messages.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <cstring>

namespace zar {
namespace {

constexpr int kPepmapViewType = 9;
constexpr int kButtonsPerRow = 7;

struct ResidueName {
    char letter;
    const char* tip;
};

constexpr ResidueName kResidueNames[] = {
    {'A', "Add Ala - Alanine to the sequence"},
    {'C', "Add Cys - Cysteine to the sequence"},
    {'D', "Add Asp - Aspartic Acid to the sequence"},
    {'E', "Add Glu - Glutamic Acid to the sequence"},
    {'F', "Add Phe - Phenylalanine to the sequence"},
    {'G', "Add Gly - Glycine to the sequence"},
    {'H', "Add His - Histidine to the sequence"},
    {'I', "Add Ile - Isoleucine to the sequence"},
    {'K', "Add Lys - Lysine to the sequence"},
    {'L', "Add Leu - Leucine to the sequence"},
    {'M', "Add Met - Methionine to the sequence"},
    {'N', "Add Asn - Aspargine to the sequence"},
    {'O', "Add Orn - Ornithine to the sequence"},
    {'P', "Add Pro - Proline to the sequence"},
    {'Q', "Add Gln - Glutamine to the sequence"},
    {'R', "Add Arg - Arginine to the sequence"},
    {'S', "Add Ser - Serine to the sequence"},
    {'T', "Add Thr - Threonine to the sequence"},
    {'V', "Add Val - Valine to the sequence"},
    {'W', "Add Trp - Tryptophan to the sequence"},
    {'Y', "Add Tyr - Tyrosine to the sequence"},
};
static_assert(std::size(kResidueNames) ==
              CSequenceEditorDlg::kLastResidueId - CSequenceEditorDlg::kFirstResidueId + 1);

}  // namespace

CSequenceEditorDlg::CSequenceEditorDlg(QWidget* parent) : CDialogBase(kTemplateId, parent) {
    build();
}

CSequenceEditorDlg::CSequenceEditorDlg(CSequenceEditorView* view, SequenceEditorMode mode,
                                       QWidget* parent)
    : CDialogBase(kTemplateId, parent),
      view_(view),
      mode_(view ? mode : SequenceEditorMode::kMainWindow) {
    build();
}

CSequenceEditorDlg::~CSequenceEditorDlg() = default;

void CSequenceEditorDlg::build() {
    setWindowTitle(QStringLiteral("Sequence Editor"));
    auto* layout = new QVBoxLayout(this);

    auto* residues = new QGroupBox(QStringLiteral("Amino Acids:"), this);
    auto* grid = new QGridLayout(residues);
    int k = 0;
    for (const ResidueName& r : kResidueNames) {
        const int id = kFirstResidueId + k;
        auto* button = new QPushButton(QString(QLatin1Char(r.letter)), residues);
        button->setObjectName(QStringLiteral("Residue%1").arg(QLatin1Char(r.letter)));
        button->setFixedWidth(36);
        button->setAutoDefault(false);
        grid->addWidget(button, k / kButtonsPerRow, k % kButtonsPerRow);
        AddControl(id, button);
        SetToolTipText(id, QString::fromLatin1(r.tip));
        connect(button, &QPushButton::clicked, this, [this, id] { OnResidueButton(id); });
        ++k;
    }
    disulfideButton_ = new QPushButton(QStringLiteral("&Disulfide Bonds..."), residues);
    disulfideButton_->setAutoDefault(false);
    grid->addWidget(disulfideButton_, (k + kButtonsPerRow - 1) / kButtonsPerRow, 0, 1,
                    kButtonsPerRow, Qt::AlignLeft);
    AddControl(kDisulfideBondsId, disulfideButton_);
    SetToolTipText(kDisulfideBondsId, QStringLiteral("Display the Disulfide Bonds dialog"));
    connect(disulfideButton_, &QPushButton::clicked, this, &CSequenceEditorDlg::OnDisulfideBonds);
    layout->addWidget(residues);

    layout->addWidget(new QLabel(QStringLiteral("Sequence:"), this));
    edit_ = new CEditTextOnly(this);
    const QString accepted = QString::fromLatin1(kAcceptedLetters);
    edit_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^[%1%2]*$").arg(accepted, accepted.toLower())), edit_));
    edit_->setMinimumWidth(380);
    // A protein of any length: the edit's usual limit would cut a long one short.
    edit_->setMaxLength(kSequenceEditLimit);
    AddControl(kSequenceId, edit_);
    SetToolTipText(kSequenceId, QStringLiteral("Enter the protein/peptide sequence"));
    // Typing shows the length and weight of the text as it stands; the sequence is taken on OK.
    connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) { setLabels(text); });
    layout->addWidget(edit_);

    auto* labels = new QHBoxLayout;
    lengthLabel_ = new QLabel(this);
    weightLabel_ = new QLabel(this);
    // Room for a protein's length and weight, so the texts never wait for the layout.
    lengthLabel_->setMinimumWidth(
        lengthLabel_->fontMetrics().horizontalAdvance(QStringLiteral("Length: 0000000")));
    weightLabel_->setMinimumWidth(
        weightLabel_->fontMetrics().horizontalAdvance(QStringLiteral("Weight: 000000000.00")));
    AddControl(kLengthId, lengthLabel_);
    AddControl(kWeightId, weightLabel_);
    labels->addWidget(lengthLabel_);
    labels->addSpacing(24);
    labels->addWidget(weightLabel_);
    labels->addStretch(1);
    layout->addLayout(labels);
    setLabels(QString());

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    QPushButton* close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    ok->setDefault(true);
    AddControl(1, ok);
    AddControl(2, close);
    AddControl(9, help);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowContextHelp(this, kTemplateId); });
    layout->addWidget(buttons);
    disulfideButton_->setVisible(false);
}

void CSequenceEditorDlg::Create(QWidget* view) {
    (void)view;  // the editor stays a window of its own, owned by the view
    EnsureInitialized();
}

bool CSequenceEditorDlg::OnInitDialog() {
    if (CZarDoc* doc = CZarDoc::GetDoc()) sequence_ = doc->GetSequence();
    disulfideButton_->setVisible(showDisulfideButton_);
    setLabels(sequence_);
    edit_->setFocus();
    UpdateData(false);
    return true;
}

void CSequenceEditorDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, edit_, sequence_);
}

QPushButton* CSequenceEditorDlg::ResidueButton(QChar letter) const {
    const char* at = std::strchr(kResidueLetters, letter.toLatin1());
    if (!at || letter.isNull()) return nullptr;
    return qobject_cast<QPushButton*>(
        GetDlgItem(kFirstResidueId + static_cast<int>(at - kResidueLetters)));
}

void CSequenceEditorDlg::ShowDisulfideButton(bool show) {
    showDisulfideButton_ = show;
    disulfideButton_->setVisible(show);
}

void CSequenceEditorDlg::UpdateLengthWeight(const QString& sequence) {
    sequence_ = sequence;
    setLabels(sequence_);
    UpdateData(false);
    edit_->setFocus();
}

double CSequenceEditorDlg::ComputeSequenceWeight(const QString& sequence) {
    if (sequence.isEmpty()) return 0.0;
    // Characters beyond Latin-1 become '?', which weighs nothing like them.
    const QByteArray letters = sequence.toLatin1();
    return ProtonatedMass(
        SequenceMassTable::For(true),
        std::string_view(letters.constData(), static_cast<size_t>(letters.size())));
}

void CSequenceEditorDlg::setLabels(const QString& text) {
    if (text.isEmpty()) {
        lengthLabel_->setText(QStringLiteral("Length: 0"));
        weightLabel_->setText(QStringLiteral("Weight: 0.00"));
        return;
    }
    lengthLabel_->setText(QStringLiteral("Length: %1").arg(text.size()));
    weightLabel_->setText(QStringLiteral("Weight: %1").arg(ComputeSequenceWeight(text), 0, 'f', 2));
}

void CSequenceEditorDlg::OnResidueButton(int id) {
    if (id < kFirstResidueId || id > kLastResidueId) return;
    // What was typed since the sequence was last taken stays: the letter goes after it.
    UpdateData(true);
    sequence_ += QLatin1Char(kResidueLetters[id - kFirstResidueId]);
    setLabels(sequence_);
    UpdateData(false);
}

void CSequenceEditorDlg::OnDisulfideBonds() {
    if (!showDisulfideButton_) return;
    UpdateData(true);
    sequence_ = sequence_.toUpper();
    if (!bonds_) {
        bonds_ = std::make_unique<CDisulfideBondsDlg>(this);
        bonds_->Create(this);
    }
    bonds_->SetSequence(sequence_);
    bonds_->show();
    bonds_->raise();
}

void CSequenceEditorDlg::OnOK() {
    if (!UpdateData(true)) return;
    sequence_ = sequence_.toUpper();
    UpdateData(false);
    CZarDoc* doc = CZarDoc::GetDoc();
    if (doc) doc->SetSequence(sequence_);
    if (view_ && mode_ != SequenceEditorMode::kMainWindow) {
        view_->TakeDocumentSequence();
        view_->EnableButtons(!sequence_.isEmpty());
    } else if (CMainFrame* frame = CMainFrame::GetMainFrame();
               frame && frame->CurrentViewType() == kPepmapViewType) {
        PostMessage(frame, kMsgSequenceChanged);
    }
    QDialog::accept();
}

}  // namespace zar
