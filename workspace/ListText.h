#pragma once
// The line break of every text the workspace writes, and the list as such a
// text: the list file and the list export hold the same bytes.
#include <algorithm>
#include <string>
#include <string_view>

#include "FileWriting.h"
#include "engine/UrlList.h"

inline const std::string LineEnd = "\r\n";

// A Ctrl-Z that opens a line ends a text file for the reader, so a line
// beginning with one would take every later line with it at the next start;
// a CR in front, which the reader drops, keeps it inside its line.
inline void KeepLineWhole(std::string& text, std::string_view line)
{
    if (!line.empty() && line.front() == '\x1A')
        text += '\r';
}

// Every item followed by a line break, handed over a few hundred kilobytes
// at a time.
inline TFileContents ListFileContents(const TUrlList& list)
{
    return [&list](const TPieceSink& sink) {
        constexpr std::size_t PieceSize = std::size_t{1} << 18;
        std::string piece;
        piece.reserve(PieceSize);
        for (const TUrlList::TItem& item : list.Items()) {
            KeepLineWhole(piece, item.Text);
            piece += item.Text;
            piece += LineEnd;
            if (piece.size() >= PieceSize) {
                sink(piece);
                piece.clear();
            }
        }
        if (!piece.empty())
            sink(piece);
    };
}

// A memo pad's text followed by a line break, its lines kept whole the same way.
inline std::string MemoFileContents(std::string_view memo)
{
    std::string text;
    text.reserve(memo.size() + LineEnd.size());
    for (std::size_t at = 0; at < memo.size();) {
        const std::size_t next = std::min(memo.find('\n', at), memo.size() - 1) + 1;
        KeepLineWhole(text, memo.substr(at, next - at));
        text += memo.substr(at, next - at);
        at = next;
    }
    return text + LineEnd;
}
