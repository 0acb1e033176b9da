#include "grid/GridStyle.h"

#include "core/Numbers.h"

namespace zar {

void CGXStyle::mergeFrom(const CGXStyle& o) {
    if (o.valueType) valueType = o.valueType;
    if (o.format) format = o.format;
    if (o.decimals) decimals = o.decimals;
    if (o.alignment) alignment = o.alignment;
    if (o.bold) bold = o.bold;
    if (o.italic) italic = o.italic;
    if (!o.fontFamily.isNull()) fontFamily = o.fontFamily;
    if (o.fontPointSize) fontPointSize = o.fontPointSize;
    if (o.textColor) textColor = o.textColor;
    if (o.interior) interior = o.interior;
    if (o.control) control = o.control;
    if (o.readOnly) readOnly = o.readOnly;
    if (!o.toolTip.isNull()) toolTip = o.toolTip;
    if (o.wrapText) wrapText = o.wrapText;
    if (!o.choiceList.isNull()) choiceList = o.choiceList;
}

bool CGXStyle::operator==(const CGXStyle& o) const {
    return valueType == o.valueType && format == o.format && decimals == o.decimals && alignment == o.alignment &&
           bold == o.bold && italic == o.italic && fontFamily.isNull() == o.fontFamily.isNull() && fontFamily == o.fontFamily && fontPointSize == o.fontPointSize &&
           textColor == o.textColor && interior == o.interior && control == o.control && readOnly == o.readOnly &&
           toolTip.isNull() == o.toolTip.isNull() && toolTip == o.toolTip && wrapText == o.wrapText &&
           choiceList.isNull() == o.choiceList.isNull() && choiceList == o.choiceList;
}

QString FormatGridNumber(double value, const CGXStyle& style) {
    const int places = std::clamp(style.decimals.value_or(2), 0, 15);
    switch (style.format.value_or(GridNumberFormat::General)) {
        case GridNumberFormat::Fixed: return QCFormat("%.*f", places, value);
        case GridNumberFormat::Scientific: return QCFormat("%.*e", places, value);
        case GridNumberFormat::General: break;
    }
    return QCFormat("%.13g", value);
}

}  // namespace zar
