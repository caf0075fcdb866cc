#include "BackgroundReader.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

#include "InputFiles.h"

namespace {

// Thrown from the line callback to leave the reader after a whole line.
struct TStopReading { };

// URLs go over to the pending list in batches: taking the lock per line
// would cost more than the extraction of a short line.
constexpr std::size_t LinesPerBatch = 4096;
// Past this much of one line, a stop does not wait for the line's end.
constexpr std::size_t LongLineBytes = 4 << 20;
// Often enough for a progress bar, seldom enough to leave the receiving
// thread time for everything else.
constexpr std::chrono::milliseconds ProgressInterval(50);

}  // namespace

TBackgroundReader::TBackgroundReader(std::vector<std::string> paths, const TExtractOptions& options)
    : FPaths(std::move(paths)), FOptions(options), FTotalBytes(SizeOfFiles(FPaths))
{ }

void TBackgroundReader::Start()
{
    if (!FThread.joinable())
        FThread = std::thread([this] { Run(); });
}

TBackgroundReader::~TBackgroundReader()
{
    FAbort = true;
    if (FThread.joinable())
        FThread.join();
}

std::uint64_t TBackgroundReader::SizeOfFiles(const std::vector<std::string>& paths)
{
    std::uint64_t total = 0;
    for (const std::string& path : paths) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (!error)
            total += size;
    }
    return total;
}

void TBackgroundReader::Run()
{
    TUrlList batch;
    std::size_t lines = 0;
    std::size_t unfinishedLine = 0;  // bytes read since the last whole line
    try {
        for (; FCurrent < FPaths.size(); ++FCurrent) {
            const TRegularFile file(FPaths[FCurrent]);
            ReadTextLinesAsShiftJis(
                file.Fd(),
                [&](std::string_view line) {
                    ExtractUrlsFromLine(line, FOptions, batch);
                    unfinishedLine = 0;
                    if (++lines % LinesPerBatch == 0) {
                        Hand(batch);
                        NoteProgress();
                    }
                    if (FAbort)
                        throw TStopReading();
                },
                [&](std::size_t bytes) {
                    FBytesRead += bytes;
                    unfinishedLine += bytes;
                    NoteProgress();
                    // A line that goes on and on is left unfinished.
                    if (FAbort && unfinishedLine > LongLineBytes)
                        throw TStopReading();
                });
        }
    } catch (const TStopReading&) {
        FStoppedEarly = true;
    } catch (const ENotRegularFile&) {
        NoteFailure(std::make_exception_ptr(EFileNotRead(FPaths[FCurrent], NotRegularFileReason())));
    } catch (const EUnsupportedEncoding& refusal) {
        NoteFailure(
            std::make_exception_ptr(EFileNotRead(FPaths[FCurrent], QString::fromUtf8(refusal.what()))));
    } catch (const std::bad_alloc&) {
        NoteOutOfMemory();
    } catch (...) {
        NoteFailure(std::current_exception());
    }
    try {
        Hand(batch);
    } catch (const std::bad_alloc&) {
        NoteOutOfMemory();  // the last batch's URLs are lost with it
    }
    FFinished = true;
    emit Ended();
}

void TBackgroundReader::NoteProgress()
{
    const auto now = std::chrono::steady_clock::now();
    if (now - FLastProgress < ProgressInterval || FProgressUnheard.exchange(true))
        return;
    FLastProgress = now;
    emit Progressed();
}

void TBackgroundReader::Hand(TUrlList& batch)
{
    if (batch.Empty())
        return;
    std::lock_guard<std::mutex> lock(FLock);
    for (TUrlList::TItem& item : batch.Items())
        FPending.push_back(std::move(item.Text));
    batch.Clear();
}

void TBackgroundReader::NoteFailure(std::exception_ptr failure)
{
    std::lock_guard<std::mutex> lock(FLock);
    if (!FFailure)
        FFailure = std::move(failure);
}

void TBackgroundReader::NoteOutOfMemory()
{
    try {
        if (FPaths.empty())
            throw std::bad_alloc();
        const std::size_t current = std::min<std::size_t>(FCurrent, FPaths.size() - 1);
        NoteFailure(std::make_exception_ptr(EFileNotRead(FPaths[current], OutOfMemoryReason())));
    } catch (const std::bad_alloc&) {
        NoteFailure(std::current_exception());
    }
}

void TBackgroundReader::Collect(TUrlList& list)
{
    FProgressUnheard = false;
    std::vector<std::string> taken;
    {
        std::lock_guard<std::mutex> lock(FLock);
        taken.swap(FPending);
    }
    try {
        for (std::string& url : taken)
            list.Append(std::move(url));
    } catch (const std::bad_alloc&) {
        FAbort = true;
        NoteOutOfMemory();
    }
}

void TBackgroundReader::RethrowFailure() const
{
    std::lock_guard<std::mutex> lock(FLock);
    if (FFinished && FFailure)
        std::rethrow_exception(FFailure);
}
