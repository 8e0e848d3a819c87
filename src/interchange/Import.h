#pragma once

#include "interchange/Interchange.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velloria {

class ExchangeLibrary;
class UIText;
struct TPreferences;

// The check boxes and location texts of the import or the export dialog, in the order of the
// sources: Internet Explorer favorites directory, bookmark HTML file, hotlist.
struct ExchangeChoice {
    bool ie = false;
    bool netscape = false;
    bool opera = false;
    std::string ieLocation;
    std::string netscapeLocation;
    std::string operaLocation;
    bool operator==(const ExchangeChoice&) const = default;
};

// The import source names: the names of the top-level folders an import makes.
inline constexpr std::string_view kImportSourceIE = "Internet Explorer";
inline constexpr std::string_view kImportSourceNetscape = "Netscape";
inline constexpr std::string_view kImportSourceOpera = "Opera";

// The favorites directory shown when the preferences name none: ~/Favorites.
std::filesystem::path userFavoritesDirectory(const std::filesystem::path& userHome);

// True for a location text of nothing but spaces: its source or target is skipped.
bool isBlankLocation(std::string_view text);

// A location text of the dialogs as a path: a relative one is taken from the user's home.
std::filesystem::path exchangeLocation(const ExchangeLibrary& model, std::string_view text);

// What the import dialog shows when it opens, from the preferences.
ExchangeChoice importDialogChoice(const TPreferences& prefs, const std::filesystem::path& userHome);

// What the import of one source made: the new top-level folder, and what its reader imported
// and skipped below it.
struct ImportReport {
    std::string topFolder;
    ImportCounts counts;
    bool operator==(const ImportReport&) const = default;
};

// OK of the import dialog: stores the check boxes in the preferences, imports every checked
// source with a location into a new top-level folder of its own, then stores the location
// texts. Returns a report per source imported. An error stops the import with what was
// imported kept (the files of the folders read so far are written before the error goes on);
// so does OperationCancelled from progress.
std::vector<ImportReport> importBookmarks(ExchangeLibrary& model, const ExchangeChoice& choice,
                                          const ProgressFunction& progress = {});

// One source alone, as the command-line tool imports: a new top-level folder named after the
// source with what the reader finds below it.
enum class ImportSource { InternetExplorer, Netscape, Opera };
ImportReport importSource(ExchangeLibrary& model, ImportSource source, const std::filesystem::path& location,
                          const ProgressFunction& progress = {});

// The summary that ends every import, in the texts of the table: a line with the folders and
// links imported, then a line per reason that skipped entries, with their number
// ("3 entries skipped: cut off at the end of the file").
std::vector<std::string> importSummary(const UIText& texts, const ImportCounts& counts);
// The summary of the sources of one import dialog: each source's lines, the first after the
// name of its new folder ("Netscape: 2 folders and 9 links imported"), a blank line between
// sources.
std::string importSummaryText(const UIText& texts, const std::vector<ImportReport>& reports);

} // namespace velloria
