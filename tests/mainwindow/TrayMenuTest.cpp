// The Launch and Add to Folder menus of the notification-area icon, and what their entries do.

#include "mainwindow/ItemDialogs.h"
#include "mainwindow/MainWindowFixture.h"
#include "mainwindow/TrayMenu.h"

#include <gmock/gmock.h>

#include <functional>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Entries = std::function<std::vector<TrayEntry>(std::size_t folder)>;

// The sample library with links in Top and A1 as well.
class TrayMenuTest : public test::MainWindowFixture {
protected:
    TrayMenuTest()
    {
        home.write("Links/Top.wnl", test::linkFile({{"R&D notes", "https://rd.example/"}}));
        home.write("Links/A1.wnl", test::linkFile({{"Ab", "https://ab.example/"}, {"Abc", "https://abc.example/"}}));
    }

    // A whole menu on one line: "[name image: ...]" for a submenu with what it holds, "title image
    // row" for a link, "<<name>> image -> folder" for a folder choice.
    std::string menu(const Entries& entries, std::size_t folder = kTrayTopLevel) const
    {
        std::string text;
        for (const TrayEntry& entry : entries(folder)) {
            const std::string item = entry.caption + " " + std::to_string(entry.image);
            text += text.empty() ? "" : ", ";
            if (entry.kind == TrayEntryKind::Submenu)
                text += "[" + item + ": " + menu(entries, entry.folder) + "]";
            else if (entry.kind == TrayEntryKind::Link)
                text += item + " " + std::to_string(entry.row);
            else
                text += item + " -> " + model.library().folderTree()[entry.folder].Name;
        }
        return text;
    }
    Entries launch() const
    {
        return [this](std::size_t folder) { return launchEntries(model.library(), folder); };
    }
    // The Launch entry of a title in a folder's menu.
    TrayEntry launchEntry(std::size_t folder, const std::string& title) const
    {
        for (const TrayEntry& entry : launchEntries(model.library(), folder))
            if (entry.kind == TrayEntryKind::Link && entry.caption == title)
                return entry;
        ADD_FAILURE() << "no entry " << title;
        return {};
    }
};

TEST_F(TrayMenuTest, EachFolderHoldsItsLinksOrItselfBeforeItsSubfolders)
{
    model.lifecycle().FormCreate();
    // Links as the file has them, unsorted; a folder without a link file has no links.
    EXPECT_EQ(menu(launch()), "[Top 6: R&D notes 31 0, [A 6: [A1 6: Ab 31 0, Abc 31 1], [A2 6: ]], "
                              "[B 6: zeta 31 0, Alpha 31 1, mid 31 2]], [Other 6: ]");
    const Entries addTo = [this](std::size_t folder) { return addToFolderEntries(model.library().folderTree(), folder); };
    EXPECT_EQ(menu(addTo), "[Top 6: <<Top>> 6 -> Top, [A 6: <<A>> 6 -> A, [A1 6: <<A1>> 6 -> A1], "
                           "[A2 6: <<A2>> 6 -> A2]], [B 6: <<B>> 6 -> B]], [Other 6: <<Other>> 6 -> Other]");
}

TEST_F(TrayMenuTest, LaunchShowsTheFileOnDiskNotTheListOnScreen)
{
    open({"000 1.0", "040 0"}); // sorted by title
    model.tree().selectFolder(4); // B, sorted on screen and written back in that order
    model.library().linkList().push_back({.Title = "only on screen", .Address = "https://screen.example/"});
    EXPECT_EQ(menu(launch(), 4), "Alpha 31 0, mid 31 1, zeta 31 2");
    home.write("Links/B.wnl", "");
    EXPECT_THAT(launchEntries(model.library(), 4), IsEmpty());
}

TEST_F(TrayMenuTest, LaunchOpensTheLinkOfExactlyThatTitleInANewWindowAndALinkSinceGoneNothing)
{
    // Reversed by title the list shows Abc before Ab: the row of Ab in the file (0) holds Abc on
    // screen, and Abc begins with Ab, yet Ab is what opens.
    open({"000 1.0", "040 0", "041 True"});
    const TrayEntry abc = launchEntry(2, "Abc");
    launchTrayLink(model, launchEntry(2, "Ab"));
    EXPECT_EQ(model.tree().selectedFolder(), 2u);
    ASSERT_EQ(model.selection().selectedRows(), std::vector<std::size_t>{1});
    EXPECT_EQ(model.library().linkList()[1].Title, "Ab");
    EXPECT_EQ(model.library().linkList()[1].LastVisit, "2026.12.5");
    launchTrayLink(model, abc);
    EXPECT_THAT(opener.opened, ElementsAre("new window: about:blank", "https://ab.example/", "new window: about:blank",
                                           "https://abc.example/"));
    model.tree().selectFolder(0);
    home.write("Links/A1.wnl", test::linkFile({{"Ab", "https://ab.example/"}}));
    launchTrayLink(model, abc); // gone since the menu opened: nothing opens
    EXPECT_EQ(opener.opened.size(), 4u);

    // One title twice: the row of the file tells them apart, then the address.
    home.write("Links/A1.wnl", test::linkFile({{"Ab", "https://one.example/"}, {"Ab", "https://two.example/"}}));
    const std::vector<TrayEntry> twins = launchEntries(model.library(), 2);
    ASSERT_EQ(twins.size(), 2u);
    const TLinkList swapped = {{.Title = "Ab", .Address = "https://two.example/"},
                               {.Title = "Ab", .Address = "https://one.example/"}};
    EXPECT_EQ(trayLinkRow(swapped, twins[0]), 1u);
    EXPECT_EQ(trayLinkRow(swapped, twins[1]), 0u);
}

TEST_F(TrayMenuTest, OnlyAWebAddressOnTheClipboardFillsTheNewLink)
{
    const std::pair<const char*, const char*> cases[] = {
        {"www.a.example", "www.a.example"},
        {"  https://a.example/\r\n", "https://a.example/"},
        {"", ""},
        {"see https://a.example/", ""},
        {"https://a.example/\nhttps://b.example/", ""},
    };
    for (const auto& [clipboard, address] : cases)
        EXPECT_EQ(clipboardWebAddress(clipboard), address) << clipboard;
}

TEST_F(TrayMenuTest, AddToFolderSelectsTheFolderAndAsksForALinkWithTheClipboardAddress)
{
    model.lifecycle().FormCreate();
    std::string addressSeen = "<none>";
    struct DialogView : test::RecordingView {
        std::function<void()> onDialog;
        void dialogRequested(DialogKind kind) override
        {
            RecordingView::dialogRequested(kind);
            onDialog();
        }
    } dialogView;
    dialogView.onDialog = [&] { addressSeen = NewItemDialog(model).address(); };
    model.setObserver(&dialogView);

    addLinkToTrayFolder(model, 5, "https://clip.example/");
    EXPECT_EQ(model.tree().selectedFolder(), 5u);
    EXPECT_EQ(model.flags().NewItem, NewItemKind::Link);
    EXPECT_EQ(addressSeen, "https://clip.example/");
    EXPECT_THAT(dialogView.notices, ::testing::Contains("dialog new item"));

    addLinkToTrayFolder(model, 1, "just some words");
    EXPECT_EQ(model.tree().selectedFolder(), 1u);
    EXPECT_EQ(addressSeen, "");

    // While a dialog is open nothing happens.
    dialogView.notices.clear();
    const MainWindowModel::ModalWindow dialog(model);
    addLinkToTrayFolder(model, 2, "https://clip.example/");
    launchTrayLink(model, launchEntry(2, "Ab"));
    EXPECT_EQ(model.tree().selectedFolder(), 1u);
    EXPECT_THAT(dialogView.notices, IsEmpty());
    EXPECT_THAT(opener.opened, IsEmpty());
}

} // namespace
} // namespace velloria
