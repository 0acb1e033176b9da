#pragma once
// What the de novo pane tests share: the plotting server registered into the test's own
// settings, the de novo and spectrum panes known to the layouts, and a main frame with its Info
// Bar; runs of the demo data set and of the real example data.

#include "InfoBarTestSupport.h"

#include "DenovoScatterView.h"
#include "DenovoSpecView.h"
#include "DenovoView.h"

#include "TestSupport.h"

#include <QString>

#include <memory>
#include <ostream>

namespace denovotest {

// Registers the plotting server and the panes, then makes the frame.
class DenovoFrame {
  public:
    DenovoFrame();
    ~DenovoFrame();

    zar::CZarDoc& doc() { return frame_->doc(); }
    zar::CMainFrame& frame() { return frame_->frame(); }
    zar::CInfoBar& bar() { return frame_->bar(); }
    zartest::MessageBoxCapture& boxes() { return boxes_; }

    // Opens a run as File > Open does; false when it cannot be read.
    bool Open(const QString& path);
    // Shows the de novo layout (View > Denovo Sequencing) and lets the events run.
    bool ShowLayout();
    // The panes of the shown de novo layout; null when it is not shown.
    zar::CDenovoView* CandidateView() const;
    zar::CDenovoScatterView* ScatterView() const;
    zar::CDenovoSpecView* SpecView() const;
    // Clicks the sequence cell of a grid row (1-based) and lets the posted messages arrive.
    void ClickSequence(int row);

  private:
    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
    std::unique_ptr<infobartest::FrameWithBar> frame_;
};

// The demo peptide the pane tests sequence, and the y ion of its MS3 experiment.
inline const QString kDemoPeptide = QStringLiteral("NECFLSHK");
constexpr int kDemoYIon = 6;

// Opens the demo run and clicks the MSn Browser row of the MS3 experiment on the y ion of the
// demo peptide, which hands its scans to the de novo loader; false (with a failure) when the
// demo data or the row is missing.
bool LoadDemoExperiment(DenovoFrame& f, const QString& peptide = kDemoPeptide,
                        int yIon = kDemoYIon);

// Lets posted messages and paints arrive.
void Settle();

// The sequence as the engine's alphabet spells it (I as L, Q as K).
QString AlphabetSpelling(QString sequence);

}  // namespace denovotest

// Texts in test messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
