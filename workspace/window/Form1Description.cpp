#include "Form1Description.h"

namespace {
using K = TControlKind;
constexpr TAnchors LT{true, true, false, false};
constexpr TAnchors LR{true, false, true, false};
constexpr TAnchors R{false, false, true, false};
constexpr TAnchors LTR{true, true, true, false};
constexpr TAnchors TR{false, true, true, false};
constexpr TAnchors LTRB{true, true, true, true};
constexpr TAnchors LRB{true, false, true, true};
constexpr TAnchors NoAnchors{false, false, false, false};
} // namespace

const std::vector<TControlDescription>& Form1Controls()
{
    static const std::vector<TControlDescription> controls = {
    {K::PageControl, "PageControl1", "Form1", nullptr, nullptr, {0, 0, 367, 393}, TAlign::Fill, LT, 0, nullptr},
    {K::StatusBar, "StatusBar1", "Form1", nullptr, nullptr, {0, 393, 367, 20}, TAlign::Bottom, LT, -1, nullptr},
    {K::Page, "TabSheet1", "PageControl1", "メイン", nullptr, {0, 0, 359, 366}, TAlign::None, LT, 0, nullptr},
    {K::Page, "TabSheet4", "PageControl1", "拡張操作", nullptr, {0, 0, 359, 366}, TAlign::None, LT, 1, nullptr},
    {K::Page, "TabSheet2", "PageControl1", "設定", nullptr, {0, 0, 359, 366}, TAlign::None, LT, 2, nullptr},
    {K::Page, "TabSheet3", "PageControl1", "メモ", nullptr, {0, 0, 359, 366}, TAlign::None, LT, 3, nullptr},
    {K::Panel, "Panel3", "TabSheet1", nullptr, nullptr, {0, 0, 359, 29}, TAlign::Top, LT, 3, nullptr},
    {K::Edit, "Edit4", "Panel3", "http://", nullptr, {4, 4, 285, 20}, TAlign::None, LR, 0, "URL"},
    {K::Button, "Button3", "Panel3", "追加", "入力・修正したURLを一覧に追加します。", {292, 4, 65, 21}, TAlign::None, R, 1, nullptr},
    {K::UrlList, "ListBox1", "TabSheet1", nullptr, nullptr, {0, 29, 288, 303}, TAlign::Fill, LT, 0, "URL一覧"},
    {K::Panel, "Panel2", "TabSheet1", nullptr, nullptr, {288, 29, 71, 303}, TAlign::Right, LT, 2, nullptr},
    {K::Button, "Button1", "Panel2", ".txt 入力", "ファイルからURLを抽出します。", {4, 4, 65, 25}, TAlign::None, R, 1, nullptr},
    {K::Button, "Button2", "Panel2", "貼り付け", "クリップボードの内容からURLを抽出します。", {4, 32, 65, 25}, TAlign::None, R, 3, nullptr},
    {K::Button, "Button12", "Panel2", "コピー", "選択中のURLをクリップボードにコピーします。", {4, 76, 65, 25}, TAlign::None, R, 0, nullptr},
    {K::Button, "Button9", "Panel2", "修正", "選択中のURLを修正します。", {4, 104, 65, 25}, TAlign::None, R, 2, nullptr},
    {K::Button, "Button13", "Panel2", "前方ｿｰﾄ", "URLの先頭を基準にして昇順に並び替えます。", {4, 148, 65, 25}, TAlign::None, R, 4, nullptr},
    {K::Button, "Button14", "Panel2", "後方ｿｰﾄ", "URLの後方を基準にして昇順に並び替えます。", {4, 176, 65, 25}, TAlign::None, R, 5, nullptr},
    {K::Button, "Button4", "Panel2", "削除", "選択中のURLをリストから削除します。", {4, 216, 65, 25}, TAlign::None, R, 6, nullptr},
    {K::Button, "Button11", "Panel2", "重複削除", "重複しているURLを削除します。", {4, 244, 65, 25}, TAlign::None, R, 7, nullptr},
    {K::Button, "Button5", "Panel2", "全削除", "全てのURLを削除します。", {4, 272, 65, 25}, TAlign::None, R, 8, nullptr},
    {K::Panel, "Panel1", "TabSheet1", nullptr, nullptr, {0, 332, 359, 34}, TAlign::Bottom, LT, 1, nullptr},
    {K::Button, "Button6", "Panel1", "ｼｮｰﾄｶｯﾄ作成", "インターネットショートカットファイル（*.URL）を作成します。", {4, 4, 81, 25}, TAlign::None, NoAnchors, 0, nullptr},
    {K::Button, "Button7", "Panel1", "URLﾘｽﾄ作成", "URLリストをテキストファイルで作成します。", {92, 4, 85, 25}, TAlign::None, NoAnchors, 1, nullptr},
    {K::Button, "Button10", "Panel1", "ﾘﾝｸ集作成", "HTML形式のURL一覧表（リンク集）を作成します。", {184, 4, 81, 25}, TAlign::None, NoAnchors, 2, nullptr},
    {K::Button, "Button8", "Panel1", "全ﾘｽﾄｺﾋﾟｰ", "全URLをクリップボードにコピーします。", {272, 4, 85, 25}, TAlign::None, NoAnchors, 3, nullptr},
    {K::GroupBox, "GroupBox4", "TabSheet4", "置き換え", nullptr, {4, 0, 353, 89}, TAlign::None, LTR, 0, nullptr},
    {K::Label, "Label7", "GroupBox4", "検索：", nullptr, {8, 16, 30, 12}, TAlign::None, LT, -1, nullptr},
    {K::Edit, "Edit3", "GroupBox4", nullptr, nullptr, {40, 13, 305, 20}, TAlign::None, LR, 0, "検索："},
    {K::Label, "Label9", "GroupBox4", "置換：", nullptr, {8, 40, 30, 12}, TAlign::None, LT, -1, nullptr},
    {K::Edit, "Edit5", "GroupBox4", nullptr, nullptr, {40, 36, 305, 20}, TAlign::None, LR, 1, "置換："},
    {K::Button, "Button15", "GroupBox4", "実行", nullptr, {264, 62, 81, 21}, TAlign::None, R, 2, nullptr},
    {K::GroupBox, "GroupBox7", "TabSheet4", "検索", nullptr, {4, 92, 353, 73}, TAlign::None, LTR, 3, nullptr},
    {K::Label, "Label12", "GroupBox7", "検索：", nullptr, {8, 20, 30, 12}, TAlign::None, LT, -1, nullptr},
    {K::Edit, "Edit6", "GroupBox7", nullptr, nullptr, {40, 16, 301, 20}, TAlign::None, LR, 1, "検索："},
    {K::Button, "Button16", "GroupBox7", "検索", nullptr, {264, 44, 81, 21}, TAlign::None, R, 0, nullptr},
    {K::GroupBox, "GroupBox5", "TabSheet4", "URL判定基準", nullptr, {4, 168, 353, 125}, TAlign::None, LTR, 1, nullptr},
    {K::CheckBox, "CheckBox3", "GroupBox5", "://をhttp://と認識する。(http以外のﾌﾟﾛﾄｺﾙでは利用不可)", "URLと思われる文字列をURLとして認識します。", {8, 12, 313, 21}, TAlign::None, LT, 2, nullptr},
    {K::CheckBox, "CheckBox1", "GroupBox5", "www.で始まる文字列をURLと認識する。", "http://で始まっていなくても、先頭がwww.であればURLとして認識します。", {8, 32, 257, 25}, TAlign::None, LT, 1, nullptr},
    {K::CheckBox, "CheckBox9", "GroupBox5", "/(スラッシュ)と．(ピリオド)を含む文字列をURLとして認識する。", nullptr, {8, 56, 333, 17}, TAlign::None, LT, 4, nullptr},
    {K::CheckBox, "CheckBox7", "GroupBox5", "../で始まる文字列をURLと認識する。", nullptr, {8, 76, 321, 17}, TAlign::None, LT, 0, nullptr},
    {K::CheckBox, "CheckBox8", "GroupBox5", "/で始まる文字列をURLとして認識する。", nullptr, {8, 96, 241, 17}, TAlign::None, LT, 3, nullptr},
    {K::GroupBox, "GroupBox6", "TabSheet4", "選択", nullptr, {4, 300, 353, 61}, TAlign::None, LTR, 2, nullptr},
    {K::FixedLabel, "Label6", "GroupBox6", "全URL数：", nullptr, {8, 20, 54, 12}, TAlign::None, LT, -1, nullptr},
    {K::FixedLabel, "Label10", "GroupBox6", "選択数 ：", nullptr, {8, 36, 54, 12}, TAlign::None, LT, -1, nullptr},
    {K::Button, "Button17", "GroupBox6", "選択を解除", nullptr, {236, 10, 113, 21}, TAlign::None, R, 0, nullptr},
    {K::Button, "Button18", "GroupBox6", "選択を反転", nullptr, {236, 32, 113, 21}, TAlign::None, R, 1, nullptr},
    {K::GroupBox, "GroupBox1", "TabSheet2", "ショートカット", nullptr, {4, 4, 349, 73}, TAlign::None, LTR, 0, nullptr},
    {K::Label, "Label1", "GroupBox1", "接頭語：", nullptr, {8, 20, 42, 12}, TAlign::None, LT, -1, nullptr},
    {K::Edit, "Edit1", "GroupBox1", nullptr, nullptr, {56, 16, 105, 20}, TAlign::None, LTR, 0, "接頭語："},
    {K::Label, "Label2", "GroupBox1", "数値桁数：", nullptr, {184, 20, 54, 12}, TAlign::None, TR, -1, nullptr},
    {K::Spin, "SpinEdit1", "GroupBox1", nullptr, nullptr, {248, 16, 57, 21}, TAlign::None, TR, 1, "数値桁数："},
    {K::Label, "Label4", "GroupBox1", "ｻﾝﾌﾟﾙ ：", nullptr, {8, 48, 43, 12}, TAlign::None, LT, -1, nullptr},
    {K::Label, "Label3", "GroupBox1", "ここにはｻﾝﾌﾟﾙが表示されます。", nullptr, {56, 48, 164, 12}, TAlign::None, LT, -1, nullptr},
    {K::GroupBox, "GroupBox2", "TabSheet2", "オプション", nullptr, {4, 84, 349, 97}, TAlign::None, LTR, 1, nullptr},
    {K::CheckBox, "CheckBox2", "GroupBox2", "みかか語を自動変換する。", "みかか語を自動変換します。", {8, 16, 193, 17}, TAlign::None, LT, 1, nullptr},
    {K::CheckBox, "CheckBox5", "GroupBox2", "[01-99]←こういうのを展開する。", "iria等で使われるﾌｫｰﾏｯﾄを展開します。", {8, 36, 237, 13}, TAlign::None, LT, 2, nullptr},
    {K::CheckBox, "CheckBox4", "GroupBox2", "CB監視(CBからURLを抽出しそのURLをCBに再転送する)", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞを常時監視し、URLを含むﾃｷｽﾄをｺﾋﾟｰすると、URLのみを抽出し、さらにそのURLをｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰします。", {8, 52, 313, 17}, TAlign::None, LT, 0, nullptr},
    {K::CheckBox, "CheckBox6", "GroupBox2", "ﾘﾝｸ集作成時にﾌｧｲﾙ名を指定しない（通常はﾁｪｯｸしない）", "詳しい利用法はミニヘルプの「便利な利用法」をご覧下さい。", {8, 72, 305, 17}, TAlign::None, LT, 3, nullptr},
    {K::GroupBox, "GroupBox3", "TabSheet2", "ミニヘルプ", nullptr, {4, 188, 349, 177}, TAlign::None, LTRB, 2, nullptr},
    {K::HelpList, "ListBox2", "GroupBox3", nullptr, nullptr, {2, 14, 345, 161}, TAlign::Fill, LT, 0, "ミニヘルプ"},
    {K::Label, "Label5", "TabSheet3", "このページは空白です。メモとしてご利用ください。", "password:PVD", {8, 8, 253, 12}, TAlign::None, LT, -1, nullptr},
    {K::FlatEdit, "Edit2", "TabSheet3", nullptr, nullptr, {8, 28, 101, 20}, TAlign::None, LT, 0, "メモ"},
    {K::Memo, "Memo1", "TabSheet3", nullptr, nullptr, {4, 52, 293, 129}, TAlign::None, LTR, 1, "メモパッド1"},
    {K::Memo, "Memo2", "TabSheet3", nullptr, nullptr, {4, 192, 293, 129}, TAlign::None, LRB, 2, "メモパッド2"},
    {K::Picture, "Image1", "TabSheet3", nullptr, "おーい、ラケ丸！今日も熊手でURLかき集めてるかい？", {268, 200, 105, 105}, TAlign::None, R, -1, nullptr},
    {K::Label, "Label11", "TabSheet3", "Linkrake Professional Ver.1.13", "password:RR7", {88, 340, 162, 12}, TAlign::None, LRB, -1, nullptr},
    };
    return controls;
}
