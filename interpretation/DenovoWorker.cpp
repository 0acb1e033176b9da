#include "DenovoWorker.h"

#include "messages/Messages.h"

#include <QPointer>

#include <utility>

namespace zar {

CDenovoWorker::~CDenovoWorker() {
    Cancel();
    Wait();
}

void CDenovoWorker::Start(QObject* receiver, std::vector<DenovoScan> scans,
                          const DenovoParams& params, std::vector<DenovoResidue> residues,
                          long long workBudget) {
    Cancel();
    Wait();
    cancel_.store(false);
    running_.store(true);
    QPointer<QObject> target(receiver);
    thread_ = std::thread([this, target, scans = std::move(scans), params,
                           residues = std::move(residues), workBudget]() {
        DenovoResult result;
        CDenovoEngine& engine = result.engine;
        engine.InitParameters(params);
        engine.SetCancelFlag(&cancel_);
        engine.SetWorkBudget(workBudget);
        engine.LoadSpectra(scans, params, residues);
        if (!cancel_.load()) result.candidateCount = engine.FormatSequenceTable();
        engine.SetCancelFlag(nullptr);
        if (!cancel_.load() && target)
            PostMessage(target.data(), kMsgDenovoSpectraLoaded, 0, 0, std::move(result));
        running_.store(false);
    });
}

void CDenovoWorker::Cancel() {
    cancel_.store(true);
}

void CDenovoWorker::Wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace zar
