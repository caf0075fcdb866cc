#pragma once
// A scripted desktop for the workspace handlers, plus small file helpers.
// Dialog answers are queued in advance; what the handlers show is recorded.
#include <deque>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

#include <QStringList>
#include <QTemporaryDir>

#include "Cp932.h"
#include "Workspace.h"

class TFakeServices : public TWorkspaceServices {
public:
    std::deque<std::optional<std::string>> Files, Folders;  // dialog answers
    bool ConfirmAnswer = true, HasText = true, ReadFails = false, WriteFails = false;
    std::string Clipboard;
    const bool* ClipIgnore = nullptr;  // sampled at every clipboard write
    QStringList Filters, Proposed, Titles, Questions, Errors, Messages;
    std::vector<bool> IgnoredWrites;
    int ExtentResets = 0;

    std::optional<std::string> ChooseOpenFile(const QString& f) override { Filters << f; return Next(Files); }
    std::optional<std::string> ChooseSaveFile(const QString& f, const QString& name) override
    {
        Filters << f;
        Proposed << name;
        return Next(Files);
    }
    std::optional<std::string> ChooseFolder(const QString& title) override { Titles << title; return Next(Folders); }
    bool Confirm(const QString& question) override { Questions << question; return ConfirmAnswer; }
    bool ClipboardHasText() override { return HasText; }
    std::string ClipboardText() override
    {
        if (ReadFails)
            throw std::runtime_error("clipboard busy");
        return Clipboard;
    }
    void SetClipboardText(const std::string& text) override
    {
        if (WriteFails)
            throw std::runtime_error("clipboard busy");
        Clipboard = text;
        IgnoredWrites.push_back(ClipIgnore && *ClipIgnore);
    }
    void ReportError(const QString& text) override { Errors << text; }
    void ShowMessage(const QString& text) override { Messages << text; }
    void ResetListHorizontalExtent() override { ++ExtentResets; }

private:
    static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers)
    {
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// A workspace over a fresh temporary program folder.
struct TWorkspaceFixture {
    QTemporaryDir Dir;
    std::string Folder = Dir.path().toStdString() + "/";
    TFakeServices Services;
    TWorkspace W{Services, Folder};
    TUrlList& List = W.List;
};

using Strings = std::vector<std::string>;

inline QString Utf8(const char* text) { return QString::fromUtf8(text); }
inline std::string Sjis(const char* utf8) { return ToCp932(QString::fromUtf8(utf8)); }
inline QString Report(const std::string& message) { return TWorkspace::DefaultErrorText(QString::fromStdString(message)); }

inline void WriteBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline Strings Texts(const TUrlList& list)
{
    Strings texts;
    for (const auto& item : list.Items())
        texts.push_back(item.Text);
    return texts;
}
inline std::vector<bool> Selections(const TUrlList& list)
{
    std::vector<bool> flags;
    for (const auto& item : list.Items())
        flags.push_back(item.Selected);
    return flags;
}
inline void Fill(TUrlList& list, const Strings& texts, std::initializer_list<std::size_t> selected = {})
{
    for (const auto& text : texts)
        list.Append(text);
    for (std::size_t i : selected)
        list.SetSelected(i, true);
}
