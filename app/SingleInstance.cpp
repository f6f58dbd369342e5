#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// Off unless asked for: QT_LOGGING_RULES="tzr582.instance.info=true".
Q_LOGGING_CATEGORY(lcInstance, "tzr582.instance", QtWarningMsg)

const QByteArray Acknowledgement = QByteArrayLiteral("ok\n");

} // namespace

TSingleInstance::TSingleInstance(const QString& serverName, QObject* parent)
    : QObject(parent), m_serverName(serverName)
{
}

QString TSingleInstance::ServerNameForThisDisplay()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    const QString key = QStringLiteral("%1-%2").arg(platform.isEmpty() ? QStringLiteral("desktop") : platform,
                                                    display.isEmpty() ? QStringLiteral("none") : display);
    const QString safeKey =
        QString(key).replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    // The runtime folder is the user's own; without one, the temporary folder
    // with the user's number in the name.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/tzr582-") + safeKey;
    return QDir::tempPath() + QStringLiteral("/tzr582-%1-").arg(getuid()) + safeKey;
}

TSingleInstance::HandOverResult TSingleInstance::HandOver(const QString& file, int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return HandOverResult::NoneRunning;
    socket.write(file.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return HandOverResult::NoAnswer;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return HandOverResult::NoAnswer;
    }
    return socket.readLine() == Acknowledgement ? HandOverResult::HandedOver : HandOverResult::NoAnswer;
}

bool TSingleInstance::Listen()
{
    QLocalServer::removeServer(m_serverName);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
    if (!m_server->listen(m_serverName)) {
        qCWarning(lcInstance) << "cannot listen on" << m_serverName << m_server->errorString();
        return false;
    }
    qCInfo(lcInstance) << "listening on" << m_serverName;
    return true;
}

void TSingleInstance::Accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Answer(socket); });
        Answer(socket); // the line may be there already
    }
}

void TSingleInstance::Answer(QLocalSocket* socket)
{
    if (!socket->canReadLine())
        return;
    const QString file = QString::fromUtf8(socket->readLine()).chopped(1);
    socket->write(Acknowledgement);
    socket->flush();
    socket->disconnectFromServer();
    qCInfo(lcInstance).noquote() << "handed over:" << file;
    emit FileHandedOver(file);
}
