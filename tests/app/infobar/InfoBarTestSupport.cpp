#include "InfoBarTestSupport.h"

#include "tools/demo/DemoRun.h"
#include "tools/demo/DemoWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

using namespace zar;

namespace infobartest {

FrameWithBar::FrameWithBar() { make(); }

FrameWithBar::~FrameWithBar() {
    frame_.reset();
    doc_.reset();
}

void FrameWithBar::make() {
    if (!doc_) doc_ = std::make_unique<CZarDoc>();
    frame_ = std::make_unique<CMainFrame>(doc_.get());
    frame_->resize(1000, 700);
    bar_ = CreateInfoBar(*frame_);
    frame_->show();
    doc_->OnNewDocument();
    (void)QTest::qWaitForWindowExposed(frame_.get());
    QCoreApplication::processEvents();
}

void FrameWithBar::Restart() {
    frame_.reset();
    make();
}

RunSpectrum Spectrum(int scan, int level, double minutes, std::vector<double> precursors) {
    RunSpectrum s;
    s.scanNumber = scan;
    s.msLevel = level;
    s.retentionTime = minutes;
    s.windowLow = 100.0;
    s.windowHigh = 2000.0;
    for (double mz : precursors) {
        RunPrecursor p;
        p.mz = mz;
        p.charge = 2;
        s.precursors.push_back(p);
    }
    // A few peaks, enough for the readers.
    s.mz = {150.1, 250.2, 350.3, 450.4, 550.5, 650.6};
    s.intensity = {100.0, 300.0, 200.0, 500.0, 250.0, 150.0};
    return s;
}

QString WriteRun(const QString& dir, const QString& name, const std::vector<RunSpectrum>& spectra) {
    const QString path = QDir(dir).filePath(name);
    QString error;
    if (!WriteRunFile(path, static_cast<int>(spectra.size()), [&](int i) { return spectra[static_cast<size_t>(i)]; },
                      error))
        return QString();
    return path;
}

namespace {

struct DemoData {
    QTemporaryDir dir;
    DemoRun run;
    QString folder;
    QString failure;
};

DemoData& demoData() {
    static DemoData data;
    static bool made = false;
    if (!made) {
        made = true;
        // A shorter run than the shipped one: the same kinds of scans in less time.
        DemoSettings settings;
        settings.runMinutes = 9.0;
        settings.firstElution = 1.0;
        settings.lastElution = 8.0;
        settings.intactMinutes = 8.6;
        data.run = MakeDemoRun(settings);
        const QString target = data.dir.filePath(QStringLiteral("demo"));
        if (WriteDemoFolder(target, data.run, false, data.failure)) data.folder = target;
    }
    return data;
}

}  // namespace

QString DemoFolder(QString* error) {
    DemoData& data = demoData();
    if (error) *error = data.failure;
    return data.folder;
}

const DemoRun& DemoRunData() { return demoData().run; }

void SendMouse(QWidget* widget, int type, const QPoint& pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(static_cast<QEvent::Type>(type), QPointF(pos), QPointF(widget->mapToGlobal(pos)), button,
                      buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
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

}  // namespace infobartest
