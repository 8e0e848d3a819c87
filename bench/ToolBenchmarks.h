#pragma once

#include "StoreBenchmarks.h"

namespace velloria::bench {

// Find, Find Again and the statistics on a generated library.
std::vector<Benchmark> toolBenchmarks(const std::filesystem::path& home, const LibraryPlan& plan);

// Find Duplicates and deleting what it proposes, on a copy of the library in <home>/duplicates
// with 10,000 links added. They run last: deleting and undoing replace a thousand files a run,
// and the inodes so freed slow the creating of files for a while on some file systems.
std::vector<Benchmark> duplicateBenchmarks(const std::filesystem::path& home, const LibraryPlan& plan);

} // namespace velloria::bench
