// dravel_msn / dravel_ms: write the ".dta" spectra of a run for a search. Built twice from this
// file: ZAR_DRAVEL_MS_LEVEL 2 (MS/MS spectra, for the search engine) or 1 (MS spectra, for
// peptide mapping).

#include "DtaExtraction.h"

#include "tools/common/StopSignal.h"
#include "tools/common/ToolArguments.h"
#include "tools/common/ToolReporter.h"

#include "core/Numbers.h"
#include "document/ZarMessages.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

namespace {

#if ZAR_DRAVEL_MS_LEVEL == 1
constexpr const char* kProgram = "dravel_ms";
constexpr const char* kMessage = zar::kRegDravelMSProgress;
constexpr const char* kSpectra = "MS spectrum";
#else
constexpr const char* kProgram = "dravel_msn";
constexpr const char* kMessage = zar::kRegDravelMSnProgress;
constexpr const char* kSpectra = "MS/MS spectrum";
#endif

constexpr const char* kUsage =
    "Usage: %s [options] <run file>\n"
    "Writes one .dta file per %s of the run (mzML, mzXML or MGF), named\n"
    "base.first.last.charge.dta. Every option is one argument with its value glued on.\n"
    "  -D<folder>   where the .dta files go (default: the working folder)\n"
    "  -F<scan> -L<scan>   first and last scan (default: the whole run)\n"
    "  -E<intensity>       least total intensity of a spectrum (default 0)\n"
    "  -I<count>           least number of peaks (default 0)\n"
    "  -B<mass> -T<mass>   (M+H)+ range of the precursor; peptide mapping: m/z range of peaks\n"
    "  -C<charge>          the charge to use (default: the precursor's, else 2 and 3)\n"
    "  -M<tolerance>       precursor tolerance of grouped scans, (M+H)+ units (default 1.40)\n"
    "  -S<scans>           scans allowed between grouped scans (default 1)\n"
    "  -G<count>           scans a group needs to be averaged into one spectrum (default 2)\n"
    "  -Y<residues>        keep spectra whose fragments show these residues as a ladder\n"
    "  -P<mass>            peptide mapping: the protein mass written as the header mass\n"
    "  -Z -X -V            accepted for the launchers' option texts; no effect\n"
    "Started by the program, it names each file on its error stream and reports its progress\n"
    "to the program; run by hand, it prints each file name.\n";

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    zar::UseCNumericLocale();
    // A launcher that stopped reading the pipe must not end the extraction halfway: its files
    // are still written, only their names are not heard.
    std::signal(SIGPIPE, SIG_IGN);
    // Stopped by the launcher, it ends between two files: no half-written file stays behind.
    zar::CatchStopSignals();
    const zar::CToolReporter reporter(kProgram, kMessage, true);
    zar::CToolArguments arguments(app.arguments().mid(1));
    if (arguments.helpAsked()) {
        std::printf(kUsage, kProgram, kSpectra);
        return zar::kToolOk;
    }
    // The launcher waits for (0, 0) whatever happened.
    const auto finish = [&reporter](int code) {
        reporter.post(0, 0);
        return code;
    };
    zar::DtaExtractionOptions options;
    options.msLevel = ZAR_DRAVEL_MS_LEVEL;
    QString runPath;
    QString error;
    if (!zar::ReadDtaExtractionArguments(arguments, options, runPath, error)) {
        if (!reporter.connected()) std::fprintf(stderr, kUsage, kProgram, kSpectra);
        return finish(reporter.fail(zar::kToolUsage, error));
    }
    const QString unknown = arguments.unknownFlags(zar::kDtaExtractionFlags);
    if (!unknown.isEmpty()) reporter.note(QStringLiteral("%1: ignoring %2").arg(kProgram, unknown));

    zar::DtaExtractionEvents events;
    events.scanDone = [&reporter](int scan) { reporter.post(1, scan); };
    events.fileWritten = [&reporter](const QString& name) { reporter.fileWritten(name); };
    const zar::DtaExtractionResult result = zar::ExtractDtaFiles(runPath, options, events);
    if (result.exitCode != zar::kToolOk) return finish(reporter.fail(result.exitCode, result.message));
    return finish(zar::kToolOk);
}
