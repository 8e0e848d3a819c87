#include "base/Clock.h"

#include <ctime>

namespace velloria {

std::string formatDate(const Date& date)
{
    return std::to_string(date.year) + '.' + std::to_string(date.month) + '.' + std::to_string(date.day);
}

Date SystemClock::today() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

} // namespace velloria
