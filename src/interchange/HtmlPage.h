#pragma once

#include "interchange/Interchange.h"
#include "settings/PreferenceRecord.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velloria {

// The HTML page generator: one page that lists the library's links folder by folder, in the
// texts and colours of the "HTML Settings" dialog. The page is built in memory and written whole.

struct HtmlPageTexts {
    std::string title;
    std::string headerMessage;
    std::string welcomeMessage;
    bool operator==(const HtmlPageTexts&) const = default;
};

// Colours as written in the page: 0xRRGGBB, already resolved (no system colours).
struct HtmlPageColours {
    std::uint32_t text = 0;
    std::uint32_t background = 0;
    std::uint32_t headerArea = 0;
    std::uint32_t welcomeArea = 0;
    std::uint32_t bookmarkArea1 = 0;
    std::uint32_t bookmarkArea2 = 0;
    bool operator==(const HtmlPageColours&) const = default;
};

// The colour as an attribute value of the page: "\"#RRGGBB\"", quotes included, upper-case hex.
std::string HtmlColorText(std::uint32_t rgb);

// Resolves a colour of the preferences ($00BBGGRR, or a system colour $FF0000nn) to 0xRRGGBB.
using ColourResolver = std::function<std::uint32_t(TColor)>;
// For a program without a desktop (the command-line tool): RGB colours as stored, system colours
// as a light desktop shows them (window white, window text black, button face #EFEFEF, ...).
std::uint32_t defaultColourResolver(TColor colour);

// The page. onlyFolder: only that folder (an index into folders), without its subfolders;
// otherwise every folder in the order given. Every text is HTML-escaped, so that markup in a
// name, title, address or description shows as text and never runs. Texts that are not valid
// UTF-8 are taken as Windows-1252 and written as UTF-8, as the page declares. progress hears
// (folders done, folders to do) and may throw OperationCancelled.
std::string GenerateHtmlPage(const HtmlPageTexts& texts, const HtmlPageColours& colours,
                             const std::vector<ExportFolder>& folders, const ReadExportLinksFunction& readLinks,
                             std::optional<std::size_t> onlyFolder, const ProgressFunction& progress = {});

// The whole job on a library, for the dialog and the command-line tool: texts and colours from
// the preferences, only the folder at index onlyFolder of the tree when it is set, written
// atomically to path. A failed write leaves the target as it was and throws Error.
void writeHtmlPage(const Library& library, const TPreferences& prefs, const std::filesystem::path& path,
                   std::optional<std::size_t> onlyFolder, const ColourResolver& resolve,
                   const ProgressFunction& progress = {});

// The fields of the "HTML Settings" dialog as the preferences keep them.
enum class HtmlColour { Text, Background, HeaderArea, WelcomeArea, BookmarkArea1, BookmarkArea2 };
inline constexpr std::size_t kHtmlColourCount = 6;

struct HtmlSettings {
    HtmlPageTexts texts;
    std::array<TColor, kHtmlColourCount> colours{}; // in the order of HtmlColour
    bool selectedFolderOnly = false;
    bool operator==(const HtmlSettings&) const = default;
};

HtmlSettings htmlSettings(const TPreferences& prefs);
// Stores the fields; line breaks and other control characters of the texts become blanks.
void storeHtmlSettings(TPreferences& prefs, const HtmlSettings& settings);
HtmlPageColours resolveHtmlColours(const TPreferences& prefs, const ColourResolver& resolve);

// The page file the preferences name; a relative name is taken in the program's home.
std::filesystem::path htmlFileLocation(const TPreferences& prefs, const std::filesystem::path& home);

} // namespace velloria
