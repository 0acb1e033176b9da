#include "ZarmassSpecView.h"

#include "ZarDoc.h"
#include "app/ZarmassSheetTarget.h"
#include "document/TextHelpers.h"
#include "document/UpdateHints.h"
#include "interpretation/ZarmassTransform.h"
#include "plotwrappers/PlotWrappers.h"
#include "spectrumviews/views/PaneSupport.h"

namespace zar {

using namespace ZAR_PLOTLib;

CZarmassSpecView::CZarmassSpecView(QWidget* parent)
    : CZarmassPlotView(QStringLiteral("Click on a chromatogram to select a scan."), parent) {
    setObjectName(QStringLiteral("CZarmassSpecView"));
}

bool CZarmassSpecView::RebuildsOn(int hint) const {
    return hint == kHintScanRange || hint == kHintRefillResults || hint == kHintDisplaySettings ||
           hint == kHintZarmassLayout || hint == kHintDeconvolution;
}

bool CZarmassSpecView::FillSpectrum(CVXSpec& spectrum) {
    CZarDoc* doc = GetDocument();
    const CZarmassTransform* engine = doc ? doc->GetZarmassTransform() : nullptr;
    if (!engine || engine->GetInputPeaks().empty()) return false;
    TakePeaks(spectrum, engine->GetInputPeaks());
    CVXSpectrumHeaderData& h = spectrum.header.data;
    h.dRT = engine->GetScanTime();
    h.nScanNumber = engine->GetScanNumber();
    int first = 0, last = 0;
    doc->GetSelection(first, last);
    if (last > first) {
        h.bScanRangeValid = 1;
        h.nNumScansAveraged = last - first + 1;
        h.nFirstScanNumber = first;
        h.nLastScanNumber = last;
        h.dStartRT = doc->ScanToRetentionTime(first);
        h.dEndRT = doc->ScanToRetentionTime(last);
    }
    spectrum.filter.FilterString(engine->GetFilterText());
    return true;
}

void CZarmassSpecView::SendLabels(CSpec& c) {
    SendZarmassLabels(c, GetDocument(), Spectrum().peaks);
}

void CZarmassSpecView::OnSpecLButtonUp(bool, double mass, double) {
    const int i = MostIntensePeakWithin(mass, kPickHalfWidth);
    if (i < 0) return;
    const CVXDataPeak& peak = Spectrum().peaks[static_cast<std::size_t>(i)];
    if (CZarmassSheetTarget* sheet = OpenZarmassSheet(); sheet && sheet->IsCalculationPageActive())
        sheet->SetSelectedMass(peak.dPosition);
    emit peakPicked(peak.dPosition, peak.dIntensity);
}

void CZarmassSpecView::OnMassRangeShown(double low, double high) {
    if (CZarmassSheetTarget* sheet = OpenZarmassSheet())
        sheet->SetTrackedMassRange(RoundTo001(low), RoundTo001(high));
    if (Control()) SendLabels(*Control());
}

}  // namespace zar
