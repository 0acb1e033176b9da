#pragma once
// Extraction of ".dta" spectra from a run, as the launchers and the Dta dialog ask for it.
//
// MS/MS (level 2): every MS/MS scan of the scan range becomes one spectrum, except that scans
// of the same precursor (within the precursor tolerance, same charge) no more than `groupScan`
// scans apart form a group, and a group of at least `minGroupCount` scans becomes one averaged
// spectrum named by its first and last scan. A spectrum is written once per charge: the one
// given with -C, else the precursor's, else 2 and 3; its (M+H)+ must lie in the mass range.
// Spectra with fewer peaks than the minimum ion count, a total intensity below the threshold,
// or without the subsequence as a ladder of fragment masses are left out.
//
// MS (level 1, for peptide mapping): every MS scan of the range becomes one spectrum of the
// peaks within the mass range; its header mass is the supplied protein mass (-P) or else the
// base peak, at the charge given with -C (else 1). The count and threshold rules are the same.
//
// Files are named base.first.last.charge.dta, base being the run's file name up to its first
// ".", and written into the output folder through a temporary file each.

#include <QString>

#include <functional>
#include <vector>

namespace zar {

class CToolArguments;

struct DtaExtractionOptions {
    static constexpr double kDefaultPrecursorTolerance = 1.4;
    static constexpr int kDefaultGroupScan = 1;
    static constexpr int kDefaultMinGroupCount = 2;
    // Two fragments whose m/z differ by a residue mass within this are a ladder step.
    static constexpr double kLadderTolerance = 0.5;

    int msLevel = 2;
    QString outputFolder;        // -D; the working folder when empty
    int firstScan = 0;           // -F; 0: the run's first
    int lastScan = 0;            // -L; 0: the run's last
    double threshold = 0.0;      // -E: least total intensity of a spectrum
    double precursorTolerance = kDefaultPrecursorTolerance;  // -M, (M+H)+ units
    int groupScan = kDefaultGroupScan;                        // -S
    int minGroupCount = kDefaultMinGroupCount;                // -G
    int minIonCount = 0;         // -I: least number of peaks
    double lowMass = 0.0;        // -B; 0: no lower limit
    double highMass = 0.0;       // -T; 0: no upper limit
    int charge = 0;              // -C; 0: from the precursor
    QString subsequence;         // -Y
    double proteinMass = 0.0;    // -P, MS spectra only
};

// Letters the programs take: D F L E M S G I B T C Y P, and Z X V (accepted, no effect).
inline constexpr const char* kDtaExtractionFlags = "DFLEMSGIBTCYPZXV";

// Reads the options and the run file from a command line; false with a text.
bool ReadDtaExtractionArguments(CToolArguments& arguments, DtaExtractionOptions& options,
                                QString& runPath, QString& error);

struct DtaExtractionEvents {
    std::function<void(int scan)> scanDone;                  // each scan of the range
    std::function<void(const QString& fileName)> fileWritten;  // name without the folder
};

struct DtaExtractionResult {
    int exitCode = 0;  // ToolExitCode
    QString message;   // why it failed
    int filesWritten = 0;
};

DtaExtractionResult ExtractDtaFiles(const QString& runPath, const DtaExtractionOptions& options,
                                    const DtaExtractionEvents& events = {});

// Whether the peaks (ascending m/z) hold the residues of the subsequence as consecutive mass
// differences, read either way (b or y ladder).
bool HasSequenceLadder(const std::vector<double>& mz, const QString& subsequence,
                       double tolerance = DtaExtractionOptions::kLadderTolerance);

}  // namespace zar
