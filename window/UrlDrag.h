#pragma once
// What the list takes from a drop of text or links.
#include <optional>
#include <string>

class QMimeData;

// The text a drop of text or links carries, in CP932 for the extraction;
// nothing for files or for data without text.
std::optional<std::string> DroppedText(const QMimeData* data);
