// Binary and XML formats: bitmaps, and run files (mzML, mzXML, MGF) through the raw-file
// reader, from memory and (one target) from a file.

#include "FuzzSupport.h"

#include "BitmapFile.h"
#include "rawfile/VRawfile.h"

#include <algorithm>
#include <vector>

namespace zarfuzz {
namespace {

// Scans whose peaks are read, at most.
constexpr int kMaxScansRead = 50;

void ReadRun(zar::VRawfile& raw) {
    if (!raw.setCurrentController(0, 1)) return;
    raw.filters();
    const int first = raw.firstScan();
    const int last = std::min(raw.lastScan(), first + kMaxScansRead);
    std::vector<zar::CVXDataPeak> peaks;
    for (int scan = first; scan <= last && scan > 0; ++scan) {
        zar::RawScanHeader header;
        raw.scanHeader(scan, header);
        raw.spectrum(scan, peaks, &header);
        double time = 0.0;
        int back = 0;
        if (raw.scanToRetentionTime(scan, time)) raw.retentionTimeToScan(time, back);
    }
    if (first > 0) {
        bool msms = false;
        raw.hasMSMS(first, last, msms);
        raw.averageSpectrum({first, last}, peaks);
    }
    zar::RawChroRequest tic;
    tic.traceType = zar::kVXTICTrace;
    zar::RawChroRequest basePeak;
    basePeak.traceType = zar::kVXBasePeakTrace;
    std::vector<zar::CVXChro> traces;
    raw.chromatograms({tic, basePeak}, 0.0, 0.0, traces);
}

}  // namespace

int FuzzBitmap(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    const QByteArray file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The input is a whole ".bmp" file, or the packed bitmap inside one.
    const std::optional<QByteArray> stream = zar::ReadBitmapStream(file);
    for (const QByteArray& dib : {stream.value_or(QByteArray()), file}) {
        zar::BitmapColorCount(dib);
        zar::BitmapPaletteSize(dib);
        zar::BitmapWidth(dib);
        zar::BitmapHeight(dib);
        zar::FindBitmapBits(dib);
        zar::BitmapToImage(dib);
    }
    return 0;
}

int FuzzMzml(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    zar::VRawfile raw;
    if (raw.openBytes(InputBytes(data, size), QStringLiteral("run.mzML"))) ReadRun(raw);
    return 0;
}

int FuzzMzxml(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    zar::VRawfile raw;
    if (raw.openBytes(InputBytes(data, size), QStringLiteral("run.mzXML"))) ReadRun(raw);
    return 0;
}

int FuzzMgf(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    zar::VRawfile raw;
    if (raw.openBytes(InputBytes(data, size), QStringLiteral("run.mgf"))) ReadRun(raw);
    return 0;
}

int FuzzMzmlOnDisk(const std::uint8_t* data, std::size_t size) {
    InitializeFuzzing();
    // The file's name tells its format, as a user's would.
    const QByteArray bytes = InputBytes(data, size);
    const QString name = bytes.contains("<mzXML") || bytes.contains("<msRun")
                             ? QStringLiteral("run.mzXML")
                         : bytes.contains("<mzML") || bytes.contains("<indexedmzML")
                             ? QStringLiteral("run.mzML")
                             : QStringLiteral("run.mgf");
    zar::VRawfile raw;
    if (raw.open(WriteInput(name, bytes))) ReadRun(raw);
    return 0;
}

}  // namespace zarfuzz
