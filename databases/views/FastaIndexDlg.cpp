#include "FastaIndexDlg.h"

#include "ZarApp.h"
#include "core/Paths.h"
#include "databases/FastaIndexRecord.h"
#include "document/Settings.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <any>

namespace zar {

namespace {

QRadioButton* AddRadio(QButtonGroup* group, int value, const QString& text, QWidget* parent,
                       QLayout* layout) {
    auto* radio = new QRadioButton(text, parent);
    group->addButton(radio, value);
    layout->addWidget(radio);
    return radio;
}

}  // namespace

CFastaIndexDlg::CFastaIndexDlg(QWidget* parent)
    : CDialogBase(kTemplateId, parent),
      databaseDirectory_(PortablePath(GetDatabaseDirectory())),
      progress_(new QProgressBar(this)),
      status_(new QLabel(this)),
      databaseEdit_(new QLineEdit(this)),
      massTypes_(new QButtonGroup(this)),
      databaseTypes_(new QButtonGroup(this)),
      worker_(this) {
    setWindowTitle(QStringLiteral("Fasta Index"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Index Parameters"), this);
    auto* grid = new QGridLayout(group);
    auto* nameLabel = new QLabel(QStringLiteral("&Fasta database:"), group);
    nameLabel->setBuddy(databaseEdit_);
    databaseEdit_->setParent(group);
    databaseEdit_->setMinimumWidth(320);
    auto* browse = new QPushButton(QStringLiteral("..."), group);
    browse->setFixedWidth(32);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(databaseEdit_, 0, 1);
    grid->addWidget(browse, 0, 2);

    grid->addWidget(new QLabel(QStringLiteral("Database Type:"), group), 1, 0);
    auto* types = new QHBoxLayout;
    QRadioButton* protein = AddRadio(databaseTypes_, 0, QStringLiteral("&Protein"), group, types);
    QRadioButton* nucleotide =
        AddRadio(databaseTypes_, 1, QStringLiteral("N&ucleotide"), group, types);
    types->addStretch();
    grid->addLayout(types, 1, 1, 1, 2);

    grid->addWidget(new QLabel(QStringLiteral("Mass Type:"), group), 2, 0);
    auto* masses = new QHBoxLayout;
    QRadioButton* average = AddRadio(massTypes_, 0, QStringLiteral("&Average"), group, masses);
    QRadioButton* mono = AddRadio(massTypes_, 1, QStringLiteral("&Monoisotopic"), group, masses);
    masses->addStretch();
    grid->addLayout(masses, 2, 1, 1, 2);
    layout->addWidget(group);

    status_->setMinimumHeight(status_->fontMetrics().height() * 2);
    status_->setWordWrap(true);
    layout->addWidget(status_);
    layout->addWidget(progress_);

    QDialogButtonBox* buttons = MakeButtons(true);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    close_ = buttons->button(QDialogButtonBox::Cancel);
    ok_->setText(QStringLiteral("&OK"));
    close_->setText(QStringLiteral("&Close"));
    buttons->button(QDialogButtonBox::Help)->setText(QStringLiteral("&Help"));
    layout->addWidget(buttons);

    AddControl(kProgressId, progress_);
    AddControl(kStatusId, status_);
    AddControl(kDatabaseNameId, databaseEdit_);
    AddControl(kBrowseId, browse);
    AddControl(kProteinId, protein);
    AddControl(kNucleotideId, nucleotide);
    AddControl(kAverageId, average);
    AddControl(kMonoisotopicId, mono);
    SetToolTipText(kDatabaseNameId, QStringLiteral("The name of the fasta database."));
    SetToolTipText(kAverageId,
                   QStringLiteral("Use average mass values when interpreting the sequences"));
    SetToolTipText(kProteinId, QStringLiteral("The database is a protein database"));

    connect(browse, &QPushButton::clicked, this, &CFastaIndexDlg::OnBrowse);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { ShowContextHelp(this, kTemplateId); });

    messages_.on(dbmsg::StatusTextMessage(), [this](const Message& m) {
        if (const QString* text = m.payloadAs<QString>()) status_->setText(*text);
        return 0;
    });
    messages_.on(dbmsg::ProgressMessage(), [this](const Message& m) {
        progress_->setValue(std::clamp(static_cast<int>(m.wParam), 0, 100));
        return 0;
    });
    messages_.on(dbmsg::WorkDoneMessage(), [this](const Message&) {
        EndBuild();
        return 0;
    });
}

CFastaIndexDlg::~CFastaIndexDlg() {
    worker_.cancel();
    worker_.wait();
}

bool CFastaIndexDlg::OnInitDialog() {
    status_->clear();
    progress_->setRange(0, 100);
    progress_->setValue(0);
    return CDialogBase::OnInitDialog();
}

void CFastaIndexDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Radio(dx, massTypes_, massType_);
    DDX_Radio(dx, databaseTypes_, databaseType_);
    DDX_Text(dx, databaseEdit_, databaseName_);
}

void CFastaIndexDlg::SetDatabaseName(const QString& path) {
    if (path.size() > 1) databaseName_ = path;
    databaseEdit_->setText(databaseName_);
}

void CFastaIndexDlg::OnBrowse() {
    const QString path = QFileDialog::getOpenFileName(this, QString(), databaseDirectory_,
                                                      QStringLiteral("Database Files (*.fasta)"),
                                                      nullptr, QFileDialog::ReadOnly);
    if (!path.isEmpty()) SetDatabaseName(path);
}

void CFastaIndexDlg::OnOK() {
    if (IsBuilding() || !UpdateData(true)) return;
    // A name typed without a folder is taken in the database folder.
    if (!databaseName_.isEmpty() && QFileInfo(databaseName_).isRelative())
        databaseName_ = JoinPath(databaseDirectory_, databaseName_);
    indexName_ = FastaIndexPathFor(databaseName_);
    if (!ConfirmIndexReplacement(databaseName_)) return;
    if (!worker_.startIndexBuild(databaseName_, databaseType_ == 1, massType_ == 1)) return;
    building_ = true;
    ok_->setEnabled(false);
    close_->setText(QStringLiteral("&Cancel"));
    status_->clear();
    progress_->setValue(0);
}

void CFastaIndexDlg::EndBuild() {
    worker_.wait();
    building_ = false;
    ok_->setEnabled(true);
    close_->setText(QStringLiteral("&Close"));
}

void CFastaIndexDlg::WaitForBuild() {
    worker_.wait();
    QCoreApplication::sendPostedEvents(this);
}

void CFastaIndexDlg::reject() {
    if (IsBuilding()) {
        worker_.cancel();
        WaitForBuild();
        // Close pressed during a build cancels the build and keeps the dialog open.
        if (sender() && sender() == close_->parent()) return;
    }
    CDialogBase::reject();
}

bool CFastaIndexDlg::event(QEvent* e) {
    if (messages_.handleEvent(e)) return true;
    return CDialogBase::event(e);
}

}  // namespace zar
