#pragma once

#include <string>

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
