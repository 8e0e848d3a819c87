#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velloria {

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const Date&) const = default;
};

// The date text of the library files: year, month and day without leading zeros, joined by
// "." (7 March 2004 is "2004.3.7").
std::string formatDate(const Date& date);
// The date of such a text, blanks around it allowed; nullopt for a text that holds none (the
// blank of a link never visited) or is not a date.
std::optional<Date> parseDate(std::string_view text);
// A number that orders dates: later dates give greater numbers.
// The local date at a moment given in seconds since 1970-01-01 UTC.
Date localDateAt(long long secondsSinceEpoch);
inline int dateOrder(const Date& date)
{
    return (date.year * 13 + date.month) * 32 + date.day;
}

// Today's local date. The program uses SystemClock; tests and the benchmark use FixedClock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date today() const = 0;
};

class SystemClock final : public Clock {
public:
    Date today() const override;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(Date date) : m_date(date) {}
    Date today() const override { return m_date; }
    void set(Date date) { m_date = date; }

private:
    Date m_date;
};

} // namespace velloria
