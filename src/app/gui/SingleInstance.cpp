#include "SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quorvel::gui {
namespace {

// The receiving copy answers with this byte once it holds the whole text, so
// the sender ends only after the hand-over really happened.
constexpr char kReceived = 0x06;
constexpr size_t kLengthBytes = 4;

QString UserName()
{
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name && *entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return QString::number(::getuid());
}

bool SocketAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

// A connected stream socket, or -1 when nobody listens at `path`.
int Connect(const QString& path, int timeoutMs)
{
    sockaddr_un address{};
    if (!SocketAddress(path, address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

// One later copy talking to us: what it has sent so far.
struct CSingleInstance::Connection {
    int fd = -1;
    std::string received;
    std::unique_ptr<QSocketNotifier> notifier;
};

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
    for (const auto& connection : connections_)
        ::close(connection->fd);
    connections_.clear();
    notifier_.reset();
    if (listener_ >= 0) {
        ::close(listener_);
        ::unlink(QFile::encodeName(socketPath_).constData());
    }
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
    const int fd = Connect(socketPath_, kConnectTimeoutMs);
    if (fd < 0)
        return HandOverResult::NoListener;
    const auto length = static_cast<uint32_t>(commandLine.size());
    const char header[kLengthBytes] = {char(length >> 24), char(length >> 16), char(length >> 8), char(length)};
    char answer = 0;
    bool delivered = WriteAll(fd, header, sizeof header) && WriteAll(fd, commandLine.data(), commandLine.size());
    if (delivered) {
        ssize_t n = 0;
        do
            n = ::recv(fd, &answer, 1, 0);
        while (n < 0 && errno == EINTR);
        delivered = n == 1 && answer == kReceived;
    }
    ::close(fd);
    return delivered ? HandOverResult::Delivered : HandOverResult::NoAnswer;
}

bool CSingleInstance::Listen()
{
    sockaddr_un address{};
    if (!SocketAddress(socketPath_, address))
        return false;
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener_ < 0)
        return false;
    const auto* raw = reinterpret_cast<const sockaddr*>(&address);
    if (::bind(listener_, raw, sizeof address) != 0) {
        // Nobody answered on the socket, so it is left over from a copy that
        // crashed: remove it and bind again.
        if (errno != EADDRINUSE || ::unlink(address.sun_path) != 0 || ::bind(listener_, raw, sizeof address) != 0) {
            ::close(listener_);
            listener_ = -1;
            return false;
        }
    }
    ::chmod(address.sun_path, S_IRUSR | S_IWUSR); // the user's copies only
    if (::listen(listener_, 8) != 0) {
        ::close(listener_);
        listener_ = -1;
        return false;
    }
    notifier_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { Accept(); });
    return true;
}

void CSingleInstance::Accept()
{
    for (;;) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        Connection* raw = connection.get();
        QObject::connect(raw->notifier.get(), &QSocketNotifier::activated, raw->notifier.get(),
                         [this, raw] { ReadFrom(*raw); });
        connections_.push_back(std::move(connection));
    }
}

void CSingleInstance::ReadFrom(Connection& connection)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::recv(connection.fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (n <= 0) {
            Drop(connection); // the sender went away before finishing
            return;
        }
        connection.received.append(buffer, static_cast<size_t>(n));
        if (connection.received.size() > kLengthBytes + kMaxCommandLine) {
            Drop(connection);
            return;
        }
    }
    if (connection.received.size() < kLengthBytes)
        return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(connection.received.data());
    const uint32_t length = (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
    if (length > kMaxCommandLine) {
        Drop(connection);
        return;
    }
    if (connection.received.size() < kLengthBytes + length)
        return;
    const std::string text = connection.received.substr(kLengthBytes, length);
    ::send(connection.fd, &kReceived, 1, MSG_NOSIGNAL);
    Drop(connection);
    if (receiver_)
        receiver_(text);
}

void CSingleInstance::Drop(Connection& connection)
{
    // Called from the notifier's own signal too, where it must not be
    // destroyed on the spot.
    connection.notifier->setEnabled(false);
    connection.notifier.release()->deleteLater();
    ::close(connection.fd);
    std::erase_if(connections_, [&connection](const auto& c) { return c.get() == &connection; });
}

} // namespace quorvel::gui
