#pragma once

#include "StoreBenchmarks.h"

namespace velloria::bench {

// Find, Find Again and the statistics on a generated library.
std::vector<Benchmark> toolBenchmarks(const std::filesystem::path& home, const LibraryPlan& plan);

} // namespace velloria::bench
