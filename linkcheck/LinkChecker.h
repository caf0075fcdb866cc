#pragma once
// Checks a list of addresses over the network, politely: a few requests at
// a time to each host and a bounded number in all, each redirect followed
// here so that every hop keeps to those limits, waits the host asks for
// honoured, and never more of a body read than keeps the connection alive.
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

#include "LinkOutcome.h"

class QNetworkCookieJar;
class QTimer;

struct TLinkCheckSettings {
    int PerHost = 2;                  // requests at once to one host and port
    int Total = 16;                   // requests at once in all
    int TimeoutMilliseconds = 20000;  // per request, from when it is sent
    // Every wait between two attempts is multiplied by this; only tests
    // make it smaller.
    double WaitScale = 1;
    std::int64_t BodyLimit = 64 << 10;
    TLinkRules Rules;
};

class TLinkChecker : public QObject {
    Q_OBJECT
public:
    explicit TLinkChecker(QObject* parent = nullptr);
    ~TLinkChecker() override;

    TLinkCheckSettings Settings;

    // Checks the addresses; each distinct one is asked once, and every input
    // index gets its result through Decided, duplicates together. Inputs
    // that are not checked are decided before this returns.
    void Start(const QStringList& urls);
    // Stops at once: no request stays open and nothing more is decided.
    void Abort();
    bool Running() const { return FRunning; }

    static QByteArray UserAgent();

signals:
    void Decided(int index, const TLinkResult& result);
    void Progress(int decided, int total);
    // Every input decided (completed) or the check stopped.
    void Finished(bool completed);

private:
    struct TJob;
    struct THost;

    void Pump();
    void Send(std::size_t job);
    void Conclude(std::size_t job, const TLinkAnswer& answer);
    void Queue(std::size_t job, bool first);
    void PauseHost(THost& host, double seconds);
    void TimeOut();
    void WakeAtFirstDeadline();
    void Decide(std::size_t job, const TLinkResult& result);
    void Release();
    THost& HostOf(const QUrl& url);

    std::unique_ptr<QNetworkCookieJar> FCookies;
    std::vector<std::unique_ptr<TJob>> FJobs;
    std::unordered_map<QString, std::unique_ptr<THost>> FHosts;
    std::deque<THost*> FWaitingHosts;  // hosts with queued jobs, taken in turn
    struct TDeadline {
        std::chrono::steady_clock::time_point At;
        std::size_t Job;
        unsigned Sent;  // which of the job's requests
    };
    std::deque<TDeadline> FDeadlines;  // of the requests out, in the order sent
    QTimer* FDeadlineTimer;
    int FActive = 0;
    int FIdleConnections = 0;  // kept open by the hosts for their next address
    int FDecided = 0;
    int FInputs = 0;
    std::size_t FOpenJobs = 0;
    bool FRunning = false;
};
