#pragma once

#include "mainwindow/TrayMenu.h"

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include <cstddef>
#include <map>

class QMenu;

namespace velloria {

class MainForm;
class MainWindowModel;

// The icon in the notification area with its menu. A left click shows or hides the main window,
// a right click opens the menu; while a dialog of the program is open the icon does nothing.
// The Launch and Add to Folder menus are filled one level at a time as they open, from what
// TrayMenu builds. The icon belongs to the main window and goes with it.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    TrayIcon(MainWindowModel& model, MainForm& form);
    ~TrayIcon() override;

    QSystemTrayIcon& icon() const { return *m_icon; }
    QMenu& menu() const { return *m_menu; }

private:
    // The main window shown, raised and activated, restored when it was minimized.
    void showMainWindow();
    void createMenu();
    void activated(QSystemTrayIcon::ActivationReason reason);
    bool dialogOpen() const;
    void menuAboutToShow();
    void chooseItem(TrayItem item);
    // Fills a menu of the given folder (kTrayTopLevel: the top of Launch or Add to Folder).
    void fillLaunchMenu(QMenu& menu, std::size_t folder);
    void fillAddToFolderMenu(QMenu& menu, std::size_t folder);
    template <typename Fill> void addSubmenu(QMenu& parent, const TrayEntry& entry, Fill fill);
    void addEntry(QMenu& menu, const TrayEntry& entry);
    void entryChosen(const TrayEntry& entry);
    const QIcon& entryIcon(int image);

    MainWindowModel& m_model;
    MainForm& m_form;
    QSystemTrayIcon* m_icon = nullptr;
    QMenu* m_menu = nullptr;
    std::map<int, QIcon> m_icons; // looked up once: a menu may hold thousands of entries
};

} // namespace velloria
