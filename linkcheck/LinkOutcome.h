#pragma once
// What one URL's check comes to, and the rules that decide it from the
// answers a host gives. Nothing here touches the network: the checker feeds
// each answer to NextStep and does what it says.
#include <optional>
#include <vector>

#include <QDateTime>
#include <QString>
#include <QUrl>

enum class TLinkOutcome { Ok, Moved, Dead, Unverified, Skipped };

// Why an outcome is what it is. Status: the final answer's code says it.
enum class TLinkReason {
    None,
    Status,
    Timeout,
    Refused,
    Reset,
    Dns,
    Certificate,
    Tls,
    Proxy,
    Network,
    Redirects,
    Loop,
    NoLocation,
    OtherScheme,
    Downgrade,
    NotHttp,
    UserInfo,
    Invalid,
};

struct TLinkResult {
    TLinkOutcome Outcome = TLinkOutcome::Skipped;
    int Status = 0;  // the final answer's HTTP code; 0 when none came
    TLinkReason Reason = TLinkReason::None;
    QUrl Target;  // for Moved: the address to use instead
};

// The short fixed texts: the window's and the command line's.
QString OutcomeCaption(TLinkOutcome outcome);  // 正常, 移転, ...
QString OutcomeWord(TLinkOutcome outcome);     // ok, moved, ...
QString ReasonCaption(const TLinkResult& result);
QString ReasonWord(const TLinkResult& result);
// "正常 (200)", "移転 → <target>", "確認できず (タイムアウト)", "対象外".
QString ResultDescription(const TLinkResult& result);

// The address a list item stands for, or nullopt with the reason it is not
// checked: only http, https and "www." (taken as http) addresses without
// user information are.
std::optional<QUrl> CheckableUrl(const QString& text, TLinkReason* whyNot = nullptr);

// Seconds to wait from a Retry-After value (seconds or an HTTP date, taken
// against now); nullopt when there is none or it cannot be read.
std::optional<double> RetryAfterSeconds(const QString& value, const QDateTime& now);

struct TLinkRules {
    int MaxRedirects = 10;
    int MaxRetries = 3;
    double MaxRetryAfter = 30;  // seconds; a longer wait gives up at once
    // The waits before asking again when the host gives none.
    std::vector<double> BackOff = {1, 2, 4};
};

// One answer as the rules need it. Status 0: no HTTP answer, Failure says why.
struct TLinkAnswer {
    int Status = 0;
    TLinkReason Failure = TLinkReason::None;
    QString Location;
    QString RetryAfter;
};

// One URL's way so far.
class TLinkChain {
public:
    explicit TLinkChain(QUrl start) : FCurrent(std::move(start)), FVisited{FCurrent} { }

    struct TStep {
        enum { Done, Follow, Retry } Kind = Done;
        TLinkResult Result;    // Done
        QUrl Next;             // Follow
        double WaitSeconds{};  // Retry
    };
    // What to do after the answer to Current().
    TStep NextStep(const TLinkAnswer& answer, const TLinkRules& rules, const QDateTime& now);
    const QUrl& Current() const { return FCurrent; }

private:
    TStep Finish(const TLinkAnswer& answer) const;
    TStep Redirect(const TLinkAnswer& answer, const TLinkRules& rules);

    QUrl FCurrent;
    std::vector<QUrl> FVisited;
    int FRetries = 0;
    bool FLeadingPermanent = true;  // every redirect so far was permanent
    QUrl FMovedTo;
};
