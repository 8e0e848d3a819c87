// Hostile and broken input: a home that cannot be written, a full disk, a directory where a link
// file belongs, names at the file-name limit, damaged bytes, huge lines, deep nesting and
// unbalanced bookmark files. Each ends with a clear message and with nothing that was stored lost.

#include "cli/CommandLineTool.h"
#include "interchange/Export.h"
#include "interchange/Import.h"
#include "mainwindow/ItemDialogs.h"
#include "platform/FileIO.h"
#include "support/Fixtures.h"
#include "support/FileFaults.h"

#include <gmock/gmock.h>

#include <cerrno>
#include <sstream>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::crlf;
using test::errorOf;
using test::Lines;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using namespace std::string_literals;

const Lines kSampleTree = {"Top", ".A", "..A1", "..A2", ".B", "Other"};
const Lines kSampleTitles = {"zeta", "Alpha", "mid"};

class HostileInputTest : public test::WindowTest {
protected:
    HostileInputTest() { source("b.html", "<DL><p><DT><H3>News</H3><DL><p><DT><A HREF=\"x\">X</A></DL><p></DL>"); }
    fs::path source(const std::string& name, std::string_view bytes) const
    {
        test::writeBytes(home.path() / name, bytes);
        return home.path() / name;
    }
    std::string addTypedFolder(const std::string& name)
    {
        model.execute(Command::EditAddFolder);
        NewItemDialog dialog(model);
        dialog.accept(name, "", "", Confirmation::OkButton);
        return dialog.added();
    }
    // "Cannot create file" for some file of RefLib, for the reason given.
    auto cannotCreateInLibrary(const std::string& reason) const
    {
        return AllOf(StartsWith("Cannot create file \"" + home.refLib().string() + "/"),
                     EndsWith("\". " + reason));
    }
    // Adding a link, a folder, an import and the save all fail for the reason given, and the
    // window goes on showing what is stored.
    void expectEveryChangeRefused(const std::string& reason, const Lines& titlesOfB)
    {
        EXPECT_EQ(errorOf([&] { model.editing().addLink("Lost", "https://lost.example/", ""); }),
                  "Cannot create file \"" + (home.links() / "B.wnl").string() + "\". " + reason);
        EXPECT_EQ(titles(), titlesOfB);
        EXPECT_THAT(errorOf([&] { addTypedFolder("Fresh"); }), cannotCreateInLibrary(reason));
        EXPECT_THAT(errorOf([&] { importSource(model, ImportSource::Netscape, home.path() / "b.html"); }),
                    cannotCreateInLibrary(reason));
        EXPECT_EQ(tree(), kSampleTree);
        EXPECT_THAT(errorOf([&] { model.lifecycle().saveLibrary(); }), cannotCreateInLibrary(reason));
    }
};

TEST_F(HostileInputTest, ReadOnlyHomeReportsEveryRefusedWriteAndChangesNoFile)
{
    fs::create_directory(home.path() / "Empty");
    const auto before = home.snapshot();
    const test::FailingSteps readOnly({FileStep::CreateDirectory, FileStep::CreateTemporary, FileStep::Delete}, EACCES);
    const std::string reason = systemReason(EACCES);
    MainWindowModel empty{home.path() / "Empty", clock, opener, "/home/user"};
    EXPECT_EQ(errorOf([&] { empty.lifecycle().FormCreate(); }), "Cannot create directory \""
                  + (home.path() / "Empty" / "RefLib").string() + "\". " + reason);
    EXPECT_TRUE(empty.library().folderTree().empty());

    // A library is read as usual; every change names the file it could not write.
    model.lifecycle().FormCreate();
    model.tree().selectFolder(4);
    expectEveryChangeRefused(reason, kSampleTitles);
    std::ostringstream out, err;
    EXPECT_EQ(runCommandLine({"--home", home.path().string(), "add-folder", "Fresh"}, {out, err, clock, {}}), 1);
    EXPECT_THAT(err.str(), HasSubstr("Cannot create file \"" + (home.refLib() / "foldst.wnf").string() + "\". "
                                     + reason + "\n"));
    EXPECT_EQ(home.snapshot(), before);
}

TEST_F(HostileInputTest, FullDiskKeepsEveryFileAndTheNextSaveWorksOnceThereIsRoom)
{
    model.lifecycle().FormCreate();
    model.tree().selectFolder(4);
    model.editing().addLink("Unsaved", "https://unsaved.example/", "");
    const auto before = home.snapshot();
    {
        const test::FailingSteps fullDisk({FileStep::WritePart}, ENOSPC);
        expectEveryChangeRefused(systemReason(ENOSPC), {"zeta", "Alpha", "mid", "Unsaved"});
    }
    EXPECT_TRUE(model.lifecycle().libraryModified());
    EXPECT_EQ(home.snapshot(), before); // every file kept, no temporary file left
    model.lifecycle().saveLibrary();
    EXPECT_FALSE(model.lifecycle().libraryModified());
    EXPECT_THAT(linksOf("B", ".~wnl"), ElementsAre("zeta https://z.example/", "Alpha a.example/path",
                                                   "mid mailto:mid@example.org", "Unsaved https://unsaved.example/"));
}

TEST_F(HostileInputTest, DirectoryInPlaceOfALinkFileIsReportedAndTheOtherFoldersWork)
{
    fs::create_directory(home.links() / "A1.wnl");
    const std::string cannotOpen = "Cannot open file \"" + (home.links() / "A1.wnl").string() + "\". Is a directory";
    model.lifecycle().FormCreate();
    EXPECT_EQ(errorOf([&] { model.tree().selectFolder(2); }), cannotOpen);
    model.tree().selectFolder(4);
    EXPECT_EQ(titles(), kSampleTitles);
    EXPECT_EQ(errorOf([&] { model.search().Find("Alpha"); }), cannotOpen);
    // The save stops there and does not count as done.
    model.lifecycle().libraryChanged();
    EXPECT_EQ(errorOf([&] { model.lifecycle().saveLibrary(); }), cannotOpen);
    EXPECT_TRUE(model.lifecycle().libraryModified());
    EXPECT_TRUE(fs::is_directory(home.links() / "A1.wnl"));
}

TEST_F(HostileInputTest, FolderNamesAtTheFileNameLimitAreShortenedAndKeepTheirLinks)
{
    open({"000 1.0", "037 False"});
    std::string euros; // 300 bytes
    while (euros.size() < 300)
        euros += "\xE2\x82\xAC";
    const std::string typed[] = {std::string(255, 'a'), euros};
    for (std::size_t i = 0; i < std::size(typed); ++i) {
        addTypedFolder(typed[i]);
        model.tree().selectFolder(6 + i);
        model.editing().addLink(typed[i].substr(0, 3), "https://typed.example/", "");
    }
    const std::string h = "<DT><H3>" + std::string(255, 'h') + "</H3><DL><p><DT><A HREF=\"https://h.example/\">H</A></DL>";
    importSource(model, ImportSource::Netscape, source("b.html", "<DL><p>" + h + h + "</DL>"));
    // Each folder shows the links of the link file of its shortened name.
    const std::pair<std::string, Lines> expected[] = {
        {std::string(242, 'a'), {"aaa"}}, {euros.substr(0, 240), {"\xE2\x82\xAC"}}, {"Netscape", {}},
        {std::string(242, 'h'), {"H"}}, {std::string(242, 'h') + "_1", {"H"}}};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        model.tree().selectFolder(6 + i);
        EXPECT_EQ(model.library().folderTree()[6 + i].Name, expected[i].first);
        EXPECT_EQ(titles(), expected[i].second);
    }
}

TEST_F(HostileInputTest, InvalidUtf8AndNulBytesInLibraryFilesAreKeptThroughTheNextSave)
{
    writePreferences({"000 1.0", "037 False", "040 0"});
    const std::string description = "d\xE9j\xE0\0vu"s;
    home.write("folders.wnf", crlf({"Top", "\tCaf\xE9", "\tB", "\xFF\xFE\x80", "Nul\0name"s}));
    home.write("folddesc.wnf", crlf({"Caf\xE9", description}));
    home.write("Links/Caf\xE9.wnl", test::linkFile({{"T\xEAte", "http://x.example/\0tail"s, "", "2026.1.1", "n\xFFte"},
                                                    {"\xC3\xA9t\xC3\xA9", "https://e.example/", "", "2026.1.2"}}));
    // A run of NUL bytes where a crash cut a write short, and a link after it.
    const std::string padded = test::linkFile({{"Kept", "https://kept.example/"}}) + std::string(6, '\0') + "\r\n"
                             + test::linkFile({{"After", "https://after.example/"}});
    home.write("Links/B.wnl", padded);

    EXPECT_EQ(errorOf([&] { model.lifecycle().FormCreate(); }),
              "The folder name \"Nul\\0name\" cannot be used as a file name; the folder is called \"Nul name\" instead");
    EXPECT_EQ(tree(), (Lines{"Top", ".Caf\xE9", ".B", "\xFF\xFE\x80", "Nul name"}));
    model.tree().selectFolder(1);
    EXPECT_EQ(titles(), (Lines{"T\xEAte", "\xC3\xA9t\xC3\xA9"}));
    EXPECT_EQ(model.library().folderDescription(), description);
    // A written value holds no control character: the NUL byte becomes a blank, the rest stays.
    const std::string cafeLinks = test::linkFile({{"T\xEAte", "http://x.example/ tail", "", "2026.1.1", "n\xFFte"},
                                                  {"\xC3\xA9t\xC3\xA9", "https://e.example/", "", "2026.1.2"}});
    EXPECT_EQ(home.read("Links/Caf\xE9.wnl"), cafeLinks);
    // The rows before the fault are shown; the file is not cut down to them.
    EXPECT_EQ(errorOf([&] { model.tree().selectFolder(2); }), "'\\0' is not a valid integer value");
    EXPECT_EQ(titles(), (Lines{"Kept"}));

    addTypedFolder("New");
    model.lifecycle().saveLibrary();
    EXPECT_EQ(home.read("folders.~wnf"), crlf({"Top", "\tCaf\xE9", "\tB", "\tNew", "\xFF\xFE\x80", "Nul name"}));
    EXPECT_EQ(home.read("folddesc.~wnf"), crlf({"Caf\xE9", description, "New", ""}));
    EXPECT_EQ(home.read("Links/B.~wnl"), padded);
}

TEST_F(HostileInputTest, DamagedAndUnbalancedImportFilesStayInsideTheImportFolderAndEveryLinkArrives)
{
    model.lifecycle().FormCreate();
    const struct {
        ImportSource kind;
        std::string file;
        std::string bytes;
    } sources[] = {
        // Invalid UTF-8 and NUL bytes become text.
        {ImportSource::Netscape, "b.html", "<DL><p><DT><H3>Caf\xE9\0</H3><DL><p><DT><A HREF=\"http://x.example/\xFF\0\">"
                                           "T\0\xE9l\xE9</A><DD>d\0\xE9sc</DL><p></DL>"s},
        // Closings before anything opened, more closings than lists, and lists never closed.
        {ImportSource::Netscape, "u.html", "</DL><p></DL><DT><A HREF=\"http://a.example/\">A</A><DL><p><DT><H3>F</H3>"
                                           "<DL><p><DT><A HREF=\"http://f.example/\">F1</A></DL></DL></DL></DL><p>"
                                           "<DT><A HREF=\"http://b.example/\">B</A><DT><H3>G</H3><DL><p>"
                                           "<DT><A HREF=\"http://g.example/\">G1</A>"},
        // Stray closings, and an entry that the end of the file cuts off before its address.
        {ImportSource::Opera, "u.adr", "-\n-\n#URL\n\tNAME=One\n\tURL=http://one.example/\n#FOLDER\n\tNAME=Sub\n"
                                       "#URL\n\tNAME=Two\n\tURL=http://two.example/\n-\n-\n-\n"
                                       "#URL\n\tNAME=Three\n\tURL=http://three.example/\n#URL\n\tNAME=Cut"},
    };
    for (const auto& s : sources)
        importSource(model, s.kind, source(s.file, s.bytes));
    Lines expectedTree = kSampleTree;
    expectedTree.insert(expectedTree.end(), {"Netscape", ".Caf\xC3\xA9", "Netscape_1", ".F", ".G", "Opera", ".Sub"});
    EXPECT_EQ(tree(), expectedTree);
    EXPECT_EQ(home.read("Links/Caf\xC3\xA9.wnl"),
              crlf({"0 T \xC3\xA9l\xC3\xA9", "1 http://x.example/\xC3\xBF", "2  ", "3 2026.12.5", "4 d \xC3\xA9sc"}));
    const std::pair<const char*, Lines> expected[] = {
        {"Netscape_1", {"A http://a.example/", "B http://b.example/"}}, {"F", {"F1 http://f.example/"}},
        {"G", {"G1 http://g.example/"}}, {"Opera", {"One http://one.example/", "Three http://three.example/"}},
        {"Sub", {"Two http://two.example/"}}};
    for (const auto& [folder, links] : expected)
        EXPECT_EQ(linksOf(folder), links) << folder;
}

TEST_F(HostileInputTest, HundredMegabyteLinesLoadSaveAndImportWithTheRestIntact)
{
    // Compared with EXPECT_TRUE, so that a failure does not print 100 MB.
    const std::string huge(100u << 20, 'x');
    const std::string other = test::linkFile({{huge, "https://huge.example/"}, {"Small", "https://small.example/"}});
    home.write("Links/Other.wnl", other);
    model.lifecycle().FormCreate();
    model.tree().selectFolder(5);
    EXPECT_TRUE(writeLinkFile(model.library().linkList(), model.library().linkDescriptions()) == other);
    model.lifecycle().libraryChanged();
    model.lifecycle().saveLibrary();
    EXPECT_TRUE(home.read("Links/Other.~wnl") == other);

    // A bookmark file of one line: a link with a title of 100 MB between two small ones.
    importSource(model, ImportSource::Netscape,
                 source("b.html", "<DL><p><DT><A HREF=\"https://a.example/\">A</A><DT><A HREF=\"https://huge.example/\">"
                                      + huge + "</A><DT><A HREF=\"https://z.example/\">Z</A></DL><p>"));
    EXPECT_TRUE(linksOf("Netscape")
                == (Lines{"A https://a.example/", huge + " https://huge.example/", "Z https://z.example/"}));
}

TEST_F(HostileInputTest, TenThousandLevelsLoadSaveExportImportSearchAndDelete)
{
    constexpr std::size_t kDepth = 10000;
    std::string treeFile;
    for (std::size_t level = 0; level < kDepth; ++level)
        treeFile += std::string(level, '\t') + "D" + std::to_string(level) + "\r\n";
    home.write("folders.wnf", treeFile);
    home.write("Links/D9999.wnl", test::linkFile({{"Deep", "https://deep.example/"}}));
    model.lifecycle().FormCreate();
    EXPECT_TRUE(model.search().Find("Deep"));
    EXPECT_EQ(model.tree().selectedFolder(), kDepth - 1);
    model.lifecycle().saveLibrary();
    EXPECT_EQ(home.read("folders.~wnf"), treeFile);

    // The bookmark file nests 10,000 lists and reads back into a branch as deep.
    exportTarget(model, ImportSource::Netscape, home.path() / "deep.html");
    importSource(model, ImportSource::Netscape, home.path() / "deep.html");
    ASSERT_EQ(model.library().folderTree().count(), 2 * kDepth + 1);
    EXPECT_THAT(linksOf("D9999_1"), ElementsAre("Deep https://deep.example/"));

    model.tree().selectFolder(0);
    model.deleting().deleteSelectedFolder();
    EXPECT_FALSE(home.exists("Links/D9999.wnl"));
    model.lifecycle().saveLibrary();
    std::string branch = "Netscape\r\n";
    for (std::size_t level = 0; level < kDepth; ++level)
        branch += std::string(level + 1, '\t') + "D" + std::to_string(level) + "_1\r\n";
    EXPECT_TRUE(home.read("folders.~wnf") == branch);
}

} // namespace
} // namespace velloria
