#include "RunFileMarkup.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <vector>

namespace zar::rawfile {

namespace {

// Bytes of element and attribute names (a table: the check runs over whole runs).
constexpr std::array<bool, 256> kNameBytes = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '_' || c == ':' || c == '-' || c == '.' || c >= 0x80;
    return table;
}();

bool IsNameByte(unsigned char c) {
    return kNameBytes[c];
}

bool IsBlankByte(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// What a scan of one block found.
struct BlockScan {
    enum Kind { kClean, kFault, kCutOff } kind = kClean;
    // kFault: the faulty tag; kCutOff: the tag that runs past the block's end.
    const char* at = nullptr;
};

// Scans the tags of [begin, end). Text between tags is passed over at memchr speed. When
// `last` is false, a tag that runs past `end` is not a fault but is cut off: the caller scans
// it again with what follows.
BlockScan ScanTags(const char* begin, const char* end, bool last) {
    const char* p = begin;
    const auto skipPast = [&p, end](std::string_view closing) {
        const std::string_view rest(p, static_cast<std::size_t>(end - p));
        const std::size_t at = rest.find(closing);
        if (at == std::string_view::npos) {
            p = end;
            return false;
        }
        p += at + closing.size();
        return true;
    };
    const auto skipBlanks = [&p, end] {
        while (p < end && IsBlankByte(*p)) ++p;
    };
    const auto skipName = [&p, end] {
        const char* start = p;
        while (p < end && IsNameByte(static_cast<unsigned char>(*p))) ++p;
        return p > start;
    };
    while (p < end) {
        const void* open = std::memchr(p, '<', static_cast<std::size_t>(end - p));
        if (!open) return {};
        const char* tag = static_cast<const char*>(open);
        p = tag + 1;
        // A fault found where the block ends may be a tag the next block completes.
        const auto fault = [&p, tag, end, last] {
            return BlockScan{p >= end && !last ? BlockScan::kCutOff : BlockScan::kFault, tag};
        };
        if (p < end && *p == '?') {
            if (!skipPast("?>")) return fault();
        } else if (end - p >= 3 && std::string_view(p, 3) == "!--") {
            if (!skipPast("-->")) return fault();
        } else if (end - p >= 8 && std::string_view(p, 8) == "![CDATA[") {
            if (!skipPast("]]>")) return fault();
        } else if (p < end && *p == '!') {
            if (!skipPast(">")) return fault();
        } else if (p < end && *p == '/') {
            ++p;
            if (!skipName()) return fault();
            skipBlanks();
            if (p >= end || *p != '>') return fault();
            ++p;
        } else {
            if (!skipName()) return fault();
            for (;;) {
                const char* beforeBlanks = p;
                skipBlanks();
                if (p >= end) return fault();
                if (*p == '>') {
                    ++p;
                    break;
                }
                if (*p == '/') {
                    if (end - p < 2) {
                        p = end;
                        return fault();
                    }
                    if (p[1] != '>') return fault();
                    p += 2;
                    break;
                }
                if (p == beforeBlanks || !skipName()) return fault();
                skipBlanks();
                if (p >= end || *p != '=') return fault();
                ++p;
                skipBlanks();
                if (p >= end || (*p != '"' && *p != '\'')) return fault();
                const char quote = *p++;
                const void* closing = std::memchr(p, quote, static_cast<std::size_t>(end - p));
                if (!closing) {
                    p = end;
                    return fault();
                }
                const char* valueEnd = static_cast<const char*>(closing);
                if (std::memchr(p, '<', static_cast<std::size_t>(valueEnd - p))) return fault();
                p = valueEnd + 1;
            }
        }
    }
    return {};
}

// Scans [begin, end) for the first fault: a faulty tag, or else a NUL byte. The tags before a
// NUL byte are scanned as the end of the text.
BlockScan ScanBlock(const char* begin, const char* end, bool last) {
    const auto* nul =
        static_cast<const char*>(std::memchr(begin, '\0', static_cast<std::size_t>(end - begin)));
    const BlockScan tags = ScanTags(begin, nul ? nul : end, last || nul);
    if (tags.kind != BlockScan::kClean || !nul) return tags;
    return {BlockScan::kFault, nul};
}

}  // namespace

qint64 FirstMarkupFault(QIODevice& device, qint64 blockSize) {
    std::vector<char> buffer(static_cast<std::size_t>(std::max<qint64>(blockSize, 16)));
    qint64 bufferStart = 0;  // offset in the text of buffer[0]
    std::size_t held = 0;    // bytes of the buffer that hold text
    for (;;) {
        if (held == buffer.size()) buffer.resize(buffer.size() * 2);
        const qint64 got =
            device.read(buffer.data() + held, static_cast<qint64>(buffer.size() - held));
        const bool last = got <= 0 || device.atEnd();
        if (got > 0) held += static_cast<std::size_t>(got);
        const char* begin = buffer.data();
        const BlockScan scan = ScanBlock(begin, begin + held, last);
        if (scan.kind == BlockScan::kFault) return bufferStart + (scan.at - begin);
        if (last) return -1;
        // Keep a cut-off tag for the next block.
        const std::size_t kept =
            scan.kind == BlockScan::kCutOff ? held - static_cast<std::size_t>(scan.at - begin) : 0;
        std::memmove(buffer.data(), begin + (held - kept), kept);
        bufferStart += static_cast<qint64>(held - kept);
        held = kept;
    }
}

bool CheckRunFileMarkup(const QString& path, QString& error) {
    QFile file(path);
    // Unbuffered: the check reads whole blocks of its own, one copy is enough.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return true;
    return CheckRunMarkup(file, error);
}

bool CheckRunMarkup(QIODevice& device, QString& error) {
    if (device.size() == 0) return true;
    const QByteArray head = device.peek(4096);
    const bool runMarkup = head.contains("<mzML") || head.contains("<indexedmzML") ||
                           head.contains("<mzXML") || head.contains("<msRun");
    if (!runMarkup) return true;
    // A small run needs no large block.
    const qint64 fault =
        FirstMarkupFault(device, std::min<qint64>(kMarkupBlockSize, device.size() + 1));
    if (fault < 0) return true;
    error = QStringLiteral("the markup is broken at byte %1.").arg(fault);
    return false;
}

}  // namespace zar::rawfile
