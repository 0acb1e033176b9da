#pragma once
// Writes a FASTA database from the entries of another that pass up to six include and six
// exclude strings and a protein mass range, optionally with each entry's mass in its header.
// The target is written through a temporary file: it is replaced (or extended) only when the
// whole run succeeds.

#include "databases/WorkProgress.h"

#include <QString>

#include <array>
#include <optional>

namespace zar {

constexpr int kSelectStrings = 6;
constexpr int kMaxSelectStringChars = 100;
constexpr int kMaxSelectSequenceChars = 2'000'000;
constexpr int kSelectProgressEntries = 100;
// The target that an empty target name stands for, in the current folder.
inline const char kDefaultSelectTarget[] = "new.fasta";

struct SelectRequest {
    std::array<QString, kSelectStrings> includeStrings;
    std::array<QString, kSelectStrings> excludeStrings;
    std::array<bool, kSelectStrings> includeEnabled{};
    std::array<bool, kSelectStrings> excludeEnabled{};
    double lowestMass = 0.0;  // both 0: no mass test
    double highestMass = 0.0;
    int targetMode = 0;  // 0 create or replace, 1 append
    bool includeMassInHeader = false;
    QString originalPath;
    QString targetPath;  // empty: "new.fasta" in the current folder
};

enum class SelectResult { Completed = 0, Failed = 1, Cancelled = 2 };

// Runs one selection, reporting list lines and "processed  %d entries, continuing on ..." status
// texts through the progress; polls its cancel flag between entries.
SelectResult SelectDatabaseEntries(const SelectRequest& request, const WorkProgress& progress);

// The target as the Select page takes it: an existing target unchanged (in append mode only
// when it is a valid database, else nothing after the message); a new name without extension
// gets ".fasta". An empty target stays empty.
std::optional<QString> PrepareSelectTarget(const QString& target, int targetMode);

// The mass a header's "[MASS=" annotation gives; false when it has none that reads as a number.
bool AnnotatedMass(const QString& header, double& mass);

// A select string as matched: at most kMaxSelectStringChars, upper-cased, '~' standing for a
// blank.
QString PrepareSelectString(const QString& text);

}  // namespace zar
