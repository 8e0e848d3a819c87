#include "gui/CommandActions.h"

#include "gui/ImageList.h"
#include "gui/QtText.h"
#include "mainwindow/MainWindowModel.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace velloria {

CommandActions::CommandActions(QWidget* window, Trigger trigger) : QObject(window), m_trigger(std::move(trigger))
{
    auto* sortGroup = new QActionGroup(this);
    sortGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (const CommandInfo& info : commandTable()) {
        QAction* action = createAction(window, info);
        if (info.kind == CommandKind::SortChoice)
            sortGroup->addAction(action);
        m_actions[indexOf(info.command)] = action;
    }
}

QAction* CommandActions::createAction(QWidget* window, const CommandInfo& info)
{
    auto* action = new QAction(toQString(info.caption), window);
    action->setObjectName(toQString(info.name));
    action->setShortcut(QKeySequence::fromString(toQString(info.shortcut), QKeySequence::PortableText));
    action->setShortcutContext(Qt::WindowShortcut);
    action->setIcon(imageIcon(info.image));
    action->setCheckable(info.kind != CommandKind::Plain);
    const Command command = info.command;
    connect(action, &QAction::triggered, this, [this, command] { m_trigger(command); });
    window->addAction(action);
    return action;
}

void CommandActions::fillMenuBar(QMenuBar* menuBar)
{
    for (const MenuInfo& info : mainMenu()) {
        auto* menu = new QMenu(toQString(info.caption), menuBar);
        menu->setObjectName(toQString(info.name));
        fillMenu(menu, info.items);
        menuBar->addMenu(menu);
        m_menus.push_back(menu);
    }
}

void CommandActions::fillToolBar(QToolBar* toolBar) const
{
    for (const std::optional<Command>& item : toolbarCommands()) {
        if (item)
            toolBar->addAction(action(*item));
        else
            toolBar->addSeparator();
    }
}

void CommandActions::fillMenu(QMenu* menu, const CommandList& commands) const
{
    for (const std::optional<Command>& item : commands) {
        if (item)
            menu->addAction(action(*item));
        else
            menu->addSeparator();
    }
}

void CommandActions::showStates(const MainWindowModel& model) const
{
    for (const CommandInfo& info : commandTable()) {
        QAction* command = action(info.command);
        command->setEnabled(model.commandStates().isEnabled(info.command));
        if (command->isCheckable())
            command->setChecked(model.commandStates().isChecked(info.command));
    }
}

void CommandActions::showCaptions(const MainWindowModel& model) const
{
    for (const CommandInfo& info : commandTable()) {
        QAction* command = action(info.command);
        command->setText(toQString(model.captions().caption(info.command)));
        // Without a hint of its own a command's tooltip is its caption.
        command->setToolTip(toQString(model.captions().hint(info.command)));
    }
    for (std::size_t i = 0; i < m_menus.size(); ++i)
        m_menus[i]->setTitle(toQString(model.captions().menuCaption(mainMenu()[i].name)));
}

bool CommandActions::triggerShortcut(const QKeyEvent& key) const
{
    // The keypad's Enter stands for Return.
    const Qt::Key pressed = key.key() == Qt::Key_Enter ? Qt::Key_Return : static_cast<Qt::Key>(key.key());
    const QKeySequence sequence(QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, pressed));
    for (QAction* command : m_actions) {
        if (command->isEnabled() && !command->shortcut().isEmpty() && command->shortcut() == sequence) {
            command->trigger();
            return true;
        }
    }
    return false;
}

} // namespace velloria
