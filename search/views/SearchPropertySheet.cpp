#include "SearchPropertySheet.h"

#include "InvalidParamsDlg.h"
#include "ModificationGrids.h"
#include "SearchBasicPage.h"
#include "SearchLauncher.h"

#include "app/ZarApp.h"
#include "core/MessageBox.h"
#include "document/ZarMessages.h"
#include "messages/Messages.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zar {

CSearchPropertySheet::CSearchPropertySheet(SearchKind kind, const QString& caption, QWidget* owner,
                                           CSearchLauncher* launcher, InvalidParamsPrompt* prompt)
    : QDialog(owner),
      model_(kind, SearchSettings::FromStore(kind)),
      owner_(owner),
      launcher_(launcher),
      prompt_(prompt),
      tabs_(new QTabWidget(this)) {
    setWindowTitle(caption);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    MakeButton(kSaveId, QStringLiteral("Sav&e"));
    MakeButton(kStartId, QStringLiteral("&Start Search"));
    MakeButton(kDefaultsId, QStringLiteral("Defau&lts"));
    MakeButton(kCloseId, QStringLiteral("&Close"));
    MakeButton(kHelpId, QStringLiteral("&Help"));
    for (int id : {kSaveId, kStartId, kDefaultsId, kCloseId, kHelpId}) row->addWidget(Button(id));
    layout->addLayout(row);
    connect(Button(kSaveId), &QPushButton::clicked, this, [this] { OnSave(); });
    connect(Button(kStartId), &QPushButton::clicked, this, [this] { OnStartSearch(); });
    connect(Button(kDefaultsId), &QPushButton::clicked, this, [this] { OnDefaults(); });
    connect(Button(kCloseId), &QPushButton::clicked, this, [this] { OnClose(); });
    connect(Button(kHelpId), &QPushButton::clicked, this, [this] { OnHelp(); });
}

CSearchPropertySheet::~CSearchPropertySheet() = default;

QPushButton* CSearchPropertySheet::MakeButton(int id, const QString& text) {
    auto* button = new QPushButton(text, this);
    buttons_.insert(id, button);
    return button;
}

InvalidParamsPrompt& CSearchPropertySheet::Prompt() {
    if (prompt_) return *prompt_;
    if (!ownPrompt_) ownPrompt_ = std::make_unique<CInvalidParamsDlgPrompt>(this);
    return *ownPrompt_;
}

void CSearchPropertySheet::AddPage(CSearchPageBase* page) {
    tabs_->addTab(page, page->windowTitle());
}

void CSearchPropertySheet::SetParts(CSearchBasicPage* basic, CModificationGrids* grids) {
    basic_ = basic;
    grids_ = grids;
    connect(grids_, &CModificationGrids::Changed, this, [this] { SetModified(true); });
}

void CSearchPropertySheet::Initialize() {
    readResult_ = model_.ReadParamFile(Prompt(), DefaultParamFileFolder());
    if (readResult_.restore == RestoreResult::EndStep) {
        // The launcher ends the step once the sheet is made and handed to it.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (launcher_) launcher_->EndStep(true);
            },
            Qt::QueuedConnection);
    }
}

int CSearchPropertySheet::GetPageCount() const {
    return tabs_->count();
}

CSearchPageBase* CSearchPropertySheet::GetPage(int index) const {
    return static_cast<CSearchPageBase*>(tabs_->widget(index));
}

int CSearchPropertySheet::GetActiveIndex() const {
    return tabs_->currentIndex();
}

void CSearchPropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= tabs_->count()) return;
    tabs_->setCurrentIndex(index);
    GetPage(index)->EnsureInitialized();
}

void CSearchPropertySheet::Create() {
    EnsureSetUp();
    SetActivePage(0);
    show();
}

void CSearchPropertySheet::EnsureSetUp() {
    if (setUp_) return;
    setUp_ = true;
    // Return in a field must neither start a search nor press a page's browse button.
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
    model_.LoadPages();
    basic_->EnsureInitialized();
    SetModified(!model_.IsAtDefaults());
    basic_->ReadIndexedDatabaseHeader();
    ApplyEnableFlags();
    adjustSize();
    PlaceBesideOwner();
}

void CSearchPropertySheet::showEvent(QShowEvent* event) {
    EnsureSetUp();
    QDialog::showEvent(event);
    if (!shownOnce_) {
        // The window's frame is known once it is shown.
        shownOnce_ = true;
        PlaceBesideOwner();
    }
}

void CSearchPropertySheet::PlaceBesideOwner() {
    if (!owner_) return;
    const QRect ownerFrame = owner_->frameGeometry();
    QScreen* screen = owner_->screen() ? owner_->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect desktop = screen->availableGeometry();
    const QSize size = isVisible() ? frameGeometry().size() : this->size();
    int x = ownerFrame.right() + 1;
    int y = ownerFrame.top();
    if (x + size.width() > desktop.right() + 1) x = desktop.right() + 1 - size.width();
    if (y + size.height() > desktop.bottom() + 1) y = desktop.bottom() + 1 - size.height();
    move(std::max(x, desktop.left()), std::max(y, desktop.top()));
}

void CSearchPropertySheet::SetEnzymeTable(const CEnzymeTable::Records& records) {
    model_.SetEnzymeTable(&records);
    basic_->FillEnzymeList();
}

bool CSearchPropertySheet::CommitAll(bool quiet) {
    for (int i = 0; i < GetPageCount(); ++i) {
        if (!GetPage(i)->Commit(quiet)) {
            tabs_->setCurrentIndex(i);
            return false;
        }
    }
    grids_->ReadGrids();
    return true;
}

void CSearchPropertySheet::RefreshAll() {
    for (int i = 0; i < GetPageCount(); ++i) GetPage(i)->Refresh();
    grids_->RefreshGrids();
    basic_->ShowIndexedMassRange(model_.basic.IsIndexed());
    ApplyEnableFlags();
}

SearchEnableFlags CSearchPropertySheet::EnableFlags() const {
    SearchEnableFlags flags;
    flags.generation = model_.basic.performGeneration;
    flags.search = model_.basic.performSearch;
    flags.databaseDependent = model_.basic.performSearch && !model_.basic.IsIndexed();
    return flags;
}

void CSearchPropertySheet::ApplyEnableFlags() {
    const SearchEnableFlags flags = EnableFlags();
    for (int i = 0; i < GetPageCount(); ++i) GetPage(i)->ApplyEnableFlags(flags);
    grids_->EnableGrids(flags.databaseDependent);
}

void CSearchPropertySheet::SetModified(bool changed) {
    Button(kDefaultsId)->setEnabled(changed);
}

bool CSearchPropertySheet::IsAtDefaults() {
    CommitAll(true);
    return model_.IsAtDefaults();
}

QString CSearchPropertySheet::BuildExtractionOptions() {
    CommitAll(true);
    options_ = model_.BuildExtractionOptions();
    WriteOptionSummary();
    return options_;
}

bool CSearchPropertySheet::SaveParamFile(bool starting) {
    if (!CommitAll(false)) return false;
    if (starting) SetSearchRunning(true);
    return model_.SaveParamFile(Prompt(), DefaultParamFileFolder(), &lastSaveFailure_);
}

void CSearchPropertySheet::SetSearchRunning(bool running) {
    running_ = running;
    Button(kStartId)->setText(running ? QStringLiteral("&Stop Search")
                                      : QStringLiteral("&Start search"));
    Button(kCloseId)->setEnabled(!running);
}

void CSearchPropertySheet::SetScanLimits(int first, int last, int low, int high) {
    basic_->Commit(true);
    model_.SetScanLimits(first, last, low, high);
    basic_->Refresh();
}

void CSearchPropertySheet::SetScanRange(int first, int last) {
    basic_->Commit(true);
    model_.basic.scanRange = {first, last};
    basic_->Refresh();
}

void CSearchPropertySheet::EnableScanLimits(bool enable) {
    basic_->EnableScanLimits(enable);
}

void CSearchPropertySheet::TrackScanRange(int first, int last) {
    basic_->Commit(true);
    model_.TrackScanRange(first, last);
    basic_->Refresh();
    Button(kStartId)->setEnabled(!launcher_ ||
                                 !launcher_->RawFilePath().contains(QLatin1Char(' ')));
}

void CSearchPropertySheet::SetIndexedMassRange(double low, double high, double boundLow,
                                               double boundHigh) {
    basic_->Commit(true);
    model_.SetIndexedMassRange(low, high, boundLow, boundHigh);
    basic_->Refresh();
}

void CSearchPropertySheet::SetFastaMassRange(double low, double high, double boundLow,
                                             double boundHigh) {
    basic_->Commit(true);
    model_.SetFastaMassRange(low, high, boundLow, boundHigh);
    basic_->Refresh();
}

void CSearchPropertySheet::SetFastaMassRangeAndRefresh(double low, double lowBound, double high,
                                                       double highBound) {
    basic_->Commit(true);
    model_.SetFastaMassRangeAndRefresh(low, lowBound, high, highBound);
    basic_->Refresh();
}

void CSearchPropertySheet::SetDatabaseSize(int count) {
    model_.SetDatabaseSize(count);
}

void CSearchPropertySheet::SetDifferentialModification(int index, const QString& residues,
                                                       double mass) {
    grids_->SetDifferentialModification(index, residues, mass);
}

void CSearchPropertySheet::SetStaticModification(int index, double mass) {
    grids_->SetStaticModification(index, mass);
}

void CSearchPropertySheet::OnSave() {
    if (!CheckBeforeSave()) return;
    SaveParamFile(false);
}

void CSearchPropertySheet::OnStartSearch() {
    // While a search runs the button stops it, whatever the pages hold.
    if (running_) {
        OnStopSearch();
        return;
    }
    if (!CheckBeforeSave() || !CommitAll(false)) return;
    const BasicPageValues& b = model_.basic;
    if (!b.performGeneration && !b.performSearch) {
        ZarMessageBox(NeitherMessage(), MB_OK);
        return;
    }
    startedResults_ = b.resultsDirectory;
    if (b.databaseName.isEmpty()) {
        ZarMessageBox(QString::fromLatin1(kInvalidDatabaseMessage), MB_OK);
        return;
    }
    if (!model_.HasValidDatabase()) {
        OnInvalidDatabase();
        return;
    }
    if (owner_) PostMessage(owner_, kMsgSheetIgnored, 1, 0);
    StartQueueProgram();
    if (!SaveParamFile(true)) {
        SetSearchRunning(false);
        // A file restored behind the pages' back leaves nothing to start; a write that failed
        // leaves the sheet as it was, to try again.
        if (lastSaveFailure_ == SearchParamsModel::SaveFailure::MissingEntry && launcher_) {
            launcher_->EndStep(false);
        }
        return;
    }
    if (basic_->PrepareSearchDatabase() && launcher_) launcher_->ClearDatabaseTallyDone();
    if (!launcher_) return;
    launcher_->DeleteOldResultFiles();
    if (model_.basic.performGeneration) {
        launcher_->StartDtaGeneration();
        return;
    }
    const QString listPath = launcher_->ListExistingDtaFiles();
    if (listPath.size() > 1) launcher_->RunSearch(listPath);
}

void CSearchPropertySheet::OnStopSearch() {
    SetSearchRunning(false);
    if (owner_) PostMessage(owner_, StopMessage(), 0, 0);
}

void CSearchPropertySheet::OnDefaults() {
    model_.ApplyDefaults();
    RefreshAll();
    SetModified(false);
}

void CSearchPropertySheet::OnClose() {
    if (running_) return;
    hide();
    if (launcher_) launcher_->EndStep(false);
}

void CSearchPropertySheet::OnHelp() {
    ShowContextHelp(this, HelpContext());
}

void CSearchPropertySheet::closeEvent(QCloseEvent* event) {
    // The launcher owns the sheet: closing the window ends the launcher's step.
    event->ignore();
    OnClose();
}

void CSearchPropertySheet::reject() {
    OnClose();
}

}  // namespace zar
