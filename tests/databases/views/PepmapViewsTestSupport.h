#pragma once
// What the Pepmap layout tests share: the demo run written once, a main window with the
// spectrum panes and the Pepmap pane registered, and waiting for the event loop.

#include "databases/views/PepmapView.h"

#include "MainFrame.h"
#include "ZarDoc.h"
#include "tools/demo/DemoProteins.h"
#include "tools/demo/DemoRun.h"

#include "ViewsTestSupport.h"

#include <QString>

#include <functional>
#include <memory>

namespace pepmapviewtest {

// The demo run's file, made once per test run; empty after a failure.
QString DemoRunPath();
const zar::DemoRun& DemoRunData();
// The sequence of a target of the demo sample by its reference.
QString DemoProteinSequence(const char* reference);

// Runs the event loop until the condition holds or the time is up; whether it holds.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = zartest::kWorkWaitMs);

// A main window over a document with the demo run open, the plotting server registered in a
// settings folder of the window's own.
class PepmapWindow {
  public:
    PepmapWindow();
    ~PepmapWindow();
    // Shows the Pepmap layout; its Pepmap pane, or null.
    zar::CPepmapView* ShowPepmapLayout();
    // Update... and the wait for the run's table; whether it came.
    bool RunPepmap(zar::CPepmapView& view);

    zar::CZarDoc& doc() { return *doc_; }
    zar::CMainFrame& frame() { return *frame_; }
    zar::CPepmapEngine& engine() { return *doc_->GetPepmapEngine(); }

  private:
    viewstest::RegisteredPlotServer server_;
    std::unique_ptr<zar::CZarDoc> doc_;
    std::unique_ptr<zar::CMainFrame> frame_;
};

}  // namespace pepmapviewtest
