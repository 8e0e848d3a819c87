#include "settings/Preferences.h"

#include "base/Error.h"
#include "base/TextLines.h"
#include "platform/FileIO.h"
#include "settings/NumberedLines.h"

namespace velloria {

std::string writePreferencesFile(const TPreferences& preferences)
{
    LineWriter writer;
    writer.line("/// Preferences");
    for (const PreferenceEntry& entry : kPreferenceEntries)
        writer.line(entryNumberText(entry.number) + ' ', preferenceText(preferences, entry));
    return writer.take();
}

std::optional<std::size_t> readPreferencesFile(TPreferences& preferences, std::string_view bytes)
{
    std::size_t skipped = 0;
    for (const NumberedLine& line : parseNumberedLines(bytes)) {
        if (line.isComment())
            continue;
        if (!line.number || *line.number < 0 || *line.number >= static_cast<int>(kPreferenceCount)) {
            ++skipped;
            continue;
        }
        if (*line.number == 0 && line.value != "1.0")
            return std::nullopt;
        switch (readPreference(preferences, kPreferenceEntries[static_cast<std::size_t>(*line.number)], line.value)) {
        case PreferenceRead::Taken: break;
        case PreferenceRead::Skipped: ++skipped; break;
        case PreferenceRead::ResetToDefaults: return std::nullopt;
        }
    }
    return skipped;
}

Preferences::Preferences(std::filesystem::path home, std::filesystem::path userHome)
    : m_home(std::move(home)), m_userHome(std::move(userHome))
{
}

void Preferences::SetDefaultPreferences()
{
    velloria::SetDefaultPreferences(m_record, m_userHome);
}

std::size_t Preferences::LoadPreferences()
{
    std::optional<std::string> bytes;
    try {
        bytes = readFileIfExists(filePath());
    } catch (const Error&) {
        SetDefaultPreferences();
        throw;
    }
    if (!bytes) {
        SetDefaultPreferences();
        return 0;
    }
    const auto skipped = readPreferencesFile(m_record, *bytes);
    if (!skipped)
        SetDefaultPreferences();
    return skipped.value_or(0);
}

void Preferences::SavePreferences()
{
    CollectPreferences();
    writeFileAtomically(filePath(), writePreferencesFile(m_record));
}

void Preferences::CollectPreferences()
{
    if (m_mainWindow)
        collectMainWindow(m_mainWindow->preferenceLayout());
    if (m_dialog)
        collectDialog(m_dialog->preferenceSettings());
}

WindowGeometry storedWindowGeometry(const TPreferences& preferences)
{
    const TPreferences& r = preferences;
    return {.columnWidths = {r.ColumnWidthTitle, r.ColumnWidthAddress, r.ColumnWidthLastVisit, r.ColumnWidthAddDate},
            .folderPaneWidth = r.FolderPaneWidth,
            .descriptionHeight = r.DescriptionHeight,
            .maximized = r.MainMaximized,
            .left = r.MainLeft,
            .top = r.MainTop,
            .height = r.MainHeight,
            .width = r.MainWidth};
}

void Preferences::collectMainWindow(const MainWindowLayout& layout)
{
    const WindowGeometry& geometry = layout.geometry;
    m_record.ColumnWidthTitle = geometry.columnWidths[0];
    m_record.ColumnWidthAddress = geometry.columnWidths[1];
    m_record.ColumnWidthLastVisit = geometry.columnWidths[2];
    m_record.ColumnWidthAddDate = geometry.columnWidths[3];
    m_record.FolderPaneWidth = geometry.folderPaneWidth;
    m_record.DescriptionHeight = geometry.descriptionHeight;
    m_record.ShowToolbar = layout.toolbarChecked;
    m_record.ShowStatusBar = layout.statusBarChecked;
    // The last checked sort command in menu order wins; none checked keeps the stored mode.
    for (std::size_t mode = 0; mode < layout.sortChecked.size(); ++mode)
        if (layout.sortChecked[mode])
            m_record.SortMode = static_cast<std::int32_t>(mode);
    m_record.ReversedOrder = layout.reversedChecked;
    m_record.MainMaximized = geometry.maximized;
    // A maximized window keeps the bounds it had before, so that it comes back to them.
    if (!geometry.maximized) {
        m_record.MainLeft = geometry.left;
        m_record.MainTop = geometry.top;
        m_record.MainHeight = geometry.height;
        m_record.MainWidth = geometry.width;
    }
}

void Preferences::collectDialog(const PreferencesDialogSettings& settings)
{
    m_record.ConfirmDeleting = settings.confirmDeleting;
    m_record.AutoSave = settings.autoSave;
    m_record.CreateTrayIcon = settings.createTrayIcon;
    m_record.Minimized = settings.minimized;
    m_record.OpenLastURL = settings.openLastURL;
    m_record.RestoreFolderStates = settings.restoreFolderStates;
    m_record.PreferencesPage = settings.page;
    m_record.SaveInterval = settings.saveInterval;
    TColor* const colours[] = {&m_record.MenuItemFrameColor, &m_record.MenuItemColor, &m_record.MenuFontColor,
                               &m_record.MenuSelectedFontColor, &m_record.TreeBackgroundColor,
                               &m_record.TreeFontColor, &m_record.ListBackgroundColor, &m_record.ListFontColor};
    for (std::size_t i = 0; i < settings.colours.size(); ++i)
        *colours[i] = settings.colours[i];
    const auto position = static_cast<std::size_t>(settings.languagePosition);
    if (settings.languagePosition > 0 && position <= settings.languageFiles.size()) {
        m_record.UseDefaultLanguage = false;
        m_record.LanguageFile = (languagesDirectory() / settings.languageFiles[position - 1]).string();
        m_record.LanguageIndex = settings.languagePosition;
    } else {
        m_record.UseDefaultLanguage = true;
        m_record.LanguageFile = std::string(1, '0'); // not a literal: GCC 12 warns falsely on that
        m_record.LanguageIndex = 0;
    }
}

} // namespace velloria
