#include "ResultsWindow.h"

#include "ResultsFormView.h"
#include "ShowOutView.h"
#include "ZarApp.h"
#include "document/ZarMessages.h"
#include "registry/RegKey.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QScreen>
#include <QStackedWidget>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace zar {
namespace {

const char* const kReadingFramesKey = "Software\\Korvath\\Veltrix\\ZarvikBrowser\\Reading frames";
const char* const kDefaultFactorList =
    "1 forward;2 forward;3 forward;1 reverse;2 reverse;3 reverse;";

const char* const kWindowTitle = "TurboSORVEX Results - ";

struct ViewCommand {
    int command;
    int type;
    const char* text;
    const char* tip;
    const char* name;  // the view's window title
};

const ViewCommand kViewCommands[] = {
    {9316, 1, "Blast", "Display the Blast Results view", "Blast Results"},
    {9317, 2, "Retrieve", "Display the Retreive Sequence View", "Retrieve Sequence"},
    {9318, 3, "Show Out", "Display the Show Out view", "Show Output"},
    {9320, 5, "Ions", "Display the Display Ions View", "Display Ions"},
    {9321, 6, "Coverage", "Display the Coverage Report View", "Consensus Report"},
    {9322, 7, "Search", "Display the General Search Parameters view", "Search Parameters"},
    {9323, 8, "Select Ions", "Display the Sequence Ions view", "Select Ions"},
    {9319, 9, "XPRESS", "Display the XPRESS Quantitation view", "XPRESS"},
};

QString ViewName(int type) {
    if (type == 4) type = 3;
    for (const ViewCommand& c : kViewCommands)
        if (c.type == type) return QString::fromLatin1(c.name);
    return QString();
}

int SlotOfType(int type) {
    switch (type) {
        case 1:
            return CResultsWindow::kSlotBlast;
        case 2:
            return CResultsWindow::kSlotRetrieve;
        case 3:
        case 4:
            return CResultsWindow::kSlotShowOut;
        case 5:
            return CResultsWindow::kSlotDisplayIons;
        case 6:
            return CResultsWindow::kSlotCoverage;
        case 7:
            return CResultsWindow::kSlotSearchInfo;
        case 8:
            return CResultsWindow::kSlotSelectIons;
        case 9:
            return CResultsWindow::kSlotXpress;
        default:
            return -1;
    }
}

// Commands the shown view answers: printing, then zoom, with the view types that have them.
struct PaneCommand {
    int command;
    const char* text;
    const char* tip;
};
constexpr int kPrintCommand = 57607;
const PaneCommand kPrintPane = {kPrintCommand, "Print", "Print the shown view"};
const PaneCommand kZoomPanes[] = {
    {9211, "Zoom In Y", "Zoom in on the intensity axis"},
    {9212, "Zoom Out Y", "Zoom out on the intensity axis"},
    {9213, "Normalize", "Show the whole intensity range"},
    {9214, "Zoom In X", "Zoom in on the m/z axis"},
    {9215, "Zoom Out X", "Zoom out on the m/z axis"},
    {9216, "Display All", "Show the whole m/z range"},
    {9217, "Reset Scaling", "Show the whole spectrum"},
};

bool TypeHasCommand(int type, int command) {
    if (command == kPrintCommand) return type >= 1 && type <= 9;
    if (command == 9217) return type == 5 || type == 7;
    return type == 5 || type == 7 || type == 9;
}

// The view type each slot's maker is registered under.
constexpr int kTypeOfSlot[CResultsWindow::kSlotCount] = {1, 2, 5, 3, 6, 7, 8, 9};

}  // namespace

CResultsWindow::CResultsWindow(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("ResultsWindow"));
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    resize(880, 540);
    stack_ = new QStackedWidget(this);
    emptyPane_ = new QWidget(stack_);
    stack_->addWidget(emptyPane_);
    setCentralWidget(stack_);
    statusBar();
    createToolBar();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        CResultsFormView* view = nullptr;
        if (slot == kSlotShowOut) {
            view = new CShowOutView(this, stack_);
        } else if (ResultsFormViewMaker maker = FindResultsFormView(kTypeOfSlot[slot])) {
            view = maker(this);
        }
        if (view) {
            view->setParent(stack_);
            stack_->addWidget(view);
        }
        views_[static_cast<size_t>(slot)] = view;
    }
    stack_->setCurrentWidget(emptyPane_);
    mapMessages();
    updateCommands();
}

CResultsWindow::~CResultsWindow() = default;

CResultsFormView* CResultsWindow::ViewOfType(int type) const {
    const int slot = SlotOfType(type);
    return slot < 0 ? nullptr : views_[static_cast<size_t>(slot)];
}

CShowOutView* CResultsWindow::ShowOut() const {
    return static_cast<CShowOutView*>(views_[kSlotShowOut]);
}

QAction* CResultsWindow::Action(int command) const {
    for (const auto& [id, action] : actions_)
        if (id == command) return action;
    return nullptr;
}

void CResultsWindow::createToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Results"));
    bar->setObjectName(QStringLiteral("ResultsToolBar"));
    QAction* close = bar->addAction(QStringLiteral("Close"), this, [this] { this->close(); });
    actions_.push_back({9329, close});
    const auto addPaneCommand = [this](QWidget* to, const PaneCommand& c) {
        QAction* a = new QAction(QString::fromLatin1(c.text), to);
        a->setToolTip(QString::fromLatin1(c.tip));
        const int command = c.command;
        connect(a, &QAction::triggered, this, [this, command] { OnViewPaneCommand(command); });
        to->addAction(a);
        actions_.push_back({c.command, a});
    };
    addPaneCommand(bar, kPrintPane);
    bar->addSeparator();
    for (const ViewCommand& c : kViewCommands) {
        QAction* a = bar->addAction(QString::fromLatin1(c.text));
        a->setToolTip(QString::fromLatin1(c.tip));
        a->setCheckable(true);
        const int command = c.command;
        connect(a, &QAction::triggered, this, [this, command] { OnViewCommand(command); });
        actions_.push_back({c.command, a});
    }
    bar->addSeparator();
    // The zoom commands under one button keep the bar short enough for the combos.
    auto* zoom = new QToolButton(bar);
    zoom->setText(QStringLiteral("Zoom"));
    zoom->setObjectName(QStringLiteral("ZoomButton"));
    zoom->setPopupMode(QToolButton::InstantPopup);
    auto* zoomMenu = new QMenu(zoom);
    for (const PaneCommand& c : kZoomPanes) addPaneCommand(zoomMenu, c);
    zoom->setMenu(zoomMenu);
    zoomButton_ = zoom;
    bar->addWidget(zoom);
    bar->addSeparator();
    QAction* help = bar->addAction(QStringLiteral("Help"), this,
                                   [this] { ShowContextHelp(this, kHelpContext); });
    help->setToolTip(QStringLiteral("Help on the results window"));
    actions_.push_back({kHelpCommand, help});
    readingFrames_ = new QComboBox(bar);
    readingFrames_->setObjectName(QStringLiteral("ReadingFrames"));
    readingFrames_->setMinimumWidth(80);
    bar->addWidget(readingFrames_);
    outputFiles_ = new QComboBox(bar);
    outputFiles_->setObjectName(QStringLiteral("OutputFiles"));
    outputFiles_->setMinimumWidth(80);
    bar->addWidget(outputFiles_);
    fillReadingFrames();
    connect(readingFrames_, &QComboBox::activated, this, &CResultsWindow::OnReadingFrameChanged);
    connect(outputFiles_, &QComboBox::activated, this, &CResultsWindow::OnOutputFileChanged);
}

QStringList CResultsWindow::ReadingFrameNames(const QString& factorList) {
    QStringList names = factorList.split(QLatin1Char(';'));
    names.removeLast();  // the text after the last ';' is no entry
    return names;
}

void CResultsWindow::fillReadingFrames() {
    QString list = QString::fromLatin1(kDefaultFactorList);
    int last = 0;
    const RegKey key(RegRoot::CurrentUser, QString::fromLatin1(kReadingFramesKey), false);
    if (key.isValid()) {
        key.readString(QStringLiteral("FactorList"), list);
        key.readInt(QStringLiteral("LastSelection"), last);
    }
    const QStringList names = ReadingFrameNames(list);
    readingFrames_->clear();
    for (const QString& name : names) readingFrames_->addItem(name.left(10));
    readingFrames_->setCurrentIndex(last >= 0 && last < names.size() ? last : 0);
}

void CResultsWindow::DisplayResult(const SelectedResult& item) {
    currentKind_ = item.kind;
    const int frame = stored_.readingFrame;
    stored_ = item;
    stored_.readingFrame = frame;
    if (item.display == 0) {
        if (item.viewType == 8) SelectView(8);
    } else {
        ShowView(item.viewType);
    }
    updateCommands();
}

void CResultsWindow::ShowView(int type) {
    stored_.viewType = type;
    if (stored_.display == 0) {
        if (type == 8) SelectView(8);
        return;
    }
    if (type < 1 || type > 9) return;
    SelectView(type);
    const SelectedResult copy = stored_;
    if (type == 3) {
        ShowOut()->ShowOut(copy);
    } else if (type == 4) {
        ShowOut()->ShowOutForEntry(copy.kind, copy.entryIndex);
    } else if (CResultsFormView* view = ViewOfType(type)) {
        view->Display(copy);
    }
}

void CResultsWindow::SelectView(int type) {
    if (shownType_ >= 1 && shownType_ <= 9 && shownType_ != type) {
        if (CResultsFormView* old = ViewOfType(shownType_)) old->hide();
        stack_->setCurrentWidget(emptyPane_);
    }
    shownType_ = type;
    if (type < 1 || type > 9) return;
    CResultsFormView* view = ViewOfType(type);
    if (!view) {
        stack_->setCurrentWidget(emptyPane_);
        UpdateTitle();
        return;
    }
    view->OnInitialUpdate();
    stack_->setCurrentWidget(view);
    view->show();
    view->setFocus();
    UpdateTitle();
    updateCommands();
}

void CResultsWindow::OnViewCommand(int command) {
    for (const ViewCommand& c : kViewCommands) {
        if (c.command != command) continue;
        SelectView(c.type);
        if (stored_.display == 1) ShowView(shownType_);
        break;
    }
    updateCommands();
}

bool CResultsWindow::shownViewAnswers(int command) const {
    const CResultsFormView* shown = ViewOfType(shownType_);
    return shown && TypeHasCommand(shownType_, command) && shown->IsCommandEnabled(command);
}

void CResultsWindow::OnViewPaneCommand(int command) {
    if (shownViewAnswers(command)) ViewOfType(shownType_)->OnCommand(command);
    updateCommands();
}

void CResultsWindow::updateCommands() {
    for (const ViewCommand& c : kViewCommands) {
        QAction* a = Action(c.command);
        if (!a) continue;
        const bool checked =
            c.command == 9318 ? (shownType_ == 3 || shownType_ == 4) : shownType_ == c.type;
        a->setChecked(checked);
        // A page that no part of the program provides is not offered.
        a->setEnabled(ViewOfType(c.type) && (c.command == 9323 || currentKind_ != 0));
    }
    bool anyZoom = false;
    for (const PaneCommand& c : kZoomPanes)
        if (QAction* a = Action(c.command)) {
            a->setEnabled(shownViewAnswers(c.command));
            anyZoom = anyZoom || a->isEnabled();
        }
    if (zoomButton_) zoomButton_->setEnabled(anyZoom);
    if (QAction* print = Action(kPrintCommand)) print->setEnabled(shownViewAnswers(kPrintCommand));
    readingFrames_->setEnabled(readingFrameEnable_ != 0 &&
                               (shownType_ == 1 || shownType_ == 2 || shownType_ == 6));
    outputFiles_->setEnabled(shownType_ == 4);
}

void CResultsWindow::ResetToolBarCombo() {
    outputFiles_->clear();
}

void CResultsWindow::FillToolBarCombo(const std::vector<HitNumber>& hits, HitNumber selected) {
    outputFiles_->clear();
    int select = 0;
    for (size_t i = 0; i < hits.size(); ++i) {
        outputFiles_->addItem(QString::number(hits[i].value()), hits[i].value());
        if (hits[i] == selected) select = static_cast<int>(i);
    }
    if (!hits.empty()) outputFiles_->setCurrentIndex(select);
}

void CResultsWindow::SetTitle(const QString& name) {
    if (CResultsFormView* view = ViewOfType(shownType_)) {
        view->SetTitle(name);
        return;
    }
    setWindowTitle(name.isEmpty() ? QString::fromLatin1(kWindowTitle) : name);
}

void CResultsWindow::UpdateTitle() {
    const CResultsFormView* view = ViewOfType(shownType_);
    if (view && !view->Title().isEmpty())
        setWindowTitle(view->Title());
    else
        setWindowTitle(QString::fromLatin1(kWindowTitle) + ViewName(shownType_));
}

void CResultsWindow::KeepInsideScreen() {
    QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = main ? main->screen() : this->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // The frame around the window, as far as the window system has told it.
    const QMargins frame(geometry().left() - frameGeometry().left(),
                         geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    const QRect inner = area.marginsRemoved(frame);
    QRect r = geometry();
    // The first time it opens over the middle of the main window.
    if (!placed_ && main) r.moveCenter(main->geometry().center());
    placed_ = true;
    r.setWidth(std::min(r.width(), inner.width()));
    r.setHeight(std::min(r.height(), inner.height()));
    r.moveLeft(std::clamp(r.left(), inner.left(), inner.right() - r.width() + 1));
    r.moveTop(std::clamp(r.top(), inner.top(), inner.bottom() - r.height() + 1));
    if (r != geometry()) setGeometry(r);
}

void CResultsWindow::OnReadingFrameChanged(int index) {
    readingFrame_ = index + 1;
    stored_.readingFrame = readingFrame_;
    if (shownType_ == 1 || shownType_ == 2 || shownType_ == 6) {
        if (CResultsFormView* view = ViewOfType(shownType_)) view->ReadingFrameChanged(stored_);
    }
}

void CResultsWindow::OnOutputFileChanged(int index) {
    if (shownType_ != 4 || index < 0) return;
    const HitNumber hit(outputFiles_->itemData(index).toInt());
    ShowOut()->FillFromOutFile(currentKind_, hit, 1);
}

void CResultsWindow::mapMessages() {
    MessageMap& m = messages_;
    auto shown = [this](int type) { return shownType_ == type ? ViewOfType(type) : nullptr; };
    m.on(kMsgSequenceRecord, [shown](const Message& msg) {
        if (CResultsFormView* v = shown(2))
            v->SetSequenceRecord(msg.wParam);
        else if (CResultsFormView* v = shown(6))
            v->SetSequenceRecord(msg.wParam);
        return 0;
    });
    m.on(kMsgSequencePeptide, [shown](const Message& msg) {
        if (CResultsFormView* v = shown(2)) v->ShowPeptide(msg.wParam);
        return 0;
    });
    m.on(kMsgSequenceCoverage, [shown](const Message& msg) {
        if (CResultsFormView* v = shown(6)) v->ShowCoverage(msg.wParam);
        return 0;
    });
    m.on(kMsgRowCount, [shown](const Message& msg) {
        CResultsFormView* v = nullptr;
        if (msg.lParam == 1) {
            v = shown(6);
        } else {
            v = shown(2);
            if (!v) v = shown(6);
            if (!v) v = shown(5);
        }
        if (v) v->SetRowCount(msg.wParam, msg.lParam);
        return 0;
    });
    m.on(kMsgReadingFrameEnable, [this](const Message& msg) {
        readingFrameEnable_ = static_cast<int>(msg.wParam);
        readingFrames_->setEnabled(readingFrameEnable_ != 0);
        return 0;
    });
    m.on(kMsgOutputFileEnable, [this](const Message& msg) {
        outputFileEnable_ = static_cast<int>(msg.wParam);
        outputFiles_->setEnabled(outputFileEnable_ != 0);
        return 0;
    });
    m.on(kMsgIonsValue, [shown](const Message& msg) {
        if (CResultsFormView* v = shown(5)) v->SetIonsValue(static_cast<double>(msg.wParam));
        return 0;
    });
    m.on(kMsgIonsMassList, [shown](const Message& msg) {
        if (CResultsFormView* v = shown(5)) v->SetMassList(msg.wParam, msg.lParam);
        return 0;
    });
    m.on(kMsgDatabaseSearchEnded, [this](const Message& msg) {
        for (Slot slot : {kSlotBlast, kSlotCoverage, kSlotRetrieve}) {
            CResultsFormView* v = views_[slot];
            if (!v || reinterpret_cast<WPARAM>(v) != msg.wParam) continue;
            if (msg.payload) v->TakeSearchResult(*msg.payload);
            v->DeleteSearch();
        }
        return 0;
    });
    m.on(kMsgCoverageUpdate, [this](const Message& msg) {
        CResultsFormView* v = views_[kSlotCoverage];
        if (v && reinterpret_cast<WPARAM>(v) == msg.wParam) v->UpdateData();
        return 0;
    });
}

bool CResultsWindow::event(QEvent* e) {
    if (messages_.handleEvent(e)) return true;
    return QMainWindow::event(e);
}

void CResultsWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    KeepInsideScreen();
}

void CResultsWindow::closeEvent(QCloseEvent* e) {
    // The window lives as long as the document: closing only hides it.
    e->ignore();
    hide();
    if (QWidget* main = parentWidget() ? parentWidget()->window() : nullptr) {
        main->raise();
        main->activateWindow();
    }
}

}  // namespace zar
