#pragma once

#include "mainwindow/Commands.h"

#include <QObject>

#include <array>
#include <functional>
#include <vector>

class QAction;
class QKeyEvent;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace velloria {

class MainWindowModel;

// The main window's commands as Qt actions, one per command, named after it, with the
// command's shortcut and image. Menus, the toolbar and the context menu are filled by walking
// the command lists of the core; the states and texts come from the main window model.
class CommandActions : public QObject {
    Q_OBJECT

public:
    using Trigger = std::function<void(Command)>;

    // The actions belong to the window, so their shortcuts work wherever its focus is.
    CommandActions(QWidget* window, Trigger trigger);

    QAction* action(Command command) const { return m_actions[indexOf(command)]; }

    void fillMenuBar(QMenuBar* menuBar);
    void fillToolBar(QToolBar* toolBar) const;
    void fillMenu(QMenu* menu, const CommandList& commands) const;

    void showStates(const MainWindowModel& model) const;   // enabled and checked
    void showCaptions(const MainWindowModel& model) const; // captions, hints, menu titles

    // Runs the enabled command whose shortcut is the key, for the widgets that take such keys
    // for themselves (item views keep Return and Delete). Returns whether one ran.
    bool triggerShortcut(const QKeyEvent& key) const;

private:
    QAction* createAction(QWidget* window, const CommandInfo& info);

    Trigger m_trigger;
    std::array<QAction*, kCommandCount> m_actions{};
    std::vector<QMenu*> m_menus; // the menu bar's menus, in the order of mainMenu()
};

} // namespace velloria
