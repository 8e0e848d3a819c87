// Opening links in the browser and the Help commands.

#include "mainwindow/MainWindowFixture.h"
#include "platform/FileIO.h"
#include "settings/EmbeddedFiles.h"
#include "settings/HomeSetup.h"

#include <gmock/gmock.h>

#include <functional>

namespace velloria {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class OpenLinksTest : public test::MainWindowFixture {};

TEST_F(OpenLinksTest, GoOpensTheAddressAndRecordsTheVisit)
{
    show(4);
    model.list().selectRows({1}, 1); // "Alpha", stored without a scheme
    EXPECT_TRUE(model.execute(Command::ToolsGo));
    EXPECT_THAT(opener.opened, ElementsAre("http://a.example/path"));
    // No sort command is ticked, so the preferences written with the visit keep the list as
    // it is stored.
    EXPECT_EQ(titles(), (test::Lines{"zeta", "Alpha", "mid"}));
    EXPECT_EQ(model.library().linkList()[model.selection().focusedRow()].Title, "Alpha");
    EXPECT_THAT(home.read("Links/B.wnl"), HasSubstr("0 Alpha\r\n1 a.example/path\r\n2 2026.12.5\r\n"));
    EXPECT_THAT(test::readBytes(home.path() / "Tessel.cfg"), HasSubstr("\r\n058 Alpha\r\n059 B\r\n"));
    EXPECT_FALSE(model.lifecycle().libraryModified()); // a visit is no edit
}

TEST_F(OpenLinksTest, AddressesWithASchemeOpenAsTheyAreAndANewWindowComesFirstWhenAskedFor)
{
    const auto go = [&] { model.execute(Command::ToolsGo); };
    const auto goInNew = [&] { model.execute(Command::ToolsGoInNewBrowser); };
    const auto doubleClick = [&] { model.list().lvReferencesDblClick(); };
    const struct {
        std::vector<std::size_t> rows;
        std::function<void()> action;
        test::Lines opened;
    } cases[] = {
        {{0}, go, {"https://z.example/"}},
        {{2}, go, {"mailto:mid@example.org"}},
        {{0}, goInNew, {"new window: about:blank", "https://z.example/"}},
        {{2}, doubleClick, {"new window: about:blank", "mailto:mid@example.org"}},
        {{}, go, {}}, // no row selected: nothing
        {{}, doubleClick, {}},
    };
    show(4);
    for (const auto& c : cases) {
        model.list().selectRows(c.rows, c.rows.empty() ? TFolderTree::npos : c.rows.front());
        opener.opened.clear();
        c.action();
        EXPECT_EQ(opener.opened, c.opened) << c.rows.size();
    }
}

TEST_F(OpenLinksTest, VisitMovesTheRowWhenSortedByLastVisit)
{
    writePreferences({"000 1.0", "040 2"});
    show(4);
    EXPECT_EQ(titles(), (test::Lines{"zeta", "Alpha", "mid"})); // "", "2026.10.1", "2026.9.30"
    model.execute(Command::ToolsGo); // zeta gets 2026.12.5
    EXPECT_EQ(titles(), (test::Lines{"Alpha", "zeta", "mid"}));
    EXPECT_EQ(model.library().linkList()[model.selection().focusedRow()].Title, "zeta");
}

TEST_F(OpenLinksTest, HelpWritesThePageOfThisVersionRightBeforeOpeningItAndTheOtherHelpCommands)
{
    const fs::path page = helpPagePath(home.path());
    const auto shipped = std::find_if(embeddedFiles().begin(), embeddedFiles().end(),
                                      [](const EmbeddedFile& file) { return file.name.ends_with(".html"); });
    ASSERT_NE(shipped, embeddedFiles().end());
    model.lifecycle().FormCreate();
    EXPECT_FALSE(fs::exists(page)); // the start writes no help page
    for (const char* before : {"", "an older page"}) {
        if (*before)
            writeFileAtomically(page, before);
        model.execute(Command::HelpNavigatorHelp);
        EXPECT_EQ(readFile(page), shipped->bytes) << before;
    }
    model.execute(Command::HelpHomePage);
    model.execute(Command::HelpSupport);
    model.execute(Command::HelpAbout);
    const std::string help = "file://" + page.string();
    EXPECT_THAT(opener.opened, ElementsAre(help, help, "new window: https://velloria.example/",
                                           "mailto:feedback@velloria.example"));
    EXPECT_EQ(recorder.notices.back(), "about");
    // A page that cannot be written is an error, and nothing is opened.
    fs::remove(page);
    fs::create_directory(page);
    EXPECT_THROW(model.execute(Command::HelpNavigatorHelp), Error);
    EXPECT_EQ(opener.opened.size(), 4u);
}

} // namespace
} // namespace velloria
