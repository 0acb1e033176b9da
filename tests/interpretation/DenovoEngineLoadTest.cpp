// Loading, cleaning and preparing the spectra of the de novo engine.

#include "interpretation/DenovoEngine.h"

#include "DenovoSyntheticSpectra.h"

#include <gtest/gtest.h>

#include <cmath>

using zar::CDenovoEngine;
using zar::DenovoParams;
using zar::DenovoPoint;
using zar::DenovoScan;

namespace {

struct FilterCase {
    const char* filter;
    bool ok;
    int kind;
    double precursor;
};

TEST(DenovoScanFilterTest, ReadsKindAndPrecursor) {
    const FilterCase cases[] = {
        {"ITMS + c NSI d Full ms2 445.12@cid35.00 [110.00-1345.00]", true, 2, 445.12},
        {"+ c Full ms2 574.80@35.00 [145.00-1160.00]", true, 2, 574.80},
        {"ITMS + c NSI d Full ms3 445.12@cid35.00 512.30@cid35.00 [130.00-1040.00]", true, 3,
         512.30},
        {"+ c Full ms3 600.00@35.00 430.25@35.00 [115.00-875.00]", true, 3, 430.25},
        {"FTMS + p NSI Full ms [400.00-1800.00]", false, 0, 0.0},
        {"+ c Full ms3 600.00@35.00", false, 0, 0.0},
        {"", false, 0, 0.0},
    };
    for (const FilterCase& c : cases) {
        int kind = 0;
        double precursor = 0.0;
        EXPECT_EQ(zar::ParseDenovoScanFilter(QString::fromLatin1(c.filter), &kind, &precursor),
                  c.ok)
            << c.filter;
        EXPECT_EQ(kind, c.kind) << c.filter;
        EXPECT_DOUBLE_EQ(precursor, c.precursor) << c.filter;
    }
}

TEST(DenovoResiduesTest, StandardTableHasEighteenResiduesWithNominalMasses) {
    const auto residues = zar::DenovoStandardResidues();
    ASSERT_EQ(residues.size(), 18u);
    std::string letters;
    for (const auto& r : residues) {
        letters += r.letter;
        EXPECT_EQ(r.nominal, static_cast<int>(r.mass));
    }
    EXPECT_EQ(letters, "ARNDCGEHLKMFPSTWYV");
    EXPECT_NEAR(residues[0].mass, 71.0371, 1e-4);
    EXPECT_EQ(residues[1].nominal, 156);
    EXPECT_EQ(residues[15].nominal, 186);
}

TEST(DenovoParamsTest, EngineStartsWithItsDefaultsAndClampsLimits) {
    CDenovoEngine engine;
    const DenovoParams start = engine.Parameters();
    EXPECT_DOUBLE_EQ(start.daTolerance, 0.3);
    EXPECT_DOUBLE_EQ(start.minimumPrimaryScore, 0.1);
    EXPECT_EQ(start.maximumPartialSequences, 256);
    EXPECT_EQ(start.maximumCandidates, 16);
    EXPECT_EQ(start.percentOfHighestScore, 50);

    DenovoParams wild;
    wild.maximumCandidates = 100000;
    wild.maximumPartialSequences = 0;
    wild.percentOfHighestScore = 250;
    wild.expandPartialSequences = 7;
    engine.InitParameters(wild);
    const DenovoParams kept = engine.Parameters();
    EXPECT_EQ(kept.maximumCandidates, 512);
    EXPECT_EQ(kept.maximumPartialSequences, 1);
    EXPECT_EQ(kept.percentOfHighestScore, 100);
    EXPECT_EQ(kept.expandPartialSequences, 1);
}

TEST(DenovoParamsTest, SetParametersWithoutSpectraOnlyStoresThem) {
    CDenovoEngine engine;
    DenovoParams p;
    p.daTolerance = 0.5;
    p.maximumCandidates = 8;
    engine.SetParameters(p);
    EXPECT_EQ(engine.Parameters().maximumCandidates, 8);
    EXPECT_DOUBLE_EQ(engine.Parameters().daTolerance, 0.5);
    EXPECT_EQ(engine.SpectraLoaded(), 0);
    EXPECT_EQ(engine.FormatSequenceTable(), 0);
}

TEST(DenovoLoadTest, EmptyScanListChangesNothing) {
    CDenovoEngine engine;
    engine.LoadSpectra(zartest::SyntheticScans("LVNEVTEFAK"), DenovoParams{});
    const int before = engine.FormatSequenceTable();
    ASSERT_GT(before, 0);
    EXPECT_EQ(engine.LoadSpectra({}, DenovoParams{}), 1);
    EXPECT_EQ(engine.FormatSequenceTable(), before);
}

TEST(DenovoLoadTest, ScansOfOtherKindsAreSkippedAndFirstKeptScanIsSlotZero) {
    auto scans = zartest::SyntheticScans("LVNEVTEFAK");
    DenovoScan ms1 = scans[0];
    ms1.kind = 1;
    DenovoScan ms3 = scans[0];
    ms3.kind = zar::kDenovoKindMS3;
    CDenovoEngine engine;
    EXPECT_EQ(engine.LoadSpectra({ms1, ms3}, DenovoParams{}), 1);
    EXPECT_DOUBLE_EQ(engine.Precursor(0), scans[0].precursor);
    EXPECT_EQ(engine.MassRangeEnd(), 1149);
}

TEST(DenovoLoadTest, MoreThanMaximumPointsKeepsTheMostIntense) {
    std::vector<DenovoPoint> points;
    for (int k = 0; k < 3000; ++k)
        points.push_back({100.0 + k * 0.3, static_cast<double>(k % 1000)});
    CDenovoEngine engine;
    engine.SetSpectrum(0, 1200.0, points);
    const auto& kept = engine.Points(0);
    ASSERT_EQ(kept.size(), static_cast<size_t>(CDenovoEngine::kMaxPoints));
    for (size_t k = 1; k < kept.size(); ++k) EXPECT_LT(kept[k - 1].mz, kept[k].mz);
    for (const auto& p : kept) EXPECT_GE(p.intensity, 300.0);
}

// An MS2 scan whose strong signal lies above its precursor is doubly charged: the precursor
// becomes [M+H]+ and the removed precursor intensity reappears at that m/z.
TEST(DenovoLoadTest, DoublyChargedPrecursorMovesToSinglyChargedMass) {
    const double p = 500.0;
    std::vector<DenovoPoint> points = {{300.0, 100.0}, {p, 800.0}, {700.0, 1000.0}, {800.0, 900.0}};
    CDenovoEngine engine;
    engine.SetSpectrum(0, p, points);
    EXPECT_EQ(engine.AddSpectrum(0, zar::kDenovoKindMS2), 1);
    const double mh = 2 * p - CDenovoEngine::kProton;
    EXPECT_DOUBLE_EQ(engine.Precursor(0), mh);
    const auto& kept = engine.Points(0);
    ASSERT_EQ(kept.size(), 5u);
    EXPECT_DOUBLE_EQ(kept[1].intensity, 0.0);  // the precursor itself
    EXPECT_DOUBLE_EQ(kept.back().mz, mh);
    EXPECT_DOUBLE_EQ(kept.back().intensity, 800.0);
}

// A charge stated by the run decides [M+H]+; the shape of the spectrum only decides when the
// charge is unknown.
struct StatedChargeCase {
    const char* name;
    int charge;
    bool signalAbove;     // strong fragments above the precursor m/z
    double a, b;          // [M+H]+ = a * p - b * proton
    bool precursorMoved;  // its intensity reappears at [M+H]+
};

TEST(DenovoLoadTest, StatedChargeTurnsThePrecursorIntoSinglyChargedMass) {
    const StatedChargeCase cases[] = {
        {"triply charged", 3, true, 3, 2, true},
        {"quadruply charged", 4, true, 4, 3, true},
        {"doubly charged, no fragment above", 2, false, 2, 1, true},
        {"singly charged, fragments above", 1, true, 1, 0, false},
        {"unknown, nothing above", 0, false, 1, 0, false},
        {"unknown, fragments above", 0, true, 2, 1, true},
    };
    const double p = 500.0;
    for (const StatedChargeCase& c : cases) {
        std::vector<DenovoPoint> points = {{300.0, 1000.0}, {p - 6.0, 400.0}, {p, 800.0}};
        if (c.signalAbove) points.push_back({700.0, 900.0});
        CDenovoEngine engine;
        engine.SetSpectrum(0, p, points, c.charge);
        EXPECT_EQ(engine.PrecursorCharge(0), c.charge) << c.name;
        EXPECT_EQ(engine.AddSpectrum(0, zar::kDenovoKindMS2), 1) << c.name;
        const double mh = c.a * p - c.b * CDenovoEngine::kProton;
        EXPECT_DOUBLE_EQ(engine.Precursor(0), mh) << c.name;
        const auto& kept = engine.Points(0);
        const auto at = [&](double mz) {
            for (const auto& pt : kept)
                if (pt.mz == mz) return pt.intensity;
            return -1.0;
        };
        if (c.precursorMoved) {
            EXPECT_DOUBLE_EQ(at(p), 0.0) << c.name;
            EXPECT_DOUBLE_EQ(at(mh), 800.0) << c.name;
            EXPECT_DOUBLE_EQ(at(p - 6.0), 40.0) << c.name << ": its neutral losses are damped";
        } else {
            EXPECT_DOUBLE_EQ(at(p), 800.0) << c.name;
            EXPECT_DOUBLE_EQ(at(p - 6.0), 400.0) << c.name;
        }
        EXPECT_DOUBLE_EQ(at(300.0), 1000.0) << c.name;
    }
    // A charge no peptide carries counts as unknown.
    CDenovoEngine engine;
    engine.SetSpectrum(0, p, {{300.0, 10.0}}, CDenovoEngine::kMaxPrecursorCharge + 1);
    EXPECT_EQ(engine.PrecursorCharge(0), 0);
}

TEST(DenovoLoadTest, InsertionIntoAFullSlotNeverOverruns) {
    const double p = 500.0;
    std::vector<DenovoPoint> points;
    for (int k = 0; k < CDenovoEngine::kMaxPoints - 2; ++k)
        points.push_back({100.0 + k * 0.19, 50.0});
    points.push_back({p, 800.0});
    points.push_back({900.0, 1000.0});
    ASSERT_EQ(points.size(), static_cast<size_t>(CDenovoEngine::kMaxPoints));
    CDenovoEngine engine;
    engine.SetSpectrum(0, p, points);
    engine.AddSpectrum(0, zar::kDenovoKindMS2);
    const auto& kept = engine.Points(0);
    EXPECT_EQ(kept.size(), static_cast<size_t>(CDenovoEngine::kMaxPoints));
    bool moved = false;
    for (const auto& pt : kept)
        moved = moved || (pt.mz == 2 * p - CDenovoEngine::kProton && pt.intensity == 800.0);
    EXPECT_TRUE(moved);
}

TEST(DenovoLoadTest, Ms3ScansAreMergedOrDroppedByTheirNominalPrecursor) {
    auto scans = zartest::SyntheticScans("LVNEVTEFAK");
    CDenovoEngine engine;
    engine.SetSpectrum(0, scans[0].precursor, scans[0].points);
    ASSERT_EQ(engine.AddSpectrum(0, zar::kDenovoKindMS2), 1);

    const std::vector<DenovoPoint> a = {{200.0, 100.0}, {300.0, 100.0}};
    const std::vector<DenovoPoint> b = {{299.9, 50.0}, {400.0, 80.0}};
    engine.SetSpectrum(1, 600.0, a);
    ASSERT_EQ(engine.AddSpectrum(1, zar::kDenovoKindMS3), 2);
    // Same nominal precursor: merged into slot 1, slot 2 is free again.
    engine.SetSpectrum(2, 600.2, b);
    EXPECT_EQ(engine.AddSpectrum(2, zar::kDenovoKindMS3), 2);
    const auto& merged = engine.Points(1);
    ASSERT_EQ(merged.size(), 3u);
    EXPECT_DOUBLE_EQ(merged[1].intensity, 150.0);
    EXPECT_NEAR(merged[1].mz, (300.0 * 100 + 299.9 * 50) / 150, 1e-9);
    // One above an earlier precursor: dropped.
    engine.SetSpectrum(2, 601.0, b);
    EXPECT_EQ(engine.AddSpectrum(2, zar::kDenovoKindMS3), 2);
    // Too close below the MS2 precursor to be a fragment: dropped.
    engine.SetSpectrum(2, scans[0].precursor - 20.0, b);
    EXPECT_EQ(engine.AddSpectrum(2, zar::kDenovoKindMS3), 2);
    // An empty scan and a one-point scan near its precursor are dropped.
    engine.SetSpectrum(2, 400.0, {});
    EXPECT_EQ(engine.AddSpectrum(2, zar::kDenovoKindMS3), 2);
    engine.SetSpectrum(2, 400.0, {{380.0, 10.0}});
    EXPECT_EQ(engine.AddSpectrum(2, zar::kDenovoKindMS3), 2);
    engine.SetSpectrum(2, 400.0, b);
    EXPECT_EQ(engine.AddSpectrum(2, zar::kDenovoKindMS3), 3);
}

TEST(DenovoLoadTest, LookupIntensityMatchesWithinTolerance) {
    CDenovoEngine engine;
    DenovoParams p;
    p.daTolerance = 0.15;
    p.ppmTolerance = 0.0;
    engine.InitParameters(p);
    engine.SetSpectrum(0, 1000.0, {{200.0, 10.0}, {300.35, 20.0}, {400.2, 30.0}, {401.0, 40.0}});
    engine.SetSpectraLoaded(1);
    EXPECT_DOUBLE_EQ(engine.LookupIntensity(0, 100), 0.0);   // below the first point
    EXPECT_DOUBLE_EQ(engine.LookupIntensity(0, 200), 10.0);  // 200.1 expected, 0.1 away
    EXPECT_DOUBLE_EQ(engine.LookupIntensity(0, 300), 0.0);   // 0.2 away from 300.15
    EXPECT_DOUBLE_EQ(engine.LookupIntensity(0, 400), 30.0);  // nearest of two in the window
    EXPECT_DOUBLE_EQ(engine.LookupIntensity(0, 500), 0.0);
    // With a tolerance above 0.5 every point inside +-0.5 matches.
    p.daTolerance = 0.8;
    engine.InitParameters(p);
    EXPECT_DOUBLE_EQ(engine.LookupIntensity(0, 300), 20.0);
}

TEST(DenovoPrepareTest, EvidenceNeverExceedsTheStatedMaximum) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {2, 4, 6, 8};
    auto scans = zartest::SyntheticScans("LVNEVTEFAK", o);
    // Intensities far above the evidence range, so that they must be scaled.
    for (auto& scan : scans)
        for (auto& pt : scan.points) pt.intensity *= 3.3e6;
    CDenovoEngine engine;
    engine.LoadSpectra(scans, DenovoParams{});
    ASSERT_GT(engine.SpectraLoaded(), 1);
    EXPECT_LE(engine.MaximumEvidence(), CDenovoEngine::kMaxEvidence);
    int largest = 0;
    for (int k = 1; k < engine.SpectraLoaded(); ++k)
        for (auto v : engine.SlotEvidence(k)) {
            EXPECT_LE(v, CDenovoEngine::kMaxEvidence);
            largest = std::max(largest, static_cast<int>(v));
        }
    EXPECT_EQ(engine.MaximumEvidence(), largest);
}

TEST(DenovoPrepareTest, FragmentSlotsFollowDescendingPrecursor) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {3, 7, 5};
    CDenovoEngine engine;
    engine.LoadSpectra(zartest::SyntheticScans("LVNEVTEFAK", o), DenovoParams{});
    ASSERT_GE(engine.SpectraLoaded(), 4);
    EXPECT_EQ(engine.SlotParent(0), engine.MassRangeEnd());
    EXPECT_GT(engine.SlotParent(1), engine.SlotParent(2));
    EXPECT_GT(engine.SlotParent(2), engine.SlotParent(3));
    EXPECT_EQ(engine.SlotParent(1), 823);  // y7 EVTEFAK
    // The MS2 evidence near the precursor is cleared.
    for (int m = engine.MassRangeEnd() - 56; m <= engine.MassRangeEnd(); ++m)
        EXPECT_EQ(engine.SlotEvidence(0)[static_cast<size_t>(m)], 0);
}

// The residue table used to be loaded after the preparation, so that the first load found no
// residue pairs and a second load of the same scans found them and ranked differently.
TEST(DenovoPrepareTest, ResiduePairsDoNotDependOnWhenTheAlphabetArrives) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {9, 6, 3};
    const auto scans = zartest::SyntheticScans("LVNEVTEFAK", o);

    CDenovoEngine first;
    first.LoadSpectra(scans, DenovoParams{});
    EXPECT_EQ(first.YPairCount(), 1);  // y9: the precursor less L

    // Driven step by step in the old order: spectra, preparation, then the alphabet.
    CDenovoEngine late;
    int slot = 0;
    for (const auto& scan : scans) {
        late.SetSpectrum(slot, scan.precursor, scan.points);
        slot = late.AddSpectrum(slot, scan.kind);
    }
    late.SetSpectraLoaded(slot);
    late.PrepareSpectra();
    EXPECT_EQ(late.YPairCount(), 0);
    late.SetResidueTable(zar::DenovoStandardResidues());
    EXPECT_EQ(late.YPairCount(), 1);
    late.SetParameters(DenovoParams{});

    const int count = first.FormatSequenceTable();
    ASSERT_EQ(late.FormatSequenceTable(), count);
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(first.GetCandidate(i)->sequence, late.GetCandidate(i)->sequence) << i;
}

TEST(DenovoPrepareTest, TwoLoadsInARowRankTheSame) {
    zartest::SyntheticOptions o;
    o.ms3OfY = {9, 5, 2};
    const auto scans = zartest::SyntheticScans("LVNEVTEFAK", o);
    CDenovoEngine engine;
    engine.LoadSpectra(scans, DenovoParams{});
    const int count = engine.FormatSequenceTable();
    std::vector<zar::DenovoCandidate> before;
    for (int i = 0; i < count; ++i) before.push_back(*engine.GetCandidate(i));
    ASSERT_GT(count, 0);

    engine.LoadSpectra(scans, DenovoParams{});
    ASSERT_EQ(engine.FormatSequenceTable(), count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(engine.GetCandidate(i)->sequence, before[static_cast<size_t>(i)].sequence);
        EXPECT_DOUBLE_EQ(engine.GetCandidate(i)->s0, before[static_cast<size_t>(i)].s0);
    }
}

TEST(DenovoPrepareTest, ALoadPreparesWithItsOwnToleranceAndThreshold) {
    // A load with new settings ranks as a fresh engine given those settings does, on the first
    // load already: the preparation must not run on the settings of the load before.
    zartest::SyntheticOptions o;
    o.ms3OfY = {9, 5, 2};
    o.noiseIntensity = 400.0;
    o.noisePoints = 60;
    const auto scans = zartest::SyntheticScans("LVNEVTEFAK", o);
    struct Case {
        double daTolerance;
        double noiseThreshold;
    };
    const Case cases[] = {{0.05, 10.0}, {2.0, 10.0}, {0.3, 90.0}, {1.5, 60.0}};
    for (const Case& c : cases) {
        DenovoParams changed;
        changed.daTolerance = c.daTolerance;
        changed.noiseThreshold = c.noiseThreshold;
        CDenovoEngine fresh;
        fresh.LoadSpectra(scans, changed);
        CDenovoEngine reloaded;
        reloaded.LoadSpectra(scans, DenovoParams{});
        reloaded.LoadSpectra(scans, changed);
        const int count = fresh.FormatSequenceTable();
        ASSERT_EQ(reloaded.FormatSequenceTable(), count) << c.daTolerance << " " << c.noiseThreshold;
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(reloaded.GetCandidate(i)->sequence, fresh.GetCandidate(i)->sequence) << i;
            EXPECT_DOUBLE_EQ(reloaded.GetCandidate(i)->s0, fresh.GetCandidate(i)->s0) << i;
        }
        for (int spectrum = 0; spectrum < 4; ++spectrum) {
            const auto& a = fresh.Points(spectrum);
            const auto& b = reloaded.Points(spectrum);
            ASSERT_EQ(a.size(), b.size()) << spectrum;
            for (size_t k = 0; k < a.size(); ++k) EXPECT_DOUBLE_EQ(a[k].intensity, b[k].intensity);
        }
    }
}

TEST(DenovoPrepareTest, ResiduePairListsAreCapped) {
    // Many MS3 scans whose precursors lie one residue (or one residue and water) below the
    // MS2 precursor, each repeated under a different alphabet letter.
    std::vector<zar::DenovoResidue> alphabet;
    for (int k = 0; k < 40; ++k)
        alphabet.push_back({static_cast<char>('a' + k % 26), 57.02 + k * 2.0, 0});
    zartest::SyntheticOptions o;
    o.noisePoints = 0;
    auto scans = zartest::SyntheticScans("GGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGGG", o);
    const double mh = scans[0].precursor;
    for (int k = 0; k < 40; ++k) {
        DenovoScan ms3;
        ms3.kind = zar::kDenovoKindMS3;
        ms3.precursor = mh - 57.02 - k * 2.0;
        // The MS2 scan's b ions, so that every slot has evidence.
        for (int j = 1; 58.03 + 57.02 * j < ms3.precursor - 60; ++j)
            ms3.points.push_back({58.03 + 57.02 * j, 500.0});
        scans.push_back(ms3);
    }
    CDenovoEngine engine;
    engine.LoadSpectra(scans, DenovoParams{}, alphabet);
    EXPECT_EQ(engine.YPairCount(), CDenovoEngine::kMaxResiduePairs);
    EXPECT_LE(engine.BPairCount(), CDenovoEngine::kMaxResiduePairs);
    EXPECT_LE(engine.SpectraLoaded(), CDenovoEngine::kMaxFilledSlots);
}

}  // namespace

namespace {

// Broken scans must neither size arrays by absurd masses nor convert non-numbers.
TEST(DenovoLoadTest, AbsurdPrecursorsAndPointsAreRefusedSafely) {
    const double nan = std::nan("");
    const std::vector<DenovoPoint> points = {
        {nan, 10.0}, {200.0, nan}, {300.0, 1e300}, {400.0, -5.0}, {500.0, 100.0}};
    const double precursors[] = {1e12, -400.0, nan, 0.0, 10.0};
    for (double precursor : precursors) {
        CDenovoEngine engine;
        DenovoScan scan;
        scan.precursor = precursor;
        scan.points = points;
        engine.LoadSpectra({scan}, DenovoParams{});
        EXPECT_EQ(engine.MassRangeEnd(), 0) << precursor;
        EXPECT_EQ(engine.FormatSequenceTable(), 0) << precursor;
    }
    CDenovoEngine engine;
    engine.SetSpectrum(0, 1000.0, points);
    const auto& kept = engine.Points(0);
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_DOUBLE_EQ(kept[0].intensity, 1e15);
    EXPECT_DOUBLE_EQ(kept[1].intensity, 0.0);
    // A fragment scan without a usable precursor is not kept.
    engine.AddSpectrum(0, zar::kDenovoKindMS2);
    engine.SetSpectrum(1, -300.0, points);
    EXPECT_EQ(engine.AddSpectrum(1, zar::kDenovoKindMS3), 1);
}

}  // namespace
