// Growing partial sequences on the one-dimensional spectra, their scores, the expansion of
// gaps and the ranked candidate table.

#include "DenovoEngine.h"

#include "DenovoIndexOrder.h"

#include <algorithm>
#include <cctype>

namespace zar {

namespace {

// Limits of the growth, in nominal mass.
constexpr int kFirstStart = 58;
constexpr int kLetterStartBelow = 188;
constexpr int kGapStartFrom = 115;
constexpr int kEndWindow = 326;
constexpr int kLastStep = 133;
constexpr int kForwardStartMargin = 132;
constexpr int kBackwardFloor = 76;
constexpr int kMinStep = 57;
constexpr int kMaxStep = 186;
constexpr int kEndMargin = 75;
constexpr int kTerminalMass = 19;
constexpr int kTailWater = 18;
constexpr int kCountingDivisor = 120;

constexpr double kTypeFiveBelow = static_cast<double>(0.4f);
constexpr double kExpandWindow = static_cast<double>(0.4f);
constexpr double kWeight2D = static_cast<double>(0.1f);
constexpr double kWeightMS2 = static_cast<double>(0.01f);

constexpr CDenovoEngine::Evidence kLadderIon = 50;

bool LosesWater(char c) {
    return c == 'S' || c == 'T' || c == 'D' || c == 'E';
}
bool LosesAmmonia(char c) {
    return c == 'N' || c == 'Q';
}

// Gap numbers larger than any spectrum are held at this value.
constexpr int kLargestGap = 1000000;

int AppendDigit(int value, char digit) {
    return std::min(value * 10 + (digit - '0'), kLargestGap);
}

// A text split into its leading gap, its letters and its trailing gap.
struct SplitText {
    int head = 0;
    bool hasHead = false;
    std::string middle;
    int tail = 0;
    bool hasTail = false;
};

SplitText Split(const std::string& text) {
    SplitText out;
    size_t pos = 0;
    if (!text.empty() && std::isdigit(static_cast<unsigned char>(text[0]))) {
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])))
            out.head = AppendDigit(out.head, text[pos++]);
        out.hasHead = true;
        if (pos < text.size() && text[pos] == '.') ++pos;
    }
    const size_t dot = text.find('.', pos);
    out.middle = text.substr(pos, dot == std::string::npos ? std::string::npos : dot - pos);
    if (dot != std::string::npos) {
        out.hasTail = true;
        for (size_t i = dot + 1;
             i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
            out.tail = AppendDigit(out.tail, text[i]);
    }
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Growth

bool CDenovoEngine::Counts(Evidence value, bool bothSigns) const {
    const Evidence limit = oneDMax_ / kCountingDivisor;
    return value > limit || (bothSigns && value < -limit);
}

void CDenovoEngine::PrepareSteps() {
    // An extension tries every residue from every position it reaches: the tests that depend
    // only on the spectrum are made once here, not again for each window.
    const size_t n = static_cast<size_t>(std::max(oneDCount_, 0));
    stepCounts_.assign(n, 0);
    for (size_t k = 0; k < n && k < oneD_.size(); ++k) stepCounts_[k] = Counts(oneD_[k], false);
    stepMasses_.clear();
    for (int m = kMinStep; m <= kMaxStep; ++m)
        if (const DenovoResidue* residue = ResidueOfNominal(m)) stepMasses_.emplace_back(m, residue);
}

bool CDenovoEngine::SpendWork() {
    if (Cancelled()) return false;
    if (workBudget_ > 0 && workDone_ - workStart_ >= workBudget_) return false;
    ++workDone_;
    return true;
}

void CDenovoEngine::SequenceAllTypes() {
    for (int type = 1; type <= 4 && !Cancelled(); ++type) {
        BuildSpectrum(type);
        SequenceSpectrum(type);
    }
    if (!Cancelled() && s0_[0] < kTypeFiveBelow) {
        BuildSpectrum(5);
        SequenceSpectrum(5);
    }
}

// The first residue of a growth whose first ion lies at this mass, or a leading gap.
bool CDenovoEngine::StartGrowth(int ionMass, Growth& g) const {
    if (ionMass < kLetterStartBelow && ResidueOfNominal(ionMass - 1)) {
        g.text.assign(1, ResidueOfNominal(ionMass - 1)->letter);
        return true;
    }
    if (ionMass < kGapStartFrom) return false;
    g.head = ionMass - 1;
    g.hasHead = true;
    g.text = std::to_string(ionMass - 1) + '.';
    return true;
}

void CDenovoEngine::SequenceSpectrum(int type) {
    if (!Prepared() || oneDCount_ <= 0) return;
    workStart_ = workDone_;
    PrepareSteps();
    const int N = oneDCount_;
    for (int j = kFirstStart; j < N - kForwardStartMargin; ++j) {
        const Evidence v = oneD_[static_cast<size_t>(j)];
        Growth g;
        if (!Counts(v, true) || !StartGrowth(j, g)) continue;
        ExtendForward(g, j, static_cast<double>(v));
        if (Cancelled()) return;
    }
    if (type == 7) return;
    for (int j = N - kFirstStart; j >= kLastStep; --j) {
        const Evidence v = oneD_[static_cast<size_t>(j)];
        Growth g;
        if (!Counts(v, true) || !StartGrowth(N - j, g)) continue;
        ExtendBackward(g, j, static_cast<double>(v));
        if (Cancelled()) return;
    }
}

void CDenovoEngine::ExtendForward(Growth& g, int j, double score) {
    if (!SpendWork()) return;
    const int N = oneDCount_;
    const int r = N - j;
    if (r < kEndWindow) {
        if (const DenovoResidue* last = ResidueOfNominal(r - kTerminalMass))
            AddGrowth(g, last, 0, score);
        if (r < kLastStep) return;
    }
    AddGrowth(g, nullptr, r - kTerminalMass, score);
    if (g.text.size() >= static_cast<size_t>(kMaxSequenceLength)) return;
    for (const auto& [mass, step] : stepMasses_) {
        const int k = j + mass;
        if (k >= N - kEndMargin) break;
        if (!stepCounts_[static_cast<size_t>(k)]) continue;
        const Evidence v = oneD_[static_cast<size_t>(k)];
        g.text.push_back(step->letter);
        ExtendForward(g, k, score + static_cast<double>(v));
        g.text.pop_back();
        if (Cancelled()) return;
    }
}

void CDenovoEngine::ExtendBackward(Growth& g, int j, double score) {
    if (!SpendWork()) return;
    if (j < kEndWindow) {
        if (const DenovoResidue* last = ResidueOfNominal(j - kTerminalMass))
            AddGrowth(g, last, 0, score);
        if (j < kLastStep) return;
    }
    AddGrowth(g, nullptr, j - kTerminalMass, score);
    if (g.text.size() >= static_cast<size_t>(kMaxSequenceLength)) return;
    for (const auto& [mass, step] : stepMasses_) {
        const int k = j - mass;
        if (k < kBackwardFloor) break;
        if (!stepCounts_[static_cast<size_t>(k)]) continue;
        const Evidence v = oneD_[static_cast<size_t>(k)];
        g.text.push_back(step->letter);
        ExtendBackward(g, k, score + static_cast<double>(v));
        g.text.pop_back();
        if (Cancelled()) return;
    }
}

void CDenovoEngine::AddGrowth(const Growth& g, const DenovoResidue* last, int tailGap,
                              double score) {
    const int tail = last ? 0 : tailGap + kTailWater;
    const double s = ScoreOf(g.head, tail, score);
    // Most growths fall short of the list; the text is only made for those that may enter.
    if (!Admissible(s)) return;
    std::string text = g.text;
    if (last) {
        text.push_back(last->letter);
    } else {
        text.push_back('.');
        text += std::to_string(tailGap);
    }
    if (text.size() > static_cast<size_t>(kMaxSequenceLength)) return;
    EnterCandidate(text, s);
}

// ---------------------------------------------------------------------------------------------
// The working list

double CDenovoEngine::ScoreOf(int head, int tail, double pathScore) const {
    const int P = massRangeEnd_;
    if (P <= 0 || oneDSum_ <= 0) return 0.0;
    return static_cast<double>(P - head - tail) / P * (pathScore / static_cast<double>(oneDSum_));
}

double CDenovoEngine::PrimaryScore(const std::string& text, double pathScore) const {
    const SplitText split = Split(text);
    return ScoreOf(split.head, split.hasTail ? split.tail + kTailWater : 0, pathScore);
}

bool CDenovoEngine::Admissible(double s) const {
    const size_t last = static_cast<size_t>(maximumCandidates_ - 1);
    return !(s < s0_[last] || s < minimumPrimaryScore_ ||
             s < percentOfHighestScore_ * s0_[0] * 0.01);
}

int CDenovoEngine::FindEntry(const std::string& text, int listLength) const {
    for (int i = 0; i < listLength; ++i)
        if (texts_[static_cast<size_t>(i)] == text) return i;
    return -1;
}

void CDenovoEngine::AddCandidate(const std::string& text, double pathScore) {
    const double s = PrimaryScore(text, pathScore);
    if (!Admissible(s)) return;
    EnterCandidate(text, s);
}

void CDenovoEngine::EnterCandidate(const std::string& text, double s) {
    const int L = maximumCandidates_;
    if (RaiseIfListed(text, s, L)) return;
    InsertEntry(text, s, ScoreOneDimensional(text), L, false);
}

// A text already among the first L entries keeps its place unless it now scores better;
// true when it was listed.
bool CDenovoEngine::RaiseIfListed(const std::string& text, double s, int L) {
    const int found = FindEntry(text, L);
    if (found < 0) return false;
    if (s <= s0_[static_cast<size_t>(found)]) return true;
    if (found == 0)
        s0_[0] = s;
    else
        MoveEntryUp(found, s);
    return true;
}

// A text found again with a better score rises above the entries it now beats; among equal
// scores the larger CS(1-D) stays above.
void CDenovoEngine::MoveEntryUp(int from, double s) {
    const double c = cs1d_[static_cast<size_t>(from)];
    std::string text = std::move(texts_[static_cast<size_t>(from)]);
    int k = from - 1;
    for (; k >= 0; --k) {
        const size_t u = static_cast<size_t>(k);
        if (s0_[u] > s || (s0_[u] == s && cs1d_[u] >= c)) break;
        texts_[u + 1] = std::move(texts_[u]);
        s0_[u + 1] = s0_[u];
        cs1d_[u + 1] = cs1d_[u];
    }
    const size_t at = static_cast<size_t>(k + 1);
    texts_[at] = std::move(text);
    s0_[at] = s;
    cs1d_[at] = c;
}

// A new text goes below every entry that scores at least as well; the last entry drops out.
void CDenovoEngine::InsertEntry(const std::string& text, double s, double c, int L, bool byKey) {
    const double key = 10.0 * s + c;
    int k = L - 2;
    for (; k >= 0; --k) {
        const size_t u = static_cast<size_t>(k);
        const bool stays = byKey ? 10.0 * s0_[u] + cs1d_[u] >= key : s0_[u] >= s;
        if (stays) break;
        texts_[u + 1] = std::move(texts_[u]);
        s0_[u + 1] = s0_[u];
        cs1d_[u + 1] = cs1d_[u];
    }
    const size_t at = static_cast<size_t>(k + 1);
    texts_[at] = text;
    s0_[at] = s;
    cs1d_[at] = c;
}

void CDenovoEngine::AddExpandedCandidate(const std::string& text, double s0) {
    const int L = maximumPartialSequences_;
    if (RaiseIfListed(text, s0, L)) return;
    const double c = ScoreOneDimensional(text);
    const size_t last = static_cast<size_t>(L - 1);
    if (!(10.0 * s0 + c > 10.0 * s0_[last] + cs1d_[last])) return;
    InsertEntry(text, s0, c, L, true);
}

// ---------------------------------------------------------------------------------------------
// Scores

std::vector<int> CDenovoEngine::BuildLadder(const std::string& text, bool mirrored) {
    const int P = massRangeEnd_;
    ladder_.assign(static_cast<size_t>(P) + 2, 0);
    std::vector<int> fragments;
    const auto add = [&](int x, Evidence value, int mirror) {
        if (value == 0) return;
        if (x >= 0 && x <= P + 1) ladder_[static_cast<size_t>(x)] += value;
        // Mirrors that fall outside the spectrum have nothing to meet.
        if (mirrored && mirror >= 0 && mirror <= P + 1)
            ladder_[static_cast<size_t>(mirror)] += value;
    };
    const SplitText split = Split(text);
    size_t pos = 0;
    int n = 0;
    if (split.hasHead) {
        n = split.head;
        pos = text.find('.') + 1;
        add(n + 1, kLadderIon, P - n);
        if (pos < text.size() && text[pos] == 'P') add(n + 1, kLadderIon, P - n);
        int c10 = 0;
        int c5 = 0;
        for (size_t i = pos; i < text.size(); ++i) {
            c10 += LosesWater(text[i]);
            c5 += LosesAmmonia(text[i]);
        }
        add(n + 19, 10 * c10, P - n - 18);
        add(n + 18, 5 * c5, P - n - 17);
        fragments.push_back(n + 1);
    }
    const size_t dot = text.find('.', pos);
    const size_t end = dot == std::string::npos ? text.size() : dot;
    int m = n;
    int a10 = 0;
    int a5 = 0;
    for (size_t i = pos; i < end && i + 1 < text.size(); ++i) {
        const char ch = text[i];
        if (LosesWater(ch)) a10 += 10;
        if (LosesAmmonia(ch)) a5 += 5;
        const DenovoResidue* residue = ResidueOfLetter(ch);
        if (!residue) continue;
        m += residue->nominal;
        add(m + 1, kLadderIon, P - m);
        const char next = text[i + 1];
        if (ch == 'P' && next != 'P') add(m + 1, -30, P - m);
        if (next == 'P' && ch != 'P') add(m + 1, kLadderIon, P - m);
        add(m - 17, a10, P - m + 18);
        add(m - 16, a5, P - m + 17);
        int f10 = 0;
        int f5 = 0;
        for (size_t k = i + 1; k < end; ++k) {
            f10 += LosesWater(text[k]);
            f5 += LosesAmmonia(text[k]);
        }
        add(m + 19, 10 * f10, P - m - 18);
        add(m + 18, 5 * f5, P - m - 17);
        fragments.push_back(m + 1);
    }
    return fragments;
}

// Red evidence minus blue, with negative values moved to the complementary mass; the same for
// every text while the ion types stand.
const std::vector<CDenovoEngine::Evidence>& CDenovoEngine::RedMinusBlueFolded() {
    if (foldedValid_) return foldedRedMinusBlue_;
    const int L = massRangeStart_;
    const int P = massRangeEnd_;
    std::vector<Evidence>& e = foldedRedMinusBlue_;
    e.assign(static_cast<size_t>(P) + 2, 0);
    for (int k = 1; k < spectraLoaded_; ++k) {
        const int sign = signs_[static_cast<size_t>(k)];
        if (sign == 0) continue;
        const std::vector<Evidence>& ev = evidence_[static_cast<size_t>(k)];
        for (int j = L; j < P; ++j) e[static_cast<size_t>(j)] += sign * ev[static_cast<size_t>(j)];
    }
    for (int j = L; j < P; ++j) {
        const Evidence v = e[static_cast<size_t>(j)];
        if (v >= 0) continue;
        e[static_cast<size_t>(P - j + 1)] -= v;
        e[static_cast<size_t>(j)] = 0;
    }
    foldedValid_ = true;
    return e;
}

double CDenovoEngine::ScoreOneDimensional(const std::string& text) {
    if (!Prepared()) return 0.0;
    if (auto it = cs1dMemo_.find(text); it != cs1dMemo_.end()) return it->second;
    BuildLadder(text, false);
    experimental_ = RedMinusBlueFolded();
    const double c1 = SimilarityOf(ladder_, experimental_);
    const int P = massRangeEnd_;
    for (int j = 0; j < (P + 2) / 2; ++j)
        std::swap(experimental_[static_cast<size_t>(j)],
                  experimental_[static_cast<size_t>(P + 1 - j)]);
    const double c2 = SimilarityOf(ladder_, experimental_);
    const double result = c1 > c2 ? c1 : c2;
    cs1dMemo_.emplace(text, result);
    return result;
}

double CDenovoEngine::ScoreTwoDimensional(const std::string& text) {
    if (!Prepared()) return 0.0;
    const std::vector<int> fragments = BuildLadder(text, false);
    if (fragments.empty()) return 0.0;
    const int L = massRangeStart_;
    const int P = massRangeEnd_;
    experimental_.assign(static_cast<size_t>(P) + 2, 0);
    for (int q : fragments) {
        for (int k = 1; k < spectraLoaded_; ++k) {
            const std::vector<Evidence>& ev = evidence_[static_cast<size_t>(k)];
            const int parent = parents_[static_cast<size_t>(k)];
            if (parent == q)
                for (int j = L; j < P; ++j)
                    experimental_[static_cast<size_t>(j)] += ev[static_cast<size_t>(j)];
            if (parent == P - q + 1)
                for (int j = L; j < P; ++j)
                    experimental_[static_cast<size_t>(j)] += ev[static_cast<size_t>(P - j + 1)];
        }
    }
    return SimilarityOf(ladder_, experimental_);
}

double CDenovoEngine::ScoreMS2(const std::string& text) {
    if (!Prepared()) return 0.0;
    BuildLadder(text, true);
    return SimilarityOf(ladder_, evidence_[0]);
}

double CDenovoEngine::GetSequenceMass(const std::string& text) const {
    double mass = kWaterPlusProton;
    for (char c : text)
        if (const DenovoResidue* r = ResidueOfLetter(c)) mass += r->mass;
    return mass;
}

// ---------------------------------------------------------------------------------------------
// Expansion of gaps

void CDenovoEngine::EnumerateResidueCombinations(int mass, int gap, const std::string& prefix,
                                                 std::vector<std::string>& out) const {
    if (out.size() >= static_cast<size_t>(kMaxGapFillers)) return;
    if (mass == gap) {
        out.push_back(prefix);
        return;
    }
    if (mass > gap - kMinStep) return;
    for (const DenovoResidue& r : residues_) {
        EnumerateResidueCombinations(mass + r.nominal, gap, prefix + r.letter, out);
        if (out.size() >= static_cast<size_t>(kMaxGapFillers)) return;
    }
}

std::vector<std::string> CDenovoEngine::EnumerateGapFillers(int gap) const {
    std::vector<std::string> out;
    for (const DenovoResidue& a : residues_) {
        for (const DenovoResidue& b : residues_) {
            EnumerateResidueCombinations(a.nominal + b.nominal, gap,
                                         std::string{a.letter, b.letter}, out);
            if (out.size() >= static_cast<size_t>(kMaxGapFillers)) return out;
        }
    }
    return out;
}

void CDenovoEngine::ExpandPartialSequences() {
    if (!Prepared()) return;
    BuildSpectrum(1);
    const int L = maximumCandidates_;
    struct Copy {
        std::string text;
        double s0;
        double cs1d;
    };
    std::vector<Copy> copies;
    for (int i = 0; i < L; ++i)
        copies.push_back({texts_[static_cast<size_t>(i)], s0_[static_cast<size_t>(i)],
                          cs1d_[static_cast<size_t>(i)]});

    // Complete sequences keep the front of the list; the rest is won back by expansion.
    int front = 0;
    for (const Copy& c : copies) {
        if (c.text.empty() || c.text.find('.') != std::string::npos) continue;
        texts_[static_cast<size_t>(front)] = c.text;
        s0_[static_cast<size_t>(front)] = c.s0;
        cs1d_[static_cast<size_t>(front)] = c.cs1d;
        ++front;
    }
    for (int i = front; i < L; ++i) {
        texts_[static_cast<size_t>(i)].clear();
        s0_[static_cast<size_t>(i)] = 0.0;
        cs1d_[static_cast<size_t>(i)] = 0.0;
    }

    const double best = copies.empty() ? 0.0 : copies[0].s0;
    const double threshold = best - kExpandWindow;
    const size_t lastPartial = static_cast<size_t>(maximumPartialSequences_ - 1);
    const size_t walked = std::min(copies.size(), static_cast<size_t>(kMaxExpandedCopies));
    for (size_t i = 0; i < walked && !Cancelled(); ++i) {
        const Copy& c = copies[i];
        if (!(c.s0 > threshold) || !(c.s0 > 0.5 * best) || c.s0 < s0_[lastPartial]) break;
        const SplitText split = Split(c.text);
        if (!split.hasHead && !split.hasTail) continue;
        if (split.head > kMaxExpandableGap || split.tail > kMaxExpandableGap) {
            AddExpandedCandidate(c.text, c.s0);
            continue;
        }
        const std::vector<std::string> heads =
            split.hasHead ? EnumerateGapFillers(split.head) : std::vector<std::string>{};
        const std::vector<std::string> tails =
            split.hasTail ? EnumerateGapFillers(split.tail) : std::vector<std::string>{};
        if (heads.empty() && tails.empty()) continue;
        // A gap without fillers stays written as a gap, so the text keeps its mass.
        const std::string headText =
            split.hasHead && heads.empty() ? std::to_string(split.head) + '.' : std::string();
        const std::string tailText =
            split.hasTail && tails.empty() ? '.' + std::to_string(split.tail) : std::string();
        const std::vector<std::string> headChoices =
            heads.empty() ? std::vector<std::string>{headText} : heads;
        const std::vector<std::string> tailChoices =
            tails.empty() ? std::vector<std::string>{tailText} : tails;
        int entered = 0;
        for (const std::string& h : headChoices) {
            for (const std::string& t : tailChoices) {
                if (entered++ >= kMaxExpansionsPerCopy || Cancelled()) break;
                const std::string text = h + split.middle + t;
                if (text.size() > static_cast<size_t>(kMaxSequenceLength)) continue;
                AddExpandedCandidate(text, c.s0);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The ranked table

int CDenovoEngine::FormatSequenceTable() {
    std::vector<int> selected;
    std::vector<double> totals;
    std::vector<double> ms2Scores;
    std::vector<double> twoDScores;
    const double floor = percentOfHighestScore_ * s0_[0] * 0.01;
    for (int i = 0; i < kMaxCandidates; ++i) {
        const size_t u = static_cast<size_t>(i);
        if (!(s0_[u] > minimumPrimaryScore_) || !(s0_[u] > floor)) break;
        const double ms2 = ScoreMS2(texts_[u]);
        const double twoD = ScoreTwoDimensional(texts_[u]);
        selected.push_back(i);
        ms2Scores.push_back(ms2);
        twoDScores.push_back(twoD);
        totals.push_back(10.0 * s0_[u] + kWeight2D * twoD + kWeightMS2 * ms2 + cs1d_[u]);
    }
    const std::vector<int> ascending = DenovoAscendingOrder(totals);
    candidateCount_ = static_cast<int>(selected.size());
    for (int k = 0; k < candidateCount_; ++k) {
        const int r = ascending[static_cast<size_t>(candidateCount_ - 1 - k)];
        const size_t i = static_cast<size_t>(selected[static_cast<size_t>(r)]);
        DenovoCandidate& row = table_[static_cast<size_t>(k)];
        row.sequence = QString::fromLatin1(texts_[i]);
        row.mh = GetSequenceMass(texts_[i]);
        row.s0 = s0_[i];
        row.cs1d = cs1d_[i];
        row.csMS2 = ms2Scores[static_cast<size_t>(r)];
        row.cs2d = twoDScores[static_cast<size_t>(r)];
    }
    return candidateCount_;
}

const DenovoCandidate* CDenovoEngine::GetCandidate(int index) const {
    if (index < 0 || index >= candidateCount_) return nullptr;
    return &table_[static_cast<size_t>(index)];
}

}  // namespace zar
