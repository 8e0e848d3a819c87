// The hotlist: the bytes the export writes, and the lenient reading of hotlists written by
// Opera and by hand.

#include "interchange/InterchangeTesting.h"
#include "interchange/OperaHotlist.h"
#include "platform/FileIO.h"
#include "support/LibraryFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::linksOf;
using test::RecordingSink;
using ::testing::ElementsAre;
using ::testing::Contains;

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
        HotlistReadStats stats;
    } cases[] = {
        // Fields belong to their own entry; ftp:, an empty address and a link cut off by the end are
        // skipped; a hotlist link's description is its address.
        {"by hand",
         "\xEF\xBB\xBFOpera Hotlist version 2.0\nOptions: encoding = utf8, version=3\n\n#FOLDER\n\tID=1\n\n"
         "  #URL  \r\n\tNAME=  Spaced  \r\tURL=https://secure.example/\r\n\tSHORT NAME=nick\n"
         "\tDISPLAY URL=http://display.example/\n#folder\n\tNAME=lower\n#URL\n\tNAME=Files\n\tURL=ftp://files.example/\n"
         "#URL\n\tURL=www.untitled.example\n#SEPERATOR\n\tNAME=separator\n#URL\n\tNAME=Empty\n\tURL=\n"
         "#URL\n\tNAME=Upper\n\tURL=HTTP://upper.example/\n-\n \t-\n-\n#FOLDER\n\tNAME=Last\n#URL\n\tNAME=Cut off\n",
         {"folder ", "link Spaced | https://secure.example/ | https://secure.example/",
          "link www.untitled.example | www.untitled.example | www.untitled.example",
          "link Upper | HTTP://upper.example/ | HTTP://upper.example/", "end", "end", "end", "folder Last"},
         {.folders = 2, .links = 3, .skippedLinks = 3}},
        {"cut folder", "#FOLDER\r\n\tNAME=Kept\r\n#FOLDER\r\n\tID=7", {"folder Kept"}, {.folders = 1}},
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

// The counts of each hotlist, and a link that shows the text read right.
TEST(OperaHotlistReader, ReadsHotlistsWrittenByOpera)
{
    const fs::path samples = fs::path(VELLORIA_SAMPLES_DIR) / "opera";
    if (!fs::is_directory(samples))
        GTEST_SKIP() << "no sample files at " << samples;
    const struct {
        const char* file;
        HotlistReadStats stats;
        std::string title, address;
    } expected[] = {
        {"cosimo-opera6.adr", {2, 9, 0}, "Fake eBay", "http://fake.ebay.com/"},
        {"cosimo-opera-1150.adr", {2, 19, 0}, "Sports", "http://redir.opera.com/bookmarks/sports.opera.com"},
        {"cosimo-rt75463.adr", {0, 1, 0}, "Python", "http://www.edgewall.org/python-sidebar/html/toc-tutorial.html"},
        {"lastrada-example.adr", {1, 3, 0}, "NRK", "https://www.norsk-tipping.no/"},
        {"matik06-bookmarks.adr", {40, 149, 3}, "Zrozumie\xC4\x87 sieci neuronowe - devPytania",
         "http://devpytania.pl/questions/851/zrozumiec-sieci-neuronowe"},
        {"matik06-tata.adr", {2, 12, 0}, "\xC5\xBB" "ar\xC3\xB3wki energooszcz\xC4\x99" "dne",
         "http://rafalkosik.com/zarowki-energooszczedne"},
    };
    for (const auto& sample : expected) {
        SCOPED_TRACE(sample.file);
        RecordingSink sink;
        EXPECT_EQ(readOperaHotlist(readFile(samples / sample.file), sink), sample.stats);
        EXPECT_THAT(sink.lines, Contains("link " + sample.title + " | " + sample.address + " | " + sample.address));
    }
}

} // namespace
} // namespace velloria
