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

class HomeDirectoryTest : public ::testing::Test {
protected:
    HomeDirectoryTest()
    {
        if (const char* xdg = std::getenv("XDG_DATA_HOME"))
            m_savedXdg = xdg;
        ::setenv("XDG_DATA_HOME", (dataHome.path() / "data").c_str(), 1);
    }
    ~HomeDirectoryTest() override
    {
        if (m_savedXdg)
            ::setenv("XDG_DATA_HOME", m_savedXdg->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }

    test::TempHome program;
    test::TempHome dataHome;

private:
    std::optional<std::string> m_savedXdg;
};

TEST_F(HomeDirectoryTest, PortableWhenTheProgramDirectoryHoldsALibraryOrPreferences)
{
    fs::create_directory(program.path() / "RefLib");
    EXPECT_EQ(resolveHomeDirectory(program.path()), program.path());
    fs::remove(program.path() / "RefLib");
    test::writeBytes(program.path() / "Tessel.cfg", "/// Preferences\r\n");
    EXPECT_EQ(resolveHomeDirectory(program.path()), program.path());
}

TEST_F(HomeDirectoryTest, OtherwiseThePerUserDataDirectoryIsCreated)
{
    const fs::path home = resolveHomeDirectory(program.path());
    EXPECT_EQ(home, dataHome.path() / "data" / "velloria");
    EXPECT_TRUE(fs::is_directory(home));
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
