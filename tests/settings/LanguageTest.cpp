// The text table, language files, the language list, the caption table and the checks a
// translator runs.

#include "settings/EmbeddedFiles.h"
#include "settings/HomeSetup.h"
#include "settings/LanguageCheck.h"
#include "settings/LanguageFile.h"
#include "settings/TextBindings.h"
#include "settings/UIText.h"
#include "support/LanguageFiles.h"
#include "support/LibraryFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::shippedLanguage;
using test::withoutEntriesFrom;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(UIText, BuiltInTableHoldsTheEnglishTexts)
{
    const UIText texts;
    EXPECT_EQ(UIText::entryNumbers().size(), UIText::kEntryCount);
    EXPECT_EQ(texts[100], "&File");
    EXPECT_EQ(texts[132], "&H&ome Page");
    EXPECT_EQ(texts[215], "Statistics...");
    EXPECT_EQ(texts[317], "Don't show this dialog in the future");
    EXPECT_EQ(texts[341], "Save changes?");
    EXPECT_EQ(texts[347], "Welcom Area:");
    EXPECT_EQ(texts[359], "Date && Time");
    EXPECT_EQ(texts[400], "Export to Opera");
    EXPECT_EQ(texts[419], "About");
    // Reserved entries are rows of asterisks of these lengths.
    const std::vector<std::pair<int, std::size_t>> asterisks = {
        {120, 20}, {121, 20}, {122, 25}, {123, 25}, {124, 17}, {125, 18}, {126, 18},
        {210, 14}, {211, 18}, {212, 19}, {368, 15}, {369, 15}};
    for (const auto& [number, length] : asterisks)
        EXPECT_EQ(texts[number], std::string(length, '*')) << number;
    // Between the ranges there are no entries.
    for (int number : {99, 130, 131, 149, 199, 216, 299, 401, 418, 424})
        EXPECT_FALSE(UIText::isEntry(number)) << number;
}

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

TEST_F(LanguageTest, AFileGivingSomeEntriesKeepsTheOthersFromTheTable)
{
    choose(writeLanguage("Part.lng", crlf({"000 1.0", "001 Partial", "100 &Datei", "366 Nicht gefunden "})));
    EXPECT_EQ(LoadLanguage(texts, preferences), 0u);
    EXPECT_EQ(texts[100], "&Datei");
    EXPECT_EQ(texts[366], "Nicht gefunden "); // trailing blanks belong to the text
    EXPECT_EQ(texts[105], "&Edit");          // English from the start, never an empty menu
    EXPECT_EQ(preferences.LanguageIndex, 3);

    // Switching to a file without 366 keeps the previous language's text.
    choose(writeLanguage("Other.lng", crlf({"000 1.0", "001 Other", "100 &Fichier"})));
    LoadLanguage(texts, preferences);
    EXPECT_EQ(texts[100], "&Fichier");
    EXPECT_EQ(texts[366], "Nicht gefunden ");
}

TEST_F(LanguageTest, BuiltInMissingOrWrongVersionGiveEnglishAndIndexZero)
{
    choose(writeLanguage("Part.lng", crlf({"000 1.0", "100 &Datei"})));
    LoadLanguage(texts, preferences);

    preferences.UseDefaultLanguage = true;
    preferences.LanguageFile = "0";
    LoadLanguage(texts, preferences);
    EXPECT_EQ(texts[100], "&File");
    EXPECT_EQ(preferences.LanguageIndex, 0);

    choose(languages() / "Gone.lng");
    texts.set(100, "changed");
    LoadLanguage(texts, preferences);
    EXPECT_EQ(texts[100], "&File");
    EXPECT_EQ(preferences.LanguageIndex, 0);
    EXPECT_FALSE(preferences.UseDefaultLanguage); // the choice itself stays

    choose(writeLanguage("Old.lng", crlf({"100 &Datei", "000 2.0", "105 &Bearbeiten"})));
    LoadLanguage(texts, preferences);
    EXPECT_EQ(texts[100], "&File");
    EXPECT_EQ(texts[105], "&Edit");
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
        {421, "Exporting bookmarks\u2026", "Exportation des signets\u2026"},
        {422, "Select a folder first.", "S\u00e9lectionnez d\u2019abord un dossier."},
        {423, "A bookmark manager", "Un gestionnaire de signets"},
    };
    choose(writeLanguage("French.lng", shippedLanguage("French.lng")));
    LoadLanguage(texts, preferences);
    for (const auto& text : added)
        EXPECT_EQ(texts[text.number], text.french) << text.number;
    const std::string older = withoutEntriesFrom(shippedLanguage("German.lng"), 420);
    EXPECT_THAT(checkLanguageFile(older), IsEmpty());
    choose(writeLanguage("Older.lng", older));
    texts = UIText(); // as the window loads a language
    LoadLanguage(texts, preferences);
    EXPECT_EQ(texts[100], "&Datei");
    for (const auto& text : added)
        EXPECT_EQ(texts[text.number], text.english) << text.number;
}

TEST_F(LanguageTest, LinesThatAreNotEntriesAreIgnoredAndNeverStopTheLoad)
{
    choose(writeLanguage("Odd.lng", "000 1.0\n/// comment\n\nxyz broken line\n130 between ranges\n999 beyond\n"
                                    "-01 negative\n001 Name\n105 &Bearbeiten\n"));
    EXPECT_EQ(LoadLanguage(texts, preferences), 4u);
    EXPECT_EQ(texts[105], "&Bearbeiten");
    EXPECT_EQ(texts[130], "");
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

TEST(TextBindings, EveryRowNamesATextOfTheTable)
{
    std::set<std::pair<int, std::string_view>> seen;
    for (const TextBinding& binding : textBindings()) {
        EXPECT_TRUE(UIText::isEntry(binding.text)) << binding.target;
        EXPECT_TRUE(seen.emplace(static_cast<int>(binding.window), binding.target).second)
            << "bound twice: " << binding.target;
    }
    EXPECT_EQ(textBindings(TextWindow::MainCommand).size(), 35u);
    EXPECT_EQ(textBindings(TextWindow::MainCommandHint).size(), 13u);
    EXPECT_EQ(textBindings(TextWindow::About).front().text, 419);
}

TEST(LanguageCheck, ReportsWhatATranslatorMustFix)
{
    std::string file = crlf({"000 1.1", "100 &Datei", "105 &Dokument", "101 &Importieren...", "103 &Speichern",
                             "102 &Speichern unter", "130 extra", "foo bar", "104 Be&enden", "104 &Beenden"});
    const auto findings = checkLanguageFile(file);
    const auto has = [&](const std::string& text) {
        return std::any_of(findings.begin(), findings.end(), [&](const std::string& f) { return f == text; });
    };
    EXPECT_TRUE(has("Line 1: entry 000 reads \"1.1\"; it must read \"1.0\", or the file is not used"));
    EXPECT_TRUE(has("Entry 001 (the language's name) is missing; the file is not offered in the language list"));
    EXPECT_TRUE(has("Line 7: entry 130 is not a text of the program; it is ignored"));
    EXPECT_TRUE(has("Line 8: \"foo\" is not an entry number; the line is ignored"));
    EXPECT_TRUE(has("Line 10: entry 104 is given again; this later text counts"));
    EXPECT_TRUE(has("The menu bar uses the accelerator \"d\" twice: 100 \"&Datei\" and 105 \"&Dokument\""));
    EXPECT_TRUE(has("The File menu uses the accelerator \"s\" twice: 103 \"&Speichern\" and 102 \"&Speichern unter\""));
    EXPECT_TRUE(has("Entry 419 is missing (English: \"About\")"));
    EXPECT_FALSE(has("Entry 100 is missing (English: \"&File\")"));
    EXPECT_FALSE(has("Entry 420 is missing (English: \"Importing bookmarks\u2026\")")); // added later
}

TEST(LanguageCheck, AcceleratorsSkipDoubledAmpersandsAndFoldCase)
{
    EXPECT_EQ(acceleratorOf("Sort by &Title"), "t");
    EXPECT_EQ(acceleratorOf("Date && &Time"), "t");
    EXPECT_EQ(acceleratorOf("Date && Time"), "");
    EXPECT_EQ(acceleratorOf("&\xC3\x96" "ffnen"), "\xC3\xB6"); // Ö folds to ö
    EXPECT_EQ(acceleratorOf("trailing &"), "");
}

TEST(ShippedLanguages, EveryShippedFileIsCompleteAndClean)
{
    ASSERT_FALSE(shippedLanguages().empty());
    for (const EmbeddedFile& file : shippedLanguages()) {
        EXPECT_THAT(checkLanguageFile(file.bytes), IsEmpty()) << file.name;
        EXPECT_EQ(readLanguageFile(file.bytes).texts.size(), UIText::kEntryCount) << file.name;
    }
}

TEST(ShippedLanguages, ArePutIntoAHomeOnceAndNeverOverAUsersFile)
{
    test::TempHome home;
    const fs::path languages = home.path() / "Languages";
    fs::create_directories(languages);
    const std::string first(shippedLanguages().front().name);
    test::writeBytes(languages / first, "000 1.0\r\n001 Mine\r\n");
    prepareHome(home.path());
    EXPECT_EQ(EnumerateLanguages(languages).LanguageFiles.size(), shippedLanguages().size());
    EXPECT_FALSE(fs::exists(helpPagePath(home.path()))); // Help writes the page when it opens it
    EXPECT_THAT(EnumerateLanguages(languages).LanguageNames, ::testing::Contains("Mine (" + first + ")"));

    const std::string second(shippedLanguages().back().name);
    fs::remove(languages / second); // the user deleted a shipped language
    prepareHome(home.path());
    EXPECT_FALSE(fs::exists(languages / second));
}

TEST(HomeStart, PreparesEveryHomeAndClearsUnfinishedWritesOnlyFromAHeldOne)
{
    struct Case {
        HomeHeld held;
        bool unfinishedLeft;
    };
    for (const Case& c : {Case{HomeHeld::No, true}, Case{HomeHeld::Yes, false}}) {
        test::TempHome home;
        home.write("folders.wnf", "A\r\n");
        home.write(".vtmp-1-2-3", "cut short");
        home.write("Links/.vtmp-4-5-6", "cut short");
        startHome(home.path(), c.held);
        EXPECT_EQ(home.exists(".vtmp-1-2-3"), c.unfinishedLeft);
        EXPECT_EQ(home.exists("Links/.vtmp-4-5-6"), c.unfinishedLeft);
        EXPECT_EQ(home.read("folders.wnf"), "A\r\n");
        EXPECT_EQ(EnumerateLanguages(home.path() / "Languages").LanguageFiles.size(), shippedLanguages().size());
    }
}

} // namespace
} // namespace velloria
