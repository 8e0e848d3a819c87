#pragma once

#include "interchange/Interchange.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velloria {

// The browsers on this computer whose bookmarks can be read straight from their profiles.

enum class BrowserKind { Firefox, Chromium };

struct BrowserProfile {
    BrowserKind kind = BrowserKind::Firefox;
    std::string browser; // "Firefox", "Chrome", "Brave (flatpak)", ...
    std::string name;    // the profile's name as the browser shows it
    std::filesystem::path directory;
    std::filesystem::path bookmarks; // places.sqlite or Bookmarks
    bool isDefault = false;          // the profile the browser starts with
    bool operator==(const BrowserProfile&) const = default;
};

// Where the browsers keep their profiles: the user's home directory and the configuration
// directory ($XDG_CONFIG_HOME, by default ~/.config).
struct BrowserPlaces {
    std::filesystem::path home;
    std::filesystem::path config;
};

// The places of the user running the program.
BrowserPlaces userBrowserPlaces();

// Every profile with a bookmark store, browser by browser: Firefox (profiles.ini under
// ~/.mozilla/firefox, the snap and the flatpak), then Chrome, Chromium, Brave, Edge and Vivaldi
// (each profile directory with a "Bookmarks" file, named as "Local State" names it; the usual
// installations, the flatpaks and the Chromium snap). Profiles in each installation in the
// browser's order, the default first.
std::vector<BrowserProfile> findBrowserProfiles(const BrowserPlaces& places);

// The profile of a path given by the user: a profile directory, a places.sqlite or a Bookmarks
// file. The browser is named after the kind, the profile after its directory. Throws an Error
// when there is no store of that kind at the path.
BrowserProfile profileAt(BrowserKind kind, const std::filesystem::path& path);

// The profile a browser of that kind starts with: the first installation's default. nullopt
// when there is none.
std::optional<BrowserProfile> defaultProfile(const std::vector<BrowserProfile>& profiles, BrowserKind kind);

// "Firefox (default-release)": the name of the folder an import of the profile makes.
std::string profileFolderName(const BrowserProfile& profile);

// Reads the profile's bookmarks into the sink.
ImportCounts readBrowserProfile(const BrowserProfile& profile, ImportSink& sink);

// The number of links an import of the profile would bring.
std::size_t countProfileLinks(const BrowserProfile& profile);

// "firefox" or "chromium", as the command-line tool names them.
std::optional<BrowserKind> browserKindNamed(std::string_view name);

} // namespace velloria
