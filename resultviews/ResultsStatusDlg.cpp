#include "ResultsStatusDlg.h"

#include "controls/StatusWindow.h"
#include "document/MassmapResults.h"
#include "document/MultiConsensusResults.h"
#include "document/SorvexResults.h"
#include "document/ZarMessages.h"
#include "document/hub/ZarDoc.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
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
    : QDialog(parent), job_(job), set_(set), owner_(owner) {
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
    cancelled_.store(true);
    if (set_) set_->Cancel();
    if (worker_.joinable()) worker_.join();
    if (set_) {
        set_->SetStatusCallback({});
        set_->SetProgressCallback({});
    }
    auto& live = LiveDialogs();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

CSearchResults* ReadyResultsOfKind(int kind) {
    CZarDoc* doc = CZarDoc::GetDoc();
    CSearchResults* set = doc ? doc->GetResultsOfKind(kind) : nullptr;
    return CResultsStatusDlg::IsLoading(set) ? nullptr : set;
}

bool CResultsStatusDlg::IsLoading(const CSearchResults* set) {
    for (const CResultsStatusDlg* dialog : LiveDialogs())
        if (dialog->set_ == set && !dialog->jobDone_.load()) return true;
    return false;
}

void CResultsStatusDlg::Create() {
    show();
    if (worker_.joinable() || !set_) return;
    status_->clear();
    progress_->setValue(0);
    // The set reports through posted messages: the worker never touches a widget.
    // The destructor joins the worker before the object goes, so posting to this is safe.
    set_->SetStatusCallback(
        [this](const QString& text) { PostMessage(this, kMsgStatusText, 0, 0, text); });
    set_->SetProgressCallback(
        [this](int percent) { PostMessage(this, kMsgProgress, static_cast<WPARAM>(percent)); });
    // The Dta files list follows the folder of one run; the combined folders are not one.
    set_->SetNotifyTarget(job_ == Job::Consensus ? nullptr : owner_);
    worker_ = std::thread([this] { run(); });
}

void CResultsStatusDlg::run() {
    bool ok = set_->Initialize();
    // Initialize clears the set's cancel flag: a Cancel pressed before it must still count.
    if (cancelled_.load()) set_->Cancel();
    unsigned success = 0;
    if (ok && !cancelled_.load()) {
        switch (job_) {
            case Job::Sorvex:
                ok = static_cast<CSorvexResults*>(set_)->ReadResults(resultsFolder_);
                success = kMsgSorvexResultsLoaded;
                break;
            case Job::Massmap:
                ok = static_cast<CMassmapResults*>(set_)->ReadResults(QString());
                success = kMsgMassmapResultsLoaded;
                break;
            case Job::Consensus:
                ok = static_cast<CMultiConsensusResults*>(set_)->CalculateConsensusScores();
                success = kMsgMultipleResultsLoaded;
                break;
        }
    } else {
        ok = false;
    }
    jobDone_.store(true);
    if (ok && !cancelled_.load()) PostMessage(owner_, success);
    PostMessage(owner_, kMsgResultsLoadEnded);
}

void CResultsStatusDlg::reject() {
    cancelled_.store(true);
    if (set_) set_->Cancel();
    QDialog::reject();  // closes the window; the owner deletes the object on 0x40A1
}

bool CResultsStatusDlg::event(QEvent* e) {
    if (messages_.handleEvent(e)) return true;
    return QDialog::event(e);
}

}  // namespace zar
