#include "ExtractionPipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace zar {

CExtractionPipe::~CExtractionPipe() {
    Close();
}

bool CExtractionPipe::Open() {
    Close();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    readFd_ = fds[0];
    writeFd_ = fds[1];
    ::fcntl(readFd_, F_SETFL, ::fcntl(readFd_, F_GETFL) | O_NONBLOCK);
    // Room for the names of many spectra, so that the program rarely waits for the reader.
    ::fcntl(writeFd_, F_SETPIPE_SZ, kPipeBytes);
    broken_ = false;
    return true;
}

void CExtractionPipe::CloseWriteEnd() {
    if (writeFd_ >= 0) ::close(writeFd_);
    writeFd_ = -1;
}

void CExtractionPipe::Close() {
    CloseWriteEnd();
    if (readFd_ >= 0) ::close(readFd_);
    readFd_ = -1;
}

long CExtractionPipe::ReadSome(char* data, long size, bool& eof) {
    eof = false;
    long total = 0;
    while (total < size) {
        const ssize_t n = ::read(readFd_, data + total, static_cast<size_t>(size - total));
        if (n > 0) {
            total += n;
            continue;
        }
        if (n == 0) {
            eof = true;
            break;
        }
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) break;
        return total > 0 ? total : -1;
    }
    return total;
}

void CExtractionPipe::Skip(long long bytes) {
    char scratch[kBufferBytes];
    bool eof = false;
    while (bytes > 0 && !eof) {
        const long n =
            ReadSome(scratch, static_cast<long>(std::min<long long>(bytes, kBufferBytes)), eof);
        if (n <= 0) break;
        bytes -= n;
    }
}

CExtractionPipe::ReadResult CExtractionPipe::Read(long long length) {
    ReadResult result;
    if (readFd_ < 0 || broken_) return result;
    bool eof = false;
    if (length == -1) {
        char scratch[kDrainBytes];
        ReadSome(scratch, kDrainBytes, eof);
        result.status = Status::Drained;
        return result;
    }
    if (length <= 0) return result;
    alignas(char16_t) char buffer[kBufferBytes];
    const long wanted = static_cast<long>(std::min<long long>(length, kBufferBytes));
    const long n = ReadSome(buffer, wanted, eof);
    if (n < 0) {
        result.status = Status::Failed;
        result.error = errno;
        return result;
    }
    if (n == 0) {
        if (eof) broken_ = true;
        result.status = eof ? Status::Broken : Status::Empty;
        return result;
    }
    if (length > n) Skip(length - n);
    // UTF-16 code units up to the first NUL; an odd last byte is no unit.
    const auto* units = reinterpret_cast<const char16_t*>(buffer);
    qsizetype count = n / 2;
    for (qsizetype i = 0; i < count; ++i) {
        if (units[i] == u'\0') {
            count = i;
            break;
        }
    }
    result.status = Status::Message;
    result.text = QString::fromUtf16(units, count);
    return result;
}

}  // namespace zar
