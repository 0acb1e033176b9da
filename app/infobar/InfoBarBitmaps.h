#pragma once
// The tab images of the Info Bar, by their bitmap ids, drawn on the mask colour (magenta).

#include <QPixmap>
#include <QSize>

namespace zar {

constexpr int kBitmapDtaFiles = 9350;
constexpr int kBitmapMSnBrowser = 9352;
constexpr int kBitmapZarmassResults = 9354;

// A null pixmap for an id the program has no bitmap of.
QPixmap LoadInfoBarBitmap(int id, QSize size);

}  // namespace zar
