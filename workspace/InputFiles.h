#pragma once
// The files the window reads text from. Only regular files: a FIFO without
// a writer would block the reading for good and a device like /dev/zero
// would never end. Failures that the user must hear about name the file.
#include <stdexcept>
#include <string>

#include <QString>

#include "engine/Engine.h"

// A file in the place of a regular one that is something else.
class ENotRegularFile : public EInOutError {
public:
    ENotRegularFile();
};

// A file the window did not read, or could not read to its end: the text
// names the file and the reason and is shown as it stands.
class EFileNotRead : public std::runtime_error {
public:
    EFileNotRead(const std::string& path, const QString& reason);
};
// "<path> を読み込めません（<reason>）。"
QString NotReadText(const std::string& path, const QString& reason);
QString NotRegularFileReason();
QString OutOfMemoryReason();

// A descriptor open for reading on a regular file, opened without waiting
// for a writer; throws ENotRegularFile for anything else, EInOutError when
// the file cannot be opened.
class TRegularFile {
public:
    explicit TRegularFile(const std::string& path);
    ~TRegularFile();
    TRegularFile(const TRegularFile&) = delete;
    TRegularFile& operator=(const TRegularFile&) = delete;
    int Fd() const { return FFd; }

private:
    int FFd;
};

// True when path is there but is neither a regular file nor a folder.
bool IsSpecialFile(const std::string& path);

// ExtractFromFile as the window reads: a file that is not regular, or a
// reading that runs out of memory, throws EFileNotRead; the URLs of the
// lines before stay in the list.
void ExtractFromInputFile(const std::string& path, const TExtractOptions& options, TUrlList& list);
