#include "gui/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

namespace velloria {

namespace {

// The running copy opens its server only after it has taken the lock, so a copy started at
// the same moment tries for a little while before it gives up.
constexpr int kConnectAttempts = 10;
constexpr int kConnectTimeoutMs = 500;
constexpr unsigned long kRetryDelayMs = 200;

} // namespace

SingleInstance::SingleInstance(const std::filesystem::path& home, QObject* parent)
    : QObject(parent), m_home(home), m_lock(InstanceLock::lockFileFor(home))
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] { showWindow(); });
}

QString SingleInstance::serverName(const std::filesystem::path& home)
{
    // Socket names are short and cannot hold every path, so the name carries a hash of the
    // canonical home: two spellings of one directory meet, two homes never do.
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(home, ec);
    const std::string path = (ec ? home : canonical).string();
    const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(path), QCryptographicHash::Sha256);
    return QStringLiteral("velloria-") + QString::fromLatin1(hash.toHex().left(16));
}

SingleInstance::Start SingleInstance::start()
{
    if (m_lock.tryAcquire() == InstanceLock::Result::HeldByAnother)
        return askRunningCopy() ? Start::HandedOver : Start::NoAnswer;
    // A server of a copy that crashed leaves its socket file behind; as the lock holder this
    // copy may remove it.
    const QString name = serverName(m_home);
    QLocalServer::removeServer(name);
    m_server.listen(name);
    return Start::Run;
}

bool SingleInstance::askRunningCopy() const
{
    QLocalSocket socket;
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        socket.connectToServer(serverName(m_home));
        if (socket.waitForConnected(kConnectTimeoutMs)) {
            socket.disconnectFromServer();
            return true;
        }
        QThread::msleep(kRetryDelayMs);
    }
    return false;
}

void SingleInstance::showOnRequest(QWidget* window)
{
    m_window = window;
}

void SingleInstance::showWindow()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection())
        socket->deleteLater();
    if (!m_window)
        return;
    // Back in the state it had before it was minimized (a window put away in the notification
    // area stays minimized while hidden), maximized or not.
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace velloria
