// The menu of the notification-area icon: its items, the Launch and Add to Folder menus built
// from the folder tree and the link files, and what a click on their entries does.

#include "mainwindow/TrayMenu.h"

#include "base/TextLines.h"
#include "base/WebAddress.h"
#include "mainwindow/MainWindowModel.h"
#include "platform/FileIO.h"
#include "settings/TextBindings.h"
#include "settings/UIText.h"
#include "store/Library.h"

#include <array>

namespace velloria {

namespace {

struct FixedItem {
    TrayItem item;
    std::string_view name;
    int image;
};

// In menu order; the text table names the captions "TrayMenu.<position>".
constexpr std::array<FixedItem, 8> kFixedItems = {{
    {TrayItem::ShowMainWindow, "trayShowMainWindow", -1},
    {TrayItem::Preferences, "trayPreferences", kTrayPreferencesImage},
    {TrayItem::Separator, "", -1},
    {TrayItem::Launch, "trayLaunch", -1},
    {TrayItem::Separator, "", -1},
    {TrayItem::AddToFolder, "trayAddToFolder", -1},
    {TrayItem::Separator, "", -1},
    {TrayItem::Exit, "trayExit", kTrayExitImage},
}};

std::string trayCaption(const UIText& texts, std::size_t position)
{
    const std::string target = "TrayMenu." + std::to_string(position);
    for (const TextBinding& binding : textBindings(TextWindow::MainOther))
        if (binding.target == target)
            return texts[binding.text];
    return "";
}

std::vector<TrayEntry> subfolderEntries(const TFolderTree& tree, std::size_t folder)
{
    std::vector<TrayEntry> entries;
    const std::size_t count = tree.childCount(folder);
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t child = tree.childAt(folder, i);
        entries.push_back({.kind = TrayEntryKind::Submenu, .caption = tree[child].Name, .image = kTrayFolderImage,
                           .folder = child});
    }
    return entries;
}

// The address that the next Add Bookmark dialog starts with, for the time of one command.
class PendingAddress {
public:
    PendingAddress(MainWindowModel& model, std::string address) : m_model(model)
    {
        m_model.flags().NewItemAddress = std::move(address);
    }
    ~PendingAddress() { m_model.flags().NewItemAddress.clear(); }
    PendingAddress(const PendingAddress&) = delete;
    PendingAddress& operator=(const PendingAddress&) = delete;

private:
    MainWindowModel& m_model;
};

} // namespace

std::vector<TrayMenuItem> trayMenuItems(const UIText& texts)
{
    std::vector<TrayMenuItem> items;
    for (std::size_t position = 0; position < kFixedItems.size(); ++position) {
        const FixedItem& fixed = kFixedItems[position];
        items.push_back({.item = fixed.item,
                         .name = fixed.name,
                         .caption = fixed.item == TrayItem::Separator ? "" : trayCaption(texts, position),
                         .image = fixed.image});
    }
    return items;
}

std::vector<TrayEntry> launchEntries(const Library& library, std::size_t folder)
{
    const TFolderTree& tree = library.folderTree();
    if (folder == kTrayTopLevel)
        return subfolderEntries(tree, TFolderTree::npos);
    std::vector<TrayEntry> entries;
    // The file as it is on disk; a file that stops early gives the links before the fault.
    if (const auto file = mapFileIfExists(library.paths().linkFilePath(tree[folder].Name, kWorkingLinkExt))) {
        const LinkFileParse parse = parseLinkFile(file->bytes());
        entries.reserve(parse.links.size());
        for (std::size_t row = 0; row < parse.links.size(); ++row)
            entries.push_back({.kind = TrayEntryKind::Link, .caption = parse.links[row].Title, .image = kTrayLinkImage,
                               .folder = folder, .row = row, .address = parse.links[row].Address});
    }
    std::vector<TrayEntry> subfolders = subfolderEntries(tree, folder);
    entries.insert(entries.end(), std::make_move_iterator(subfolders.begin()),
                   std::make_move_iterator(subfolders.end()));
    return entries;
}

std::vector<TrayEntry> addToFolderEntries(const TFolderTree& tree, std::size_t folder)
{
    if (folder == kTrayTopLevel)
        return subfolderEntries(tree, TFolderTree::npos);
    std::vector<TrayEntry> entries{{.kind = TrayEntryKind::FolderChoice, .caption = "<<" + tree[folder].Name + ">>",
                                    .image = kTrayFolderImage, .folder = folder}};
    std::vector<TrayEntry> subfolders = subfolderEntries(tree, folder);
    entries.insert(entries.end(), std::make_move_iterator(subfolders.begin()),
                   std::make_move_iterator(subfolders.end()));
    return entries;
}

std::size_t trayLinkRow(const TLinkList& list, const TrayEntry& link)
{
    const auto sameLink = [&](const TLinkRecord& row) {
        return row.Title == link.caption && row.Address == link.address;
    };
    if (link.row < list.size() && sameLink(list[link.row]))
        return link.row;
    for (std::size_t row = 0; row < list.size(); ++row)
        if (sameLink(list[row]))
            return row;
    for (std::size_t row = 0; row < list.size(); ++row)
        if (list[row].Title == link.caption)
            return row;
    return MainWindowModel::npos;
}

void launchTrayLink(MainWindowModel& model, const TrayEntry& link)
{
    if (model.dialogActive() || link.kind != TrayEntryKind::Link || link.folder >= model.library().folderTree().count())
        return;
    model.tree().selectFolder(link.folder);
    const std::size_t row = trayLinkRow(model.library().linkList(), link);
    if (row == MainWindowModel::npos)
        return;
    model.list().selectRows({row}, row);
    model.list().lvReferencesDblClick();
}

std::string clipboardWebAddress(std::string_view clipboardText)
{
    const std::string_view text = trimmed(clipboardText);
    if (text.find_first_of("\r\n") != std::string_view::npos || !isWebAddress(text))
        return "";
    return std::string(text);
}

void addLinkToTrayFolder(MainWindowModel& model, std::size_t folder, std::string_view clipboardText)
{
    if (model.dialogActive() || folder >= model.library().folderTree().count())
        return;
    model.tree().selectFolder(folder);
    const PendingAddress address(model, clipboardWebAddress(clipboardText));
    model.execute(Command::EditAddUrl);
}

} // namespace velloria
