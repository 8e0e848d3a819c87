// The notification-area icon: its clicks, and its menu made into Qt menus as they open.

#include "gui/TrayIcon.h"

#include "gui/ImageList.h"
#include "gui/MainForm.h"
#include "gui/QtText.h"
#include "mainwindow/MainWindowModel.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>

namespace velloria {

namespace {

// Titles longer than this many average characters are shortened in the middle, so that one
// long title does not make the whole menu as wide as the screen.
constexpr int kWidestEntryInCharacters = 60;

// Library names and titles are shown as they are: an "&" in them is no accelerator.
QString entryText(const QMenu& menu, const std::string& caption)
{
    QString text = toQString(caption);
    // Measuring takes time, and a menu may hold thousands of entries: short texts are not measured.
    if (text.size() > kWidestEntryInCharacters) {
        const QFontMetrics metrics(menu.font());
        text = metrics.elidedText(text, Qt::ElideMiddle, metrics.averageCharWidth() * kWidestEntryInCharacters);
    }
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Empties a menu that is filled again as it opens: its entries and its submenus.
void clearMenu(QMenu& menu)
{
    menu.clear();
    qDeleteAll(menu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
}

} // namespace

TrayIcon::TrayIcon(MainWindowModel& model, MainForm& form) : QObject(&form), m_model(model), m_form(form)
{
    setObjectName(QStringLiteral("TrayIcon"));
    createMenu();
    m_icon = new QSystemTrayIcon(applicationIcon(), this);
    m_icon->setObjectName(QStringLiteral("trayIcon"));
    m_icon->setToolTip(QStringLiteral("Velloria"));
    // The menu is not handed to the icon: the icon would open it itself, even while a dialog is
    // open, where the program's own handling of the right click does nothing.
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { activated(reason); });
    m_icon->show();
}

TrayIcon::~TrayIcon()
{
    m_icon->hide();
    delete m_menu;
}

void TrayIcon::createMenu()
{
    m_menu = new QMenu;
    m_menu->setObjectName(QStringLiteral("TrayMenu"));
    for (const TrayMenuItem& item : trayMenuItems(m_model.texts())) {
        if (item.item == TrayItem::Separator) {
            m_menu->addSeparator();
            continue;
        }
        QAction* action = nullptr;
        if (item.item == TrayItem::Launch || item.item == TrayItem::AddToFolder) {
            QMenu* submenu = m_menu->addMenu(toQString(item.caption));
            submenu->setObjectName(toQString(item.name) + QStringLiteral("Menu"));
            const bool launch = item.item == TrayItem::Launch;
            connect(submenu, &QMenu::aboutToShow, this, [this, submenu, launch] {
                launch ? fillLaunchMenu(*submenu, kTrayTopLevel) : fillAddToFolderMenu(*submenu, kTrayTopLevel);
            });
            action = submenu->menuAction();
        } else {
            action = m_menu->addAction(imageIcon(item.image), toQString(item.caption));
            connect(action, &QAction::triggered, this, [this, which = item.item] { chooseItem(which); });
        }
        action->setObjectName(toQString(item.name));
    }
    connect(m_menu, &QMenu::aboutToShow, this, [this] { menuAboutToShow(); });
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason)
{
    if (dialogOpen())
        return;
    if (reason == QSystemTrayIcon::Trigger) {
        if (m_form.isVisible() && !m_form.isMinimized())
            m_form.hide();
        else
            showMainWindow();
    } else if (reason == QSystemTrayIcon::Context) {
        m_menu->popup(QCursor::pos());
    }
}

bool TrayIcon::dialogOpen() const
{
    return m_model.dialogActive() || QApplication::activeModalWidget() != nullptr;
}

void TrayIcon::showMainWindow()
{
    // A window minimized into the icon was hidden still minimized (MainForm::changeEvent); it
    // comes back in the state it had before, maximized or not, right before it is shown.
    m_form.setWindowState(m_form.windowState() & ~Qt::WindowMinimized);
    m_form.show();
    m_form.raise();
    m_form.activateWindow();
}

void TrayIcon::menuAboutToShow()
{
    // The language may have changed since the menu was last open.
    const std::vector<TrayMenuItem> items = trayMenuItems(m_model.texts());
    const QList<QAction*> actions = m_menu->actions();
    for (qsizetype i = 0; i < actions.size() && i < static_cast<qsizetype>(items.size()); ++i)
        if (items[static_cast<std::size_t>(i)].item != TrayItem::Separator)
            actions[i]->setText(toQString(items[static_cast<std::size_t>(i)].caption));
    // The menus take the colours of the window's menus. They scroll, each in one column: a folder
    // of a thousand links would otherwise make columns that run off the screen.
    const QString sheet = m_form.menuBar()->styleSheet() + QStringLiteral("QMenu { menu-scrollable: 1; }");
    if (m_menu->styleSheet() != sheet)
        m_menu->setStyleSheet(sheet);
}

void TrayIcon::chooseItem(TrayItem item)
{
    if (dialogOpen())
        return;
    showMainWindow();
    // Exit shows the window first, so that the question whether to save is seen over it.
    if (item == TrayItem::Preferences)
        m_form.commandTriggered(Command::ToolsPreferences);
    else if (item == TrayItem::Exit)
        m_form.commandTriggered(Command::FileExit);
}

void TrayIcon::fillLaunchMenu(QMenu& menu, std::size_t folder)
{
    clearMenu(menu);
    std::vector<TrayEntry> entries;
    m_form.run([&] { entries = launchEntries(m_model.library(), folder); });
    for (const TrayEntry& entry : entries) {
        if (entry.kind == TrayEntryKind::Submenu)
            addSubmenu(menu, entry, [this](QMenu& submenu, std::size_t child) { fillLaunchMenu(submenu, child); });
        else
            addEntry(menu, entry);
    }
}

void TrayIcon::fillAddToFolderMenu(QMenu& menu, std::size_t folder)
{
    clearMenu(menu);
    for (const TrayEntry& entry : addToFolderEntries(m_model.library().folderTree(), folder)) {
        if (entry.kind == TrayEntryKind::Submenu)
            addSubmenu(menu, entry, [this](QMenu& submenu, std::size_t child) { fillAddToFolderMenu(submenu, child); });
        else
            addEntry(menu, entry);
    }
}

template <typename Fill> void TrayIcon::addSubmenu(QMenu& parent, const TrayEntry& entry, Fill fill)
{
    auto* submenu = new QMenu(entryText(parent, entry.caption), &parent);
    submenu->setIcon(entryIcon(entry.image));
    parent.addMenu(submenu);
    connect(submenu, &QMenu::aboutToShow, this, [submenu, fill, folder = entry.folder] { fill(*submenu, folder); });
}

void TrayIcon::addEntry(QMenu& menu, const TrayEntry& entry)
{
    const QAction* action = menu.addAction(entryIcon(entry.image), entryText(menu, entry.caption));
    connect(action, &QAction::triggered, this, [this, entry] { entryChosen(entry); });
}

const QIcon& TrayIcon::entryIcon(int image)
{
    const auto [found, added] = m_icons.try_emplace(image);
    if (added)
        found->second = imageIcon(image);
    return found->second;
}

void TrayIcon::entryChosen(const TrayEntry& entry)
{
    if (dialogOpen())
        return;
    if (entry.kind == TrayEntryKind::Link) {
        m_form.run([&] { launchTrayLink(m_model, entry); });
    } else if (entry.kind == TrayEntryKind::FolderChoice) {
        const std::string clipboard = toBytes(QGuiApplication::clipboard()->text());
        m_form.run([&] { addLinkToTrayFolder(m_model, entry.folder, clipboard); });
    }
}

} // namespace velloria
