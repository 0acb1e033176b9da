#include "NotifyProtocol.h"

#include <charconv>
#include <vector>

namespace zar {

namespace {

constexpr std::string_view kRecordTag = "ZVN1";

std::vector<std::string_view> SplitBlanks(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t end = line.find(' ', at);
        const std::size_t stop = end == std::string_view::npos ? line.size() : end;
        words.push_back(line.substr(at, stop - at));
        at = stop + 1;
    }
    return words;
}

template <class T>
bool ReadWhole(std::string_view text, T& value) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool IsNotifyWord(std::string_view word, std::size_t maxLength) {
    if (word.empty() || word.size() > maxLength) return false;
    for (char c : word)
        if (c <= ' ' || c > '~' || c == ':') return false;
    return true;
}

std::string FormatNotifyRecord(const NotifyRecord& record) {
    if (!IsNotifyWord(record.token, kMaxNotifyTokenLength) ||
        !IsNotifyWord(record.name, kMaxNotifyNameLength))
        return {};
    std::string line;
    line.reserve(kMaxNotifyRecordLength);
    line.append(kRecordTag).append(" ").append(record.token).append(" ").append(record.name);
    line.append(" ").append(std::to_string(record.wParam));
    line.append(" ").append(std::to_string(record.lParam)).append("\n");
    return line;
}

std::optional<NotifyRecord> ParseNotifyRecord(std::string_view line) {
    if (line.size() >= kMaxNotifyRecordLength) return std::nullopt;
    const std::vector<std::string_view> words = SplitBlanks(line);
    if (words.size() != 5 || words[0] != kRecordTag) return std::nullopt;
    NotifyRecord record;
    if (!IsNotifyWord(words[1], kMaxNotifyTokenLength) ||
        !IsNotifyWord(words[2], kMaxNotifyNameLength) || !ReadWhole(words[3], record.wParam) ||
        !ReadWhole(words[4], record.lParam))
        return std::nullopt;
    record.token.assign(words[1]);
    record.name.assign(words[2]);
    return record;
}

std::string FormatNotifyAddress(std::string_view token, std::string_view socketPath) {
    std::string value(token);
    value.append(":").append(socketPath);
    return value;
}

bool ParseNotifyAddress(std::string_view value, std::string& token, std::string& socketPath) {
    const std::size_t colon = value.find(':');
    if (colon == std::string_view::npos) return false;
    const std::string_view t = value.substr(0, colon);
    const std::string_view path = value.substr(colon + 1);
    if (!IsNotifyWord(t, kMaxNotifyTokenLength) || path.empty()) return false;
    token.assign(t);
    socketPath.assign(path);
    return true;
}

}  // namespace zar
