#include "plot/typelib/ZarPlotDispatch.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

using namespace ZAR_PLOTLib;

namespace {

// The virtual-table slot of a virtual member function (Itanium C++ ABI: a pointer to a virtual
// member holds 1 + the byte offset of its slot).
template <class F>
std::ptrdiff_t SlotOf(F member) {
    static_assert(sizeof(F) == 2 * sizeof(std::ptrdiff_t));
    std::ptrdiff_t raw[2];
    std::memcpy(raw, &member, sizeof raw);
    return (raw[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

}  // namespace

TEST(TypeLibTest, RecordLayoutsMatchTheContract) {
    struct Case {
        const char* name;
        std::size_t size, expected;
    };
    const Case cases[] = {
        {"VXPlot_DataPeak", sizeof(VXPlot_DataPeak), 24},
        {"VXPlot_MassRange", sizeof(VXPlot_MassRange), 16},
        {"VXPlot_Filter", sizeof(VXPlot_Filter), 1688},
        {"VXPlot_ChroInfo", sizeof(VXPlot_ChroInfo), 64},
        {"VXPlot_PeakPoint", sizeof(VXPlot_PeakPoint), 24},
        {"VXPlot_ChroPeak", sizeof(VXPlot_ChroPeak), 128},
        {"VXPlot_ChroLabels", sizeof(VXPlot_ChroLabels), 48},
        {"VXPlot_LabelParams", sizeof(VXPlot_LabelParams), 40},
        {"VXPlot_Marker", sizeof(VXPlot_Marker), 88},
        {"VXPlot_SpectrumHeader", sizeof(VXPlot_SpectrumHeader), 152},
        {"VXPlot_SpecStyle", sizeof(VXPlot_SpecStyle), 32},
        {"VXPlot_PeakInfoPoint", sizeof(VXPlot_PeakInfoPoint), 24},
        {"VXPlot_PeakInfo", sizeof(VXPlot_PeakInfo), 128},
        {"tagRECT", sizeof(tagRECT), 16},
    };
    for (const Case& c : cases) EXPECT_EQ(c.size, c.expected) << c.name;
    EXPECT_EQ(offsetof(VXPlot_Filter, arrMassRanges), 72u);
    EXPECT_EQ(offsetof(VXPlot_Filter, arrPrecursorMasses), 880u);
    EXPECT_EQ(offsetof(VXPlot_Filter, arrSourceFragmentationEnergiesValid), 1488u);
    EXPECT_EQ(offsetof(VXPlot_ChroInfo, MassRange1), 24u);
    EXPECT_EQ(offsetof(VXPlot_ChroInfo, MassRange2), 48u);
    EXPECT_EQ(offsetof(VXPlot_PeakInfo, cLabelText), 92u);
    EXPECT_EQ(sizeof(VXPlot_PeakInfo::cLabelText) / sizeof(std::int16_t),
              static_cast<std::size_t>(kMaxPeakLabelText));
}

TEST(TypeLibTest, EnumerationValuesWithGapsAndNegatives) {
    EXPECT_EQ(VXPlot_SpecStyle_ProfileStyle, 1);
    EXPECT_EQ(VXPlot_SpecStyle_ShadeStyle, 3);
    EXPECT_EQ(VXPlot_ng, -3);
    EXPECT_EQ(VXPlot_par, -1);
    EXPECT_EQ(VXPlot_AcceptAnyMSorder, 0);
    EXPECT_EQ(VXPlot_ms10, 10);
    EXPECT_EQ(VXPlot_DetectorTypes_NO_Device, -1);
    EXPECT_EQ(VXPlot_StartMSTraces, -1);
    EXPECT_EQ(VXPlot_EndAllTraces, 103);
    EXPECT_EQ(VXPlot_CRMsc, 4);
    EXPECT_EQ(VXPlot_AcceptAnyScanType, 5);
    EXPECT_EQ(VXPlot_Q1MSsc, 6);
    EXPECT_EQ(VXPlot_MarkerSymbolType_None, 10);
    EXPECT_EQ(sizeof(VXPlot_MSOrder), 4u);
}

TEST(TypeLibTest, MembersSitInTheirSlotsPerInterface) {
    EXPECT_EQ(SlotOf(&IDispatch::Invoke), 6);
    EXPECT_EQ(SlotOf(&IChro::put_NoDataText), 7);
    EXPECT_EQ(SlotOf(&IChro::SetPeakData), 12);
    EXPECT_EQ(SlotOf(&IChro::SetTextPriority), 53);
    EXPECT_EQ(SlotOf(&IChro::GetTextLabelParams), 67);
    EXPECT_EQ(SlotOf(&ISpec::SetScanHeader), 12);
    EXPECT_EQ(SlotOf(&ISpec::SetTextPriority), 31);
    EXPECT_EQ(SlotOf(&ISpec::SetSmoothingParams), 43);
    EXPECT_EQ(SlotOf(&ICaliCurve::put_EnableManualZoom), 26);
    EXPECT_EQ(SlotOf(&IXAxis::SetClientRange), 9);
    EXPECT_EQ(SlotOf(&IDenovoPlot::put_NoDataText), 19);
}

TEST(TypeLibTest, DispatchIdsAndClassIds) {
    zar::DISPID id = 0;
    EXPECT_EQ(DispatchTableOf<IDenovoPlot>().idOfName(u"ClearDataSet", &id), zar::S_OK);
    EXPECT_EQ(id, 6);  // DISPIDs 2 to 5 are unused
    EXPECT_EQ(DispatchTableOf<IChro>().idOfName(u"ShowFocusRect", &id), zar::S_OK);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(ChroEvents::kChroBaselineDrag, 5);
    EXPECT_EQ(SpecEvents::kSpecZoom, 4);
    EXPECT_EQ(CaliCurveEvents::kCaliCurveHit, 5);

    std::set<QString> ids;
    for (const CoclassInfo& c : kCoclasses) {
        ids.insert(zar::GuidToString(c.clsid));
        ids.insert(zar::GuidToString(c.defaultInterface));
        if (!(c.eventInterface == zar::IID_NULL)) ids.insert(zar::GuidToString(c.eventInterface));
    }
    ids.insert(zar::GuidToString(LIBID_ZAR_PLOTLib));
    EXPECT_EQ(ids.size(), 5u + 5u + 4u + 1u);  // all distinct
    EXPECT_EQ(QString::fromUtf16(kCoclasses[1].progId), QStringLiteral("Zar_Plot.Spec.1"));
    EXPECT_TRUE(kCoclasses[3].eventInterface == zar::IID_NULL);  // XAxis fires nothing
}
