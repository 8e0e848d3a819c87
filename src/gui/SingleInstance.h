#pragma once

#include "platform/InstanceLock.h"

#include <QLocalServer>
#include <QObject>
#include <QPointer>

#include <filesystem>

class QWidget;

namespace velloria {

// One running copy of the program per home directory. The copy that takes the instance lock
// listens on a local socket named after the home; a later copy finds the lock taken, connects
// to ask the running copy to show its window, and ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const std::filesystem::path& home, QObject* parent = nullptr);

    enum class Start { Run, HandedOver, NoAnswer };

    // Run: this copy holds the lock (or no copy can, on a read-only home) and goes on.
    // HandedOver: the running copy was asked to show itself. NoAnswer: the lock is held by a
    // process that does not listen, such as the command-line tool changing the library.
    Start start();

    // From now on a later copy's request shows, raises and activates the window.
    void showOnRequest(QWidget* window);

    static QString serverName(const std::filesystem::path& home);

private:
    bool askRunningCopy() const;
    void showWindow();

    std::filesystem::path m_home;
    InstanceLock m_lock;
    QLocalServer m_server;
    QPointer<QWidget> m_window;
};

} // namespace velloria
