#include "CorpusText.h"

#include <iconv.h>

#include <initializer_list>
#include <random>
#include <stdexcept>
#include <vector>

std::string ToCp932(std::string_view utf8)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no CP932 converter");
    std::string in(utf8), out(utf8.size() * 2 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    const std::size_t done = iconv(cd, &src, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1))
        throw std::runtime_error("not convertible: " + in);
    out.resize(out.size() - outLeft);
    return out;
}

namespace {

std::vector<std::string> Converted(std::initializer_list<const char*> texts)
{
    std::vector<std::string> result;
    for (const char* text : texts)
        result.push_back(ToCp932(text));
    return result;
}

// Every draw is a statement of its own: the order in which the operands of
// one expression run is the compiler's choice, and the corpus must not
// depend on the compiler. The order kept is the one the corpus was first
// made with.
class TCorpusWriter {
public:
    explicit TCorpusWriter(unsigned seed) : FRandom(seed) { }

    void Line(std::string& out)
    {
        const int kind = Pick(100);
        if (kind < 55)
            Prose(out, 2 + Pick(5));
        else if (kind < 67) {
            Prose(out, 1);
            out += Url();
            Prose(out, 1);
        } else if (kind < 75)
            Anchor(out);
        else if (kind < 80) {
            Prose(out, 1);
            const std::string path = Path();
            out += "www." + Host() + "/" + path;
            Prose(out, 1);
        } else if (kind < 85) {
            const std::string path = Path();
            const std::string host = Host();
            out += Word(Talk) + "ttp://" + host + "/" + path + " ";
            Prose(out, 1);
        } else if (kind < 89) {
            const std::string query = std::to_string(Pick(9999));
            const std::string path = Path();
            out += "https://" + Host() + "/" + path + "?q=" + query;
        } else if (kind < 92) {
            Prose(out, 1);
            const std::string last = std::to_string(2 + Pick(18));
            out += "http://img." + Host() + "/pic[01-" + last + "].jpg";
        } else if (kind < 95) {
            out += Word(Kana) + " ";
            Prose(out, 1);
        } else if (kind < 98) {
            const std::string link = Path();
            out += "<img src=\"../img/" + Path() + ".png\"> <a href='/" + link + "'>";
            Prose(out, 1);
        }
        // else an empty line
        out += "\r\n";
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(FRandom); }
    const std::string& Word(const std::vector<std::string>& words)
    {
        return words[static_cast<std::size_t>(Pick(static_cast<int>(words.size())))];
    }

    void Prose(std::string& out, int sentences)
    {
        for (int i = 0; i < sentences; ++i) {
            const std::string& ending = Word(Endings);
            const std::string& object = Word(Objects);
            out += Word(Subjects) + object + ending;
        }
    }

    std::string Host()
    {
        static const char* const names[] = {"example", "hoge", "nantoka", "sample", "photo", "news", "blog"};
        static const char* const zones[] = {".co.jp", ".jp", ".com", ".ne.jp", ".or.jp", ".net"};
        const char* const zone = zones[Pick(6)];
        const std::string number = std::to_string(Pick(500));
        return names[Pick(7)] + number + zone;
    }

    std::string Path()
    {
        static const char* const parts[] = {"index",    "diary", "img", "2003",
                                            "archives", "link",  "bbs", "top"};
        std::string path = parts[Pick(8)];
        for (int depth = Pick(3); depth > 0; --depth)
            path += std::string("/") + parts[Pick(8)];
        const char* const suffix = Pick(2) ? ".html" : "";
        return path + std::to_string(Pick(1000)) + suffix;
    }

    std::string Url()
    {
        const std::string path = Path();
        const std::string host = Host();
        return (Pick(4) ? "http://" : "http://www.") + host + "/" + path;
    }

    void Anchor(std::string& out)
    {
        out += "<li><a href=\"" + Url() + "\">";
        Prose(out, 1);
        out += "</a></li>";
    }

    std::mt19937 FRandom;
    std::vector<std::string> Subjects =
        Converted({"今日は", "このページでは", "管理人が", "みなさんの", "表計算ソフトの",
                   "ダウンロードした画像を", "昨日の掲示板で", "新しいリンク集に", "ソースコードを"});
    std::vector<std::string> Objects =
        Converted({"写真を整理して", "日記を更新し、", "ファイルを保存して", "感想を書いて",
                   "リンクを追加して", "設定を見直し、", "表示を確認して", "ー（長音）を入力して"});
    std::vector<std::string> Endings = Converted({"います。", "みました。", "ください。", "おきます！",
                                                  "しまった…", "よろしくお願いします。", "ね。　", "（笑）"});
    std::vector<std::string> Talk = Converted({"ここ→", "見て：", "参考｜", "【転載】"});
    std::vector<std::string> Kana = Converted({"くかかせけめめ", "くかかせけめめてててる", "みかか"});
};

}  // namespace

std::string MakeCorpus(std::size_t bytes, unsigned seed)
{
    TCorpusWriter writer(seed);
    std::string corpus;
    corpus.reserve(bytes + 1024);
    while (corpus.size() < bytes)
        writer.Line(corpus);
    return corpus;
}
