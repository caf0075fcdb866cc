#pragma once
// Reads text files and extracts their URLs on a thread of its own, so that
// the window stays responsive through a long read. The URLs reach the list
// only through Collect(), on the thread that owns the list; the signals say
// when there is something to collect.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <QObject>

#include "engine/Engine.h"

class TBackgroundReader : public QObject {
    Q_OBJECT
public:
    TBackgroundReader(std::vector<std::string> paths, const TExtractOptions& options);
    // Starts reading the files one after the other, in order; the signals
    // are connected by then.
    void Start();
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

signals:
    // Emitted from the reading thread, so connected receivers hear them
    // queued on their own. At most one Progressed() waits unheard at a time,
    // and they come a few times a second at most: URLs to collect, or bytes
    // read.
    void Progressed();
    // Finished() has become true.
    void Ended();

private:
    void Run();
    void Hand(TUrlList& batch);
    void NoteProgress();
    void NoteFailure(std::exception_ptr failure);
    void NoteOutOfMemory();

    const std::vector<std::string> FPaths;
    TExtractOptions FOptions;
    std::uint64_t FTotalBytes;
    std::atomic<bool> FAbort{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FStoppedEarly{false};
    std::atomic<std::uint64_t> FBytesRead{0};
    std::atomic<std::size_t> FCurrent{0};                 // the file being read
    std::atomic<bool> FProgressUnheard{false};            // a Progressed() not yet followed by Collect()
    std::chrono::steady_clock::time_point FLastProgress;  // the reading thread's own
    mutable std::mutex FLock;
    std::vector<std::string> FPending;  // extracted, not yet collected
    std::exception_ptr FFailure;        // the first failure
    std::thread FThread;
};
