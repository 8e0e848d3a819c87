// The bookmark files of other programs and the HTML page: the exact bytes each writer produces,
// what the readers make of hand-made cases, and files written by real browsers.

#include "base/Error.h"
#include "interchange/Favorites.h"
#include "interchange/HtmlPage.h"
#include "interchange/NetscapeFile.h"
#include "interchange/OperaHotlist.h"
#include "support/Fixtures.h"
#include "support/RecordingSink.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <map>


namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::RecordingSink;
using test::filesBelow;
using test::writeBytes;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Links by folder name, as the library would give them to a writer.
ReadExportLinksFunction linksOf(std::map<std::string, std::vector<ExportLink>> links)
{
    return [links = std::move(links)](const std::string& folder) {
        const auto it = links.find(folder);
        return it == links.end() ? std::vector<ExportLink>() : it->second;
    };
}

std::vector<std::string> readLines(std::string_view bytes, ImportCounts* stats = nullptr)
{
    RecordingSink recorder;
    const ImportCounts found = readNetscapeFile(bytes, recorder);
    if (stats)
        *stats = found;
    return recorder.lines;
}

constexpr std::string_view kHead = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Velloria</TITLE>\r\n<H1>Velloria</H1>\r\n";

TEST(NetscapeWriter, NestsFoldersByLevelAndClosesEveryList)
{
    const std::vector<ExportFolder> folders = {{"News", 0}, {"Local", 1}, {"World", 1}, {"Nordic", 2}, {"Work", 0}};
    const auto readLinks = linksOf({{"News", {{"Front page", "https://news.example/", ""}}},
                                    {"Nordic", {{"Yle", "yle.fi", "Finnish news"}, {"SVT", "ftp://svt.se", ""}}}});
    const std::string bytes = writeNetscapeFile(folders, readLinks);
    EXPECT_EQ(bytes, std::string(kHead) + crlf({"<DL><p>", "<DT><H3>News</H3>", "<DL><p>",
                                               "<DT><A HREF=\"https://news.example/\">Front page</A>",
                                               "<DT><H3>Local</H3>", "<DL><p>", "</DL><p>",
                                               "<DT><H3>World</H3>", "<DL><p>", "<DT><H3>Nordic</H3>", "<DL><p>",
                                               "<DT><A HREF=\"http://yle.fi\">Yle</A>",
                                               "<DT><A HREF=\"ftp://svt.se\">SVT</A>",
                                               "</DL><p>", "</DL><p>", "</DL><p>",
                                               "<DT><H3>Work</H3>", "<DL><p>", "</DL><p>", "</DL><p>"}));
}

// The reader gives back the very texts the writer escaped.
TEST(NetscapeWriter, EscapesEveryTextAndWritesNoDescription)
{
    const std::vector<ExportFolder> folders = {{"R&D <\"new\">", 0}, {"Inner", 1}};
    const auto readLinks = linksOf({{"R&D <\"new\">", {{"Say \"hi\" & <bye>", "x.example/?a=1&b=\"2\"", "not written"}}},
                                    {"Inner", {{"caf\xC3\xA9 \xE2\x80\xA6", "https://y.example/'q'", ""}}}});
    const std::string bytes = writeNetscapeFile(folders, readLinks);
    EXPECT_EQ(bytes, std::string(kHead) + crlf({"<DL><p>", "<DT><H3>R&amp;D &lt;&quot;new&quot;&gt;</H3>", "<DL><p>",
                                               "<DT><A HREF=\"http://x.example/?a=1&amp;b=&quot;2&quot;\">"
                                               "Say &quot;hi&quot; &amp; &lt;bye&gt;</A>",
                                               "<DT><H3>Inner</H3>", "<DL><p>",
                                               "<DT><A HREF=\"https://y.example/'q'\">caf\xC3\xA9 \xE2\x80\xA6</A>",
                                               "</DL><p>", "</DL><p>", "</DL><p>"}));
    EXPECT_THAT(readLines(bytes), ElementsAre("folder R&D <\"new\">", "link Say \"hi\" & <bye> | http://x.example/?a=1&b=\"2\" | ",
                                              "folder Inner", "link caf\xC3\xA9 \xE2\x80\xA6 | https://y.example/'q' | ",
                                              "end", "end"));
    EXPECT_EQ(writeNetscapeFile({}, readLinks), std::string(kHead) + crlf({"<DL><p>", "</DL><p>"}));
}

TEST(NetscapeReader, ReadsWhatBrowsersWriteAroundFoldersAndLinks)
{
    ImportCounts stats;
    const auto lines = readLines("\xEF\xBB\xBF<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<meta charset=\"UTF-8\">\n"
                                 "<Title>Bookmarks</Title><h1 LAST_MODIFIED=\"1\">Bookmarks</h1>\n<dl><p>\r\n"
                                 "  <DT><H3 ADD_DATE=\"1\" PERSONAL_TOOLBAR_FOLDER=\"true\" FOLDED>\n Toolbar\t</H3>\r\n"
                                 "  <DD>folder text is not a link's\n  <DL><p>\r"
                                 "    <dt><a add_date='5' ICON=\"data:image/png;base64,AAA=\" href='https://a.example/'>A</a>\r"
                                 "    <DD>first line\r\n\r\n   second line  \n"
                                 "    <DT><A HREF=bare.example/x?y=1 SUBSCRIBE>Bare  title</A><HR><DT><A HREF=\"h\">Last</A>\n"
                                 "  </DL><p>\n<DT><A NAME=\"anchor\">no address</A><BR><Foo></Foo>\n</DL><p>\n", &stats);
    EXPECT_THAT(lines, ElementsAre("folder Toolbar", "link A | https://a.example/ | first line second line",
                                   "link Bare  title | bare.example/x?y=1 | ", "link Last | h | ", "end"));
    // Skipped: the <A> without an address, <BR> and <Foo> (its closing tag carries nothing).
    EXPECT_EQ(stats, (ImportCounts{.folders = 1, .links = 3,
                                   .skipped = {{SkipReason::UnknownEntry, 2}, {SkipReason::NoAddress, 1}}}));
}

TEST(NetscapeReader, HandMadeFiles)
{
    const std::string meta = "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=";
    const std::string body = "<DL><DT><H3>Caf\xE9</H3><DL><DT><A HREF=\"x\">Pr\x8E\x85\xC9 &#8230;</A></DL></DL>";
    const std::vector<std::string> windows1252 = {"folder Caf\xC3\xA9", "link Pr\xC5\xBD\xE2\x80\xA6\xC3\x89 \xE2\x80\xA6 | x | ", "end"};
    const std::vector<std::string> macRoman = {"folder Caf\xC3\x88", "link Pr\xC3\xA9\xC3\x96\xE2\x80\xA6 \xE2\x80\xA6 | x | ", "end"};
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
        std::map<SkipReason, std::size_t> skipped = {};
    } cases[] = {
        {"references are decoded once, what is not one is kept",
         "<DT><A HREF=\"https://x/?a=1&b=2&amp;c=&lt;3&gt;\">&amp;#8230; &#8230;&#x2026;&#X41;"
         " &quot;q&quot; &apos;&#39;&nbsp;AT&T &bogus; &#0; &#xD800; &#1114112; &#65 &amp;amp;</A>",
         {"link &#8230; \xE2\x80\xA6\xE2\x80\xA6" "A \"q\" '' AT&T &bogus; &#0; &#xD800; &#1114112; &#65 &amp; | https://x/?a=1&b=2&c=<3> | "}},
        {"comments are skipped, text runs up to the next tag",
         "<!-- <DT><A HREF=\"http://hidden/\">Hidden</A>\n -->\n<DT><A HREF=\"x\" TITLE=\"a > b\">1 < 2 and 3<4</A>\n"
         "<DT><A HREF=\"y\">no closing tag\n<DD>described<!-- note --> text\n<DT>"
         "<A HREF=\"z\">unterminated comment follows</A><!-- <DT><A HREF=\"w\">W</A>",
         {"link 1 < 2 and 3<4 | x | ", "link no closing tag | y | described", "link unterminated comment follows | z | "}},
        {"extra closings are ignored, open folders are ended",
         "</DL><p></DL><DT><A HREF=\"a\">A</A><DT><H3>F</H3><DL><p><DT><H3>G</H3><DL><DT><A HREF=\"g\">G1</A>",
         {"link A | a | ", "folder F", "folder G", "link G1 | g | ", "end", "end"}},
        {"a plain list inside a folder does not end the folder",
         "<DT><H3>F</H3><DL><DL><DT><A HREF=\"a\">A</A></DL><DT><A HREF=\"b\">B</A></DL><DT><A HREF=\"c\">C</A>",
         {"folder F", "link A | a | ", "link B | b | ", "end", "link C | c | "}},
        {"a folder without a list is empty",
         "<DL><DT><H3>Empty</H3>\n<DD>about it\n<DT><A HREF=\"a\">A</A><DT><H3>Also empty</H3>\n</DL><DT><H3>Last</H3>",
         {"folder Empty", "end", "link A | a | ", "folder Also empty", "end", "folder Last", "end"}},
        {"a file without lists is flat",
         "<H1>Bookmarks</H1><DT><A HREF=\"a\">A</A>\n<DD>text \n<DD>more\n<DT><A HREF=\"b\">B</A>",
         {"link A | a | text", "link B | b | "}},
        // Windows-1252: E9 = é, 8E = Ž, 85 = …, C9 = É; MacRoman: E9 = È, 8E = é, 85 = Ö, C9 = ….
        {"windows-1252", meta + "windows-1252\">" + body, windows1252},
        {"no charset: Windows-1252 where not UTF-8", body, windows1252},
        {"x-mac-system", meta + "X-MAC-SYSTEM\">" + body, macRoman},
        {"UTF-8 stays, what is not UTF-8 is Windows-1252",
         meta + "UTF-8\"><DT><A HREF=\"x\">caf\xC3\xA9</A><DT><A HREF=\"y\">caf\xE9</A>",
         {"link caf\xC3\xA9 | x | ", "link caf\xC3\xA9 | y | "}},
        {"a META after the bookmarks have begun is not the file's charset",
         "<DT><A HREF=\"x\">a</A><META CONTENT=\"charset=x-mac-roman\"><DT><A HREF=\"y\">\xC3\xA9</A>",
         {"link a | x | ", "link \xC3\xA9 | y | "}},
        {"a blank address and a link or folder cut off by the end of the file are skipped",
         "<DL><DT><H3>F</H3><DL><DT><A HREF=\" \">blank</A><DT><A HREF=\"a\">A</A><DT><H3 ADD_DATE=\"1\">G</H3>"
         "<DL><DT><A HREF=\"https://cut.exa", {"folder F", "link A | a | ", "folder G", "end", "end"},
         {{SkipReason::NoAddress, 1}, {SkipReason::CutOff, 1}}},
        {"a folder cut off", "<DT><A HREF=\"a\">A</A>\n<DT><H3 ADD_DATE=\"1", {"link A | a | "},
         {{SkipReason::CutOff, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImportCounts stats;
        EXPECT_EQ(readLines(c.bytes, &stats), c.lines);
        EXPECT_EQ(stats.skipped, c.skipped);
    }
}

const std::string kHeader = crlf({"Opera Hotlist version 2.0", "Options: encoding = utf8, version=3"});
const std::vector<ExportFolder> kNested = {{"Top", 0}, {"Sub", 1}, {"Deep", 2}};
const ReadExportLinksFunction kNestedLinks =
    linksOf({{"Sub", {{"Example", "www.example.com", "ignored"}, {"Mail", "mailto:me@example.com", ""}}}});

TEST(OperaHotlistWriter, ClosesEveryLevelOnceWhereverTheTreeEnds)
{
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
    EXPECT_EQ(writeOperaHotlist(kNested, kNestedLinks, [&](auto done, auto total) { progress.emplace_back(done, total); }),
              kHeader + crlf({"#FOLDER", "NAME=Top", "CREATED=0", " ", "#FOLDER", "NAME=Sub", "CREATED=0", " ",
                              "#URL", "NAME=Example", "URL=http://www.example.com", "CREATED=0", " ",
                              "#URL", "NAME=Mail", "URL=mailto:me@example.com", "CREATED=0", " ",
                              "#FOLDER", "NAME=Deep", "CREATED=0", " ", "", "-", "", "-", "-"}));
    EXPECT_EQ(progress, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{1, 3}, {2, 3}, {3, 3}}));
    // Siblings, and a last folder at the top level.
    EXPECT_EQ(writeOperaHotlist({{"A", 0}, {"B", 1}, {"C", 0}}, linksOf({{"C", {{"Secure", "https://c.example/", ""}}}})),
              kHeader + crlf({"#FOLDER", "NAME=A", "CREATED=0", " ", "#FOLDER", "NAME=B", "CREATED=0", " ", "", "-",
                              "", "-", "#FOLDER", "NAME=C", "CREATED=0", " ", "#URL", "NAME=Secure",
                              "URL=https://c.example/", "CREATED=0", " ", "-"}));
    EXPECT_EQ(writeOperaHotlist({}, linksOf({})), kHeader);
}

TEST(OperaHotlistReader, ReadsWhatTheWriterWroteAndHandMadeFiles)
{
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
        ImportCounts stats;
    } cases[] = {
        // Fields belong to their own entry; "#folder" (not a known kind), ftp:, an empty address and a
        // link cut off by the end are skipped, a separator has nothing to import; a hotlist link's
        // description is its address.
        {"by hand",
         "\xEF\xBB\xBFOpera Hotlist version 2.0\nOptions: encoding = utf8, version=3\n\n#FOLDER\n\tID=1\n\n"
         "  #URL  \r\n\tNAME=  Spaced  \r\tURL=https://secure.example/\r\n\tSHORT NAME=nick\n"
         "\tDISPLAY URL=http://display.example/\n#folder\n\tNAME=lower\n#URL\n\tNAME=Files\n\tURL=ftp://files.example/\n"
         "#URL\n\tURL=www.untitled.example\n#SEPERATOR\n\tNAME=separator\n#URL\n\tNAME=Empty\n\tURL=\n"
         "#URL\n\tNAME=Upper\n\tURL=HTTP://upper.example/\n-\n \t-\n-\n#FOLDER\n\tNAME=Last\n#URL\n\tNAME=Cut off\n",
         {"folder ", "link Spaced | https://secure.example/ | https://secure.example/",
          "link www.untitled.example | www.untitled.example | www.untitled.example",
          "link Upper | HTTP://upper.example/ | HTTP://upper.example/", "end", "end", "end", "folder Last"},
         {.folders = 2, .links = 3, .skipped = {{SkipReason::UnknownEntry, 1}, {SkipReason::NoAddress, 1},
                                                {SkipReason::NotWebAddress, 1}, {SkipReason::CutOff, 1}}}},
        {"cut folder", "#FOLDER\r\n\tNAME=Kept\r\n#FOLDER\r\n\tID=7", {"folder Kept"},
         {.folders = 1, .skipped = {{SkipReason::CutOff, 1}}}},
        // Control characters become blanks, bytes that are not UTF-8 are Windows-1252.
        {"controls", "#URL\n\tNAME=Two\x02\x02lines\tand Caf\xE9\x01\n\tURL=http://x.example/a\x02" "b\x7F\n",
         {"link Two  lines and Caf\xC3\xA9 | http://x.example/a b | http://x.example/a b"}, {.links = 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSink sink;
        EXPECT_EQ(readOperaHotlist(c.bytes, sink), c.stats);
        EXPECT_EQ(sink.lines, c.lines);
    }
}

std::string utf16le(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST(Shortcut, WritesTheTwoLinesAndReadsTheUrlOfItsSectionOnly)
{
    EXPECT_EQ(writeShortcutFile("http://a.example/?q=1&r=2"), "[InternetShortcut]\r\nURL=http://a.example/?q=1&r=2\r\n");
    const std::pair<std::string, std::string> cases[] = {
        // In any order and case, after other sections, before others.
        {"[{000214A0-0000-0000-C000-000000000046}]\r\nURL=http://other.example/\r\n"
         "[internetshortcut]\rIDList=\r url = http://right.example/ \r\n[Other]\nURL=http://after/\n", "http://right.example/"},
        {"\xEF\xBB\xBF[InternetShortcut]\nURL=http://bom.example/", "http://bom.example/"},
        {"[ InternetShortcut ]\n\tUrl=\thttp://tab.example/\t\n", "http://tab.example/"},
        {utf16le(u"[InternetShortcut]\r\nURL=http://caf\u00E9.example/\U0001F600\r\n"),
         "http://caf\xC3\xA9.example/\xF0\x9F\x98\x80"},
        // No URL in the section gives nothing.
        {"", ""},
        {"[InternetShortcut]\r\nIconFile=https://x.example/favicon.ico\r\nIconIndex=1\r\n", ""},
        {"URL=http://no-section.example/\r\n[DEFAULT]\r\nURL=http://default.example/\r\n", ""},
        {"[InternetShortcut]\r\nURLS=http://longer-key.example/\r\n", ""},
    };
    for (const auto& [bytes, address] : cases)
        EXPECT_EQ(readShortcutAddress(bytes), address) << bytes;
}

TEST(FavoritesImport, LinksBeforeSubfoldersInNameOrderWithoutLoopsAndMissingDirectoryEmpty)
{
    // A favorites tree with everything the import must get right.
    test::TempHome home;
    const fs::path root = home.path() / "Favs";
    writeBytes(root / "b.url", writeShortcutFile("http://b.example/"));
    writeBytes(root / "A.url", "[InternetShortcut]\nURL=https://a.example/\n");
    writeBytes(root / "Z.URL", writeShortcutFile("http://z.example/"));
    writeBytes(root / "Caf\xE9.url", writeShortcutFile("http://cafe.example/"));
    writeBytes(root / "mail.url", writeShortcutFile("mailto:me@example.com"));
    writeBytes(root / "www.url", writeShortcutFile("www.no-scheme.example"));
    writeBytes(root / "none.url", "[InternetShortcut]\r\n");
    writeBytes(root / "notes.txt", writeShortcutFile("http://not-a-shortcut.example/"));
    writeBytes(root / ".hidden" / "h.url", writeShortcutFile("http://hidden.example/"));
    writeBytes(root / "Sub1" / "x.url", writeShortcutFile("http://x.example/"));
    fs::create_directories(root / "sub2");
    fs::create_symlink("A.url", root / "Linked.url");
    fs::create_symlink("sub2", root / "alias");
    // Two loops back to directories being read: both are left out.
    fs::create_symlink(".", root / "loop");
    fs::create_symlink("..", root / "Sub1" / "up");
    RecordingSink sink;
    EXPECT_EQ(ImportIEFavorites(root.string() + "/", sink),
              (ImportCounts{.folders = 4, .links = 6,
                            .skipped = {{SkipReason::NoAddress, 1}, {SkipReason::NotWebAddress, 2}}}));
    EXPECT_THAT(sink.lines, ElementsAre("folder Favs", "link A | https://a.example/ | ",
                                        "link Caf\xC3\xA9 | http://cafe.example/ | ", "link Linked | https://a.example/ | ",
                                        "link Z | http://z.example/ | ", "link b | http://b.example/ | ",
                                        "folder Sub1", "link x | http://x.example/ | ", "end",
                                        "folder alias", "end", "folder sub2", "end", "end"));
    RecordingSink missing;
    ImportIEFavorites(home.path() / "Favorites", missing);
    EXPECT_THAT(missing.lines, ElementsAre("folder Favorites", "end"));
}

// Reading /proc/self/mem from its start fails, for root too.
TEST(FavoritesImport, UnreadableShortcutIsSkippedAndCounted)
{
    test::TempHome home;
    writeBytes(home.path() / "Favs" / "a.url", writeShortcutFile("http://a.example/"));
    fs::create_symlink("/proc/self/mem", home.path() / "Favs" / "b.url");
    writeBytes(home.path() / "Favs" / "c.url", writeShortcutFile("http://c.example/"));
    RecordingSink sink;
    EXPECT_EQ(ImportIEFavorites(home.path() / "Favs", sink),
              (ImportCounts{.folders = 1, .links = 2, .skipped = {{SkipReason::Unreadable, 1}}}));
    EXPECT_THAT(sink.lines, ElementsAre("folder Favs", "link a | http://a.example/ | ", "link c | http://c.example/ | ", "end"));
}

const std::string kShortcutA = "[InternetShortcut]\r\nURL=http://a.example/\r\n";

// Titles become file names: cleaned, never empty, unique without regard to case, and cut at a
// character boundary ("\xE2\x82\xAC" is three bytes: 83 of them fill 249 of the 250 bytes).
TEST(FavoritesExport, WritesOneDirectoryPerFolderAndOneShortcutPerLink)
{
    test::TempHome home;
    const std::vector<ExportFolder> folders = {{"Top", 0}, {"Note.url", 1}, {"Sub", 1}, {"Deep", 2}, {"Other", 0}};
    std::string euros;
    for (int i = 0; i < 100; ++i)
        euros += "\xE2\x82\xAC";
    const auto links = [&](const std::string& folder) {
        const auto to = [](const std::string& title) { return ExportLink{title, "http://a.example/", ""}; };
        if (folder == "Top")
            return std::vector<ExportLink>{{"A/B: c?", "www.x.example", "d"}, to(" \t"), to("ab"), to("AB"), to("Ab"),
                                           to(".."), to("Caf\xE9"), to("Note")};
        if (folder == "Deep")
            return std::vector<ExportLink>{{euros, "mailto:me@example.com", ""}, to(euros)};
        return std::vector<ExportLink>{};
    };
    ExportIEFavorites(home.path(), folders, links);
    const std::string top = "Velloria/Top/";
    const std::string deep = top + "Sub/Deep/";
    EXPECT_EQ(filesBelow(home.path()),
              (std::map<std::string, std::string>{
                  {"Velloria/", ""}, {top, ""}, {top + "Note.url/", ""}, {top + "Sub/", ""}, {deep, ""},
                  {"Velloria/Other/", ""},
                  {top + "AB c.url", "[InternetShortcut]\r\nURL=http://www.x.example\r\n"},
                  {top + "Link.url", kShortcutA}, {top + "ab.url", kShortcutA}, {top + "AB_1.url", kShortcutA},
                  {top + "Ab_2.url", kShortcutA}, {top + "Link_1.url", kShortcutA}, {top + "Caf\xC3\xA9.url", kShortcutA},
                  {top + "Note_1.url", kShortcutA}, // "Note.url" is the subfolder
                  {deep + euros.substr(0, 249) + ".url", "[InternetShortcut]\r\nURL=mailto:me@example.com\r\n"},
                  {deep + euros.substr(0, 240) + "_1.url", kShortcutA},
              }));
}

TEST(FavoritesExport, ReplacesTheOldExportOnlyWithoutFollowingLinksOut)
{
    test::TempHome home;
    const fs::path favorites = home.path() / "Favorites";
    const auto oneLink = [](const std::string&) { return std::vector<ExportLink>{{"a", "http://a.example/", ""}}; };
    ExportIEFavorites(favorites, {{"Old", 0}, {"Gone", 1}}, oneLink);
    writeBytes(home.path() / "outside" / "keep.txt", "mine");
    fs::create_symlink(home.path() / "outside", favorites / "Velloria" / "Old" / "link");
    writeBytes(favorites / "mine.url", "user's own");
    writeBytes(favorites / "Other" / "x.url", "user's own too");

    ExportIEFavorites(favorites, {{"New", 0}}, oneLink);
    EXPECT_EQ(filesBelow(home.path()),
              (std::map<std::string, std::string>{
                  {"Favorites/", ""}, {"Favorites/Velloria/", ""}, {"Favorites/Velloria/New/", ""},
                  {"Favorites/Velloria/New/a.url", kShortcutA}, {"Favorites/mine.url", "user's own"},
                  {"Favorites/Other/", ""}, {"Favorites/Other/x.url", "user's own too"},
                  {"outside/", ""}, {"outside/keep.txt", "mine"}}));
    // A failure to create the directory is reported.
    writeBytes(home.path() / "file", "not a directory");
    EXPECT_THAT(test::errorOf([&] { ExportIEFavorites(home.path() / "file" / "Favorites", {{"F", 0}}, oneLink); }),
                HasSubstr("Cannot create directory \"" + (home.path() / "file" / "Favorites").string() + "\""));
}

const std::string kTable =
    R"(<table width="640" border="0" cellspacing="1" cellpadding="1" align="center" bgcolor="#000000">)";

const HtmlPageColours kColours{.text = 0x102030, .background = 0xABCDEF, .headerArea = 0x0A0B0C,
                               .welcomeArea = 0xD0E0F0, .bookmarkArea1 = 0xA1A1A1, .bookmarkArea2 = 0xB2B2B2};

std::string row(const char* colour, const char* address, const char* description, const char* title)
{
    return std::string("<tr>\r\n<td bgcolor=\"#") + colour + R"(" bordercolor="#FFFFFF"><a href=")" + address +
           R"(" title=")" + description + R"(">)" + title + "</a></td>\r\n</tr>\r\n";
}

std::string heading(const char* name)
{
    return std::string(R"(<th bgcolor="#0A0B0C" bordercolor="#FFFFFF"><font size="+1"><b>)") + name +
           "</b></font></th>\r\n";
}

const std::string kPage = crlf({
    "<!-- This bookmark file is generated by Velloria -->", "<html>", "<head>", R"(<meta charset="utf-8">)",
    "<title>My links</title>", "</head>", R"(<body bgcolor="#ABCDEF" text="#102030">)", kTable, "<tr>",
    R"(<th bgcolor="#0A0B0C" bordercolor="#FFFFFF"><font size="+2"><b>Hello</b></font></th>)", "</tr>", "<tr>",
    R"(<td bgcolor="#D0E0F0" bordercolor="#FFFFFF"><font size="+1">Welcome to my page</font></td>)", "</tr>",
    "</table>"});
const std::string kFooter = crlf({"<br>", "<center>Generated by Velloria.</center>", "</body>", "</html>"});
const HtmlPageTexts kTexts{"My links", "Hello", "Welcome to my page"};

TEST(HtmlPageTest, everyFolderGetsATableWithItsLinksInAlternatingAreas)
{
    const auto links = linksOf(
        {{"News", {{"One", "www.one.example", "first"}, {"Two", "https://two.example/", "second"},
                   {"Three", "ftp://three.example/", ""}}},
         {"Sub", {{"Six", "https://six.example/", "sixth"}, {"Seven", "https://seven.example/", ""}}}});
    const std::vector<ExportFolder> folders{{"News", 0}, {"Sub", 1}, {"Empty", 0}};
    const std::string page = GenerateHtmlPage(kTexts, kColours, folders, links, std::nullopt);
    const std::string expected =
        kPage +                                                      //
        kTable + "\r\n<tr>\r\n<br>\r\n" + heading("News") + "</tr>\r\n" +
        row("A1A1A1", "http://www.one.example", "first", "One") +
        row("B2B2B2", "https://two.example/", "second", "Two") + row("A1A1A1", "ftp://three.example/", "", "Three") +
        "</table>\r\n" + //
        kTable + "\r\n<tr>\r\n<br>\r\n" + heading("Sub") + "</tr>\r\n" +
        row("A1A1A1", "https://six.example/", "sixth", "Six") + row("B2B2B2", "https://seven.example/", "", "Seven") +
        "</table>\r\n" + //
        kTable + "\r\n<tr>\r\n<br>\r\n" + heading("Empty") + "</tr>\r\n</table>\r\n" + kFooter;
    EXPECT_EQ(page, expected);
}

TEST(HtmlPageTest, theSelectedFolderAloneLeavesOutItsSubfoldersAndPutsTheGapBeforeItsTable)
{
    const auto links = linksOf({{"Top", {{"A", "https://a.example/", "aa"}}},
                                      {"Child", {{"B", "https://b.example/", "bb"}}}});
    const std::vector<ExportFolder> folders{{"Other", 0}, {"Top", 0}, {"Child", 1}};
    EXPECT_EQ(GenerateHtmlPage(kTexts, kColours, folders, links, 1),
              kPage + "<br>\r\n" + kTable + "\r\n<tr>\r\n" + heading("Top") + "</tr>\r\n" +
                  row("A1A1A1", "https://a.example/", "aa", "A") + "</table>\r\n" + kFooter);
    // A library without folders gives the header and the footer only.
    EXPECT_EQ(GenerateHtmlPage(kTexts, kColours, {}, links, std::nullopt), kPage + kFooter);
}

TEST(HtmlPageTest, everyInsertedTextIsEscapedAndWrittenAsUtf8)
{
    const auto links = linksOf(
        {{"R&D", {{"<script>alert('x')</script>", "https://q.example/?a=1&b=\"2\"", "say \"hi\"\r\nnow"}}},
         {"Caf\xE9", {{"Caf\xE9 Cr\xE8me", "caf\xE9.example", "d\xE9j\xE0 vu"},
                      {"Cr\xC3\xA8me", "https://cr\xC3\xA8me.example/", ""}}}});
    const HtmlPageTexts texts{"<b>Mine</b>", "Tom & Jerry's", "a\tb"};

    const std::string page = GenerateHtmlPage(texts, kColours, {{"R&D", 0}, {"Caf\xE9", 0}}, links, {});

    EXPECT_THAT(page, HasSubstr("<title>&lt;b&gt;Mine&lt;/b&gt;</title>\r\n"));
    EXPECT_THAT(page, HasSubstr("<b>Tom &amp; Jerry&#39;s</b>"));
    EXPECT_THAT(page, HasSubstr("<font size=\"+1\">a b</font>"));
    EXPECT_THAT(page, HasSubstr(heading("R&amp;D")));
    EXPECT_THAT(page, HasSubstr(row("A1A1A1", "https://q.example/?a=1&amp;b=&quot;2&quot;", "say &quot;hi&quot;  now",
                                    "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;")));
    // Windows-1252 names of older libraries become UTF-8; UTF-8 stays as it is.
    EXPECT_THAT(page, HasSubstr(heading("Caf\xC3\xA9")));
    EXPECT_THAT(page, HasSubstr(row("A1A1A1", "http://caf\xC3\xA9.example", "d\xC3\xA9j\xC3\xA0 vu",
                                    "Caf\xC3\xA9 Cr\xC3\xA8me")));
    EXPECT_THAT(page, HasSubstr(row("B2B2B2", "https://cr\xC3\xA8me.example/", "", "Cr\xC3\xA8me")));
}

// The preferences hold $00BBGGRR (red is the low byte) or a system colour.
TEST(HtmlPageTest, coloursAreWrittenAsRgbHexAndSystemColoursAreResolved)
{
    const std::pair<TColor, std::uint32_t> resolved[] = {
        {0x00332211, 0x112233u}, {clWindow, 0xFFFFFFu}, {static_cast<TColor>(0xFF0000C8u), 0xEFEFEFu}};
    for (const auto& [colour, rgb] : resolved)
        EXPECT_EQ(defaultColourResolver(colour), rgb) << colour;
    TPreferences prefs;
    SetDefaultPreferences(prefs, "/home/user");
    prefs.HtmlWelcomeAreaColor = clWindow;
    const auto resolver = [](TColor colour) { return colour == clWindow ? 0x00000Fu : defaultColourResolver(colour); };
    EXPECT_THAT(GenerateHtmlPage({}, resolveHtmlColours(prefs, resolver), {}, linksOf({}), {}),
                HasSubstr("<td bgcolor=\"#00000F\" bordercolor"));
}

using HtmlPageOfALibraryTest = test::HomeTest;

TEST_F(HtmlPageOfALibraryTest, aFailedWriteOfALibrarysPageLeavesTheHomeAsItWas)
{
    test::writeLibrary(home, {.tree = {"Main"}, .links = {{"Main", {{"Link", "https://inner.example/"}}}}});
    library.OpenLibrary(RestoreFolderStates::No);
    TPreferences prefs;
    SetDefaultPreferences(prefs, home.path());
    const std::filesystem::path blocked = home.path() / "page.html";
    std::filesystem::create_directory(blocked);
    const auto before = test::filesBelow(home.path());

    EXPECT_THROW(writeHtmlPage(library, prefs, blocked, std::nullopt, defaultColourResolver), Error);
    EXPECT_EQ(test::filesBelow(home.path()), before);
}

// Per file: the number of links, and one link that shows the hard parts read right.
TEST(BrowserSamples, EveryFileReadsItsLinks)
{
    const fs::path samples = VELLORIA_SAMPLES_DIR;
    if (!fs::is_directory(samples))
        GTEST_SKIP() << "no sample files at " << samples;
    const struct {
        std::string file;
        long links;
        std::string line;
        std::map<SkipReason, std::size_t> skipped = {}; // only what the file really lacks
    } cases[] = {
        {"ie/assembled-single-shortcuts", 3, "Bing | http://go.microsoft.com/fwlink/p/?LinkId=255142 | "},
        {"ie/nnajburg-favorites-win10", 2, "Pricer commun | http://pricer.cloudaers.fr.deloitte.com/ | "},
        // One of the 39 shortcuts of Links has no URL.
        {"ie/sgorain-favorites-win8", 1 + 38 + 5, "Suggested Sites (11) | https://ieonline.microsoft.com/#ieslice | ",
         {{SkipReason::NoAddress, 1}}},
        {"netscape/calibr-chrome_bookmarks.html", 4, "First Level Bookmarks Bar bookmark | http://yahoo.com/ | "},
        {"netscape/calibr-netscape_complex.html", 14, "Recent Tags | place:type=6&sort=14&maxResults=10 | "},
        {"netscape/cosimo-mozbookmarks.html", 15, "Latest Headlines | http://fxfeeds.mozilla.org/ | "},
        {"netscape/cpan-Bookmarks.html", 11, "O'Reilly & Associates | http://www.oreilly.com/ | "},
        {"netscape/cpan-Bookmarks4.7.html", 110, "WebMail | http://home.netscape.com/bookmark/4_76/ptwebmail.html | "},
        // The file marks cut titles with byte 0x8A, which is "ä" in MacRoman.
        {"netscape/cpan-iCab.Hotlist.html", 151,
         "First Internet Bank - Online Banking, Checking,\xC3\xA4 | http://www.firstib.com/ | "},
        {"netscape/cpan-mozilla.html", 219,
         "First Internet Bank - Online Banking, Checking,\xE2\x80\xA6 | http://www.firstib.com/ | "},
        {"netscape/radam9-bookmarks_firefox.html", 27,
         "BMW.com | The international BMW Website | https://www.bmw.com/en/index.html | "},
        {"netscape/shaarli-chromium_nested.htm", 18,
         "Framasoft ~ Page portail du r\xC3\xA9seau | https://framasoft.org/ | "},
        {"netscape/shaarli-delicious.htm", 5,
         "Export Firefox bookmarks to backup or transfer | "
         "https://support.mozilla.org/en-US/kb/export-firefox-bookmarks-to-backup-or-transfer | Export your bookmarks "
         "to an HTML file, which can be used as a backup or for importing into another web browser"},
        {"netscape/shaarli-firefox_nested.htm", 24, "xkcd: Slippery Slope | http://xkcd.com/1332/ | "},
        {"netscape/shaarli-google_bookmarks_nested.htm", 6, "Home | NextAce | https://nextace.com/ | "},
        {"netscape/shaarli-internet_explorer_11_nested.htm", 27,
         "UserFriendly - Web Designer | http://ars.userfriendly.org/cartoons/?id=19971206 | "},
        {"netscape/shaarli-safari_folded.htm", 3, "GitHub | https://github.com/ | "},
        {"netscape/shaarli-scuttle.htm", 4,
         "EuroVoc Thesaurus | http://eurovoc.europa.eu/drupal/?q=navigation&cl=en | "},
        {"netscape/shaarli-shaarli.htm", 6,
         "PHP - Testing Your Privates | https://sebastian-bergmann.de/archives/881-Testing-Your-Privates.html | "},
        {"netscape/shaarli-shaarli_legacy.htm", 2,
         "A Pen by Rodrigo Muniz. | https://gist.github.com/rodrigomuniz/8408734 | simple on/off button"},
        {"opera/cosimo-opera6.adr", 9, "Fake eBay | http://fake.ebay.com/ | http://fake.ebay.com/"},
        {"opera/cosimo-opera-1150.adr", 19, "Sports | http://redir.opera.com/bookmarks/sports.opera.com | "
                                            "http://redir.opera.com/bookmarks/sports.opera.com"},
        {"opera/cosimo-rt75463.adr", 1, "Python | http://www.edgewall.org/python-sidebar/html/toc-tutorial.html | "
                                        "http://www.edgewall.org/python-sidebar/html/toc-tutorial.html"},
        {"opera/lastrada-example.adr", 3, "NRK | https://www.norsk-tipping.no/ | https://www.norsk-tipping.no/"},
        {"opera/matik06-bookmarks.adr", 149, "Zrozumie\xC4\x87 sieci neuronowe - devPytania | "
         "http://devpytania.pl/questions/851/zrozumiec-sieci-neuronowe | "
         "http://devpytania.pl/questions/851/zrozumiec-sieci-neuronowe", {{SkipReason::NoAddress, 3}}}, // "URL="
        {"opera/matik06-tata.adr", 12, "\xC5\xBB" "ar\xC3\xB3wki energooszcz\xC4\x99" "dne | "
         "http://rafalkosik.com/zarowki-energooszczedne | http://rafalkosik.com/zarowki-energooszczedne"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        RecordingSink sink;
        const fs::path path = samples / c.file;
        const ImportCounts counts = fs::is_directory(path) ? ImportIEFavorites(path, sink)
                                    : path.extension() == ".adr" ? readOperaHotlist(test::readBytes(path), sink)
                                                                 : readNetscapeFile(test::readBytes(path), sink);
        EXPECT_EQ(counts.skipped, c.skipped);
        const auto isLink = [](const std::string& line) { return line.starts_with("link "); };
        EXPECT_EQ(std::count_if(sink.lines.begin(), sink.lines.end(), isLink), c.links);
        EXPECT_THAT(sink.lines, Contains("link " + c.line));
    }
}

} // namespace
} // namespace velloria
