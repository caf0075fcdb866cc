#pragma once
// One connection to one host, asking one GET at a time and kept open between
// answers, so that a host's next address goes out the moment its last answer
// is in. Only the head of an answer matters: a body is read to its end only
// while that is cheaper than opening a new connection, and never past the
// limit. Everything runs on the caller's thread, without a queued call
// between an answer and the next request.
#include <cstdint>
#include <functional>
#include <optional>

#include <QByteArray>
#include <QUrl>

#include "HttpAnswerReader.h"
#include "LinkOutcome.h"

class QNetworkCookieJar;
class QTcpSocket;

class THttpConnection {
public:
    // Called once per Get, as the last thing the connection does; the
    // connection may be given its next Get or destroyed from inside.
    using TDone = std::function<void(const TLinkAnswer&)>;

    THttpConnection(QByteArray userAgent, std::int64_t bodyLimit, QNetworkCookieJar* cookies);
    ~THttpConnection();
    THttpConnection(const THttpConnection&) = delete;
    THttpConnection& operator=(const THttpConnection&) = delete;

    void Get(const QUrl& url, TDone done);
    // Whether the connection can carry another request without reconnecting.
    bool Reusable() const { return FReusable; }

private:
    void Start(bool reconnect);
    void Connect();
    void Send();
    void Received();
    // closed: the host closed the connection.
    void Failed(TLinkReason reason, bool closed);
    void Answered();
    void Tell(const TLinkAnswer& answer);
    void Drop();

    QByteArray FUserAgent;
    QNetworkCookieJar* FCookies;
    QTcpSocket* FSocket = nullptr;
    QString FEndpoint;       // scheme, host and port of the open connection
    bool FViaProxy = false;  // plain HTTP sent to a proxy names the whole URL
    bool FReusable = false;
    bool FFresh = false;  // connected for this request
    bool FCertificateRefused = false;
    bool FStarting = false;  // inside Start, where a failure must wait
    std::optional<TLinkReason> FDeferred;

    QUrl FUrl;
    TDone FDone;  // empty while no request is out
    THttpAnswerReader FReader;
};
