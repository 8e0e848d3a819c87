// Tessel.cfg: the bytes written, every loading rule, and what a save collects from the main
// window and the Preferences dialog.

#include "base/Error.h"
#include "base/TextLines.h"
#include "settings/Preferences.h"
#include "support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace velloria {
namespace {

using ::testing::ElementsAre;

class PreferencesTest : public ::testing::Test {
protected:
    void writeFile(const std::string& bytes) const
    {
        std::ofstream(preferences.filePath(), std::ios::binary) << bytes;
    }
    std::string fileBytes() const
    {
        std::ifstream in(preferences.filePath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    TPreferences defaults() const
    {
        TPreferences record;
        SetDefaultPreferences(record, "/home/user");
        return record;
    }
    std::vector<std::string> fileLines() const
    {
        std::vector<std::string> lines;
        const std::string bytes = fileBytes();
        for (auto line : splitLines(bytes))
            lines.emplace_back(line);
        return lines;
    }

    test::TempHome home;
    Preferences preferences{home.path(), "/home/user"};
};

TEST_F(PreferencesTest, DefaultsAreWrittenEntryByEntryWithCrLf)
{
    preferences.LoadPreferences(); // no file: the defaults
    preferences.SavePreferences();
    const std::string bytes = fileBytes();
    EXPECT_TRUE(bytes.starts_with("/// Preferences\r\n000 1.0\r\n001 Title\r\n002 Header Message\r\n003 True\r\n"));
    EXPECT_TRUE(bytes.ends_with("057 /home/user/velloria.html\r\n058 \r\n059 \r\n"));
    const auto lines = fileLines();
    ASSERT_EQ(lines.size(), 61u);
    EXPECT_EQ(lines[1 + 11], "011 1");
    EXPECT_EQ(lines[1 + 13], "013 True");
    EXPECT_EQ(lines[1 + 14], "014 0");
    EXPECT_EQ(lines[1 + 15], "015 13003057");
    EXPECT_EQ(lines[1 + 17], "017 -16777208");
    EXPECT_EQ(lines[1 + 19], "019 -16777211");
    EXPECT_EQ(lines[1 + 30], "030 0");
    EXPECT_EQ(lines[1 + 40], "040 5");
    EXPECT_EQ(lines[1 + 45], "045 ");
    EXPECT_EQ(lines[1 + 46], "046 /home/user/bookmarks.html");
    EXPECT_EQ(lines[1 + 47], "047 /home/user/opera6.adr");
    EXPECT_EQ(lines[1 + 55], "055 16378073");
}

TEST_F(PreferencesTest, AFileWithOnlyTheVersionKeepsEveryOtherField)
{
    writeFile("/// Preferences\r\n000 1.0\r\n");
    preferences.LoadPreferences();
    EXPECT_EQ(preferences.record().SortMode, 0);
    EXPECT_EQ(preferences.record().SaveInterval, 0);
    EXPECT_EQ(preferences.record().TreeBackgroundColor, 0);
    EXPECT_FALSE(preferences.record().ConfirmDeleting);
    EXPECT_EQ(preferences.record().PrefsVersion, "1.0");
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

TEST_F(PreferencesTest, LaxBooleansTakeAnyCaseAndNumbers)
{
    writeFile("000 1.0\r\n038 true\r\n039 0\r\n041 7\r\n042 FALSE\r\n043 maybe\r\n");
    preferences.record().ImportNetscape = true;
    EXPECT_EQ(preferences.LoadPreferences(), 1u); // "maybe" is skipped, the field keeps its value
    EXPECT_TRUE(preferences.record().ShowToolbar);
    EXPECT_FALSE(preferences.record().ShowStatusBar);
    EXPECT_TRUE(preferences.record().ReversedOrder);
    EXPECT_FALSE(preferences.record().ImportIE);
    EXPECT_TRUE(preferences.record().ImportNetscape);
}

TEST_F(PreferencesTest, LineSyntaxRules)
{
    writeFile("000 1.0\n"
              "/// a comment anywhere\r\n"
              "///no blank needed\r\n"
              "\r\n"
              "045 \r\n"
              "001  Two blanks\r\n"
              "002\tTabbed\r\n"
              "060 beyond the last entry\r\n"
              "-01 negative\r\n"
              "abc not a number\r\n"
              "011 12x\r\n"
              "024 -5\r\n"
              "024 7\r\n"
              "025 99999999999\r\n");
    preferences.record().IEFavoritesDir = "set before";
    preferences.record().SaveInterval = 3;
    EXPECT_EQ(preferences.LoadPreferences(), 5u);
    const TPreferences& r = preferences.record();
    EXPECT_EQ(r.IEFavoritesDir, "");
    EXPECT_EQ(r.HtmlTitle, " Two blanks");
    EXPECT_EQ(r.HtmlHeaderMessage, "Tabbed");
    EXPECT_EQ(r.SaveInterval, 3);
    EXPECT_EQ(r.MainLeft, 7); // a later line for the same entry wins
    EXPECT_EQ(r.MainTop, 0);
}

TEST_F(PreferencesTest, SavedFileLoadsBackToTheSameRecord)
{
    preferences.SetDefaultPreferences();
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

TEST_F(PreferencesTest, PathsWrittenOnAnotherSystemStillLoadAsText)
{
    writeFile("000 1.0\r\n046 C:\\Bookmarks.html\r\n014 C:\\Velloria\\Languages\\Deutsch.lng\r\n");
    preferences.LoadPreferences();
    EXPECT_EQ(preferences.record().NetscapeFile, "C:\\Bookmarks.html");
    EXPECT_EQ(preferences.record().LanguageFile, "C:\\Velloria\\Languages\\Deutsch.lng");
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
    const auto lines = fileLines();
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 25, lines.begin() + 29),
                ElementsAre("024 5", "025 6", "026 700", "027 900"));
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 32, lines.begin() + 43),
                ElementsAre("031 11", "032 22", "033 33", "034 44", "035 250", "036 60", "037 True", "038 False",
                            "039 True", "040 2", "041 True")); // the last checked sort command wins
}

TEST_F(PreferencesTest, MaximizedWindowKeepsItsLastBoundsAndUncheckedSortKeepsTheMode)
{
    writeFile("000 1.0\r\n024 30\r\n025 40\r\n026 500\r\n027 600\r\n040 3\r\n");
    preferences.LoadPreferences();
    FakeMainWindow window;
    window.layout.geometry.maximized = true;
    window.layout.geometry.left = 0;
    window.layout.geometry.width = 1920;
    preferences.setMainWindow(&window);
    preferences.SavePreferences();
    const auto lines = fileLines();
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 25, lines.begin() + 30),
                ElementsAre("024 30", "025 40", "026 500", "027 600", "028 True"));
    EXPECT_EQ(lines[41], "040 3");
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
    EXPECT_TRUE(preferences.preferencesDialogExists());
    preferences.SavePreferences();
    const TPreferences& r = preferences.record();
    EXPECT_FALSE(r.ConfirmDeleting);
    EXPECT_TRUE(r.AutoSave);
    EXPECT_EQ(r.SaveInterval, 15);
    EXPECT_EQ(r.PreferencesPage, 2);
    EXPECT_EQ(r.MenuItemFrameColor, 1);
    EXPECT_EQ(r.ListFontColor, 8);
    EXPECT_FALSE(r.UseDefaultLanguage);
    EXPECT_EQ(r.LanguageFile, (home.path() / "Languages" / "Francais.lng").string());
    EXPECT_EQ(r.LanguageIndex, 2);

    dialog.settings.languagePosition = 0;
    preferences.SavePreferences();
    const auto lines = fileLines();
    EXPECT_THAT(std::vector<std::string>({lines[14], lines[15], lines[31]}),
                ElementsAre("013 True", "014 0", "030 0"));

    preferences.setPreferencesDialog(nullptr);
    EXPECT_FALSE(preferences.preferencesDialogExists());
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
