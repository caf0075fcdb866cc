#pragma once
// The line break of every text the workspace writes, and the list as such a
// text: the list file and the list export hold the same bytes.
#include <string>

#include "FileWriting.h"
#include "UrlList.h"

inline const std::string LineEnd = "\r\n";

// Every item followed by a line break, handed over a few hundred kilobytes
// at a time. A Ctrl-Z that opens a line ends a text file for the reader, so
// an item beginning with one would take every later item with it at the
// next start; a CR in front, which the reader drops, keeps it inside its
// line.
inline TFileContents ListFileContents(const TUrlList& list)
{
    return [&list](const TPieceSink& sink) {
        constexpr std::size_t PieceSize = std::size_t{1} << 18;
        std::string piece;
        piece.reserve(PieceSize);
        for (const TUrlList::TItem& item : list.Items()) {
            if (!item.Text.empty() && item.Text.front() == '\x1A')
                piece += '\r';
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
