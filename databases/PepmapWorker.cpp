#include "PepmapWorker.h"

#include "core/MessageBox.h"

namespace zar {
namespace {

// Hands everything the run reports to the progress window's thread.
class PostingProgress : public PepmapProgress {
  public:
    explicit PostingProgress(QObject* window) : window_(window) {}
    void setStatusText(const QString& text) override {
        PostMessage(window_, kPepmapStatusTextMessage, 0, 0, text);
    }
    void setProgress(int position) override {
        PostMessage(window_, kPepmapProgressMessage, static_cast<WPARAM>(position), 0);
    }
    // Posted rather than shown from here: a box waiting on the user-interface thread while
    // that thread waits for this worker would hang both.
    void showMessage(const QString& text) override {
        PostMessage(window_, PepmapMessageBoxMessage(), 0, 0, text);
    }

  private:
    QObject* window_;
};

}  // namespace

unsigned PepmapMessageBoxMessage() {
    static const unsigned number = RegisterWindowMessage(QStringLiteral("ZAR_PEPMAP_MESSAGEBOX"));
    return number;
}

CPepmapWorker::CPepmapWorker(PepmapRunRequest request, std::unique_ptr<PepmapSpectrumSource> source,
                             QObject* progressWindow)
    : request_(std::move(request)), source_(std::move(source)), window_(progressWindow) {}

CPepmapWorker::~CPepmapWorker() {
    Cancel();
    Wait();
}

void CPepmapWorker::Start() {
    if (thread_.joinable() || finished_) return;
    PepmapMessageBoxMessage();  // registered before the thread needs it
    thread_ = std::thread([this] { run(); });
}

void CPepmapWorker::Wait() {
    if (thread_.joinable()) thread_.join();
}

void CPepmapWorker::run() {
    PostingProgress progress(window_);
    if (source_) {
        std::optional<PepmapRunResult> result = RunPepmapJob(request_, *source_, cancel_, progress);
        if (result && !cancel_)
            PostMessage(window_, kMsgPepmapChanged, 0, 0,
                        std::make_shared<PepmapRunResult>(std::move(*result)));
    }
    finished_ = true;
}

void RoutePepmapWorkerMessages(MessageMap& map, CPepmapEngine& engine, QObject* mainWindow,
                               PepmapStatusCallbacks callbacks) {
    map.on(kPepmapStatusTextMessage, [cb = callbacks.setStatusText](const Message& m) {
        if (const QString* text = m.payloadAs<QString>(); text && cb) cb(*text);
        return LRESULT(0);
    });
    map.on(kPepmapProgressMessage, [cb = callbacks.setProgress](const Message& m) {
        if (cb) cb(static_cast<int>(m.wParam));
        return LRESULT(0);
    });
    map.on(PepmapMessageBoxMessage(), [](const Message& m) {
        if (const QString* text = m.payloadAs<QString>()) ZarMessageBox(*text);
        return LRESULT(0);
    });
    map.on(kMsgPepmapChanged, [&engine, mainWindow](const Message& m) {
        if (const PepmapRunResultPtr* result = m.payloadAs<PepmapRunResultPtr>();
            result && *result) {
            engine.AdoptRunResult(std::move(**result));
            PostMessage(mainWindow, kMsgPepmapChanged, 0, 0);
        }
        return LRESULT(0);
    });
}

}  // namespace zar
