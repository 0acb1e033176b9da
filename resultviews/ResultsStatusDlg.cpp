#include "ResultsStatusDlg.h"

#include "controls/StatusWindow.h"
#include "document/MassmapResults.h"
#include "document/MultiConsensusResults.h"
#include "document/SorvexResults.h"
#include "document/ZarMessages.h"
#include "core/Log.h"
#include "document/hub/ZarDoc.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <vector>

namespace zar {
namespace {

// The worker's reports to its own window.
constexpr unsigned kMsgStatusText = WM_USER + 1;  // payload QString
constexpr unsigned kMsgProgress = WM_USER + 2;    // wParam percent

// Live dialogs (user-interface thread only).
std::vector<CResultsStatusDlg*>& LiveDialogs() {
    static std::vector<CResultsStatusDlg*> dialogs;
    return dialogs;
}

}  // namespace

CResultsStatusDlg::CResultsStatusDlg(CSorvexResults* set, QObject* owner, QWidget* parent)
    : CResultsStatusDlg(Job::Sorvex, set, owner, parent) {}
CResultsStatusDlg::CResultsStatusDlg(CMassmapResults* set, QObject* owner, QWidget* parent)
    : CResultsStatusDlg(Job::Massmap, set, owner, parent) {}
CResultsStatusDlg::CResultsStatusDlg(CMultiConsensusResults* set, QObject* owner, QWidget* parent)
    : CResultsStatusDlg(Job::Consensus, set, owner, parent) {}

CResultsStatusDlg::CResultsStatusDlg(Job job, CSearchResults* set, QObject* owner, QWidget* parent)
    : QDialog(parent),
      job_(job),
      set_(set),
      owner_(owner),
      worker_(std::make_shared<WorkerState>()) {
    worker_->window = this;
    worker_->owner = owner;
    const StatusWindowParts parts =
        BuildStatusWindow(*this, QStringLiteral("TurboSORVEX Results Status"));
    status_ = parts.status;
    progress_ = parts.progress;
    cancel_ = parts.cancel;

    messages_.on(kMsgStatusText, [this](const Message& m) {
        if (const QString* text = m.payloadAs<QString>()) status_->setText(*text);
        return 0;
    });
    messages_.on(kMsgProgress, [this](const Message& m) {
        progress_->setValue(std::clamp(static_cast<int>(m.wParam), 0, 100));
        return 0;
    });
    LiveDialogs().push_back(this);
}

CResultsStatusDlg::~CResultsStatusDlg() {
    worker_->cancelled.store(true);
    if (set_) set_->Cancel();
    bool returned = true;
    {
        std::unique_lock<std::mutex> lock(worker_->lock);
        if (thread_.joinable())
            returned = worker_->ended.wait_for(lock, std::chrono::milliseconds(kStuckWorkerWaitMs),
                                               [this] { return worker_->returned; });
        // From here on the worker reports to no one.
        worker_->window = nullptr;
        worker_->owner = nullptr;
    }
    if (returned) {
        if (thread_.joinable()) thread_.join();
        if (set_) {
            set_->SetStatusCallback({});
            set_->SetProgressCallback({});
        }
    } else {
        // Its callbacks hold only the shared state, so they may stay with the set.
        LogLine(QStringLiteral("A results load did not end when cancelled; it is left behind"));
        thread_.detach();
    }
    auto& live = LiveDialogs();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void CResultsStatusDlg::WorkerState::post(bool toWindow, unsigned message, WPARAM wParam,
                                          LPARAM lParam, const QString* text) {
    std::lock_guard<std::mutex> guard(lock);
    QObject* target = toWindow ? window : owner;
    if (!target) return;
    if (text)
        PostMessage(target, message, wParam, lParam, *text);
    else
        PostMessage(target, message, wParam, lParam);
}

CSearchResults* ReadyResultsOfKind(int kind) {
    CZarDoc* doc = CZarDoc::GetDoc();
    CSearchResults* set = doc ? doc->GetResultsOfKind(kind) : nullptr;
    return CResultsStatusDlg::IsLoading(set) ? nullptr : set;
}

bool CResultsStatusDlg::IsLoading(const CSearchResults* set) {
    for (const CResultsStatusDlg* dialog : LiveDialogs())
        if (dialog->set_ == set && !dialog->worker_->done.load()) return true;
    return false;
}

void CResultsStatusDlg::Create() {
    show();
    if (thread_.joinable() || !set_) return;
    status_->clear();
    progress_->setValue(0);
    // The set reports through posted messages: the worker never touches a widget.
    const std::shared_ptr<WorkerState> state = worker_;
    set_->SetStatusCallback(
        [state](const QString& text) { state->post(true, kMsgStatusText, 0, 0, &text); });
    set_->SetProgressCallback(
        [state](int percent) { state->post(true, kMsgProgress, static_cast<WPARAM>(percent)); });
    // The Dta files list follows the folder of one run; the combined folders are not one.
    set_->SetNotifyTarget(job_ == Job::Consensus ? nullptr : owner_);
    thread_ = std::thread(&CResultsStatusDlg::Run, state, job_, set_, resultsFolder_);
}

void CResultsStatusDlg::Run(const std::shared_ptr<WorkerState>& state, Job job,
                            CSearchResults* set, const QString& folder) {
    bool ok = set->Initialize();
    // Initialize clears the set's cancel flag: a Cancel pressed before it must still count.
    if (state->cancelled.load()) set->Cancel();
    unsigned success = 0;
    if (ok && !state->cancelled.load()) {
        switch (job) {
            case Job::Sorvex:
                ok = static_cast<CSorvexResults*>(set)->ReadResults(folder);
                success = kMsgSorvexResultsLoaded;
                break;
            case Job::Massmap:
                ok = static_cast<CMassmapResults*>(set)->ReadResults(QString());
                success = kMsgMassmapResultsLoaded;
                break;
            case Job::Consensus:
                ok = static_cast<CMultiConsensusResults*>(set)->CalculateConsensusScores();
                success = kMsgMultipleResultsLoaded;
                break;
        }
    } else {
        ok = false;
    }
    state->done.store(true);
    if (ok && !state->cancelled.load()) state->post(false, success);
    state->post(false, kMsgResultsLoadEnded);
    std::lock_guard<std::mutex> guard(state->lock);
    state->returned = true;
    state->ended.notify_all();
}

void CResultsStatusDlg::reject() {
    worker_->cancelled.store(true);
    if (set_) set_->Cancel();
    QDialog::reject();  // closes the window; the owner deletes the object on 0x40A1
}

bool CResultsStatusDlg::event(QEvent* e) {
    if (messages_.handleEvent(e)) return true;
    return QDialog::event(e);
}

}  // namespace zar
