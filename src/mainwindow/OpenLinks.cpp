// Opening links in the browser, and the Help commands that hand a page to the desktop.

#include "mainwindow/MainWindowModel.h"

#include "base/Clock.h"
#include "platform/UrlOpener.h"
#include "settings/HomeSetup.h"

namespace velloria {

void MainWindowModel::goTo(bool newWindow)
{
    if (linkList().empty() || m_selection.selectedRow() == npos)
        return;
    if (newWindow)
        m_opener.openInNewWindow("about:blank");
    OpenSelectedLink();
}

void MainWindowModel::lvReferencesDblClick()
{
    goTo(true);
}

void MainWindowModel::OpenSelectedLink()
{
    const std::size_t row = m_selection.selectedRow();
    const std::size_t folder = selectedFolder();
    if (row == npos || folder == npos)
        return;
    TPreferences& record = m_preferences.record();
    record.LastLinkTitle = linkList()[row].Title;
    record.LastFolderName = folderTree()[folder].Name;
    // The visit is recorded whether or not the preferences could be written.
    savePreferencesAndThen([this, row, folder] {
        m_opener.open(browserAddress(linkList()[row].Address));
        m_library.linkList()[row].LastVisit = formatDate(m_clock.today());
        // Written whole through a temporary file: the old file stays until the new one is complete.
        m_library.SaveLinkFile(folderTree()[folder].Name, kWorkingLinkExt);
        notify([row](MainWindowObserver& o) { o.linkRowsChanged(row, row); });
        notify([](MainWindowObserver& o) { o.rowSelectionChanged(); });
        SortLinkList();
    });
}

// The page is written first, so that the browser never shows a missing page or one of another
// version; a page that cannot be written is an error and nothing opens.
void MainWindowModel::openHelp()
{
    writeHelpPage(m_library.home());
    m_opener.open("file://" + helpPagePath(m_library.home()).string());
}

} // namespace velloria
