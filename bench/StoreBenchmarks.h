#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velloria::bench {

struct LibraryPlan;

// One timed operation. run is called in a child process of its own; it prepares its input
// untimed and returns the time of each run in milliseconds.
struct Benchmark {
    std::string name;
    double targetMilliseconds = 0;
    std::function<std::vector<double>()> run;
    double peakTargetMegabytes = 64;
};

// The library store's operations on a generated library in <home>/RefLib: loading, showing the
// big folder, saving, reverting and deleting a subtree. Each leaves the library as a save would
// have it, so that the next one starts from a saved library too. The plan must outlive them.
std::vector<Benchmark> storeBenchmarks(const std::filesystem::path& home, const LibraryPlan& plan);

} // namespace velloria::bench
