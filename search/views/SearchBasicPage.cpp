#include "SearchBasicPage.h"

#include "SearchLauncher.h"
#include "SearchPropertySheet.h"

#include "controls/NumericEditCtrl.h"
#include "core/MessageBox.h"
#include "core/Paths.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zar {
namespace {

constexpr unsigned kMassRangeDecimals = 2;
constexpr unsigned kThresholdWidth = 24;

QPushButton* BrowseButton(QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setMaximumWidth(32);
    return button;
}

// Wide enough for the longest text the edit holds.
template <class T>
T* Sized(T* edit, const char* sample) {
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString::fromLatin1(sample)) + 12);
    return edit;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* w : widgets) row->addWidget(w);
    row->addStretch(1);
    return row;
}

}  // namespace

CSearchBasicPage::CSearchBasicPage(SearchKind kind, int templateId, CSearchPropertySheet* sheet)
    : CSearchPageBase(templateId, QStringLiteral("Basic Parameters"), sheet), kind_(kind) {
    folderPicker_ = [](QWidget* parent, const QString& title) {
        return QFileDialog::getExistingDirectory(parent, title, QString(),
                                                 QFileDialog::ShowDirsOnly);
    };
    filePicker_ = [](QWidget* parent, const QString& start, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, QString(), start, filter);
    };

    auto* layout = new QVBoxLayout(this);
    if (IsSorvex()) {
        auto* label = new QLabel(QStringLiteral("&Results Directory:"), this);
        resultsEdit_ = Control(kResultsEditId, new QLineEdit(this));
        label->setBuddy(resultsEdit_);
        auto* browse = Control(kResultsBrowseId, BrowseButton(this));
        connect(browse, &QPushButton::clicked, this, [this] { OnBrowseResults(); });
        auto* row = new QHBoxLayout;
        row->addWidget(label);
        row->addWidget(resultsEdit_, 1);
        row->addWidget(browse);
        layout->addLayout(row);
    }
    auto* groups = new QHBoxLayout;
    groups->addWidget(BuildGenerationGroup(), 1);
    groups->addWidget(BuildSearchGroup(), 1);
    layout->addLayout(groups);
    layout->addStretch(1);

    for (QWidget* edit :
         {static_cast<QWidget*>(databaseEdit_), static_cast<QWidget*>(scanEdit_),
          static_cast<QWidget*>(indexedRange_), static_cast<QWidget*>(fastaRange_)}) {
        if (edit) edit->installEventFilter(this);
    }
}

QWidget* CSearchBasicPage::BuildGenerationGroup() {
    auto* group = new QGroupBox(QStringLiteral("Dta Generation"), this);
    auto* grid = new QGridLayout(group);
    int row = 0;
    generation_ = NewCheck(kGenerationCheckId, QStringLiteral("Perform DTA &Generation"), group);
    connect(generation_, &QCheckBox::clicked, this, [this] { OnGenerationClicked(); });
    grid->addWidget(generation_, row++, 0, 1, 3);

    if (!IsSorvex()) {
        proteinMass_ = new QButtonGroup(this);
        auto* basePeak = NewRadio(kBasePeakId, QStringLiteral("&Base Peak/Precursor Mass"),
                                  proteinMass_, 0, group);
        auto* selected =
            NewRadio(kSelectedPeakId, QStringLiteral("Selec&ted Peak"), proteinMass_, 1, group);
        suppliedMass_ = Control(kSuppliedMassId, Sized(new CDoubleEditCtrl(group), "0000000.00"));
        grid->addWidget(basePeak, row++, 0, 1, 3);
        grid->addWidget(selected, row, 0, 1, 2);
        grid->addWidget(suppliedMass_, row++, 2);
        // The mass stands beside its radio button, which names it.
        suppliedMass_->setAccessibleName(QStringLiteral("Selected Peak"));
        connect(proteinMass_, &QButtonGroup::idClicked, this,
                [this](int id) { OnProteinMassChoiceClicked(id); });

        auto* label = new QLabel(QStringLiteral("&Use Charge State:"), group);
        charge_ = Control(kChargeId, Sized(new CIntEditCtrl(group), "00"));
        charge_->Initialize(0, kChargeLimits.low, kChargeLimits.high);
        label->setBuddy(charge_);
        grid->addWidget(label, row, 0);
        grid->addWidget(charge_, row++, 1, Qt::AlignLeft);
        connect(charge_, &QLineEdit::textEdited, this, [this] { MarkChanged(); });
    }

    auto* scanLabel = new QLabel(QStringLiteral("&Scan Limits:"), group);
    scanEdit_ = Control(kScanLimitsId, Sized(new CIntRangeEditCtrl(group), "000000-000000"));
    scanLabel->setBuddy(scanEdit_);
    track_ = NewCheck(kTrackId, QStringLiteral("Trac&k"), group);
    grid->addWidget(scanLabel, row, 0);
    grid->addWidget(scanEdit_, row, 1);
    grid->addWidget(track_, row++, 2);

    auto* rangeLabel = new QLabel(QStringLiteral("Mass Range:"), group);
    fastaRange_ =
        Control(kFastaRangeId, Sized(new CDoubleRangeEditCtrl(group), "00000.00-00000.00"));
    fastaRange_->Initialize(MassRangeValue::kDefaultPair.low, MassRangeValue::kDefaultPair.high,
                            MassRangeValue::kEditBounds.low, MassRangeValue::kEditBounds.high,
                            kMassRangeDecimals);
    auto* ranges = new QVBoxLayout;
    ranges->setContentsMargins(0, 0, 0, 0);
    if (IsSorvex()) {
        indexedRange_ =
            Control(kIndexedRangeId, Sized(new CDoubleRangeEditCtrl(group), "00000.00-00000.00"));
        indexedRange_->Initialize(
            MassRangeValue::kDefaultPair.low, MassRangeValue::kDefaultPair.high,
            MassRangeValue::kEditBounds.low, MassRangeValue::kEditBounds.high, kMassRangeDecimals);
        ranges->addWidget(indexedRange_);
        indexedRange_->hide();
    }
    ranges->addWidget(fastaRange_);
    // One label for the two ranges, only one of which shows.
    fastaRange_->setAccessibleName(rangeLabel->text());
    if (indexedRange_) indexedRange_->setAccessibleName(rangeLabel->text());
    grid->addWidget(rangeLabel, row, 0);
    grid->addLayout(ranges, row++, 1, 1, 2);

    auto* thresholdLabel = new QLabel(QStringLiteral("T&hreshold:"), group);
    threshold_ = Control(kThresholdId, Sized(new CDoubleEditCtrl(group), "000000000.00"));
    threshold_->Initialize(0.0, kThresholdLimits.low, kThresholdLimits.high, kThresholdWidth, 2);
    thresholdLabel->setBuddy(threshold_);
    connect(threshold_, &QLineEdit::textEdited, this, [this] { MarkChanged(); });
    grid->addWidget(thresholdLabel, row, 0);
    grid->addWidget(threshold_, row++, 1, 1, 2);

    removeDta_ = NewCheck(kRemoveDtaId, QStringLiteral("Remove an&y existing *.dta files"), group);
    grid->addWidget(removeDta_, row++, 0, 1, 3);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* CSearchBasicPage::BuildSearchGroup() {
    auto* group = new QGroupBox(QStringLiteral("Dta Search"), this);
    auto* grid = new QGridLayout(group);
    int row = 0;
    search_ = NewCheck(kSearchCheckId, QStringLiteral("Perform DT&A Search"), group);
    connect(search_, &QCheckBox::clicked, this, [this] { OnSearchClicked(); });
    grid->addWidget(search_, row++, 0, 1, 3);
    removeOut_ = NewCheck(kRemoveOutId, QStringLiteral("Rem&ove any existing *.out files"), group);
    grid->addWidget(removeOut_, row++, 0, 1, 3);

    databaseType_ = new QButtonGroup(this);
    auto* fasta = NewRadio(kFastaId, QStringLiteral("&Fasta"), databaseType_, 0, group);
    auto* indexed = NewRadio(kIndexedId, QStringLiteral("Inde&xed"), databaseType_, 1, group);
    connect(databaseType_, &QButtonGroup::idClicked, this,
            [this](int id) { OnDatabaseTypeClicked(id); });
    grid->addWidget(new QLabel(QStringLiteral("Database:"), group), row, 0);
    grid->addLayout(Row({fasta, indexed}), row++, 1, 1, 2);

    databaseEdit_ = Control(kDatabaseEditId, new QLineEdit(group));
    databaseEdit_->setMaxLength(kMaxDatabaseName);
    auto* browse = Control(kDatabaseBrowseId, BrowseButton(group));
    connect(browse, &QPushButton::clicked, this, [this] { OnBrowseDatabase(); });
    grid->addWidget(databaseEdit_, row, 0, 1, 2);
    grid->addWidget(browse, row++, 2);

    sequenceType_ = new QButtonGroup(this);
    auto* protein = NewRadio(kProteinId, QStringLiteral("&Protein"), sequenceType_, 0, group);
    auto* nucleotide =
        NewRadio(kNucleotideId, QStringLiteral("&Nucleotide"), sequenceType_, 1, group);
    connect(sequenceType_, &QButtonGroup::idClicked, this,
            [this](int id) { OnSequenceTypeClicked(id); });
    grid->addWidget(new QLabel(QStringLiteral("Sequences:"), group), row, 0);
    grid->addLayout(Row({protein, nucleotide}), row++, 1, 1, 2);

    massType_ = new QButtonGroup(this);
    auto* average = NewRadio(kAverageId, QStringLiteral("A&verage"), massType_, 0, group);
    auto* mono = NewRadio(kMonoisotopicId, QStringLiteral("&Monoisotopic"), massType_, 1, group);
    connect(massType_, &QButtonGroup::idClicked, this, [this](int id) { OnMassTypeClicked(id); });
    grid->addWidget(new QLabel(QStringLiteral("Masses:"), group), row, 0);
    grid->addLayout(Row({average, mono}), row++, 1, 1, 2);

    auto* enzymeLabel = new QLabel(QStringLiteral("&Enzyme:"), group);
    enzyme_ = Control(kEnzymeId, new QComboBox(group));
    enzymeLabel->setBuddy(enzyme_);
    grid->addWidget(enzymeLabel, row, 0);
    grid->addWidget(enzyme_, row++, 1, 1, 2);

    if (IsSorvex()) {
        auto* label = new QLabel(QStringLiteral("Internal &Cleavage Sites:"), group);
        cleavageSites_ = Control(kCleavageSitesId, new CIntEditCtrl(group));
        cleavageSites_->Initialize(BasicPageValues::kReferenceCleavageSites,
                                   kCleavageSitesLimits.low, kCleavageSitesLimits.high);
        label->setBuddy(cleavageSites_);
        connect(cleavageSites_, &QLineEdit::textEdited, this, [this] { MarkChanged(); });
        grid->addWidget(label, row, 0);
        grid->addWidget(cleavageSites_, row++, 1);
    }
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    return group;
}

bool CSearchBasicPage::OnInitDialog() {
    FillEnzymeList();
    CSearchPageBase::OnInitDialog();
    ShowIndexedMassRange(Model().basic.IsIndexed());
    ShowSuppliedMass();
    ApplyEnableFlags(Sheet()->EnableFlags());
    return true;
}

void CSearchBasicPage::DoDataExchange(CDataExchange& dx) {
    BasicPageValues& b = Model().basic;
    if (resultsEdit_) ExchangeText(dx, resultsEdit_, b.resultsDirectory);
    ExchangeCheck(dx, generation_, b.performGeneration);
    ExchangeCheck(dx, search_, b.performSearch);
    ExchangeCheck(dx, removeDta_, b.removeDta);
    ExchangeCheck(dx, removeOut_, b.removeOut);
    ExchangeCheck(dx, track_, b.trackTrace);
    if (proteinMass_) {
        ExchangeChoice(dx, proteinMass_, b.proteinMassChoice);
        // The supplied mass cannot exceed the high end of the mass range.
        if (!dx.IsSaving()) {
            suppliedMass_->Initialize(b.suppliedMass, 0.0, b.fastaRange.value.high, 11, 2);
        }
        ExchangeDouble(dx, suppliedMass_, b.suppliedMass);
        ExchangeCharge(dx, charge_, Model().advanced.charge);
    }
    ExchangeScanRange(dx, scanEdit_, b.scanRange, b.scanFileLimits,
                      BasicPageValues::kDefaultScanPair);
    if (indexedRange_) ExchangeMassRange(dx, indexedRange_, b.indexedRange);
    ExchangeMassRange(dx, fastaRange_, b.fastaRange);
    ExchangeDouble(dx, threshold_, b.threshold);
    ExchangeChoice(dx, databaseType_, b.databaseType);
    ExchangeText(dx, databaseEdit_, b.databaseName, kMaxDatabaseName);
    ExchangeChoice(dx, sequenceType_, b.sequenceType);
    ExchangeChoice(dx, massType_, b.massType);
    if (dx.IsSaving()) {
        if (enzyme_->count() > 0) b.enzymeIndex = enzyme_->currentIndex();
    } else {
        enzyme_->setCurrentIndex(b.enzymeIndex < enzyme_->count() ? b.enzymeIndex : -1);
    }
    if (cleavageSites_) ExchangeInt(dx, cleavageSites_, b.cleavageSites);
}

void CSearchBasicPage::FillEnzymeList() {
    enzyme_->clear();
    enzyme_->addItems(Model().EnzymeListNames());
    if (enzyme_->count() > 0) enzyme_->setCurrentIndex(0);
    if (IsInitialized()) {
        const int index = Model().basic.enzymeIndex;
        enzyme_->setCurrentIndex(index < enzyme_->count() ? index : -1);
    }
}

QString CSearchBasicPage::DatabaseFilter() const {
    return Model().basic.IsIndexed() ? QStringLiteral("Database Files (*.fasta.hdr)")
                                     : QStringLiteral("Database Files (*.fasta)");
}

void CSearchBasicPage::ShowIndexedMassRange(bool indexed) {
    if (indexedRange_) {
        indexedRange_->setVisible(indexed);
        fastaRange_->setVisible(!indexed);
    }
}

void CSearchBasicPage::ShowSuppliedMass() {
    if (suppliedMass_) suppliedMass_->setVisible(Model().basic.proteinMassChoice == 1);
}

void CSearchBasicPage::EnableScanLimits(bool enable) {
    scanLimitsEnabled_ = enable;
    scanEdit_->setEnabled(enable && flags_.generation);
}

void CSearchBasicPage::ApplyEnableFlags(const SearchEnableFlags& flags) {
    flags_ = flags;
    EnableIds({kTrackId, kIndexedRangeId, kFastaRangeId, kThresholdId, kRemoveDtaId, kBasePeakId,
               kSelectedPeakId, kSuppliedMassId, kChargeId},
              flags.generation);
    scanEdit_->setEnabled(scanLimitsEnabled_ && flags.generation);
    EnableIds({kDatabaseEditId, kDatabaseBrowseId, kFastaId, kIndexedId, kRemoveOutId},
              flags.search);
    EnableIds({kProteinId, kNucleotideId, kAverageId, kMonoisotopicId, kEnzymeId, kCleavageSitesId},
              flags.databaseDependent);
}

bool CSearchBasicPage::CheckResultsDirectory() {
    Commit(true);
    return Model().CheckResultsDirectory();
}

bool CSearchBasicPage::PrepareSearchDatabase() {
    const bool recorded = Model().PrepareSearchDatabase();
    ShowIndexedMassRange(Model().basic.IsIndexed());
    Refresh();
    MarkChanged();
    return recorded;
}

void CSearchBasicPage::ReadIndexedDatabaseHeader() {
    if (!Model().basic.IsIndexed()) {
        ShowIndexedMassRange(false);
        Sheet()->ApplyEnableFlags();
        return;
    }
    Sheet()->CommitAll(true);
    if (!Model().ReadIndexedDatabaseHeader()) return;
    Sheet()->RefreshAll();
}

void CSearchBasicPage::OnBrowseResults() {
    const QString folder = folderPicker_(this, QStringLiteral("TurboSORVEX Results Directory"));
    if (!folder.isEmpty()) OnResultsDirectoryChosen(folder);
}

void CSearchBasicPage::OnResultsDirectoryChosen(const QString& folder) {
    Model().basic.resultsDirectory = folder;
    if (resultsEdit_) resultsEdit_->setText(folder);
}

void CSearchBasicPage::OnBrowseDatabase() {
    const QString path =
        filePicker_(this, PortablePath(Model().basic.databaseDirectory), DatabaseFilter());
    OnDatabaseChosen(path);
}

void CSearchBasicPage::OnDatabaseChosen(const QString& path) {
    if (path.size() <= 1) return;
    if (!IsValidDatabaseFile(path)) {
        ZarMessageBox(QString::fromLatin1(kInvalidDatabaseMessage), MB_OK);
        return;
    }
    Sheet()->CommitAll(true);
    Model().basic.databaseName = path;
    databaseEdit_->setText(path);
    ReadIndexedDatabaseHeader();
}

void CSearchBasicPage::OnDatabaseTypeClicked(int type) {
    Sheet()->CommitAll(true);
    Model().SetDatabaseType(type);
    ShowIndexedMassRange(Model().basic.IsIndexed());
    Refresh();
    Sheet()->ApplyEnableFlags();
    if (type != 0) MarkChanged();
}

void CSearchBasicPage::OnSequenceTypeClicked(int type) {
    Model().basic.SetSequenceType(type);
    if (type != 0) MarkChanged();
}

void CSearchBasicPage::OnMassTypeClicked(int type) {
    Model().basic.massType = type;
    if (type != 0) MarkChanged();
}

void CSearchBasicPage::OnProteinMassChoiceClicked(int choice) {
    Model().basic.proteinMassChoice = choice;
    ShowSuppliedMass();
}

void CSearchBasicPage::OnGenerationClicked() {
    Model().basic.performGeneration = generation_->isChecked();
    Sheet()->ApplyEnableFlags();
}

void CSearchBasicPage::OnSearchClicked() {
    Model().basic.performSearch = search_->isChecked();
    Sheet()->ApplyEnableFlags();
}

void CSearchBasicPage::OnDatabaseChanged() {
    Sheet()->CommitAll(true);
    Model().OnDatabaseChanged();
    Sheet()->RefreshAll();
}

void CSearchBasicPage::OnMassRangeFocusLost(int id) {
    CDoubleRangeEditCtrl* edit = id == kIndexedRangeId ? indexedRange_ : fastaRange_;
    if (!edit) return;
    MassRangeValue& range =
        id == kIndexedRangeId ? Model().basic.indexedRange : Model().basic.fastaRange;
    MassPair pair;
    if (edit->text().trimmed().isEmpty()) {
        range.value = range.defaultPair;
    } else if (edit->GetRange(pair.low, pair.high)) {
        range.value = pair;
    } else {
        CDataExchange dx(true);
        dx.Fail(edit, RangeMessage(edit->Lower(), edit->Upper()));
    }
    edit->SetRange(range.value.low, range.value.high);
}

void CSearchBasicPage::OnScanLimitsFocusLost() {
    BasicPageValues& b = Model().basic;
    const IntLimits limits = ScanEditLimits(b.scanFileLimits);
    scanEdit_->SetLimits(limits.low, limits.high);
    ScanPair pair;
    if (scanEdit_->text().trimmed().isEmpty()) {
        b.scanRange = BasicPageValues::kDefaultScanPair;
    } else if (scanEdit_->GetRange(pair.first, pair.last)) {
        b.scanRange = pair;
        if (IsSorvex() && Sheet()->Launcher())
            Sheet()->Launcher()->SetScanRange(pair.first, pair.last);
    } else {
        CDataExchange dx(true);
        dx.Fail(scanEdit_, RangeMessage(limits.low, limits.high));
    }
    scanEdit_->SetRange(b.scanRange.first, b.scanRange.last);
}

bool CSearchBasicPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusOut || !IsInitialized()) return false;
    // Focus that leaves with the window (a message box, another program) is no leaving of
    // the field.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    if (watched == databaseEdit_) {
        OnDatabaseChanged();
    } else if (watched == scanEdit_) {
        OnScanLimitsFocusLost();
    } else if (watched == indexedRange_) {
        OnMassRangeFocusLost(kIndexedRangeId);
    } else if (watched == fastaRange_) {
        OnMassRangeFocusLost(kFastaRangeId);
    }
    return false;
}

}  // namespace zar
