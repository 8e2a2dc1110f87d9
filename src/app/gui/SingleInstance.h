#pragma once
// One running copy per user. The first copy listens on a local socket named
// after the application and the user; a later copy hands its command line
// over through that socket and ends without opening a window. Plain Unix
// domain sockets watched by the event loop: loading a network library for
// this alone would cost every start-up more than the rest of the shell.
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;

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

    struct Connection;

    HandOverResult HandOver(const std::string& commandLine) const;
    bool Listen();
    void Accept();
    void ReadFrom(Connection& connection);
    void Drop(Connection& connection);

    QString socketPath_;
    int listener_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<std::unique_ptr<Connection>> connections_;
    Receiver receiver_;
};

} // namespace quorvel::gui
