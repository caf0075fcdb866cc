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
            out += "www." + Host() + "/" + Path();
            Prose(out, 1);
        } else if (kind < 85) {
            out += Word(Talk) + "ttp://" + Host() + "/" + Path() + " ";
            Prose(out, 1);
        } else if (kind < 89) {
            out += "https://" + Host() + "/" + Path() + "?q=" + std::to_string(Pick(9999));
        } else if (kind < 92) {
            Prose(out, 1);
            out += "http://img." + Host() + "/pic[01-" + std::to_string(2 + Pick(18)) + "].jpg";
        } else if (kind < 95) {
            out += Word(Kana) + " ";
            Prose(out, 1);
        } else if (kind < 98) {
            out += "<img src=\"../img/" + Path() + ".png\"> <a href='/" + Path() + "'>";
            Prose(out, 1);
        }
        // else an empty line
        out += "\r\n";
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(FRandom); }
    const std::string& Word(const std::vector<std::string>& words)
    {
        return words[Pick(static_cast<int>(words.size()))];
    }

    void Prose(std::string& out, int sentences)
    {
        for (int i = 0; i < sentences; ++i)
            out += Word(Subjects) + Word(Objects) + Word(Endings);
    }

    std::string Host()
    {
        static const char* const names[] = {"example", "hoge", "nantoka", "sample", "photo", "news", "blog"};
        static const char* const zones[] = {".co.jp", ".jp", ".com", ".ne.jp", ".or.jp", ".net"};
        return std::string(names[Pick(7)]) + std::to_string(Pick(500)) + zones[Pick(6)];
    }

    std::string Path()
    {
        static const char* const parts[] = {"index",    "diary", "img", "2003",
                                            "archives", "link",  "bbs", "top"};
        std::string path = parts[Pick(8)];
        for (int depth = Pick(3); depth > 0; --depth)
            path += std::string("/") + parts[Pick(8)];
        return path + std::to_string(Pick(1000)) + (Pick(2) ? ".html" : "");
    }

    std::string Url() { return (Pick(4) ? "http://" : "http://www.") + Host() + "/" + Path(); }

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
