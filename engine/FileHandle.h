#pragma once
// Internal: an open file that the text readers read, refusing folders.
#include <cstddef>
#include <functional>
#include <string>

struct TExtractOptions;
class TUrlSink;

class TFileHandle {
public:
    // Throws EInOutError when the file cannot be opened, or is a folder.
    explicit TFileHandle(const std::string& path);
    // Reads a descriptor the caller keeps open, such as standard input.
    explicit TFileHandle(int fd);
    ~TFileHandle();
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;

    // Bytes read into buffer; 0 at the end of the file. With OnRead set, at
    // most WatchedReadBytes at a time.
    std::size_t Read(char* buffer, std::size_t size);
    // Told the bytes of every Read; it may throw to stop the reading, even
    // inside a line that never ends.
    std::function<void(std::size_t bytes)> OnRead;
    static constexpr std::size_t WatchedReadBytes = 4 << 20;
    // Moves the position Read reads from.
    void Seek(std::size_t offset);
    // Bytes read at offset without moving the file position; fewer than
    // size only at the end of the file. Safe from several threads at once.
    std::size_t ReadAt(char* buffer, std::size_t size, std::size_t offset) const;

    // A regular file's size when opened; 0 for anything else (pipes,
    // terminals, devices), whose size means nothing.
    std::size_t RegularSize() const { return FRegularSize; }
    // From here on, Read ends where a regular file ended when it was opened,
    // however fast another program appends to it.
    void EndAtSizeWhenOpened();

private:
    void Inspect();
    [[noreturn]] void Fail(int code);
    int FFd;
    bool FOwned = true;
    std::size_t FRegularSize = 0;
    bool FRegular = false;
    bool FEndsAtRegularSize = false;
    std::size_t FPosition = 0;  // kept only while FEndsAtRegularSize
};

// ExtractFromFile on a file already open, read from where it stands
// (TextSources.cpp).
void ExtractFromHandle(TFileHandle& file, const TExtractOptions& options, TUrlSink& sink);
