// The hotlist: the bytes the export writes, and the lenient reading of hotlists written by
// Opera and by hand.

#include "interchange/InterchangeTesting.h"
#include "interchange/OperaHotlist.h"
#include "platform/FileIO.h"
#include "support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::linksOf;
using test::RecordingSink;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

const std::vector<ExportFolder> kNested = {{"Top", 0}, {"Sub", 1}, {"Deep", 2}};

const ReadExportLinksFunction kNestedLinks = linksOf({
    {"Sub", {{"Example", "www.example.com", "ignored"}, {"Mail", "mailto:me@example.com", ""}}},
});

TEST(OperaHotlistWriter, NestedTreeEndingDeepClosesEveryLevelOnce)
{
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
    const std::string bytes = writeOperaHotlist(kNested, kNestedLinks, [&](std::uint64_t done, std::uint64_t total) {
        progress.emplace_back(done, total);
    });
    EXPECT_EQ(bytes, crlf({"Opera Hotlist version 2.0", "Options: encoding = utf8, version=3",
                           "#FOLDER", "NAME=Top", "CREATED=0", " ",
                           "#FOLDER", "NAME=Sub", "CREATED=0", " ",
                           "#URL", "NAME=Example", "URL=http://www.example.com", "CREATED=0", " ",
                           "#URL", "NAME=Mail", "URL=mailto:me@example.com", "CREATED=0", " ",
                           "#FOLDER", "NAME=Deep", "CREATED=0", " ",
                           "", "-", "", "-", "-"}));
    EXPECT_EQ(progress, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{1, 3}, {2, 3}, {3, 3}}));
}

TEST(OperaHotlistWriter, SiblingsAndLastFolderAtTopLevel)
{
    const std::vector<ExportFolder> folders = {{"A", 0}, {"B", 1}, {"C", 0}};
    const std::string bytes = writeOperaHotlist(folders, linksOf({{"C", {{"Secure", "https://c.example/", ""}}}}));
    EXPECT_EQ(bytes, crlf({"Opera Hotlist version 2.0", "Options: encoding = utf8, version=3",
                           "#FOLDER", "NAME=A", "CREATED=0", " ",
                           "#FOLDER", "NAME=B", "CREATED=0", " ",
                           "", "-", "", "-",
                           "#FOLDER", "NAME=C", "CREATED=0", " ",
                           "#URL", "NAME=Secure", "URL=https://c.example/", "CREATED=0", " ",
                           "-"}));
    EXPECT_EQ(writeOperaHotlist({}, linksOf({})), crlf({"Opera Hotlist version 2.0", "Options: encoding = utf8, version=3"}));
}

TEST(OperaHotlistReader, ReadsBackWhatTheWriterWrote)
{
    RecordingSink sink;
    const HotlistReadStats stats = readOperaHotlist(writeOperaHotlist(kNested, kNestedLinks), sink);
    // The mailto: link is no web address; a hotlist link's description is its address.
    EXPECT_THAT(sink.lines, ElementsAre("folder Top", "folder Sub",
                                        "link Example | http://www.example.com | http://www.example.com",
                                        "folder Deep", "end", "end", "end"));
    EXPECT_EQ(stats, (HotlistReadStats{.folders = 3, .links = 1, .skippedLinks = 1}));
}

TEST(OperaHotlistReader, FieldsBelongToTheirOwnEntryAndOnlyWebAddressesAreImported)
{
    const std::string bytes = "\xEF\xBB\xBFOpera Hotlist version 2.0\n"
                              "Options: encoding = utf8, version=3\n\n"
                              "#FOLDER\n\tID=1\n\n"
                              "  #URL  \r\n\tNAME=  Spaced  \r\tURL=https://secure.example/\r\n"
                              "\tSHORT NAME=nick\n\tDISPLAY URL=http://display.example/\n"
                              "#folder\n\tNAME=lower\n"
                              "#URL\n\tNAME=Files\n\tURL=ftp://files.example/\n"
                              "#URL\n\tURL=www.untitled.example\n"
                              "#SEPERATOR\n\tNAME=separator\n"
                              "#URL\n\tNAME=Empty\n\tURL=\n"
                              "#URL\n\tNAME=Upper\n\tURL=HTTP://upper.example/\n"
                              "-\n \t-\n-\n"
                              "#FOLDER\n\tNAME=Last\n"
                              "#URL\n\tNAME=Cut off\n";
    RecordingSink sink;
    const HotlistReadStats stats = readOperaHotlist(bytes, sink);
    EXPECT_THAT(sink.lines, ElementsAre("folder ", "link Spaced | https://secure.example/ | https://secure.example/",
                                        "link www.untitled.example | www.untitled.example | www.untitled.example",
                                        "link Upper | HTTP://upper.example/ | HTTP://upper.example/", "end", "end",
                                        "end", "folder Last"));
    // Skipped: ftp:, the empty address, and the link cut off by the end.
    EXPECT_EQ(stats, (HotlistReadStats{.folders = 2, .links = 3, .skippedLinks = 3}));

    RecordingSink cutOff;
    EXPECT_EQ(readOperaHotlist("#FOLDER\r\n\tNAME=Kept\r\n#FOLDER\r\n\tID=7", cutOff), (HotlistReadStats{.folders = 1}));
    EXPECT_THAT(cutOff.lines, ElementsAre("folder Kept"));
}

TEST(OperaHotlistReader, ControlCharactersBecomeBlanksAndLegacyBytesAreDecoded)
{
    RecordingSink sink;
    readOperaHotlist("#URL\n\tNAME=Two\x02\x02lines\tand Caf\xE9\x01\n\tURL=http://x.example/a\x02" "b\x7F\n", sink);
    EXPECT_THAT(sink.lines, ElementsAre("link Two  lines and Caf\xC3\xA9 | http://x.example/a b | http://x.example/a b"));
}

TEST(OperaHotlistReader, ImportReadsTheFileAndIgnoresAMissingOne)
{
    test::TempHome home;
    RecordingSink sink;
    ImportOperaHotlist(home.path() / "missing.adr", sink);
    EXPECT_TRUE(sink.lines.empty());
    writeFileAtomically(home.path() / "bookmarks.adr", "#FOLDER\r\n\tNAME=F\r\n\r\n-\r\n");
    ImportOperaHotlist(home.path() / "bookmarks.adr", sink);
    EXPECT_THAT(sink.lines, ElementsAre("folder F", "end"));
}

struct HotlistSample {
    const char* file;
    HotlistReadStats stats;
    std::vector<std::string> someLines;
};

TEST(OperaHotlistReader, ReadsHotlistsWrittenByOpera)
{
    const fs::path samples = fs::path(VELLORIA_SAMPLES_DIR) / "opera";
    if (!fs::is_directory(samples))
        GTEST_SKIP() << "no sample files at " << samples;
    const std::vector<HotlistSample> expected = {
        {"cosimo-opera6.adr", {2, 9, 0},
         {"folder Trash", "link Fake eBay | http://fake.ebay.com/ | http://fake.ebay.com/"}},
        {"cosimo-opera-1150.adr", {2, 19, 0},
         {"folder Opera", "link AVG | http://www.avg.com/ww-en/opera | http://www.avg.com/ww-en/opera",
          "link Sports | http://redir.opera.com/bookmarks/sports.opera.com | http://redir.opera.com/bookmarks/sports.opera.com"}},
        {"cosimo-rt75463.adr", {0, 1, 0},
         {"link Python | http://www.edgewall.org/python-sidebar/html/toc-tutorial.html"
          " | http://www.edgewall.org/python-sidebar/html/toc-tutorial.html"}},
        {"lastrada-example.adr", {1, 3, 0},
         {"folder Folder Name", "link NRK | https://www.norsk-tipping.no/ | https://www.norsk-tipping.no/"}},
        {"matik06-bookmarks.adr", {40, 149, 3},
         {"folder Kosz", "folder ", "folder sieci neuronowe",
          "link Zrozumie\xC4\x87 sieci neuronowe - devPytania | http://devpytania.pl/questions/851/zrozumiec-sieci-neuronowe"
          " | http://devpytania.pl/questions/851/zrozumiec-sieci-neuronowe"}},
        {"matik06-tata.adr", {2, 12, 0},
         {"folder stare",
          "link \xC5\xBB" "ar\xC3\xB3wki energooszcz\xC4\x99" "dne | http://rafalkosik.com/zarowki-energooszczedne"
          " | http://rafalkosik.com/zarowki-energooszczedne"}},
    };
    for (const HotlistSample& sample : expected) {
        SCOPED_TRACE(sample.file);
        RecordingSink sink;
        EXPECT_EQ(readOperaHotlist(readFile(samples / sample.file), sink), sample.stats);
        EXPECT_THAT(sink.lines, IsSupersetOf(sample.someLines));
    }
}

} // namespace
} // namespace velloria
