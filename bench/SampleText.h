#pragma once

#include "store/LinkFile.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

namespace velloria::bench {

// Random choices on top of std::mt19937. The distributions of <random> differ between standard
// libraries, so every choice is derived from the engine's raw output instead: the same seed
// gives the same library with any compiler.
class Random {
public:
    explicit Random(std::uint32_t seed) : m_engine(seed) {}

    std::uint32_t next() { return static_cast<std::uint32_t>(m_engine()); }
    // A number in [0, n); n must be positive.
    std::size_t below(std::size_t n) { return (std::uint64_t{next()} * n) >> 32; }
    // A number in [low, high].
    int between(int low, int high);
    // True with the given chance in percent.
    bool chance(unsigned percent) { return below(100) < percent; }
    // A number in [0, 1).
    double unit() { return next() / 4294967296.0; }

private:
    std::mt19937 m_engine;
};

// A seed for one item of a generated library, so that each item can be made again on its own.
std::uint32_t mixSeed(std::uint32_t seed, std::uint64_t item);

// Folder names, unique only after the caller's check: a topic, sometimes with a qualifier.
std::string sampleFolderName(Random& random);
std::string sampleFolderDescription(Random& random, const std::string& folderName);

// One link as a user would have it: a title of a few words, an https address on an .example
// host, a last visit for some, an add date, and a short description for most.
struct SampleLink {
    TLinkRecord record;
    std::string description;
};
SampleLink sampleLink(Random& random);

} // namespace velloria::bench
