// Copies of web pages through the application's real clipboard: the link
// targets their markup offers, read by 貼り付け and by monitoring. The
// default rules read every "://" as http, so https and ftp targets fold.
#include <gtest/gtest.h>

#include <map>
#include <ostream>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTemporaryDir>

#include "window/DesktopServices.h"
#include "workspace/Cp932.h"
#include "workspace/Workspace.h"
#include "workspace/monitor/ClipboardMonitor.h"

namespace {

using TForms = std::map<QString, QByteArray>;
using Strings = std::vector<std::string>;

struct TPageCase {
    const char* Name;
    TForms Forms;
    Strings Pasted;     // the list after 貼り付け
    Strings Monitored;  // the clipboard's text after monitoring, line by line; empty: left alone
    bool LinkTargets = true;
};

void PrintTo(const TPageCase& row, std::ostream* out)
{
    *out << row.Name;
}

QByteArray Utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

void Offer(const TForms& forms)
{
    auto* data = new QMimeData;
    for (const auto& [form, bytes] : forms)
        data->setData(form, bytes);
    QApplication::clipboard()->setMimeData(data);
}

Strings Lines(const std::string& text)
{
    Strings lines;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find("\r\n", at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

Strings Texts(const TUrlList& list)
{
    Strings texts;
    for (const auto& item : list.Items())
        texts.push_back(item.Text);
    return texts;
}

class CopiedPage : public testing::TestWithParam<TPageCase> {
protected:
    std::string ClipboardText()
    {
        const auto copy = Services.LookAtClipboard();
        return copy->HasText() ? copy->Text() : std::string("-");
    }
    QTemporaryDir Dir;
    TDesktopServices Services{nullptr};
    TWorkspace W{Services, Dir.path().toStdString() + "/"};
};

TEST_P(CopiedPage, TargetsJoinTheTextsUrls)
{
    const TPageCase& row = GetParam();
    W.Options.LinkTargets = row.LinkTargets;
    Offer(row.Forms);
    W.PasteClipboard();
    EXPECT_EQ(Texts(W.List), row.Pasted);
    EXPECT_EQ(W.StatusLine(), row.Pasted.empty() && !row.Forms.count("text/plain")
                                  ? QStringLiteral("エラー＞CBの内容がﾃｷｽﾄではありません。")
                                  : QStringLiteral("正常＞CBよりURLを抽出しました。"));

    W.Monitoring.Switch(true);
    W.Monitoring.SetPaused(false);
    const std::string before = ClipboardText();
    ClipboardMonitor::RewriteClipboard(W);
    const std::string after = ClipboardText();
    EXPECT_EQ(row.Monitored.empty() ? Strings{before} : row.Monitored, Lines(after));
    EXPECT_TRUE(W.List.Empty());
}

const QByteArray Page =
    "<p>See <a href=\"https://a.example/x?p=1&amp;q=&#50;\">the news</a>, "
    "<a href=\" http://b.example/&eacute; \">b</a> and <A HREF='http://a.example/in-text'>"
    "http://a.example/in-text</A><map><area href=\"ftp://c.example/f\"></map>";

INSTANTIATE_TEST_SUITE_P(
    Cases, CopiedPage,
    testing::Values(
        TPageCase{"html beside text",
                  {{"text/plain", "See the news, b and http://a.example/in-text"}, {"text/html", Page}},
                  {"http://a.example/in-text", "http://a.example/x?p=1&q=2", "http://b.example/%C3%A9",
                   "http://c.example/f"},
                  {"http://a.example/in-text", "http://a.example/x?p=1&q=2", "http://b.example/%C3%A9",
                   "http://c.example/f"}},
        TPageCase{"html alone, a page address in UTF-16 and a base",
                  {{"text/html", "<base href=\"sub/\"><a href=\"../up?x=1\">u</a><a href=\"www.rel\">w</a>"},
                   {"text/x-moz-url-priv", Utf16(QStringLiteral("https://p.example/dir/page.html"))}},
                  {"http://p.example/dir/up?x=1", "http://p.example/dir/sub/www.rel"},
                  {"http://p.example/dir/up?x=1", "http://p.example/dir/sub/www.rel"}},
        TPageCase{
            "relatives without an address, and schemes the list does not know",
            {{"text/html", "<a href=\"/root\">r</a><a href=\"javascript:go('http://s.example/')\">j</a>"
                           "<a href=\"mailto:x@y.example\">m</a><a href=\"data:text/html,http://d/\">d</a>"
                           "<a href=\"file:///etc/passwd\">f</a>"}},
            {},
            {}},
        TPageCase{"a picture with a link: monitoring leaves it",
                  {{"text/html", "<a href=\"http://pic.example/\"><img src=\"x.png\"></a>"},
                   {"image/png", QByteArray("\x89PNG", 4)}},
                  {"http://pic.example/"},
                  {}},
        TPageCase{
            "the option off",
            {{"text/plain", "only prose"}, {"text/html", "<a href=\"http://off.example/\">only prose</a>"}},
            {},
            {"only prose"},
            false}));

}  // namespace
