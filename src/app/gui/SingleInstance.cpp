#include "SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <pwd.h>
#include <unistd.h>

namespace quorvel::gui {
namespace {

// The receiving copy answers with this byte once it holds the whole text, so
// the sender ends only after the hand-over really happened.
constexpr char kReceived = 0x06;

QString UserName()
{
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name && *entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return QString::number(::getuid());
}

QByteArray Frame(const std::string& commandLine)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << static_cast<quint32>(commandLine.size());
    bytes.append(commandLine.data(), static_cast<qsizetype>(commandLine.size()));
    return bytes;
}

} // namespace

QString InstanceSocketPath(const QString& applicationName)
{
    const QString name = applicationName + QLatin1Char('-') + UserName();
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(name);
    return QDir(QDir::tempPath()).filePath(name);
}

CSingleInstance::CSingleInstance(QString socketPath) : socketPath_(std::move(socketPath)) {}

CSingleInstance::~CSingleInstance()
{
    if (server_)
        server_->close(); // removes the socket file
}

InstanceRole CSingleInstance::Claim(const std::string& commandLine)
{
    // Two copies started together must not both decide they are first: the
    // decision and the listen happen under a lock file. A lock left by a
    // crashed copy is recognised by its dead process and taken over.
    QLockFile lock(socketPath_ + QStringLiteral(".lock"));
    const bool locked = lock.tryLock(kAnswerTimeoutMs);
    (void)locked; // without the lock the check below still works, only racier

    switch (HandOver(commandLine)) {
    case HandOverResult::Delivered:
        return InstanceRole::HandedOver;
    case HandOverResult::NoAnswer:
        return InstanceRole::Failed;
    case HandOverResult::NoListener:
        break;
    }
    return Listen() ? InstanceRole::First : InstanceRole::Failed;
}

CSingleInstance::HandOverResult CSingleInstance::HandOver(const std::string& commandLine) const
{
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return HandOverResult::NoListener;

    socket.write(Frame(commandLine));
    if (!socket.waitForBytesWritten(kAnswerTimeoutMs))
        return HandOverResult::NoAnswer;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(kAnswerTimeoutMs))
            return HandOverResult::NoAnswer;
    }
    char answer = 0;
    socket.getChar(&answer);
    socket.disconnectFromServer();
    return answer == kReceived ? HandOverResult::Delivered : HandOverResult::NoAnswer;
}

bool CSingleInstance::Listen()
{
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath_)) {
        if (server_->serverError() != QAbstractSocket::AddressInUseError)
            return false;
        // Nobody answered on the socket, so it is left over from a copy that
        // crashed: remove it and listen again.
        QLocalServer::removeServer(socketPath_);
        if (!server_->listen(socketPath_))
            return false;
    }
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] { Accept(); });
    return true;
}

void CSingleInstance::Accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { ReadFrom(socket); });
        ReadFrom(socket);
    }
}

void CSingleInstance::ReadFrom(QLocalSocket* socket)
{
    constexpr qint64 kLengthBytes = 4;
    if (socket->bytesAvailable() < kLengthBytes)
        return;
    quint32 length = 0;
    {
        QDataStream in(socket->peek(kLengthBytes));
        in >> length;
    }
    if (length > kMaxCommandLine) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < kLengthBytes + length)
        return;
    socket->skip(kLengthBytes);
    const QByteArray text = socket->read(length);
    socket->putChar(kReceived);
    socket->flush();
    if (receiver_)
        receiver_(text.toStdString());
}

} // namespace quorvel::gui
