#include "base/Clock.h"

#include <array>
#include <ctime>

namespace velloria {

std::string formatDate(const Date& date)
{
    return std::to_string(date.year) + '.' + std::to_string(date.month) + '.' + std::to_string(date.day);
}

std::optional<Date> parseDate(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::array<int, 3> parts{};
    std::size_t part = 0;
    std::size_t digits = 0;
    for (const char c : text) {
        if (c == '.' && digits > 0 && part < 2) {
            ++part;
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 5) {
            parts[part] = parts[part] * 10 + (c - '0');
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || digits == 0 || parts[1] < 1 || parts[1] > 12 || parts[2] < 1 || parts[2] > 31)
        return std::nullopt;
    return Date{parts[0], parts[1], parts[2]};
}

Date localDateAt(long long secondsSinceEpoch)
{
    const auto moment = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    localtime_r(&moment, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

Date SystemClock::today() const
{
    return localDateAt(std::time(nullptr));
}

} // namespace velloria
