#include "plot/graph/RegSetting.h"
#include "plot/graph/ScanFilter.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace zar;
using namespace zar::plot;

namespace {

CScanFilter MakeFilter(const std::function<void(CScanFilter&)>& setup) {
    CScanFilter f;
    f.SetSeparators(QLatin1Char(','), QLatin1Char('.'));
    setup(f);
    return f;
}

}  // namespace

TEST(ScanFilterTest, FormatTable) {
    struct Case {
        const char* expected;
        std::function<void(CScanFilter&)> setup;
        int maxLength = -1;
    };
    const Case cases[] = {
        {"", [](CScanFilter&) {}},
        {"+ Full",
         [](CScanFilter& f) {
             f.Settings().polarity = VXPlot_Positive;
             f.Settings().scanType = VXPlot_Fullsc;
         }},
        {"+ c ESI Full ms [ 400.00-2000.00]",
         [](CScanFilter& f) {
             f.Settings().polarity = VXPlot_Positive;
             f.Settings().scanData = VXPlot_Centroid;
             f.Settings().ionizationMode = VXPlot_Electrospray;
             f.Settings().scanType = VXPlot_Fullsc;
             f.Settings().msOrder = VXPlot_ms;
             f.SetMassRange(0, 400, 2000);
         }},
        {"ms2 445.12@35.00",
         [](CScanFilter& f) {
             f.Settings().msOrder = VXPlot_ms2;
             f.SetPrecursor(0, 445.12, 35, true);
         }},
        {"ms2 445.12",
         [](CScanFilter& f) {
             f.Settings().msOrder = VXPlot_ms2;
             f.SetPrecursor(0, 445.12, 35, false);
         }},
        {"ms3 445.12@35.00 300.50",
         [](CScanFilter& f) {
             f.Settings().msOrder = VXPlot_ms3;
             f.SetPrecursor(0, 445.12, 35, true);
             f.SetPrecursor(1, 300.5, 30, false);
         }},
        {"[ 400.00-2000.00, 524.30]",
         [](CScanFilter& f) {
             f.SetMassRange(0, 400, 2000);
             f.SetMassRange(1, 524.3, 524.3);
         }},
        {"{1,2} - p",
         [](CScanFilter& f) {
             f.Settings().scanTypeIndex = 0x00010002;
             f.Settings().polarity = VXPlot_Negative;
             f.Settings().scanData = VXPlot_Profile;
         }},
        {"APCI corona !sid det=3.50 t !d w SIM",
         [](CScanFilter& f) {
             f.Settings().ionizationMode = VXPlot_AtmosphericPressureChemicalIonization;
             f.Settings().corona = VXPlot_CoronaOn;
             f.Settings().sourceCID = VXPlot_SourceCIDoff;
             f.Settings().detector = VXPlot_DetectorValid;
             f.Settings().detectorValue = 3.5;
             f.Settings().turboScan = VXPlot_TurboScanOn;
             f.Settings().dependent = VXPlot_NotDependent;
             f.Settings().wideband = VXPlot_WidebandOn;
             f.Settings().scanType = VXPlot_SIMsc;
         }},
        {"!corona !t d !w Z",
         [](CScanFilter& f) {
             f.Settings().corona = VXPlot_CoronaOff;
             f.Settings().turboScan = VXPlot_TurboScanOff;
             f.Settings().dependent = VXPlot_Dependent;
             f.Settings().wideband = VXPlot_WidebandOff;
             f.Settings().scanType = VXPlot_Zoomsc;
         }},
        {"sid=25.00  Full",
         [](CScanFilter& f) {
             f.Settings().sourceCID = VXPlot_SourceCIDon;
             f.Settings().sourceCIDType = VXPlot_SourceCIDTypeSingleValue;
             f.SetSourceFragmentationEnergy(0, 25, true);
             f.Settings().scanType = VXPlot_Fullsc;
         }},
        {"sid=10.00-20.00",
         [](CScanFilter& f) {
             f.Settings().sourceCID = VXPlot_SourceCIDon;
             f.Settings().sourceCIDType = VXPlot_SourceCIDTypeRamp;
             f.SetSourceFragmentationEnergy(0, 10, true);
             f.SetSourceFragmentationEnergy(1, 20, true);
         }},
        // Energies the filter lacks are left out, never read past the list.
        {"sid",
         [](CScanFilter& f) {
             f.Settings().sourceCID = VXPlot_SourceCIDon;
             f.Settings().sourceCIDType = VXPlot_SourceCIDTypeSingleValue;
         }},
        {"sid=10.00",
         [](CScanFilter& f) {
             f.Settings().sourceCID = VXPlot_SourceCIDon;
             f.Settings().sourceCIDType = VXPlot_SourceCIDTypeRamp;
             f.SetSourceFragmentationEnergy(0, 10, true);
         }},
        {"sid SIM [ 500.00@30.00, 600.00]",
         [](CScanFilter& f) {
             f.Settings().sourceCID = VXPlot_SourceCIDon;
             f.Settings().sourceCIDType = VXPlot_SourceCIDTypeSIM;
             f.Settings().scanType = VXPlot_SIMsc;
             f.SetMassRange(0, 500, 500);
             f.SetMassRange(1, 600, 600);
             f.SetSourceFragmentationEnergy(0, 30, true);
             f.SetSourceFragmentationEnergy(1, 40, false);
         }},
        {"pr 300.00",
         [](CScanFilter& f) {
             f.Settings().msOrder = VXPlot_par;
             f.SetPrecursor(0, 300, 0, false);
             f.SetPrecursor(1, 400, 0, false);
         }},
        {"cnl", [](CScanFilter& f) { f.Settings().msOrder = VXPlot_nl; }},
        {"Q1MS",
         [](CScanFilter& f) {
             f.Settings().scanType = VXPlot_Q1MSsc;
             f.Settings().msOrder = VXPlot_ms2;
             f.SetPrecursor(0, 445.12, 35, true);
         }},
        {"+ c ESI...",
         [](CScanFilter& f) {
             f.Settings().polarity = VXPlot_Positive;
             f.Settings().scanData = VXPlot_Centroid;
             f.Settings().ionizationMode = VXPlot_Electrospray;
             f.Settings().scanType = VXPlot_Fullsc;
         },
         10},
        {"+ Full",  // fits: not cut
         [](CScanFilter& f) {
             f.Settings().polarity = VXPlot_Positive;
             f.Settings().scanType = VXPlot_Fullsc;
         },
         6},
    };
    for (const Case& c : cases) {
        const CScanFilter f = MakeFilter(c.setup);
        EXPECT_EQ(f.Format(2, c.maxLength, 2), QString::fromLatin1(c.expected));
    }
}

TEST(ScanFilterTest, ListSeparatorComesFromTheLocale) {
    CScanFilter f = MakeFilter([](CScanFilter& f) {
        f.SetMassRange(0, 1, 2);
        f.SetMassRange(1, 3, 3);
    });
    f.SetSeparators(QLatin1Char(';'), QLatin1Char(','));
    // Numbers stay in the "C" format whatever the decimal separator.
    EXPECT_EQ(f.Format(), QStringLiteral("[ 1.00-2.00; 3.00]"));
}

TEST(ScanFilterTest, AcceptAllIgnoresWidebandCompletenessAndPrecursors) {
    CScanFilter f;
    EXPECT_TRUE(f.IsAcceptAll());
    f.Settings().wideband = VXPlot_WidebandOn;
    f.Settings().isComplete = 0;
    f.SetPrecursor(0, 400, 0, false);
    EXPECT_TRUE(f.IsAcceptAll());
    f.Settings().polarity = VXPlot_Positive;
    EXPECT_FALSE(f.IsAcceptAll());
    CScanFilter g;
    g.SetMassRange(0, 1, 2);
    EXPECT_FALSE(g.IsAcceptAll());
}

TEST(ScanFilterTest, EqualityBounds) {
    auto ms2 = [](double mass, double energy, double low) {
        return MakeFilter([=](CScanFilter& f) {
            f.Settings().msOrder = VXPlot_ms2;
            f.SetPrecursor(0, mass, energy, true);
            f.SetMassRange(0, low, 2000);
        });
    };
    const CScanFilter base = ms2(445.12, 35.0, 400.0);
    struct Case {
        const char* what;
        CScanFilter other;
        bool equal;
    };
    const Case cases[] = {
        {"same", ms2(445.12, 35.0, 400.0), true},
        {"mass +0.2", ms2(445.32, 35.0, 400.0), true},
        {"mass +0.21", ms2(445.33, 35.0, 400.0), false},
        {"energy +0.005", ms2(445.12, 35.005, 400.0), true},
        {"energy +0.01", ms2(445.12, 35.01, 400.0), false},
        {"range low +0.2", ms2(445.12, 35.0, 400.2), true},
        {"range low +0.3", ms2(445.12, 35.0, 400.3), false},
    };
    for (const Case& c : cases) EXPECT_EQ(base.Equals(c.other), c.equal) << c.what;
    EXPECT_TRUE(base.Equals(base));

    CScanFilter incomplete = ms2(445.12, 35.0, 400.0);
    incomplete.Settings().isComplete = 0;
    EXPECT_TRUE(base.Equals(incomplete));
    CScanFilter ignored = ms2(445.12, 35.0, 400.0);
    ignored.SetPrecursor(0, 445.12, 35.0, false);
    EXPECT_FALSE(base.Equals(ignored));
    CScanFilter twoPrecursors = ms2(445.12, 35.0, 400.0);
    twoPrecursors.SetPrecursor(1, 300, 0, false);
    EXPECT_FALSE(base.Equals(twoPrecursors));
    CScanFilter otherIonisation = ms2(445.12, 35.0, 400.0);
    otherIonisation.Settings().ionizationMode = VXPlot_Electrospray;
    EXPECT_FALSE(base.Equals(otherIonisation));
}

TEST(ScanFilterTest, MatchingWithinHalfTolerances) {
    auto ms2 = [](double mass, double energy, bool valid) {
        return MakeFilter([=](CScanFilter& f) {
            f.Settings().msOrder = VXPlot_ms2;
            f.SetPrecursor(0, mass, energy, valid);
        });
    };
    const CScanFilter base = ms2(445.0, 35.0, true);
    EXPECT_TRUE(base.Matches(ms2(445.5, 35.0, true), 1.0, 2.0));  // exactly half matches
    EXPECT_FALSE(base.Matches(ms2(445.51, 35.0, true), 1.0, 2.0));
    EXPECT_TRUE(base.Matches(ms2(445.0, 36.0, true), 1.0, 2.0));
    EXPECT_FALSE(base.Matches(ms2(445.0, 36.5, true), 1.0, 2.0));
    // An ignored energy is not compared.
    EXPECT_TRUE(ms2(445.0, 35.0, false).Matches(ms2(445.0, 80.0, true), 1.0, 2.0));
    CScanFilter otherIonisation = ms2(445.0, 35.0, true);
    otherIonisation.Settings().ionizationMode = VXPlot_Nanospray;
    otherIonisation.Settings().isComplete = 0;
    EXPECT_TRUE(base.Matches(otherIonisation, 1.0, 2.0));
    CScanFilter otherPolarity = ms2(445.0, 35.0, true);
    otherPolarity.Settings().polarity = VXPlot_Positive;
    EXPECT_FALSE(base.Matches(otherPolarity, 1.0, 2.0));
}

TEST(ScanFilterTest, RecordInitialisationAndConversion) {
    VXPlot_Filter r;
    std::memset(&r, 0x55, sizeof r);
    InitFilterRecord(&r);
    EXPECT_EQ(r.bIsComplete, 1);
    EXPECT_EQ(r.eMSOrder, VXPlot_AcceptAnyMSorder);
    EXPECT_EQ(r.eScanType, VXPlot_AcceptAnyScanType);
    EXPECT_EQ(r.eSourceCIDType, VXPlot_AcceptAnySourceCIDType);
    EXPECT_EQ(r.nlScanTypeIndex, -1);
    EXPECT_EQ(r.nNumMassRanges, 0);
    EXPECT_EQ(r.arrPrecursorEnergiesValid[9], 0);
    EXPECT_EQ(r.arrSourceFragmentationEnergiesValid[49], 0);
    std::uint8_t untouched;
    std::memcpy(&untouched, &r.arrPrecursorMasses[0], 1);
    EXPECT_EQ(untouched, 0x55);  // the mass arrays stay as they were

    r.ePolarity = VXPlot_Positive;
    r.eMSOrder = VXPlot_ms2;
    r.nNumPrecursorMasses = 1;
    r.arrPrecursorMasses[0] = 445.12;
    r.arrPrecursorEnergies[0] = 35;
    r.arrPrecursorEnergiesValid[0] = 1;
    r.nNumMassRanges = 1;
    r.arrMassRanges[0] = {100, 200};
    CScanFilter f;
    ASSERT_TRUE(ConvertFilterRecord(&r, f));
    EXPECT_EQ(f.Format(), QStringLiteral("+ ms2 445.12@35.00 [ 100.00-200.00]"));

    const QString before = f.Format();
    for (auto spoil : std::vector<std::function<void(VXPlot_Filter&)>>{
             [](VXPlot_Filter& x) { x.nNumMassRanges = 51; },
             [](VXPlot_Filter& x) { x.nNumPrecursorMasses = 11; },
             [](VXPlot_Filter& x) { x.nNumSourceFragmentationEnergies = -1; }}) {
        VXPlot_Filter bad = r;
        spoil(bad);
        bad.ePolarity = VXPlot_Negative;
        EXPECT_FALSE(ConvertFilterRecord(&bad, f));
        EXPECT_EQ(f.Format(), before);  // unchanged
    }
    EXPECT_FALSE(ConvertFilterRecord(nullptr, f));
}

TEST(ScanFilterTest, GrownMassRangeStartsAsTheDefaultRange) {
    zartest::ScopedConfigDir config;
    ResetRegistryCache();
    ResetDefaultMassRange();
    CScanFilter f;
    f.ResizeMassRanges(1);
    EXPECT_DOUBLE_EQ(f.MassRanges()[0].low, 0.5);
    EXPECT_DOUBLE_EQ(f.MassRanges()[0].high, 999999.0);

    {
        CRegSetting defaults(RegRoot::LocalMachine, QStringLiteral("Defaults\\Mass Spectrometer"),
                             true);
        CMassRangeSetting range(defaults, QStringLiteral("Mass Range"), true);
        range.m_Ranges = {{150.0, 2000.0, 0, 0}};
    }  // saved here
    // A missing key was not remembered: the next growth reads the registry again.
    CScanFilter g;
    g.ResizeMassRanges(2);
    EXPECT_DOUBLE_EQ(g.MassRanges()[1].low, 150.0);
    EXPECT_DOUBLE_EQ(g.MassRanges()[1].high, 2000.0);
    g.ResizePrecursors(1);
    EXPECT_TRUE(g.Precursors()[0].energyIgnored);
    ResetDefaultMassRange();
    ResetRegistryCache();
}
