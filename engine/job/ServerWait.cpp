#include "job/ServerWait.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <string>

#include "tessel/Text.h"

namespace fetchcore {
namespace {

using Clock = std::chrono::system_clock;

constexpr std::array<std::string_view, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

struct DateParts {
    int day = 0, year = 0, hour = 0, minute = 0, second = 0;
    char month[4] = {};
};

std::optional<Clock::time_point> TimeOf(const DateParts& parts) {
    int month = 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (kMonths[i] == parts.month) month = static_cast<int>(i) + 1;
    }
    const std::chrono::year_month_day date{std::chrono::year(parts.year),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(parts.day))};
    if (month == 0 || !date.ok() || parts.hour > 23 || parts.minute > 59 || parts.second > 60)
        return std::nullopt;
    return std::chrono::sys_days(date) + std::chrono::hours(parts.hour) +
           std::chrono::minutes(parts.minute) + std::chrono::seconds(parts.second);
}

// The whole of `text` read by `format`, which ends in %n; false when anything is left over.
template <class... Fields>
bool ReadWhole(const std::string& text, const char* format, int fields, Fields*... out) {
    int used = -1;
    return std::sscanf(text.c_str(), format, out..., &used) == fields &&
           static_cast<std::size_t>(used) == text.size();
}

std::optional<int64_t> Seconds(std::string_view text) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

std::string_view Trimmed(std::string_view text) {
    return tessel::TrimBlanks(text, " \t");
}

// A Retry-After date counts from the answer's own Date, so the two clocks need not agree.
std::optional<std::chrono::seconds> UntilDate(Clock::time_point when,
                                              const platform::ResponseHead& head,
                                              Clock::time_point receivedAt) {
    auto now = receivedAt;
    if (const auto date = head.Header("Date")) now = ParseHttpDate(*date).value_or(receivedAt);
    const auto left = std::chrono::ceil<std::chrono::seconds>(when - now);
    return std::max(left, std::chrono::seconds(0));
}

}  // namespace

std::optional<Clock::time_point> ParseHttpDate(std::string_view text) {
    const std::string whole(Trimmed(text));
    DateParts p;
    char weekday[10] = {};
    if (ReadWhole(whole, "%3[A-Za-z], %2d %3[A-Za-z] %4d %2d:%2d:%2d GMT%n", 7, weekday, &p.day,
                  p.month, &p.year, &p.hour, &p.minute, &p.second)) {
        return TimeOf(p);
    }
    if (ReadWhole(whole, "%9[A-Za-z], %2d-%3[A-Za-z]-%2d %2d:%2d:%2d GMT%n", 7, weekday, &p.day,
                  p.month, &p.year, &p.hour, &p.minute, &p.second)) {
        p.year += p.year < 70 ? 2000 : 1900;
        return TimeOf(p);
    }
    if (ReadWhole(whole, "%3[A-Za-z] %3[A-Za-z] %2d %2d:%2d:%2d %4d%n", 7, weekday, p.month, &p.day,
                  &p.hour, &p.minute, &p.second, &p.year)) {
        return TimeOf(p);
    }
    return std::nullopt;
}

std::optional<std::chrono::seconds> AskedWait(const DownloadResult& result) {
    const int status = result.Exchange.Status;
    if ((status != 429 && status != 503) || result.Exchange.Hops.empty()) return std::nullopt;
    const platform::ResponseHead& head = result.Exchange.Hops.back();
    if (const auto retryAfter = head.Header("Retry-After")) {
        if (const auto seconds = Seconds(Trimmed(*retryAfter)))
            return std::chrono::seconds(*seconds);
        if (const auto when = ParseHttpDate(*retryAfter))
            return UntilDate(*when, head, result.Exchange.ReceivedAt);
    }
    if (const auto reset = head.Header("X-RateLimit-Reset")) {
        const std::string_view first = reset->substr(0, reset->find(','));
        if (const auto seconds = Seconds(Trimmed(first))) return std::chrono::seconds(*seconds);
    }
    return std::nullopt;
}

}  // namespace fetchcore
