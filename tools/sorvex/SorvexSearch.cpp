#include "SorvexSearch.h"

#include "CometParams.h"
#include "CometResults.h"
#include "CometRunner.h"

#include "tools/common/DatabaseTally.h"
#include "tools/common/OutFileText.h"
#include "tools/common/SearchSetup.h"
#include "tools/common/StopSignal.h"
#include "tools/common/ToolReporter.h"

#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/TextFile.h"
#include "databases/FastaReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace zar {

namespace {

constexpr double kProton = 1.00727646688;
constexpr const char* kSpectraFile = "spectra.mgf";
constexpr const char* kCometParamsFile = "comet.params";
constexpr const char* kCometOutputBase = "comet";
// The revision whose hit lines carry no protein number.
constexpr const char* kProgramLine = "TurboSORVEX v.27 (rev. 11), scores by Comet %1";

SearchRunResult Failure(int code, const QString& message) {
    SearchRunResult result;
    result.exitCode = code;
    result.message = message;
    return result;
}

// Appends a number with a fixed count of decimals, always with a decimal point.
void AppendFixed(QByteArray& out, double value, int decimals) {
    char buffer[64];
    const auto [end, failure] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (failure == std::errc()) {
        out.append(buffer, end - buffer);
    } else {
        out.append(CFormat("%.*f", decimals, value).c_str());
    }
}

// The MGF of the spectra: entry i (from 1) is titled so that Comet numbers it scan i. Built as
// bytes: a run has a few hundred thousand peaks, and a text formatted per peak took longer than
// Comet's reading of it.
QByteArray MgfBytes(const std::vector<ListedSpectrum>& spectra) {
    QByteArray out;
    size_t peaks = 0;
    for (const ListedSpectrum& listed : spectra) peaks += listed.spectrum.peaks().size();
    out.reserve(static_cast<qsizetype>(peaks * 24 + spectra.size() * 96));
    for (size_t i = 0; i < spectra.size(); ++i) {
        const CDtaSpectrum& s = spectra[i].spectrum;
        const int scan = static_cast<int>(i) + 1;
        const double mz = (s.precursor() - kProton) / s.charge() + kProton;
        out.append(CFormat("BEGIN IONS\nTITLE=spectrum.%d.%d.%d\nCHARGE=%d+\nPEPMASS=%.6f\n", scan,
                           scan, s.charge(), s.charge(), mz)
                       .c_str());
        for (const DtaPeak& p : s.peaks()) {
            AppendFixed(out, p.mz, 4);
            out.append(' ');
            AppendFixed(out, p.intensity, 2);
            out.append('\n');
        }
        out.append("END IONS\n");
    }
    return out;
}

// Comet reads the spectra, scores them all in one pass over the database, printing the share of
// the pass it has done, then analyses its hits and writes them; the .out files follow. Files are
// announced and reported done in list order, each announced first, as that work goes:
// - the clock starts with the pass: reading the spectra is start-up, and counted as work per
//   file it put the time left far above the truth on a short search;
// - the work after the pass (Comet's analysis of its hits, our .out files) is work per spectrum
//   too, measured on real runs at about one and a half times Comet's start and reading of the
//   spectra: that share of the files is kept back during the pass and reported as the .out
//   files are written, so that the time left does not reach 0 with a third of the search to go.
// The whole seconds of the files add up to the time from the start of the pass.
class FileProgress {
    static constexpr double kAfterPassPerReading = 1.5;

  public:
    FileProgress(int files, const SearchRunEvents& events)
        : files_(std::max(files, 0)), events_(events), seconds_(static_cast<size_t>(files_), 0) {
        timer_.start();
    }
    void percent(int p) {
        const double now = timer_.elapsed() / 1000.0;
        if (!passStarted_) {
            passStarted_ = true;
            readingSeconds_ = now;
            reportedAt_ = now;
            secondsReported_ = std::llround(now);
        }
        percent_ = std::clamp(p, 0, 100);
        int covered = 0;
        if (percent_ > 0) {
            const double pass = (now - readingSeconds_) * 100.0 / percent_;
            const double after = kAfterPassPerReading * readingSeconds_;
            const double passShare = pass / std::max(pass + after, 1e-3);
            covered = static_cast<int>(files_ * passShare * percent_ / 100.0);
        }
        finishUpTo(std::min(covered, files_ - 1));
        // The file the engine works on now, with the share of the pass.
        if (done_ < files_ && events_.searching) events_.searching(done_ + 1, percent_);
        announced_ = std::max(announced_, done_ + 1);
    }
    // The hits of file f (from 1) are ready for its .out file: the files up to it are done.
    void finishUpTo(int covered) {
        covered = std::min(covered, files_);
        if (covered > done_) {
            const double now = timer_.elapsed() / 1000.0;
            const double share = (now - reportedAt_) / (covered - done_);
            for (int f = done_ + 1; f <= covered; ++f) {
                if (f > announced_ && events_.searching) events_.searching(f, percent_);
                announced_ = std::max(announced_, f);
                const long long until = std::llround(reportedAt_ + share * (f - done_));
                const int seconds =
                    static_cast<int>(std::clamp(until - secondsReported_, 0LL, 65535LL));
                secondsReported_ += seconds;
                seconds_[static_cast<size_t>(f - 1)] = seconds;
                if (events_.fileDone) events_.fileDone(f, seconds);
            }
            done_ = covered;
            reportedAt_ = now;
        }
    }
    // The whole seconds reported for file f (from 1).
    int fileSeconds(int f) const { return seconds_[static_cast<size_t>(f - 1)]; }

  private:
    int files_;
    const SearchRunEvents& events_;
    QElapsedTimer timer_;
    std::vector<int> seconds_;
    bool passStarted_ = false;
    double readingSeconds_ = 0.0;
    double reportedAt_ = 0.0;
    long long secondsReported_ = 0;
    int done_ = 0;
    int announced_ = 0;
    int percent_ = 0;
};

// Our peptide text: "K.PEPM*TIDE.R", the differential modifications marked by their symbols.
QString PeptideText(const CometHit& hit, const SearchParamsFile& p) {
    std::vector<QChar> marks(static_cast<size_t>(hit.peptide.size()));
    for (const QString& item : hit.modifications) {
        // "4_V_15.994900": position from 1, V(ariable) or S(tatic), mass.
        const QStringList parts = item.split(QLatin1Char('_'));
        if (parts.size() < 3 || parts[1] != QLatin1String("V")) continue;
        bool ok = false;
        const int position = parts[0].toInt(&ok);
        if (!ok || position < 1 || position > hit.peptide.size()) continue;
        const double mass = LeadingDouble(parts[2]);
        const QChar residue = hit.peptide[position - 1];
        for (const SearchDifferentialMod& d : p.differential) {
            if (d.residues.contains(residue) && std::fabs(d.mass - mass) < 0.001) {
                marks[static_cast<size_t>(position - 1)] = d.symbol;
                break;
            }
        }
    }
    QString text = hit.previousResidue + QLatin1Char('.');
    for (qsizetype i = 0; i < hit.peptide.size(); ++i) {
        text += hit.peptide[i];
        if (!marks[static_cast<size_t>(i)].isNull()) text += marks[static_cast<size_t>(i)];
    }
    return text + QLatin1Char('.') + hit.nextResidue;
}

std::vector<OutFileHit> OutHits(const std::vector<CometHit>& comet, const SearchParamsFile& p) {
    std::vector<OutFileHit> hits;
    const double top = comet.empty() ? 0.0 : comet.front().xcorr;
    for (const CometHit& c : comet) {
        OutFileHit hit;
        hit.reference = c.proteins.isEmpty() ? QStringLiteral("-") : c.proteins.front();
        const int proteins = std::max(c.proteinCount, static_cast<int>(c.proteins.size()));
        hit.furtherReferences = std::max(proteins - 1, 0);
        if (p.printDuplicateReferences) hit.otherReferences = c.proteins.mid(1);
        hit.peptide = PeptideText(c, p);
        hit.mh = c.calculatedMass + kProton;
        // Our lines give each hit's distance from the top hit.
        hit.deltaCn = top > 0.0 && hits.size() > 0 ? (top - c.xcorr) / top : 0.0;
        hit.xcorr = c.xcorr;
        hit.rank = c.rank;
        hit.sp = c.sp;
        hit.ionsMatched = c.ionsMatched;
        hit.ionsTotal = c.ionsTotal;
        hits.push_back(hit);
    }
    // Preliminary ranks: by Sp among the hits shown.
    std::vector<size_t> order(hits.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return hits[a].sp > hits[b].sp; });
    for (size_t r = 0; r < order.size(); ++r) hits[order[r]].spRank = static_cast<int>(r) + 1;
    return hits;
}

}  // namespace

SearchRunResult RunSorvexSearch(const SearchRunOptions& o, const SearchRunEvents& events) {
    SearchSetup setup;
    QString error;
    if (const int code = PrepareSearch(o.folder, o.listPath, o.paramsPath, kSorvexParamsName,
                                       setup, error)) {
        SearchRunResult failed = Failure(code, error);
        failed.notes = setup.notes;
        return failed;
    }
    const SearchParamsFile& params = setup.params;
    const QString& fasta = setup.fasta;
    const std::vector<ListedSpectrum>& spectra = setup.spectra;
    SearchRunResult result;
    result.notes = setup.notes;

    CCometRunner comet;
    if (!comet.locate(error)) return Failure(kToolNoEngine, error);
    // Comet's scratch files stay in the results folder, where the user looks, and go with the
    // run however it ends short of SIGKILL.
    std::optional<QTemporaryDir> temporary;
    QString work = o.workFolder;
    if (work.isEmpty()) {
        temporary.emplace(JoinPath(setup.folder, QStringLiteral("sorvex27-XXXXXX")));
        if (!temporary->isValid())
            return Failure(kToolFailed, QStringLiteral("Cannot make a scratch folder in %1: %2")
                                            .arg(QDir::toNativeSeparators(setup.folder),
                                                 temporary->errorString()));
        work = temporary->path();
    } else if (!QDir().mkpath(work)) {
        return Failure(kToolFailed, QStringLiteral("Cannot make the folder %1")
                                        .arg(QDir::toNativeSeparators(work)));
    }
    QString templateText;
    if (!comet.templateText(work, templateText, error)) return Failure(kToolNoEngine, error);
    const QString cometParams = JoinPath(work, QString::fromLatin1(kCometParamsFile));
    const QString mgf = JoinPath(work, QString::fromLatin1(kSpectraFile));
    if (!WriteTextFileUnsynced(cometParams, CometParamsText(templateText, params), &error) ||
        !WriteFileUnsynced(mgf, MgfBytes(spectra), &error))
        return Failure(kToolFailed, QStringLiteral("Cannot write Comet's input in %1: %2")
                                        .arg(QDir::toNativeSeparators(work), error));

    const int files = static_cast<int>(spectra.size());
    FileProgress progress(files, events);
    const QString date = SearchDateText();
    if (!comet.search(work, cometParams, fasta, mgf, QString::fromLatin1(kCometOutputBase),
                      [&progress](int p) { progress.percent(p); }, error))
        return Failure(StopRequested() ? kToolStopped : kToolNoEngine, error);

    CCometResults comets;
    const QString output = JoinPath(work, QString::fromLatin1(kCometOutputBase) + QStringLiteral(".txt"));
    // Comet writes no results file when it searched no spectrum at all.
    if (QFileInfo::exists(output) && !comets.read(output, error)) return Failure(kToolNoEngine, error);

    // The database's size for the headers, and the description lines of the references named.
    QSet<QString> named;
    for (int i = 1; i <= files; ++i)
        for (const CometHit& hit : comets.hits(i, spectra[static_cast<size_t>(i - 1)].spectrum.charge()))
            if (!hit.proteins.isEmpty()) named.insert(hit.proteins.front());
    QHash<QString, QString> descriptions;
    DatabaseTally tally;
    if (!TallyDatabase(fasta, tally, error, [&](const QByteArray& raw) {
            const QString header = FastaHeaderText(raw);
            const QString reference = FastaReference(header);
            if (named.contains(reference) && !descriptions.contains(reference))
                descriptions.insert(reference, header);
        }))
        return Failure(kToolNoDatabase, error);

    OutFileHeader header = SearchOutHeader(setup, tally);
    header.program = QString::fromLatin1(kProgramLine).arg(comet.version());
    header.date = date;
    header.fragmentTolerance = CometFragmentBin(params);
    header.modifications = SearchModificationsLine(params, true);

    for (int i = 1; i <= files; ++i) {
        const ListedSpectrum& listed = spectra[static_cast<size_t>(i - 1)];
        const CDtaSpectrum& s = listed.spectrum;
        const std::vector<CometHit>& comet1 = comets.hits(i, s.charge());
        const std::vector<OutFileHit> hits = OutHits(comet1, params);
        progress.finishUpTo(i);
        OutFileHeader h = header;
        h.fileName = QFileInfo(listed.outPath).fileName();
        h.line4 = QStringLiteral("spectrum %1 of %2: %3").arg(i).arg(files).arg(listed.name);
        h.line5 = QStringLiteral("database %1").arg(QDir::toNativeSeparators(fasta));
        h.precursorMH = s.precursor();
        h.charge = s.charge();
        h.totalIntensity = TotalIntensity(s);
        h.matchedPeptides = static_cast<int>(hits.size());
        h.lowestSp = hits.empty() ? 0.0
                                  : std::min_element(hits.begin(), hits.end(), [](const auto& a, const auto& b) {
                                        return a.sp < b.sp;
                                    })->sp;
        h.seconds = progress.fileSeconds(i);
        if (StopRequested()) return Failure(kToolStopped, QStringLiteral("stopped"));
        // Written from the .dta files again at will: no wait for the disk per file.
        if (!WriteTextFileUnsynced(listed.outPath, SearchOutText(h, hits, DescriptionLines(hits, descriptions, params.descriptionLines)), &error))
            return Failure(kToolFailed, QStringLiteral("Cannot write %1: %2")
                                            .arg(QDir::toNativeSeparators(listed.outPath), error));
        ++result.outFiles;
    }
    if (!result.notes.isEmpty()) {
        result.exitCode = kToolFailed;
        result.message = QStringLiteral("%1 of the listed .dta files could not be searched")
                             .arg(result.notes.size());
    }
    return result;
}

}  // namespace zar
