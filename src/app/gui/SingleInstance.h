#pragma once
// One running copy per user. The first copy listens on a local socket named
// after the application and the user; a later copy hands its command line
// over through that socket and ends without opening a window.
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace quorvel::gui {

// The socket's path: in the user's private runtime folder when there is one,
// otherwise in the temporary folder; the user's name is part of it either way.
QString InstanceSocketPath(const QString& applicationName);

enum class InstanceRole {
    First,      // no other copy runs; this one now listens
    HandedOver, // a running copy took the command line; end quietly
    Failed,     // a copy runs but did not answer, or the socket cannot be made
};

class CSingleInstance {
public:
    // Command lines handed over by later copies, delivered on the Qt event loop.
    using Receiver = std::function<void(const std::string& commandLine)>;

    // A command line longer than this is not a command line; the connection
    // is dropped instead of buffering without end.
    static constexpr qint64 kMaxCommandLine = 1 << 20;
    static constexpr int kConnectTimeoutMs = 1000;
    static constexpr int kAnswerTimeoutMs = 5000;

    explicit CSingleInstance(QString socketPath);
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // Needs a QCoreApplication. Becomes the first copy, or hands
    // `commandLine` to the running one.
    InstanceRole Claim(const std::string& commandLine);

    void SetReceiver(Receiver receiver) { receiver_ = std::move(receiver); }

private:
    enum class HandOverResult { NoListener, Delivered, NoAnswer };

    HandOverResult HandOver(const std::string& commandLine) const;
    bool Listen();
    void Accept();
    void ReadFrom(QLocalSocket* socket);

    QString socketPath_;
    std::unique_ptr<QLocalServer> server_;
    Receiver receiver_;
};

} // namespace quorvel::gui
