#include "BuildixSettings.h"

#include "DefaultParamTexts.h"
#include "ParamFile.h"

#include "core/Numbers.h"
#include "document/EnzymeTable.h"

#include <QRegularExpression>

namespace zar {
namespace {

constexpr const char* kEnzymeSection = "[SORVEX_ENZYME_INFO]";
// A differential modification without residues is written with this residue and mass 0, so
// that the line keeps its six fields and the other modifications read back.
constexpr const char* kEmptyDifferentialResidue = "X";

bool IsProteinTerminusEntry(int index) {
    return index == 1 || index == 3;
}

QStringList Words(const QString& text) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.split(blanks, Qt::SkipEmptyParts);
}

}  // namespace

std::array<StaticModification, ModificationTables::kStaticCount>
BuildixSettings::BuildixStaticModifications() {
    std::array<StaticModification, ModificationTables::kStaticCount> mods;
    for (int i = 0; i < ModificationTables::kStaticCount; ++i) {
        if (IsProteinTerminusEntry(i)) continue;
        mods[static_cast<std::size_t>(i)].name =
            ParamDefaultText(kStaticModificationNamesFirst + i);
    }
    return mods;
}

BuildixReadResult ReadBuildixSettings(const CParamFile& file, BuildixSettings& s) {
    BuildixReadResult result;
    result.hasDatabaseName = file.GetEntryString(QStringLiteral("database_name"), s.databaseName);
    file.GetEntryString(QStringLiteral("sort_directory"), s.sortDirectory);
    file.GetEntryString(QStringLiteral("sort_program"), s.sortProgram);
    file.GetEntryInt(QStringLiteral("enzyme_number"), s.enzymeNumber);
    file.GetEntryInt(QStringLiteral("protein_or_nucleotide_dbase"), s.databaseType);
    file.GetEntryInt(QStringLiteral("nucleotide_reading_frames"), s.readingFrames);
    file.GetEntryInt(QStringLiteral("use_mono/avg_masses"), s.massType);
    file.GetEntryDouble(QStringLiteral("min_peptide_mass"), s.lowMass);
    file.GetEntryDouble(QStringLiteral("max_peptide_mass"), s.highMass);
    file.GetEntryInt(QStringLiteral("max_num_internal_cleavage_sites"), s.maxCleavageSites);
    file.GetEntryInt(QStringLiteral("max_num_differential_AA_per_mod"), s.maxDifferentialPerMod);

    QString diff;
    if (file.GetEntryString(QStringLiteral("diff_search_options"), diff)) {
        // Read as "%lf %s %lf %s %lf %s": the pairs count only when all six fields are there.
        const QStringList words = Words(diff);
        std::array<DifferentialModification, ModificationTables::kDifferentialCount> read;
        int fields = 0;
        for (int i = 0; i < ModificationTables::kDifferentialCount; ++i) {
            const int at = 2 * i;
            double mass = 0.0;
            if (at >= words.size() || !ParseDouble(words[at], mass)) break;
            ++fields;
            if (at + 1 >= words.size()) break;
            ++fields;
            read[static_cast<std::size_t>(i)] = {words[at + 1], mass};
        }
        if (fields == 2 * ModificationTables::kDifferentialCount) {
            for (std::size_t i = 0; i < read.size(); ++i) {
                const DifferentialModification& d = read[i];
                s.diffMods[i] = {};
                if (d.residues.isEmpty() || d.mass == 0.0) continue;
                if (!ModificationTables::IsMassInRange(d.mass)) result.diffOutOfRange = true;
                s.diffMods[i] = {d.residues, d.mass};
            }
        }
    }

    for (StaticModification& m : s.staticMods) {
        if (m.name.isEmpty()) continue;
        double mass = 0.0;
        if (!file.GetEntryDouble(m.name, mass)) continue;
        if (!ModificationTables::IsMassInRange(mass)) {
            result.staticOutOfRange = true;
            continue;
        }
        m.mass = mass;
    }
    return result;
}

QString BuildixOutOfRangeMessage(const BuildixReadResult& result) {
    QString text = QStringLiteral("Error in buildix.params file. \n") +
                   QStringLiteral("The following values are out of range:\n");
    if (result.diffOutOfRange)
        text += QStringLiteral("    One or more Differential Modifications\n");
    if (result.staticOutOfRange)
        text += QStringLiteral("    C-terminus, N-terminus or Amino Acid Mass Modifications\n");
    return text;
}

bool WriteBuildixSettings(CParamFile& file, const BuildixSettings& s, const EnzymeRecord* enzymes) {
    const bool entriesWritten =
        file.SetEntryString(QStringLiteral("database_name"), s.databaseName) &&
        file.SetEntryString(QStringLiteral("sort_directory"), s.sortDirectory) &&
        file.SetEntryString(QStringLiteral("sort_program"), s.sortProgram) &&
        file.SetEntryInt(QStringLiteral("enzyme_number"), s.enzymeNumber) &&
        file.SetEntryInt(QStringLiteral("protein_or_nucleotide_dbase"), s.databaseType) &&
        file.SetEntryInt(QStringLiteral("nucleotide_reading_frames"), s.readingFrames) &&
        file.SetEntryInt(QStringLiteral("use_mono/avg_masses"), s.massType) &&
        file.SetEntryDouble(QStringLiteral("min_peptide_mass"), s.lowMass) &&
        file.SetEntryDouble(QStringLiteral("max_peptide_mass"), s.highMass) &&
        file.SetEntryInt(QStringLiteral("max_num_internal_cleavage_sites"), s.maxCleavageSites);
    if (!entriesWritten) return false;

    QStringList pairs;
    for (const DifferentialModification& d : s.diffMods) {
        if (d.residues.trimmed().isEmpty())
            pairs << QCFormat("%2.4f %s", 0.0, kEmptyDifferentialResidue);
        else
            pairs << QCFormat("%2.4f ", d.mass) + d.residues.trimmed().toUpper();
    }
    if (!file.SetEntryString(QStringLiteral("diff_search_options"), pairs.join(QLatin1Char(' '))))
        return false;

    for (const StaticModification& m : s.staticMods) {
        if (!m.name.isEmpty() && !file.SetEntryDouble(m.name, m.mass)) return false;
    }

    if (!enzymes) return true;
    int line = file.IndexOfLineStartingWith(QString::fromLatin1(kEnzymeSection));
    if (line < 0) {
        file.AppendLine(QString::fromLatin1(kEnzymeSection) + QLatin1Char('\n'));
        line = file.GetLineCount() - 1;
    }
    for (int i = 0; i < BuildixSettings::kEnzymeSlots; ++i) {
        const EnzymeRecord& e = enzymes[i];
        QString text = QStringLiteral("\n");
        if (!e.name.isEmpty()) {
            text = QStringLiteral("%1.\t%2\t\t\t\t%3").arg(i).arg(e.name).arg(e.sense);
            text +=
                e.cleavage.isEmpty() ? QStringLiteral("\t-") : QStringLiteral("\t") + e.cleavage;
            text += e.blocking.isEmpty() ? QStringLiteral("\t\t-")
                                         : QStringLiteral("\t\t") + e.blocking;
            text += QLatin1Char('\n');
        }
        const int index = line + 1 + i;
        if (index < file.GetLineCount())
            file.SetLine(index, text);
        else
            file.AppendLine(text);
    }
    return true;
}

bool ReadBuildixEnzyme(const CParamFile& file, int number, EnzymeRecord& enzyme) {
    return ReadEnzymeRow(file, QString::fromLatin1(kEnzymeSection), number, enzyme);
}

bool ReadEnzymeRow(const CParamFile& file, const QString& sectionHeader, int number,
                   EnzymeRecord& enzyme) {
    const int section = file.IndexOfLineStartingWith(sectionHeader);
    if (section < 0) return false;
    const QString prefix = QStringLiteral("%1.").arg(number);
    for (int i = section + 1; i < file.GetLineCount(); ++i) {
        const QStringList words = Words(file.GetLine(i));
        if (words.isEmpty() || words.front() != prefix) continue;
        // The number, then the record's text form "name sense cleavage blocking".
        return ParseEnzymeRecord(words.mid(1).join(QLatin1Char(' ')), enzyme) >= 2;
    }
    return false;
}

QStringList BuildixArguments(bool includeDuplicates, const QString& fastaName,
                             const QString& indexedName, bool useEnzyme, int minLength,
                             int maxLength) {
    QStringList args = {includeDuplicates ? QStringLiteral("-U-") : QStringLiteral("-U+"),
                        QStringLiteral("-D") + fastaName, QStringLiteral("-O") + indexedName};
    if (!useEnzyme)
        args << QStringLiteral("-E%1").arg(minLength) << QStringLiteral("-S%1").arg(maxLength);
    return args;
}

}  // namespace zar
