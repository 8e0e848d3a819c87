// Language files, the shipped languages, the checks a translator runs, and Tessel.cfg: the bytes
// written, every loading rule, and what a save collects from the main window and the dialog.

#include "base/Error.h"
#include "base/TextLines.h"
#include "settings/EmbeddedFiles.h"
#include "settings/HomeSetup.h"
#include "settings/LanguageCheck.h"
#include "settings/LanguageFile.h"
#include "settings/Preferences.h"
#include "settings/UIText.h"
#include "support/LanguageFiles.h"
#include "support/LibraryFiles.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::shippedLanguage;
using test::withoutEntriesFrom;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;
using ::testing::Not;

class LanguageTest : public ::testing::Test {
protected:
    LanguageTest() { fs::create_directories(languages()); }
    fs::path languages() const { return home.path() / "Languages"; }
    fs::path writeLanguage(const std::string& name, const std::string& bytes) const
    {
        test::writeBytes(languages() / name, bytes);
        return languages() / name;
    }
    void choose(const fs::path& file)
    {
        preferences.UseDefaultLanguage = false;
        preferences.LanguageFile = file.string();
        preferences.LanguageIndex = 3;
    }

    test::TempHome home;
    TPreferences preferences;
    UIText texts;
};

// Lines that are not entries are ignored, counted and never stop the load.
TEST_F(LanguageTest, AFileGivingSomeEntriesKeepsTheOthersFromTheTable)
{
    choose(writeLanguage("Part.lng", "000 1.0\n/// comment\n\nxyz broken line\n130 between ranges\n"
                                     "999 beyond\n-01 negative\n001 Partial\n100 &Datei\n366 Nicht gefunden \n"));
    EXPECT_EQ(LoadLanguage(texts, preferences), 4u);
    EXPECT_EQ(texts[100], "&Datei");
    EXPECT_EQ(texts[366], "Nicht gefunden "); // trailing blanks belong to the text
    EXPECT_EQ(texts[105], "&Edit");          // English from the start, never an empty menu
    EXPECT_EQ(texts[130], "");
    EXPECT_EQ(preferences.LanguageIndex, 3);
}

// The built-in language, a missing file and a file of another version give English.
TEST_F(LanguageTest, BuiltInMissingOrWrongVersionGiveEnglishAndIndexZero)
{
    const fs::path part = writeLanguage("Part.lng", crlf({"000 1.0", "100 &Datei"}));
    const std::string old = writeLanguage("Old.lng", crlf({"100 &Datei", "000 2.0"})).string();
    for (const std::string& file : {std::string("0"), (languages() / "Gone.lng").string(), old}) {
        choose(part);
        LoadLanguage(texts, preferences);
        preferences.UseDefaultLanguage = file == "0";
        preferences.LanguageFile = file;
        LoadLanguage(texts, preferences);
        EXPECT_EQ(texts[100], "&File") << file;
        EXPECT_EQ(preferences.LanguageIndex, 0) << file;
        EXPECT_EQ(preferences.UseDefaultLanguage, file == "0") << file; // the choice itself stays
    }
}

// A file of an older version is valid and shows the texts added later in English.
TEST_F(LanguageTest, TextsAddedLaterShowInEnglishFromAnOlderFile)
{
    choose(writeLanguage("Older.lng", withoutEntriesFrom(shippedLanguage("German.lng"), 420)));
    LoadLanguage(texts, preferences);
    EXPECT_EQ(texts[100], "&Datei");
    EXPECT_EQ(texts[420], "Importing bookmarks\u2026");
    EXPECT_EQ(texts[422], "Select a folder first.");
}

TEST_F(LanguageTest, EnumerationListsValidFilesSortedByName)
{
    writeLanguage("b.lng", crlf({"000 1.0", "001 Zulu"}));
    writeLanguage("a.lng", crlf({"000 1.0", "001 zulu"}));
    writeLanguage("c.LNG", crlf({"001 Alpha", "000 1.0"}));
    writeLanguage("old.lng", crlf({"000 0.9", "001 Old"}));
    writeLanguage("noname.lng", crlf({"000 1.0", "100 &File"}));
    writeLanguage("notes.txt", crlf({"000 1.0", "001 Not a language"}));
    fs::create_directory(languages() / "dir.lng");
    const LanguageList list = EnumerateLanguages(languages());
    EXPECT_THAT(list.LanguageNames, ElementsAre("Alpha (c.LNG)", "zulu (a.lng)", "Zulu (b.lng)"));
    EXPECT_THAT(list.LanguageFiles, ElementsAre("c.LNG", "a.lng", "b.lng"));
    EXPECT_THAT(EnumerateLanguages(home.path() / "missing").LanguageFiles, IsEmpty());
}

TEST(LanguageCheck, ReportsWhatATranslatorMustFix)
{
    std::string file = crlf({"000 1.1", "100 &Datei", "105 &Dokument", "101 &Importieren...", "103 &Speichern",
                             "102 &Speichern unter", "130 extra", "foo bar", "104 Be&enden", "104 &Beenden"});
    const auto findings = checkLanguageFile(file);
    EXPECT_THAT(findings, IsSupersetOf({
        "Line 1: entry 000 reads \"1.1\"; it must read \"1.0\", or the file is not used",
        "Entry 001 (the language's name) is missing; the file is not offered in the language list",
        "Line 7: entry 130 is not a text of the program; it is ignored",
        "Line 8: \"foo\" is not an entry number; the line is ignored",
        "Line 10: entry 104 is given again; this later text counts",
        "The menu bar uses the accelerator \"d\" twice: 100 \"&Datei\" and 105 \"&Dokument\"",
        "The File menu uses the accelerator \"s\" twice: 103 \"&Speichern\" and 102 \"&Speichern unter\"",
        "Entry 419 is missing (English: \"About\")"}));
    // Entries added later are not missing.
    EXPECT_THAT(findings, Not(Contains("Entry 420 is missing (English: \"Importing bookmarks\u2026\")")));
}

TEST(ShippedLanguages, EveryShippedFileIsCompleteAndClean)
{
    ASSERT_FALSE(shippedLanguages().empty());
    for (const EmbeddedFile& file : shippedLanguages()) {
        EXPECT_THAT(checkLanguageFile(file.bytes), IsEmpty()) << file.name;
        EXPECT_EQ(readLanguageFile(file.bytes).texts.size(), UIText::kEntryCount) << file.name;
    }
}

// Every start puts the shipped languages into the home once, never over a user's file.
TEST(HomeStart, PreparesEveryHomeAndClearsUnfinishedWritesOnlyFromAHeldOne)
{
    const std::string first(shippedLanguages().front().name);
    const std::string second(shippedLanguages().back().name);
    for (const HomeHeld held : {HomeHeld::No, HomeHeld::Yes}) {
        test::TempHome home;
        const fs::path languages = home.path() / "Languages";
        test::writeBytes(languages / first, "000 1.0\r\n001 Mine\r\n");
        home.write("folders.wnf", "A\r\n");
        home.write(".vtmp-1-2-3", "cut short");
        home.write("Links/.vtmp-4-5-6", "cut short");
        startHome(home.path(), held);
        EXPECT_EQ(home.exists(".vtmp-1-2-3"), held == HomeHeld::No);
        EXPECT_EQ(home.exists("Links/.vtmp-4-5-6"), held == HomeHeld::No);
        EXPECT_EQ(home.read("folders.wnf"), "A\r\n");
        EXPECT_EQ(EnumerateLanguages(languages).LanguageFiles.size(), shippedLanguages().size());
        EXPECT_THAT(EnumerateLanguages(languages).LanguageNames, Contains("Mine (" + first + ")"));
        fs::remove(languages / second); // the user deleted a shipped language
        prepareHome(home.path());
        EXPECT_FALSE(fs::exists(languages / second));
    }
}

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
    // Confirm deleting, save every minute, English, a small window, unsorted, locations in the home.
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
    window.layout = {.geometry = {.left = 5, .top = 6, .height = 700, .width = 900},
                     .sortChecked = {true, false, true, false, false}};
    preferences.setMainWindow(&window);
    preferences.SavePreferences();
    window.layout = {.geometry = {.maximized = true, .height = 1080, .width = 1920}};
    preferences.SavePreferences();
    EXPECT_THAT(fileLines(), IsSupersetOf({"024 5", "025 6", "026 700", "027 900", "028 True", "040 2"}));
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
