#include "ZarmassTransformWorker.h"

#include "messages/Messages.h"

#include <utility>

namespace zar {

CZarmassTransformWorker::CZarmassTransformWorker(QObject* owner) : owner_(owner) {}

CZarmassTransformWorker::~CZarmassTransformWorker() {
    Cancel();
    Wait();
}

bool CZarmassTransformWorker::Start(ZarmassTransformJob job) {
    if (running_.load()) return false;
    Wait();  // the previous thread has posted everything; join it
    stop_.store(false);
    running_.store(true);
    thread_ = std::thread([this, job = std::move(job)] { Run(job); });
    return true;
}

void CZarmassTransformWorker::Cancel() {
    stop_.store(true);
}

void CZarmassTransformWorker::Wait() {
    if (thread_.joinable()) thread_.join();
}

void CZarmassTransformWorker::Run(const ZarmassTransformJob& job) {
    ZarmassTransformResult result = RunZarmassTransform(
        job, &stop_, [this](int percent) { PostMessage(owner_, kMsgZarmassProgress, 1, percent); });
    if (!result.cancelled) PostMessage(owner_, kMsgZarmassProgress, 1, 100);
    PostMessage(owner_, kMsgZarmassProgress, 0, 0);
    const unsigned done = job.kind == ZarmassTransformKind::Selected ? kMsgZarmassSelectedDone
                                                                     : kMsgZarmassTransformDone;
    // Not running any more by the time the owner reads the result, so it may start the next.
    running_.store(false);
    PostMessage(owner_, done, 0, 0, std::move(result));
}

}  // namespace zar
