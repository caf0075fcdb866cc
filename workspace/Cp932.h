#pragma once
// The one place where CP932 bytes and Qt strings meet.
#include <QString>
#include <string>

QString FromCp932(const std::string& bytes);
// Characters CP932 cannot hold become "?", as the desktop's own conversion does.
std::string ToCp932(const QString& text);
