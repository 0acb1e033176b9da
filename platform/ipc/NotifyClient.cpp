#include "NotifyClient.h"

#include "NotifyProtocol.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace zar {

namespace {

// One connection per process keeps the records in the order they were posted.
struct Channel {
    std::mutex mutex;
    int fd = -1;
    std::string path;  // where fd is connected
    ~Channel() {
        if (fd >= 0) ::close(fd);
    }
};

Channel& TheChannel() {
    static Channel channel;
    return channel;
}

bool WriteAll(int fd, const char* data, std::size_t size, bool socket) {
    while (size > 0) {
        const ssize_t n = socket ? ::send(fd, data, size, MSG_NOSIGNAL) : ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

int Connect(const std::string& path) {
    sockaddr_un address{};
    if (path.size() >= sizeof(address.sun_path)) return -1;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// UTF-8 to UTF-16 little-endian bytes; a malformed byte becomes U+FFFD.
std::string ToUtf16LE(const std::string& text) {
    std::string out;
    out.reserve(text.size() * 2);
    auto put = [&out](unsigned unit) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>((unit >> 8) & 0xFF));
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        unsigned code = 0xFFFD;
        std::size_t length = 1;
        if (c < 0x80) {
            code = c;
        } else if ((c >> 5) == 0x6 || (c >> 4) == 0xE || (c >> 3) == 0x1E) {
            const std::size_t need = (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : 4;
            if (i + need <= text.size()) {
                unsigned value = c & (need == 2 ? 0x1F : need == 3 ? 0x0F : 0x07);
                bool ok = true;
                for (std::size_t k = 1; k < need; ++k) {
                    const auto next = static_cast<unsigned char>(text[i + k]);
                    if ((next >> 6) != 0x2) {
                        ok = false;
                        break;
                    }
                    value = (value << 6) | (next & 0x3F);
                }
                if (ok && value <= 0x10FFFF) {
                    code = value;
                    length = need;
                }
            }
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            put(0xD800 + (code >> 10));
            put(0xDC00 + (code & 0x3FF));
        } else {
            put(code);
        }
        i += length;
    }
    return out;
}

}  // namespace

bool PostRegisteredMessage(const char* name, std::uintptr_t wParam, std::intptr_t lParam) {
    const char* value = std::getenv(kNotifyVariable);
    if (!name || !value) return false;
    NotifyRecord record;
    std::string path;
    if (!ParseNotifyAddress(value, record.token, path)) return false;
    record.name = name;
    record.wParam = wParam;
    record.lParam = lParam;
    const std::string line = FormatNotifyRecord(record);
    if (line.empty()) return false;
    Channel& channel = TheChannel();
    std::lock_guard lock(channel.mutex);
    // A connection that broke is opened once more before the post counts as lost.
    if (channel.fd >= 0 && channel.path != path) {
        ::close(channel.fd);
        channel.fd = -1;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (channel.fd < 0) {
            channel.fd = Connect(path);
            channel.path = path;
        }
        if (channel.fd < 0) return false;
        if (WriteAll(channel.fd, line.data(), line.size(), true)) return true;
        ::close(channel.fd);
        channel.fd = -1;
    }
    return false;
}

bool PostPipeMessage(const char* name, const std::string& utf8Text) {
    const std::string bytes = ToUtf16LE(utf8Text);
    if (!WriteAll(STDERR_FILENO, bytes.data(), bytes.size(), false)) return false;
    return PostRegisteredMessage(name, 0, static_cast<std::intptr_t>(bytes.size()));
}

void CloseNotifyChannel() {
    Channel& channel = TheChannel();
    std::lock_guard lock(channel.mutex);
    if (channel.fd >= 0) ::close(channel.fd);
    channel.fd = -1;
}

}  // namespace zar
