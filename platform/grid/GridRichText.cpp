#include "grid/GridRichText.h"

#include <map>

namespace zar {
namespace {

enum class Destination { Body, FontTable, ColorTable, Skipped };

struct GroupState {
    Destination destination = Destination::Body;
    int font = -1;
    int color = -1;
    int halfPoints = 0;
};

bool IsAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

class RichTextReader {
  public:
    explicit RichTextReader(const QString& text) : text_(text) {}

    RichText read() {
        std::vector<GroupState> stack{GroupState()};
        QString fontName;
        int red = -1, green = -1, blue = -1;
        bool groupStart = false;  // the next control word is the first of a group
        for (qsizetype i = 0; i < text_.size(); ++i) {
            const QChar c = text_[i];
            GroupState& state = stack.back();
            if (c == QLatin1Char('{')) {
                stack.push_back(stack.back());
                groupStart = true;
                continue;
            }
            if (c == QLatin1Char('}')) {
                if (stack.size() > 1) stack.pop_back();
                groupStart = false;
                continue;
            }
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) continue;
            if (c == QLatin1Char('\\') && i + 1 < text_.size()) {
                const QChar next = text_[i + 1];
                if (!IsAsciiLetter(next)) {
                    ++i;
                    if (next == QLatin1Char('*')) {
                        state.destination = Destination::Skipped;
                    } else if (next == QLatin1Char('\'') && i + 2 < text_.size()) {
                        bool ok = false;
                        const int code = text_.mid(i + 1, 2).toInt(&ok, 16);
                        i += 2;
                        if (ok) character(state, QChar(code), fontName);
                    } else if (next == QLatin1Char('\\') || next == QLatin1Char('{') ||
                               next == QLatin1Char('}')) {
                        character(state, next, fontName);
                    } else if (next == QLatin1Char('~')) {
                        character(state, QChar(0xA0), fontName);
                    }
                    groupStart = false;
                    continue;
                }
                qsizetype j = i + 1;
                while (j < text_.size() && IsAsciiLetter(text_[j])) ++j;
                const QString word = text_.mid(i + 1, j - i - 1);
                qsizetype k = j;
                if (k < text_.size() && text_[k] == QLatin1Char('-')) ++k;
                while (k < text_.size() && text_[k].isDigit()) ++k;
                bool hasNumber = false;
                const int number = text_.mid(j, k - j).toInt(&hasNumber);
                if (k < text_.size() && text_[k] == QLatin1Char(' ')) ++k;  // the delimiter
                i = k - 1;
                if (groupStart && word == QLatin1String("fonttbl")) {
                    state.destination = Destination::FontTable;
                } else if (groupStart && word == QLatin1String("colortbl")) {
                    state.destination = Destination::ColorTable;
                    red = green = blue = -1;
                } else if (word == QLatin1String("f") && hasNumber) {
                    state.font = number;
                    if (state.destination == Destination::FontTable) fontName.clear();
                } else if (word == QLatin1String("cf") && hasNumber) {
                    state.color = number;
                } else if (word == QLatin1String("fs") && hasNumber) {
                    state.halfPoints = number;
                } else if (word == QLatin1String("red") && hasNumber) {
                    red = number;
                } else if (word == QLatin1String("green") && hasNumber) {
                    green = number;
                } else if (word == QLatin1String("blue") && hasNumber) {
                    blue = number;
                } else if (word == QLatin1String("tab")) {
                    character(state, QLatin1Char('\t'), fontName);
                }
                groupStart = false;
                continue;
            }
            groupStart = false;
            if (state.destination == Destination::ColorTable && c == QLatin1Char(';')) {
                colors_.push_back(
                    red < 0 && green < 0 && blue < 0
                        ? QColor()
                        : QColor(qBound(0, red, 255), qBound(0, green, 255), qBound(0, blue, 255)));
                red = green = blue = -1;
                continue;
            }
            character(state, c, fontName);
        }
        if (result_.fontFamily.isEmpty() && !started_) {
            const GroupState& last = stack.back();
            result_.fontFamily = fonts_.count(last.font) ? fonts_[last.font] : QString();
            result_.pointSize = last.halfPoints / 2.0;
        }
        return result_;
    }

  private:
    void character(const GroupState& state, QChar c, QString& fontName) {
        switch (state.destination) {
            case Destination::FontTable:
                if (c == QLatin1Char(';')) {
                    fonts_[state.font] = fontName.trimmed();
                    fontName.clear();
                } else {
                    fontName += c;
                }
                return;
            case Destination::ColorTable:
            case Destination::Skipped:
                return;
            case Destination::Body:
                break;
        }
        if (!started_) {
            started_ = true;
            result_.fontFamily = fonts_.count(state.font) ? fonts_[state.font] : QString();
            result_.pointSize = state.halfPoints / 2.0;
        }
        const QColor color = state.color >= 0 && state.color < static_cast<int>(colors_.size())
                                 ? colors_[static_cast<std::size_t>(state.color)]
                                 : QColor();
        if (result_.runs.empty() || result_.runs.back().color != color)
            result_.runs.push_back({QString(), color});
        result_.runs.back().text += c;
    }

    const QString& text_;
    std::map<int, QString> fonts_;
    std::vector<QColor> colors_;
    RichText result_;
    bool started_ = false;
};

}  // namespace

QString RichText::plainText() const {
    QString text;
    for (const RichTextRun& run : runs) text += run.text;
    return text;
}

bool IsRichText(const QString& text) {
    return text.startsWith(QLatin1String("{\\rtf"));
}

RichText ParseRichText(const QString& text) {
    if (!IsRichText(text)) {
        RichText plain;
        if (!text.isEmpty()) plain.runs.push_back({text, QColor()});
        return plain;
    }
    return RichTextReader(text).read();
}

}  // namespace zar
