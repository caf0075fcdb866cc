#include "HttpConnection.h"

#include <algorithm>
#include <optional>

#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkProxyFactory>
#include <QSslSocket>
#include <QTcpSocket>

namespace {

// A head longer than this is not an answer worth waiting for.
constexpr qsizetype HeadLimit = 64 << 10;

TLinkReason ReasonOf(QAbstractSocket::SocketError error, bool certificateRefused)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return TLinkReason::Refused;
    case QAbstractSocket::RemoteHostClosedError:
        return TLinkReason::Reset;
    case QAbstractSocket::HostNotFoundError:
        return TLinkReason::Dns;
    case QAbstractSocket::SocketTimeoutError:
        return TLinkReason::Timeout;
    case QAbstractSocket::SslHandshakeFailedError:
        return certificateRefused ? TLinkReason::Certificate : TLinkReason::Tls;
    case QAbstractSocket::ProxyAuthenticationRequiredError:
    case QAbstractSocket::ProxyConnectionRefusedError:
    case QAbstractSocket::ProxyConnectionClosedError:
    case QAbstractSocket::ProxyConnectionTimeoutError:
    case QAbstractSocket::ProxyNotFoundError:
    case QAbstractSocket::ProxyProtocolError:
        return TLinkReason::Proxy;
    default:
        return certificateRefused ? TLinkReason::Certificate : TLinkReason::Network;
    }
}

int PortOf(const QUrl& url)
{
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}

QString EndpointOf(const QUrl& url)
{
    return url.scheme() + QLatin1Char(' ') + url.host() + QLatin1Char(' ') + QString::number(PortOf(url));
}

// The end of the head (the first empty line) and the length of its ending.
std::optional<std::pair<qsizetype, qsizetype>> HeadEnd(const QByteArray& buffer)
{
    const qsizetype crlf = buffer.indexOf("\r\n\r\n");
    const qsizetype lf = buffer.indexOf("\n\n");
    if (crlf < 0 && lf < 0)
        return std::nullopt;
    if (lf >= 0 && (crlf < 0 || lf < crlf))
        return std::pair{lf, qsizetype{2}};
    return std::pair{crlf, qsizetype{4}};
}

}  // namespace

THttpConnection::THttpConnection(QByteArray userAgent, std::int64_t bodyLimit, QNetworkCookieJar* cookies)
    : FUserAgent(std::move(userAgent)), FBodyLimit(bodyLimit), FCookies(cookies)
{ }

THttpConnection::~THttpConnection()
{
    Drop();
}

void THttpConnection::Drop()
{
    FReusable = false;
    if (!FSocket)
        return;
    FSocket->disconnect();
    FSocket->abort();
    // The socket may be the one whose signal brought us here.
    FSocket->deleteLater();
    FSocket = nullptr;
}

void THttpConnection::Get(const QUrl& url, TDone done)
{
    FUrl = url;
    FDone = std::move(done);
    FBuffer.clear();
    FAnswer = {};
    FBodyRead = 0;
    FReceivedAny = false;
    FPhase = TPhase::Head;
    const bool open = FReusable && FSocket && FSocket->state() == QAbstractSocket::ConnectedState
                      && FEndpoint == EndpointOf(url);
    FReusable = false;
    Start(!open);
}

void THttpConnection::Start(bool reconnect)
{
    // A socket may fail inside connectToHost; that failure is told once the
    // request is fully under way.
    FStarting = true;
    if (reconnect)
        Connect();
    Send();
    FStarting = false;
    if (FDeferred)
        Failed(*std::exchange(FDeferred, std::nullopt), false);
}

void THttpConnection::Connect()
{
    Drop();
    FFresh = true;
    FCertificateRefused = false;
    FEndpoint = EndpointOf(FUrl);
    const bool tls = FUrl.scheme() == QLatin1String("https");
    QNetworkProxy proxy = QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(FUrl)).value(0);
    const bool httpProxy =
        proxy.type() == QNetworkProxy::HttpProxy || proxy.type() == QNetworkProxy::HttpCachingProxy;
    FViaProxy = httpProxy && !tls;
    if (FViaProxy || proxy.type() == QNetworkProxy::DefaultProxy)
        proxy = QNetworkProxy(QNetworkProxy::NoProxy);
    else if (httpProxy)
        proxy.setType(QNetworkProxy::HttpProxy);  // a tunnel for TLS

    QTcpSocket* socket = tls ? new QSslSocket : new QTcpSocket;
    FSocket = socket;
    socket->setProxy(proxy);
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this] { Received(); });
    QObject::connect(socket, &QTcpSocket::errorOccurred, socket, [this](QAbstractSocket::SocketError error) {
        Failed(ReasonOf(error, FCertificateRefused), error == QAbstractSocket::RemoteHostClosedError);
    });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [this] { Failed(TLinkReason::Reset, true); });
    const QString host = FUrl.host(QUrl::FullyEncoded);
    const auto port = static_cast<quint16>(PortOf(FUrl));
    if (tls) {
        auto* secure = static_cast<QSslSocket*>(socket);
        QObject::connect(secure, &QSslSocket::sslErrors, secure, [this] { FCertificateRefused = true; });
        secure->connectToHostEncrypted(host, port);
    } else if (FViaProxy) {
        socket->connectToHost(proxy.hostName(), proxy.port());
    } else {
        socket->connectToHost(host, port);
    }
}

void THttpConnection::Send()
{
    if (!FSocket || !FSocket->isOpen())
        return;
    const QByteArray target =
        FViaProxy ? FUrl.toEncoded(QUrl::RemoveFragment)
                  : FUrl.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    QByteArray request = "GET " + (target.isEmpty() ? QByteArray("/") : target)
                         + " HTTP/1.1\r\nHost: " + FUrl.authority(QUrl::FullyEncoded).toLatin1()
                         + "\r\nUser-Agent: " + FUserAgent + "\r\nAccept: */*\r\n";
    if (FCookies) {
        const QList<QNetworkCookie> cookies = FCookies->cookiesForUrl(FUrl);
        if (!cookies.isEmpty()) {
            request += "Cookie: ";
            for (qsizetype i = 0; i < cookies.size(); ++i)
                request += (i ? "; " : "") + cookies[i].toRawForm(QNetworkCookie::NameAndValueOnly);
            request += "\r\n";
        }
    }
    FSocket->write(request + "\r\n");
    // Out now rather than on the event loop's next turn (a new connection
    // sends it once connected).
    if (FSocket->state() == QAbstractSocket::ConnectedState && !FSocket->inherits("QSslSocket"))
        FSocket->flush();
}

void THttpConnection::Received()
{
    const QByteArray data = FSocket->readAll();
    if (FPhase == TPhase::Idle) {
        FReusable = false;  // nothing was asked: the connection is out of step
        return;
    }
    FReceivedAny = true;
    FBuffer += data;
    Parse();
}

void THttpConnection::Parse()
{
    for (;;) {
        switch (FPhase) {
        case TPhase::Idle:
            return;
        case TPhase::Head: {
            const auto end = HeadEnd(FBuffer);
            if (!end) {
                if (FBuffer.size() > HeadLimit)
                    Failed(TLinkReason::Network, false);
                return;
            }
            if (!ParseHead(end->first))
                return;  // answered or failed
            FBuffer.remove(0, end->first + end->second);
            break;
        }
        default:
            if (!TakeBody())
                return;
            break;
        }
    }
}

bool THttpConnection::ParseHead(qsizetype end)
{
    const QList<QByteArray> lines = FBuffer.left(end).split('\n');
    const QByteArray statusLine = lines.value(0).trimmed();
    const QList<QByteArray> words = statusLine.split(' ');
    bool numeric = false;
    const int status = words.value(1).toInt(&numeric);
    if (!statusLine.startsWith("HTTP/") || !numeric || status < 100 || status > 999) {
        Failed(TLinkReason::Network, false);
        return false;
    }
    if (status < 200) {
        // An interim answer; the real one follows.
        return true;
    }
    FAnswer.Status = status;
    FKeepAlive = !statusLine.startsWith("HTTP/1.0");
    std::optional<std::int64_t> length;
    bool chunked = false;
    QList<QNetworkCookie> cookies;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = lines[i].left(colon).trimmed().toLower();
        const QByteArray value = lines[i].mid(colon + 1).trimmed();
        if (name == "location" && FAnswer.Location.isEmpty())
            FAnswer.Location = QString::fromLatin1(value);
        else if (name == "retry-after")
            FAnswer.RetryAfter = QString::fromLatin1(value);
        else if (const std::int64_t bytes = value.toLongLong(&numeric); name == "content-length" && numeric)
            length = bytes;
        else if (name == "transfer-encoding")
            chunked = value.toLower().contains("chunked");
        else if (name == "connection")
            FKeepAlive =
                value.toLower().contains("keep-alive") || (FKeepAlive && !value.toLower().contains("close"));
        else if (name == "set-cookie")
            cookies += QNetworkCookie::parseCookies(value);
    }
    if (FCookies && !cookies.isEmpty())
        FCookies->setCookiesFromUrl(cookies, FUrl);

    FRemaining = length.value_or(0);
    if (status == 204 || status == 304 || (!chunked && length == 0)) {
        Answered(FKeepAlive);
        return false;
    }
    // A body not read to its end leaves the connection unusable, so a
    // large one, or any on a connection that closes anyway, is not read.
    if (!FKeepAlive || (!chunked && length && *length > FBodyLimit)) {
        Answered(false);
        return false;
    }
    FPhase = chunked ? TPhase::Chunks : length ? TPhase::Body : TPhase::UntilClose;
    return true;
}

// Takes what the buffer holds of the body; false when there is nothing more
// to do until more arrives, or the answer is complete.
bool THttpConnection::TakeBody()
{
    const auto line = [this]() -> std::optional<QByteArray> {
        const qsizetype end = FBuffer.indexOf('\n');
        if (end < 0)
            return std::nullopt;
        QByteArray text = FBuffer.left(end).trimmed();
        FBuffer.remove(0, end + 1);
        return text;
    };
    switch (FPhase) {
    case TPhase::Body:
    case TPhase::ChunkData:
    case TPhase::UntilClose: {
        const std::int64_t taken = FPhase == TPhase::UntilClose
                                       ? FBuffer.size()
                                       : std::min<std::int64_t>(FRemaining, FBuffer.size());
        FBuffer.remove(0, static_cast<qsizetype>(taken));
        FBodyRead += taken;
        FRemaining -= taken;
        if (FBodyRead > FBodyLimit) {
            Answered(false);
            return false;
        }
        if (FPhase == TPhase::UntilClose || FRemaining > 0)
            return false;
        if (FPhase == TPhase::Body) {
            Answered(FKeepAlive);
            return false;
        }
        FPhase = TPhase::ChunkLineEnd;
        return true;
    }
    case TPhase::ChunkLineEnd:
        if (!line())
            return false;
        FPhase = TPhase::Chunks;
        return true;
    case TPhase::Chunks: {
        const auto size = line();
        if (!size)
            return false;
        bool hex = false;
        FRemaining = size->split(';').value(0).trimmed().toLongLong(&hex, 16);
        if (!hex || FRemaining < 0) {
            Failed(TLinkReason::Network, false);
            return false;
        }
        FPhase = FRemaining == 0 ? TPhase::Trailer : TPhase::ChunkData;
        return true;
    }
    case TPhase::Trailer: {
        const auto field = line();
        if (!field)
            return false;
        if (field->isEmpty()) {
            Answered(FKeepAlive);
            return false;
        }
        return true;
    }
    default:
        return false;
    }
}

void THttpConnection::Failed(TLinkReason reason, bool closed)
{
    if (FPhase == TPhase::Idle) {
        FReusable = false;
        return;
    }
    if (FStarting) {
        if (!FDeferred)
            FDeferred = reason;
        return;
    }
    if (FPhase == TPhase::UntilClose && closed) {
        Answered(false);
        return;
    }
    // A kept connection the host closed meanwhile: the request never
    // reached it, so it goes once more on a new one.
    if (!FFresh && !FReceivedAny && closed) {
        Start(true);
        return;
    }
    TLinkAnswer answer;
    answer.Failure = reason;
    if (FPhase != TPhase::Head)
        answer = FAnswer;  // the status came; the rest of the body does not matter
    Drop();
    FPhase = TPhase::Idle;
    const TDone done = std::move(FDone);
    done(answer);
}

void THttpConnection::Answered(bool keepOpen)
{
    if (!keepOpen)
        Drop();
    FReusable = keepOpen;
    FFresh = false;
    FPhase = TPhase::Idle;
    FBuffer.clear();
    const TDone done = std::move(FDone);
    done(FAnswer);
}
