#pragma once
// Late binding of the dual interfaces: every member of each interface by its dispatch id, so a
// control reached only through IDispatch answers the same ids as through its virtual table.

#include "com/Dispatch.h"
#include "plot/typelib/ZarPlotTypes.h"

namespace ZAR_PLOTLib {

template <class I>
const zar::DispatchTable<I>& DispatchTableOf();

template <>
inline const zar::DispatchTable<IChro>& DispatchTableOf<IChro>() {
    static const zar::DispatchTable<IChro> table =
        zar::DispatchTable<IChro>()
            .put(1, "NoDataText", &IChro::put_NoDataText)
            .get(2, "ShowFocusRect", &IChro::get_ShowFocusRect)
            .put(2, "ShowFocusRect", &IChro::put_ShowFocusRect)
            .get(3, "IndexNumber", &IChro::get_IndexNumber)
            .put(3, "IndexNumber", &IChro::put_IndexNumber)
            .method(4, "SetPeakData", &IChro::SetPeakData)
            .get(5, "Filter", &IChro::get_Filter)
            .method(6, "SetTraceInfo", &IChro::SetTraceInfo)
            .method(7, "SetChroPeakData", &IChro::SetChroPeakData)
            .method(8, "Initialize", &IChro::Initialize)
            .method(9, "ShowPositionMarker", &IChro::ShowPositionMarker)
            .method(10, "ShowMSnScans", &IChro::ShowMSnScans)
            .get(11, "InfoID", &IChro::get_InfoID)
            .put(11, "InfoID", &IChro::put_InfoID)
            .get(12, "EnableManualZoom", &IChro::get_EnableManualZoom)
            .put(12, "EnableManualZoom", &IChro::put_EnableManualZoom)
            .method(13, "ShowFocusRectImmediate", &IChro::ShowFocusRectImmediate)
            .get(14, "EnableManualBaselineDrag", &IChro::get_EnableManualBaselineDrag)
            .put(14, "EnableManualBaselineDrag", &IChro::put_EnableManualBaselineDrag)
            .get(15, "EnableManualAddPeakMode", &IChro::get_EnableManualAddPeakMode)
            .put(15, "EnableManualAddPeakMode", &IChro::put_EnableManualAddPeakMode)
            .method(16, "CopyToClipboard", &IChro::CopyToClipboard)
            .method(17, "Draw", &IChro::Draw)
            .get(18, "ShowBorder", &IChro::get_ShowBorder)
            .put(18, "ShowBorder", &IChro::put_ShowBorder)
            .get(19, "FileName", &IChro::get_FileName)
            .put(19, "FileName", &IChro::put_FileName)
            .method(20, "InitializeFilter", &IChro::InitializeFilter)
            .method(21, "InitializeChroInfo", &IChro::InitializeChroInfo)
            .method(22, "SetStyle", &IChro::SetStyle)
            .method(23, "SetLabelling", &IChro::SetLabelling)
            .get(24, "EnableManualDeletePeakMode", &IChro::get_EnableManualDeletePeakMode)
            .put(24, "EnableManualDeletePeakMode", &IChro::put_EnableManualDeletePeakMode)
            .method(25, "SetMarkerPeakData", &IChro::SetMarkerPeakData)
            .method(26, "SetAxisLabels", &IChro::SetAxisLabels)
            .method(27, "SetDetectorLabel", &IChro::SetDetectorLabel)
            .method(28, "SetYAxisLimits", &IChro::SetYAxisLimits)
            .method(29, "SetLeftRightAxesWidths", &IChro::SetLeftRightAxesWidths)
            .method(30, "SetXAxisLimits", &IChro::SetXAxisLimits)
            .method(31, "SetYAxisScaleType", &IChro::SetYAxisScaleType)
            .method(32, "AddTextLabel", &IChro::AddTextLabel)
            .method(33, "ClearTextLabel", &IChro::ClearTextLabel)
            .method(34, "SetTextAnchor", &IChro::SetTextAnchor)
            .method(35, "SetTextAboveGraph", &IChro::SetTextAboveGraph)
            .method(36, "SetTextAlign", &IChro::SetTextAlign)
            .method(37, "SetTextPointer", &IChro::SetTextPointer)
            .method(38, "SetTextPriority", &IChro::SetTextPriority)
            .method(39, "SetTextRotate", &IChro::SetTextRotate)
            .method(40, "SetTextBoxed", &IChro::SetTextBoxed)
            .method(41, "SetHeading", &IChro::SetHeading)
            .method(42, "SetForcedHeading", &IChro::SetForcedHeading)
            .put(43, "ShowTextAtRight", &IChro::put_ShowTextAtRight)
            .put(44, "ShowTextAtLeft", &IChro::put_ShowTextAtLeft)
            .put(45, "ShowAxisAtLeft", &IChro::put_ShowAxisAtLeft)
            .put(46, "ShowXAxis", &IChro::put_ShowXAxis)
            .put(47, "ShowXAxisLabel", &IChro::put_ShowXAxisLabel)
            .put(48, "ShowHeaderText", &IChro::put_ShowHeaderText)
            .method(49, "SetMarkerList", &IChro::SetMarkerList)
            .method(50, "ClearMarkerList", &IChro::ClearMarkerList)
            .method(51, "InitializeMarker", &IChro::InitializeMarker)
            .method(52, "GetTextLabelParams", &IChro::GetTextLabelParams);
    return table;
}

template <>
inline const zar::DispatchTable<ISpec>& DispatchTableOf<ISpec>() {
    static const zar::DispatchTable<ISpec> table =
        zar::DispatchTable<ISpec>()
            .put(1, "NoDataText", &ISpec::put_NoDataText)
            .get(2, "DataValid", &ISpec::get_DataValid)
            .put(2, "DataValid", &ISpec::put_DataValid)
            .put(3, "Filter", &ISpec::put_Filter)
            .method(4, "SetPeakData", &ISpec::SetPeakData)
            .method(5, "SetScanHeader", &ISpec::SetScanHeader)
            .method(6, "Initialize", &ISpec::Initialize)
            .method(7, "Draw", &ISpec::Draw)
            .get(8, "ShowBorder", &ISpec::get_ShowBorder)
            .put(8, "ShowBorder", &ISpec::put_ShowBorder)
            .method(9, "CopyToClipboard", &ISpec::CopyToClipboard)
            .get(10, "EnableManualZoom", &ISpec::get_EnableManualZoom)
            .put(10, "EnableManualZoom", &ISpec::put_EnableManualZoom)
            .put(11, "FileName", &ISpec::put_FileName)
            .method(12, "InitializeFilter", &ISpec::InitializeFilter)
            .method(13, "SetDetectorType", &ISpec::SetDetectorType)
            .method(14, "SetStyle", &ISpec::SetStyle)
            .method(15, "SetAxisLabels", &ISpec::SetAxisLabels)
            .method(16, "SetYAxisLimits", &ISpec::SetYAxisLimits)
            .method(17, "SetXAxisLimits", &ISpec::SetXAxisLimits)
            .method(18, "SetYAxisScaleType", &ISpec::SetYAxisScaleType)
            .method(19, "SetHeaderExtra", &ISpec::SetHeaderExtra)
            .method(20, "AddTextLabel", &ISpec::AddTextLabel)
            .method(21, "ClearTextLabel", &ISpec::ClearTextLabel)
            .method(22, "SetTextPriority", &ISpec::SetTextPriority)
            .method(23, "SetTextAnchor", &ISpec::SetTextAnchor)
            .method(24, "SetTextAboveGraph", &ISpec::SetTextAboveGraph)
            .method(25, "SetTextAlign", &ISpec::SetTextAlign)
            .method(26, "SetTextPointer", &ISpec::SetTextPointer)
            .method(27, "SetTextRotate", &ISpec::SetTextRotate)
            .method(28, "SetTextBoxed", &ISpec::SetTextBoxed)
            .method(29, "SetHeading", &ISpec::SetHeading)
            .method(30, "SetForcedHeading", &ISpec::SetForcedHeading)
            .method(31, "SetPeakInfo", &ISpec::SetPeakInfo)
            .method(32, "SetPeakInfoColors", &ISpec::SetPeakInfoColors)
            .method(33, "GetTextLabelParams", &ISpec::GetTextLabelParams)
            .method(34, "SetSmoothingParams", &ISpec::SetSmoothingParams);
    return table;
}

template <>
inline const zar::DispatchTable<ICaliCurve>& DispatchTableOf<ICaliCurve>() {
    static const zar::DispatchTable<ICaliCurve> table =
        zar::DispatchTable<ICaliCurve>()
            .method(1, "SetYAxisLabel", &ICaliCurve::SetYAxisLabel)
            .method(2, "SetXAxisLabel", &ICaliCurve::SetXAxisLabel)
            .method(3, "SetHeading", &ICaliCurve::SetHeading)
            .put(4, "NoDataText", &ICaliCurve::put_NoDataText)
            .get(5, "DataValid", &ICaliCurve::get_DataValid)
            .put(5, "DataValid", &ICaliCurve::put_DataValid)
            .method(6, "Initialize", &ICaliCurve::Initialize)
            .method(7, "SetTraceData", &ICaliCurve::SetTraceData)
            .method(8, "SetYAxisLimits", &ICaliCurve::SetYAxisLimits)
            .method(9, "SetXAxisLimits", &ICaliCurve::SetXAxisLimits)
            .method(10, "SetLeftAxisWidth", &ICaliCurve::SetLeftAxisWidth)
            .method(11, "CopyToClipboard", &ICaliCurve::CopyToClipboard)
            .method(12, "SetCalculatedAmountMarker", &ICaliCurve::SetCalculatedAmountMarker)
            .get(13, "ShowBorder", &ICaliCurve::get_ShowBorder)
            .put(13, "ShowBorder", &ICaliCurve::put_ShowBorder)
            .method(14, "Draw", &ICaliCurve::Draw)
            .get(15, "ShowFocusRect", &ICaliCurve::get_ShowFocusRect)
            .put(15, "ShowFocusRect", &ICaliCurve::put_ShowFocusRect)
            .get(16, "EnableManualZoom", &ICaliCurve::get_EnableManualZoom)
            .put(16, "EnableManualZoom", &ICaliCurve::put_EnableManualZoom);
    return table;
}

template <>
inline const zar::DispatchTable<IXAxis>& DispatchTableOf<IXAxis>() {
    static const zar::DispatchTable<IXAxis> table =
        zar::DispatchTable<IXAxis>()
            .method(1, "Initialize", &IXAxis::Initialize)
            .method(2, "SetRange", &IXAxis::SetRange)
            .method(3, "SetClientRange", &IXAxis::SetClientRange);
    return table;
}

template <>
inline const zar::DispatchTable<IDenovoPlot>& DispatchTableOf<IDenovoPlot>() {
    static const zar::DispatchTable<IDenovoPlot> table =
        zar::DispatchTable<IDenovoPlot>()
            .method(1, "Initialize", &IDenovoPlot::Initialize)
            .method(6, "ClearDataSet", &IDenovoPlot::ClearDataSet)
            .method(7, "SetXMassRange", &IDenovoPlot::SetXMassRange)
            .method(8, "SetNumScans", &IDenovoPlot::SetNumScans)
            .method(9, "SetYParentMasses", &IDenovoPlot::SetYParentMasses)
            .method(10, "SetZIntensities", &IDenovoPlot::SetZIntensities)
            .method(11, "SetSign", &IDenovoPlot::SetSign)
            .method(12, "SetZMaxIntensity", &IDenovoPlot::SetZMaxIntensity)
            .method(13, "SetZDisplayRangeIntensity", &IDenovoPlot::SetZDisplayRangeIntensity)
            .method(14, "SetNumber1DregenPoints", &IDenovoPlot::SetNumber1DregenPoints)
            .get(15, "DataValid", &IDenovoPlot::get_DataValid)
            .put(15, "DataValid", &IDenovoPlot::put_DataValid)
            .put(16, "NoDataText", &IDenovoPlot::put_NoDataText);
    return table;
}

}  // namespace ZAR_PLOTLib
