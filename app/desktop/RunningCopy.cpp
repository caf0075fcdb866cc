#include "RunningCopy.h"

#include <algorithm>

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include "CopySocket.h"

namespace {

constexpr int AnswerWaitMs = 5000;
constexpr int LockWaitMs = 10000;
constexpr int RetryMs = 100;
constexpr int LockWatchMs = 1000;
constexpr int SocketWatchMs = 1000;

enum class TAnswer { Taken, Silent, Absent };

// One request line to the server and its "ok".
TAnswer Ask(const QString& name, const QByteArray& line)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(RetryMs))
        return TAnswer::Absent;
    // Another user's socket in a shared folder is no copy of ours.
    if (!PeerIsThisUser(static_cast<int>(socket.socketDescriptor())))
        return TAnswer::Absent;
    socket.write(line);
    const QDeadlineTimer deadline(AnswerWaitMs);
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (deadline.hasExpired())
            return TAnswer::Silent;
        socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        answer += socket.readAll();
        // Closed without answering: the copy stopped listening on its way out.
        if (socket.state() != QLocalSocket::ConnectedState && !answer.contains('\n'))
            return TAnswer::Absent;
    }
    return answer.startsWith("ok\n") ? TAnswer::Taken : TAnswer::Absent;
}

QByteArray Field(const QByteArray& value)
{
    return value.isEmpty() ? QByteArray("-") : value.toBase64();
}

QByteArray Unfield(const QByteArray& field)
{
    return field == "-" ? QByteArray() : QByteArray::fromBase64(field);
}

}  // namespace

// Lives on a thread of its own, so that a later start is answered even
// while the UI thread loads a long list.
class TRequestServer : public QObject {
public:
    TRequestServer(const std::string& folder, const std::string& name, TRunningCopy* receiver)
        : FPath(folder, name), FReceiver(receiver), FWatch(new QTimer(this))
    {
        // A socket file deleted or replaced under a running copy would leave
        // later starts nobody to ask.
        FWatch->setInterval(SocketWatchMs);
        QObject::connect(FWatch, &QTimer::timeout, this, [this] { KeepSocket(); });
        moveToThread(&FThread);
        FThread.start();
    }
    ~TRequestServer() override
    {
        Run([this] { CloseHere(); });
        FThread.quit();
        FThread.wait();
    }

    TBind Listen()
    {
        TBind result = TBind::Failed;
        Run([this, &result] { result = ListenHere(); });
        return result;
    }

    void Close()
    {
        Run([this] { CloseHere(); });
    }

private:
    void Run(const std::function<void()>& work)
    {
        QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
    }

    TBind ListenHere()
    {
        CloseHere();
        TBind result = TBind::Failed;
        FFd = ListenAt(FPath, result);
        if (FFd < 0)
            return result;
        FPath.Identify(FDevice, FInode);
        FNotifier = new QSocketNotifier(static_cast<qintptr>(FFd), QSocketNotifier::Read, this);
        QObject::connect(FNotifier, &QSocketNotifier::activated, this, [this] { Accept(); });
        FWatch->start();
        return result;
    }

    // Removes the socket file only while it is this copy's own.
    void CloseHere()
    {
        FWatch->stop();
        delete FNotifier;
        FNotifier = nullptr;
        if (FFd < 0)
            return;
        ::close(FFd);
        FFd = -1;
        FPath.RemoveIf(FDevice, FInode);
    }

    void KeepSocket()
    {
        dev_t device = 0;
        ino_t inode = 0;
        if (FFd < 0 || (FPath.Identify(device, inode) && device == FDevice && inode == FInode))
            return;
        FDevice = 0;
        FInode = 0;  // not to be removed: no longer this copy's
        if (ListenHere() != TBind::Listening)
            qWarning("linkrake: cannot answer later starts any more");
    }

    void Accept()
    {
        for (;;) {
            const int fd = ::accept4(FFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                return;
            auto* socket = new QLocalSocket(this);
            socket->setSocketDescriptor(fd);
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Answer(socket); });
            // A client that never says anything is not kept.
            QTimer::singleShot(AnswerWaitMs, socket, [socket] { socket->abort(); });
        }
    }

    void Answer(QLocalSocket* socket)
    {
        if (!socket->canReadLine())
            return;
        const QByteArray line = socket->readLine();
        socket->write("ok\n");
        socket->flush();
        socket->disconnectFromServer();
        TRunningCopy* receiver = FReceiver;
        QMetaObject::invokeMethod(
            receiver,
            [receiver, line] {
                if (receiver->OnRequest)
                    receiver->OnRequest(TRunningCopy::RequestFrom(line));
            },
            Qt::QueuedConnection);
    }

    TSocketPath FPath;
    TRunningCopy* FReceiver;
    QTimer* FWatch;
    QThread FThread;
    int FFd = -1;
    dev_t FDevice = 0;
    ino_t FInode = 0;
    QSocketNotifier* FNotifier = nullptr;
};

TRunningCopy::TRunningCopy(const std::string& folder)
    : FSocketFolder(PrivateFolderOfThisUser()),
      FSocketName(SocketNameOf(folder)),
      FOldName(OldServerName(QFile::decodeName(QByteArray::fromStdString(folder)))),
      FLock(folder)
{
    FLockWatch.setInterval(LockWatchMs);
    connect(&FLockWatch, &QTimer::timeout, this, [this] { KeepLock(); });
}

TRunningCopy::~TRunningCopy()
{
    FServer.reset();  // before the lock goes
}

QString TRunningCopy::OldServerName(const QString& folder)
{
    const QFileInfo info(folder);
    const QString path =
        info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return QStringLiteral("linkrake-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash));
}

QByteArray TRunningCopy::RequestLine(const TCopyRequest& request)
{
    return (request.ShowWindow ? QByteArray("show ") : QByteArray("stay ")) + Field(request.ActivationToken)
           + ' ' + Field(request.StartupId) + '\n';
}

TCopyRequest TRunningCopy::RequestFrom(const QByteArray& line)
{
    const QList<QByteArray> fields = line.trimmed().split(' ');
    TCopyRequest request;
    request.ShowWindow = fields.value(0) != "stay";
    request.ActivationToken = Unfield(fields.value(1, "-"));
    request.StartupId = Unfield(fields.value(2, "-"));
    return request;
}

TClaim TRunningCopy::Claim(const TCopyRequest& request, bool takeForeign)
{
    const QByteArray line = RequestLine(request);
    const TSocketPath socket(FSocketFolder, FSocketName);
    // Right after an upgrade the running copy may be an older version.
    const QStringList names{QString::fromStdString(socket.Address()), FOldName};
    const QDeadlineTimer lockWait(LockWaitMs);
    for (;;) {
        for (const QString& name : names) {
            switch (name.isEmpty() ? TAnswer::Absent : Ask(name, line)) {
            case TAnswer::Taken:
                return TClaim::Handed;
            case TAnswer::Silent:
                return TClaim::Unanswered;
            case TAnswer::Absent:
                break;
            }
        }
        const TLockAttempt attempt = FLock.Take(takeForeign);
        switch (attempt.State) {
        case TLockState::Held:
            if (StartAnswering())
                return TClaim::Owner;
            FLock.Release();  // a copy began answering meanwhile: ask it
            break;
        case TLockState::ReadOnly:
            return TClaim::Unguarded;
        case TLockState::Foreign:
            FForeignHost = attempt.ForeignHost;
            return TClaim::Foreign;
        case TLockState::Failed:
            FFailureText = LockFailureText(attempt.Reason);
            return TClaim::Failed;
        case TLockState::Busy:
            break;
        }
        if (lockWait.hasExpired())
            return TClaim::Unanswered;
        QThread::msleep(RetryMs);
    }
}

bool TRunningCopy::StartAnswering()
{
    if (!FServer)
        FServer = std::make_unique<TRequestServer>(FSocketFolder, FSocketName, this);
    const TBind bound = FServer->Listen();
    if (bound == TBind::Occupied)
        return false;
    if (bound == TBind::Failed)
        qWarning("linkrake: cannot answer later starts (%s)", FSocketFolder.c_str());
    FLockWatch.start();
    return true;
}

void TRunningCopy::KeepLock()
{
    const QString trouble = FLock.Keep();
    if (!trouble.isEmpty() && !FLockTroubleTold && OnLockTrouble)
        OnLockTrouble(LockFailureText(trouble));
    FLockTroubleTold = !trouble.isEmpty();
}

void TRunningCopy::StopAnswering()
{
    if (FServer)
        FServer->Close();
}

void TRunningCopy::QuietWhileClosing(QObject* window)
{
    FClosingWindow = window;
    window->installEventFilter(this);
}

bool TRunningCopy::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != FClosingWindow || event->type() != QEvent::Close || FInClose || !FServer)
        return false;
    // The close runs here, inside the filter, to learn whether it was
    // cancelled (a file left unsaved, the user keeping the program).
    StopAnswering();
    FInClose = true;
    QCoreApplication::sendEvent(watched, event);
    FInClose = false;
    if (!event->isAccepted())
        StartAnswering();
    return true;
}
