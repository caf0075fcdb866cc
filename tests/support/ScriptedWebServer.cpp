#include "ScriptedWebServer.h"

#include <memory>

#include <QSslSocket>
#include <QTimer>

int TScriptedWebServer::AllOpen = 0;
int TScriptedWebServer::MostAllOpen = 0;
int TScriptedWebServer::AllConnected = 0;
int TScriptedWebServer::MostAllConnected = 0;

struct TScriptedWebServer::TConnection {
    QTcpSocket* Socket = nullptr;
    QByteArray Pending;
    bool Open = false;  // a request is being answered
    QTimer* Pump = nullptr;
};

namespace {

QByteArray ReasonPhrase(int status)
{
    return status < 300 ? "OK" : status < 400 ? "Redirect" : "Scripted";
}

}  // namespace

TScriptedWebServer::TScriptedWebServer(const QHostAddress& address, QObject* parent) : QTcpServer(parent)
{
    listen(address, 0);
}

void TScriptedWebServer::UseTls(const QSslCertificate& certificate, const QSslKey& key)
{
    FCertificate = certificate;
    FKey = key;
}

QString TScriptedWebServer::Base() const
{
    return QStringLiteral("%1://%2:%3")
        .arg(FCertificate.isNull() ? QStringLiteral("http") : QStringLiteral("https"),
             serverAddress().toString())
        .arg(serverPort());
}

qint64 TScriptedWebServer::Now()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

int TScriptedWebServer::RequestsFor(const QByteArray& path) const
{
    int count = 0;
    for (const TRequest& request : Requests)
        count += request.Path == path;
    return count;
}

void TScriptedWebServer::incomingConnection(qintptr descriptor)
{
    auto connection = std::make_shared<TConnection>();
    QTcpSocket* socket;
    if (FCertificate.isNull()) {
        socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
    } else {
        auto* tls = new QSslSocket(this);
        tls->setSocketDescriptor(descriptor);
        tls->setLocalCertificate(FCertificate);
        tls->setPrivateKey(FKey);
        tls->startServerEncryption();
        socket = tls;
    }
    connection->Socket = socket;
    MostAllConnected = std::max(MostAllConnected, ++AllConnected);
    connect(socket, &QTcpSocket::readyRead, this, [this, connection] {
        connection->Pending += connection->Socket->readAll();
        Serve(*connection);
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, connection] {
        --AllConnected;
        Close(*connection);
        connection->Socket->deleteLater();
    });
}

void TScriptedWebServer::Close(TConnection& connection)
{
    if (connection.Pump)
        connection.Pump->stop();
    if (std::exchange(connection.Open, false)) {
        --FOpen;
        --AllOpen;
    }
}

void TScriptedWebServer::Serve(TConnection& connection)
{
    const qsizetype end = connection.Pending.indexOf("\r\n\r\n");
    if (connection.Open || end < 0)
        return;
    const QByteArray head = connection.Pending.left(end);
    connection.Pending.remove(0, end + 4);
    const QByteArray path = head.split(' ').value(1);
    Requests.push_back({path, head, Now()});
    connection.Open = true;
    MostOpen = std::max(MostOpen, ++FOpen);
    MostAllOpen = std::max(MostAllOpen, ++AllOpen);
    const auto found = Script.find(path);
    const TScriptedAnswer answer = found == Script.end() ? Default : found->second;
    if (answer.Hang)
        return;
    QTimer::singleShot(answer.DelayMilliseconds, connection.Socket,
                       [this, &connection, path] { Answer(connection, path); });
}

void TScriptedWebServer::Answer(TConnection& connection, const QByteArray& path)
{
    const auto found = Script.find(path);
    TScriptedAnswer answer = found == Script.end() ? Default : found->second;
    if (answer.Times == 0)
        answer = {};
    else if (found != Script.end() && found->second.Times > 0)
        --found->second.Times;
    QByteArray head =
        "HTTP/1.1 " + QByteArray::number(answer.Status) + ' ' + ReasonPhrase(answer.Status) + "\r\n";
    if (!answer.Location.isEmpty())
        head += "Location: " + answer.Location + "\r\n";
    if (!answer.RetryAfter.isEmpty())
        head += "Retry-After: " + answer.RetryAfter + "\r\n";
    QTcpSocket* socket = connection.Socket;
    if (!answer.Endless) {
        const QByteArray body = "scripted answer\n";
        socket->write(head + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        BodyBytesSent += body.size();
        Close(connection);
        Serve(connection);
        return;
    }
    const bool chunked = answer.Claimed < 0;
    head += chunked ? QByteArray("Transfer-Encoding: chunked\r\n")
                    : "Content-Length: " + QByteArray::number(answer.Claimed) + "\r\n";
    socket->write(head + "\r\n");
    connection.Pump = new QTimer(socket);
    connect(connection.Pump, &QTimer::timeout, socket, [this, socket, chunked] {
        if (socket->bytesToWrite() > (256 << 10))
            return;
        const QByteArray piece(16 << 10, 'x');
        socket->write(chunked ? QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n" : piece);
        BodyBytesSent += piece.size();
    });
    connection.Pump->start(2);
}
