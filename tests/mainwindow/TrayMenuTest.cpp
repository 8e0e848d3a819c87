// The menu of the notification-area icon: its items, the Launch and Add to Folder menus, and
// what their entries do.

#include "mainwindow/ItemDialogs.h"
#include "mainwindow/MainWindowFixture.h"
#include "mainwindow/TrayMenu.h"
#include "settings/UIText.h"

#include <gmock/gmock.h>

namespace velloria {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The fixture's library (Top > A > A1, A2; Top > B with zeta, Alpha, mid; Other), with links in
// Top and A1 as well.
class TrayMenuTest : public test::MainWindowFixture {
protected:
    TrayMenuTest()
    {
        home.write("Links/Top.wnl", test::crlf({"0 R&D notes", "1 https://rd.example/", "2 ", "3 2026.1.1", "4 "}));
        home.write("Links/A1.wnl", test::crlf({"0 Ab", "1 https://ab.example/", "2 ", "3 2026.1.1", "4 ", "0 Abc",
                                               "1 https://abc.example/", "2 ", "3 2026.1.1", "4 "}));
    }

    // A whole menu as lines, two blanks a level: "[name] image" for a submenu (followed by
    // what it holds), "title image row" for a link, "<<name>> image" for a folder choice.
    template <typename Entries>
    void dump(Entries entries, std::size_t folder, const std::string& indent, std::vector<std::string>& lines) const
    {
        for (const TrayEntry& entry : entries(folder)) {
            const std::string image = " " + std::to_string(entry.image);
            switch (entry.kind) {
            case TrayEntryKind::Submenu:
                lines.push_back(indent + "[" + entry.caption + "]" + image);
                dump(entries, entry.folder, indent + "  ", lines);
                break;
            case TrayEntryKind::Link:
                lines.push_back(indent + entry.caption + image + " " + std::to_string(entry.row));
                break;
            case TrayEntryKind::FolderChoice:
                lines.push_back(indent + entry.caption + image + " -> " + model.library().folderTree()[entry.folder].Name);
                break;
            }
        }
    }
    std::vector<std::string> launchMenu() const
    {
        std::vector<std::string> lines;
        dump([this](std::size_t folder) { return launchEntries(model.library(), folder); }, kTrayTopLevel, "", lines);
        return lines;
    }
    std::vector<std::string> addToFolderMenu() const
    {
        std::vector<std::string> lines;
        dump([this](std::size_t folder) { return addToFolderEntries(model.library().folderTree(), folder); }, kTrayTopLevel, "",
             lines);
        return lines;
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

TEST_F(TrayMenuTest, TheFixedItemsTakeTheirCaptionsAndImagesFromTheTables)
{
    std::vector<std::string> lines;
    for (const TrayMenuItem& item : trayMenuItems(model.texts()))
        lines.push_back(std::string(item.name) + "|" + item.caption + "|" + std::to_string(item.image));
    EXPECT_THAT(lines, ElementsAre("trayShowMainWindow|Show Main Window|-1", "trayPreferences|&Preferences...|19",
                                   "||-1", "trayLaunch|Launch|-1", "||-1", "trayAddToFolder|Add to Folder|-1",
                                   "||-1", "trayExit|E&xit|4"));

    UIText german;
    const std::pair<int, const char*> texts[] = {{363, "Hauptfenster zeigen"}, {364, "Starten"},
                                                 {365, "Zu Ordner hinzuf\xC3\xBCgen"}, {127, "&Einstellungen..."},
                                                 {104, "&Beenden"}};
    for (auto [number, text] : texts)
        german.set(number, text);
    std::vector<std::string> captions;
    for (const TrayMenuItem& item : trayMenuItems(german))
        if (item.item != TrayItem::Separator)
            captions.push_back(item.caption);
    EXPECT_THAT(captions, ElementsAre("Hauptfenster zeigen", "&Einstellungen...", "Starten",
                                      "Zu Ordner hinzuf\xC3\xBCgen", "&Beenden"));
}

TEST_F(TrayMenuTest, LaunchHoldsEachFoldersLinksInFileOrderBeforeItsSubfolders)
{
    model.lifecycle().FormCreate();
    EXPECT_THAT(launchMenu(), ElementsAre("[Top] 6",          //
                                          "  R&D notes 31 0", // links first, then the subfolders
                                          "  [A] 6",          //
                                          "    [A1] 6",       //
                                          "      Ab 31 0",    //
                                          "      Abc 31 1",   //
                                          "    [A2] 6",       // no link file: no links
                                          "  [B] 6",          //
                                          "    zeta 31 0",    // as the file has them, unsorted
                                          "    Alpha 31 1",   //
                                          "    mid 31 2",     //
                                          "[Other] 6"));
}

TEST_F(TrayMenuTest, LaunchShowsTheFileOnDiskNotTheListOnScreen)
{
    writePreferences({"000 1.0", "040 0"}); // sorted by title
    model.lifecycle().FormCreate();
    model.tree().selectFolder(4); // B, sorted on screen and written back in that order
    model.library().linkList().push_back({.Title = "only on screen", .Address = "https://screen.example/"});
    std::vector<std::string> inB;
    for (const TrayEntry& entry : launchEntries(model.library(), 4))
        inB.push_back(entry.caption);
    EXPECT_THAT(inB, ElementsAre("Alpha", "mid", "zeta"));

    home.write("Links/B.wnl", "");
    EXPECT_THAT(launchEntries(model.library(), 4), IsEmpty());
    std::filesystem::remove(home.links() / "B.wnl");
    EXPECT_THAT(launchEntries(model.library(), 4), IsEmpty());
}

TEST_F(TrayMenuTest, AddToFolderOffersEachFolderFirstThenItsSubfolders)
{
    model.lifecycle().FormCreate();
    EXPECT_THAT(addToFolderMenu(), ElementsAre("[Top] 6",                  //
                                               "  <<Top>> 6 -> Top",       //
                                               "  [A] 6",                  //
                                               "    <<A>> 6 -> A",         //
                                               "    [A1] 6",               //
                                               "      <<A1>> 6 -> A1",     // no subfolders: only itself
                                               "    [A2] 6",               //
                                               "      <<A2>> 6 -> A2",     //
                                               "  [B] 6",                  //
                                               "    <<B>> 6 -> B",         //
                                               "[Other] 6",                //
                                               "  <<Other>> 6 -> Other"));
}

TEST_F(TrayMenuTest, LaunchOpensTheLinkOfExactlyThatTitleInANewWindow)
{
    // Reversed by title the list shows Abc before Ab: the row of Ab in the file (0) holds Abc on
    // screen, and Abc begins with Ab, yet Ab is what opens.
    writePreferences({"000 1.0", "040 0", "041 True"});
    model.lifecycle().FormCreate();
    const TrayEntry ab = launchEntry(2, "Ab");
    const TrayEntry abc = launchEntry(2, "Abc");
    launchTrayLink(model, ab);
    EXPECT_EQ(model.tree().selectedFolder(), 2u);
    ASSERT_EQ(model.selection().selectedRows(), std::vector<std::size_t>{1});
    EXPECT_EQ(model.library().linkList()[1].Title, "Ab");
    EXPECT_EQ(model.library().linkList()[1].LastVisit, "2026.12.5");
    launchTrayLink(model, abc);
    EXPECT_THAT(opener.opened, ElementsAre("new window: about:blank", "https://ab.example/", "new window: about:blank",
                                           "https://abc.example/"));
}

TEST_F(TrayMenuTest, ALinkGoneSinceTheMenuOpenedOpensNothing)
{
    writePreferences({"000 1.0", "040 4"});
    model.lifecycle().FormCreate();
    const TrayEntry abc = launchEntry(2, "Abc");
    home.write("Links/A1.wnl", test::crlf({"0 Ab", "1 https://ab.example/", "2 ", "3 2026.1.1", "4 "}));
    launchTrayLink(model, abc);
    EXPECT_THAT(opener.opened, IsEmpty());

    // One title twice: the row of the file tells them apart, then the address.
    home.write("Links/A1.wnl", test::crlf({"0 Ab", "1 https://one.example/", "2 ", "3 ", "4 ", "0 Ab",
                                           "1 https://two.example/", "2 ", "3 ", "4 "}));
    const std::vector<TrayEntry> twins = launchEntries(model.library(), 2);
    ASSERT_EQ(twins.size(), 2u);
    const TLinkList swapped = {{.Title = "Ab", .Address = "https://two.example/"},
                               {.Title = "Ab", .Address = "https://one.example/"}};
    EXPECT_EQ(trayLinkRow(swapped, twins[0]), 1u);
    EXPECT_EQ(trayLinkRow(swapped, twins[1]), 0u);
    const TLinkList moved = {{.Title = "Ab", .Address = "https://elsewhere.example/"}};
    EXPECT_EQ(trayLinkRow(moved, twins[1]), 0u);
    EXPECT_EQ(trayLinkRow({{.Title = "Abc"}, {.Title = "ab"}}, twins[0]), MainWindowModel::npos);
}

TEST_F(TrayMenuTest, OnlyAWebAddressOnTheClipboardFillsTheNewLink)
{
    EXPECT_EQ(clipboardWebAddress("www.a.example"), "www.a.example");
    EXPECT_EQ(clipboardWebAddress("  https://a.example/\r\n"), "https://a.example/");
    for (const char* other : {"", "see https://a.example/", "https://a.example/\nhttps://b.example/"})
        EXPECT_EQ(clipboardWebAddress(other), "") << other;
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
    EXPECT_EQ(model.flags().NewItemAddress, ""); // only for that dialog
    EXPECT_THAT(dialogView.notices, testing::Contains("dialog new item"));

    addLinkToTrayFolder(model, 1, "just some words");
    EXPECT_EQ(model.tree().selectedFolder(), 1u);
    EXPECT_EQ(addressSeen, "");

    // While a dialog is open nothing happens.
    dialogView.notices.clear();
    const MainWindowModel::ModalWindow open(model);
    addLinkToTrayFolder(model, 2, "https://clip.example/");
    launchTrayLink(model, launchEntry(2, "Ab"));
    EXPECT_EQ(model.tree().selectedFolder(), 1u);
    EXPECT_THAT(dialogView.notices, IsEmpty());
    EXPECT_THAT(opener.opened, IsEmpty());
}

} // namespace
} // namespace velloria
