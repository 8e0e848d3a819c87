// The bookmark HTML file: the exact bytes the writer produces, and what the reader makes of
// hand-made cases and of files written by real browsers.

#include "base/Error.h"
#include "interchange/InterchangeTesting.h"
#include "interchange/NetscapeFile.h"
#include "support/LibraryFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace velloria {
namespace {

using test::crlf;
using test::linksOf;
using test::RecordingSink;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> readLines(std::string_view bytes, NetscapeReadStats* stats = nullptr)
{
    RecordingSink recorder;
    const NetscapeReadStats found = readNetscapeFile(bytes, recorder);
    if (stats)
        *stats = found;
    return recorder.lines;
}

constexpr std::string_view kHead = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Velloria</TITLE>\r\n<H1>Velloria</H1>\r\n";

// ---- Writer ----

TEST(NetscapeWriter, NestsFoldersByLevelAndClosesEveryList)
{
    const std::vector<ExportFolder> folders = {{"News", 0},   {"Local", 1}, {"World", 1},    {"Europe", 2},
                                               {"Nordic", 3}, {"Work", 0},  {"Projects", 1}, {"Velloria", 2}};
    const auto readLinks = linksOf({{"News", {{"Front page", "https://news.example/", ""}}},
                                      {"Nordic", {{"Yle", "yle.fi", "Finnish news"}, {"SVT", "ftp://svt.se", ""}}}});
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
    const std::string bytes = writeNetscapeFile(folders, readLinks, [&](auto done, auto total) {
        progress.emplace_back(done, total);
    });
    EXPECT_EQ(bytes, std::string(kHead) + crlf({"<DL><p>",
                                               "<DT><H3>News</H3>", "<DL><p>",
                                               "<DT><A HREF=\"https://news.example/\">Front page</A>",
                                               "<DT><H3>Local</H3>", "<DL><p>", "</DL><p>",
                                               "<DT><H3>World</H3>", "<DL><p>",
                                               "<DT><H3>Europe</H3>", "<DL><p>",
                                               "<DT><H3>Nordic</H3>", "<DL><p>",
                                               "<DT><A HREF=\"http://yle.fi\">Yle</A>",
                                               "<DT><A HREF=\"ftp://svt.se\">SVT</A>",
                                               "</DL><p>", "</DL><p>", "</DL><p>", "</DL><p>",
                                               "<DT><H3>Work</H3>", "<DL><p>",
                                               "<DT><H3>Projects</H3>", "<DL><p>",
                                               "<DT><H3>Velloria</H3>", "<DL><p>",
                                               "</DL><p>", "</DL><p>", "</DL><p>",
                                               "</DL><p>"}));
    EXPECT_EQ(progress.size(), 8u);
    EXPECT_EQ(progress.front(), std::make_pair(std::uint64_t{1}, std::uint64_t{8}));
    EXPECT_EQ(progress.back(), std::make_pair(std::uint64_t{8}, std::uint64_t{8}));
}

TEST(NetscapeWriter, EscapesEveryTextAndWritesNoDescription)
{
    const auto readLinks = linksOf({{"R&D <new>", {{"Say \"hi\" & <bye>", "example.com/?a=1&b=\"2\"", "not written"}}}});
    EXPECT_EQ(writeNetscapeFile({{"R&D <new>", 0}}, readLinks),
              std::string(kHead) + crlf({"<DL><p>", "<DT><H3>R&amp;D &lt;new&gt;</H3>", "<DL><p>",
                                         "<DT><A HREF=\"http://example.com/?a=1&amp;b=&quot;2&quot;\">"
                                         "Say &quot;hi&quot; &amp; &lt;bye&gt;</A>",
                                         "</DL><p>", "</DL><p>"}));
    EXPECT_EQ(writeNetscapeFile({}, readLinks), std::string(kHead) + crlf({"<DL><p>", "</DL><p>"}));
}

TEST(NetscapeWriter, RoundTripKeepsFoldersTitlesAndAddresses)
{
    const std::vector<ExportFolder> folders = {{"Q&A <\"quoted\">", 0}, {"Inner", 1}, {"Next", 0}};
    const auto readLinks = linksOf({{"Q&A <\"quoted\">", {{"A & B < C > \"D\"", "https://x.example/?a=1&b=<2>", ""}}},
                                      {"Inner", {{"caf\xC3\xA9 \xE2\x80\xA6", "https://y.example/'q'", ""}}}});
    EXPECT_THAT(readLines(writeNetscapeFile(folders, readLinks)),
                ElementsAre("folder Q&A <\"quoted\">", "link A & B < C > \"D\" | https://x.example/?a=1&b=<2> | ",
                            "folder Inner", "link caf\xC3\xA9 \xE2\x80\xA6 | https://y.example/'q' | ", "end", "end",
                            "folder Next", "end"));
}

// ---- Reader ----

TEST(NetscapeReader, ReadsWhatBrowsersWriteAroundFoldersAndLinks)
{
    NetscapeReadStats stats;
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
    // Skipped: the <A> without an address, <BR>, <Foo> and </Foo>.
    EXPECT_EQ(stats, (NetscapeReadStats{.folders = 1, .links = 3, .skippedTags = 4}));
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
        {"ISO-8859-1 is read as Windows-1252", meta + "ISO-8859-1\">" + body, windows1252},
        {"no charset: Windows-1252 where not UTF-8", body, windows1252},
        {"x-mac-system", meta + "X-MAC-SYSTEM\">" + body, macRoman},
        {"x-mac-roman", "<meta charset='x-mac-roman'>" + body, macRoman},
        {"UTF-8 stays, what is not UTF-8 is Windows-1252",
         meta + "UTF-8\"><DT><A HREF=\"x\">caf\xC3\xA9</A><DT><A HREF=\"y\">caf\xE9</A>",
         {"link caf\xC3\xA9 | x | ", "link caf\xC3\xA9 | y | "}},
        {"a META after the bookmarks have begun is not the file's charset",
         "<DT><A HREF=\"x\">a</A><META CONTENT=\"charset=x-mac-roman\"><DT><A HREF=\"y\">\xC3\xA9</A>",
         {"link a | x | ", "link \xC3\xA9 | y | "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readLines(c.bytes), c.lines);
    }
}

TEST(NetscapeReader, ReportsProgressAcrossLargeFiles)
{
    std::string bytes = "<DL>";
    while (bytes.size() < 600 * 1024)
        bytes += "<DT><A HREF=\"https://example.com/\" ICON=\"data:" + std::string(1000, 'A') + "\">T</A>\n";
    RecordingSink recorder;
    const NetscapeReadStats stats = readNetscapeFile(bytes, recorder);
    EXPECT_EQ(stats.links, recorder.lines.size());
    ASSERT_GE(recorder.progressCalls.size(), 4u); // the start, two steps of 256 KB, the end
    EXPECT_EQ(recorder.progressCalls.front(), std::make_pair(std::uint64_t{0}, std::uint64_t{bytes.size()}));
    EXPECT_EQ(recorder.progressCalls.back(), std::make_pair(std::uint64_t{bytes.size()}, std::uint64_t{bytes.size()}));
}

TEST(NetscapeReader, ImportsAFileByPath)
{
    test::TempHome home;
    home.write("bookmarks.html", "<DT><A HREF=\"a\">A</A>");
    RecordingSink recorder;
    ImportNetscapeFile(home.refLib() / "bookmarks.html", recorder);
    EXPECT_THAT(recorder.lines, ElementsAre("link A | a | "));
    RecordingSink untouched;
    ImportNetscapeFile(home.refLib() / "missing.html", untouched);
    EXPECT_THAT(untouched.lines, IsEmpty());
    EXPECT_THAT(untouched.progressCalls, IsEmpty());
    EXPECT_THROW(ImportNetscapeFile(home.refLib(), untouched), Error); // a directory in its place
}

// ---- Files written by real browsers ----

struct SampleExpectation {
    std::string file;
    std::size_t folders;
    std::size_t links;
    std::vector<std::string> lines; // each must be among the recorded lines
};

std::optional<std::string> sampleBytes(const std::string& file)
{
    std::string bytes = test::readBytes(std::filesystem::path(VELLORIA_SAMPLES_DIR) / "netscape" / file);
    return bytes == "<missing>" ? std::nullopt : std::optional(bytes);
}

TEST(NetscapeSamples, ReadEveryBrowserFile)
{
    if (!std::filesystem::is_directory(std::filesystem::path(VELLORIA_SAMPLES_DIR) / "netscape"))
        GTEST_SKIP() << "no sample files";
    const std::vector<SampleExpectation> samples = {
        {"calibr-chrome_bookmarks.html", 3, 4,
         {"folder First level bookmark bar folder",
          "link First level other bookmarks bookmark | http://reddit.com/ | "}},
        {"calibr-netscape_complex.html", 6, 14,
         {"link Recent Tags | place:type=6&sort=14&maxResults=10 | ", "folder Bookmarks Toolbar",
          "link Proficiency in Grammar and Language for CXC - Louis A. Forde, L. G. Marsh - Google "
          "\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB8 | https://books.google.com/books | NO description available"}},
        {"cosimo-mozbookmarks.html", 3, 15,
         {"folder Quick Searches",
          "link Google Quicksearch | http://www.google.com/search?q=%s | "
          "Type \"google <search terms>\" in the location bar to perform a Google search"}},
        {"cpan-Bookmarks.html", 4, 11,
         {"folder Public radio",
          "link From WBEZ in Chicago | This American Life | http://www.thislife.org/ | The best radio show of all time.",
          "link O'Reilly & Associates | http://www.oreilly.com/ | "}},
        {"cpan-Bookmarks4.7.html", 13, 110,
         {"folder Personal Toolbar Folder",
          "link Market & Sell | http://home.netscape.com/bookmark/4_76/nbmarket.html | "}},
        // The file marks cut titles with byte 0x8A, which is "ä" in MacRoman.
        {"cpan-iCab.Hotlist.html", 32, 151,
         {"folder DDJ articles", "link First Internet Bank - Online Banking, Checking,\xC3\xA4 | http://www.firstib.com/ | ",
          "link Sony Electronics Support: Common Solutions (FAQ) | "
          "http://sawebp1.sel.sony.com/cgi-bin/ewdiag.exe?FUNC=302&NODE=3917&EWUID=1 | "}},
        {"cpan-mozilla.html", 33, 219,
         {"link First Internet Bank - Online Banking, Checking,\xE2\x80\xA6 | http://www.firstib.com/ | ",
          "link LaTeX | file:///Otter/Users/brian/Documentation/latex/index.html | ",
          "link Showtimes | http://movies.yahoo.com/showtimes/showtimes.html?z=60640&r=sim | "}},
        {"radam9-bookmarks_firefox.html", 8, 27,
         {"folder Web Services",
          "link New Cars, Trucks, SUVs & Hybrids | Toyota Official Site | https://www.toyota.com/ | ",
          "link Twitter. It\xE2\x80\x99s what\xE2\x80\x99s happening / Twitter | https://twitter.com/?lang=en | ",
          "link Cloud Computing Services \xC2\xA0|\xC2\xA0 Google Cloud | https://cloud.google.com/ | "}},
        {"shaarli-chromium_nested.htm", 7, 18,
         {"folder Self-hosting", "link Framasoft ~ Page portail du r\xC3\xA9seau | https://framasoft.org/ | "}},
        {"shaarli-delicious.htm", 0, 5,
         {"link Paper craft Mine Turtle | http://storml.deviantart.com/art/Mine-Turtle-Instructions-302477240"
          "?q=in%3Ascraps%20sort%3Atime%20gallery%3Astorml&qo=1 | \"Hello!\""}},
        {"shaarli-firefox_nested.htm", 6, 24,
         {"link Recent tags | place:type=6&sort=14&maxResults=10 | ", "link xkcd: Slippery Slope | http://xkcd.com/1332/ | ",
          "link How to run a meetup without giving up your life | "
          "http://whistlestudios.com/2016/03/how-to-run-a-meetup-without-giving-up-your-life/ | If running a Meetup "
          "feels like a full-time job, you're probably doing it wrong. Volunteering is important and you can make it "
          "work with some smart maneuvering."}},
        {"shaarli-google_bookmarks_nested.htm", 1, 6, {"folder Unlabeled", "link Home | NextAce | https://nextace.com/ | "}},
        {"shaarli-internet_explorer_11_nested.htm", 9, 27,
         {"folder Links", "link CSS 3D Clouds | https://www.clicktorelease.com/code/css3dclouds/# | "}},
        {"shaarli-safari_folded.htm", 5, 3,
         {"folder Menu Signets", "link Wikipedia, the free encyclopedia | https://en.wikipedia.org/wiki/Main_Page | "}},
        {"shaarli-scuttle.htm", 0, 4,
         {"link EuroVoc Thesaurus | http://eurovoc.europa.eu/drupal/?q=navigation&cl=en | ",
          "link UN Terminology in German, English (& French & Spanish) | http://unterm.un.org/dgaacs/gts_term.nsf | "}},
        {"shaarli-shaarli.htm", 0, 6,
         {"link Kouign'amann recipes | ?lY47tw | \"Is there anything more fabulous than something created through "
          "the wonder and miracle of caramelization?\" - http://www.davidlebovitz.com/2005/08/long-live-the-k/ - "
          "http://www.bonappetit.com/recipe/kouign-amann \"It is strictly forbidden to think about diet while you're "
          "making a Kouign Amann\""}},
        {"shaarli-shaarli_legacy.htm", 0, 2,
         {"link A Pen by Rodrigo Muniz. | https://gist.github.com/rodrigomuniz/8408734 | simple on/off button"}},
    };
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.file);
        const auto bytes = sampleBytes(sample.file);
        ASSERT_TRUE(bytes);
        NetscapeReadStats stats;
        const auto lines = readLines(*bytes, &stats);
        EXPECT_EQ(stats.folders, sample.folders);
        EXPECT_EQ(stats.links, sample.links);
        for (const auto& line : sample.lines)
            EXPECT_THAT(lines, Contains(line));
        for (const auto& line : lines)
            EXPECT_EQ(line.find_first_of("\r\n\t"), std::string::npos) << line;
    }
}

TEST(NetscapeSamples, NestingOfSmallFilesIsExact)
{
    const auto safari = sampleBytes("shaarli-safari_folded.htm");
    const auto chrome = sampleBytes("calibr-chrome_bookmarks.html");
    if (!safari || !chrome)
        GTEST_SKIP() << "no sample files";
    EXPECT_THAT(readLines(*safari),
                ElementsAre("folder Favoris", "link GitHub | https://github.com/ | ", "end", "folder Menu Signets", "end",
                            "folder Github - Shaarli",
                            "link GitHub - shaarli/Shaarli: The personal, minimalist, super-fast, database free, "
                            "bookmarking service - community repo | https://github.com/shaarli/Shaarli | ",
                            "end", "folder Autre Divers", "folder doc",
                            "link Wikipedia, the free encyclopedia | https://en.wikipedia.org/wiki/Main_Page | ", "end",
                            "end"));
    EXPECT_THAT(readLines(*chrome),
                ElementsAre("folder Bookmarks Bar", "link First Level Bookmarks Bar bookmark | http://yahoo.com/ | ",
                            "folder First level bookmark bar folder",
                            "link Bookmarks bar second level bookmark | http://bing.com/ | ", "end", "end",
                            "folder First level other bookmarks folder",
                            "link Second level other bookmarks bookmark | http://msn.com/ | ", "end",
                            "link First level other bookmarks bookmark | http://reddit.com/ | "));
}

} // namespace
} // namespace velloria
