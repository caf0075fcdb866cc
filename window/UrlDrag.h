#pragma once
// What the list offers other programs when its items are dragged out, and
// what it takes from a drop of text or links.
#include <optional>
#include <string>

class QMimeData;
class TUrlList;

// The selected items as plain text (CR LF between them) and as a URI list
// of those that are web addresses; nullptr when nothing is selected.
QMimeData* UrlDragData(const TUrlList& list);
// The text a drop of text or links carries, in CP932 for the extraction;
// nothing for files or for data without text.
std::optional<std::string> DroppedText(const QMimeData* data);
