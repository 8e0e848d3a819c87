// The bookmark HTML file: the exact bytes the writer produces, and what the reader makes of
// hand-made cases and of files written by real browsers.

#include "interchange/InterchangeTesting.h"
#include "interchange/NetscapeFile.h"
#include "support/LibraryFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>


namespace velloria {
namespace {

using test::crlf;
using test::linksOf;
using test::RecordingSink;
using ::testing::Contains;
using ::testing::ElementsAre;

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
    const std::vector<ExportFolder> folders = {{"News", 0}, {"Local", 1}, {"World", 1}, {"Nordic", 2}, {"Work", 0}};
    const auto readLinks = linksOf({{"News", {{"Front page", "https://news.example/", ""}}},
                                    {"Nordic", {{"Yle", "yle.fi", "Finnish news"}, {"SVT", "ftp://svt.se", ""}}}});
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
    const std::string bytes = writeNetscapeFile(folders, readLinks, [&](auto done, auto total) {
        progress.emplace_back(done, total);
    });
    EXPECT_EQ(bytes, std::string(kHead) + crlf({"<DL><p>", "<DT><H3>News</H3>", "<DL><p>",
                                               "<DT><A HREF=\"https://news.example/\">Front page</A>",
                                               "<DT><H3>Local</H3>", "<DL><p>", "</DL><p>",
                                               "<DT><H3>World</H3>", "<DL><p>", "<DT><H3>Nordic</H3>", "<DL><p>",
                                               "<DT><A HREF=\"http://yle.fi\">Yle</A>",
                                               "<DT><A HREF=\"ftp://svt.se\">SVT</A>",
                                               "</DL><p>", "</DL><p>", "</DL><p>",
                                               "<DT><H3>Work</H3>", "<DL><p>", "</DL><p>", "</DL><p>"}));
    EXPECT_EQ(progress, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));
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
        {"no charset: Windows-1252 where not UTF-8", body, windows1252},
        {"x-mac-system", meta + "X-MAC-SYSTEM\">" + body, macRoman},
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

// ---- Files written by real browsers ----

// The counts of each file, and a link or folder that shows the hard parts read right.
TEST(NetscapeSamples, ReadEveryBrowserFile)
{
    const std::filesystem::path directory = std::filesystem::path(VELLORIA_SAMPLES_DIR) / "netscape";
    if (!std::filesystem::is_directory(directory))
        GTEST_SKIP() << "no sample files";
    const struct {
        std::string file;
        std::size_t folders, links;
        std::string line; // one of the recorded lines
    } samples[] = {
        {"calibr-chrome_bookmarks.html", 3, 4, "folder First level bookmark bar folder"},
        {"calibr-netscape_complex.html", 6, 14, "link Recent Tags | place:type=6&sort=14&maxResults=10 | "},
        {"cosimo-mozbookmarks.html", 3, 15, "folder Quick Searches"},
        {"cpan-Bookmarks.html", 4, 11, "link O'Reilly & Associates | http://www.oreilly.com/ | "},
        {"cpan-Bookmarks4.7.html", 13, 110, "folder Personal Toolbar Folder"},
        // The file marks cut titles with byte 0x8A, which is "ä" in MacRoman.
        {"cpan-iCab.Hotlist.html", 32, 151,
         "link First Internet Bank - Online Banking, Checking,\xC3\xA4 | http://www.firstib.com/ | "},
        {"cpan-mozilla.html", 33, 219,
         "link First Internet Bank - Online Banking, Checking,\xE2\x80\xA6 | http://www.firstib.com/ | "},
        {"radam9-bookmarks_firefox.html", 8, 27, "folder Web Services"},
        {"shaarli-chromium_nested.htm", 7, 18,
         "link Framasoft ~ Page portail du r\xC3\xA9seau | https://framasoft.org/ | "},
        {"shaarli-delicious.htm", 0, 5, ""},
        {"shaarli-firefox_nested.htm", 6, 24, "link xkcd: Slippery Slope | http://xkcd.com/1332/ | "},
        {"shaarli-google_bookmarks_nested.htm", 1, 6, "link Home | NextAce | https://nextace.com/ | "},
        {"shaarli-internet_explorer_11_nested.htm", 9, 27, "folder Links"},
        {"shaarli-safari_folded.htm", 5, 3, "folder Menu Signets"},
        {"shaarli-scuttle.htm", 0, 4, ""},
        {"shaarli-shaarli.htm", 0, 6, ""},
        {"shaarli-shaarli_legacy.htm", 0, 2,
         "link A Pen by Rodrigo Muniz. | https://gist.github.com/rodrigomuniz/8408734 | simple on/off button"},
    };
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.file);
        NetscapeReadStats stats;
        const auto lines = readLines(test::readBytes(directory / sample.file), &stats);
        EXPECT_EQ(stats.folders, sample.folders);
        EXPECT_EQ(stats.links, sample.links);
        if (!sample.line.empty()) {
            EXPECT_THAT(lines, Contains(sample.line));
        }
        for (const auto& line : lines)
            EXPECT_EQ(line.find_first_of("\r\n\t"), std::string::npos) << line;
    }
}

} // namespace
} // namespace velloria
