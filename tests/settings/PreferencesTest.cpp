// Tessel.cfg: the bytes written, every loading rule, and what a save collects from the main
// window and the Preferences dialog.

#include "base/Error.h"
#include "base/TextLines.h"
#include "settings/Preferences.h"
#include "support/LibraryFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>


namespace velloria {
namespace {

using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

class PreferencesTest : public ::testing::Test {
protected:
    void writeFile(const std::string& bytes) const { test::writeBytes(preferences.filePath(), bytes); }
    static TPreferences defaults()
    {
        TPreferences record;
        SetDefaultPreferences(record, "/home/user");
        return record;
    }
    std::vector<std::string> fileLines() const
    {
        std::vector<std::string> lines;
        const std::string bytes = test::readBytes(preferences.filePath());
        for (auto line : splitLines(bytes))
            lines.emplace_back(line);
        return lines;
    }

    test::TempHome home;
    Preferences preferences{home.path(), "/home/user"};
};

TEST_F(PreferencesTest, AFreshHomeWritesTheDefaultsAUserSees)
{
    preferences.LoadPreferences(); // no file: the defaults
    preferences.SavePreferences();
    const std::string bytes = test::readBytes(preferences.filePath());
    EXPECT_TRUE(bytes.starts_with("/// Preferences\r\n000 1.0\r\n001 Title\r\n002 Header Message\r\n"));
    EXPECT_TRUE(hasCrLfLinesOnly(bytes));
    const auto lines = fileLines();
    EXPECT_EQ(lines.size(), 61u); // the comment and the entries 000 to 059, each once
    // Confirm deleting, save every minute, the built-in language, a small window near the corner,
    // the unsorted list, and the import and export locations in the user's home.
    EXPECT_THAT(lines, IsSupersetOf({"003 True", "011 1", "013 True", "014 0", "024 20", "025 20", "026 360", "027 550",
                                     "040 5", "045 ", "046 /home/user/bookmarks.html", "047 /home/user/opera6.adr",
                                     "057 /home/user/velloria.html"}));

    // The saved file loads back to the same record.
    preferences.record().HtmlTitle = "Caf\xC3\xA9 links";
    preferences.record().MenuFontColor = 0x123456;
    preferences.record().LastLinkTitle = "line\r\nbreak";
    preferences.SavePreferences();
    Preferences again(home.path(), "/elsewhere");
    again.LoadPreferences();
    TPreferences expected = preferences.record();
    expected.LastLinkTitle = "line  break";
    EXPECT_EQ(again.record(), expected);
}

TEST_F(PreferencesTest, WrongVersionOrStrictBooleanResetsEverything)
{
    for (const char* faulty : {"000 1.00", "003 true", "028 yes"}) {
        Preferences fresh(home.path(), "/home/user");
        writeFile(std::string("000 1.0\r\n011 30\r\n") + faulty + "\r\n040 2\r\n");
        fresh.LoadPreferences();
        EXPECT_EQ(fresh.record(), defaults()) << faulty;
    }
}

TEST_F(PreferencesTest, LineSyntaxRulesLaxBooleansAndForeignPaths)
{
    writeFile("000 1.0\n/// a comment anywhere\r\n///no blank needed\r\n\r\n045 \r\n001  Two blanks\r\n"
              "002\tTabbed\r\n060 beyond the last entry\r\n-01 negative\r\nabc not a number\r\n011 12x\r\n"
              "024 -5\r\n024 7\r\n025 99999999999\r\n"
              "038 true\r\n039 0\r\n041 7\r\n042 FALSE\r\n043 maybe\r\n" // lax booleans: any case, numbers
              "046 C:\\Bookmarks.html\r\n014 C:\\Velloria\\Languages\\Deutsch.lng\r\n");
    preferences.record().IEFavoritesDir = "set before";
    preferences.record().SaveInterval = 3;
    preferences.record().ImportNetscape = true;
    EXPECT_EQ(preferences.LoadPreferences(), 6u); // a skipped line leaves its field as it was
    const TPreferences& r = preferences.record();
    EXPECT_EQ(r.IEFavoritesDir, "");
    EXPECT_EQ(r.HtmlTitle, " Two blanks");
    EXPECT_EQ(r.HtmlHeaderMessage, "Tabbed");
    EXPECT_EQ(r.SaveInterval, 3);
    EXPECT_EQ(r.MainLeft, 7); // a later line for the same entry wins
    EXPECT_EQ(r.MainTop, 0);
    EXPECT_EQ(std::vector<bool>({r.ShowToolbar, r.ShowStatusBar, r.ReversedOrder, r.ImportIE, r.ImportNetscape}),
              std::vector<bool>({true, false, true, false, true}));
    EXPECT_EQ(r.NetscapeFile, "C:\\Bookmarks.html");
    EXPECT_EQ(r.LanguageFile, "C:\\Velloria\\Languages\\Deutsch.lng");
}

class FakeMainWindow : public MainWindowPreferenceSource {
public:
    MainWindowLayout preferenceLayout() const override { return layout; }
    MainWindowLayout layout;
};

class FakeDialog : public PreferencesDialogSource {
public:
    PreferencesDialogSettings preferenceSettings() const override { return settings; }
    PreferencesDialogSettings settings;
};

// A maximized window keeps its last bounds; with no sort command checked the mode stays.
TEST_F(PreferencesTest, SaveCollectsTheMainWindowLayout)
{
    preferences.SetDefaultPreferences();
    FakeMainWindow window;
    window.layout = {.geometry = {.columnWidths = {11, 22, 33, 44}, .folderPaneWidth = 250, .descriptionHeight = 60,
                                  .maximized = false, .left = 5, .top = 6, .height = 700, .width = 900},
                     .toolbarChecked = false, .statusBarChecked = true, .sortChecked = {true, false, true, false, false},
                     .reversedChecked = true};
    preferences.setMainWindow(&window);
    preferences.SavePreferences();
    auto lines = fileLines();
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 25, lines.begin() + 30),
                ElementsAre("024 5", "025 6", "026 700", "027 900", "028 False"));
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 32, lines.begin() + 43),
                ElementsAre("031 11", "032 22", "033 33", "034 44", "035 250", "036 60", "037 True", "038 False",
                            "039 True", "040 2", "041 True")); // the last checked sort command wins

    window.layout.geometry = {.maximized = true, .left = 0, .top = 0, .height = 1080, .width = 1920};
    window.layout.sortChecked = {};
    preferences.SavePreferences();
    lines = fileLines();
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 25, lines.begin() + 30),
                ElementsAre("024 5", "025 6", "026 700", "027 900", "028 True"));
    EXPECT_EQ(lines[41], "040 2");
}

TEST_F(PreferencesTest, DialogSettingsAreCollectedOnlyWhileTheDialogExists)
{
    preferences.SetDefaultPreferences();
    FakeDialog dialog;
    dialog.settings = {.confirmDeleting = false, .autoSave = true, .createTrayIcon = false, .minimized = true,
                       .openLastURL = true, .restoreFolderStates = false, .page = 2, .saveInterval = 15,
                       .colours = {1, 2, 3, 4, 5, 6, 7, 8}, .languagePosition = 2,
                       .languageFiles = {"Deutsch.lng", "Francais.lng"}};
    preferences.SavePreferences(); // no dialog: its entries stay
    EXPECT_EQ(preferences.record(), defaults());

    preferences.setPreferencesDialog(&dialog);
    preferences.SavePreferences();
    const std::string french = "014 " + (home.path() / "Languages" / "Francais.lng").string();
    EXPECT_THAT(fileLines(), IsSupersetOf(std::vector<std::string>{"003 False", "005 True", "008 False", "009 True",
                                                                    "010 True", "011 15", "012 False", "013 False",
                                                                    french, "015 1", "022 8", "029 2", "030 2"}));
    dialog.settings.languagePosition = 0; // the built-in language
    preferences.SavePreferences();
    EXPECT_THAT(fileLines(), IsSupersetOf({"013 True", "014 0", "030 0"}));
}

TEST_F(PreferencesTest, UnreadableFileGivesDefaultsAndReportsIt)
{
    std::filesystem::create_directory(preferences.filePath());
    EXPECT_THROW(preferences.LoadPreferences(), Error);
    EXPECT_EQ(preferences.record(), defaults());
    EXPECT_THROW(preferences.SavePreferences(), Error);
}

} // namespace
} // namespace velloria
