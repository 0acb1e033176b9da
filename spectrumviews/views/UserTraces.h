#pragma once
// The user's traces of the open run: reading their chromatograms into the results' user
// results and trace layout, the scan time a click on a trace stands for, and the plot types
// each detector offers.

#include "fileio/VXChro.h"
#include "fileio/VXResults.h"

#include <QString>

#include <vector>

namespace zar {

class CZarDoc;

// Reads the chromatogram of every enabled, non-empty definition (the defaults when there are
// none) from the document's run into the results' user results, and lays the traces out:
// display slots and traces per page min(count, 2), slot k showing trace k, trace 0 current.
// Traces of detectors the run does not hold have no points. False without an open run.
bool ReadUserTraces(CZarDoc& doc);

// The scan time of a clicked time on a trace: snapped to the nearest point (ties to the
// earlier), less the trace's delay when its detector is not the mass spectrometer; -1.0 when
// the trace has no points.
double TraceScanTime(const CVXChro& chro, double clickedTime);
// Where the scan marker of a scan time is drawn on a trace (the delay added back).
double TraceMarkerTime(const CVXChro& chro, double scanTime);

// Plot types (trace types) that a detector offers, in combo order; empty for an unknown
// detector.
std::vector<int> TraceTypesOfDetector(int detectorType);
// The type chosen when the detector is chosen; -1 for an unknown detector.
int DefaultTraceTypeOfDetector(int detectorType);
// The trace type of a detector and combo index; -1 when the pair has none.
int TraceTypeAt(int detectorType, int index);
// Trace types that take mass (or wavelength) ranges.
bool TraceTypeTakesRanges(int traceType);

}  // namespace zar
