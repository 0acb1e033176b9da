#pragma once
// The text of rich-edit cells: the small part of RTF the program writes (a font table, a colour
// table, colour, font and size changes, and plain text), read into runs of coloured text.

#include <QColor>
#include <QString>

#include <vector>

namespace zar {

struct RichTextRun {
    QString text;
    QColor color;  // invalid: the cell's own text colour
};

struct RichText {
    QString fontFamily;      // of the font in use when the text starts; empty when none is named
    double pointSize = 0.0;  // 0 when the text names none
    std::vector<RichTextRun> runs;

    QString plainText() const;
};

// Whether a cell text is rich text ("{\rtf...").
bool IsRichText(const QString& text);
// Reads rich text; plain text gives one run of itself. Unknown control words are skipped.
RichText ParseRichText(const QString& text);

}  // namespace zar
