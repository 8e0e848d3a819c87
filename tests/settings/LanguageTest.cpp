// Language files, the language list, the shipped languages and the checks a translator runs.

#include "settings/EmbeddedFiles.h"
#include "settings/HomeSetup.h"
#include "settings/LanguageCheck.h"
#include "settings/LanguageFile.h"
#include "settings/UIText.h"
#include "support/LanguageFiles.h"
#include "support/LibraryFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>


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

    // Switching to a file without 366 keeps the previous language's text.
    choose(writeLanguage("Other.lng", crlf({"000 1.0", "001 Other", "100 &Fichier"})));
    LoadLanguage(texts, preferences);
    EXPECT_EQ(texts[100], "&Fichier");
    EXPECT_EQ(texts[366], "Nicht gefunden ");
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

// Texts added after the first language files: the shipped files translate them (the window's
// tests show the German ones), and a file of an older version is valid and shows them in English.
TEST_F(LanguageTest, TextsAddedLaterComeFromTheFileOrInEnglish)
{
    const struct {
        int number;
        std::string_view english;
        std::string_view french;
    } added[] = {
        {420, "Importing bookmarks\u2026", "Importation des signets\u2026"},
        {422, "Select a folder first.", "S\u00e9lectionnez d\u2019abord un dossier."},
    };
    choose(writeLanguage("French.lng", shippedLanguage("French.lng")));
    LoadLanguage(texts, preferences);
    for (const auto& text : added)
        EXPECT_EQ(texts[text.number], text.french) << text.number;
    const std::string older = withoutEntriesFrom(shippedLanguage("German.lng"), 420);
    choose(writeLanguage("Older.lng", older));
    texts = UIText(); // as the window loads a language
    LoadLanguage(texts, preferences);
    EXPECT_EQ(texts[100], "&Datei");
    for (const auto& text : added)
        EXPECT_EQ(texts[text.number], text.english) << text.number;
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
    EXPECT_THAT(findings, Not(Contains("Entry 100 is missing (English: \"&File\")")));
    // Entries added later are not missing.
    EXPECT_THAT(findings, Not(Contains("Entry 420 is missing (English: \"Importing bookmarks\u2026\")")));
    const std::pair<std::string_view, std::string_view> accelerators[] = {
        {"Sort by &Title", "t"}, {"Date && &Time", "t"}, {"Date && Time", ""},
        {"&\xC3\x96" "ffnen", "\xC3\xB6"}, // Ö folds to ö
        {"trailing &", ""}};
    for (const auto& [caption, accelerator] : accelerators)
        EXPECT_EQ(acceleratorOf(caption), accelerator) << caption;
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
        EXPECT_FALSE(fs::exists(helpPagePath(home.path()))); // Help writes the page when it opens it
        fs::remove(languages / second); // the user deleted a shipped language
        prepareHome(home.path());
        EXPECT_FALSE(fs::exists(languages / second));
    }
}

} // namespace
} // namespace velloria
