#pragma once
// What the Info Bar's tests share: a main frame with its Info Bar over a fresh settings folder,
// small runs written for a test, and the demo data set made once per run of the tests.

#include "InfoBar.h"
#include "MainFrame.h"
#include "ZarDoc.h"
#include "rawfile/RunFileWriter.h"
#include "tools/demo/DemoRun.h"

#include "TestSupport.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace infobartest {

// A frame with its Info Bar, shown, over the test's own settings.
class FrameWithBar {
  public:
    FrameWithBar();
    ~FrameWithBar();
    // Destroys the frame (the bar saves its sizes) and makes a new one, as a restart does.
    void Restart();

    zar::CZarDoc& doc() { return *doc_; }
    zar::CMainFrame& frame() { return *frame_; }
    zar::CInfoBar& bar() { return *bar_; }

  private:
    void make();
    std::unique_ptr<zar::CZarDoc> doc_;
    std::unique_ptr<zar::CMainFrame> frame_;
    zar::CInfoBar* bar_ = nullptr;
};

// Writes a run of the given spectra (scan numbers and times as given) into dir; its path.
QString WriteRun(const QString& dir, const QString& name, const std::vector<zar::RunSpectrum>& spectra);
// One spectrum: level 1, 2 or 3 at a time (minutes) with its precursors' m/z.
zar::RunSpectrum Spectrum(int scan, int level, double minutes, std::vector<double> precursors = {});

// The demo data set, made once: its folder (with "demo.mzML" and "results"), or an empty text
// after a failure (reported by the caller).
QString DemoFolder(QString* error = nullptr);
// What the demo data set was made from (valid once DemoFolder succeeded).
const zar::DemoRun& DemoRunData();

// Sends a mouse event to a widget (position in its coordinates).
void SendMouse(QWidget* widget, int type, const QPoint& pos, Qt::MouseButton button, Qt::MouseButtons buttons);
// Runs the event loop until the condition holds or the time is up; whether it holds.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = zartest::kWorkWaitMs);

}  // namespace infobartest
