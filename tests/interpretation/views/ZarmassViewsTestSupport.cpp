#include "ZarmassViewsTestSupport.h"

#include "interpretation/views/RegisterZarmassViews.h"
#include "rawfile/RunFileWriter.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

using namespace zar;

namespace zarmassviewstest {

double IntactRun::Mz(int charge) const {
    return DemoMz(run.intactMass, charge);
}

const IntactRun& DemoIntactRun() {
    static QTemporaryDir dir;
    static IntactRun made = [] {
        IntactRun r;
        DemoSettings settings;
        settings.runMinutes = 1.5;
        settings.firstElution = 0.2;
        settings.lastElution = 1.2;
        settings.intactMinutes = 1.3;
        r.run = MakeDemoRun(settings);
        const QString path = dir.filePath(QStringLiteral("demo.mzML"));
        QString error;
        if (r.run.intactScan > 0 &&
            WriteRunFile(
                path, static_cast<int>(r.run.scans.size()),
                [&r](int i) { return r.run.scans[static_cast<size_t>(i)]; }, error))
            r.path = path;
        return r;
    }();
    return made;
}

bool SelectScan(CZarDoc& doc, int scan) {
    CVXResults* results = doc.GetCurrentResults();
    CVXUserResult* user = results ? results->GetCurrentUserResult() : nullptr;
    const double time = doc.ScanToRetentionTime(scan);
    if (!user || time <= 0.0) return false;
    user->currentScanPosition = time;
    return true;
}

ZarmassFrame::ZarmassFrame() {
    server_ = std::make_unique<viewstest::RegisteredPlotServer>();
    RegisterSpectrumViews();
    RegisterZarmassViews();
    doc_ = std::make_unique<CZarDoc>();
    frame_ = std::make_unique<CMainFrame>(doc_.get());
    frame_->resize(1100, 800);
    bar_ = CreateInfoBar(*frame_);
    frame_->show();
    const IntactRun& run = DemoIntactRun();
    ok_ = server_->ok() && bar_ && !run.path.isEmpty() && doc_->OnOpenDocument(run.path) &&
          SelectScan(*doc_, run.run.intactScan);
}

ZarmassFrame::~ZarmassFrame() {
    frame_.reset();
    doc_.reset();
    server_.reset();
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

}  // namespace zarmassviewstest
