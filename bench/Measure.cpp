#include "Measure.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velloria::bench {

namespace {

// The fixed-size message from the child to the parent; a message that arrives short means the
// child died before it could report.
struct ChildReport {
    double milliseconds = 0;
    double firstMilliseconds = 0;
    double peakMegabytes = 0;
    std::uint64_t runs = 0;
    char error[480] = {};
};

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::size_t readAll(int fd, char* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

[[noreturn]] void runChild(int fd, const std::function<std::vector<double>()>& operation, std::size_t minimumRuns)
{
    ChildReport report;
    try {
        const std::vector<double> times = operation();
        if (times.size() < minimumRuns)
            throw std::runtime_error("only " + std::to_string(times.size()) + " runs were measured");
        report.milliseconds = median(times);
        report.firstMilliseconds = times.empty() ? 0 : times.front();
        report.runs = times.size();
    } catch (const std::exception& error) {
        std::strncpy(report.error, error.what(), sizeof report.error - 1);
    }
    report.peakMegabytes = peakResidentMegabytes();
    const bool sent = writeAll(fd, reinterpret_cast<const char*>(&report), sizeof report);
    ::close(fd);
    // _exit: the child must not run the parent's exit handlers or flush its copied buffers.
    ::_exit(sent ? 0 : 1);
}

std::string describeEnd(int status)
{
    if (WIFSIGNALED(status))
        return "the measuring process was killed by signal " + std::to_string(WTERMSIG(status));
    return "the measuring process ended with status " + std::to_string(WEXITSTATUS(status)) + " without a report";
}

} // namespace

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string formatCount(std::size_t count)
{
    const std::string digits = std::to_string(count);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

double freshPageMicroseconds()
{
    constexpr std::size_t kPages = 2048;
    const auto pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    double best = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        void* memory = ::mmap(nullptr, kPages * pageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED)
            return 0;
        auto* bytes = static_cast<volatile char*>(memory);
        const double milliseconds = millisecondsOf([&] {
            for (std::size_t page = 0; page < kPages; ++page)
                bytes[page * pageSize] = 1;
        });
        ::munmap(memory, kPages * pageSize);
        const double perPage = milliseconds * 1000 / kPages;
        best = attempt == 0 ? perPage : std::min(best, perPage);
    }
    return best;
}

double peakResidentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0; // the value is in kB
    }
    return 0;
}

Measurement measureInChildProcess(const std::function<std::vector<double>()>& operation, std::size_t minimumRuns)
{
    Measurement measurement;
    int fds[2];
    if (::pipe(fds) != 0) {
        measurement.error = "cannot create a pipe: " + std::string(std::strerror(errno));
        return measurement;
    }
    ::sync();
    // Anything buffered would otherwise be written twice, once by each process.
    std::cout.flush();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        measurement.error = "cannot fork: " + std::string(std::strerror(errno));
        ::close(fds[0]);
        ::close(fds[1]);
        return measurement;
    }
    if (child == 0) {
        ::close(fds[0]);
        runChild(fds[1], operation, minimumRuns);
    }
    ::close(fds[1]);
    ChildReport report;
    const std::size_t received = readAll(fds[0], reinterpret_cast<char*>(&report), sizeof report);
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (received != sizeof report) {
        measurement.error = describeEnd(status);
        return measurement;
    }
    measurement.milliseconds = report.milliseconds;
    measurement.firstMilliseconds = report.firstMilliseconds;
    measurement.runs = report.runs;
    measurement.peakMegabytes = report.peakMegabytes;
    measurement.error = report.error;
    return measurement;
}

} // namespace velloria::bench
