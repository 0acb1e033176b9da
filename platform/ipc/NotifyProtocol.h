#pragma once
// One record of the notification channel, as both sides write and read it: a line of ASCII
// "ZVN1 <token> <name> <wParam> <lParam>\n" with wParam unsigned and lParam signed decimal.
// Text, so that a record is whole or visibly broken, never misread.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zar {

constexpr std::size_t kMaxNotifyNameLength = 64;
constexpr std::size_t kMaxNotifyTokenLength = 64;
// Longer lines are not records: the reader drops them whole.
constexpr std::size_t kMaxNotifyRecordLength = 256;

struct NotifyRecord {
    std::string token;
    std::string name;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// A name or token that may travel: 1 to the maximum of printable ASCII without blanks or ':'.
bool IsNotifyWord(std::string_view word, std::size_t maxLength);

// The line of a record, "\n" included; empty when the token or the name may not travel.
std::string FormatNotifyRecord(const NotifyRecord& record);
// A line without its "\n"; nothing when it is not a whole record.
std::optional<NotifyRecord> ParseNotifyRecord(std::string_view line);

// ZV_NOTIFY's value for a token and a socket path, and back.
std::string FormatNotifyAddress(std::string_view token, std::string_view socketPath);
bool ParseNotifyAddress(std::string_view value, std::string& token, std::string& socketPath);

}  // namespace zar
