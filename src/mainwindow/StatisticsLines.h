#pragma once

#include "tools/Statistics.h"

#include <string>
#include <string_view>

namespace velloria {

class UIText;

// The four lines of the statistics dialog; a figure not computed shows the field's design text.
struct StatisticsLines {
    std::string folders;
    std::string links;
    std::string databaseSize;
    std::string freeSpace;
};
StatisticsLines statisticsLines(const LibraryStatistics& statistics, const UIText& texts,
                                std::string_view thousandsSeparator);

} // namespace velloria
