#include "BackgroundReader.h"

#include <filesystem>
#include <system_error>

namespace {

// Thrown from the line callback to leave the reader after a whole line.
struct TStopReading { };

// URLs go over to the pending list in batches: taking the lock per line
// would cost more than the extraction of a short line.
constexpr std::size_t LinesPerBatch = 4096;

}  // namespace

TBackgroundReader::TBackgroundReader(std::vector<std::string> paths, const TExtractOptions& options)
    : FOptions(options), FTotalBytes(SizeOfFiles(paths))
{
    FThread = std::thread([this, files = std::move(paths)]() mutable { Run(std::move(files)); });
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

void TBackgroundReader::Run(std::vector<std::string> paths)
{
    TUrlList batch;
    std::size_t lines = 0;
    std::uint64_t filesRead = 0;
    try {
        for (const std::string& path : paths) {
            ReadTextLinesAsShiftJis(path, [&](std::string_view line) {
                ExtractUrlsFromLine(line, FOptions, batch);
                FBytesRead += line.size() + 1;
                if (++lines % LinesPerBatch == 0)
                    Hand(batch);
                if (FAbort)
                    throw TStopReading();
            });
            // Lines of a UTF-8 file arrive converted, shorter than read.
            filesRead += SizeOfFiles({path});
            FBytesRead = filesRead;
        }
    } catch (const TStopReading&) {
        FStoppedEarly = true;
    } catch (...) {
        FFailure = std::current_exception();
    }
    Hand(batch);
    FFinished = true;
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

void TBackgroundReader::Collect(TUrlList& list)
{
    std::vector<std::string> taken;
    {
        std::lock_guard<std::mutex> lock(FLock);
        taken.swap(FPending);
    }
    for (std::string& url : taken)
        list.Append(std::move(url));
}

void TBackgroundReader::RethrowFailure() const
{
    if (FFinished && FFailure)
        std::rethrow_exception(FFailure);
}
