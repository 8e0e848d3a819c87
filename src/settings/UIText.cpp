#include "settings/UIText.h"

#include "base/Error.h"
#include "platform/FileIO.h"
#include "settings/LanguageFile.h"

#include <algorithm>
#include <utility>

namespace velloria {

namespace {

// The built-in English texts. The rows of asterisks stand in reserved entries that no window
// shows.
const std::vector<std::pair<int, std::string_view>>& builtInTexts()
{
    static const std::vector<std::pair<int, std::string_view>> texts = {
        {100, "&File"},
        {101, "&Import..."},
        {102, "&Export..."},
        {103, "&Save"},
        {104, "E&xit"},
        {105, "&Edit"},
        {106, "&Undo"},
        {107, "Add F&older..."},
        {108, "Add &Bookmark..."},
        {109, "&Edit Item..."},
        {110, "Cu&t"},
        {111, "&Copy"},
        {112, "&Paste"},
        {113, "&Delete"},
        {114, "&Generate HTML File..."},
        {115, "&Find..."},
        {116, "F&ind Again"},
        {117, "&Tools"},
        {118, "&Go"},
        {119, "Go in New &Window"},
        {120, "********************"},
        {121, "********************"},
        {122, "*************************"},
        {123, "*************************"},
        {124, "*****************"},
        {125, "******************"},
        {126, "******************"},
        {127, "&Preferences..."},
        {128, "&Help"},
        {129, "&Help"},
        {132, "&H&ome Page"},
        {133, "&Feedback"},
        {134, "&About..."},
        {135, "&Move Item Up"},
        {136, "Mo&ve Item Down"},
        {137, "&View"},
        {138, "T&oolbar"},
        {139, "&Status Bar"},
        {140, "&Expand all Folders"},
        {141, "&Collapse all Folders"},
        {142, "Sort by &Title"},
        {143, "Sort by &Address"},
        {144, "Sort by Last &Visit"},
        {145, "Sort by Add &Date"},
        {146, "&Unsorted"},
        {147, "&Reversed Order"},
        {148, "S&tatistics..."},
        {200, "Move Item Up"},
        {201, "Move Item Down"},
        {202, "Save"},
        {203, "Undo"},
        {204, "Add Folder..."},
        {205, "Add Bookmark..."},
        {206, "Edit Item..."},
        {207, "Delete"},
        {208, "Go"},
        {209, "Go in New Window"},
        {210, "**************"},
        {211, "******************"},
        {212, "*******************"},
        {213, "Preferences..."},
        {214, "Help"},
        {215, "Statistics..."},
        {300, "Title"},
        {301, "Title:"},
        {302, "Address"},
        {303, "Address:"},
        {304, "Last Visit"},
        {305, "Add Date"},
        {306, "Description:"},
        {307, "About"},
        {308, "HTML Settings"},
        {309, "Text Info"},
        {310, "Delete"},
        {311, "Select All"},
        {312, "Cancel"},
        {313, "OK"},
        {314, "Yes"},
        {315, "No"},
        {316, "Delete the selected items?"},
        {317, "Don't show this dialog in the future"},
        {318, "Edit Item"},
        {319, "Find"},
        {320, "Text to Find:"},
        {321, "Add New Item"},
        {322, "Folder"},
        {323, "Bookmark"},
        {324, "Add the new folder inside folder being selected"},
        {325, "General"},
        {326, "Start"},
        {327, "Language"},
        {328, "Preferences"},
        {329, "Edit"},
        {330, "Apply"},
        {331, "Welcome Header:"},
        {332, "Folders:"},
        {333, "Confirm deleting items"},
        {334, "Bookmarks:"},
        {335, "Auto save every"},
        {336, "Welcome Message:"},
        {337, "Run browser"},
        {338, "Create Tray icon"},
        {339, "Minimized"},
        {340, "Open last Bookmark"},
        {341, "Save changes?"},
        {342, "Restore folder states"},
        {343, "mins."},
        {344, "Color Scheme"},
        {345, "Run Velloria when IE starts"},
        {346, "Header Area:"},
        {347, "Welcom Area:"},
        {348, "Bookmark Area 1:"},
        {349, "Bookmark Area 2:"},
        {350, "Generate from selected folder only"},
        {351, "Text:"},
        {352, "Sunday"},
        {353, "Monday"},
        {354, "Tuesday"},
        {355, "Wednesday"},
        {356, "Thursday"},
        {357, "Friday"},
        {358, "Saturday"},
        {359, "Date && Time"},
        {360, "Date:"},
        {361, "Time:"},
        {362, "Item Type"},
        {363, "Show Main Window"},
        {364, "Launch"},
        {365, "Add to Folder"},
        {366, "Search text is not found"},
        {367, "Statistics"},
        {368, "***************"},
        {369, "***************"},
        {370, "Database Size:"},
        {371, "Free Space:"},
        {372, "Languages:"},
        {373, "Language File"},
        {374, "Save"},
        {375, "Save As..."},
        {376, "Delete"},
        {377, "Delete the selected language?"},
        {378, "Color"},
        {379, "Main Menu && Toolbar"},
        {380, "Item Frame:"},
        {381, "Item:"},
        {382, "Font:"},
        {383, "Selected Font:"},
        {384, "Folders pane"},
        {385, "Bookmarks pane"},
        {386, "Background:"},
        {387, "Default Colors"},
        {388, "Import Bookmarks"},
        {389, "Import from Internet Explorer"},
        {390, "Import Internet Explorer Favorites"},
        {391, "Directory Location:"},
        {392, "Import from Netscape Navigator"},
        {393, "Import Netscape Bookmarks"},
        {394, "File Location:"},
        {395, "Import from Opera"},
        {396, "Import Opera Hotlist"},
        {397, "Export Bookmarks"},
        {398, "Export to Internet Explorer"},
        {399, "Export to Netscape Navigator"},
        {400, "Export to Opera"},
        {419, "About"},
        {420, "Importing bookmarks\u2026"},
        {421, "Exporting bookmarks\u2026"},
        {422, "Select a folder first."},
        {423, "A bookmark manager"},
        {424, "%1 folder"},
        {425, "%1 folders"},
        {426, "%1 link"},
        {427, "%1 links"},
        {428, "%1 and %2 imported"},
        {429, "%1 entry skipped: %2"},
        {430, "%1 entries skipped: %2"},
        {431, "unknown tag or entry"},
        {432, "no address"},
        {433, "not a web address"},
        {434, "cut off at the end of the file"},
        {435, "shortcut file cannot be read"},
        {436, "Find &Duplicates..."},
        {437, "Find links that are in the library more than once"},
        {438, "Duplicates"},
        {439, "Compare &loosely: http and https, www. and a trailing / alike"},
        {440, "&Delete Checked"},
        {441, "Groups of the same link: %1. Checked for deleting: %2."},
        {442, "No link is in the library more than once."},
        {443, "Not read in full, its links stay: %1"},
        {444, "&Open"},
        {445, "&Show"},
        {446, "&Close"},
        {447, "Check &Links..."},
        {448, "Check whether the pages of the links are still there"},
        {449, "Check Links"},
        {450, "The selected &folder: %1"},
        {451, "With its &subfolders"},
        {452, "The &whole library"},
        {453, "&Start"},
        {454, "Addresses checked: %1 of %2"},
        {455, "S&how:"},
        {456, "All results"},
        {457, "OK"},
        {458, "Moved"},
        {459, "Broken"},
        {460, "Error"},
        {461, "Not checked"},
        {462, "Result"},
        {463, "Details"},
        {464, "Final Address"},
        {465, "&Update Address"},
        {466, "Checked: %1. Broken: %2. Moved: %3. Errors: %4. OK: %5. Not checked: %6."},
        {467, "HTTP %1"},
        {468, "HTTP %1, also on the second try"},
        {469, "Host not found"},
        {470, "No connection: %1"},
        {471, "No answer in time, also on the second try"},
        {472, "Secure connection failed: %1"},
        {473, "More than %1 redirects"},
        {474, "Redirect to an address that is not checked: %1"},
        {475, "Not a valid web address: %1"},
        {476, "Not a web address"},
        {477, "Cancelled before it was checked"},
        {478, "Filter all links (Ctrl+L)"},
        {479, "Matches:"},
        {480, "Folder"},
        {481, "The link file of \"%1\" is damaged: nothing was moved or copied into it"},
        {482, "From files"},
        {483, "From a browser on this computer"},
        {484, "Import from XBEL"},
        {485, "Import XBEL Bookmarks"},
        {486, "Export to XBEL"},
        {487, "Browser"},
        {488, "Profile"},
        {489, "Bookmarks"},
        {490, "Location"},
        {491, "No browser profile was found on this computer."},
        {492, "cannot be read"},
    };
    return texts;
}

} // namespace

UIText::UIText()
{
    for (const auto& [number, text] : builtInTexts())
        m_texts[static_cast<std::size_t>(number)] = text;
}

const std::string& UIText::operator[](int number) const
{
    static const std::string none;
    return isEntry(number) ? m_texts[static_cast<std::size_t>(number)] : none;
}

void UIText::set(int number, std::string text)
{
    if (isEntry(number))
        m_texts[static_cast<std::size_t>(number)] = std::move(text);
}

bool UIText::isEntry(int number)
{
    return (number >= 100 && number <= 129) || (number >= 132 && number <= 148) || (number >= 200 && number <= 215)
        || (number >= 300 && number <= 400) || (number >= 419 && number <= kLastNumber);
}

const std::vector<int>& UIText::entryNumbers()
{
    static const std::vector<int> numbers = [] {
        std::vector<int> all;
        for (const auto& entry : builtInTexts())
            all.push_back(entry.first);
        return all;
    }();
    return numbers;
}

std::string_view UIText::builtIn(int number)
{
    const auto& texts = builtInTexts();
    const auto it = std::lower_bound(texts.begin(), texts.end(), number,
                                     [](const auto& entry, int wanted) { return entry.first < wanted; });
    return it != texts.end() && it->first == number ? it->second : std::string_view();
}

void SetDefaultTexts(UIText& texts, TPreferences& preferences)
{
    texts = UIText();
    preferences.LanguageIndex = 0;
}

std::size_t LoadLanguage(UIText& texts, TPreferences& preferences)
{
    if (preferences.UseDefaultLanguage && preferences.LanguageFile == "0") {
        SetDefaultTexts(texts, preferences);
        return 0;
    }
    std::optional<std::string> bytes;
    try {
        bytes = readFileIfExists(preferences.LanguageFile);
    } catch (const Error&) {
        bytes.reset(); // a directory or an unreadable file counts as missing
    }
    if (!bytes) {
        SetDefaultTexts(texts, preferences);
        return 0;
    }
    const LanguageFileContent content = readLanguageFile(*bytes);
    if (!content.versionValid) {
        SetDefaultTexts(texts, preferences);
        return 0;
    }
    for (const auto& [number, text] : content.texts)
        texts.set(number, std::string(text));
    return content.ignoredLines;
}

// A text of the table with "%1" and "%2" replaced.
std::string filledIn(std::string_view pattern, const std::vector<std::string>& values)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t number = i + 1 < pattern.size() && pattern[i] == '%' ? static_cast<std::size_t>(pattern[i + 1] - '0') : 0;
        if (number >= 1 && number <= 9 && number <= values.size()) {
            out += values[number - 1];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string filledIn(std::string_view pattern, const std::string& first, const std::string& second)
{
    return filledIn(pattern, std::vector<std::string>{first, second});
}

// "1 folder", "3 folders": the text for one or the text for any other number.
std::string counted(const UIText& texts, std::size_t count, int one, int many)
{
    return filledIn(texts[count == 1 ? one : many], std::to_string(count));
}

} // namespace velloria
