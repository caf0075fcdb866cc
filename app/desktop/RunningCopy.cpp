#include "RunningCopy.h"

#include <algorithm>

#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QEvent>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

namespace {

constexpr int AnswerWaitMs = 5000;
constexpr int LockWaitMs = 10000;
constexpr int RetryMs = 100;

enum class TAnswer { Taken, Silent, Absent };

// One request line to the server and its "ok".
TAnswer Ask(const QString& name, const QByteArray& line)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(RetryMs))
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
    TRequestServer(QString name, TRunningCopy* receiver) : FName(std::move(name)), FReceiver(receiver)
    {
        moveToThread(&FThread);
        FThread.start();
    }
    ~TRequestServer() override
    {
        Run([this] { delete FServer; });
        FThread.quit();
        FThread.wait();
    }

    void Listen()
    {
        Run([this] {
            if (!FServer) {
                FServer = new QLocalServer;
                FServer->setSocketOptions(QLocalServer::UserAccessOption);
                QObject::connect(FServer, &QLocalServer::newConnection, FServer, [this] { Accept(); });
            }
            // Held under the lock, so a socket left by a killed copy is stale.
            QLocalServer::removeServer(FName);
            if (!FServer->listen(FName))
                qWarning("linkrake: cannot answer later starts: %s", qPrintable(FServer->errorString()));
        });
    }

    void Close()
    {
        Run([this] {
            if (FServer)
                FServer->close();
        });
    }

private:
    void Run(const std::function<void()>& work)
    {
        QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
    }

    void Accept()
    {
        while (QLocalSocket* socket = FServer->nextPendingConnection()) {
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
            receiver, [receiver, line] { emit receiver->Requested(TRunningCopy::RequestFrom(line)); },
            Qt::QueuedConnection);
    }

    QString FName;
    TRunningCopy* FReceiver;
    QThread FThread;
    QLocalServer* FServer = nullptr;
};

TRunningCopy::TRunningCopy(const QString& folder)
    : FName(ServerName(folder)), FLock(folder + QStringLiteral("Linkrake.lock"))
{
    // The lock of a copy that crashed or was killed is taken over at once:
    // its owner's process no longer runs.
    FLock.setStaleLockTime(0);
}

TRunningCopy::~TRunningCopy()
{
    FServer.reset();  // before the lock goes
}

QString TRunningCopy::ServerName(const QString& folder)
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

TClaim TRunningCopy::Claim(const TCopyRequest& request)
{
    const QByteArray line = RequestLine(request);
    const QDeadlineTimer lockWait(LockWaitMs);
    for (;;) {
        if (FLock.tryLock(0)) {
            StartAnswering();
            return TClaim::Owner;
        }
        if (FLock.error() != QLockFile::LockFailedError)
            return TClaim::Unguarded;
        switch (Ask(FName, line)) {
        case TAnswer::Taken:
            return TClaim::Handed;
        case TAnswer::Silent:
            return TClaim::Unanswered;
        case TAnswer::Absent:
            break;
        }
        if (lockWait.hasExpired())
            return TClaim::Unanswered;
        QThread::msleep(RetryMs);
    }
}

void TRunningCopy::StartAnswering()
{
    if (!FServer)
        FServer = std::make_unique<TRequestServer>(FName, this);
    FServer->Listen();
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
