#pragma once

#include "interchange/Interchange.h"

#include <filesystem>
#include <string>

namespace velloria {

class ExchangeLibrary;
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

// OK of the import dialog: stores the check boxes in the preferences, imports every checked
// source with a location into a new top-level folder of its own, then stores the location
// texts. An error stops the import with what was imported kept (the files of the folders read
// so far are written before the error goes on); so does OperationCancelled from progress.
void importBookmarks(ExchangeLibrary& model, const ExchangeChoice& choice, const ProgressFunction& progress = {});

// One source alone, as the command-line tool imports: a new top-level folder named after the
// source with what the reader finds below it. Returns the name of the new top-level folder.
enum class ImportSource { InternetExplorer, Netscape, Opera };
std::string importSource(ExchangeLibrary& model, ImportSource source, const std::filesystem::path& location,
                         const ProgressFunction& progress = {});

} // namespace velloria
