// The statistics as the dialog and the command-line tool show them, in the language's words.

#include "mainwindow/StatisticsLines.h"

#include "settings/UIText.h"

namespace velloria {

StatisticsLines statisticsLines(const LibraryStatistics& statistics, const UIText& texts,
                                std::string_view thousandsSeparator)
{
    StatisticsLines lines{"Folders:", "Links:", "Database Size:", "Free Space:"};
    if (statistics.folders)
        lines.folders = texts[text::Folders] + ' ' + std::to_string(*statistics.folders);
    if (statistics.links)
        lines.links = texts[text::Bookmarks] + ' ' + std::to_string(*statistics.links);
    if (statistics.databaseBytes)
        lines.databaseSize = texts[text::DatabaseSize] + ' '
            + formatKilobytes(static_cast<double>(*statistics.databaseBytes), thousandsSeparator) + " k";
    if (statistics.freeBytes)
        lines.freeSpace = texts[text::FreeSpace] + ' '
            + formatKilobytes(static_cast<double>(*statistics.freeBytes), thousandsSeparator) + " k";
    return lines;
}

} // namespace velloria
