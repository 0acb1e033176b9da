#include "ZarmassDeconvView.h"

#include "ZarDoc.h"
#include "app/ZarmassSheetTarget.h"
#include "document/UpdateHints.h"
#include "interpretation/ZarmassTransform.h"
#include "spectrumviews/views/PaneSupport.h"

#include <algorithm>

namespace zar {

CZarmassDeconvView::CZarmassDeconvView(QWidget* parent)
    : CZarmassPlotView(QStringLiteral("No processed spectral data available"), parent) {
    setObjectName(QStringLiteral("CZarmassDeconvView"));
}

bool CZarmassDeconvView::RebuildsOn(int hint) const {
    return hint == kHintScanRange || hint == kHintRefillResults || hint == kHintDisplaySettings ||
           hint == kHintZarmassLayout;
}

bool CZarmassDeconvView::FillSpectrum(CVXSpec& spectrum) {
    CZarDoc* doc = GetDocument();
    const CZarmassTransform* engine = doc ? doc->GetZarmassTransform() : nullptr;
    if (!engine || engine->GetDeconvolutedPeaks().empty()) return false;
    TakePeaks(spectrum, engine->GetDeconvolutedPeaks());
    spectrum.header.data.dRT = engine->GetScanTime();
    spectrum.header.data.nScanNumber = engine->GetScanNumber();
    spectrum.filter.FilterString(engine->GetFilterText());
    return true;
}

double CZarmassDeconvView::PickHalfWidth() const {
    const CVXSpecDisplay& d = Display();
    if (d.xZoomed) return std::max(kZoomedMinimum, kZoomedShare * (d.xEnd - d.xStart));
    const CVXSpectrumHeaderData& h = Spectrum().header.data;
    return std::max(kFullMinimum, kFullShare * (h.dHighMass - h.dLowMass));
}

void CZarmassDeconvView::OnSpecLButtonUp(bool, double mass, double) {
    const int i = MostIntensePeakWithin(mass, PickHalfWidth());
    if (i < 0) return;
    if (CZarmassSheetTarget* sheet = OpenZarmassSheet())
        sheet->SetSelectedMass(Spectrum().peaks[static_cast<std::size_t>(i)].dPosition);
}

}  // namespace zar
