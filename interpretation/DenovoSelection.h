#pragma once
// What the de novo panes make of a candidate the user picks: the leading gap, residues and
// trailing gap of its text, and the b and y ions of that selection to mark in a spectrum.

#include "DenovoTypes.h"

#include <QString>

#include <vector>

namespace zar {

// Longest residue text a selection keeps.
constexpr int kMaxDenovoSelectionLetters = 99;

// Reads a candidate text: "LETTERS", "head.LETTERS", "LETTERS.tail" or "head.LETTERS.tail"
// (gaps in nominal mass). A text that does not read leaves an empty selection.
DenovoSelectionRecord ParseDenovoCandidate(const QString& text);

// One marked ion: its label ("b3", "y5"), its m/z, the window it covers and its colour set
// (1: y ions, 2: b ions).
struct DenovoIonLabel {
    QString text;
    double mz = 0.0;
    double low = 0.0;
    double high = 0.0;
    int colourSet = 0;
};

constexpr int kDenovoYColourSet = 1;
constexpr int kDenovoBColourSet = 2;
// Half the width of the window a label covers.
constexpr double kDenovoLabelHalfWidth = 0.5;

// The scale the ions are placed on: the nominal masses of the one-dimensional spectra, or the
// monoisotopic m/z of a measured spectrum.
enum class DenovoIonScale { Nominal, Monoisotopic };

// The singly charged b ions (b1..bn, colour set 2) and y ions (yn..y1, colour set 1) of the
// selection; the gaps count as residue mass before and after the letters. Letters without a
// residue mass are passed over. Empty for an empty selection.
std::vector<DenovoIonLabel> DenovoSelectionLabels(const DenovoSelectionRecord& selection,
                                                  DenovoIonScale scale);

}  // namespace zar
