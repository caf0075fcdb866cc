#pragma once
// What a copy or a drop of part of a web page offers beside its text. Reads
// only the forms already listed, so that a caller that has asked for the
// list once asks for nothing twice.
#include <optional>

#include <QStringList>

#include "workspace/ClipboardCopy.h"

class QMimeData;

// The markup (text/html) and the page's address where the browser gives it.
std::optional<TCopiedPage> CopiedPageOf(const QMimeData& data, const QStringList& formats);
