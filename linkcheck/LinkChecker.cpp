#include "LinkChecker.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#ifndef LINKRAKE_VERSION
#error "LINKRAKE_VERSION must give the program's version"
#endif

struct TLinkChecker::THost {
    std::deque<std::size_t> Queue;
    int Active = 0;
    bool Waiting = false;  // in FWaitingHosts
    bool Paused = false;   // the host asked for a pause
    std::chrono::steady_clock::time_point ResumeAt;
    QTimer Wake;
};

struct TLinkChecker::TJob {
    explicit TJob(QUrl url) : Chain(std::move(url)) { }
    TLinkChain Chain;
    std::vector<int> Inputs;
    THost* Host = nullptr;
    QNetworkReply* Reply = nullptr;
    QTimer Deadline;
    TLinkAnswer Answer;
    std::int64_t BodyRead = 0;
    bool TimedOut = false;
    bool CertificateRefused = false;
};

namespace {

TLinkReason FailureOf(QNetworkReply::NetworkError error, bool timedOut, bool certificateRefused)
{
    if (timedOut)
        return TLinkReason::Timeout;
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return TLinkReason::Refused;
    case QNetworkReply::RemoteHostClosedError:
        return TLinkReason::Reset;
    case QNetworkReply::HostNotFoundError:
        return TLinkReason::Dns;
    case QNetworkReply::TimeoutError:
        return TLinkReason::Timeout;
    case QNetworkReply::SslHandshakeFailedError:
        return certificateRefused ? TLinkReason::Certificate : TLinkReason::Tls;
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return TLinkReason::Proxy;
    default:
        return certificateRefused ? TLinkReason::Certificate : TLinkReason::Network;
    }
}

QString HostKey(const QUrl& url)
{
    return url.host() + QLatin1Char(':')
           + QString::number(url.port(url.scheme() == QLatin1String("https") ? 443 : 80));
}

int Milliseconds(double seconds)
{
    return static_cast<int>(std::lround(std::clamp(seconds * 1000, 0.0, 3'600'000.0)));
}

}  // namespace

TLinkChecker::TLinkChecker(QObject* parent) : QObject(parent)
{
    QNetworkProxyFactory::setUseSystemConfiguration(true);
}

TLinkChecker::~TLinkChecker()
{
    Release();
}

QByteArray TLinkChecker::UserAgent()
{
    return QByteArrayLiteral("Linkrake/" LINKRAKE_VERSION);
}

void TLinkChecker::Start(const QStringList& urls)
{
    Abort();
    FRunning = true;
    FInputs = static_cast<int>(urls.size());
    FDecided = 0;
    FManager = std::make_unique<QNetworkAccessManager>();
    // Some sites redirect until a cookie comes back; the jar lives for this
    // check only.
    FManager->setCookieJar(new QNetworkCookieJar(FManager.get()));
    FManager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);

    std::unordered_map<QString, std::size_t> jobOf;
    for (int index = 0; index < FInputs; ++index) {
        TLinkReason whyNot = TLinkReason::None;
        const std::optional<QUrl> url = CheckableUrl(urls[index], &whyNot);
        if (!url) {
            emit Decided(index, {TLinkOutcome::Skipped, 0, whyNot, {}});
            ++FDecided;
            continue;
        }
        auto [place, added] = jobOf.emplace(url->toString(QUrl::FullyEncoded), FJobs.size());
        if (added)
            FJobs.push_back(std::make_unique<TJob>(*url));
        FJobs[place->second]->Inputs.push_back(index);
    }
    FOpenJobs = FJobs.size();
    for (std::size_t job = 0; job < FJobs.size(); ++job)
        Queue(job, false);
    if (FDecided > 0)
        emit Progress(FDecided, FInputs);
    if (FOpenJobs == 0) {
        Release();
        emit Finished(true);
        return;
    }
    Pump();
}

void TLinkChecker::Abort()
{
    if (!FRunning)
        return;
    Release();
    emit Finished(false);
}

void TLinkChecker::Release()
{
    FRunning = false;
    for (const auto& job : FJobs)
        if (job->Reply) {
            job->Reply->disconnect(this);
            job->Reply->abort();
            job->Reply->deleteLater();
            job->Reply = nullptr;
        }
    FJobs.clear();
    FHosts.clear();
    FWaitingHosts.clear();
    FActive = 0;
    FOpenJobs = 0;
    if (FManager)
        FManager.release()->deleteLater();
}

TLinkChecker::THost& TLinkChecker::HostOf(const QUrl& url)
{
    std::unique_ptr<THost>& host = FHosts[HostKey(url)];
    if (!host) {
        host = std::make_unique<THost>();
        host->Wake.setSingleShot(true);
        // A coarse timer may wake early, before the wait the host asked for.
        host->Wake.setTimerType(Qt::PreciseTimer);
        THost* raw = host.get();
        connect(&host->Wake, &QTimer::timeout, this, [this, raw] {
            raw->Paused = false;
            Pump();
        });
    }
    return *host;
}

void TLinkChecker::Queue(std::size_t job, bool first)
{
    THost& host = HostOf(FJobs[job]->Chain.Current());
    FJobs[job]->Host = &host;
    // A chain under way goes before the host's untouched addresses.
    if (first)
        host.Queue.push_front(job);
    else
        host.Queue.push_back(job);
    if (!host.Waiting) {
        host.Waiting = true;
        FWaitingHosts.push_back(&host);
    }
}

void TLinkChecker::Pump()
{
    std::size_t blocked = 0;
    while (FRunning && FActive < Settings.Total && blocked < FWaitingHosts.size()) {
        THost* host = FWaitingHosts.front();
        FWaitingHosts.pop_front();
        if (host->Queue.empty()) {
            host->Waiting = false;
            continue;
        }
        if (host->Paused || host->Active >= Settings.PerHost) {
            FWaitingHosts.push_back(host);
            ++blocked;
            continue;
        }
        blocked = 0;
        const std::size_t job = host->Queue.front();
        host->Queue.pop_front();
        if (host->Queue.empty())
            host->Waiting = false;
        else
            FWaitingHosts.push_back(host);
        Send(job);
    }
}

void TLinkChecker::Send(std::size_t index)
{
    TJob& job = *FJobs[index];
    QNetworkRequest request(job.Chain.Current());
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    job.Answer = {};
    job.BodyRead = 0;
    job.TimedOut = false;
    job.CertificateRefused = false;
    ++FActive;
    ++job.Host->Active;
    QNetworkReply* reply = FManager->get(request);
    job.Reply = reply;
    connect(reply, &QNetworkReply::sslErrors, this, [&job] { job.CertificateRefused = true; });
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, index, reply] {
        TJob& current = *FJobs[index];
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!status.isValid())
            return;
        current.Answer.Status = status.toInt();
        current.Answer.Location = QString::fromLatin1(reply->rawHeader("Location"));
        current.Answer.RetryAfter = QString::fromLatin1(reply->rawHeader("Retry-After"));
        // A large body is never fetched: the status is all that counts.
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > Settings.BodyLimit)
            Conclude(index);
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, index, reply] {
        TJob& current = *FJobs[index];
        current.BodyRead += reply->skip(reply->bytesAvailable());
        if (current.BodyRead > Settings.BodyLimit && current.Answer.Status != 0)
            Conclude(index);
    });
    connect(reply, &QNetworkReply::finished, this, [this, index] { Conclude(index); });
    job.Deadline.setSingleShot(true);
    job.Deadline.disconnect(this);
    connect(&job.Deadline, &QTimer::timeout, this, [this, index] {
        FJobs[index]->TimedOut = true;
        Conclude(index);
    });
    job.Deadline.start(Settings.TimeoutMilliseconds);
}

void TLinkChecker::Conclude(std::size_t index)
{
    TJob& job = *FJobs[index];
    QNetworkReply* reply = job.Reply;
    if (!reply)
        return;
    job.Deadline.stop();
    job.Reply = nullptr;
    reply->disconnect(this);
    TLinkAnswer answer = job.Answer;
    if (answer.Status == 0) {
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (status.isValid() && !job.TimedOut)
            answer.Status = status.toInt();
        else
            answer.Failure = FailureOf(reply->error(), job.TimedOut, job.CertificateRefused);
    }
    if (reply->isRunning())
        reply->abort();
    reply->deleteLater();
    --FActive;
    --job.Host->Active;

    const TLinkChain::TStep step =
        job.Chain.NextStep(answer, Settings.Rules, QDateTime::currentDateTimeUtc());
    switch (step.Kind) {
    case TLinkChain::TStep::Done:
        Decide(index, step.Result);
        break;
    case TLinkChain::TStep::Follow:
        Queue(index, true);
        break;
    case TLinkChain::TStep::Retry:
        PauseHost(*job.Host, step.WaitSeconds * Settings.WaitScale);
        Queue(index, true);
        break;
    }
    if (!FRunning)
        return;
    if (FOpenJobs == 0) {
        Release();
        emit Finished(true);
        return;
    }
    // Not from inside the reply's own signal: a request sent from there
    // could be answered before this one has let go of its connection.
    QTimer::singleShot(0, this, &TLinkChecker::Pump);
}

void TLinkChecker::PauseHost(THost& host, double seconds)
{
    const auto now = std::chrono::steady_clock::now();
    const auto until = now + std::chrono::milliseconds(Milliseconds(seconds));
    if (host.Paused && host.ResumeAt >= until)
        return;
    host.Paused = true;
    host.ResumeAt = until;
    host.Wake.start(Milliseconds(seconds));
}

void TLinkChecker::Decide(std::size_t index, const TLinkResult& result)
{
    --FOpenJobs;
    const std::vector<int> inputs = FJobs[index]->Inputs;
    for (int input : inputs) {
        ++FDecided;
        emit Decided(input, result);
        if (!FRunning)
            return;
    }
    emit Progress(FDecided, FInputs);
}
