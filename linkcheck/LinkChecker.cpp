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
    TJob(QUrl url, QObject* owner) : Chain(std::move(url)), Deadline(new QTimer(owner))
    {
        Deadline->setSingleShot(true);
    }
    // A check may end inside this job's own time-out.
    ~TJob()
    {
        Deadline->stop();
        Deadline->deleteLater();
    }
    TJob(const TJob&) = delete;
    TJob& operator=(const TJob&) = delete;
    TLinkChain Chain;
    std::vector<int> Inputs;
    THost* Host = nullptr;
    std::unique_ptr<THttpConnection> Connection;  // while a request is out
    QTimer* Deadline;
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
        if (added) {
            const std::size_t job = FJobs.size();
            FJobs.push_back(std::make_unique<TJob>(*url, this));
            connect(FJobs.back()->Deadline, &QTimer::timeout, this, [this, job] {
                Conclude(job, {0, TLinkReason::Timeout, {}, {}});
            });
        }
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
    FHosts.clear();
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
    }
    ++FActive;
    ++host.Active;
    job.Deadline->start(Settings.TimeoutMilliseconds);
    job.Connection->Get(job.Chain.Current(),
                        [this, index](const TLinkAnswer& answer) { Conclude(index, answer); });
}

void TLinkChecker::Conclude(std::size_t index, const TLinkAnswer& answer)
{
    TJob& job = *FJobs[index];
    if (!job.Connection)
        return;
    job.Deadline->stop();
    // An unfinished connection closes here, also when called from inside
    // it: it touches nothing of its own after telling its answer.
    std::unique_ptr<THttpConnection> connection = std::move(job.Connection);
    if (connection->Reusable())
        job.Host->Idle.push_back(std::move(connection));
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
