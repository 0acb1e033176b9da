#include "BitmapFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <climits>

namespace zar {
namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kCoreHeaderSize = 12;
constexpr int kInfoHeaderSize = 40;
// Widest and tallest picture drawn; larger ones are refused rather than allocated.
constexpr std::int64_t kMaxSide = 16384;

// Little-endian fields; 0 for a field beyond the data.
std::uint32_t u32(const QByteArray& d, int at) {
    if (at < 0 || at + 4 > d.size()) return 0;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(d.at(at + i));
    return v;
}
std::int32_t s32(const QByteArray& d, int at) { return static_cast<std::int32_t>(u32(d, at)); }
std::uint16_t u16(const QByteArray& d, int at) {
    if (at < 0 || at + 2 > d.size()) return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(d.at(at)) | (static_cast<unsigned char>(d.at(at + 1)) << 8));
}
int bitCount(const QByteArray& dib) { return IsCoreHeader(dib) ? u16(dib, 10) : u16(dib, 14); }

}  // namespace

std::optional<QByteArray> ReadBitmapStream(const QByteArray& file) {
    if (file.size() < kFileHeaderSize) return std::nullopt;
    if (!file.startsWith("BM")) return std::nullopt;
    const QByteArray dib = file.mid(kFileHeaderSize);
    if (dib.size() < kCoreHeaderSize) return std::nullopt;
    return dib;
}

std::optional<QByteArray> ReadBitmapFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return ReadBitmapStream(f.readAll());
}

bool IsCoreHeader(const QByteArray& dib) { return u32(dib, 0) == kCoreHeaderSize; }

int BitmapColorCount(const QByteArray& dib) {
    if (!IsCoreHeader(dib)) {
        const std::uint32_t used = u32(dib, 32);
        if (used != 0) return used > 256 ? 256 : static_cast<int>(used);
    }
    switch (bitCount(dib)) {
        case 1: return 2;
        case 4: return 16;
        case 8: return 256;
        default: return 0;
    }
}

int BitmapPaletteSize(const QByteArray& dib) { return BitmapColorCount(dib) * (IsCoreHeader(dib) ? 3 : 4); }

std::int64_t BitmapWidth(const QByteArray& dib) { return IsCoreHeader(dib) ? u16(dib, 4) : s32(dib, 4); }
std::int64_t BitmapHeight(const QByteArray& dib) { return IsCoreHeader(dib) ? u16(dib, 6) : s32(dib, 8); }

int FindBitmapBits(const QByteArray& dib) {
    // Both parts come from the file: added in 64 bits, so that absurd values cannot overflow.
    const std::int64_t palette =
        static_cast<std::int64_t>(BitmapColorCount(dib)) * (IsCoreHeader(dib) ? 3 : 4);
    const std::int64_t offset = static_cast<std::int64_t>(u32(dib, 0)) + palette;
    return offset > INT_MAX ? -1 : static_cast<int>(offset);
}

QImage BitmapToImage(const QByteArray& dib) {
    const std::uint32_t headerSize = u32(dib, 0);
    if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize) return {};
    if (headerSize > static_cast<std::uint32_t>(dib.size())) return {};
    const std::int64_t width = BitmapWidth(dib);
    std::int64_t height = BitmapHeight(dib);
    if (height < 0) height = -height;  // top-down rows
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return {};
    const int bits = bitCount(dib);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return {};
    if (!IsCoreHeader(dib) && u32(dib, 16) != 0 && u32(dib, 16) != 3) return {};  // compressed rows: not drawn
    const std::int64_t rowBytes = ((width * bits + 31) / 32) * 4;
    const int bitsOffset = FindBitmapBits(dib);
    if (bitsOffset < 0) return {};
    const std::int64_t needed = bitsOffset + rowBytes * height;
    if (needed > dib.size()) return {};
    // The data is whole: let the image reader decode it from a file image.
    QByteArray file("BM");
    const std::uint32_t total = static_cast<std::uint32_t>(dib.size() + kFileHeaderSize);
    const std::uint32_t offset = static_cast<std::uint32_t>(kFileHeaderSize + bitsOffset);
    file.append(reinterpret_cast<const char*>(&total), 4);
    file.append(QByteArray(4, '\0'));
    file.append(reinterpret_cast<const char*>(&offset), 4);
    file.append(dib);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "BMP");
    return reader.read();
}

}  // namespace zar
