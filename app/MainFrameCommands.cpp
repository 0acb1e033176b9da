// The main window's menus, tool bar and commands with their enabling rules.

#include "MainFrame.h"

#include "SplitterViews.h"
#include "ZarApp.h"
#include "ZarDoc.h"
#include "core/MessageBox.h"
#include "core/Paths.h"
#include "document/MassmapResults.h"
#include "document/MultiConsensusResults.h"
#include "document/Settings.h"
#include "document/SorvexResults.h"
#include "gui/Shell.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QStatusBar>
#include <QPainter>
#include <QStyle>
#include <QToolBar>

#include <algorithm>
#include <iterator>

namespace zar {
namespace {

struct CommandSpec {
    int id;
    const char* text;
    const char* shortcut;
};

// Menu texts of the commands, as the menus show them.
const CommandSpec kCommands[] = {
    {ID_FILE_NEW, "&New", "Ctrl+N"},
    {ID_FILE_OPEN, "&Open...", "Ctrl+O"},
    {ID_OPEN_SORVEX_RESULTS, "Open TurboSORVEX &Results...", nullptr},
    {ID_OPEN_MASSMAP_RESULTS, "Open Peptide &Mapping Results...", nullptr},
    {ID_OPEN_MULTIPLE_RESULTS, "Open M&ultiple Results...", nullptr},
    {ID_OPEN_SEQUENCE_FILE, "Open &Sequence File...", nullptr},
    {ID_SAVE_SEQUENCE_FILE, "Sa&ve Sequence File...", nullptr},
    {ID_FILE_PAGE_SETUP, "Pa&ge Setup...", nullptr},
    {ID_FILE_PAGE_HEADER_FOOTER, "Page &Header and Footer...", nullptr},
    {ID_FILE_PRINT, "&Print...", "Ctrl+P"},
    {ID_APP_EXIT, "E&xit", nullptr},
    {ID_VIEW_GENERAL_TRACE, "&General Trace Display", nullptr},
    {ID_VIEW_SORVEX_SUMMARY, "T&urboSorvex Summary", nullptr},
    {ID_VIEW_ZARMASS, "&ZARMASS Results", nullptr},
    {ID_VIEW_DENOVO, "&Denovo Sequencing", nullptr},
    {ID_VIEW_PEPMATCH, "&Pepmatch Results", nullptr},
    {ID_VIEW_PEPMAP, "P&epmap Results", nullptr},
    {ID_VIEW_MASSMAP, "Peptide &Mapping", nullptr},
    {ID_VIEW_MULTI_CONSENSUS, "Multiple &File Consensus", nullptr},
    {ID_VIEW_TOOLBAR, "&Toolbar", nullptr},
    {ID_VIEW_STATUS_BAR, "&Status Bar", nullptr},
    {ID_RESULTS_WINDOW, "Display TurboSORVEX Results Window", nullptr},
    {ID_ANNOTATE_ADD_TEXT, "Add &Text...", nullptr},
    {ID_ANNOTATE_CLEAR_ALL, "Clear &All", nullptr},
    {ID_DISPLAY_OPTIONS, "&Options...", nullptr},
    {ID_ZOOM_IN_Y, "&Zoom In Y", nullptr},
    {ID_ZOOM_OUT_Y, "Zoom &Out Y", nullptr},
    {ID_NORMALIZE, "&Normalize", nullptr},
    {ID_ZOOM_IN_X, "Zoom In &X", nullptr},
    {ID_ZOOM_OUT_X, "Zoo&m Out X", nullptr},
    {ID_DISPLAY_ALL, "&Display All", nullptr},
    {ID_RESET_SCALING, "Reset &Scaling", nullptr},
    {ID_OPTIONS_CONFIGURATION, "&Configuration...", nullptr},
    {ID_OPTIONS_DISPLAY, "&Display...", nullptr},
    {ID_ACTION_ZARMASS, "&ZARMASS Calculation and Deconvolution...", nullptr},
    {ID_ACTION_SORVEX_DTA, "TurboSORVEX &Dta...", nullptr},
    {ID_ACTION_SORVEX_SEARCH, "TurboSORVEX &Search...", nullptr},
    {ID_ACTION_DENOVO, "De&Novo...", nullptr},
    {ID_ACTION_PEPTIDE_MAPPING, "&Peptide Mapping...", nullptr},
    {ID_ACTION_XPRESS, "&XPRESS...", nullptr},
    {ID_TOOLS_DB_INDEXER, "Fasta &Database Indexer...", nullptr},
    {ID_TOOLS_DB_UTILITIES, "Fasta Database &Utilities...", nullptr},
    {ID_TOOLS_FASTA_INDEX, "Fasta &Index...", nullptr},
    {ID_TOOLS_ENZYME_EDITOR, "&Enzyme Editor...", nullptr},
    {ID_TOOLS_SEQUENCE_CALCULATOR, "Sequence &Calculator...", nullptr},
    {ID_TOOLS_SEQUENCE_EDITOR, "&Sequence Editor...", nullptr},
    {ID_TOOLS_DATABASE_MANAGER, "Database &Manager...", nullptr},
    {ID_TOOLS_SORVEX_QUEUE, "SORVEX &Queue...", nullptr},
    {ID_TOOLS_SORVEX_BROWSER, "SORVEX &Browser...", nullptr},
    {ID_HELP_PROGRAM, "Zarvik Browser &Help", "F1"},
    {ID_HELP_INDEX, "Zarvik Browser &Contents and Index", nullptr},
    {ID_HELP_DATA_SYSTEM, "Veltrix Contents and &Index", nullptr},
    {ID_HELP_HOW_TO_DATA_SYSTEM, "How to Use &Veltrix Help", nullptr},
    {ID_HELP_USING, "&How to Use Online Help", nullptr},
    {ID_APP_ABOUT, "&About Zarvik Browser...", nullptr},
    {ID_HELP_CONTENTS_TOOLBAR, "Help Contents", nullptr},
};

// Commands the active view answers.
constexpr int kViewAnsweredCommands[] = {ID_FILE_PRINT, ID_FILE_PAGE_HEADER_FOOTER, ID_ZOOM_IN_Y, ID_ZOOM_OUT_Y,
                                         ID_NORMALIZE,  ID_ZOOM_IN_X,               ID_ZOOM_OUT_X, ID_DISPLAY_ALL,
                                         ID_RESET_SCALING};

bool isViewAnswered(int id) {
    return std::find(std::begin(kViewAnsweredCommands), std::end(kViewAnsweredCommands), id) !=
           std::end(kViewAnsweredCommands);
}

// View commands and the view type each shows.
const std::pair<int, int> kViewCommands[] = {
    {ID_VIEW_GENERAL_TRACE, 1}, {ID_VIEW_SORVEX_SUMMARY, 5}, {ID_VIEW_ZARMASS, 6},  {ID_VIEW_DENOVO, 7},
    {ID_VIEW_PEPMATCH, 8},      {ID_VIEW_PEPMAP, 9},         {ID_VIEW_MASSMAP, 10}, {ID_VIEW_MULTI_CONSENSUS, 11},
};

int viewTypeOfCommand(int id) {
    for (const auto& [command, type] : kViewCommands)
        if (command == id) return type;
    return -1;
}

// A small tool-bar picture: a coloured tile with a short label.
QIcon tileIcon(const QString& label, const QColor& colour) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(colour.darker(140));
    p.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(label.size() > 1 ? 10 : 13);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, label);
    return QIcon(pixmap);
}

QString programFile(const char* name) { return JoinPath(PortablePath(GetProgramDirectory()), QString::fromLatin1(name)); }

}  // namespace

void CMainFrame::createActions() {
    for (const CommandSpec& c : kCommands) {
        auto* a = new QAction(QString::fromLatin1(c.text), this);
        if (c.shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(c.shortcut)));
        a->setData(c.id);
        const int id = c.id;
        connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
        actions_.insert(c.id, a);
    }
    for (const auto& [id, type] : kViewCommands) actions_[id]->setCheckable(true);
    QStyle* st = style();
    actions_[ID_FILE_NEW]->setIcon(st->standardIcon(QStyle::SP_FileIcon));
    actions_[ID_FILE_OPEN]->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
    actions_[ID_SAVE_SEQUENCE_FILE]->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
    actions_[ID_HELP_CONTENTS_TOOLBAR]->setIcon(st->standardIcon(QStyle::SP_DialogHelpButton));
    const struct {
        int id;
        const char* label;
        QColor colour;
    } tiles[] = {
        {ID_OPEN_SORVEX_RESULTS, "R", QColor(40, 110, 170)},   {ID_OPEN_MASSMAP_RESULTS, "M", QColor(40, 110, 170)},
        {ID_FILE_PRINT, "Pr", QColor(90, 90, 90)},            {ID_VIEW_GENERAL_TRACE, "T", QColor(200, 120, 30)},
        {ID_VIEW_SORVEX_SUMMARY, "S", QColor(30, 140, 90)},   {ID_VIEW_ZARMASS, "Z", QColor(150, 60, 150)},
        {ID_VIEW_DENOVO, "D", QColor(170, 70, 60)},           {ID_VIEW_MASSMAP, "PM", QColor(30, 140, 90)},
        {ID_VIEW_PEPMATCH, "Pm", QColor(170, 70, 60)},        {ID_VIEW_PEPMAP, "Pp", QColor(150, 60, 150)},
        {ID_VIEW_MULTI_CONSENSUS, "C", QColor(30, 140, 90)},  {ID_RESULTS_WINDOW, "W", QColor(40, 110, 170)},
        {ID_ZOOM_IN_Y, "Y+", QColor(70, 90, 120)},            {ID_ZOOM_OUT_Y, "Y-", QColor(70, 90, 120)},
        {ID_NORMALIZE, "N", QColor(70, 90, 120)},             {ID_ZOOM_IN_X, "X+", QColor(70, 90, 120)},
        {ID_ZOOM_OUT_X, "X-", QColor(70, 90, 120)},           {ID_DISPLAY_ALL, "A", QColor(70, 90, 120)},
        {ID_RESET_SCALING, "R", QColor(70, 90, 120)},
    };
    for (const auto& t : tiles) actions_[t.id]->setIcon(tileIcon(QString::fromLatin1(t.label), t.colour));
    actions_[ID_VIEW_TOOLBAR]->setCheckable(true);
    actions_[ID_VIEW_STATUS_BAR]->setCheckable(true);
    actions_[ID_VIEW_TOOLBAR]->setChecked(true);
    actions_[ID_VIEW_STATUS_BAR]->setChecked(true);
}

void CMainFrame::createMenus() {
    auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
        for (int id : ids) {
            if (id == 0) menu->addSeparator();
            else menu->addAction(actions_.value(id));
        }
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, {ID_FILE_NEW, ID_FILE_OPEN, ID_OPEN_SORVEX_RESULTS, ID_OPEN_MASSMAP_RESULTS, ID_OPEN_MULTIPLE_RESULTS, 0,
               ID_OPEN_SEQUENCE_FILE, ID_SAVE_SEQUENCE_FILE, 0, ID_FILE_PAGE_SETUP, ID_FILE_PAGE_HEADER_FOOTER,
               ID_FILE_PRINT, 0});
    recentMenu_ = file->addMenu(QStringLiteral("Recent &Files"));
    rebuildRecentMenu();
    add(file, {0, ID_APP_EXIT});
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    add(view, {ID_VIEW_GENERAL_TRACE, ID_VIEW_SORVEX_SUMMARY, ID_VIEW_ZARMASS, ID_VIEW_DENOVO, ID_VIEW_PEPMATCH,
               ID_VIEW_PEPMAP, ID_VIEW_MASSMAP, ID_VIEW_MULTI_CONSENSUS, 0, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR});
    QMenu* display = menuBar()->addMenu(QStringLiteral("&Display"));
    QMenu* zoom = display->addMenu(QStringLiteral("&Zoom"));
    add(zoom, {ID_ZOOM_IN_Y, ID_ZOOM_OUT_Y, ID_NORMALIZE, 0, ID_ZOOM_IN_X, ID_ZOOM_OUT_X, ID_DISPLAY_ALL});
    add(display, {ID_RESET_SCALING, 0});
    QMenu* annotate = display->addMenu(QStringLiteral("&Annotate"));
    add(annotate, {ID_ANNOTATE_ADD_TEXT, ID_ANNOTATE_CLEAR_ALL});
    add(display, {ID_DISPLAY_OPTIONS});
    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    add(options, {ID_OPTIONS_CONFIGURATION, ID_OPTIONS_DISPLAY});
    QMenu* actionsMenu = menuBar()->addMenu(QStringLiteral("&Actions"));
    add(actionsMenu, {ID_ACTION_ZARMASS, ID_ACTION_SORVEX_DTA, ID_ACTION_SORVEX_SEARCH, ID_ACTION_DENOVO,
                      ID_ACTION_PEPTIDE_MAPPING, ID_ACTION_XPRESS});
    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    add(tools, {ID_TOOLS_DB_INDEXER, ID_TOOLS_DB_UTILITIES, ID_TOOLS_FASTA_INDEX, ID_TOOLS_ENZYME_EDITOR,
                ID_TOOLS_SEQUENCE_CALCULATOR, ID_TOOLS_SEQUENCE_EDITOR, 0, ID_TOOLS_DATABASE_MANAGER,
                ID_TOOLS_SORVEX_QUEUE, ID_TOOLS_SORVEX_BROWSER});
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, {ID_HELP_PROGRAM, ID_HELP_INDEX, 0, ID_HELP_DATA_SYSTEM, ID_HELP_HOW_TO_DATA_SYSTEM, ID_HELP_USING, 0,
               ID_APP_ABOUT});
    for (QMenu* m : menuBar()->findChildren<QMenu*>())
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::createToolBar() {
    toolBar_ = addToolBar(QStringLiteral("Standard"));
    toolBar_->setObjectName(QStringLiteral("ToolBar8500"));
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int id : std::initializer_list<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_OPEN_SORVEX_RESULTS, ID_OPEN_MASSMAP_RESULTS, ID_SAVE_SEQUENCE_FILE, 0,
                   ID_FILE_PRINT, 0, ID_VIEW_GENERAL_TRACE, ID_VIEW_SORVEX_SUMMARY, ID_VIEW_ZARMASS, ID_VIEW_DENOVO,
                   ID_VIEW_MASSMAP, ID_VIEW_PEPMATCH, ID_VIEW_PEPMAP, ID_VIEW_MULTI_CONSENSUS, 0, ID_RESULTS_WINDOW, 0,
                   ID_ZOOM_IN_Y, ID_ZOOM_OUT_Y, ID_NORMALIZE, ID_ZOOM_IN_X, ID_ZOOM_OUT_X, ID_DISPLAY_ALL,
                   ID_RESET_SCALING, 0, ID_HELP_CONTENTS_TOOLBAR}) {
        if (id == 0) toolBar_->addSeparator();
        else toolBar_->addAction(actions_.value(id));
    }
}

int CMainFrame::entryCount() const { return doc_ ? doc_->GetEntryCount() : 0; }

bool CMainFrame::commandEnabled(int id) const {
    if (isViewAnswered(id)) return activeView_ && activeView_->IsViewCommandEnabled(id);
    const int type = CurrentViewType();
    const int count = entryCount();
    const bool kind0 = doc_ && doc_->GetCurrentResultType() == 0;
    const bool run = kind0 && count > 0;
    const bool sequence = doc_ && !doc_->GetSequence().isEmpty();
    const bool searchBusy = searchBusy_ && searchBusy_();
    switch (id) {
        case ID_OPEN_SORVEX_RESULTS: return run && !IsLoadingResults() && HasFrameCommand(id);
        case ID_OPEN_MASSMAP_RESULTS: return run && (type == 1 || type == 10) && !IsLoadingResults() && HasFrameCommand(id);
        case ID_OPEN_MULTIPLE_RESULTS: return !IsLoadingResults() && HasFrameCommand(id);
        case ID_SAVE_SEQUENCE_FILE: return sequence;
        case ID_VIEW_GENERAL_TRACE: return count > 0 && CanShowViewType(1);
        case ID_VIEW_SORVEX_SUMMARY:
        case ID_VIEW_ZARMASS:
        case ID_VIEW_DENOVO:
        case ID_VIEW_PEPMATCH:
        case ID_VIEW_PEPMAP:
        case ID_VIEW_MASSMAP: return run && CanShowViewType(viewTypeOfCommand(id));
        case ID_VIEW_MULTI_CONSENSUS: return CanShowViewType(11);
        case ID_RESULTS_WINDOW: return run;
        case ID_ANNOTATE_ADD_TEXT:
        case ID_ANNOTATE_CLEAR_ALL: {
            if (count <= 0 || !activeView_ || !HasFrameCommand(id)) return false;
            const QString cls = QString::fromLatin1(activeView_->ViewClassName());
            return cls == QLatin1String("CTraceView") || cls == QLatin1String("CSpecView") ||
                   cls == QLatin1String("CZarmassSpecView") || cls == QLatin1String("CDenovoSpecView") ||
                   cls == QLatin1String("CPepmatchSpecView");
        }
        case ID_ACTION_ZARMASS: return run && (type == 1 || type == 6) && HasFrameCommand(id);
        case ID_ACTION_SORVEX_DTA:
        case ID_ACTION_SORVEX_SEARCH: return run && (type == 1 || type == 5) && !searchBusy && HasFrameCommand(id);
        case ID_ACTION_DENOVO: return type == 7 && count > 0 && HasFrameCommand(id);
        case ID_ACTION_PEPTIDE_MAPPING: return run && (type == 1 || type == 10) && !searchBusy && HasFrameCommand(id);
        case ID_ACTION_XPRESS: return type == 5 && count > 0 && HasFrameCommand(id);
        case ID_DISPLAY_OPTIONS: {
            if (!HasFrameCommand(id)) return false;
            // A protein table's options sheet works on its loaded results; the summary's options
            // are kept for the results still to come.
            const auto ready = [this](const CSearchResults* set) {
                return set && set->GetCapacity() > 0 && !IsLoadingResults();
            };
            if (type == 10) return ready(doc_->GetMassmapResults());
            if (type == 11) return ready(doc_->GetMultiConsensusResults());
            return type == 5;
        }
        case ID_TOOLS_DATABASE_MANAGER: return QFileInfo::exists(programFile("DatabaseManager"));
        case ID_TOOLS_SORVEX_QUEUE:
            return HasFrameCommand(id) && queueUsable_ && queueUsable_() && QFileInfo::exists(programFile("SorvexQueue"));
        case ID_TOOLS_SORVEX_BROWSER: return HasFrameCommand(id);
        case ID_OPTIONS_CONFIGURATION:
        case ID_OPTIONS_DISPLAY:
        case ID_TOOLS_DB_INDEXER:
        case ID_TOOLS_DB_UTILITIES:
        case ID_TOOLS_FASTA_INDEX:
        case ID_TOOLS_ENZYME_EDITOR:
        case ID_TOOLS_SEQUENCE_CALCULATOR:
        case ID_TOOLS_SEQUENCE_EDITOR: return HasFrameCommand(id);
        default: return true;
    }
}

void CMainFrame::SetSearchState(std::function<bool()> busy, std::function<bool()> queueUsable) {
    searchBusy_ = std::move(busy);
    queueUsable_ = std::move(queueUsable);
    UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI() {
    for (auto it = actions_.begin(); it != actions_.end(); ++it) it.value()->setEnabled(commandEnabled(it.key()));
    const int type = CurrentViewType();
    for (const auto& [id, viewType] : kViewCommands) actions_[id]->setChecked(type == viewType);
    if (toolBar_) actions_[ID_VIEW_TOOLBAR]->setChecked(toolBar_->isVisible());
    actions_[ID_VIEW_STATUS_BAR]->setChecked(statusBar()->isVisible());
}

void CMainFrame::RunCommand(int id) {
    UpdateCommandUI();
    if (QAction* a = actions_.value(id); a && !a->isEnabled()) return;
    for (const auto& [viewId, type] : kViewCommands) {
        if (viewId != id) continue;
        if (CurrentViewType() != type) {
            OnChooseView(type, false);
            if (type == 6) SetFrameTitle(doc_ ? doc_->GetTitle() : QString());
        }
        UpdateCommandUI();
        return;
    }
    if (isViewAnswered(id) || (id == ID_FILE_PAGE_SETUP && activeView_ && activeView_->HasViewCommand(id))) {
        if (activeView_) activeView_->OnViewCommand(id);
        UpdateCommandUI();
        return;
    }
    CZarApp* app = CZarApp::Instance();
    switch (id) {
        case ID_FILE_NEW:
            if (app) app->OnFileNew();
            break;
        case ID_FILE_OPEN:
            if (app) app->OnFileOpen();
            break;
        case ID_FILE_PAGE_SETUP:
            if (app) app->OnFilePageSetup();
            break;
        case ID_APP_ABOUT:
            if (app) app->OnAppAbout();
            break;
        case ID_APP_EXIT: close(); break;
        case ID_VIEW_TOOLBAR: toolBar_->setVisible(!toolBar_->isVisible()); break;
        case ID_VIEW_STATUS_BAR: statusBar()->setVisible(!statusBar()->isVisible()); break;
        case ID_OPEN_SEQUENCE_FILE: {
            const QString path = QFileDialog::getOpenFileName(this, QString(), PortablePath(GetSequenceDirectory()),
                                                              QStringLiteral("Sequence Files (*.pep)"));
            if (!path.isEmpty()) OpenSequenceFile(path);
            break;
        }
        case ID_SAVE_SEQUENCE_FILE: {
            QFileDialog dialog(this, QString(), PortablePath(GetSequenceDirectory()), QStringLiteral("Sequence file (*.pep)"));
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDefaultSuffix(QStringLiteral("pep"));
            if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) SaveSequenceFile(dialog.selectedFiles().first());
            break;
        }
        case ID_RESULTS_WINDOW:
            if (doc_) doc_->ShowResultsWindow(ResultsWindowRequest());
            break;
        case ID_TOOLS_DB_INDEXER:
            if (!doc_ || !doc_->GetEnzymeTable()) {
                ZarMessageBox(QStringLiteral("Unable to access enzyme list"));
                break;
            }
            RunFrameCommand(id, *this);
            break;
        case ID_TOOLS_DATABASE_MANAGER: StartDetachedProgram(programFile("DatabaseManager")); break;
        case ID_HELP_PROGRAM:
        case ID_HELP_CONTENTS_TOOLBAR: ShowContextHelp(this, kHelpContentsId); break;
        case ID_HELP_INDEX:
        case ID_HELP_USING:
        case ID_HELP_DATA_SYSTEM:
        case ID_HELP_HOW_TO_DATA_SYSTEM: ShowHelpContents(this); break;
        default: RunFrameCommand(id, *this); break;
    }
    UpdateCommandUI();
}

}  // namespace zar
