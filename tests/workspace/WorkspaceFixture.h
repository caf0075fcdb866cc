#pragma once
// The workspace test fixture over the scripted desktop, plus small file helpers.
#include <fstream>
#include <iterator>

#include <QTemporaryDir>

#include "FakeServices.h"
#include "workspace/Cp932.h"
#include "workspace/Workspace.h"

// A workspace over a fresh temporary program folder.
struct TWorkspaceFixture {
    QTemporaryDir Dir;
    std::string Folder = Dir.path().toStdString() + "/";
    TFakeServices Services;
    TWorkspace W{Services, Folder};
    TUrlList& List = W.List;
};

using Strings = std::vector<std::string>;

inline QString Utf8(const char* text)
{
    return QString::fromUtf8(text);
}
inline std::string Sjis(const char* utf8)
{
    return ToCp932(QString::fromUtf8(utf8));
}
inline QString Report(const std::string& message)
{
    return TWorkspace::DefaultErrorText(QString::fromStdString(message));
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}
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
