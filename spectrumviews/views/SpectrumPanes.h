#pragma once
// What the spectrum panes share: the steps by which a pane hands its scan to a Spec control, in
// the control's order, the zoom commands on a spectrum's display record, the steps of their mass
// scroll bars and stepping through the scans of the current trace. The panes differ only in
// where their display record, peak annotations and axis titles come from.

#include "fileio/VXSpectrum.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QPainter;
class QWidget;

namespace zar {

class CSpec;
class CZarDoc;

// How a pane passes the scan filter: as the control's record (mass spectrometer), as none
// (PDA) or not at all (other detectors).
enum class SpectrumFilterPass { Record, Null, Skip };

struct SpectrumAxisTitles {
    QString x;
    QString yAbsolute;
    QString yRelative;
};

// The segment the display's zoom window falls in (-1 none). A window outside every segment
// clears the X zoom. The choice is stored in the display record.
int SelectDisplaySegment(const CVXSpec& spectrum, CVXSpecDisplay& display);

// The peak annotations; without infos the control's are cleared.
void SendSpectrumPeakInfos(CSpec& control, const std::vector<ZAR_PLOTLib::VXPlot_PeakInfo>& infos,
                           const std::uint32_t* colours, int colourCount);

// Segment sizes, mass ranges and peaks: all segments, or the selected one alone.
void SendSpectrumPeaks(CSpec& control, const CVXSpec& spectrum, int selectedSegment);

// File name, scan header and filter.
void SendSpectrumHeader(CSpec& control, const CVXSpec& spectrum, const QString& rawFilePath,
                        SpectrumFilterPass filter);

// The plotting style of the display record; automatic is stick for centroid scans of a mass
// spectrometer, profile for its other scans and for PDA spectra, stick otherwise.
void SendSpectrumStyle(CSpec& control, const CVXSpec& spectrum, const CVXSpecDisplay& display,
                       int detectorType);

// Axis titles, Y scale type and both axis limits.
void SendSpectrumAxes(CSpec& control, const CVXSpec& spectrum, const CVXSpecDisplay& display,
                      const SpectrumAxisTitles& titles);
void SendSpectrumXLimits(CSpec& control, const CVXSpec& spectrum, const CVXSpecDisplay& display);
void SendSpectrumYLimits(CSpec& control, const CVXSpec& spectrum, const CVXSpecDisplay& display);

// What a zoom command changed in a display record.
enum SpectrumZoomChange : int { kZoomChangedNothing = 0, kZoomChangedX = 1, kZoomChangedY = 2 };
// Runs one of the zoom commands (Zoom In/Out Y, Normalize, Zoom In/Out X, Display All, Reset
// Scaling) on the display record over the spectrum's full ranges; other ids change nothing.
int ApplySpectrumZoomCommand(int id, CVXSpecDisplay& display, const CVXSpec& spectrum,
                             double factor);

// The scroll bars of the spectrum panes run over 0..100 per cent of the full mass span, their
// page the share shown. The position a line or page step goes to: a line moves to the previous
// or next multiple of 10 (not below 0, not past 100 - page), a page by the page (within the
// bar's minimum and maximum).
enum class PercentScroll { LineBack, LineForward, PageBack, PageForward };
int PercentScrollTarget(PercentScroll step, int position, int page, int minimum, int maximum);

// The scan before (after) the current one on the current trace becomes current and the views
// are told (hint 2). Previous does nothing on the first point or with no scan picked; Next picks
// the first point when no scan is picked and does nothing on the last. False when nothing moved.
bool StepToPreviousScan(CZarDoc* doc);
bool StepToNextScan(CZarDoc* doc);
// Whether the step would move now: the scan commands are offered only then.
bool CanStepToPreviousScan(CZarDoc* doc);
bool CanStepToNextScan(CZarDoc* doc);
// The Previous Scan and Next Scan commands of a spectrum pane: whether an id is one, whether
// it may run (Previous with data shown, Next with a control, both only where they move), and
// running it (false for other ids).
bool IsScanStepCommand(int id);
bool IsScanStepEnabled(int id, CZarDoc* doc, bool dataShown, bool hasControl);
bool RunScanStepCommand(int id, CZarDoc* doc);

}  // namespace zar
