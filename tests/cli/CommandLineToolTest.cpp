// velloria-cli as scripts use it: each command's output lines, exit status and the files it writes.

#include "cli/CommandLineTool.h"
#include "cli/CommandTable.h"
#include "platform/InstanceLock.h"
#include "support/Fixtures.h"
#include "support/LanguageFiles.h"
#include "support/WebServer.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>

namespace velloria {
namespace {

using test::crlf;
using test::Lines;
using ::testing::HasSubstr;

struct CliRun {
    int status = 0;
    std::string out;
    std::string err;
};

// Runs the tool on a home; an argument "~/name" names a file in that home.
CliRun runIn(const std::filesystem::path& home, const Clock& clock, std::vector<std::string> arguments)
{
    for (std::string& argument : arguments)
        if (argument.starts_with("~/"))
            argument = (home / argument.substr(2)).string();
    arguments.insert(arguments.begin(), {"--home", home.string()});
    std::ostringstream out, err;
    const int status = runCommandLine(arguments, {out, err, clock, {}});
    return {status, out.str(), err.str()};
}

class CommandLineToolTest : public test::HomeTest {
protected:
    CliRun run(std::vector<std::string> arguments) { return runIn(home.path(), clock, std::move(arguments)); }
};

// A damaged file: an unknown tag, and a link that the end of the file cuts off.
const std::string kNetscape = "<DL><p><DT><H3 ADD_DATE=\"1\">News</H3><DL><p>\n<BLINK>"
                              "<DT><A HREF=\"https://a.example/?x=1&amp;y=2\" ICON=\"data:x\">A &amp; B</A>\n"
                              "</DL><p></DL><p>\n<DT><A HREF=\"https://cut";
const std::string kBrokenTree = crlf({"News", "\t\tB"});
const std::string kEdited = test::linkFile({{"Edited", "a"}});
const std::string kDamaged = test::linkFile({{"First", "a.example", "", "2026.1.1", "one"}}) + "x garbage\r\n"
                             + test::linkFile({{"Third", "c.example", "", ""}});

// Each command runs on its own copy of a small saved library; "changed" lists every file below
// the home that the command writes (the lock aside). A save writes both generations, --no-save
// the working one.
TEST_F(CommandLineToolTest, EachCommandPrintsExitsAndWritesAsDocumented)
{
    const Lines savedTree = {"RefLib/folddesc.wnf", "RefLib/folddesc.~wnf", "RefLib/folders.wnf",
                             "RefLib/folders.~wnf", "RefLib/foldst.wnf"};
    const auto with = [](Lines files, std::initializer_list<std::string> more) {
        files.insert(files.end(), more);
        std::sort(files.begin(), files.end());
        return files;
    };
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::string err; // part of the message; all of it when the command succeeds
        Lines changed;
        std::pair<std::string, std::string> given = {};   // a file put into the home first
        std::pair<std::string, std::string> written = {}; // a changed file and part of it
    } cases[] = {
        {{"tree"}, 0, "0\tNews\t\n1\tDaily\tthe daily news\n0\tCaf\xC3\xA9\t\n", "", {}},
        {{"links", "Caf\xC3\xA9"}, 0, "T\thttps://t.example/\t2026.2.3\t2026.1.1\td\n", "", {}},
        {{"links", "Daily"}, 1, "First\ta.example\t\t2026.1.1\tone\n", "'x' is not a valid integer value\n",
         {}, {"RefLib/Links/Daily.wnl", kDamaged}},
        // The selected folder is Daily: find starts at the top all the same.
        {{"find", "NEWS"}, 0,
         "0\tNews\t\t1\tNews\n1\tDaily\t\t11\tthe daily news\n2\tDaily\t0\t6\tGood News\n"
         "4\tDaily\t0\t1\tnewsletter\n2\tDaily\t1\t4\tzz news\n3\tDaily\t1\t1\tnews.example\n", "", {}},
        {{"filter", "NEWS", "g\xC3\xB6\xC3\xB6" "d"}, 0, "News / Daily\tGood News\tg\n", "", {}},
        {{"filter", "t.EXAMPLE"}, 0, "Caf\xC3\xA9\tT\thttps://t.example/\n", "", {}},
        {{"filter"}, 2, "", "usage: velloria-cli filter", {}},
        {{"links", "Nope"}, 1, "", "There is no folder named \"Nope\"\n", {}},
        {{"links"}, 2, "", "usage: velloria-cli links", {}},
        {{"frobnicate"}, 2, "", "unknown command frobnicate", {}},
        {{"--version"}, 0, "velloria-cli " VELLORIA_VERSION "\n", "", {}},
        {{"links", "--help"}, 0,
         "Usage: velloria-cli [--home DIR] links FOLDER\n\n"
         "one line per link: title, address, last visit, add date, description\n", "", {}},
        {{"import", "netscape", "~/gone.html"}, 1, "", "Nothing was imported: \"", {}},
        {{"import", "chrome", "~/gone.html"}, 1, "",
         "Unknown format \"chrome\": use netscape, opera, ie, xbel, firefox or chromium\n", {}},
        {{"export", "firefox", "~/out"}, 1, "", "Unknown format \"firefox\": use netscape, opera, ie, xbel\n", {}},
        {{"import", "firefox", "~/nowhere"}, 1, "", "Nothing was imported: \"", {}},
        {{"import", "xbel"}, 1, "", "Nothing was imported: give the path of the xbel file", {}},
        {{"import", "xbel", "~/in.xbel"}, 1, "", "The XBEL file is damaged", {}, {"in.xbel", "<xbel><folder>"}},
        {{"lang-check", "~/none.lng"}, 1, "", "none.lng", {}},
        {{"lang-check", "~/older.lng"}, 0,
         "Entry 491 is not translated; it shows in English: \"No browser profile was found on this computer.\"\n"
         "Entry 492 is not translated; it shows in English: \"cannot be read\"\n", "", {},
         {"older.lng", test::withoutEntriesFrom(test::shippedLanguage("German.lng"), 491)}},
        {{"add-link", "Nowhere", "Title", "x"}, 1, "", "There is no folder named \"Nowhere\"\n", {}},
        {{"add-folder", " Work/Stuff? ", "--description", "line one\nline two"}, 0, "WorkStuff\n", "",
         with(savedTree, {"RefLib/Links/WorkStuff.wnl", "RefLib/Links/WorkStuff.~wnl"})},
        {{"add-folder", "news", "--in", "Caf\xC3\xA9"}, 0, "news_1\n", "",
         with(savedTree, {"RefLib/Links/news_1.wnl", "RefLib/Links/news_1.~wnl"})},
        {{"add-link", "Daily", "Docs", " docs.example ", "--no-save"}, 0, "Docs\n", "",
         {"RefLib/Links/Daily.wnl"}, {}, {"RefLib/Links/Daily.wnl", "0 Docs\r\n1 docs.example\r\n2  \r\n3 2026.12.5\r\n4 \r\n"}},
        {{"add-link", "Daily", "good news", "other.example"}, 0, "good news_1\n", "",
         {"RefLib/Links/Daily.wnl", "RefLib/Links/Daily.~wnl"}},
        {{"import", "netscape", "~/in.html"}, 0, "Netscape\n",
         "1 folder and 1 link imported\n1 entry skipped: unknown tag or entry\n"
         "1 entry skipped: cut off at the end of the file\n",
         with(savedTree, {"RefLib/Links/Netscape.wnl", "RefLib/Links/Netscape.~wnl",
                          "RefLib/Links/News_1.wnl", "RefLib/Links/News_1.~wnl"}),
         {"in.html", kNetscape}, {"RefLib/Links/News_1.wnl", "0 A & B\r\n1 https://a.example/?x=1&y=2\r\n"}},
        {{"import", "chromium", "~/Work/Bookmarks"}, 0, "Chromium (Work)\n", "1 folder and 1 link imported\n",
         with(savedTree, {"RefLib/Links/Chromium (Work).wnl", "RefLib/Links/Chromium (Work).~wnl",
                          "RefLib/Links/Bar.wnl", "RefLib/Links/Bar.~wnl"}),
         {"Work/Bookmarks", R"({"roots": {"bookmark_bar": {"name": "Bar", "type": "folder", "children": [
             {"type": "url", "name": "A", "url": "https://a.example/", "date_added": "13255358400000000"}]}}})"},
         {"RefLib/Links/Bar.wnl", "0 A\r\n1 https://a.example/\r\n2  \r\n3 2021.1.17\r\n"}},
        {{"export", "xbel", "~/out.xbel"}, 0, "", "", {"out.xbel"}, {},
         {"out.xbel", "<folder>\n      <title>Daily</title>\n      <desc>the daily news</desc>\n      <bookmark "
                      "href=\"http://news.example\">"}},
        {{"export", "opera", "~/out.adr"}, 0, "", "", {"out.adr"}, {},
         {"out.adr", "#URL\r\nNAME=T\r\nURL=https://t.example/\r\nCREATED=0\r\n \r\n"}},
        {{"html", "~/page.html", "--folder", "Daily"}, 0, "", "", {"page.html"}, {},
         {"page.html", "<b>Daily</b></font></th>\r\n</tr>\r\n<tr>\r\n<td"}},
        {{"save"}, 0, "", "", {"RefLib/Links/Daily.~wnl"}, {"RefLib/Links/Daily.wnl", kEdited},
         {"RefLib/Links/Daily.~wnl", kEdited}},
        {{"revert"}, 0, "", "", {"RefLib/Links/Daily.wnl"}, {"RefLib/Links/Daily.wnl", kEdited},
         {"RefLib/Links/Daily.wnl", "0 zz news\r\n"}},
        // A tree that cannot be read whole is shown up to the fault; save changes nothing, and
        // revert repairs the working tree from the last save.
        {{"tree"}, 1, "0\tNews\t\n", "Invalid level (2) for item \"B\"", {}, {"RefLib/folders.wnf", kBrokenTree}},
        {{"save"}, 1, "", "Nothing was changed", {}, {"RefLib/folders.wnf", kBrokenTree}},
        {{"revert"}, 1, "", "", {"RefLib/folders.wnf"}, {"RefLib/folders.wnf", kBrokenTree},
         {"RefLib/folders.wnf", "News\r\n\tDaily\r\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        test::TempHome copy;
        test::writeLibrary(copy, {.tree = {"News", "\tDaily", "Caf\xE9"},
                                  .descriptions = {"Daily", "the daily news"},
                                  .links = {{"News", {}},
                                            {"Daily", {{"zz news", "news.example", "", ""},
                                                       {"Good News", "g", "", "", "newsletter"}}},
                                            {"Caf\xE9", {{"T", "https://t.example/", "2026.2.3", "2026.1.1", "d"}}}}});
        copy.write("foldst.wnf", crlf({"1", "True", "True"}));
        test::writeBytes(copy.path() / "Tessel.cfg", crlf({"000 1.0", "040 0"}));
        runIn(copy.path(), clock, {"tree"}); // the first use puts the shipped languages in
        if (!c.given.first.empty())
            test::writeBytes(copy.path() / c.given.first, c.given.second);
        const auto before = test::filesBelow(copy.path());
        const CliRun result = runIn(copy.path(), clock, c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, c.out);
        if (c.status == 0)
            EXPECT_EQ(result.err, c.err);
        else
            EXPECT_THAT(result.err, HasSubstr(c.err));
        auto after = test::filesBelow(copy.path());
        Lines changed;
        for (const auto& [file, bytes] : after)
            if (file != ".velloria.lock" && (!before.contains(file) || before.at(file) != bytes))
                changed.push_back(file);
        EXPECT_EQ(changed, c.changed);
        if (!c.written.first.empty()) {
            EXPECT_THAT(after[c.written.first], HasSubstr(c.written.second));
        }
    }
}

// What the shell's completion offers for the word being typed, the last of the words.
TEST_F(CommandLineToolTest, CompletionOffersCommandsOptionsFormatsAndFolderNames)
{
    test::writeLibrary(home, {.tree = {"News", "\tDaily", "Caf\xE9", "Deep Space"}});
    const std::string other = (home.path() / "elsewhere").string();
    const struct {
        std::vector<std::string> words;
        std::string offered;
    } cases[] = {
        {{"l"}, "links\nlang-check\n"},
        {{"-"}, "--home\n--help\n--version\n"},
        {{"--home", ""}, ":directory\n"},
        {{"--home", other, "links", ""}, ""}, // no library there
        {{"links", ""}, "News\nDaily\nCaf\xC3\xA9\nDeep Space\n"},
        {{"links", "News", ""}, ""},
        {{"add-link", "Daily", ""}, ""},
        {{"add-folder", "Work", "--in", "C"}, "Caf\xC3\xA9\n"},
        {{"html", "page.html", "--folder", "N"}, "News\n"},
        {{"check-links", "--jobs", "4", "De"}, "Deep Space\n"},
        {{"check-links", "--"}, "--help\n--recursive\n--jobs\n--timeout\n--connect-timeout\n"},
        {{"import", ""}, "netscape\nopera\nie\nxbel\nfirefox\nchromium\n"},
        {{"export", "f"}, ""},
        {{"import", "xbel", "bo"}, ":file\n"},
        {{"frobnicate", ""}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.words));
        std::vector<std::string> arguments = c.words;
        arguments.insert(arguments.begin(), "--complete");
        std::ostringstream out, err;
        EXPECT_EQ(runCommandLine(arguments, {out, err, clock, home.path()}), 0);
        EXPECT_EQ(out.str(), c.offered);
    }
    EXPECT_FALSE(std::filesystem::exists(home.path() / "elsewhere")); // completing creates nothing
}

// The manual page and the README describe every command as the tool's table has it: each
// usage (the alternatives of one split at " | ") is an entry of the page's COMMANDS and a row of
// the README's table, and neither has an entry that is not a command.
TEST_F(CommandLineToolTest, TheManualPageAndTheReadmeListEveryCommandAsTheToolDoes)
{
    const std::string source = VELLORIA_SOURCE_DIR;
    const std::string page = test::readBytes(source + "/packaging/man/velloria-cli.1.in");
    const std::string readme = test::readBytes(source + "/README.md");
    const auto plain = [](std::string line) { // the text of a line of the page, without its markup
        for (const auto& [from, to] : std::initializer_list<std::pair<std::string, std::string>>{
                 {"\\fB", ""}, {"\\fI", ""}, {"\\fR", ""}, {"\\fP", ""}, {"\\-", "-"}, {"\\ ", " "}})
            for (std::size_t at; (at = line.find(from)) != std::string::npos;)
                line.replace(at, from.size(), to);
        return line.starts_with(".B ") ? line.substr(3) : line;
    };
    std::set<std::string> pageEntries, readmeEntries;
    std::istringstream pageLines(page.substr(page.find(".SH COMMANDS") + 1));
    for (std::string line, previous; std::getline(pageLines, line) && !line.starts_with(".SH"); previous = line)
        if (previous == ".TP")
            pageEntries.insert(plain(line));
    std::istringstream readmeLines(readme.substr(readme.find("## The command-line tool")));
    for (std::string line; std::getline(readmeLines, line) && !line.starts_with("## Reliability");)
        if (line.starts_with("| `"))
            readmeEntries.insert(std::regex_replace(line.substr(3, line.find("` |") - 3), std::regex(R"(\\\|)"), "|"));
    std::set<std::string> usages;
    for (const CliCommand& command : allCommands())
        for (std::size_t start = 0, end; start != std::string::npos; start = end == std::string::npos ? end : end + 3) {
            end = command.usage.find(" | ", start);
            usages.insert(command.usage.substr(start, end == std::string::npos ? end : end - start));
        }
    EXPECT_EQ(pageEntries, usages);
    EXPECT_EQ(readmeEntries, usages);
}

// The browsers of the user running the tool: their profiles listed, the default one imported
// when no path is given, and an error when there is none.
TEST_F(CommandLineToolTest, BrowsersListsTheProfilesAndImportTakesTheDefault)
{
    const std::filesystem::path user = home.path() / "user";
    const test::UserDirectories directories(user);
    EXPECT_THAT(run({"import", "chromium"}).err, HasSubstr("no Chromium-based browser's profile was found"));
    test::writeBytes(user / ".config/vivaldi/Default/Bookmarks",
                     "{\"roots\": {\"other\": {\"name\": \"Other\", \"type\": \"folder\", \"children\": ["
                     "{\"type\": \"url\", \"name\": \"V\", \"url\": \"https://v.example/\"}]}}}");
    test::writeBytes(user / ".config/vivaldi/Profile 1/Bookmarks", "{\"roots\": ");
    const CliRun listed = run({"browsers"});
    EXPECT_EQ(listed.status, 1);
    EXPECT_EQ(listed.out, "Vivaldi\tDefault\t" + (user / ".config/vivaldi/Default").string() + "\t1\n"
                          "Vivaldi\tProfile 1\t" + (user / ".config/vivaldi/Profile 1").string() + "\t?\n");
    EXPECT_THAT(listed.err, HasSubstr("The Bookmarks file is damaged"));
    const CliRun imported = run({"import", "chromium"});
    EXPECT_EQ(imported.status, 0);
    EXPECT_EQ(imported.out, "Vivaldi (Default)\n");
    EXPECT_EQ(linksOf("Other"), (Lines{"V https://v.example/"}));
}

TEST_F(CommandLineToolTest, DuplicatesListsEachGroupAndDeleteCarriesOutTheProposal)
{
    test::writeLibrary(home, {.tree = {"Work", "\tDocs", "Home"},
                              .links = {{"Work", {{"a", "https://a.example/", "2026.3.1"}}},
                                        {"Docs", {{"a2", "https://A.example"}, {"b", "http://b.example/"}}},
                                        {"Home", {{"b www", "https://www.b.example"}, {"a3", "https://a.example/#x"}}}}});
    const struct {
        std::vector<std::string> arguments;
        std::string out;
    } cases[] = {
        {{"duplicates"},
         "1\tWork\ta\thttps://a.example/\tkeep\n1\tWork / Docs\ta2\thttps://A.example\tdelete\n"
         "1\tHome\ta3\thttps://a.example/#x\tdelete\n"},
        {{"duplicates", "--loose"},
         "1\tWork\ta\thttps://a.example/\tkeep\n1\tWork / Docs\ta2\thttps://A.example\tdelete\n"
         "1\tHome\ta3\thttps://a.example/#x\tdelete\n"
         "2\tWork / Docs\tb\thttp://b.example/\tkeep\n2\tHome\tb www\thttps://www.b.example\tdelete\n"},
        {{"duplicates", "--delete", "--no-save"}, "Removed 2 links\n"},
        {{"duplicates"}, ""},
        {{"duplicates", "--loose", "--delete"}, "Removed 1 link\n"},
    };
    for (const auto& c : cases) {
        const CliRun result = run(c.arguments);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, c.out) << testing::PrintToString(c.arguments);
        EXPECT_EQ(result.err, "");
    }
    EXPECT_EQ(linksOf("Docs"), (Lines{"b http://b.example/"}));
    EXPECT_EQ(linksOf("Home"), Lines{});
    EXPECT_EQ(linksOf("Home", ".~wnl"), Lines{}); // the second deletion saved the first one too
}

TEST_F(CommandLineToolTest, CheckLinksPrintsEachLinkCheckedInTreeOrderAndSaysBrokenByItsStatus)
{
    const test::WebServer server;
    test::writeLibrary(home, {.tree = {"Work", "\tDocs", "Home"},
                              .links = {{"Work", {{"ok", server.address("/ok")}, {"mail", "mailto:a@example.com"}}},
                                        {"Docs", {{"moved", server.address("/moved")}}},
                                        {"Home", {{"gone", server.address("/gone")}}}}});
    const std::string ok = "OK\t200\tWork\tok\t" + server.address("/ok") + "\t\tHTTP 200\n";
    const std::string moved =
        "Moved\t200\tWork / Docs\tmoved\t" + server.address("/moved") + "\t" + server.address("/ok") + "\tHTTP 200\n";
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string out, err;
    } cases[] = {
        {{"check-links"}, 3, ok + moved + "Broken\t410\tHome\tgone\t" + server.address("/gone") + "\t\tHTTP 410\n", ""},
        {{"check-links", "Work", "--jobs", "2", "--timeout", "5", "--connect-timeout", "1"}, 0, ok, ""},
        {{"check-links", "Work", "--recursive"}, 0, ok + moved, ""},
        {{"check-links", "Nowhere"}, 1, "", "There is no folder named \"Nowhere\"\n"},
        {{"check-links", "--jobs", "0"}, 1, "", "--jobs takes a number from 1 to 64, not \"0\"\n"},
        {{"check-links", "--timeout", "x"}, 1, "", "--timeout takes seconds from 0.1 to 600, not \"x\"\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const CliRun result = run(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
    }
}

TEST_F(CommandLineToolTest, TheFirstUseCreatesTheDefaultLibrary)
{
    const CliRun first = run({"tree"});
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.out, "0\tMain\tMain folder\n");
    EXPECT_TRUE(home.exists("Links/Main.~wnl"));
    const CliRun stats = run({"stats"});
    EXPECT_EQ(stats.status, 0);
    EXPECT_THAT(stats.out, ::testing::StartsWith("Folders: 1\nBookmarks: 2\nDatabase Size: 0 k\nFree Space: "));
}

TEST_F(CommandLineToolTest, RefusesToChangeALibraryThatTheProgramHolds)
{
    run({"tree"});
    home.write("Links/Main.wnl", kEdited);
    InstanceLock program(InstanceLock::lockFileFor(home.path()));
    ASSERT_EQ(program.tryAcquire(), InstanceLock::Result::Acquired);
    const CliRun save = run({"save"});
    EXPECT_EQ(save.status, 1);
    EXPECT_THAT(save.err, HasSubstr("Velloria is running"));
    EXPECT_NE(home.read("Links/Main.~wnl"), kEdited);
    EXPECT_EQ(run({"tree"}).status, 0); // reading is allowed
}

TEST_F(CommandLineToolTest, PrefsPrintsTheEntriesAndSaveNormalisesTheFile)
{
    test::writeBytes(home.path() / "Tessel.cfg", "000 1.0\n\n/// mine\n040 2\n038 true\n999 ignored\n");
    const CliRun shown = run({"prefs", "--save"});
    EXPECT_EQ(shown.status, 0);
    EXPECT_THAT(shown.out, HasSubstr("040\tSortMode\t2\n"));
    EXPECT_THAT(shown.out, HasSubstr("011\tSaveInterval\t0\n")); // missing entries keep their zero value
    EXPECT_THAT(shown.err, HasSubstr("1 line(s)"));
    const std::string bytes = test::readBytes(home.path() / "Tessel.cfg");
    EXPECT_TRUE(bytes.starts_with("/// Preferences\r\n000 1.0\r\n001 \r\n"));
    EXPECT_THAT(bytes, HasSubstr("\r\n038 True\r\n"));
}

TEST_F(CommandLineToolTest, LangCheckFailsOnAFileWithProblemsAndListsThem)
{
    test::writeBytes(home.path() / "broken.lng", "000 1.0\r\n001 Broken\r\n100 &Datei\r\n");
    const CliRun check = run({"lang-check", "~/broken.lng"});
    EXPECT_EQ(check.status, 1);
    EXPECT_THAT(check.out, HasSubstr("Entry 105 is missing (English: \"&Edit\")\n"));
}

} // namespace
} // namespace velloria
