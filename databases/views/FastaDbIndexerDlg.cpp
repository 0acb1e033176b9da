#include "FastaDbIndexerDlg.h"

#include "ZarApp.h"
#include "controls/NumericEditCtrl.h"
#include "core/MessageBox.h"
#include "core/Paths.h"
#include "databases/FastaReader.h"
#include "document/EnzymeTable.h"
#include "document/IndexedDatabaseHeader.h"
#include "document/Settings.h"
#include "grid/GridWnd.h"
#include "grids/GridValidation.h"
#include "grids/ModificationGrid.h"
#include "search/ParamFileRestore.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QVBoxLayout>

#include <cmath>

namespace zar {

namespace {

constexpr const char* kParamFileName = "buildix.params";
constexpr const char* kBuilderName = "buildix4";
constexpr const char* kSortProgramName = "sort.exe";
const QString kDefaultTempDirectory = QStringLiteral("C:\\Temp");
constexpr int kDiffRows = ModificationTables::kDifferentialCount;
// The limits of the range fields.
constexpr double kMassLimit = 1'000'000.0;
constexpr double kLongestSequence = 1000.0;
// How long a builder asked to stop may take to clean up before it is killed.
constexpr int kBuilderStopWaitMs = 30000;

struct PresetItem {
    ModificationPreset preset;
    const char* text;
};

constexpr PresetItem kPresets[] = {
    {ModificationPreset::Acetylation, "Acetylation"},
    {ModificationPreset::Carboxymethylation, "Carboxymethylation"},
    {ModificationPreset::Formylation, "Formylation"},
    {ModificationPreset::Hydroxylation, "Hydroxylation"},
    {ModificationPreset::IcatReagent, "ICAT (TM) Reagent"},
    {ModificationPreset::Methylation, "Methylation"},
    {ModificationPreset::Oxidation, "Oxidation"},
    {ModificationPreset::Phosphorylation, "Phosphorylation"},
    {ModificationPreset::Sulphation, "Sulphation"},
};

QRadioButton* AddRadio(QButtonGroup* group, int value, const QString& text, QWidget* parent,
                       QBoxLayout* layout) {
    auto* radio = new QRadioButton(text, parent);
    group->addButton(radio, value);
    layout->addWidget(radio);
    return radio;
}

QPushButton* BrowseButton(QWidget* parent) {
    auto* b = new QPushButton(QStringLiteral("..."), parent);
    b->setFixedWidth(32);
    return b;
}

void SetupModificationGrid(CGXGridWnd& grid, int rows) {
    grid.SetRowCount(rows);
    grid.SetColCount(2);
    grid.SetValueRange(0, 1, QStringLiteral("Amino Acid"));
    grid.SetValueRange(0, 2, QStringLiteral("Mass"));
    grid.SetColWidth(1, 150);
    grid.horizontalHeader()->setStretchLastSection(true);
}

// A grid just tall enough for its rows.
void FitHeightToRows(CGXGridWnd& grid) {
    grid.setFixedHeight(grid.horizontalHeader()->sizeHint().height() +
                        grid.GetRowCount() * grid.verticalHeader()->defaultSectionSize() +
                        2 * grid.frameWidth());
}

double CellMass(const CGXGridWnd& grid, int row) {
    double mass = 0.0;
    return ReadGridNumber(grid.GetValueRowCol(row, 2).trimmed(), mass) ? mass : 0.0;
}

// Whether the FASTA file holds at least one entry.
bool HasFastaEntries(const QString& path) {
    CFastaReader reader;
    FastaEntryStart entry;
    return reader.open(path) && reader.nextEntry(entry);
}

// Whether a name the builder records as a word would hold a blank: the FASTA file by its name
// when it lies beside the description, else by its whole path.
bool NamesHoldBlanks(const QString& fastaPath, const QString& indexedPath) {
    const QFileInfo fasta(fastaPath);
    const QFileInfo indexed(indexedPath);
    const QString recorded =
        fasta.absoluteDir() == indexed.absoluteDir() ? fasta.fileName() : fasta.absoluteFilePath();
    return recorded.contains(QLatin1Char(' ')) || indexed.fileName().contains(QLatin1Char(' '));
}

}  // namespace

CFastaDbIndexerDlg::CFastaDbIndexerDlg(QWidget* parent, InvalidParamsPrompt* prompt)
    : CDialogBase(kTemplateId, parent),
      massRangeEdit_(new CDoubleRangeEditCtrl(this)),
      lengthRangeEdit_(new CDoubleRangeEditCtrl(this)),
      cleavageSitesEdit_(new CIntEditCtrl(this)),
      diffGrid_(new CModificationGrid(this)),
      staticGrid_(new CTerminalModificationGrid(this)),
      enzymeCombo_(new QComboBox(this)),
      tempDirEdit_(new QLineEdit(this)),
      indexedNameEdit_(new QLineEdit(this)),
      fastaNameEdit_(new QLineEdit(this)),
      duplicatesCheck_(new QCheckBox(QStringLiteral("Include &duplicate peptides"), this)),
      massTypes_(new QButtonGroup(this)),
      databaseTypes_(new QButtonGroup(this)),
      digestModes_(new QButtonGroup(this)),
      statusLabel_(new QLabel(this)),
      prompt_(prompt),
      databaseDirectory_(PortablePath(GetDatabaseDirectory())),
      paramPath_(JoinPath(databaseDirectory_, QString::fromLatin1(kParamFileName))),
      programDirectory_(PortablePath(GetProgramDirectory())),
      sortProgram_(JoinPath(programDirectory_, QString::fromLatin1(kSortProgramName))),
      tempDirectory_(kDefaultTempDirectory) {
    setWindowTitle(QStringLiteral("Fasta Database Indexer"));
    diffGrid_->setObjectName(QStringLiteral("DiffModificationGrid"));
    staticGrid_->setObjectName(QStringLiteral("StaticModificationGrid"));

    // Left: the files, the database and the digest. Right: the modification grids, which stay
    // children of the dialog itself so that their context menus reach it.
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;

    auto* files = new QGroupBox(QStringLiteral("Databases"), this);
    auto* fileGrid = new QGridLayout(files);
    const struct {
        const char* label;
        QLineEdit* edit;
        int editId;
        int browseId;
        void (CFastaDbIndexerDlg::*browse)();
    } fileRows[] = {
        {"&Non-indexed:", fastaNameEdit_, kFastaNameId, kBrowseFastaId,
         &CFastaDbIndexerDlg::OnBrowseFasta},
        {"I&ndexed:", indexedNameEdit_, kIndexedNameId, kBrowseIndexedId,
         &CFastaDbIndexerDlg::OnBrowseIndexed},
        {"&Temp Directory:", tempDirEdit_, kTempDirId, kBrowseTempDirId,
         &CFastaDbIndexerDlg::OnBrowseTempDir},
    };
    int row = 0;
    for (const auto& r : fileRows) {
        auto* label = new QLabel(QString::fromLatin1(r.label), files);
        r.edit->setParent(files);
        r.edit->setMinimumWidth(260);
        label->setBuddy(r.edit);
        QPushButton* browse = BrowseButton(files);
        fileGrid->addWidget(label, row, 0);
        fileGrid->addWidget(r.edit, row, 1);
        fileGrid->addWidget(browse, row, 2);
        AddControl(r.editId, r.edit);
        AddControl(r.browseId, browse);
        connect(browse, &QPushButton::clicked, this, r.browse);
        ++row;
    }
    left->addWidget(files);

    auto* types = new QGroupBox(QStringLiteral("Database"), this);
    auto* typeGrid = new QGridLayout(types);
    auto* databaseRow = new QHBoxLayout;
    AddControl(kProteinId,
               AddRadio(databaseTypes_, 0, QStringLiteral("&Protein"), types, databaseRow));
    AddControl(kNucleotideId,
               AddRadio(databaseTypes_, 1, QStringLiteral("N&ucleotide"), types, databaseRow));
    databaseRow->addStretch();
    auto* massRow = new QHBoxLayout;
    AddControl(kAverageId, AddRadio(massTypes_, 0, QStringLiteral("&Average"), types, massRow));
    AddControl(kMonoisotopicId,
               AddRadio(massTypes_, 1, QStringLiteral("&Monoisotopic"), types, massRow));
    massRow->addStretch();
    typeGrid->addWidget(new QLabel(QStringLiteral("Database Type:"), types), 0, 0);
    typeGrid->addLayout(databaseRow, 0, 1);
    typeGrid->addWidget(new QLabel(QStringLiteral("Mass Type:"), types), 1, 0);
    typeGrid->addLayout(massRow, 1, 1);
    duplicatesCheck_->setParent(types);
    typeGrid->addWidget(duplicatesCheck_, 2, 0, 1, 2);
    AddControl(kDuplicatesId, duplicatesCheck_);
    left->addWidget(types);

    auto* digest = new QGroupBox(QStringLiteral("Digest"), this);
    auto* digestGrid = new QGridLayout(digest);
    auto* modeRow = new QHBoxLayout;
    AddControl(kNoEnzymeId,
               AddRadio(digestModes_, 0, QStringLiteral("No En&zyme"), digest, modeRow));
    AddControl(kEnzymeId, AddRadio(digestModes_, 1, QStringLiteral("&Enzyme"), digest, modeRow));
    modeRow->addStretch();
    digestGrid->addLayout(modeRow, 0, 0, 1, 2);
    auto* enzymeLabel = new QLabel(QStringLiteral("Enz&yme:"), digest);
    auto* massLabel = new QLabel(QStringLiteral("Mass &Range:"), digest);
    auto* sitesLabel = new QLabel(QStringLiteral("Number of &Cleavage Sites:"), digest);
    auto* lengthLabel = new QLabel(QStringLiteral("Sequence &Length:"), digest);
    enzymeCombo_->setParent(digest);
    massRangeEdit_->setParent(digest);
    cleavageSitesEdit_->setParent(digest);
    lengthRangeEdit_->setParent(digest);
    enzymeLabel->setBuddy(enzymeCombo_);
    massLabel->setBuddy(massRangeEdit_);
    sitesLabel->setBuddy(cleavageSitesEdit_);
    lengthLabel->setBuddy(lengthRangeEdit_);
    digestGrid->addWidget(enzymeLabel, 1, 0);
    digestGrid->addWidget(enzymeCombo_, 1, 1);
    digestGrid->addWidget(massLabel, 2, 0);
    digestGrid->addWidget(massRangeEdit_, 2, 1);
    digestGrid->addWidget(sitesLabel, 3, 0);
    digestGrid->addWidget(cleavageSitesEdit_, 3, 1);
    digestGrid->addWidget(lengthLabel, 4, 0);
    digestGrid->addWidget(lengthRangeEdit_, 4, 1);
    AddControl(kEnzymeLabelId, enzymeLabel);
    AddControl(kEnzymeListId, enzymeCombo_);
    AddControl(kMassRangeLabelId, massLabel);
    AddControl(kMassRangeId, massRangeEdit_);
    AddControl(kCleavageSitesLabelId, sitesLabel);
    AddControl(kCleavageSitesId, cleavageSitesEdit_);
    AddControl(kLengthLabelId, lengthLabel);
    AddControl(kLengthRangeId, lengthRangeEdit_);
    enzymeControls_ = {enzymeLabel,    enzymeCombo_, massLabel,
                       massRangeEdit_, sitesLabel,   cleavageSitesEdit_};
    lengthControls_ = {lengthLabel, lengthRangeEdit_};
    left->addWidget(digest);
    left->addStretch();
    columns->addLayout(left);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Differential Modifications:"), this));
    right->addWidget(diffGrid_);
    right->addWidget(new QLabel(QStringLiteral("Static Modifications:"), this));
    right->addWidget(staticGrid_, 1);
    columns->addLayout(right, 1);
    AddControl(kDiffGridId, diffGrid_);
    AddControl(kStaticGridId, staticGrid_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    // What the builder is doing while it runs.
    statusLabel_->setObjectName(QStringLiteral("BuilderStatus"));
    layout->addWidget(statusLabel_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* build = buttons->addButton(QStringLiteral("&Build"), QDialogButtonBox::AcceptRole);
    buildButton_ = build;
    QPushButton* defaults =
        buttons->addButton(QStringLiteral("Defau&lts"), QDialogButtonBox::ResetRole);
    QPushButton* close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    layout->addWidget(buttons);
    AddControl(1, build);
    AddControl(2, close);
    AddControl(kDefaultsId, defaults);
    AddControl(9, help);
    build->setDefault(true);

    massRangeEdit_->Initialize(settings_.lowMass, settings_.highMass, 0.0, kMassLimit);
    lengthRangeEdit_->Initialize(minLength_, maxLength_, 1.0, kLongestSequence, 0);
    cleavageSitesEdit_->Initialize(settings_.maxCleavageSites, 0, kMaxCleavageSites);

    connect(build, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, &CFastaDbIndexerDlg::OnDefaults);
    connect(help, &QPushButton::clicked, this, [this] { ShowContextHelp(this, kTemplateId); });
    connect(databaseTypes_, &QButtonGroup::idClicked, this, [this] { OnDatabaseType(); });
    connect(digestModes_, &QButtonGroup::idClicked, this, [this] { OnDigestMode(); });
    messages_.on(WM_CONTEXTMENU, [this](const Message& m) {
        const auto packed = static_cast<quint32>(m.lParam);
        const QPoint pos(static_cast<qint16>(packed & 0xFFFF), static_cast<qint16>(packed >> 16));
        OnContextMenu(reinterpret_cast<CGXGridWnd*>(m.wParam), pos);
        return 0;
    });

    ReadParamFile();
}

CFastaDbIndexerDlg::~CFastaDbIndexerDlg() {
    StopBuilder();
}

void CFastaDbIndexerDlg::SetEnzymeList(const EnzymeRecord* records) {
    enzymeRecords_ = records;
    FillEnzymeList();
}

void CFastaDbIndexerDlg::FillEnzymeList() {
    enzymeCombo_->clear();
    if (!enzymeRecords_) return;
    for (int i = 1; i < BuildixSettings::kEnzymeSlots; ++i)
        if (!enzymeRecords_[i].name.isEmpty()) enzymeCombo_->addItem(enzymeRecords_[i].name, i);
    // The item of the record; a number without one leaves no selection.
    enzymeCombo_->setCurrentIndex(enzymeCombo_->findData(settings_.enzymeNumber));
}

int CFastaDbIndexerDlg::SelectedEnzymeRecord() const {
    const int index = enzymeCombo_->currentIndex();
    return index < 0 ? 0 : enzymeCombo_->itemData(index).toInt();
}

QString CFastaDbIndexerDlg::InDatabaseFolder(const QString& name) const {
    if (name.isEmpty() || !QFileInfo(name).isRelative()) return name;
    return JoinPath(databaseDirectory_, name);
}

void CFastaDbIndexerDlg::ReadParamFile() {
    if (!paramFile_.Open(paramPath_)) {
        paramFile_.LoadDefaults(ParamFileType::Buildix);
        return;
    }
    BuildixSettings read = settings_;
    const BuildixReadResult result = ReadBuildixSettings(paramFile_, read);
    if (!result.hasDatabaseName) {
        if (RestoreDefaultParamFile()) TakeParamFileValues();
        return;
    }
    TakeParamFileValues();
    if (result.diffOutOfRange || result.staticOutOfRange) {
        ZarMessageBox(BuildixOutOfRangeMessage(result), MB_OK);
        // The grids show what the restore put in place of the rejected file.
        if (RestoreDefaultParamFile()) TakeParamFileValues();
    }
}

void CFastaDbIndexerDlg::TakeParamFileValues() {
    BuildixSettings read;
    ReadBuildixSettings(paramFile_, read);
    fastaName_ = read.databaseName;
    tempDirectory_ = read.sortDirectory.isEmpty() ? kDefaultTempDirectory : read.sortDirectory;
    sortProgram_ = JoinPath(programDirectory_, read.sortProgram.isEmpty()
                                                   ? QString::fromLatin1(kSortProgramName)
                                                   : FileNameOf(read.sortProgram));
    // A differential mass out of range is not taken, as a static one is not.
    for (DifferentialModification& d : read.diffMods)
        if (!ModificationTables::IsMassInRange(d.mass)) d = {};
    settings_.diffMods = read.diffMods;
    settings_.staticMods = read.staticMods;
}

bool CFastaDbIndexerDlg::RestoreDefaultParamFile() {
    if (!prompt_) return false;
    const RestoreResult restored =
        RestoreParamFile(paramFile_, ParamFileType::Buildix, programDirectory_, *prompt_);
    return restored == RestoreResult::CopiedDefault || restored == RestoreResult::DefaultsLoaded;
}

void CFastaDbIndexerDlg::LoadControls() {
    BuildixSettings read = settings_;
    ReadBuildixSettings(paramFile_, read);
    fastaName_ = FileNameOf(read.databaseName);
    indexedName_ =
        fastaName_.isEmpty() ? QString() : fastaName_ + QLatin1String(kIndexedDatabaseExtension);
    settings_.enzymeNumber = read.enzymeNumber;
    settings_.databaseType = read.databaseType == 1 ? 1 : 0;
    settings_.readingFrames = settings_.databaseType == 1 ? BuildixSettings::kAllReadingFrames : 0;
    settings_.massType = read.massType == 1 ? 1 : 0;
    settings_.lowMass = read.lowMass;
    settings_.highMass = read.highMass;
    settings_.maxCleavageSites = read.maxCleavageSites;
    settings_.maxDifferentialPerMod = read.maxDifferentialPerMod;
    // A file written without an enzyme opens in that mode.
    useEnzyme_ = settings_.enzymeNumber > 0 ? 1 : 0;
    FillEnzymeList();
    FillGrids();
}

bool CFastaDbIndexerDlg::OnInitDialog() {
    SetupModificationGrid(*diffGrid_, kDiffRows);
    FitHeightToRows(*diffGrid_);
    diffGrid_->SetToolTip(
        0, 1,
        QStringLiteral("Enter an amino acid (%1)").arg(QString::fromLatin1(kResidueAlphabet)));
    diffGrid_->SetToolTip(0, 2, QStringLiteral("Enter the modification value (-57.0 to 1500.0)"));
    staticRows_.clear();
    for (int i = 0; i < ModificationTables::kStaticCount; ++i)
        if (!settings_.staticMods[static_cast<std::size_t>(i)].name.isEmpty())
            staticRows_.push_back(i);
    SetupModificationGrid(*staticGrid_, static_cast<int>(staticRows_.size()));
    staticGrid_->SetToolTip(0, 2, QStringLiteral("Enter the modification value (-57.0 to 1500.0)"));
    staticGrid_->SetStyleRange(CGXRange::cols(1, 1), CGXStyle().setReadOnly(true));
    LoadControls();
    const bool loaded = CDialogBase::OnInitDialog();
    ShowDigestControls();
    resize(900, 640);
    return loaded;
}

void CFastaDbIndexerDlg::FillGrids() {
    diffGrid_->LockUpdate(true);
    for (int r = 1; r <= kDiffRows; ++r) {
        const DifferentialModification& d = settings_.diffMods[static_cast<std::size_t>(r - 1)];
        diffGrid_->SetValueRange(r, 1, d.residues);
        diffGrid_->SetValueRange(r, 2,
                                 d.residues.isEmpty() && d.mass == 0.0
                                     ? QString()
                                     : ModificationTables::FormatMass(d.mass));
    }
    diffGrid_->LockUpdate(false);
    staticGrid_->LockUpdate(true);
    for (std::size_t r = 0; r < staticRows_.size(); ++r) {
        const StaticModification& m =
            settings_.staticMods[static_cast<std::size_t>(staticRows_[r])];
        staticGrid_->SetValueRange(static_cast<int>(r) + 1, 1,
                                   ModificationTables::DisplayName(m.name));
        staticGrid_->SetValueRange(static_cast<int>(r) + 1, 2,
                                   ModificationTables::FormatMass(m.mass));
    }
    staticGrid_->LockUpdate(false);
    diffGrid_->Redraw();
    staticGrid_->Redraw();
}

void CFastaDbIndexerDlg::ReadGrids() {
    for (int r = 1; r <= kDiffRows; ++r)
        settings_.diffMods[static_cast<std::size_t>(r - 1)] = {
            diffGrid_->GetValueRowCol(r, 1).trimmed(), CellMass(*diffGrid_, r)};
    for (std::size_t r = 0; r < staticRows_.size(); ++r)
        settings_.staticMods[static_cast<std::size_t>(staticRows_[r])].mass =
            CellMass(*staticGrid_, static_cast<int>(r) + 1);
}

void CFastaDbIndexerDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Radio(dx, massTypes_, settings_.massType);
    DDX_Radio(dx, databaseTypes_, settings_.databaseType);
    DDX_Radio(dx, digestModes_, useEnzyme_);
    DDX_Check(dx, duplicatesCheck_, includeDuplicates_);
    DDX_Text(dx, fastaNameEdit_, fastaName_);
    DDX_Text(dx, indexedNameEdit_, indexedName_);
    DDX_Text(dx, tempDirEdit_, tempDirectory_);
    DDX_Int(dx, cleavageSitesEdit_, settings_.maxCleavageSites);
    if (dx.Failed()) return;
    if (!dx.IsSaving()) {
        massRangeEdit_->SetRange(settings_.lowMass, settings_.highMass);
        lengthRangeEdit_->SetRange(minLength_, maxLength_);
        enzymeCombo_->setCurrentIndex(enzymeCombo_->findData(settings_.enzymeNumber));
        return;
    }
    double low = 0.0;
    double high = 0.0;
    if (!massRangeEdit_->GetRange(low, high)) {
        dx.Fail(massRangeEdit_, RangeMessage(0.0, kMassLimit));
        return;
    }
    settings_.lowMass = low;
    settings_.highMass = high;
    if (!lengthRangeEdit_->GetRange(low, high) || low != std::floor(low) ||
        high != std::floor(high)) {
        dx.Fail(lengthRangeEdit_, RangeMessage(1.0, kLongestSequence));
        return;
    }
    minLength_ = static_cast<int>(low);
    maxLength_ = static_cast<int>(high);
    settings_.readingFrames = settings_.databaseType == 1 ? BuildixSettings::kAllReadingFrames : 0;
}

void CFastaDbIndexerDlg::ShowDigestControls() {
    const bool enzyme = digestModes_->checkedId() != 0;
    for (QWidget* w : enzymeControls_) w->setVisible(enzyme);
    for (QWidget* w : lengthControls_) w->setVisible(!enzyme);
}

void CFastaDbIndexerDlg::OnDigestMode() {
    useEnzyme_ = digestModes_->checkedId();
    ShowDigestControls();
}

void CFastaDbIndexerDlg::OnDatabaseType() {
    settings_.databaseType = databaseTypes_->checkedId();
    settings_.readingFrames = settings_.databaseType == 1 ? BuildixSettings::kAllReadingFrames : 0;
}

void CFastaDbIndexerDlg::SetFastaPath(const QString& path) {
    if (path.size() > 1) fastaName_ = path;
    fastaNameEdit_->setText(fastaName_);
    indexedName_ = path.size() < 2 ? QString() : path + QLatin1String(kIndexedDatabaseExtension);
    indexedNameEdit_->setText(indexedName_);
}

void CFastaDbIndexerDlg::OnBrowseFasta() {
    const QString path = QFileDialog::getOpenFileName(this, QString(), databaseDirectory_,
                                                      QStringLiteral("Database Files (*.fasta)"),
                                                      nullptr, QFileDialog::ReadOnly);
    if (!path.isEmpty()) SetFastaPath(path);
}

void CFastaDbIndexerDlg::OnBrowseIndexed() {
    // The indexed database need not exist yet: Build asks before it replaces one.
    const QString path = QFileDialog::getSaveFileName(
        this, QString(), InDatabaseFolder(indexedNameEdit_->text()),
        QStringLiteral("Database Files (*.fasta.hdr)"), nullptr, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return;
    indexedName_ = path;
    indexedNameEdit_->setText(path);
}

void CFastaDbIndexerDlg::OnBrowseTempDir() {
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Temp Directory"),
                                                             PortablePath(tempDirEdit_->text()));
    if (folder.isEmpty()) return;
    tempDirectory_ = folder;
    tempDirEdit_->setText(folder);
}

void CFastaDbIndexerDlg::OnDefaults() {
    settings_.lowMass = BuildixSettings::kDefaultLowMass;
    settings_.highMass = BuildixSettings::kDefaultHighMass;
    settings_.maxCleavageSites = BuildixSettings::kDefaultCleavageSites;
    settings_.massType = 0;
    settings_.databaseType = 0;
    settings_.readingFrames = 0;
    useEnzyme_ = 1;
    settings_.enzymeNumber = enzymeCombo_->count() > 0 ? enzymeCombo_->itemData(0).toInt() : 1;
    settings_.staticMods = BuildixSettings::BuildixStaticModifications();
    settings_.diffMods = {};
    tempDirectory_ = kDefaultTempDirectory;
    // The length range keeps what it holds.
    double low = 0.0;
    double high = 0.0;
    if (lengthRangeEdit_->GetRange(low, high)) {
        minLength_ = static_cast<int>(low);
        maxLength_ = static_cast<int>(high);
    }
    fastaName_ = fastaNameEdit_->text();
    indexedName_ = indexedNameEdit_->text();
    FillGrids();
    UpdateData(false);
    ShowDigestControls();
}

bool CFastaDbIndexerDlg::ApplyPreset(CGXGridWnd* grid, int row, ModificationPreset preset) {
    const bool isStatic = grid == staticGrid_;
    if (!grid || (isStatic && row <= 2) || row < 1 || row > grid->GetRowCount()) return false;
    const int massType = massTypes_->checkedId() == 1 ? 1 : 0;
    grid->SetValueRange(
        row, 2, ModificationTables::FormatMass(ModificationTables::PresetMass(preset, massType)));
    return true;
}

void CFastaDbIndexerDlg::ResetAll(CGXGridWnd* grid) {
    ReadGrids();
    if (grid == staticGrid_) {
        for (StaticModification& m : settings_.staticMods) m.mass = 0.0;
    } else if (grid == diffGrid_) {
        settings_.diffMods = {};
    }
    FillGrids();
}

QMenu* CFastaDbIndexerDlg::MakeContextMenu(CGXGridWnd* grid) {
    auto* menu = new QMenu(this);
    int row = 0;
    int col = 0;
    const bool hasRow = grid && grid->GetCurrentCell(row, col);
    for (const PresetItem& item : kPresets) {
        QAction* a = menu->addAction(QString::fromLatin1(item.text));
        a->setEnabled(hasRow && (grid != staticGrid_ || row > 2));
        const ModificationPreset preset = item.preset;
        connect(a, &QAction::triggered, this,
                [this, grid, row, preset] { ApplyPreset(grid, row, preset); });
    }
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Reset All")), &QAction::triggered, this,
            [this, grid] { ResetAll(grid); });
    return menu;
}

void CFastaDbIndexerDlg::OnContextMenu(CGXGridWnd* grid, const QPoint& globalPos) {
    if (grid != diffGrid_ && grid != staticGrid_) return;
    contextGrid_ = grid;
    int row = 0;
    int col = 0;
    // The row under the pointer becomes the current one, as the presets act on it.
    if (grid->HitTest(grid->viewport()->mapFromGlobal(globalPos), row, col) && row >= 1)
        grid->SetCurrentCell(row, 2);
    QMenu* menu = MakeContextMenu(grid);
    menu->exec(globalPos);
    menu->deleteLater();
    contextGrid_ = nullptr;
}

qint64 CFastaDbIndexerDlg::FreeDiskSpace(const QString& folder) const {
    const QStorageInfo volume(folder);
    if (!volume.isValid() || !volume.isReady()) return -1;
    const qint64 free = volume.bytesAvailable();
    return free < 0 ? -1 : free;
}

bool CFastaDbIndexerDlg::StartBuilder(const QString& program, const QStringList& arguments,
                                      const QString& workingFolder, QString& error) {
    if (!QFileInfo(FolderOf(program)).isDir()) {
        error = QStringLiteral("bad path");
        return false;
    }
    if (!QFileInfo(program).isFile()) {
        error = QStringLiteral("program or batch file not found");
        return false;
    }
    if (!QFileInfo(workingFolder).isDir()) {
        error = QStringLiteral("bad starting directory");
        return false;
    }
    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setWorkingDirectory(workingFolder);
    connect(process.get(), &QProcess::readyReadStandardOutput, this,
            &CFastaDbIndexerDlg::OnBuilderOutput);
    connect(process.get(), &QProcess::readyReadStandardError, this,
            &CFastaDbIndexerDlg::OnBuilderOutput);
    connect(process.get(), &QProcess::finished, this,
            [this](int exitCode, QProcess::ExitStatus status) {
                OnBuilderFinished(exitCode, status == QProcess::CrashExit);
            });
    process->start();
    if (!process->waitForStarted()) {
        error = QStringLiteral("CreateProcess error %1").arg(static_cast<int>(process->error()));
        return false;
    }
    builderOutput_.clear();
    builderErrors_.clear();
    builder_ = std::move(process);
    return true;
}

bool CFastaDbIndexerDlg::IsBuilding() const {
    return builder_ != nullptr;
}

void CFastaDbIndexerDlg::OnBuilderOutput() {
    if (!builder_) return;
    builderOutput_ += QString::fromLocal8Bit(builder_->readAllStandardOutput());
    builderErrors_ += QString::fromLocal8Bit(builder_->readAllStandardError());
    const QStringList lines = builderOutput_.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!lines.isEmpty()) statusLabel_->setText(lines.last().trimmed());
}

QString CFastaDbIndexerDlg::BuilderOutcomeMessage(const QString& indexedPath, int exitCode,
                                                  bool crashed, const QString& output,
                                                  const QString& errors) {
    if (!crashed && exitCode == 0) {
        static const QRegularExpression summary(
            QStringLiteral("Processed (\\d+) proteins; (\\d+) peptides written to "));
        QRegularExpressionMatch m;
        for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (const QRegularExpressionMatch found = summary.match(line.trimmed());
                found.hasMatch())
                m = found;
        const QString built = QStringLiteral("The indexed database is built:\n\n") + indexedPath;
        if (!m.hasMatch()) return built;
        return built +
               QStringLiteral("\n\n%1 proteins, %2 peptides.").arg(m.captured(1), m.captured(2));
    }
    QStringList reasons;
    for (QString line : errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        line = line.trimmed();
        if (line.startsWith(QLatin1String(kBuilderName) + QLatin1String(": ")))
            line = line.mid(static_cast<qsizetype>(qstrlen(kBuilderName)) + 2);
        if (!line.isEmpty()) reasons << line;
    }
    if (reasons.isEmpty())
        reasons << (crashed
                        ? QStringLiteral("The database builder stopped before it finished.")
                        : QStringLiteral("The database builder ended with code %1.").arg(exitCode));
    return QStringLiteral("The indexed database was not built:\n\n") +
           reasons.join(QLatin1Char('\n'));
}

void CFastaDbIndexerDlg::OnBuilderFinished(int exitCode, bool crashed) {
    if (!builder_) return;
    OnBuilderOutput();
    // The process object is in its own signal: it goes once the signal is done.
    builder_.release()->deleteLater();
    buildButton_->setEnabled(true);
    statusLabel_->clear();
    const bool built = !crashed && exitCode == 0;
    ZarMessageBox(
        BuilderOutcomeMessage(builtPath_, exitCode, crashed, builderOutput_, builderErrors_),
        MB_OK | (built ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

void CFastaDbIndexerDlg::StopBuilder() {
    if (!builder_) return;
    std::unique_ptr<QProcess> process = std::move(builder_);
    process->disconnect(this);
    // Asked to stop, the builder takes away the files it has made; only one that does not
    // answer is killed.
    process->terminate();
    if (!process->waitForFinished(kBuilderStopWaitMs)) {
        process->kill();
        process->waitForFinished();
    }
    buildButton_->setEnabled(true);
    statusLabel_->clear();
}

void CFastaDbIndexerDlg::reject() {
    if (IsBuilding()) {
        if (ZarMessageBox(QStringLiteral("The indexed database is still being built.\n"
                                         "Stop the build?"),
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        StopBuilder();
    }
    CDialogBase::reject();
}

bool CFastaDbIndexerDlg::SaveParamFile() {
    settings_.enzymeNumber = useEnzyme_ ? SelectedEnzymeRecord() : 0;
    settings_.databaseName = fastaName_;
    settings_.sortDirectory = tempDirectory_;
    settings_.sortProgram = sortProgram_;
    if (!WriteBuildixSettings(paramFile_, settings_, enzymeRecords_)) {
        RestoreDefaultParamFile();
        return false;
    }
    return paramFile_.SaveAs(paramPath_);
}

void CFastaDbIndexerDlg::OnOK() {
    // One build at a time.
    if (IsBuilding() || !UpdateData(true)) return;
    ReadGrids();
    if (indexedName_.trimmed().isEmpty() && !fastaName_.isEmpty())
        indexedName_ = fastaName_ + QLatin1String(kIndexedDatabaseExtension);
    const QString fastaPath = InDatabaseFolder(fastaName_);
    const QString indexedPath = InDatabaseFolder(indexedName_);
    const QFileInfo fasta(fastaPath);
    if (fastaName_.isEmpty() || !fasta.isFile()) {
        ZarMessageBox(QStringLiteral("Unable to open the fasta database"), MB_OK);
        return;
    }
    if (!HasFastaEntries(fastaPath)) {
        ZarMessageBox(QStringLiteral("The fasta database holds no entries:\n\n%1").arg(fastaName_),
                      MB_OK);
        return;
    }
    if (NamesHoldBlanks(fastaPath, indexedPath)) {
        ZarMessageBox(QStringLiteral("The indexed database cannot record a name that contains "
                                     "a blank:\n\n%1")
                          .arg(fastaName_),
                      MB_OK);
        return;
    }
    if (QFileInfo::exists(indexedPath) &&
        ZarMessageBox(QStringLiteral("An indexed database already exists for \n\n") + fastaName_ +
                          QStringLiteral("\n\nDo you want to replace it?"),
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // A volume that does not tell its free space does not stop the build.
    const qint64 free = FreeDiskSpace(databaseDirectory_);
    if (free >= 0 && free <= kSpaceFactor * fasta.size()) {
        ZarMessageBox(QStringLiteral("Not enough disk space to build the database.  Please "
                                     "either\nchoose another location for the new database or "
                                     "free up\nsome disk space."),
                      MB_OK);
        return;
    }
    if (useEnzyme_ && enzymeCombo_->currentIndex() < 0) {
        ZarMessageBox(
            QStringLiteral("Please select an enzyme to use when building the indexed database."),
            MB_OK);
        return;
    }
    if (!SaveParamFile()) return;

    const QStringList arguments = BuildixArguments(
        includeDuplicates_ != 0, fastaName_, indexedName_, useEnzyme_ != 0, minLength_, maxLength_);
    QString error;
    if (!StartBuilder(JoinPath(programDirectory_, QString::fromLatin1(kBuilderName)), arguments,
                      databaseDirectory_, error)) {
        ZarMessageBox(error, MB_OK);
        return;
    }
    if (IsBuilding()) {
        builtPath_ = QFileInfo(indexedPath).absoluteFilePath();
        buildButton_->setEnabled(false);
        statusLabel_->setText(QStringLiteral("Building %1 ...").arg(indexedName_));
    }
}

bool CFastaDbIndexerDlg::event(QEvent* e) {
    if (messages_.handleEvent(e)) return true;
    return CDialogBase::event(e);
}

}  // namespace zar
