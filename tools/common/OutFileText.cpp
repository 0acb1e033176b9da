#include "OutFileText.h"

#include "core/Numbers.h"

namespace zar {

namespace {

QString HeaderText(const OutFileHeader& h) {
    QString text;
    text += QLatin1Char('\n');
    text += QLatin1Char(' ') + h.fileName + QLatin1Char('\n');
    text += QLatin1Char(' ') + h.program + QLatin1Char('\n');
    text += QLatin1Char(' ') + h.line4 + QLatin1Char('\n');
    text += QLatin1Char(' ') + h.line5 + QLatin1Char('\n');
    // The readers take the seconds from the word after the second ", ".
    text += QStringLiteral(" %1, %2 sec. on %3\n").arg(h.date).arg(h.seconds).arg(h.host);
    // Two decimals unless the tolerance needs more (a bin width such as 1.0005).
    const bool twoDecimals = QCFormat("%.2f", h.fragmentTolerance).toDouble() == h.fragmentTolerance;
    text += QCFormat(" (M+H)+ mass = %.4f ~ %.4f (+%d), fragment tol = %.*f, %s/%s\n",
                     h.precursorMH, h.precursorTolerance, h.charge, twoDecimals ? 2 : 4,
                     h.fragmentTolerance, h.monoPrecursor ? "MONO" : "AVG",
                     h.monoFragments ? "MONO" : "AVG");
    text += QCFormat(" total inten = %.1f, lowest Sp = %.1f, # matched peptides = %d\n",
                     h.totalIntensity, h.lowestSp, h.matchedPeptides);
    text += QCFormat(" # amino acids = %lld, # proteins = %d, ",
                     static_cast<long long>(h.aminoAcids), h.proteins) +
            h.database + QLatin1Char('\n');
    text += QStringLiteral(" ion series nABYabcdVWXYZ: ") + h.ionSeries + QLatin1Char('\n');
    text += QCFormat(" display top %d/%d, ion %% = %.1f, CODE = ", h.displayTop,
                     h.displayDescriptions, h.ionPercent) +
            h.code + QLatin1Char('\n');
    QString enzyme = h.enzyme.simplified();
    enzyme.replace(QLatin1Char(' '), QLatin1Char('_'));
    enzyme.remove(QLatin1Char('('));
    enzyme.remove(QLatin1Char(')'));
    if (enzyme.isEmpty()) enzyme = QStringLiteral("No_Enzyme");
    text += h.modifications + (h.modifications.isEmpty() ? QString() : QStringLiteral(" ")) +
            QStringLiteral("Enzyme: ") + enzyme + QLatin1Char('\n');
    text += QLatin1Char('\n');
    return text;
}

// The section after the hits: an empty line ends them, then the descriptions.
QString TailText(const QStringList& descriptions) {
    QString text = QStringLiteral("\n");
    for (const QString& line : descriptions) text += line + QLatin1Char('\n');
    return text;
}

QString ContinuationLines(const OutFileHit& hit) {
    QString text;
    for (const QString& other : hit.otherReferences)
        text += QStringLiteral("      ") + other + QLatin1Char('\n');
    return text;
}

}  // namespace

QString SearchOutText(const OutFileHeader& header, const std::vector<OutFileHit>& hits,
                      const QStringList& descriptions) {
    QString text = HeaderText(header);
    text += QStringLiteral(
        "  #   Rank/Sp    (M+H)+   deltCn   XCorr    Sp    Ions  Reference              "
        "Peptide\n");
    text += QStringLiteral(
        " ---  --------  ---------  ------  ------   -----  ----  ---------              "
        "-------\n");
    for (size_t i = 0; i < hits.size(); ++i) {
        const OutFileHit& hit = hits[i];
        QString reference = hit.reference;
        if (hit.furtherReferences > 0)
            reference += QStringLiteral(" +%1").arg(hit.furtherReferences);
        text += QCFormat("%3d. %3d /%3d  %9.4f  %6.4f  %6.4f  %6.1f  %3d/%3d  ",
                         static_cast<int>(i) + 1,
                         hit.rank > 0 ? hit.rank : static_cast<int>(i) + 1, hit.spRank, hit.mh,
                         hit.deltaCn, hit.xcorr, hit.sp, hit.ionsMatched, hit.ionsTotal);
        text += reference.leftJustified(24) + QLatin1Char(' ') + hit.peptide + QLatin1Char('\n');
        text += ContinuationLines(hit);
    }
    return text + TailText(descriptions);
}

QString MassmapOutText(const OutFileHeader& header, const std::vector<OutFileHit>& hits,
                       const QStringList& descriptions) {
    QString text = HeaderText(header);
    text += QStringLiteral(
        "  #   Protein#     (M+H)+     Score   Peps     Reference              Peptide\n");
    text += QStringLiteral(
        " ---  --------  ---------  --------  -------  ---------              -------\n");
    for (size_t i = 0; i < hits.size(); ++i) {
        const OutFileHit& hit = hits[i];
        QString reference = hit.reference;
        if (hit.furtherReferences > 0)
            reference = QStringLiteral("+%1 ").arg(hit.furtherReferences) + reference;
        text += QCFormat("%3d. %8d  %9.4f  %8.2f  %3d/%3d  ", static_cast<int>(i) + 1,
                         hit.proteinNumber, hit.mh, hit.sp, hit.ionsMatched, hit.ionsTotal);
        text += reference.leftJustified(24) + QLatin1Char(' ') + hit.peptide + QLatin1Char('\n');
        text += ContinuationLines(hit);
    }
    return text + TailText(descriptions);
}

QStringList DescriptionLines(const std::vector<OutFileHit>& hits,
                             const QHash<QString, QString>& descriptions, int count) {
    QStringList lines;
    QStringList described;
    for (const OutFileHit& hit : hits) {
        if (described.size() >= count) break;
        if (described.contains(hit.reference) || !descriptions.contains(hit.reference)) continue;
        described << hit.reference;
        lines << QCFormat("%3d.  ", static_cast<int>(described.size())) +
                     descriptions.value(hit.reference);
    }
    return lines;
}

QString FastaReference(const QString& header) {
    return header.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
}

QString OutModificationsLine(const OutModifications& m) {
    QStringList parts;
    for (const OutModifications::Differential& d : m.differential)
        parts << QStringLiteral("(%1%2 %3)").arg(d.residues, d.symbol, QCFormat("%+.4f", d.mass));
    for (const OutModifications::Static& s : m.residues)
        parts << QStringLiteral("%1=%2").arg(s.residue).arg(QCFormat("%.4f", s.residueMass));
    const auto terminal = [&parts](const char* name, double mass) {
        if (mass != 0.0) parts << QString::fromLatin1(name) + QCFormat("%.4f", mass);
    };
    terminal("+Nterm-pep=", m.nTermPeptide);
    terminal("+Cterm-pep=", m.cTermPeptide);
    terminal("+Nterm-prot=", m.nTermProtein);
    terminal("+Cterm-prot=", m.cTermProtein);
    return parts.join(QLatin1Char(' '));
}

}  // namespace zar
