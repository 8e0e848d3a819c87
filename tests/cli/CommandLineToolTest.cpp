// velloria-cli as scripts use it: its output lines, exit status and messages.

#include "cli/CommandLineTool.h"
#include "platform/Clock.h"
#include "platform/InstanceLock.h"
#include "support/TempHome.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace velloria {
namespace {

using test::crlf;
using ::testing::HasSubstr;

struct CliRun {
    int status = 0;
    std::string out;
    std::string err;
};

class CommandLineToolTest : public ::testing::Test {
protected:
    CliRun run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--home", home.path().string()});
        std::ostringstream out, err;
        CliRun result;
        result.status = runCommandLine(arguments, {out, err, clock, {}});
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    test::TempHome home;
    FixedClock clock{{2026, 12, 5}};
};

TEST_F(CommandLineToolTest, TreeOnAnEmptyHomeCreatesAndPrintsTheDefaultLibrary)
{
    const CliRun result = run({"tree"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "0\tMain\tMain folder\n");
    EXPECT_TRUE(home.exists("Links/Main.~wnl"));
}

TEST_F(CommandLineToolTest, TreeAndLinksPrintTabSeparatedLinesAsText)
{
    home.write("folders.wnf", crlf({"Caf\xE9", "\tSub"}));
    home.write("folddesc.wnf", crlf({"Sub", "below"}));
    home.write("Links/Caf\xE9.wnl", crlf({"0 T", "1 https://t.example/", "2 2026.2.3", "3 2026.1.1", "4 d"}));
    EXPECT_EQ(run({"tree"}).out, "0\tCaf\xC3\xA9\t\n1\tSub\tbelow\n");
    const CliRun links = run({"links", "Caf\xC3\xA9"});
    EXPECT_EQ(links.status, 0);
    EXPECT_EQ(links.out, "T\thttps://t.example/\t2026.2.3\t2026.1.1\td\n");
}

TEST_F(CommandLineToolTest, UnknownFolderAndBadUsageFail)
{
    run({"tree"});
    const CliRun missing = run({"links", "Nope"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "There is no folder named \"Nope\"\n");
    EXPECT_EQ(run({"links"}).status, 2);
    EXPECT_EQ(run({"frobnicate"}).status, 2);
    EXPECT_THAT(run({"frobnicate"}).err, HasSubstr("unknown command frobnicate"));
}

TEST_F(CommandLineToolTest, SaveAndRevertMoveFilesBetweenGenerations)
{
    run({"tree"});
    home.write("Links/Main.wnl", crlf({"0 Edited", "1 a", "2 ", "3 d", "4 x"}));
    EXPECT_EQ(run({"revert"}).status, 0);
    EXPECT_EQ(home.read("Links/Main.wnl"), home.read("Links/Main.~wnl"));

    home.write("Links/Main.wnl", crlf({"0 Edited", "1 a", "2 ", "3 d", "4 x"}));
    EXPECT_EQ(run({"save"}).status, 0);
    EXPECT_EQ(home.read("Links/Main.~wnl"), crlf({"0 Edited", "1 a", "2 ", "3 d", "4 x"}));
}

TEST_F(CommandLineToolTest, LoadErrorsArePrintedAndSaveRefusesAPartialTree)
{
    home.write("folders.wnf", crlf({"A", "\t\tB"}));
    home.write("folders.~wnf", crlf({"A", "\tB"}));
    const CliRun tree = run({"tree"});
    EXPECT_EQ(tree.status, 1);
    EXPECT_EQ(tree.out, "0\tA\t\n");
    EXPECT_THAT(tree.err, HasSubstr("Invalid level (2) for item \"B\""));

    const CliRun save = run({"save"});
    EXPECT_EQ(save.status, 1);
    EXPECT_THAT(save.err, HasSubstr("Nothing was changed"));
    EXPECT_EQ(home.read("folders.~wnf"), crlf({"A", "\tB"}));

    // Revert is how a broken working tree is repaired from the last save.
    EXPECT_EQ(run({"revert"}).status, 1);
    EXPECT_EQ(home.read("folders.wnf"), crlf({"A", "\tB"}));
    EXPECT_EQ(run({"tree"}).status, 0);
}

TEST_F(CommandLineToolTest, RefusesToChangeALibraryThatTheProgramHolds)
{
    run({"tree"});
    InstanceLock program(InstanceLock::lockFileFor(home.path()));
    ASSERT_EQ(program.tryAcquire(), InstanceLock::Result::Acquired);
    const std::string changed = crlf({"0 Changed", "1 a", "2 ", "3 d", "4 x"});
    home.write("Links/Main.wnl", changed);
    const CliRun save = run({"save"});
    EXPECT_EQ(save.status, 1);
    EXPECT_THAT(save.err, HasSubstr("Velloria is running"));
    EXPECT_NE(home.read("Links/Main.~wnl"), changed);
    EXPECT_EQ(run({"tree"}).status, 0); // reading is allowed
}

} // namespace
} // namespace velloria
