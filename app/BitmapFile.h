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

// Header facts of a packed bitmap; 0 when the header is not one of the two known kinds. The
// colour count is the header's colours-used count when it gives one, however large.
bool IsCoreHeader(const QByteArray& dib);
std::int64_t BitmapColorCount(const QByteArray& dib);
std::int64_t BitmapPaletteSize(const QByteArray& dib);
std::int64_t BitmapWidth(const QByteArray& dib);
std::int64_t BitmapHeight(const QByteArray& dib);
// Offset of the pixel bits in the packed bitmap.
std::int64_t FindBitmapBits(const QByteArray& dib);

// Decodes a packed bitmap after checking that its header, colour table and pixel rows lie
// within the data; a null image for anything malformed or absurdly large.
QImage BitmapToImage(const QByteArray& dib);

}  // namespace zar
