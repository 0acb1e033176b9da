#pragma once
// Spectra and chromatograms as tab-separated text for the clipboard, and the hand-off of a
// spectrum to the outside interpretation program.

#include "fileio/VXChro.h"
#include "fileio/VXFilter.h"
#include "fileio/VXResults.h"
#include "fileio/VXTypes.h"

#include <QChar>
#include <QString>

#include <vector>

namespace zar {

// Replaces every character of `set` in the text by `by`.
QString ReplaceChars(QString text, const QString& set, QChar by);

bool IsPallisadeInstalled();
QString GetPallisadePath();

// Puts the text on the clipboard; retried a few times when the clipboard is busy.
bool CopyTextToClipboard(const QString& text);

// "low-high" per range (the low end alone when both are equal), separated by the list
// separator and a blank.
QString FormatRangeList(const std::vector<CVX_MassRange>& ranges, int precision, QChar listSeparator);

// The scan a spectrum text describes: one scan, or an average of several.
struct SpectrumTextHeader {
    int scan = 0;
    double retentionTime = 0.0;
    bool averaged = false;
    int firstScan = 0;
    int lastScan = 0;
    double firstTime = 0.0;
    double lastTime = 0.0;
    int scansAveraged = 0;
};

QString SpectrumText(const QString& title, const QString& sample, const CVXFilter* filter,
                     const SpectrumTextHeader& header, const std::vector<CVXDataPeak>& peaks, bool accurate,
                     const CVXMassDefect& defect);
bool SpectrumToText(const QString& title, const QString& sample, const CVXFilter* filter,
                    const SpectrumTextHeader& header, const std::vector<CVXDataPeak>& peaks, bool accurate,
                    const CVXMassDefect& defect);

QString ChromatogramText(const QString& title, const CVXChro& chro, double shownStart, double shownEnd,
                         QChar listSeparator);
bool ChromatogramToText(QString& text, const QString& title, const CVXChro* chro, double shownStart, double shownEnd,
                        QChar listSeparator);

}  // namespace zar
