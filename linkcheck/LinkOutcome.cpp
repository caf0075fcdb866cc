#include "LinkOutcome.h"

#include <algorithm>

#include <QLocale>

namespace {

struct TReasonTexts {
    TLinkReason Reason;
    const char* Caption;
    const char* Word;
};

constexpr TReasonTexts ReasonTexts[] = {
    {TLinkReason::Timeout, "タイムアウト", "timeout"},
    {TLinkReason::Refused, "接続拒否", "refused"},
    {TLinkReason::Reset, "接続切断", "reset"},
    {TLinkReason::Dns, "名前解決できず", "dns"},
    {TLinkReason::Certificate, "証明書エラー", "certificate"},
    {TLinkReason::Tls, "TLSエラー", "tls"},
    {TLinkReason::Proxy, "プロキシエラー", "proxy"},
    {TLinkReason::Network, "通信エラー", "network"},
    {TLinkReason::Redirects, "リダイレクト過多", "redirects"},
    {TLinkReason::Loop, "リダイレクトループ", "loop"},
    {TLinkReason::NoLocation, "転送先なし", "no location"},
    {TLinkReason::OtherScheme, "他方式へ転送", "other scheme"},
    {TLinkReason::Downgrade, "httpへ格下げ", "downgrade"},
    {TLinkReason::NotHttp, "http以外", "not http"},
    {TLinkReason::UserInfo, "ユーザー情報付き", "user info"},
    {TLinkReason::Invalid, "不正なURL", "invalid"},
};

QString ReasonText(const TLinkResult& result, bool caption)
{
    if (result.Reason == TLinkReason::Status)
        return QString::number(result.Status);
    for (const TReasonTexts& texts : ReasonTexts)
        if (texts.Reason == result.Reason)
            return QString::fromUtf8(caption ? texts.Caption : texts.Word);
    return {};
}

// The 4xx codes that are defined; any other is a server's own and proves nothing.
bool DefinedClientError(int status)
{
    return (status >= 400 && status <= 418) || (status >= 421 && status <= 426) || status == 428
           || status == 429 || status == 431 || status == 451;
}

bool GoneForGood(int status)
{
    if (status == 404 || status == 410)
        return true;
    // Asking again later, or as someone else, or elsewhere, may still work.
    constexpr int MayComeBack[] = {401, 403, 407, 408, 429, 451};
    return DefinedClientError(status)
           && std::find(std::begin(MayComeBack), std::end(MayComeBack), status) == std::end(MayComeBack);
}

bool IsRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool IsHttp(const QUrl& url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

QUrl WithoutFragment(const QUrl& url)
{
    return url.adjusted(QUrl::RemoveFragment);
}

TLinkChain::TStep Done(TLinkOutcome outcome, int status, TLinkReason reason, QUrl target = {})
{
    TLinkChain::TStep step;
    step.Result = {outcome, status, reason, std::move(target)};
    return step;
}

}  // namespace

QString OutcomeCaption(TLinkOutcome outcome)
{
    switch (outcome) {
    case TLinkOutcome::Ok:
        return QStringLiteral("正常");
    case TLinkOutcome::Moved:
        return QStringLiteral("移転");
    case TLinkOutcome::Dead:
        return QStringLiteral("リンク切れ");
    case TLinkOutcome::Unverified:
        return QStringLiteral("確認できず");
    case TLinkOutcome::Skipped:
        break;
    }
    return QStringLiteral("対象外");
}

QString OutcomeWord(TLinkOutcome outcome)
{
    switch (outcome) {
    case TLinkOutcome::Ok:
        return QStringLiteral("ok");
    case TLinkOutcome::Moved:
        return QStringLiteral("moved");
    case TLinkOutcome::Dead:
        return QStringLiteral("dead");
    case TLinkOutcome::Unverified:
        return QStringLiteral("unverified");
    case TLinkOutcome::Skipped:
        break;
    }
    return QStringLiteral("skipped");
}

QString ReasonCaption(const TLinkResult& result)
{
    return ReasonText(result, true);
}

QString ReasonWord(const TLinkResult& result)
{
    return ReasonText(result, false);
}

QString ResultDescription(const TLinkResult& result)
{
    const QString caption = OutcomeCaption(result.Outcome);
    switch (result.Outcome) {
    case TLinkOutcome::Skipped:
        return caption;
    case TLinkOutcome::Moved:
        return caption + QStringLiteral(" → ") + result.Target.toString();
    case TLinkOutcome::Ok:
        return caption + QStringLiteral(" (%1)").arg(result.Status);
    default:
        return caption + QStringLiteral(" (%1)").arg(ReasonCaption(result));
    }
}

std::optional<QUrl> CheckableUrl(const QString& text, TLinkReason* whyNot)
{
    auto refuse = [whyNot](TLinkReason reason) {
        if (whyNot)
            *whyNot = reason;
        return std::nullopt;
    };
    QString address = text.trimmed();
    if (address.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        address.prepend(QLatin1String("http://"));
    else if (!address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
             && !address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return refuse(TLinkReason::NotHttp);
    const QUrl url(address);
    if (!url.isValid() || url.host().isEmpty())
        return refuse(TLinkReason::Invalid);
    // Credentials in a list are not ours to send anywhere.
    if (!url.userInfo().isEmpty() || address.section(QLatin1Char('/'), 2, 2).contains(QLatin1Char('@')))
        return refuse(TLinkReason::UserInfo);
    return url;
}

std::optional<double> RetryAfterSeconds(const QString& value, const QDateTime& now)
{
    const QString text = value.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool number = false;
    const qlonglong seconds = text.toLongLong(&number);
    if (number)
        return seconds < 0 ? std::nullopt : std::optional<double>(static_cast<double>(seconds));
    QDateTime date = QLocale::c().toDateTime(text, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    if (!date.isValid())
        return std::nullopt;
    date.setTimeSpec(Qt::UTC);
    return std::max(0.0, static_cast<double>(now.msecsTo(date)) / 1000.0);
}

TLinkChain::TStep TLinkChain::NextStep(const TLinkAnswer& answer, const TLinkRules& rules,
                                       const QDateTime& now)
{
    if (answer.Status == 0)
        return Done(TLinkOutcome::Unverified, 0, answer.Failure);
    if (answer.Status == 429 || answer.Status == 503) {
        const std::optional<double> asked = RetryAfterSeconds(answer.RetryAfter, now);
        const bool mayRetry = FRetries < rules.MaxRetries
                              && (asked || static_cast<std::size_t>(FRetries) < rules.BackOff.size());
        if (!mayRetry || (asked && *asked > rules.MaxRetryAfter))
            return Finish(answer);
        TStep step;
        step.Kind = TStep::Retry;
        step.WaitSeconds = asked ? *asked : rules.BackOff[static_cast<std::size_t>(FRetries)];
        ++FRetries;
        return step;
    }
    if (IsRedirect(answer.Status))
        return Redirect(answer, rules);
    return Finish(answer);
}

TLinkChain::TStep TLinkChain::Finish(const TLinkAnswer& answer) const
{
    const int status = answer.Status;
    if (status >= 200 && status <= 299) {
        if (FMovedTo.isValid())
            return Done(TLinkOutcome::Moved, status, TLinkReason::None, FMovedTo);
        return Done(TLinkOutcome::Ok, status, TLinkReason::None);
    }
    if (GoneForGood(status))
        return Done(TLinkOutcome::Dead, status, TLinkReason::Status);
    if (IsRedirect(status))
        return Done(TLinkOutcome::Unverified, status, TLinkReason::NoLocation);
    return Done(TLinkOutcome::Unverified, status, TLinkReason::Status);
}

TLinkChain::TStep TLinkChain::Redirect(const TLinkAnswer& answer, const TLinkRules& rules)
{
    const int status = answer.Status;
    const QUrl location(answer.Location.trimmed());
    if (answer.Location.trimmed().isEmpty() || !location.isValid())
        return Done(TLinkOutcome::Unverified, status, TLinkReason::NoLocation);
    const QUrl next = FCurrent.resolved(location);
    if (!IsHttp(next) || next.host().isEmpty())
        return Done(TLinkOutcome::Unverified, status, TLinkReason::OtherScheme);
    if (FCurrent.scheme() == QLatin1String("https") && next.scheme() == QLatin1String("http"))
        return Done(TLinkOutcome::Unverified, status, TLinkReason::Downgrade);
    const QUrl bare = WithoutFragment(next);
    for (const QUrl& seen : FVisited)
        if (WithoutFragment(seen) == bare)
            return Done(TLinkOutcome::Dead, status, TLinkReason::Loop);
    if (static_cast<int>(FVisited.size()) > rules.MaxRedirects)
        return Done(TLinkOutcome::Dead, status, TLinkReason::Redirects);
    // Only the leading run of permanent redirects tells where the page now
    // lives; a temporary one after it (a login page, say) is no new home.
    if (status == 301 || status == 308) {
        if (FLeadingPermanent)
            FMovedTo = next;
    } else {
        FLeadingPermanent = false;
    }
    FCurrent = next;
    FVisited.push_back(next);
    FRetries = 0;
    TStep step;
    step.Kind = TStep::Follow;
    step.Next = next;
    return step;
}
