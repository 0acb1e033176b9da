#include "PepmapStatusDlg.h"

#include "controls/StatusWindow.h"
#include "MainFrame.h"
#include "ZarDoc.h"
#include "databases/PepmapRawFileSource.h"
#include "databases/PepmapWorker.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zar {

CPepmapStatusDlg::CPepmapStatusDlg(QWidget* parent) : QDialog(parent) {
    const StatusWindowParts parts = BuildStatusWindow(*this, QStringLiteral("Pepmap Status"));
    status_ = parts.status;
    progress_ = parts.progress;
    cancel_ = parts.cancel;
}

CPepmapStatusDlg::~CPepmapStatusDlg() {
    cancelled_ = true;
    worker_.reset();  // cancels the run and waits for its thread
}

bool CPepmapStatusDlg::IsRunFinished() const {
    return worker_ && worker_->IsFinished();
}

void CPepmapStatusDlg::Create() {
    show();
    if (worker_) return;
    CZarDoc* doc = CZarDoc::GetDoc();
    CPepmapEngine* engine = doc ? doc->GetPepmapEngine() : nullptr;
    if (!engine) return;
    status_->clear();
    progress_->setValue(0);
    cancelled_ = false;
    RoutePepmapWorkerMessages(
        messages_, *engine, CMainFrame::GetMainFrame(),
        {[this](const QString& text) { status_->setText(text); },
         [this](int position) { progress_->setValue(std::clamp(position, 0, 100)); }});
    // The worker reads the run through a reader of its own and works on copies of the sequence
    // and the engine's options; the engine's list is replaced only on this thread.
    worker_ = std::make_unique<CPepmapWorker>(
        engine->MakeRunRequest(doc->GetSequence(), doc->GetRawFilePath()),
        std::make_unique<PepmapRawFileSource>(), this);
    worker_->Start();
}

void CPepmapStatusDlg::reject() {
    cancelled_ = true;
    if (worker_) worker_->Cancel();
    QDialog::reject();
}

bool CPepmapStatusDlg::event(QEvent* e) {
    if (e->type() == MessageEvent::eventType() &&
        static_cast<MessageEvent*>(e)->message() == kMsgPepmapChanged) {
        // A run finished just before Cancel still leaves the engine's list alone.
        if (cancelled_) return true;
        handedOver_ = true;
    }
    if (messages_.handleEvent(e)) return true;
    return QDialog::event(e);
}

}  // namespace zar
