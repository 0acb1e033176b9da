// The engine as the document, dialogs and views use it on the user-interface thread.

#include "PepmapEngine.h"
#include "PepmapTestSupport.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

using namespace zar;
using namespace pepmaptest;

namespace {

CEnzymeTable::Records DefaultRecords() {
    CEnzymeTable table;
    table.ResetToDefaults();
    return table.GetRecords();
}

QStringList Labels(const CPepmapEngine& engine) {
    QStringList labels;
    for (const CPepmapPeptide& r : engine.Peptides()) labels << r.label();
    return labels;
}

}  // namespace

TEST(PepmapEngineTest, StartsWithTheDefaultOptions) {
    CPepmapEngine engine;
    const PepmapOptions& o = engine.Options();
    EXPECT_EQ(o.labelMode, 1);
    EXPECT_EQ(o.descending, 0);
    EXPECT_EQ(o.sortMode, 0);
    EXPECT_EQ(o.disulfideMode, 0);
    EXPECT_EQ(o.threshold, 5.0);
    EXPECT_EQ(o.tic, 0.0);
    EXPECT_EQ(o.enzyme, 0);
    EXPECT_EQ(o.firstScan, 1);
    EXPECT_EQ(o.lastScan, 100);
    EXPECT_EQ(o.scanWidth, 3);
    EXPECT_EQ(o.completeDigest, 1);
    EXPECT_EQ(o.incompleteDigest, 0);
    EXPECT_EQ(o.showTimes, 1);
    EXPECT_EQ(o.monoisotopic, 0);
    EXPECT_FALSE(engine.HasDigest());
    EXPECT_EQ(engine.PeptideCount(), 0);
    EXPECT_TRUE(engine.GetSequence().isEmpty());
    EXPECT_DOUBLE_EQ(engine.GetHydrogenMass(true), 1.007825);
    EXPECT_DOUBLE_EQ(engine.GetHydrogenMass(false), 1.00794);
    double n[2], c[2];
    engine.GetNTermMasses(n);
    engine.GetCTermMasses(c);
    EXPECT_DOUBLE_EQ(n[0], 1.00794);
    EXPECT_DOUBLE_EQ(n[1], 1.007825);
    EXPECT_DOUBLE_EQ(c[0], 1.00794 + 15.9994);
    EXPECT_DOUBLE_EQ(c[1], 1.007825 + 15.9949146);
}

TEST(PepmapEngineTest, GetOptionsLeavesTheTicAlone) {
    CPepmapEngine engine;
    PepmapOptions set;
    set.tic = 123.0;
    set.scanWidth = 7;
    engine.SetOptions(set);
    PepmapOptions out;
    out.tic = 9.0;
    engine.GetOptions(out);
    EXPECT_EQ(out.scanWidth, 7);
    EXPECT_EQ(out.tic, 9.0);
    EXPECT_EQ(engine.Options().tic, 123.0);
}

TEST(PepmapEngineTest, DigestsWithTheChosenEnzyme) {
    CPepmapEngine engine;
    engine.BuildEnzymeRules(DefaultRecords());
    PepmapOptions o = engine.Options();
    o.enzyme = kTrypsinK;
    engine.SetOptions(o);
    engine.SetSequence("AKPAKA");
    engine.Digest();
    EXPECT_TRUE(engine.HasDigest());
    EXPECT_EQ(engine.PeptideCount(), 2);
    EXPECT_EQ(Labels(engine), QStringList({"1", "2"}));
    EXPECT_EQ(engine.Peptides()[0].end, 4);
    // An enzyme index without a rule leaves the sequence whole.
    o.enzyme = 99;
    engine.SetOptions(o);
    engine.Digest();
    EXPECT_EQ(engine.PeptideCount(), 1);
    o.enzyme = -1;
    engine.SetOptions(o);
    engine.Digest();
    EXPECT_EQ(engine.PeptideCount(), 1);
}

TEST(PepmapEngineTest, RulesFollowTheEnzymeTable) {
    CPepmapEngine engine;
    // Before the rules are built no enzyme cuts.
    engine.SetSequence("AKAKA");
    engine.Digest();
    EXPECT_EQ(engine.PeptideCount(), 1);
    CEnzymeTable::Records records = DefaultRecords();
    engine.BuildEnzymeRules(records);
    engine.Digest();
    EXPECT_EQ(engine.PeptideCount(), 3);
    // An edited table reaches the next digest once the rules are rebuilt.
    ParseEnzymeRecord("Trypsin 1 R -", records[1]);
    engine.BuildEnzymeRules(records);
    engine.Digest();
    EXPECT_EQ(engine.PeptideCount(), 1);
}

TEST(PepmapEngineTest, EmptySequenceIsRefusedWithAMessage) {
    zartest::MessageBoxCapture boxes;
    CPepmapEngine engine;
    engine.BuildEnzymeRules(DefaultRecords());
    engine.SetSequence("AKA");
    engine.Digest();
    engine.SetSequence("");
    engine.Digest();
    EXPECT_EQ(boxes.texts(), QStringList({"Please enter a sequence"}));
    EXPECT_EQ(engine.PeptideCount(), 2);
}

TEST(PepmapEngineTest, BondMarkersSurviveDigestsUntilReset) {
    CPepmapEngine engine;
    engine.BuildEnzymeRules(DefaultRecords());
    engine.SetSpecificBonds(nullptr, 4);
    EXPECT_FALSE(engine.HasBondMarkers());
    const int markers[] = {0, 1, 0, 0, 1, 0};
    engine.SetSpecificBonds(markers, 6);
    EXPECT_TRUE(engine.HasBondMarkers());
    PepmapOptions o = engine.Options();
    o.disulfideMode = kPepmapSpecificDisulfides;
    engine.SetOptions(o);
    engine.SetSequence("ACKDCR");
    engine.Digest();
    engine.Digest();
    EXPECT_EQ(Labels(engine), QStringList({"1", "2", "1.2"}));
    o.lastScan = 40;
    engine.SetOptions(o);
    engine.FreePeptides();
    EXPECT_FALSE(engine.HasBondMarkers());
    EXPECT_FALSE(engine.HasDigest());
    // A new run is matched whole until the options set its limits.
    EXPECT_EQ(engine.Options().firstScan, 1);
    EXPECT_EQ(engine.Options().lastScan, std::numeric_limits<int>::max());
    EXPECT_TRUE(engine.Peptides().empty());
    engine.Digest();
    EXPECT_EQ(Labels(engine), QStringList({"1", "2"}));
}

TEST(PepmapEngineTest, SortsByTheStoredMode) {
    CPepmapEngine engine;
    engine.BuildEnzymeRules(DefaultRecords());
    engine.SetSequence(kUbiquitin);
    PepmapOptions o = engine.Options();
    o.sortMode = kPepmapSortMass;
    o.descending = 1;
    engine.SetOptions(o);
    engine.Digest();
    engine.SortPeptides(kPepmapSortStored);
    const PepmapPeptideList& rows = engine.Peptides();
    EXPECT_EQ(rows.front().label(), "3");  // TITLEVEPSDTIENVK, the heaviest
    EXPECT_EQ(rows.back().label(), "12");  // GG
    engine.SortPeptides(kPepmapSortPosition);
    EXPECT_EQ(engine.Peptides().front().label(), "12");
}

TEST(PepmapEngineTest, MatchesOnTheCallingThread) {
    CPepmapEngine engine;
    engine.BuildEnzymeRules(DefaultRecords());
    engine.SetSequence(kUbiquitin);
    PepmapOptions o = engine.Options();
    o.monoisotopic = 1;
    engine.SetOptions(o);
    engine.Digest();
    const double mass = engine.Peptides().monoMass(engine.Peptides()[2]);
    std::vector<PepmapScan> scans(20);
    for (int s = 0; s < 20; ++s) {
        scans[s].retentionTime = s + 1.0;
        if (s >= 4 && s <= 8) scans[s].peaks = {{MzOf(mass, 2, 1.007825), 100.0}};
    }
    PepmapScanList source(1, scans);
    engine.RunPepmap(source);
    // Scans 5-9 hold equal sums: the first of the run is kept.
    EXPECT_EQ(engine.Peptides()[2].matchedScan, 5);
    EXPECT_EQ(engine.Peptides()[2].matchedTime, 5.0);
    EXPECT_EQ(engine.Peptides()[0].matchedScan, 0);
}

TEST(PepmapEngineTest, PassesTheTraceRangeToAListener) {
    CPepmapEngine engine;
    engine.SetScanRangeFromTimes(1.0, 2.0);  // nobody listens: nothing happens
    std::pair<double, double> got{0, 0};
    engine.SetScanRangeListener([&](double a, double b) { got = {a, b}; });
    engine.SetScanRangeFromTimes(3.5, 7.25);
    EXPECT_EQ(got, std::make_pair(3.5, 7.25));
}
