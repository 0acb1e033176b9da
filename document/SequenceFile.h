#pragma once
// Sequence files (".pep"): one protein or peptide sequence as plain text. The program writes the
// residues on one line; files made elsewhere often wrap them over many lines. Every place that
// reads a sequence file reads it here, so that line ends and blanks never become residues.

#include <QString>
#include <QStringView>

namespace zar {

// The residues of a sequence text: every character but line ends and blanks.
QString SequenceResidues(QStringView text);

// Reads the sequence of a file: the residues of all its lines, in order. False when the file
// cannot be opened or read (the sequence is then left as it was).
bool ReadSequenceFile(const QString& path, QString& sequence);

}  // namespace zar
