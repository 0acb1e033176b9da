#pragma once
// What the deconvolution window tests share: a short demo run with its intact-protein scan
// (written once per test run), a main frame with its Info Bar and every pane registered over
// the test's own settings, picking the document's current scan, and waiting for posted work.

#include "InfoBar.h"
#include "MainFrame.h"
#include "ZarDoc.h"
#include "tools/demo/DemoRun.h"

#include "ViewsTestSupport.h"

#include <QString>

#include <functional>
#include <memory>

namespace zarmassviewstest {

// A demo run of the same kinds of scans in less time; its intact scan holds myoglobin at
// charges 12 to 22.
struct IntactRun {
    QString path;  // empty when it could not be written
    zar::DemoRun run;
    // m/z of the protein at a charge, as the generator put it.
    double Mz(int charge) const;
};
const IntactRun& DemoIntactRun();

// The document's current scan becomes this one; false when the run has no such scan.
bool SelectScan(zar::CZarDoc& doc, int scan);

// The plotting server, a document with the intact run open, a shown main frame with its Info
// Bar, the spectrum and deconvolution panes registered.
class ZarmassFrame {
  public:
    ZarmassFrame();
    ~ZarmassFrame();
    bool ok() const { return ok_; }
    zar::CZarDoc& doc() { return *doc_; }
    zar::CMainFrame& frame() { return *frame_; }
    zar::CInfoBar* bar() { return bar_; }

  private:
    std::unique_ptr<viewstest::RegisteredPlotServer> server_;
    std::unique_ptr<zar::CZarDoc> doc_;
    std::unique_ptr<zar::CMainFrame> frame_;
    zar::CInfoBar* bar_ = nullptr;
    bool ok_ = false;
};

// Runs the event loop until the condition holds or the time is up; whether it holds.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = zartest::kWorkWaitMs);

}  // namespace zarmassviewstest
