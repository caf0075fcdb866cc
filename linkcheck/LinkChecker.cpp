#include "LinkChecker.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include <QNetworkCookieJar>
#include <QNetworkProxyFactory>
#include <QTimer>

#include "HttpConnection.h"

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
    // Connections left open by the last answers, taken before opening one.
    std::vector<std::unique_ptr<THttpConnection>> Idle;
};

struct TLinkChecker::TJob {
    explicit TJob(QUrl url) : Chain(std::move(url)) { }
    TLinkChain Chain;
    std::vector<int> Inputs;
    THost* Host = nullptr;
    std::unique_ptr<THttpConnection> Connection;  // while a request is out
    unsigned Sent = 0;                            // requests sent so far
};

namespace {

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

TLinkChecker::TLinkChecker(QObject* parent) : QObject(parent), FDeadlineTimer(new QTimer(this))
{
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    FDeadlineTimer->setSingleShot(true);
    FDeadlineTimer->setTimerType(Qt::PreciseTimer);
    connect(FDeadlineTimer, &QTimer::timeout, this, &TLinkChecker::TimeOut);
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
    // Some sites redirect until a cookie comes back; the jar lives for this
    // check only.
    FCookies = std::make_unique<QNetworkCookieJar>();

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
    FJobs.clear();
    FDeadlines.clear();
    FDeadlineTimer->stop();
    FHosts.clear();
    FIdleConnections = 0;
    FWaitingHosts.clear();
    FActive = 0;
    FOpenJobs = 0;
    FCookies.reset();
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
    THost& host = *job.Host;
    if (host.Idle.empty()) {
        job.Connection = std::make_unique<THttpConnection>(UserAgent(), Settings.BodyLimit, FCookies.get());
    } else {
        job.Connection = std::move(host.Idle.back());
        host.Idle.pop_back();
        --FIdleConnections;
    }
    ++FActive;
    ++host.Active;
    FDeadlines.push_back(
        {std::chrono::steady_clock::now() + std::chrono::milliseconds(Settings.TimeoutMilliseconds), index,
         ++job.Sent});
    if (!FDeadlineTimer->isActive())
        WakeAtFirstDeadline();
    job.Connection->Get(job.Chain.Current(),
                        [this, index](const TLinkAnswer& answer) { Conclude(index, answer); });
}

void TLinkChecker::Conclude(std::size_t index, const TLinkAnswer& answer)
{
    TJob& job = *FJobs[index];
    if (!job.Connection)
        return;
    // An unfinished connection closes here, also when called from inside
    // it: it touches nothing of its own after telling its answer.
    std::unique_ptr<THttpConnection> connection = std::move(job.Connection);
    THost& host = *job.Host;
    --FActive;
    --host.Active;

    const TLinkChain::TStep step =
        job.Chain.NextStep(answer, Settings.Rules, QDateTime::currentDateTimeUtc());
    // Only a host with more to ask keeps its connections, and no more are
    // kept than are ever in use at once: hosts are taken in turn, so a list
    // of many hosts would otherwise hold a socket for each host under way
    // and run out of file descriptors.
    const bool hostAsksMore =
        !host.Queue.empty()
        || (step.Kind != TLinkChain::TStep::Done && &HostOf(job.Chain.Current()) == &host);
    if (!hostAsksMore) {
        FIdleConnections -= static_cast<int>(host.Idle.size());
        host.Idle.clear();
    } else if (connection->Reusable() && FIdleConnections < Settings.Total) {
        host.Idle.push_back(std::move(connection));
        ++FIdleConnections;
    }
    switch (step.Kind) {
    case TLinkChain::TStep::Done:
        Decide(index, step.Result);
        break;
    case TLinkChain::TStep::Follow:
        Queue(index, true);
        break;
    case TLinkChain::TStep::Retry:
        PauseHost(host, step.WaitSeconds * Settings.WaitScale);
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
    Pump();
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

// Every request waits the same time, so their deadlines come in the order
// they were sent: one timer for the earliest does for all. A deadline whose
// request has been answered (or sent again) is passed over.
void TLinkChecker::TimeOut()
{
    const auto now = std::chrono::steady_clock::now();
    while (FRunning && !FDeadlines.empty() && FDeadlines.front().At <= now) {
        const TDeadline deadline = FDeadlines.front();
        FDeadlines.pop_front();
        const TJob& job = *FJobs[deadline.Job];
        if (job.Connection && job.Sent == deadline.Sent)
            Conclude(deadline.Job, {0, TLinkReason::Timeout, {}, {}});
    }
    if (FRunning)
        WakeAtFirstDeadline();
}

void TLinkChecker::WakeAtFirstDeadline()
{
    while (!FDeadlines.empty()) {
        const TDeadline& first = FDeadlines.front();
        const TJob& job = *FJobs[first.Job];
        if (job.Connection && job.Sent == first.Sent)
            break;
        FDeadlines.pop_front();
    }
    if (FDeadlines.empty())
        return;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(FDeadlines.front().At
                                                                   - std::chrono::steady_clock::now());
    FDeadlineTimer->start(static_cast<int>(std::max<std::int64_t>(wait.count(), 0)));
}
