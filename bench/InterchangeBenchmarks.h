#pragma once

#include "StoreBenchmarks.h"

namespace velloria::bench {

// Bookmark files in the style browsers write them (attributes, icons, entities), generated from
// the plan of a library into <home>/interchange, with what an exact import must give.
void writeBookmarkFiles(const std::filesystem::path& home, const LibraryPlan& plan);

// Import of the generated bookmark files into fresh homes, and export of the library in
// <home>/RefLib to each format and to the HTML page.
std::vector<Benchmark> interchangeBenchmarks(const std::filesystem::path& home, const LibraryPlan& plan);

} // namespace velloria::bench
