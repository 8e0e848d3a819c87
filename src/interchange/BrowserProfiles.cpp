#include "interchange/BrowserProfiles.h"

#include "base/Error.h"
#include "base/TextLines.h"
#include "interchange/ChromiumBookmarks.h"
#include "interchange/FirefoxPlaces.h"
#include "platform/FileIO.h"
#include "platform/HomeDirectory.h"

#include <simdjson.h>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace velloria {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPlacesFile = "places.sqlite";
constexpr std::string_view kBookmarksFile = "Bookmarks";

struct Installation {
    std::string_view browser;
    fs::path root;
};

std::vector<Installation> firefoxInstallations(const BrowserPlaces& places)
{
    return {{"Firefox", places.home / ".mozilla/firefox"},
            {"Firefox snap", places.home / "snap/firefox/common/.mozilla/firefox"},
            {"Firefox flatpak", places.home / ".var/app/org.mozilla.firefox/.mozilla/firefox"}};
}

std::vector<Installation> chromiumInstallations(const BrowserPlaces& places)
{
    const fs::path flatpaks = places.home / ".var/app";
    return {{"Chrome", places.config / "google-chrome"},
            {"Chrome flatpak", flatpaks / "com.google.Chrome/config/google-chrome"},
            {"Chromium", places.config / "chromium"},
            {"Chromium flatpak", flatpaks / "org.chromium.Chromium/config/chromium"},
            {"Chromium snap", places.home / "snap/chromium/common/chromium"},
            {"Brave", places.config / "BraveSoftware/Brave-Browser"},
            {"Brave flatpak", flatpaks / "com.brave.Browser/config/BraveSoftware/Brave-Browser"},
            {"Edge", places.config / "microsoft-edge"},
            {"Edge flatpak", flatpaks / "com.microsoft.Edge/config/microsoft-edge"},
            {"Vivaldi", places.config / "vivaldi"},
            {"Vivaldi flatpak", flatpaks / "com.vivaldi.Vivaldi/config/vivaldi"}};
}

bool isFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// profiles.ini: sections of "key=value" lines.
using IniSections = std::vector<std::pair<std::string, std::map<std::string, std::string, std::less<>>>>;

IniSections readIni(std::string_view bytes)
{
    IniSections sections;
    forEachLine(bytes, [&](std::string_view line) {
        line = trimmed(line);
        if (line.size() > 1 && line.front() == '[' && line.back() == ']') {
            sections.emplace_back(std::string(line.substr(1, line.size() - 2)), std::map<std::string, std::string, std::less<>>());
        } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos && !sections.empty()) {
            sections.back().second[std::string(trimmed(line.substr(0, equals)))] = std::string(trimmed(line.substr(equals + 1)));
        }
    });
    return sections;
}

std::string valueOf(const std::map<std::string, std::string, std::less<>>& keys, std::string_view key)
{
    const auto it = keys.find(key);
    return it == keys.end() ? std::string() : it->second;
}

void addFirefoxProfiles(const Installation& installation, std::vector<BrowserProfile>& profiles)
{
    const std::optional<std::string> ini = readFileIfExists(installation.root / "profiles.ini");
    if (!ini)
        return;
    const IniSections sections = readIni(*ini);
    // The default of the installation in use; older files mark a profile with Default=1.
    std::string installDefault;
    for (const auto& [section, keys] : sections)
        if (section.starts_with("Install") && installDefault.empty())
            installDefault = valueOf(keys, "Default");
    const std::size_t first = profiles.size();
    for (const auto& [section, keys] : sections) {
        const std::string path = valueOf(keys, "Path");
        if (!section.starts_with("Profile") || path.empty())
            continue;
        const fs::path directory = valueOf(keys, "IsRelative") == "0" ? fs::path(path) : installation.root / path;
        if (!isFile(directory / kPlacesFile))
            continue;
        const bool isDefault = installDefault.empty() ? valueOf(keys, "Default") == "1" : path == installDefault;
        const std::string name = valueOf(keys, "Name");
        profiles.push_back({.kind = BrowserKind::Firefox, .browser = std::string(installation.browser),
                            .name = name.empty() ? directory.filename().string() : name, .directory = directory,
                            .bookmarks = directory / kPlacesFile, .isDefault = isDefault});
    }
    std::stable_partition(profiles.begin() + static_cast<std::ptrdiff_t>(first), profiles.end(),
                          [](const BrowserProfile& profile) { return profile.isDefault; });
}

// The names "Local State" gives the profile directories, and the one last used.
struct ChromiumState {
    std::map<std::string, std::string, std::less<>> names;
    std::string lastUsed = "Default";
};

ChromiumState readLocalState(const fs::path& root)
{
    ChromiumState state;
    const std::optional<std::string> bytes = readFileIfExists(root / "Local State");
    simdjson::dom::parser parser;
    simdjson::dom::element document;
    if (!bytes || parser.parse(*bytes).get(document) != simdjson::SUCCESS)
        return state;
    std::string_view lastUsed;
    if (document["profile"]["last_used"].get_string().get(lastUsed) == simdjson::SUCCESS && !lastUsed.empty())
        state.lastUsed = lastUsed;
    simdjson::dom::object cache;
    if (document["profile"]["info_cache"].get_object().get(cache) == simdjson::SUCCESS)
        for (const auto [directory, info] : cache) {
            std::string_view name;
            if (info["name"].get_string().get(name) == simdjson::SUCCESS)
                state.names[std::string(directory)] = singleLine(name);
        }
    return state;
}

void addChromiumProfiles(const Installation& installation, std::vector<BrowserProfile>& profiles)
{
    std::error_code error;
    if (!fs::is_directory(installation.root, error))
        return;
    const ChromiumState state = readLocalState(installation.root);
    std::vector<BrowserProfile> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(installation.root, error)) {
        if (!isFile(entry.path() / kBookmarksFile))
            continue;
        const std::string directory = entry.path().filename().string();
        const auto name = state.names.find(directory);
        found.push_back({.kind = BrowserKind::Chromium, .browser = std::string(installation.browser),
                         .name = name == state.names.end() ? directory : name->second, .directory = entry.path(),
                         .bookmarks = entry.path() / kBookmarksFile, .isDefault = directory == state.lastUsed});
    }
    // The default first, then "Default", "Profile 1", "Profile 2", ... in the order of their numbers.
    const auto order = [](const BrowserProfile& profile) {
        const std::string directory = profile.directory.filename().string();
        const bool numbered = directory.starts_with("Profile ");
        return std::tuple(!profile.isDefault, directory != "Default", numbered ? directory.size() : 0, directory);
    };
    std::sort(found.begin(), found.end(), [&](const auto& a, const auto& b) { return order(a) < order(b); });
    profiles.insert(profiles.end(), found.begin(), found.end());
}

class CountingSink final : public ImportSink {
public:
    void beginFolder(std::string_view, std::optional<std::string_view>) override {}
    void endFolder() override {}
    void addLink(std::string_view, std::string_view, std::string_view, const LinkDates&) override {}
};

} // namespace

BrowserPlaces userBrowserPlaces()
{
    const fs::path home = userHomeDirectory();
    const char* config = std::getenv("XDG_CONFIG_HOME");
    return {home, config && fs::path(config).is_absolute() ? fs::path(config) : home / ".config"};
}

std::vector<BrowserProfile> findBrowserProfiles(const BrowserPlaces& places)
{
    std::vector<BrowserProfile> profiles;
    for (const Installation& installation : firefoxInstallations(places))
        addFirefoxProfiles(installation, profiles);
    for (const Installation& installation : chromiumInstallations(places))
        addChromiumProfiles(installation, profiles);
    return profiles;
}

BrowserProfile profileAt(BrowserKind kind, const fs::path& path)
{
    const std::string_view storeName = kind == BrowserKind::Firefox ? kPlacesFile : kBookmarksFile;
    std::error_code error;
    const bool isDirectory = fs::is_directory(path, error);
    const fs::path store = isDirectory ? path / storeName : path;
    if (!isFile(store))
        throw Error("Nothing was imported: \"" + store.string() + "\" does not exist"
                    + (isDirectory ? " (is this a profile of that browser?)" : ""));
    const fs::path directory = isDirectory ? path : fs::absolute(path, error).parent_path();
    return {.kind = kind, .browser = kind == BrowserKind::Firefox ? "Firefox" : "Chromium",
            .name = directory.filename().string(), .directory = directory, .bookmarks = store};
}

std::optional<BrowserProfile> defaultProfile(const std::vector<BrowserProfile>& profiles, BrowserKind kind)
{
    // Each installation lists its default first, so the first of the kind is what it starts with.
    const auto it = std::find_if(profiles.begin(), profiles.end(), [kind](const auto& p) { return p.kind == kind; });
    return it == profiles.end() ? std::nullopt : std::optional<BrowserProfile>(*it);
}

std::string profileFolderName(const BrowserProfile& profile)
{
    return profile.name.empty() ? profile.browser : profile.browser + " (" + profile.name + ")";
}

ImportCounts readBrowserProfile(const BrowserProfile& profile, ImportSink& sink)
{
    return profile.kind == BrowserKind::Firefox ? ImportFirefoxPlaces(profile.bookmarks, sink)
                                                : ImportChromiumBookmarks(profile.bookmarks, sink);
}

std::size_t countProfileLinks(const BrowserProfile& profile)
{
    CountingSink sink;
    return readBrowserProfile(profile, sink).links;
}

std::optional<BrowserKind> browserKindNamed(std::string_view name)
{
    if (name == "firefox")
        return BrowserKind::Firefox;
    if (name == "chromium")
        return BrowserKind::Chromium;
    return std::nullopt;
}

} // namespace velloria
