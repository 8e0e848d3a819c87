// Opening links in the browser and the Help commands.

#include "base/Error.h"
#include "mainwindow/MainWindowFixture.h"
#include "platform/FileIO.h"
#include "settings/EmbeddedFiles.h"
#include "settings/HomeSetup.h"

#include <gmock/gmock.h>

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
    EXPECT_EQ(titles(), (std::vector<std::string>{"zeta", "Alpha", "mid"}));
    EXPECT_EQ(model.library().linkList()[1].LastVisit, "2026.12.5");
    EXPECT_EQ(model.library().linkList()[model.selection().focusedRow()].Title, "Alpha");
    EXPECT_THAT(home.read("Links/B.wnl"), HasSubstr("0 Alpha\r\n1 a.example/path\r\n2 2026.12.5\r\n"));
    EXPECT_THAT(homeFile("Tessel.cfg"), HasSubstr("\r\n058 Alpha\r\n059 B\r\n"));
    EXPECT_FALSE(model.lifecycle().libraryModified()); // a visit is no edit
}

TEST_F(OpenLinksTest, AddressesWithASchemeOpenAsTheyAre)
{
    writePreferences({"000 1.0", "040 4"});
    show(4);
    model.execute(Command::ToolsGo); // zeta, https
    model.list().selectRows({2}, 2);
    model.execute(Command::ToolsGo); // mid, mailto
    EXPECT_THAT(opener.opened, ElementsAre("https://z.example/", "mailto:mid@example.org"));
}

TEST_F(OpenLinksTest, GoInNewWindowOpensAFreshWindowFirst)
{
    show(4);
    model.execute(Command::ToolsGoInNewBrowser);
    model.list().lvReferencesDblClick();
    EXPECT_THAT(opener.opened, ElementsAre("new window: about:blank", "https://z.example/",
                                           "new window: about:blank", "https://z.example/"));
}

TEST_F(OpenLinksTest, GoWithoutASelectedRowDoesNothing)
{
    show(4);
    model.list().selectRows({}, TFolderTree::npos);
    const auto before = home.snapshot();
    model.execute(Command::ToolsGo);
    model.list().lvReferencesDblClick();
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(home.snapshot(), before);
}

TEST_F(OpenLinksTest, VisitMovesTheRowWhenSortedByLastVisit)
{
    writePreferences({"000 1.0", "040 2"});
    show(4);
    EXPECT_EQ(titles(), (std::vector<std::string>{"zeta", "Alpha", "mid"})); // "", "2026.10.1", "2026.9.30"
    model.execute(Command::ToolsGo); // zeta gets 2026.12.5
    EXPECT_EQ(titles(), (std::vector<std::string>{"Alpha", "zeta", "mid"}));
    EXPECT_EQ(model.library().linkList()[model.selection().focusedRow()].Title, "zeta");
}

TEST_F(OpenLinksTest, HelpHomePageFeedbackAndAbout)
{
    model.lifecycle().FormCreate();
    model.execute(Command::HelpNavigatorHelp);
    model.execute(Command::HelpHomePage);
    model.execute(Command::HelpSupport);
    model.execute(Command::HelpAbout);
    EXPECT_THAT(opener.opened, ElementsAre("file://" + helpPagePath(home.path()).string(),
                                           "new window: https://velloria.example/",
                                           "mailto:feedback@velloria.example"));
    EXPECT_EQ(view.notices.back(), "about");
}

TEST_F(OpenLinksTest, HelpWritesThePageOfThisVersionRightBeforeOpeningIt)
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
    EXPECT_EQ(opener.opened.size(), 2u);

    // A page that cannot be written is an error, and nothing is opened.
    fs::remove(page);
    fs::create_directory(page);
    EXPECT_THROW(model.execute(Command::HelpNavigatorHelp), Error);
    EXPECT_EQ(opener.opened.size(), 2u);
}

} // namespace
} // namespace velloria
