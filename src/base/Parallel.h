#pragma once

#include <algorithm>
#include <cstddef>
#include <thread>
#include <vector>

namespace velloria {

// Runs work(begin, end, part) over parts of [0, count), one part per processor (at most four),
// the first on the calling thread, and returns when every part is done; a count under smallest
// is one part. prepare(begin, end, part) runs first for every part on the calling thread, to
// reserve what the parts fill: memory that threads take for themselves is kept apart from the
// rest of the program's after they end, and so adds to its peak.
template <typename Prepare, typename Work>
void inParts(std::size_t count, std::size_t smallest, Prepare&& prepare, Work&& work)
{
    const std::size_t parts =
        count < smallest ? 1 : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4);
    const auto start = [&](std::size_t part) { return count * part / parts; };
    for (std::size_t part = 0; part < parts; ++part)
        prepare(start(part), start(part + 1), part);
    std::vector<std::thread> helpers;
    for (std::size_t part = 1; part < parts; ++part)
        helpers.emplace_back([&, part] { work(start(part), start(part + 1), part); });
    work(start(0), start(1), std::size_t{0});
    for (std::thread& helper : helpers)
        helper.join();
}

} // namespace velloria
