#pragma once
// The one place where CP932 bytes and Qt strings meet, through the
// engine's table, so that the window agrees with the readers on what fits.
#include <QString>
#include <string>

QString FromCp932(const std::string& bytes);
// Characters CP932 cannot hold become the percent-encoding of their UTF-8
// bytes, as in an address a browser sends.
std::string ToCp932(const QString& text);

// A memo pad's text as the workspace keeps it, CR LF between lines: CP932
// when every character fits, else UTF-8 after a byte-order mark, so that
// nothing typed is lost.
std::string MemoBytesFromText(QString text);
QString MemoTextFromBytes(const std::string& bytes);
