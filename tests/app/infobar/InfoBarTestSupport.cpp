#include "InfoBarTestSupport.h"

#include "SplitterViews.h"
#include "ViewFactory.h"
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

namespace {

// A pane of a layout whose view belongs to another folder or is not built yet.
class StandInPane : public CZarViewWidget {
  public:
    explicit StandInPane(const char* name) : name_(name) {}
    const char* ViewClassName() const override { return name_; }

  private:
    const char* name_;
};

void RegisterPanesOf(const SplitterLayout* layout) {
    if (!layout) return;
    for (const SplitterPane& pane : layout->panes) {
        const QString cls = QString::fromLatin1(pane.viewClass);
        if (const SplitterLayout* nested = LayoutByClassName(cls)) {
            RegisterPanesOf(nested);
        } else if (!IsViewClassRegistered(cls)) {
            const char* name = pane.viewClass;
            RegisterViewClass(cls, [name](QWidget*) { return new StandInPane(name); });
        }
    }
}

}  // namespace

FrameWithBar::FrameWithBar() { make(); }

FrameWithBar::~FrameWithBar() {
    frame_.reset();
    doc_.reset();
}

void FrameWithBar::make() {
    if (!doc_) doc_ = std::make_unique<CZarDoc>();
    // The frame refuses layouts with missing panes: every pane the bar's pages lead to exists.
    for (int type : {1, 5, 6, 7, 8, 9, 10, 11}) RegisterPanesOf(LayoutForViewType(type));
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
