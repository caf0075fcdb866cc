#pragma once
// Reads text files and extracts their URLs on a thread of its own, so that
// the window stays responsive through a long read. The URLs reach the list
// only through Collect(), on the thread that owns the list.
#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Engine.h"

class TBackgroundReader {
public:
    // Starts reading the files one after the other, in order.
    TBackgroundReader(std::vector<std::string> paths, const TExtractOptions& options);
    // Stops the reading and waits for the thread.
    ~TBackgroundReader();
    TBackgroundReader(const TBackgroundReader&) = delete;
    TBackgroundReader& operator=(const TBackgroundReader&) = delete;

    // Asks the reading to stop: after the line it is working on, or within
    // a long line after a few megabytes at most. The line cut short adds
    // nothing.
    void Abort() { FAbort = true; }
    // True when an Abort() left lines unread.
    bool StoppedEarly() const { return FStoppedEarly; }
    // True once the thread is done: all read, stopped, or failed.
    bool Finished() const { return FFinished; }
    // Bytes of the files consumed so far, and all of them together.
    std::uint64_t BytesRead() const { return FBytesRead; }
    std::uint64_t TotalBytes() const { return FTotalBytes; }

    // Appends the URLs extracted since the last call to list, in file order.
    // Short of memory for them, it stops the reading as Abort() does and
    // leaves that failure for RethrowFailure().
    void Collect(TUrlList& list);
    // After Finished(): rethrows a read or extraction failure, if there was
    // one; running out of memory throws EFileNotRead naming the file.
    void RethrowFailure() const;

    // The size of the files together; a file that cannot be found counts 0.
    static std::uint64_t SizeOfFiles(const std::vector<std::string>& paths);

private:
    void Run();
    void Hand(TUrlList& batch);
    void NoteFailure(std::exception_ptr failure);
    void NoteOutOfMemory();

    const std::vector<std::string> FPaths;
    TExtractOptions FOptions;
    std::uint64_t FTotalBytes;
    std::atomic<bool> FAbort{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FStoppedEarly{false};
    std::atomic<std::uint64_t> FBytesRead{0};
    std::atomic<std::size_t> FCurrent{0};  // the file being read
    mutable std::mutex FLock;
    std::vector<std::string> FPending;  // extracted, not yet collected
    std::exception_ptr FFailure;        // the first failure
    std::thread FThread;
};
