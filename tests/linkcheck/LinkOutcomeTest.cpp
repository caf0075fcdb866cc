// The outcome rules, one chain of answers per row.
#include <gtest/gtest.h>

#include "linkcheck/LinkOutcome.h"

namespace {

struct TAnswerRow {
    int Status;
    const char* Location = "";
    const char* RetryAfter = "";
    TLinkReason Failure = TLinkReason::None;
};

struct TChainCase {
    const char* Name;
    const char* Start;
    std::vector<TAnswerRow> Answers;
    TLinkOutcome Outcome;
    int Status;
    TLinkReason Reason;
    const char* Target = "";
    int Retries = 0;
};

const QDateTime Now = QDateTime(QDate(2026, 1, 5), QTime(10, 0, 0), Qt::UTC);

}  // namespace

TEST(LinkOutcome, ChainsOfAnswersComeToTheirOutcome)
{
    using enum TLinkOutcome;
    using R = TLinkReason;
    const char* a = "http://a.test/x";
    std::vector<TAnswerRow> tooMany;
    const char* hops[] = {"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9", "/10", "/11"};
    for (const char* hop : hops)
        tooMany.push_back({307, hop});
    std::vector<TAnswerRow> ten(tooMany.begin(), tooMany.begin() + 10);
    ten.push_back({200});

    const TChainCase cases[] = {
        {"200", a, {{200}}, Ok, 200, R::None},
        {"204", a, {{204}}, Ok, 204, R::None},
        {"301 then 200", a, {{301, "/y"}, {200}}, Moved, 200, R::None, "http://a.test/y"},
        {"308 then 301 then 200",
         a,
         {{308, "/y"}, {301, "http://b.test/z"}, {200}},
         Moved,
         200,
         R::None,
         "http://b.test/z"},
        {"301 then 302 to a login page",
         a,
         {{301, "/y"}, {302, "/login"}, {200}},
         Moved,
         200,
         R::None,
         "http://a.test/y"},
        {"302 then 301", a, {{302, "/y"}, {301, "/z"}, {200}}, Ok, 200, R::None},
        {"302, 303, 307", a, {{302, "/y"}, {303, "/z"}, {307, "/w"}, {200}}, Ok, 200, R::None},
        {"moved to a dead page", a, {{301, "/y"}, {404}}, Dead, 404, R::Status},
        {"404", a, {{404}}, Dead, 404, R::Status},
        {"410", a, {{410}}, Dead, 410, R::Status},
        {"400", a, {{400}}, Dead, 400, R::Status},
        {"401", a, {{401}}, Unverified, 401, R::Status},
        {"403", a, {{403}}, Unverified, 403, R::Status},
        {"407", a, {{407}}, Unverified, 407, R::Status},
        {"408", a, {{408}}, Unverified, 408, R::Status},
        {"451", a, {{451}}, Unverified, 451, R::Status},
        {"499, no standard code", a, {{499}}, Unverified, 499, R::Status},
        {"500", a, {{500}}, Unverified, 500, R::Status},
        {"304", a, {{304}}, Unverified, 304, R::Status},
        {"300", a, {{300}}, Unverified, 300, R::Status},
        {"102 as a final answer", a, {{102}}, Unverified, 102, R::Status},
        {"redirect without Location", a, {{302}}, Unverified, 302, R::NoLocation},
        {"redirect to ftp", a, {{301, "ftp://a.test/f"}}, Unverified, 301, R::OtherScheme},
        {"https to http", "https://a.test/", {{301, "http://a.test/"}}, Unverified, 301, R::Downgrade},
        {"http to https", a, {{301, "https://a.test/x"}, {200}}, Moved, 200, R::None, "https://a.test/x"},
        {"loop", a, {{301, "/y"}, {302, "/x#top"}}, Dead, 302, R::Loop},
        {"ten redirects", a, ten, Ok, 200, R::None},
        {"eleven redirects", a, tooMany, Dead, 307, R::Redirects},
        {"refused", a, {{0, "", "", R::Refused}}, Unverified, 0, R::Refused},
        {"timeout after a redirect", a, {{301, "/y"}, {0, "", "", R::Timeout}}, Unverified, 0, R::Timeout},
        {"429 with Retry-After, then 200", a, {{429, "", "2"}, {200}}, Ok, 200, R::None, "", 1},
        {"503 with a date, then 200",
         a,
         {{503, "", "Mon, 05 Jan 2026 10:00:20 GMT"}, {200}},
         Ok,
         200,
         R::None,
         "",
         1},
        {"429 asking for too long", a, {{429, "", "31"}}, Unverified, 429, R::Status},
        {"429 four times", a, {{429}, {429}, {429}, {429}}, Unverified, 429, R::Status, "", 3},
        {"429 with Retry-After four times",
         a,
         {{429, "", "1"}, {429, "", "1"}, {429, "", "1"}, {429, "", "1"}},
         Unverified,
         429,
         R::Status,
         "",
         3},
    };
    const TLinkRules rules;
    for (const TChainCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLinkChain chain{QUrl(QString::fromUtf8(c.Start))};
        TLinkChain::TStep step;
        std::size_t asked = 0;
        int retries = 0;
        for (; asked < c.Answers.size(); ++asked) {
            const TAnswerRow& row = c.Answers[asked];
            step = chain.NextStep(
                {row.Status, row.Failure, QString::fromUtf8(row.Location), QString::fromUtf8(row.RetryAfter)},
                rules, Now);
            retries += step.Kind == TLinkChain::TStep::Retry;
            if (step.Kind == TLinkChain::TStep::Done)
                break;
        }
        ASSERT_EQ(step.Kind, TLinkChain::TStep::Done);
        EXPECT_EQ(asked + 1, c.Answers.size()) << "decided before the last answer";
        EXPECT_EQ(step.Result.Outcome, c.Outcome);
        EXPECT_EQ(step.Result.Status, c.Status);
        EXPECT_EQ(step.Result.Reason, c.Reason);
        EXPECT_EQ(step.Result.Target.toString(), QString::fromUtf8(c.Target));
        EXPECT_EQ(retries, c.Retries);
    }
}

TEST(LinkOutcome, WaitsAndAddressesAreReadAsHostsAndListsWriteThem)
{
    EXPECT_EQ(RetryAfterSeconds(QStringLiteral(" 7 "), Now), 7.0);
    EXPECT_EQ(RetryAfterSeconds(QStringLiteral("Mon, 05 Jan 2026 10:00:20 GMT"), Now), 20.0);
    EXPECT_EQ(RetryAfterSeconds(QStringLiteral("Mon, 05 Jan 2026 09:00:00 GMT"), Now), 0.0);
    EXPECT_EQ(RetryAfterSeconds(QStringLiteral("soon"), Now), std::nullopt);
    EXPECT_EQ(RetryAfterSeconds(QStringLiteral("-3"), Now), std::nullopt);

    const std::pair<const char*, TLinkReason> addresses[] = {
        {"http://a.test/", TLinkReason::None},
        {"HTTPS://a.test/x", TLinkReason::None},
        {"www.a.test/x", TLinkReason::None},
        {"ftp://a.test/", TLinkReason::NotHttp},
        {"../a.html", TLinkReason::NotHttp},
        {"/a.html", TLinkReason::NotHttp},
        {"http://", TLinkReason::Invalid},
        {"http://user:pw@a.test/", TLinkReason::UserInfo},
        {"http://user@a.test/", TLinkReason::UserInfo},
    };
    for (const auto& [text, reason] : addresses) {
        TLinkReason whyNot = TLinkReason::None;
        const std::optional<QUrl> url = CheckableUrl(QString::fromUtf8(text), &whyNot);
        EXPECT_EQ(url.has_value(), reason == TLinkReason::None) << text;
        EXPECT_EQ(whyNot, reason) << text;
    }
    EXPECT_EQ(CheckableUrl(QStringLiteral("www.a.test/x"))->toString(),
              QStringLiteral("http://www.a.test/x"));
    EXPECT_EQ(ResultDescription(
                  {TLinkOutcome::Moved, 200, TLinkReason::None, QUrl(QStringLiteral("http://b.test/"))}),
              QStringLiteral("移転 → http://b.test/"));
    EXPECT_EQ(ResultDescription({TLinkOutcome::Unverified, 0, TLinkReason::Timeout, {}}),
              QStringLiteral("確認できず (タイムアウト)"));
    EXPECT_EQ(ResultDescription({TLinkOutcome::Dead, 404, TLinkReason::Status, {}}),
              QStringLiteral("リンク切れ (404)"));
}
