#include "HttpConnection.h"

#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkProxyFactory>
#include <QSslSocket>
#include <QTcpSocket>

namespace {

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

}  // namespace

THttpConnection::THttpConnection(QByteArray userAgent, std::int64_t bodyLimit, QNetworkCookieJar* cookies)
    : FUserAgent(std::move(userAgent)), FCookies(cookies), FReader(bodyLimit)
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
    FReader.Reset();
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
    const QNetworkProxy found = QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(FUrl)).value(0);
    const bool httpProxy =
        found.type() == QNetworkProxy::HttpProxy || found.type() == QNetworkProxy::HttpCachingProxy;
    FViaProxy = httpProxy && !tls;
    QNetworkProxy proxy = found;
    if (FViaProxy || found.type() == QNetworkProxy::DefaultProxy)
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
        socket->connectToHost(found.hostName(), found.port());
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
    if (!FDone) {
        FReusable = false;  // nothing was asked: the connection is out of step
        return;
    }
    switch (FReader.Feed(data)) {
    case THttpAnswerReader::TState::More:
        return;
    case THttpAnswerReader::TState::Done:
        Answered();
        return;
    case THttpAnswerReader::TState::Broken:
        Drop();
        Tell({0, TLinkReason::Network, {}, {}});
        return;
    }
}

void THttpConnection::Failed(TLinkReason reason, bool closed)
{
    if (!FDone) {
        FReusable = false;
        return;
    }
    if (FStarting) {
        if (!FDeferred)
            FDeferred = reason;
        return;
    }
    // A kept connection the host closed meanwhile: the request never
    // reached it, so it goes once more on a new one.
    if (closed && !FFresh && !FReader.Received()) {
        Start(true);
        return;
    }
    if (FReader.Closed() == THttpAnswerReader::TState::Done) {
        Answered();
        return;
    }
    Drop();
    Tell({0, reason, {}, {}});
}

void THttpConnection::Answered()
{
    if (FCookies && !FReader.Cookies().isEmpty()) {
        QList<QNetworkCookie> cookies;
        for (const QByteArray& value : FReader.Cookies())
            cookies += QNetworkCookie::parseCookies(value);
        FCookies->setCookiesFromUrl(cookies, FUrl);
    }
    const bool keepOpen = FReader.KeepOpen();
    if (!keepOpen)
        Drop();
    FReusable = keepOpen;
    FFresh = false;
    Tell(FReader.Answer());
}

void THttpConnection::Tell(const TLinkAnswer& answer)
{
    TDone done = std::move(FDone);
    FDone = nullptr;
    done(answer);
}
