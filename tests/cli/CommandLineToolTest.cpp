// velloria-cli as scripts use it: its output lines, exit status and messages.

#include "base/Clock.h"
#include "cli/CommandLineTool.h"
#include "platform/InstanceLock.h"
#include "support/LanguageFiles.h"
#include "support/Fixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace velloria {
namespace {

using test::crlf;
using ::testing::HasSubstr;

struct CliRun {
    int status = 0;
    std::string out;
    std::string err;
};

class CommandLineToolTest : public test::HomeTest {
protected:
    CliRun run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--home", home.path().string()});
        std::ostringstream out, err;
        CliRun result;
        result.status = runCommandLine(arguments, {out, err, clock, {}});
        result.out = out.str();
        result.err = err.str();
        return result;
    }
};

TEST_F(CommandLineToolTest, TheFirstUseCreatesTheDefaultLibraryThenLookingAndFailingCommandsWriteNothing)
{
    const CliRun first = run({"tree"});
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.out, "0\tMain\tMain folder\n");
    EXPECT_TRUE(home.exists("Links/Main.~wnl"));
    const auto before = home.snapshot();
    const auto missing = [&](const char* name) { return (home.path() / name).string(); };
    const auto notImported = [&](const char* name) { return "Nothing was imported: \"" + missing(name) + "\" does not exist\n"; };
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string err; // the whole message, or what a usage error names
    } cases[] = {
        {{"tree"}, 0, ""}, {{"links", "Main"}, 0, ""}, {{"find", "main"}, 0, ""}, {{"stats"}, 0, ""}, {{"prefs"}, 0, ""},
        {{"links", "Nope"}, 1, "There is no folder named \"Nope\"\n"},
        {{"links"}, 2, ""}, {{"frobnicate"}, 2, "unknown command frobnicate"},
        {{"import", "netscape", missing("gone.html")}, 1, notImported("gone.html")},
        {{"import", "opera", missing("gone.adr")}, 1, notImported("gone.adr")},
        {{"import", "ie", missing("Gone Favorites")}, 1, notImported("Gone Favorites")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const CliRun result = run(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out.empty(), c.status != 0);
        EXPECT_THAT(result.err, c.status == 1 ? testing::Matcher<std::string>(testing::Eq(c.err)) : HasSubstr(c.err));
        EXPECT_EQ(home.snapshot(), before);
        EXPECT_FALSE(std::filesystem::exists(home.path() / "velloria-help.html"));
    }
}

TEST_F(CommandLineToolTest, TreeAndLinksPrintTabSeparatedLinesAsText)
{
    home.write("folders.wnf", crlf({"Caf\xE9", "\tSub"}));
    home.write("folddesc.wnf", crlf({"Sub", "below"}));
    home.write("Links/Caf\xE9.wnl", test::linkFile({{"T", "https://t.example/", "2026.2.3", "2026.1.1", "d"}}));
    EXPECT_EQ(run({"tree"}).out, "0\tCaf\xC3\xA9\t\n1\tSub\tbelow\n");
    const CliRun links = run({"links", "Caf\xC3\xA9"});
    EXPECT_EQ(links.status, 0);
    EXPECT_EQ(links.out, "T\thttps://t.example/\t2026.2.3\t2026.1.1\td\n");
}

TEST_F(CommandLineToolTest, SaveAndRevertMoveFilesBetweenGenerations)
{
    run({"tree"});
    const std::string edited = test::linkFile({{"Edited", "a"}});
    home.write("Links/Main.wnl", edited);
    EXPECT_EQ(run({"revert"}).status, 0);
    EXPECT_EQ(home.read("Links/Main.wnl"), home.read("Links/Main.~wnl"));
    home.write("Links/Main.wnl", edited);
    EXPECT_EQ(run({"save"}).status, 0);
    EXPECT_EQ(home.read("Links/Main.~wnl"), edited);
}

TEST_F(CommandLineToolTest, LoadErrorsArePrintedAndSaveRefusesAPartialTree)
{
    home.write("folders.wnf", crlf({"A", "\t\tB"}));
    home.write("folders.~wnf", crlf({"A", "\tB"}));
    const CliRun tree = run({"tree"});
    EXPECT_EQ(tree.status, 1);
    EXPECT_EQ(tree.out, "0\tA\t\n");
    EXPECT_THAT(tree.err, HasSubstr("Invalid level (2) for item \"B\""));

    const CliRun save = run({"save"});
    EXPECT_EQ(save.status, 1);
    EXPECT_THAT(save.err, HasSubstr("Nothing was changed"));
    EXPECT_EQ(home.read("folders.~wnf"), crlf({"A", "\tB"}));

    // Revert is how a broken working tree is repaired from the last save.
    EXPECT_EQ(run({"revert"}).status, 1);
    EXPECT_EQ(home.read("folders.wnf"), crlf({"A", "\tB"}));
    EXPECT_EQ(run({"tree"}).status, 0);
}

TEST_F(CommandLineToolTest, RefusesToChangeALibraryThatTheProgramHolds)
{
    run({"tree"});
    InstanceLock program(InstanceLock::lockFileFor(home.path()));
    ASSERT_EQ(program.tryAcquire(), InstanceLock::Result::Acquired);
    const std::string changed = test::linkFile({{"Changed", "a"}});
    home.write("Links/Main.wnl", changed);
    const CliRun save = run({"save"});
    EXPECT_EQ(save.status, 1);
    EXPECT_THAT(save.err, HasSubstr("Velloria is running"));
    EXPECT_NE(home.read("Links/Main.~wnl"), changed);
    EXPECT_EQ(run({"tree"}).status, 0); // reading is allowed
}

TEST_F(CommandLineToolTest, AddFolderAndAddLinkCleanNameAndSave)
{
    run({"tree"});
    CliRun added = run({"add-folder", " Work/Stuff? ", "--description", "line one\nline two"});
    EXPECT_EQ(added.status, 0);
    EXPECT_EQ(added.out, "WorkStuff\n");
    EXPECT_EQ(run({"add-folder", "workstuff", "--in", "Main"}).out, "workstuff_1\n");
    EXPECT_EQ(run({"tree"}).out, "0\tMain\tMain folder\n1\tworkstuff_1\t\n0\tWorkStuff\tline one line two\n");
    EXPECT_EQ(home.read("folders.~wnf"), home.read("folders.wnf")); // saved

    added = run({"add-link", "WorkStuff", "Docs", " docs.example ", "--no-save"});
    EXPECT_EQ(added.out, "Docs\n");
    EXPECT_EQ(run({"add-link", "WorkStuff", "DOCS", "other.example", "--no-save"}).out, "DOCS_1\n");
    EXPECT_EQ(home.read("Links/WorkStuff.wnl"),
              crlf({"0 Docs", "1 docs.example", "2  ", "3 2026.12.5", "4 ", "0 DOCS_1", "1 other.example", "2  ",
                    "3 2026.12.5", "4 "}));
    EXPECT_EQ(home.read("Links/WorkStuff.~wnl"), ""); // --no-save left the saved generation alone

    EXPECT_EQ(run({"add-link", "WorkStuff", "???", "x"}).status, 1);
    EXPECT_EQ(run({"add-link", "WorkStuff", "Title", "  "}).status, 1);
    EXPECT_EQ(run({"add-link", "Nowhere", "Title", "x"}).err, "There is no folder named \"Nowhere\"\n");
}

TEST_F(CommandLineToolTest, FindPrintsEveryMatchInOrderAndStatsTheFourFigures)
{
    home.write("folders.wnf", crlf({"News", "\tDaily"}));
    home.write("folddesc.wnf", crlf({"Daily", "the daily news"}));
    home.write("Links/Daily.wnl", test::linkFile({{"zz news", "news.example", "", ""}, {"Good News", "g", "", "", "newsletter"}}));
    writePreferences({"000 1.0", "040 0"});
    const std::string before = home.read("Links/Daily.wnl");
    const CliRun found = run({"find", "NEWS"});
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.out, "0\tNews\t\t1\tNews\n"
                         "1\tDaily\t\t11\tthe daily news\n"
                         "2\tDaily\t0\t6\tGood News\n"
                         "4\tDaily\t0\t1\tnewsletter\n"
                         "2\tDaily\t1\t4\tzz news\n"
                         "3\tDaily\t1\t1\tnews.example\n");
    EXPECT_EQ(home.read("Links/Daily.wnl"), before); // looking writes nothing
    EXPECT_EQ(run({"find", "absent"}).out, "");

    const CliRun stats = run({"stats"});
    EXPECT_EQ(stats.status, 0);
    EXPECT_THAT(stats.out, ::testing::StartsWith("Folders: 2\nBookmarks: 2\nDatabase Size: 0 k\nFree Space: "));
}

TEST_F(CommandLineToolTest, ImportExportAndHtmlGoThroughTheDriversAndImportSaves)
{
    run({"tree"});
    const std::filesystem::path file = home.path() / "in.html";
    test::writeBytes(file, "<DL><p><DT><H3 ADD_DATE=\"1\">Main</H3><DL><p>\n"
                                             "<DT><A HREF=\"https://a.example/?x=1&amp;y=2\" ICON=\"data:x\">A &amp; B</A>\n"
                                             "</DL><p></DL><p>\n");
    CliRun imported = run({"import", "netscape", file.string()});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "Netscape\n");
    EXPECT_EQ(run({"tree"}).out, "0\tMain\tMain folder\n0\tNetscape\tNetscape\n1\tMain_1\tMain\n");
    EXPECT_EQ(run({"links", "Main_1"}).out, "A & B\thttps://a.example/?x=1&y=2\t \t2026.12.5\t\n");
    EXPECT_EQ(home.read("folders.~wnf"), home.read("folders.wnf")); // saved
    const std::filesystem::path hotlist = home.path() / "empty.adr";
    test::writeBytes(hotlist, "Opera Hotlist version 2.0\r\n");
    EXPECT_EQ(run({"import", "opera", hotlist.string(), "--no-save"}).out, "Opera\n");
    EXPECT_NE(home.read("folders.~wnf"), home.read("folders.wnf"));
    EXPECT_EQ(run({"import", "chrome", file.string()}).status, 1);

    const std::filesystem::path exported = home.path() / "out.adr";
    EXPECT_EQ(run({"export", "opera", exported.string()}).status, 0);
    EXPECT_THAT(test::readBytes(exported), HasSubstr("#URL\r\nNAME=A & B\r\nURL=https://a.example/?x=1&y=2\r\nCREATED=0\r\n \r\n"));

    const std::filesystem::path page = home.path() / "page.html";
    EXPECT_EQ(run({"html", page.string(), "--folder", "Main_1"}).status, 0);
    const std::string html = test::readBytes(page);
    EXPECT_THAT(html, HasSubstr("<b>Main_1</b>"));
    EXPECT_THAT(html, HasSubstr(">A &amp; B</a>"));
    EXPECT_EQ(html.find("<b>Main</b>"), std::string::npos);
}

TEST_F(CommandLineToolTest, LinksOfADamagedFilePrintsTheLinksBeforeTheDamageAndFails)
{
    home.write("folders.wnf", crlf({"Main"}));
    const std::string damaged = test::linkFile({{"First", "a.example", "", "2026.1.1", "one"},
                                                {"Second", "b.example", "2026.2.2", "2026.1.2"}})
                              + "x garbage\r\n" + test::linkFile({{"Third", "c.example", "", ""}});
    home.write("Links/Main.wnl", damaged);
    const auto before = home.snapshot();
    const CliRun result = run({"links", "Main"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "First\ta.example\t\t2026.1.1\tone\nSecond\tb.example\t2026.2.2\t2026.1.2\t\n");
    EXPECT_EQ(result.err, "'x' is not a valid integer value\n");
    EXPECT_EQ(home.snapshot(), before); // looking leaves the damaged file as it is, and keeps no copy
}

TEST_F(CommandLineToolTest, PrefsPrintsTheEntriesAndSaveNormalisesTheFile)
{
    const std::filesystem::path file = home.path() / "Tessel.cfg";
    test::writeBytes(file, "000 1.0\n\n/// mine\n040 2\n038 true\n999 ignored\n");
    const CliRun shown = run({"prefs"});
    EXPECT_EQ(shown.status, 0);
    EXPECT_THAT(shown.out, HasSubstr("040\tSortMode\t2\n"));
    EXPECT_THAT(shown.out, HasSubstr("038\tShowToolbar\tTrue\n"));
    EXPECT_THAT(shown.out, HasSubstr("011\tSaveInterval\t0\n")); // missing entries keep their zero value
    EXPECT_THAT(shown.err, HasSubstr("1 line(s)"));
    EXPECT_EQ(std::count(shown.out.begin(), shown.out.end(), '\n'), 60);

    EXPECT_EQ(run({"prefs", "--save"}).status, 0);
    const std::string bytes = test::readBytes(file);
    EXPECT_TRUE(bytes.starts_with("/// Preferences\r\n000 1.0\r\n001 \r\n"));
    EXPECT_THAT(bytes, HasSubstr("\r\n038 True\r\n"));
    EXPECT_EQ(run({"prefs", "--bogus"}).status, 2);
}

TEST_F(CommandLineToolTest, LangCheckPassesTheShippedLanguagesAndFlagsProblems)
{
    run({"tree"}); // the first use puts the shipped languages into the home
    for (const auto& entry : std::filesystem::directory_iterator(home.path() / "Languages")) {
        if (entry.path().extension() != ".lng")
            continue;
        const CliRun check = run({"lang-check", entry.path().string()});
        EXPECT_EQ(check.status, 0) << entry.path() << check.out;
        EXPECT_EQ(check.out, "");
    }
    const std::filesystem::path broken = home.path() / "broken.lng";
    test::writeBytes(broken, "000 1.0\r\n001 Broken\r\n100 &Datei\r\n");
    const CliRun check = run({"lang-check", broken.string()});
    EXPECT_EQ(check.status, 1);
    EXPECT_THAT(check.out, HasSubstr("Entry 105 is missing (English: \"&Edit\")\n"));
    EXPECT_EQ(run({"lang-check", (home.path() / "none.lng").string()}).status, 1);

    // A file of an older version is valid; what shows in English is listed.
    const std::filesystem::path older = home.path() / "older.lng";
    test::writeBytes(older, test::withoutEntriesFrom(test::shippedLanguage("German.lng"), 421));
    const CliRun olderCheck = run({"lang-check", older.string()});
    EXPECT_EQ(olderCheck.status, 0);
    EXPECT_EQ(olderCheck.out, "Entry 421 is not translated; it shows in English: \"Exporting bookmarks\u2026\"\n"
                              "Entry 422 is not translated; it shows in English: \"Select a folder first.\"\n"
                              "Entry 423 is not translated; it shows in English: \"A bookmark manager\"\n");
}

} // namespace
} // namespace velloria
