#pragma once
// Device-independent bitmaps as stored in .bmp files: checked before anything is drawn.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>

namespace zar {

// The packed bitmap of a .bmp file (everything after its 14-byte file header), or nothing when
// the file is shorter than its header, does not start with "BM" or is cut short.
std::optional<QByteArray> ReadBitmapStream(const QByteArray& file);
std::optional<QByteArray> ReadBitmapFile(const QString& path);

// Header facts of a packed bitmap; 0 when the header is not one of the two known kinds.
bool IsCoreHeader(const QByteArray& dib);
int BitmapColorCount(const QByteArray& dib);
int BitmapPaletteSize(const QByteArray& dib);
std::int64_t BitmapWidth(const QByteArray& dib);
std::int64_t BitmapHeight(const QByteArray& dib);
// Offset of the pixel bits in the packed bitmap; -1 when the header's sizes put it beyond any
// bitmap.
int FindBitmapBits(const QByteArray& dib);

// Decodes a packed bitmap after checking that its header, colour table and pixel rows lie
// within the data; a null image for anything malformed or absurdly large.
QImage BitmapToImage(const QByteArray& dib);

}  // namespace zar
