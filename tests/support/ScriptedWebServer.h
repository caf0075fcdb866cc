#pragma once
// A small web server on a loopback address that answers each path as its
// script says, for tests and benchmarks of the link checker. It keeps
// connections alive, logs every request and counts how many are open at
// once, on this server and on all of them together.
#include <map>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QTcpServer>

struct TScriptedAnswer {
    TScriptedAnswer(int status = 200, QByteArray location = {}, QByteArray retryAfter = {})
        : Status(status), Location(std::move(location)), RetryAfter(std::move(retryAfter))
    { }
    TScriptedAnswer& Delayed(int milliseconds)
    {
        DelayMilliseconds = milliseconds;
        return *this;
    }
    TScriptedAnswer& Hanging()
    {
        Hang = true;
        return *this;
    }
    // claimed: the length announced; chunked when negative.
    TScriptedAnswer& EndlessBody(qint64 claimed = -1)
    {
        Endless = true;
        Claimed = claimed;
        return *this;
    }
    // Answers so this often, then with 200.
    TScriptedAnswer& Only(int times)
    {
        Times = times;
        return *this;
    }

    int Status;
    QByteArray Location;
    QByteArray RetryAfter;
    int DelayMilliseconds = 0;
    bool Hang = false;
    bool Endless = false;
    qint64 Claimed = -1;
    int Times = -1;
};

class TScriptedWebServer : public QTcpServer {
public:
    // Listens on address at a free port.
    explicit TScriptedWebServer(const QHostAddress& address, QObject* parent = nullptr);
    // From now on every connection speaks TLS with this certificate.
    void UseTls(const QSslCertificate& certificate, const QSslKey& key);

    // Path (with query) to answer; a path not listed gets Default.
    std::map<QByteArray, TScriptedAnswer> Script;
    TScriptedAnswer Default;
    QString Base() const;  // "http://127.0.0.x:port" (https with TLS)

    struct TRequest {
        QByteArray Path;
        QByteArray Head;
        qint64 At;  // milliseconds on the shared clock
    };
    std::vector<TRequest> Requests;
    int RequestsFor(const QByteArray& path) const;
    int MostOpen = 0;
    qint64 BodyBytesSent = 0;

    static int AllOpen, MostAllOpen;
    // Connections open to any server at once.
    static int AllConnected, MostAllConnected;
    static qint64 Now();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct TConnection;
    void Serve(TConnection& connection);
    void Answer(TConnection& connection, const QByteArray& path);
    void Close(TConnection& connection);

    QSslCertificate FCertificate;
    QSslKey FKey;
    int FOpen = 0;
};
