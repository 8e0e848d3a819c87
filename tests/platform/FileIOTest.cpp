// Whole-file reading and the atomic writing that every library file goes through.

#include "base/Error.h"
#include "platform/FileIO.h"
#include "support/LibraryFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

TEST(FileIO, ReadsBytesExactlyAndTellsMissingFromUnreadable)
{
    test::TempHome home;
    const fs::path file = home.path() / "f";
    const std::string bytes("a\0b\r\n\xff", 6);
    writeFileAtomically(file, bytes);
    EXPECT_EQ(readFile(file), bytes);
    EXPECT_EQ(readFileIfExists(home.path() / "missing"), std::nullopt);
    EXPECT_THAT(test::errorOf([&] { readFile(home.path() / "missing"); }),
                HasSubstr("Cannot open file \"" + (home.path() / "missing").string() + "\". No such file or directory"));
    EXPECT_THROW(readFileIfExists(home.path()), Error); // a directory is not a file
}

TEST(FileIO, MappedFileGivesTheSameBytesAndTheSameErrors)
{
    test::TempHome home;
    const fs::path file = home.path() / "f";
    const std::string bytes("a\0b\r\n\xff", 6);
    writeFileAtomically(file, bytes);
    std::optional<MappedFile> mapped = mapFileIfExists(file);
    ASSERT_TRUE(mapped);
    MappedFile moved = std::move(*mapped);
    EXPECT_EQ(moved.bytes(), bytes);
    writeFileAtomically(file, "");
    EXPECT_EQ(mapFileIfExists(file)->bytes(), "");
    EXPECT_EQ(mapFileIfExists(home.path() / "missing"), std::nullopt);
    EXPECT_THROW(mapFileIfExists(home.path()), Error);
}

TEST(FileIO, AtomicWriteReplacesAndKeepsPermissions)
{
    test::TempHome home;
    const fs::path file = home.path() / "f";
    writeFileAtomically(file, "old");
    ::chmod(file.c_str(), 0640);
    writeFileAtomically(file, "new");
    EXPECT_EQ(readFile(file), "new");
    struct stat info {};
    ::stat(file.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), {}), 1);
}

TEST(FileIO, FailedWriteLeavesNoTemporaryFileAndTheTargetIntact)
{
    test::TempHome home;
    const fs::path target = home.path() / "dir";
    fs::create_directory(target);
    EXPECT_THROW(writeFileAtomically(target, "x"), Error);
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), {}), 1);
    EXPECT_THROW(writeFileAtomically(home.path() / "no" / "such", "x"), Error);
}

TEST(FileIO, StagedWritesChangeNothingUntilCommittedAndLeaveNothingWhenDropped)
{
    test::TempHome home;
    writeFileAtomically(home.path() / "a", "old a");
    writeFileAtomically(home.path() / "b", "same");
    {
        StagedWrites dropped;
        dropped.stage(home.path() / "a", "new a");
        dropped.stage(home.path() / "c", "new c");
        EXPECT_EQ(readFile(home.path() / "a"), "old a");
        EXPECT_FALSE(fs::exists(home.path() / "c"));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), {}), 2); // a and b, no temporary file

    StagedWrites staged;
    staged.stageIfChanged(home.path() / "a", "new a");
    staged.stageIfChanged(home.path() / "b", "same");
    staged.stage(home.path() / "c", "new c");
    const auto unchanged = fs::last_write_time(home.path() / "b");
    staged.commit();
    EXPECT_EQ(readFile(home.path() / "a"), "new a");
    EXPECT_EQ(readFile(home.path() / "c"), "new c");
    EXPECT_EQ(fs::last_write_time(home.path() / "b"), unchanged);
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), {}), 3);
}

TEST(FileIO, RemovesStaleTemporaryFilesOnlyAndFilesThatExist)
{
    test::TempHome home;
    writeFileAtomically(home.path() / ".vtmp-123-4-5", "left by a crash");
    writeFileAtomically(home.path() / "keep.wnl", "kept");
    removeStaleTemporaryFiles(home.path());
    EXPECT_FALSE(fs::exists(home.path() / ".vtmp-123-4-5"));
    EXPECT_TRUE(fs::exists(home.path() / "keep.wnl"));
    removeFileIfExists(home.path() / "keep.wnl");
    removeFileIfExists(home.path() / "keep.wnl"); // a missing file is no error
    EXPECT_TRUE(fs::is_empty(home.path()));
}

} // namespace
} // namespace velloria
