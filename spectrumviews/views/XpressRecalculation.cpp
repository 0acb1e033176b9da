#include "XpressRecalculation.h"

#include "core/Log.h"
#include "core/MessageBox.h"
#include "document/SorvexResults.h"
#include "document/ZarMessages.h"
#include "document/hub/ZarDoc.h"
#include "messages/Messages.h"
#include "resultviews/ResultsFormView.h"
#include "resultviews/ResultsStatusDlg.h"
#include "spectrumviews/XpressQuant.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace zar {

namespace {

// The worker's result, posted to the recalculation's own receiver.
constexpr unsigned kMsgRecalculationDone = WM_USER + 0x301;

const char* const kObjectName = "XpressRecalculation";

CXpressRecalculation*& Current() {
    static CXpressRecalculation* current = nullptr;
    return current;
}

CXpressRecalculation::HitObserver& Observer() {
    static CXpressRecalculation::HitObserver observer;
    return observer;
}

}  // namespace

void CXpressRecalculation::SetHitObserver(HitObserver observer) {
    Observer() = std::move(observer);
}

CXpressRecalculation& CXpressRecalculation::Of(QMainWindow& frame) {
    QStatusBar* bar = frame.statusBar();
    if (auto* existing = bar->findChild<CXpressRecalculation*>(QLatin1String(kObjectName)))
        return *existing;
    return *new CXpressRecalculation(frame);
}

bool CXpressRecalculation::IsRunning() {
    return Current() && Current()->busy_;
}

bool CXpressRecalculation::CanStart(const CZarDoc& doc) {
    if (IsRunning()) {
        ZarMessageBox(QStringLiteral("The XPRESS ratios are already being recalculated.\n"
                                     "Wait until the recalculation ends, or cancel it in the "
                                     "status bar."),
                      MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (CResultsStatusDlg::IsLoading(doc.GetSorvexResults())) {
        ZarMessageBox(QStringLiteral("The XPRESS ratios cannot be recalculated while the search "
                                     "results are being read."),
                      MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return true;
}

CXpressRecalculation::CXpressRecalculation(QMainWindow& frame)
    : QWidget(frame.statusBar()),
      frame_(frame),
      text_(new QLabel(QStringLiteral("Calculating Xpress ratios..."), this)),
      progress_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      timer_(new QTimer(this)),
      receiver_(new MessageReceiver(this)) {
    setObjectName(QLatin1String(kObjectName));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
    layout->addWidget(progress_);
    layout->addWidget(cancel_);
    progress_->setRange(0, 100);
    progress_->setFixedWidth(160);
    cancel_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    cancel_->setToolTip(QStringLiteral("Stop recalculating the XPRESS ratios"));
    frame.statusBar()->addPermanentWidget(this);
    hide();
    connect(cancel_, &QPushButton::clicked, this, &CXpressRecalculation::Cancel);
    timer_->setInterval(kProgressIntervalMs);
    connect(timer_, &QTimer::timeout, this, &CXpressRecalculation::showProgress);
    receiver_->messageMap().on(kMsgRecalculationDone, [this](const Message& m) -> LRESULT {
        if (const auto* result = m.payloadAs<XpressJobResult>()) takeResult(*result);
        return 0;
    });
    if (!Current()) Current() = this;
}

CXpressRecalculation::~CXpressRecalculation() {
    worker_.Cancel();
    worker_.Wait();
    if (Current() == this) Current() = nullptr;
}

bool CXpressRecalculation::Start(CZarDoc& doc) {
    if (!CanStart(doc)) return false;
    CSorvexResults* set = doc.GetSorvexResults();
    if (!set) return false;
    XpressJob job = MakeRatioPassJob(*set, doc.GetXpressSettings(), receiver_);
    job.message = kMsgRecalculationDone;
    if (HitObserver observer = Observer()) {
        job.onHit = [this, observer](int processed, int count) {
            if (!observer(processed, count)) worker_.Cancel();
        };
    }
    if (!worker_.Start(std::move(job))) return false;
    Current() = this;
    busy_ = true;
    progress_->setValue(0);
    cancel_->setEnabled(true);
    show();
    timer_->start();
    return true;
}

void CXpressRecalculation::Cancel() {
    if (!busy_) return;
    worker_.Cancel();
    cancel_->setEnabled(false);
}

void CXpressRecalculation::showProgress() {
    progress_->setValue(worker_.Progress());
}

void CXpressRecalculation::takeResult(const XpressJobResult& result) {
    worker_.Wait();
    timer_->stop();
    busy_ = false;
    hide();
    CZarDoc* doc = CZarDoc::GetDoc();
    CSorvexResults* set = doc ? doc->GetSorvexResults() : nullptr;
    // Ratios already computed stay when the pass was cancelled; the others keep their values.
    if (set && !CResultsStatusDlg::IsLoading(set)) {
        const int written = ApplyXpressResult(result, *set);
        LogLine(QStringLiteral("XPRESS ratios recalculated for %1 of %2 hits%3")
                    .arg(written)
                    .arg(result.hits.size())
                    .arg(result.cancelled ? QStringLiteral(" (cancelled)") : QString()));
    }
    if (result.finished && result.opened)
        frame_.statusBar()->showMessage(QStringLiteral("Finished!"), kFinishedMessageMs);
    // The summary table shows the new ratios.
    PostMessage(&frame_, kMsgXpressUpdated, 0, 0);
}

bool CXpressRecalculation::WaitUntilIdle(int milliseconds) {
    return ProcessEventsWhile([this] { return busy_; }, milliseconds);
}

}  // namespace zar
