#pragma once
// Temporary folders and raw file access for the workspace tests.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include "Cp932.h"
#include "UrlList.h"

class TTestFolder {
public:
    // Folder path with a trailing "/", as the workspace expects it.
    std::string Path() const { return FDir.path().toStdString() + "/"; }
    std::string File(const std::string& name) const { return Path() + name; }

private:
    QTemporaryDir FDir;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<std::string> Texts(const TUrlList& list)
{
    std::vector<std::string> texts;
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

inline void Fill(TUrlList& list, const std::vector<std::string>& texts)
{
    for (const auto& text : texts)
        list.Append(text);
}

inline std::string Sjis(const char* utf8) { return ToCp932(QString::fromUtf8(utf8)); }
