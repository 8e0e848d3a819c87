#pragma once

#include "StoreBenchmarks.h"

namespace velloria::bench {

// Check Links on a library of its own in <home>/linkcheck whose 1,000 links point at a web server
// on 127.0.0.1 that the benchmark starts: the whole check, and Cancel.
std::vector<Benchmark> linkCheckBenchmarks(const std::filesystem::path& home, const LibraryPlan& plan);

} // namespace velloria::bench
