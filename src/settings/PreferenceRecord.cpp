#include "settings/PreferenceRecord.h"

#include "base/TextLines.h"
#include "settings/NumberedLines.h"

#include <algorithm>

namespace velloria {

// The entries of Tessel.cfg in file order, with their defaults as the file writes them.
const std::array<PreferenceEntry, kPreferenceCount> kPreferenceEntries = {
    PreferenceEntry{0, "PrefsVersion", PreferenceKind::Text, "1.0", &TPreferences::PrefsVersion},
    PreferenceEntry{1, "HtmlTitle", PreferenceKind::Text, "Title", &TPreferences::HtmlTitle},
    PreferenceEntry{2, "HtmlHeaderMessage", PreferenceKind::Text, "Header Message", &TPreferences::HtmlHeaderMessage},
    PreferenceEntry{3, "ConfirmDeleting", PreferenceKind::StrictBoolean, "True", &TPreferences::ConfirmDeleting},
    PreferenceEntry{4, "HtmlWelcomeMessage", PreferenceKind::Text, "Welcome Message", &TPreferences::HtmlWelcomeMessage},
    PreferenceEntry{5, "AutoSave", PreferenceKind::StrictBoolean, "False", &TPreferences::AutoSave},
    PreferenceEntry{6, "HtmlTextColor", PreferenceKind::Colour, "0", &TPreferences::HtmlTextColor},
    PreferenceEntry{7, "Spare007", PreferenceKind::StrictBoolean, "False", &TPreferences::Spare007},
    PreferenceEntry{8, "CreateTrayIcon", PreferenceKind::StrictBoolean, "True", &TPreferences::CreateTrayIcon},
    PreferenceEntry{9, "Minimized", PreferenceKind::StrictBoolean, "False", &TPreferences::Minimized},
    PreferenceEntry{10, "OpenLastURL", PreferenceKind::StrictBoolean, "False", &TPreferences::OpenLastURL},
    PreferenceEntry{11, "SaveInterval", PreferenceKind::Integer, "1", &TPreferences::SaveInterval},
    PreferenceEntry{12, "RestoreFolderStates", PreferenceKind::StrictBoolean, "True", &TPreferences::RestoreFolderStates},
    PreferenceEntry{13, "UseDefaultLanguage", PreferenceKind::StrictBoolean, "True", &TPreferences::UseDefaultLanguage},
    PreferenceEntry{14, "LanguageFile", PreferenceKind::Text, "0", &TPreferences::LanguageFile},
    PreferenceEntry{15, "MenuItemFrameColor", PreferenceKind::Colour, "13003057", &TPreferences::MenuItemFrameColor},
    PreferenceEntry{16, "MenuItemColor", PreferenceKind::Colour, "15717318", &TPreferences::MenuItemColor},
    PreferenceEntry{17, "MenuFontColor", PreferenceKind::Colour, "-16777208", &TPreferences::MenuFontColor},
    PreferenceEntry{18, "MenuSelectedFontColor", PreferenceKind::Colour, "0", &TPreferences::MenuSelectedFontColor},
    PreferenceEntry{19, "TreeBackgroundColor", PreferenceKind::Colour, "-16777211", &TPreferences::TreeBackgroundColor},
    PreferenceEntry{20, "TreeFontColor", PreferenceKind::Colour, "-16777208", &TPreferences::TreeFontColor},
    PreferenceEntry{21, "ListBackgroundColor", PreferenceKind::Colour, "-16777211", &TPreferences::ListBackgroundColor},
    PreferenceEntry{22, "ListFontColor", PreferenceKind::Colour, "-16777208", &TPreferences::ListFontColor},
    PreferenceEntry{23, "Spare023", PreferenceKind::StrictBoolean, "False", &TPreferences::Spare023},
    PreferenceEntry{24, "MainLeft", PreferenceKind::Integer, "20", &TPreferences::MainLeft},
    PreferenceEntry{25, "MainTop", PreferenceKind::Integer, "20", &TPreferences::MainTop},
    PreferenceEntry{26, "MainHeight", PreferenceKind::Integer, "360", &TPreferences::MainHeight},
    PreferenceEntry{27, "MainWidth", PreferenceKind::Integer, "550", &TPreferences::MainWidth},
    PreferenceEntry{28, "MainMaximized", PreferenceKind::StrictBoolean, "False", &TPreferences::MainMaximized},
    PreferenceEntry{29, "PreferencesPage", PreferenceKind::Integer, "0", &TPreferences::PreferencesPage},
    PreferenceEntry{30, "LanguageIndex", PreferenceKind::Integer, "0", &TPreferences::LanguageIndex},
    PreferenceEntry{31, "ColumnWidthTitle", PreferenceKind::Integer, "120", &TPreferences::ColumnWidthTitle},
    PreferenceEntry{32, "ColumnWidthAddress", PreferenceKind::Integer, "262", &TPreferences::ColumnWidthAddress},
    PreferenceEntry{33, "ColumnWidthLastVisit", PreferenceKind::Integer, "131", &TPreferences::ColumnWidthLastVisit},
    PreferenceEntry{34, "ColumnWidthAddDate", PreferenceKind::Integer, "107", &TPreferences::ColumnWidthAddDate},
    PreferenceEntry{35, "FolderPaneWidth", PreferenceKind::Integer, "172", &TPreferences::FolderPaneWidth},
    PreferenceEntry{36, "DescriptionHeight", PreferenceKind::Integer, "35", &TPreferences::DescriptionHeight},
    PreferenceEntry{37, "AddFolderInFolder", PreferenceKind::LaxBoolean, "True", &TPreferences::AddFolderInFolder},
    PreferenceEntry{38, "ShowToolbar", PreferenceKind::LaxBoolean, "True", &TPreferences::ShowToolbar},
    PreferenceEntry{39, "ShowStatusBar", PreferenceKind::LaxBoolean, "True", &TPreferences::ShowStatusBar},
    PreferenceEntry{40, "SortMode", PreferenceKind::Integer, "5", &TPreferences::SortMode},
    PreferenceEntry{41, "ReversedOrder", PreferenceKind::LaxBoolean, "False", &TPreferences::ReversedOrder},
    PreferenceEntry{42, "ImportIE", PreferenceKind::LaxBoolean, "True", &TPreferences::ImportIE},
    PreferenceEntry{43, "ImportNetscape", PreferenceKind::LaxBoolean, "True", &TPreferences::ImportNetscape},
    PreferenceEntry{44, "ImportOpera", PreferenceKind::LaxBoolean, "True", &TPreferences::ImportOpera},
    PreferenceEntry{45, "IEFavoritesDir", PreferenceKind::Text, "", &TPreferences::IEFavoritesDir},
    PreferenceEntry{46, "NetscapeFile", PreferenceKind::Text, "bookmarks.html", &TPreferences::NetscapeFile, true},
    PreferenceEntry{47, "OperaFile", PreferenceKind::Text, "opera6.adr", &TPreferences::OperaFile, true},
    PreferenceEntry{48, "ExportIE", PreferenceKind::LaxBoolean, "True", &TPreferences::ExportIE},
    PreferenceEntry{49, "ExportNetscape", PreferenceKind::LaxBoolean, "True", &TPreferences::ExportNetscape},
    PreferenceEntry{50, "ExportOpera", PreferenceKind::LaxBoolean, "True", &TPreferences::ExportOpera},
    PreferenceEntry{51, "HtmlBackgroundColor", PreferenceKind::Colour, "12639424", &TPreferences::HtmlBackgroundColor},
    PreferenceEntry{52, "HtmlHeaderAreaColor", PreferenceKind::Colour, "14811135", &TPreferences::HtmlHeaderAreaColor},
    PreferenceEntry{53, "HtmlWelcomeAreaColor", PreferenceKind::Colour, "15793151", &TPreferences::HtmlWelcomeAreaColor},
    PreferenceEntry{54, "HtmlBookmarkArea1Color", PreferenceKind::Colour, "15780518", &TPreferences::HtmlBookmarkArea1Color},
    PreferenceEntry{55, "HtmlBookmarkArea2Color", PreferenceKind::Colour, "16378073", &TPreferences::HtmlBookmarkArea2Color},
    PreferenceEntry{56, "HtmlSelectedFolderOnly", PreferenceKind::LaxBoolean, "False", &TPreferences::HtmlSelectedFolderOnly},
    PreferenceEntry{57, "HtmlFile", PreferenceKind::Text, "velloria.html", &TPreferences::HtmlFile, true},
    PreferenceEntry{58, "LastLinkTitle", PreferenceKind::Text, "", &TPreferences::LastLinkTitle},
    PreferenceEntry{59, "LastFolderName", PreferenceKind::Text, "", &TPreferences::LastFolderName},
};

namespace {

std::optional<bool> readBoolean(PreferenceKind kind, std::string_view text)
{
    if (kind == PreferenceKind::StrictBoolean) {
        if (text == "True")
            return true;
        if (text == "False")
            return false;
        return std::nullopt;
    }
    if (equalsIgnoringAsciiCase(text, "True"))
        return true;
    if (equalsIgnoringAsciiCase(text, "False"))
        return false;
    if (const auto number = parseInt32(text))
        return *number != 0;
    return std::nullopt;
}

} // namespace

void SetDefaultPreferences(TPreferences& preferences, const std::filesystem::path& userHome)
{
    for (const PreferenceEntry& entry : kPreferenceEntries) {
        if (entry.defaultInUserHome)
            readPreference(preferences, entry, (userHome / entry.defaultValue).string());
        else
            readPreference(preferences, entry, entry.defaultValue);
    }
}

std::string preferenceText(const TPreferences& preferences, const PreferenceEntry& entry)
{
    if (const auto* text = std::get_if<std::string TPreferences::*>(&entry.field))
        return singleLine(preferences.*(*text));
    if (const auto* number = std::get_if<std::int32_t TPreferences::*>(&entry.field))
        return std::to_string(preferences.*(*number));
    return preferences.*std::get<bool TPreferences::*>(entry.field) ? "True" : "False";
}

PreferenceRead readPreference(TPreferences& preferences, const PreferenceEntry& entry, std::string_view text)
{
    if (const auto* field = std::get_if<std::string TPreferences::*>(&entry.field)) {
        preferences.*(*field) = std::string(text);
        return PreferenceRead::Taken;
    }
    if (const auto* field = std::get_if<std::int32_t TPreferences::*>(&entry.field)) {
        const auto number = parseInt32(text);
        if (!number)
            return PreferenceRead::Skipped;
        preferences.*(*field) = *number;
        return PreferenceRead::Taken;
    }
    const auto value = readBoolean(entry.kind, text);
    if (!value)
        return entry.kind == PreferenceKind::StrictBoolean ? PreferenceRead::ResetToDefaults : PreferenceRead::Skipped;
    preferences.*std::get<bool TPreferences::*>(entry.field) = *value;
    return PreferenceRead::Taken;
}

} // namespace velloria
