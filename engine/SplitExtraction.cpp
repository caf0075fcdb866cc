// A large regular file is cut into pieces at line starts, up to the size it
// had when opened; threads take the pieces in file order and extract each
// into a batch of its own, and the calling thread hands the batches to the
// sink in file order. What the file grew by meanwhile (a log being
// written) is read on as a stream, so that memory stays bounded by the
// pieces whatever the writer does. A piece ended by a Ctrl-Z or by an
// error ends the text there: what later pieces found is dropped, exactly as
// if the file had been read line by line.
#include "EncodedBlocks.h"
#include "Engine.h"
#include "FileEncoding.h"
#include "FileHandle.h"
#include "PieceReading.h"
#include "TextInput.h"
#include "UrlBatch.h"
#include "threads/SideThread.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <vector>

namespace {

// How many pieces may be taken ahead of the first one not yet handed on:
// this bounds the memory of waiting batches. Enough for the helpers to go on
// while the calling thread writes out what it hands on (a write to a pipe
// can take a millisecond), yet few: fresh memory is dear on some virtual
// machines (every new page a fault of the host), and these batches fit in
// the buffers' huge page.
constexpr std::size_t Window = 8;
constexpr std::size_t NoPiece = static_cast<std::size_t>(-1);

// Thrown by a piece's sink once its batch is full.
struct TBatchFull { };

// InUtf8: the batch holds UTF-8, so URLs in Shift_JIS are converted.
template <bool InUtf8> class TLimitedSink final : public TUrlSink {
public:
    TLimitedSink(TUrlBatch& batch, std::size_t limit) : FBatch(batch), FLimit(limit) { }
    void Add(std::string_view url) override
    {
        if (FBatch.Bytes() >= FLimit)
            throw TBatchFull();
        if constexpr (InUtf8)
            FBatch.AddShiftJisAsUtf8(url);
        else
            FBatch.Add(url);
    }
    void AddUtf8(std::string_view url) override
    {
        if (FBatch.Bytes() >= FLimit)
            throw TBatchFull();
        FBatch.AddUtf8(url);
    }
    bool TakesUtf8For(TTextEncoding) const override { return InUtf8; }

private:
    TUrlBatch& FBatch;
    std::size_t FLimit;
};

// What a piece left for the calling thread besides its URLs.
struct TPieceEnd {
    bool Ended = false;            // a Ctrl-Z at a line start ended the text
    std::size_t ReadTo = 0;        // the file offset past the piece's last line
    std::size_t Resume = NoPiece;  // the batch filled up: the lines from here wait for their turn
    std::exception_ptr Error;
};

// Each on cache lines of its own: two threads fill neighbouring slots.
struct alignas(64) TSlot {
    TUrlBatch Urls;
    TPieceEnd End;
    bool Done = false;
};

class TSplitRun {
public:
    TSplitRun(const TFileHandle& file, const TExtractOptions& options, TUrlSink& sink,
              const TFileSplit& split)
        : FFile(file),
          FOptions(options),
          FSink(sink),
          FSplit(split),
          FPieces((file.RegularSize() + split.PieceBytes - 1) / split.PieceBytes),
          FSlots(Window),
          FEncoding(file, sink.InputEncoding)
    { }

    void Run()
    {
        std::vector<Threads::TSideThread> helpers;
        const std::size_t helperCount = std::min<std::size_t>(FSplit.Threads, FPieces) - 1;
        try {
            for (std::size_t i = 0; i < helperCount; ++i)
                StartHelper(helpers);
            Lead();
        } catch (...) {
            Stop();
            throw;  // the helpers are joined on the way out
        }
        Stop();
    }
    // True when a Ctrl-Z ended the text.
    bool Ended() const { return FEnded; }
    // The file offset where the lines the pieces did not take start.
    std::size_t ReadTo() const { return FReadTo; }

private:
    // A thread the system refuses only means less help: the calling thread
    // can do every piece itself.
    void StartHelper(std::vector<Threads::TSideThread>& helpers)
    {
        try {
            helpers.emplace_back([this] { Help(); });
        } catch (const std::system_error&) { }
    }

    std::size_t From(std::size_t piece) const { return piece * FSplit.PieceBytes; }
    std::size_t To(std::size_t piece) const
    {
        return piece + 1 == FPieces ? FFile.RegularSize() : From(piece + 1);
    }

    // Extracts the lines that start in [from, to) into batch, or into the
    // sink when there is none. The batch holds what the sink will write.
    TPieceEnd Extract(std::size_t from, std::size_t to, bool atLineStart, TReadBuffer& buffer,
                      TUrlBatch* batch)
    {
        const TLineBlock block = ReadLinesStartingIn(FFile, from, to, atLineStart, buffer);
        // A later piece asks once the first has been read: deciding without
        // it would mean reading the start of the file again.
        if (from != 0) {
            std::unique_lock lock(FMutex);
            FChanged.wait(lock, [&] { return FStartSeen || FStopped; });
        }
        const TTextEncoding encoding = FEncoding.For(block.Bytes, block.Offset == 0);
        if (from == 0) {
            std::lock_guard lock(FMutex);
            FStartSeen = true;
            FChanged.notify_all();
        }
        if (!batch) {
            FSink.InputEncoding = encoding;
            return ExtractBlock(block, encoding, FSink, nullptr);
        }
        batch->SetInUtf8(FSink.TakesUtf8For(encoding));
        if (batch->InUtf8()) {
            TLimitedSink<true> sink(*batch, FSplit.BatchBytes);
            return ExtractBlock(block, encoding, sink, batch);
        }
        TLimitedSink<false> sink(*batch, FSplit.BatchBytes);
        return ExtractBlock(block, encoding, sink, batch);
    }

    TPieceEnd ExtractBlock(const TLineBlock& block, TTextEncoding encoding, TUrlSink& sink, TUrlBatch* batch)
    {
        TPieceEnd end;
        thread_local std::string converted;  // kept: fresh memory is dear
        if (!block.Bytes.empty())
            end.ReadTo = block.Offset + block.Bytes.size();
        std::size_t lineOffset = 0, keptUrls = 0;
        std::string spare;
        try {
            end.Ended = !blocks::ExtractEncoded(block.Bytes, encoding, block.Offset == 0, FOptions, sink,
                                                spare, converted, [&](const char* line) {
                                                    lineOffset =
                                                        static_cast<std::size_t>(line - block.Bytes.data());
                                                    keptUrls = batch ? batch->Count() : 0;
                                                });
        } catch (const TBatchFull&) {
            batch->Truncate(keptUrls);
            end.Resume = block.Offset + lineOffset;
        }
        return end;
    }

    // A piece into its slot, on any thread.
    void Fill(std::size_t piece, TReadBuffer& buffer)
    {
        TSlot& slot = FSlots[piece % Window];
        slot.Urls.Clear();
        slot.End = {};
        try {
            slot.Urls.Reserve(FSplit.PieceBytes / 4, FSplit.PieceBytes / 128);
            slot.End = Extract(From(piece), To(piece), false, buffer, &slot.Urls);
        } catch (...) {
            slot.End.Error = std::current_exception();
        }
        std::lock_guard lock(FMutex);
        slot.Done = true;
        FChanged.notify_all();
    }

    // Hands a finished piece on; false when it ended the text.
    bool HandOn(std::size_t piece)
    {
        TSlot& slot = FSlots[piece % Window];
        FSink.InputEncoding = FEncoding.Encoding();
        FSink.AddBatch(slot.Urls);
        if (slot.End.Error)
            std::rethrow_exception(slot.End.Error);
        if (slot.End.Resume != NoPiece)
            slot.End = Extract(slot.End.Resume, To(piece), true, FLeadBuffer, nullptr);
        return Passed(slot.End);
    }

    // The calling thread: extracts pieces too, and hands every finished one
    // on in order. A piece it takes when all before it are handed on goes
    // straight to the sink.
    void Lead()
    {
        std::unique_lock lock(FMutex);
        while (FNextOut < FPieces) {
            TSlot& next = FSlots[FNextOut % Window];
            if (next.Done) {
                next.Done = false;
                lock.unlock();
                const bool goOn = HandOn(FNextOut);
                lock.lock();
                if (!goOn)
                    return;
                ++FNextOut;
                FChanged.notify_all();
            } else if (FNextIn == FNextOut) {
                const std::size_t piece = FNextIn++;
                lock.unlock();
                const TPieceEnd end = Extract(From(piece), To(piece), false, FLeadBuffer, nullptr);
                lock.lock();
                if (!Passed(end))
                    return;
                ++FNextOut;
                FChanged.notify_all();
            } else if (FNextIn < FPieces && FNextIn - FNextOut < Window) {
                const std::size_t piece = FNextIn++;
                lock.unlock();
                Fill(piece, FLeadBuffer);
                lock.lock();
            } else {
                FChanged.wait(lock);
            }
        }
    }

    // Notes how far a piece handed on has read; false when it ended the text.
    bool Passed(const TPieceEnd& end)
    {
        FReadTo = std::max(FReadTo, end.ReadTo);
        FEnded = end.Ended;
        return !FEnded;
    }

    void Help()
    {
        TReadBuffer buffer;
        std::unique_lock lock(FMutex);
        for (;;) {
            FChanged.wait(lock,
                          [&] { return FStopped || FNextIn >= FPieces || FNextIn - FNextOut < Window; });
            if (FStopped || FNextIn >= FPieces)
                return;
            const std::size_t piece = FNextIn++;
            lock.unlock();
            Fill(piece, buffer);
            lock.lock();
        }
    }

    void Stop()
    {
        std::lock_guard lock(FMutex);
        FStopped = true;
        FChanged.notify_all();
    }

    const TFileHandle& FFile;
    const TExtractOptions& FOptions;
    TUrlSink& FSink;
    const TFileSplit& FSplit;
    const std::size_t FPieces;
    std::vector<TSlot> FSlots;
    TFileEncoding FEncoding;
    TReadBuffer FLeadBuffer;
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::size_t FNextIn = 0;   // the first piece no thread has taken
    std::size_t FNextOut = 0;  // the first piece not yet handed on
    bool FStopped = false;
    bool FStartSeen = false;  // the first piece has been read and its encoding asked for
    bool FEnded = false;      // on the calling thread only, as is FReadTo
    std::size_t FReadTo = 0;
};

}  // namespace

void ExtractFromFile(const std::string& path, const TExtractOptions& options, TUrlSink& sink,
                     const TFileSplit& split)
{
    TFileHandle file(path);
    // A UTF-16 file is read on one thread: its pieces could not tell their
    // encoding, nor where their lines start.
    if (split.Threads < 2 || split.PieceBytes == 0 || file.RegularSize() < split.SmallestFile
        || file.RegularSize() <= split.PieceBytes || StartsAsUtf16(file, sink.InputEncoding))
        return ExtractFromHandle(file, options, sink);
    TSplitRun run(file, options, sink, split);
    run.Run();
    if (!run.Ended()) {
        file.Seek(run.ReadTo());
        ExtractFromHandle(file, options, sink);
    }
}
