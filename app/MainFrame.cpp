#include "MainFrame.h"

#include "BitmapView.h"
#include "SplitterViews.h"
#include "ViewFactory.h"
#include "ZarApp.h"
#include "ZarDoc.h"
#include "RegisteredMessages.h"
#include "core/MessageBox.h"
#include "core/Paths.h"
#include "core/TextFile.h"
#include "document/SequenceFile.h"
#include "document/Settings.h"
#include "document/SorvexResults.h"
#include "document/UpdateHints.h"
#include "document/ZarMessages.h"
#include "gui/Shell.h"
#include "interpretation/DenovoEngine.h"
#include "interpretation/ZarmassTransform.h"
#include "registry/RegKey.h"
#include "resultviews/DisplayOutFileDlg.h"
#include "spectrumviews/XpressWorker.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSysInfo>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace zar {
namespace {

CMainFrame* gMainFrame = nullptr;

const char* const kRecentFileKey = "Software\\Korvath\\Veltrix\\ZarvikBrowser\\Recent File List";
const char* const kSettingsKey = "Software\\Korvath\\Veltrix\\ZarvikBrowser\\Settings";
const char* const kPlacementValue = "WindowPlacement";

struct ViewTypeInfo {
    const char* viewClass;   // put into the frame
    const char* activate;    // made active after the switch
    int hint;
};

const ViewTypeInfo* viewTypeInfo(int type) {
    static const ViewTypeInfo table[] = {
        {"CBitmapView", "CBitmapView", kHintBitmapView},
        {"CPlotSplitterView", "CTraceView", kHintPlotLayout},
        {nullptr, nullptr, -1},
        {nullptr, nullptr, -1},
        {nullptr, nullptr, -1},
        {"CSummarySplitterView", "CTraceView", kHintSummaryLayout},
        {"CZarmassSplitterView", "CTraceView", kHintZarmassLayout},
        {"CDenovoSplitterView", "CTraceView", kHintDenovoLayout},
        {"CPepmatchSplitterView", "CTraceView", kHintPepmatchLayout},
        {"CPepmapSplitterView", "CTraceView", kHintPepmapLayout},
        {"CMassmapSplitterView", "CTraceView", kHintMassmapLayout},
        {"CMultiConsensusView", "CTraceView", kHintMultiConsensusLayout},
    };
    if (type < 0 || type > CMainFrame::kMaxViewType || !table[type].viewClass) return nullptr;
    return &table[type];
}

}  // namespace

CMainFrame* CMainFrame::GetMainFrame() { return gMainFrame; }

int CMainFrame::HintForViewType(int type) {
    const ViewTypeInfo* info = viewTypeInfo(type);
    return info ? info->hint : -1;
}

QString CMainFrame::ViewClassForType(int type) {
    const ViewTypeInfo* info = viewTypeInfo(type);
    return info ? QString::fromLatin1(info->viewClass) : QString();
}

bool CMainFrame::CanShowViewType(int type) {
    const ViewTypeInfo* info = viewTypeInfo(type);
    if (!info) return false;
    const QString cls = QString::fromLatin1(info->viewClass);
    // The start-up view is the frame's own.
    return cls == QLatin1String("CBitmapView") || CanMakeWholeView(cls);
}

CMainFrame::CMainFrame(CZarDoc* doc) : doc_(doc) {
    gMainFrame = this;
    setObjectName(QStringLiteral("MainFrame"));
    if (doc_) doc_->SetFrame(this);
    resize(1200, 820);
    RestorePlacement();
    setAcceptDrops(true);
    createActions();
    createMenus();
    createToolBar();
    statusBar()->showMessage(QStringLiteral("Ready"));
    mapMessages();
    SetFrameTitle(doc_ ? doc_->GetTitle() : QStringLiteral("Untitled"));
    // The pane the user works in answers the view commands (printing, zoom).
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this,
                          [this](QWidget*, QWidget* now) { ActivateViewOf(now); });
}

void CMainFrame::ActivateViewOf(QWidget* widget) {
    if (!currentView_) return;
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        auto* view = qobject_cast<CZarViewWidget*>(w);
        if (!view || qobject_cast<CSplitterLayoutView*>(view)) continue;
        if (view != currentView_ && !currentView_->isAncestorOf(view)) return;
        if (activeView_ != view) {
            activeView_ = view;
            UpdateCommandUI();
        }
        return;
    }
}

CMainFrame::~CMainFrame() {
    // The children go after this part of the frame: their focus changes must not reach it.
    disconnect(focusWatch_);
    delete statusDialog_.data();
    if (doc_ && doc_->GetFrame() == this) doc_->SetFrame(nullptr);
    if (gMainFrame == this) gMainFrame = nullptr;
}

// ---- views ----

int CMainFrame::CurrentViewType() const { return doc_ ? doc_->GetViewType() : -1; }

bool CMainFrame::OnChooseView(int type, bool force) {
    if (!doc_) return false;
    if (!force && CurrentViewType() == type) return true;
    const ViewTypeInfo* info = viewTypeInfo(type);
    if (!info) return false;
    const int previous = CurrentViewType();
    // The new views read the type in their first update.
    doc_->SetViewType(type);
    if (!ReplaceView(QString::fromLatin1(info->viewClass))) {
        doc_->SetViewType(previous);
        return false;
    }
    SwitchToView(QString::fromLatin1(info->activate));
    doc_->UpdateAllViews(nullptr, info->hint);
    UpdateCommandUI();
    return true;
}

bool CMainFrame::ReplaceView(const QString& className) {
    if (!doc_) {
        ZarMessageBox(QStringLiteral(
            "A problem occurred. Try to open a new file. If thatdoesn't work, please close the application and run it again"));
        return false;
    }
    CZarViewWidget* view = nullptr;
    // A layout whose panes are not all provided is not shown by halves.
    if (className == QLatin1String("CBitmapView")) view = new CBitmapView;
    else if (!CanMakeWholeView(className)) view = nullptr;
    else if (const SplitterLayout* layout = LayoutByClassName(className)) view = new CSplitterLayoutView(*layout);
    else view = CreateViewOfClass(className, nullptr);
    if (!view) {
        ZarMessageBox(QStringLiteral("problem creating a view in CMainFrame::OnChooseView()"));
        return false;
    }
    // The old view may be the one whose click asked for the switch: it leaves the document now
    // and is deleted once control is back in the event loop.
    if (QWidget* old = takeCentralWidget()) {
        for (CZarViewWidget* v : old->findChildren<CZarViewWidget*>()) doc_->RemoveView(v);
        if (auto* v = qobject_cast<CZarViewWidget*>(old)) doc_->RemoveView(v);
        old->hide();
        old->deleteLater();
    }
    currentView_ = view;
    setCentralWidget(view);
    view->OnInitialUpdate();
    view->show();
    activeView_ = view;
    return true;
}

void CMainFrame::SwitchToView(const QString& className) {
    if (!currentView_) return;
    if (className == QLatin1String(currentView_->ViewClassName())) {
        activeView_ = currentView_;
        return;
    }
    if (auto* layout = qobject_cast<CSplitterLayoutView*>(currentView_))
        if (CZarViewWidget* pane = layout->FindPane(className)) {
            activeView_ = pane;
            pane->setFocus();
        }
}

void CMainFrame::ResetView() { OnChooseView(0, true); }

bool CMainFrame::ShowPlotLayout() {
    const bool ok = ReplaceView(QStringLiteral("CPlotSplitterView"));
    if (ok) {
        SwitchToView(QStringLiteral("CTraceView"));
        if (doc_) doc_->UpdateAllViews(nullptr, kHintPlotLayout);
    }
    UpdateCommandUI();
    return ok;
}

void CMainFrame::ResetInfoBar() {
    if (infoBar_) infoBar_->Reset();
}

bool CMainFrame::OpenRun(const QString& path) {
    if (!doc_ || !doc_->OnOpenDocument(path)) return false;
    if (zarmassSheet_) zarmassSheet_->DropRunningWork();
    if (CZarmassTransform* transform = doc_->GetZarmassTransform()) transform->Clear();
    if (CZarmassDeconvolution* calculation = doc_->GetZarmassDeconvolution()) calculation->Clear();
    if (CDenovoEngine* denovo = doc_->GetDenovoEngine()) denovo->ClearSpectra();
    doc_->SetDenovoSelection(0, 0, QString());
    // The panes of the new run drop labels of the engines drawn meanwhile.
    doc_->UpdateAllViews(nullptr, kHintDeconvolution);
    return true;
}

void CMainFrame::SetFrameTitle(const QString& title) {
    setWindowTitle(title.isEmpty() ? QStringLiteral("Zarvik Browser") : title + QStringLiteral(" - Zarvik Browser"));
}

void CMainFrame::SetMSnTimeRange(double start, double end) {
    if (infoBar_) infoBar_->UpdateMSnTimeRange(start, end);
}

void CMainFrame::MSnListChanged() {
    if (infoBar_) infoBar_->UpdateMSnListPage();
}

CDisplayOutFileDlg* CMainFrame::OutFileDialog() const { return outFileDlg_.data(); }

void CMainFrame::ShowOutFileDialog(const QString& folder, const QString& fileName) {
    if (!outFileDlg_) outFileDlg_ = new CDisplayOutFileDlg(this);
    outFileDlg_->LoadFile(folder, fileName);
    outFileDlg_->show();
    outFileDlg_->raise();
}

void CMainFrame::ReleaseZarmassSheet() {
    CZarmassSheetTarget* sheet = zarmassSheet_;
    zarmassSheet_ = nullptr;
    if (sheet && !sheet->DestroySheetWindow()) delete sheet;
}

bool CMainFrame::ShowResultsWindow(const SelectedResult& result) {
    return resultsWindow_ ? resultsWindow_(result) : false;
}

// ---- recent files ----

QStringList CMainFrame::RecentFiles() const {
    QStringList files;
    const RegKey key(RegRoot::CurrentUser, QString::fromLatin1(kRecentFileKey), false);
    for (int i = 1; i <= kRecentFiles; ++i) {
        QString path;
        if (key.readString(QStringLiteral("File%1").arg(i), path) && !path.isEmpty()) files.append(path);
    }
    return files;
}

void CMainFrame::AddToRecentFileList(const QString& path) {
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentFiles) files.removeLast();
    RegKey key(RegRoot::CurrentUser, QString::fromLatin1(kRecentFileKey), true);
    for (int i = 0; i < files.size(); ++i) key.writeString(QStringLiteral("File%1").arg(i + 1), files[i]);
    rebuildRecentMenu();
}

void CMainFrame::rebuildRecentMenu() {
    if (!recentMenu_) return;
    recentMenu_->clear();
    const QStringList files = RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        QAction* a = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(FileNameOf(files[i])));
        a->setToolTip(files[i]);
        const QString path = files[i];
        connect(a, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void CMainFrame::openRecent(const QString& path) {
    OpenRun(path);
    UpdateCommandUI();
}

// ---- sequence files ----

bool CMainFrame::OpenSequenceFile(const QString& path) {
    QString sequence;
    if (!ReadSequenceFile(path, sequence)) {
        ZarMessageBox(QStringLiteral("Unable to open the sequence file"));
        return false;
    }
    if (doc_) doc_->SetSequence(sequence);
    if (CurrentViewType() == 9) PostMessage(this, kMsgSequenceChanged);
    UpdateCommandUI();
    return true;
}

bool CMainFrame::SaveSequenceFile(const QString& path) {
    QString error;
    if (!doc_ || !WriteTextFileAtomically(path, doc_->GetSequence(), &error)) {
        ZarMessageBox(QStringLiteral("Unable to open the sequence file"));
        return false;
    }
    return true;
}

// ---- results window request ----

SelectedResult CMainFrame::ResultsWindowRequest() const {
    SelectedResult r;
    const CSorvexResults* set = doc_ ? doc_->GetSorvexResults() : nullptr;
    if (set && set->GetHitCount() > 0 && CurrentViewType() == 5) {
        r.kind = 1;
        switch (summaryCell_.first) {
            case 1: r.viewType = 7; break;
            case 2: r.viewType = 3; break;
            case 5: r.viewType = 2; break;
            case 11: r.viewType = 5; break;
            case 12: r.viewType = 1; break;
            case 14: r.viewType = 9; break;
            default: r.viewType = 8; break;
        }
        r.display = 1;
        // The stored cell names its hit; one that names no hit copies nothing.
        if (const SearchHitRecord* hit = set->FindHit(summaryCell_.second)) {
            r.hit = hit->hitNumber();
            r.column = summaryCell_.first;
            r.row = hit->hitNumber().value();
            r.furtherReferences = hit->furtherReferences;
            r.peptide = hit->peptide;
            r.reference = hit->reference;
        }
        return r;
    }
    r.kind = 0;
    r.viewType = 8;
    r.display = 0;
    return r;
}

// ---- messages ----

void CMainFrame::typeOrHint(int type, int hint) {
    if (CurrentViewType() == type) {
        if (doc_) doc_->UpdateAllViews(nullptr, hint);
    } else {
        OnChooseView(type, false);
    }
}

void CMainFrame::SetResultsStatusDialog(QWidget* dialog) {
    delete statusDialog_.data();
    statusDialog_ = dialog;
    if (dialog) resultsLoaded_ = false;
    UpdateCommandUI();
}

void CMainFrame::mapMessages() {
    MessageMap& m = messages_;
    // Launchers report through these; a message whose launcher is gone is dropped.
    for (unsigned msg : {kMsgMassmapReshowSheet, kMsgSorvexReshowSheet, kMsgMassmapLauncherEnded, kMsgSorvexLauncherEnded})
        m.on(msg, [](const Message&) { return 0; });
    m.on(kMsgSheetIgnored, [](const Message&) { return 1; });
    m.on(kMsgSorvexResultsLoaded, [this](const Message&) {
        resultsLoaded_ = true;
        typeOrHint(5, kHintSummaryLayout);
        return 0;
    });
    m.on(kMsgMassmapResultsLoaded, [this](const Message&) {
        resultsLoaded_ = true;
        typeOrHint(10, kHintMassmapLayout);
        return 0;
    });
    m.on(kMsgDenovoSpectraLoaded, [this](const Message&) {
        typeOrHint(7, kHintDenovoLayout);
        return 0;
    });
    m.on(kMsgMultipleResultsLoaded, [this](const Message&) {
        resultsLoaded_ = true;
        typeOrHint(11, kHintMultiConsensusLayout);
        return 0;
    });
    m.on(kMsgResultsLoadEnded, [this](const Message&) {
        SetResultsStatusDialog(nullptr);
        // A load that failed has emptied its set: the result tables drop the rows they show.
        const int type = CurrentViewType();
        if (!resultsLoaded_ && doc_ && (type == 5 || type == 10 || type == 11))
            doc_->UpdateAllViews(nullptr, HintForViewType(type));
        resultsLoaded_ = false;
        return 0;
    });
    m.on(kMsgZarmassCalculated, [this](const Message&) {
        if (infoBar_) infoBar_->ShowPage(102);
        typeOrHint(1, kHintPlotLayout);
        return 0;
    });
    m.on(kMsgZarmassUpdated, [this](const Message& msg) {
        if (infoBar_) infoBar_->ShowPage(102);
        if (CurrentViewType() == 6) {
            if (doc_) doc_->UpdateAllViews(nullptr, msg.lParam != 0 ? kHintZarmassLayout : kHintDeconvolution);
        } else {
            OnChooseView(6, false);
        }
        SetFrameTitle(doc_ ? doc_->GetTitle() : QString());
        return 0;
    });
    m.on(kMsgSummaryCellSelected, [this](const Message& msg) {
        const HitNumber hit(static_cast<int>(msg.wParam));
        summaryCell_ = {static_cast<int>(msg.lParam), hit};
        if (doc_) {
            doc_->SetSorvexSelection(hit, static_cast<int>(msg.lParam));
            doc_->UpdateAllViews(nullptr, kHintSummaryCellSelected);
        }
        return 0;
    });
    m.on(kMsgMassmapCellSelected, [this](const Message& msg) {
        const HitNumber hit(static_cast<int>(msg.wParam));
        selectionB_ = {static_cast<int>(msg.lParam), hit};
        if (doc_) {
            doc_->SetMassmapSelection(hit, static_cast<int>(msg.lParam));
            doc_->UpdateAllViews(nullptr, kHintMassmapCellSelected);
        }
        return 0;
    });
    m.on(kMsgDenovoCandidateSelected, [this](const Message& msg) {
        const auto* record = msg.payloadAs<DenovoSelectionRecord>();
        if (!record || !doc_) return 0;
        doc_->SetDenovoSelection(record->first, record->second, record->text);
        doc_->UpdateAllViews(nullptr, kHintDenovoSelection);
        return 0;
    });
    m.on(kMsgPepmatchDone, [this](const Message&) {
        if (doc_) doc_->UpdateAllViews(nullptr, kHintFragmentIons);
        return 0;
    });
    m.on(kMsgXpressUpdated, [this](const Message& msg) {
        // A finished XPRESS pass brings its ratios; they are written into the records here, on
        // this thread, so no table reads a record while it changes.
        if (const auto* result = msg.payloadAs<XpressJobResult>(); result && doc_ && doc_->GetSorvexResults())
            ApplyXpressResult(*result, *doc_->GetSorvexResults());
        if (CurrentViewType() != 5 || !doc_) return 0;
        if (msg.lParam == 1) {
            doc_->SetXpressEntry(HitNumber(static_cast<int>(msg.wParam)));
            doc_->UpdateAllViews(nullptr, kHintSummaryCell);
        } else {
            doc_->UpdateAllViews(nullptr, kHintXpressColumn);
        }
        return 0;
    });
    m.on(kMsgDtaCount, [this](const Message& msg) {
        if (infoBar_) infoBar_->SetDtaCount(static_cast<int>(msg.wParam));
        return 0;
    });
    m.on(kMsgDtaListClear, [this](const Message&) {
        if (infoBar_) infoBar_->ClearDtaListPage();
        return 0;
    });
    m.on(kMsgDtaFileName, [this](const Message& msg) {
        const auto* name = msg.payloadAs<QString>();
        if (name && infoBar_) infoBar_->SetDtaList(static_cast<int>(msg.lParam), *name);
        return 0;
    });
    m.on(kMsgDtaSearchTime, [this](const Message& msg) {
        if (infoBar_) infoBar_->SetDtaInfo(static_cast<int>(msg.lParam), static_cast<double>(msg.wParam));
        return 0;
    });
    m.on(kMsgSequenceChanged, [this](const Message&) {
        if (CurrentViewType() == 9 && doc_) doc_->UpdateAllViews(nullptr, kHintPepmapSequence);
        return 0;
    });
    m.on(kMsgPepmapChanged, [this](const Message&) {
        if (CurrentViewType() == 9 && doc_) doc_->UpdateAllViews(nullptr, kHintPepmapPeptides);
        return 0;
    });
    m.on(kMsgZarmassInfo, [this](const Message& msg) {
        const double value = static_cast<double>(static_cast<std::uint64_t>(msg.wParam)) * 0.01;
        if (infoBar_) infoBar_->SetZarmassInfo(static_cast<int>(msg.lParam), value);
        return 0;
    });
    m.on(kMsgZarmassResults, [this](const Message& msg) {
        if (infoBar_) infoBar_->SetZarmassResults(static_cast<int>(msg.lParam), static_cast<int>(msg.wParam));
        return 0;
    });
    m.on(kMsgZarmassClear, [this](const Message&) {
        if (infoBar_) infoBar_->ClearZarmassPage();
        return 0;
    });
    m.on(kMsgUserTracesChanged, [this](const Message&) {
        ResetInfoBar();
        OnChooseView(1, false);
        if (doc_ && doc_->GetSorvexResults()) doc_->GetSorvexResults()->FreeResults();
        return 0;
    });
    const RegisteredMessages& r = ProgramMessages();
    for (unsigned msg : {r.databaseSize, r.dravelMSProgress, r.dravelMSnProgress, r.massmapProgress, r.sorvexProgress})
        m.on(msg, [](const Message&) { return 0; });
}

bool CMainFrame::event(QEvent* e) {
    if (messages_.handleEvent(e)) {
        UpdateCommandUI();
        return true;
    }
    return QMainWindow::event(e);
}

namespace {

// The first local file among dropped items; empty when none is one.
QString droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return QString();
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) return url.toLocalFile();
    return QString();
}

}  // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* e) {
    if (!droppedFile(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* e) {
    // One run at a time: the first file dropped is opened.
    const QString path = droppedFile(e->mimeData());
    if (path.isEmpty() || !doc_) return;
    e->acceptProposedAction();
    activateWindow();
    OpenRun(path);
    UpdateCommandUI();
}

bool CMainFrame::RestorePlacement() {
    const RegKey key(RegRoot::CurrentUser, QString::fromLatin1(kSettingsKey), false);
    QByteArray placement;
    if (!key.isValid() || !key.readBinary(QString::fromLatin1(kPlacementValue), placement))
        return false;
    // Qt moves a window whose screen has gone back onto one that is there.
    return restoreGeometry(placement);
}

void CMainFrame::SavePlacement() const {
    RegKey key(RegRoot::CurrentUser, QString::fromLatin1(kSettingsKey), true);
    if (key.isValid()) key.writeBinary(QString::fromLatin1(kPlacementValue), saveGeometry());
}

void CMainFrame::closeEvent(QCloseEvent* e) {
    SavePlacement();
    delete statusDialog_.data();
    QMainWindow::closeEvent(e);
}

}  // namespace zar
