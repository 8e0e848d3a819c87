// Whole-file reading, the atomic writing that every library file goes through, dates, the home
// directory choice and the single-instance lock.

#include "base/Clock.h"
#include "platform/FileIO.h"
#include "platform/HomeDirectory.h"
#include "platform/InstanceLock.h"
#include "support/LibraryFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using test::errorOf;
using Files = std::map<std::string, std::string>;

class Platform : public ::testing::Test {
protected:
    fs::path at(const std::string& name) const { return home.path() / name; }
    test::TempHome home;
};

TEST_F(Platform, BothReadersGiveTheBytesExactlyAndTellMissingFromUnreadable)
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

TEST_F(Platform, AWriteReplacesTheFileWholeAndLeavesNoTemporaryFileEvenWhenItFails)
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

TEST_F(Platform, StagedWritesChangeNothingUntilCommittedAndLeaveNothingWhenDropped)
{
    writeFileAtomically(at("a"), "old a");
    writeFileAtomically(at("b"), "same");
    {
        StagedWrites dropped;
        dropped.stage(at("a"), "new a");
        dropped.stage(at("c"), "new c");
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

TEST(Clock, DatesHaveNoLeadingZeros)
{
    EXPECT_EQ(formatDate({2004, 3, 7}), "2004.3.7");
    EXPECT_EQ(formatDate({2026, 12, 25}), "2026.12.25");
}

TEST_F(Platform, TheHomeIsThePerUserDataDirectoryUnlessTheProgramDirectoryHoldsALibraryOrPreferences)
{
    const std::string savedXdg = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    test::TempHome data;
    ::setenv("XDG_DATA_HOME", (data.path() / "data").c_str(), 1);
    EXPECT_EQ(resolveHomeDirectory(home.path()), data.path() / "data" / "velloria");
    EXPECT_TRUE(fs::is_directory(data.path() / "data" / "velloria"));
    fs::create_directory(at("RefLib"));
    EXPECT_EQ(resolveHomeDirectory(home.path()), home.path());
    fs::remove(at("RefLib"));
    test::writeBytes(at("Tessel.cfg"), "/// Preferences\r\n");
    EXPECT_EQ(resolveHomeDirectory(home.path()), home.path());
    ::setenv("XDG_DATA_HOME", savedXdg.c_str(), 1); // an empty value counts as none
}

TEST_F(Platform, OnlyOneHolderOfTheInstanceLockAtATime)
{
    InstanceLock first(InstanceLock::lockFileFor(home.path()));
    InstanceLock second(InstanceLock::lockFileFor(home.path()));
    EXPECT_EQ(first.tryAcquire(), InstanceLock::Result::Acquired);
    EXPECT_EQ(second.tryAcquire(), InstanceLock::Result::HeldByAnother);
    first.release();
    EXPECT_EQ(second.tryAcquire(), InstanceLock::Result::Acquired);
}

} // namespace
} // namespace velloria
