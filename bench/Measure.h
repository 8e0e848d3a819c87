#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace velloria::bench {

// Each figure is the median of at least this many runs, and its first run is judged as well.
inline constexpr std::size_t kMinimumRuns = 5;

// What one benchmark reports: the median of its runs, how many runs there were, and the
// peak resident memory of the process that ran it.
struct Measurement {
    double milliseconds = 0;
    double firstMilliseconds = 0; // the first run, with the process's memory still fresh
    std::size_t runs = 0;
    double peakMegabytes = 0;
    std::string error; // empty when the operation succeeded
};

template <typename Operation> double millisecondsOf(Operation&& operation)
{
    const auto start = std::chrono::steady_clock::now();
    operation();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double median(std::vector<double> values);

// The count with thousands separators: 20000 is "20,000".
std::string formatCount(std::size_t count);

// What the first write to a fresh page of memory costs here, in microseconds. Virtual machines
// differ in it by a factor of a hundred, and the first run of an operation pays it for every
// page it touches.
double freshPageMicroseconds();

// VmHWM of this process in MB, or 0 when /proc does not tell it.
double peakResidentMegabytes();

// Runs the operation in a forked child process and collects its times and its VmHWM through a
// pipe. Each operation thus has a peak of its own, not hidden by an earlier larger one. The
// operation returns the time of each of its runs in milliseconds; an exception it throws, or
// fewer than minimumRuns times, becomes the error of the measurement. The files written before
// are flushed to the disk first, so that their writing back is not timed as this operation's.
Measurement measureInChildProcess(const std::function<std::vector<double>()>& operation,
                                  std::size_t minimumRuns = kMinimumRuns);

} // namespace velloria::bench
