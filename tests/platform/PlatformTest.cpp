// Dates, the home directory choice and the single-instance lock.

#include "base/Clock.h"
#include "platform/HomeDirectory.h"
#include "platform/InstanceLock.h"
#include "support/LibraryFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace velloria {
namespace {

namespace fs = std::filesystem;

TEST(Clock, DatesHaveNoLeadingZeros)
{
    EXPECT_EQ(formatDate({2004, 3, 7}), "2004.3.7");
    EXPECT_EQ(formatDate({2026, 12, 25}), "2026.12.25");
}

TEST(HomeDirectory, ThePerUserDataDirectoryUnlessTheProgramDirectoryHoldsALibraryOrPreferences)
{
    const std::string savedXdg = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    test::TempHome program;
    test::TempHome data;
    ::setenv("XDG_DATA_HOME", (data.path() / "data").c_str(), 1);
    EXPECT_EQ(resolveHomeDirectory(program.path()), data.path() / "data" / "velloria");
    EXPECT_TRUE(fs::is_directory(data.path() / "data" / "velloria"));
    fs::create_directory(program.path() / "RefLib");
    EXPECT_EQ(resolveHomeDirectory(program.path()), program.path());
    fs::remove(program.path() / "RefLib");
    test::writeBytes(program.path() / "Tessel.cfg", "/// Preferences\r\n");
    EXPECT_EQ(resolveHomeDirectory(program.path()), program.path());
    ::setenv("XDG_DATA_HOME", savedXdg.c_str(), 1); // an empty value counts as none
}

TEST(InstanceLock, OnlyOneHolderAtATime)
{
    test::TempHome home;
    InstanceLock first(InstanceLock::lockFileFor(home.path()));
    InstanceLock second(InstanceLock::lockFileFor(home.path()));
    EXPECT_EQ(first.tryAcquire(), InstanceLock::Result::Acquired);
    EXPECT_EQ(second.tryAcquire(), InstanceLock::Result::HeldByAnother);
    first.release();
    EXPECT_EQ(second.tryAcquire(), InstanceLock::Result::Acquired);
}

} // namespace
} // namespace velloria
