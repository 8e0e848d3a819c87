// Whole-file reading and the atomic writing that every library file goes through.

#include "platform/FileIO.h"
#include "support/LibraryFiles.h"

#include <gtest/gtest.h>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::errorOf;
using Files = std::map<std::string, std::string>;

class FileIO : public ::testing::Test {
protected:
    fs::path at(const std::string& name) const { return home.path() / name; }
    test::TempHome home;
};

TEST_F(FileIO, BothReadersGiveTheBytesExactlyAndTellMissingFromUnreadable)
{
    const std::string bytes("a\0b\r\n\xff", 6);
    writeFileAtomically(at("f"), bytes);
    writeFileAtomically(at("empty"), "");
    EXPECT_EQ(readFileIfExists(at("f")), bytes);
    EXPECT_EQ(mapFileIfExists(at("empty"))->bytes(), "");
    EXPECT_EQ(readFileIfExists(at("missing")), std::nullopt);
    EXPECT_FALSE(mapFileIfExists(at("missing")));
    EXPECT_EQ(errorOf([&] { mapFileIfExists(home.path()); }),
              "Cannot open file \"" + home.path().string() + "\". Is a directory");
    EXPECT_EQ(errorOf([&] { readFile(at("missing")); }),
              "Cannot open file \"" + at("missing").string() + "\". No such file or directory");
}

TEST_F(FileIO, AWriteReplacesTheFileWholeAndLeavesNoTemporaryFileEvenWhenItFails)
{
    writeFileAtomically(at("f"), "old");
    fs::permissions(at("f"), fs::perms(0640));
    const std::optional<MappedFile> before = mapFileIfExists(at("f")); // read during the write
    writeFileAtomically(at("f"), "new");
    EXPECT_EQ(before->bytes(), "old");
    EXPECT_EQ(fs::status(at("f")).permissions(), fs::perms(0640));
    fs::create_directory(at("dir"));
    EXPECT_EQ(errorOf([&] { writeFileAtomically(at("dir"), "x"); }),
              "Cannot create file \"" + at("dir").string() + "\". Is a directory");
    writeFileAtomically(at(".vtmp-123-4-5"), "left by a crash");
    removeStaleTemporaryFiles(home.path()); // as the start does
    removeFileIfExists(at("missing")); // a missing file is no error
    EXPECT_EQ(test::filesBelow(home.path()), (Files{{"dir/", ""}, {"f", "new"}}));
}

TEST_F(FileIO, StagedWritesChangeNothingUntilCommittedAndLeaveNothingWhenDropped)
{
    writeFileAtomically(at("a"), "old a");
    writeFileAtomically(at("b"), "same");
    {
        StagedWrites dropped;
        dropped.stage(at("a"), "new a");
        dropped.stage(at("c"), "new c");
        EXPECT_EQ(readFile(at("a")), "old a");
        EXPECT_FALSE(fs::exists(at("c")));
    }
    EXPECT_EQ(test::filesBelow(home.path()), (Files{{"a", "old a"}, {"b", "same"}}));
    StagedWrites staged;
    staged.stageIfChanged(at("a"), "new a");
    staged.stageIfChanged(at("b"), "same");
    staged.stage(at("c"), "new c");
    const auto unchanged = fs::last_write_time(at("b"));
    staged.commit();
    EXPECT_EQ(test::filesBelow(home.path()), (Files{{"a", "new a"}, {"b", "same"}, {"c", "new c"}}));
    EXPECT_EQ(fs::last_write_time(at("b")), unchanged);
}

} // namespace
} // namespace velloria
