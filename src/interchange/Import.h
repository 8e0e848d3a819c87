#pragma once

#include "interchange/BrowserProfiles.h"
#include "interchange/Interchange.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velloria {

class ExchangeLibrary;
class UIText;
struct TPreferences;


// The check boxes and location texts of the import or the export dialog, in the order of the
// sources: Internet Explorer favorites directory, bookmark HTML file, hotlist, XBEL file.
struct ExchangeChoice {
    bool ie = false;
    bool netscape = false;
    bool opera = false;
    std::string ieLocation;
    std::string netscapeLocation;
    std::string operaLocation;
    bool xbel = false;
    std::string xbelLocation;
    bool operator==(const ExchangeChoice&) const = default;
};

// The import source names: the names of the top-level folders an import makes.
inline constexpr std::string_view kImportSourceIE = "Internet Explorer";
inline constexpr std::string_view kImportSourceNetscape = "Netscape";
inline constexpr std::string_view kImportSourceOpera = "Opera";
inline constexpr std::string_view kImportSourceXbel = "XBEL";

// The favorites directory shown when the preferences name none: ~/Favorites.
std::filesystem::path userFavoritesDirectory(const std::filesystem::path& userHome);

// True for a location text of nothing but spaces: its source or target is skipped.
bool isBlankLocation(std::string_view text);

// A location text of the dialogs as a path: a relative one is taken from the user's home.
std::filesystem::path exchangeLocation(const ExchangeLibrary& model, std::string_view text);

// The XBEL file shown when none was chosen in this run: ~/bookmarks.xbel.
std::filesystem::path defaultXbelFile(const std::filesystem::path& userHome);

// What the import dialog shows when it opens, from the preferences and what this run chose.
ExchangeChoice importDialogChoice(ExchangeLibrary& model);

// The sources (and targets) of the dialogs' rows.
enum class ImportSource { InternetExplorer, Netscape, Opera, Xbel };

// The checked rows of a choice that have a location, in the order of the rows.
std::vector<std::pair<ImportSource, std::string>> exchangeTargets(const ExchangeChoice& choice);
// Stores the location texts of a dialog's rows (after its OK, used or not).
void storeLocations(ExchangeLibrary& model, const ExchangeChoice& choice);

// What the import of one source made: the new top-level folder, and what its reader imported
// and skipped below it.
struct ImportReport {
    std::string topFolder;
    ImportCounts counts;
    bool operator==(const ImportReport&) const = default;
};

// OK of the import dialog's page of files: stores the check boxes in the preferences (XBEL's for
// the run), imports every checked source with a location into a new top-level folder of its
// own, then stores the location texts. Returns a report per source imported. An error stops the import with what was
// imported kept (the files of the folders read so far are written before the error goes on);
// so does OperationCancelled from progress.
std::vector<ImportReport> importBookmarks(ExchangeLibrary& model, const ExchangeChoice& choice,
                                          const ProgressFunction& progress = {});

// One source alone, as the command-line tool imports: a new top-level folder named after the
// source with what the reader finds below it.
ImportReport importSource(ExchangeLibrary& model, ImportSource source, const std::filesystem::path& location,
                          const ProgressFunction& progress = {});

// A browser's profile: a new top-level folder named after browser and profile ("Firefox
// (default-release)", numbered when taken) with the profile's bookmarks below it. A store that
// cannot be read throws its Error and adds nothing.
ImportReport importProfile(ExchangeLibrary& model, const BrowserProfile& profile, const ProgressFunction& progress = {});

// A row of the import dialog's page of browsers (and of the command-line tool's list): a profile
// found, the links an import of it would bring (nullopt when it cannot be read, with the reason),
// and whether its store is among those ticked (the dialog passes the ones imported last in the
// run, so that the page opens with them ticked again).
struct ProfileRow {
    BrowserProfile profile;
    std::optional<std::size_t> links;
    std::string problem;
    bool ticked = false;
};
std::vector<ProfileRow> profileRows(const BrowserPlaces& places, const std::vector<std::filesystem::path>& ticked = {});

// OK of the import dialog's page of browsers: each ticked profile in turn, remembered for the
// next time the dialog opens in this run.
std::vector<ImportReport> importProfiles(ExchangeLibrary& model, const std::vector<BrowserProfile>& profiles,
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
