#include "BitmapFile.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace zar;

namespace {

// An information header of 40 bytes (the size field as given), 8 bits per pixel, 2 x 2 pixels.
QByteArray InfoHeader(std::uint32_t headerSize) {
    QByteArray dib(40 + 256 * 4 + 8, '\0');
    const auto put32 = [&dib](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) dib[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(0, headerSize);
    put32(4, 2);
    put32(8, 2);
    dib[12] = 1;  // planes
    dib[14] = 8;  // bits per pixel: a table of 256 colours, 1024 bytes
    return dib;
}

TEST(BitmapFile, AbsurdHeaderSizesPutThePixelsNowhere) {
    EXPECT_EQ(FindBitmapBits(InfoHeader(40)), 40 + 1024);
    for (const std::uint32_t size : {0x7FFFFFFFu, 0x7FFFFFFFu - 1000, 0xFFFFFFF0u}) {
        const QByteArray dib = InfoHeader(size);
        // Added in 64 bits: the offset is what the header says, never a wrapped-around one.
        EXPECT_EQ(FindBitmapBits(dib), std::int64_t{size} + 1024) << size;
        EXPECT_TRUE(BitmapToImage(dib).isNull()) << size;
    }
}

}  // namespace
