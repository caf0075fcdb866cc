#include "BlockExtraction.h"
#include "EncodedBlocks.h"
#include "Engine.h"
#include "FieldScan.h"
#include "FileHandle.h"
#include "PieceReading.h"
#include "TextEncoding.h"
#include "TextInput.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_set>

namespace {

constexpr std::size_t ChunkSize = 1 << 18;
constexpr char CtrlZ = 0x1A;

using blocks::AppendWithoutCr;

// One line's bytes without its CRs: as they stand when the only CR is the
// one before the LF, else copied into spare.
std::string_view WithoutCr(std::string_view raw, std::string& spare)
{
    const void* cr = std::memchr(raw.data(), '\r', raw.size());
    if (!cr)
        return raw;
    const auto at = static_cast<std::size_t>(static_cast<const char*>(cr) - raw.data());
    if (at + 1 == raw.size())
        return raw.substr(0, at);
    spare.clear();
    AppendWithoutCr(spare, raw);
    return spare;
}

// Reads a file in large pieces and hands on blocks of whole lines: each
// block starts at the start of a line and ends just after an LF, except the
// last, which ends with the file. A line longer than a piece grows the
// buffer. onBlock(block, atStart) returns false to stop reading. The gate
// holds blocks back until the file's encoding is known; a UTF-16 file
// comes as Shift_JIS text.
template <class OnBlock> void ReadLineBlocks(TFileHandle& handle, TEncodingGate& gate, OnBlock&& onBlock)
{
    TTextInput file(handle, gate);
    TReadBuffer buffer;
    buffer.Reserve(ChunkSize, 0);
    std::size_t filled = 0;
    for (;;) {
        if (filled == buffer.Capacity())
            buffer.Reserve(filled * 2, filled);
        const std::size_t got = file.Read(buffer.Data() + filled, buffer.Capacity() - filled);
        if (got == 0)
            break;
        const void* lastLf = memrchr(buffer.Data() + filled, '\n', got);
        filled += got;
        if (!lastLf || !gate.Ready(std::string_view(buffer.Data(), filled), false))
            continue;
        const auto cut = static_cast<std::size_t>(static_cast<const char*>(lastLf) - buffer.Data()) + 1;
        if (!onBlock(std::string_view(buffer.Data(), cut), gate.TakeStart()))
            return;
        std::memmove(buffer.Data(), buffer.Data() + cut, filled - cut);
        filled -= cut;
    }
    if (filled > 0 && gate.Ready(std::string_view(buffer.Data(), filled), true))
        onBlock(std::string_view(buffer.Data(), filled), gate.TakeStart());
}

// Cuts a block of whole lines into lines. False once a Ctrl-Z at the start
// of a line has ended the text.
bool CutLines(std::string_view block, const std::function<void(std::string_view)>& onLine, std::string& spare)
{
    for (std::size_t at = 0; at < block.size();) {
        if (block[at] == CtrlZ)
            return false;
        const void* lf = std::memchr(block.data() + at, '\n', block.size() - at);
        const std::size_t end =
            lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - block.data()) : block.size();
        onLine(WithoutCr(block.substr(at, end - at), spare));
        at = end + 1;
    }
    return true;
}

void ReadLinesFrom(TFileHandle& file, TTextEncoding encoding,
                   const std::function<void(std::string_view)>& onLine)
{
    std::string spare, converted;
    TEncodingGate gate(encoding);
    ReadLineBlocks(file, gate, [&](std::string_view block, bool atStart) {
        if (gate.Encoding() == TTextEncoding::Utf8)
            block = Utf8BlockAsShiftJis(block, atStart, converted);
        return CutLines(block, onLine, spare);
    });
}

std::string ReadBytesFrom(TFileHandle& file)
{
    std::string contents;
    const std::unique_ptr<char[]> buffer(new char[ChunkSize]);
    while (const std::size_t got = file.Read(buffer.get(), ChunkSize))
        contents.append(buffer.get(), got);
    return contents;
}

}  // namespace

void ExtractFromHandle(TFileHandle& file, const TExtractOptions& options, TUrlSink& sink)
{
    std::string spare, converted;
    TEncodingGate gate(sink.InputEncoding);
    ReadLineBlocks(file, gate, [&](std::string_view block, bool atStart) {
        sink.InputEncoding = gate.Encoding();
        return blocks::ExtractEncoded(block, gate.Encoding(), atStart, options, sink, spare, converted,
                                      [](const char*) {});
    });
}

void ReadTextLines(const std::string& path, const std::function<void(std::string_view)>& onLine)
{
    TFileHandle file(path);
    ReadLinesFrom(file, TTextEncoding::ShiftJis, onLine);
}

void ReadTextLines(int fd, const std::function<void(std::string_view)>& onLine)
{
    TFileHandle file(fd);
    ReadLinesFrom(file, TTextEncoding::ShiftJis, onLine);
}

void ReadTextLinesAsShiftJis(const std::string& path, const std::function<void(std::string_view)>& onLine)
{
    TFileHandle file(path);
    ReadLinesFrom(file, TTextEncoding::Auto, onLine);
}

void ReadTextLinesAsShiftJis(int fd, const std::function<void(std::string_view)>& onLine,
                             const std::function<void(std::size_t bytes)>& onRead)
{
    TFileHandle file(fd);
    file.OnRead = onRead;
    ReadLinesFrom(file, TTextEncoding::Auto, onLine);
}

void SplitTextLines(std::string_view bytes, const std::function<void(std::string_view)>& onLine)
{
    std::string spare;
    CutLines(bytes, onLine, spare);
}

std::string ReadFileBytes(const std::string& path)
{
    TFileHandle file(path);
    return ReadBytesFrom(file);
}

std::string ReadFileBytes(int fd)
{
    TFileHandle file(fd);
    return ReadBytesFrom(file);
}

void ExtractFromFile(const std::string& path, const TExtractOptions& options, TUrlList& list)
{
    TUrlListSink sink(list);
    ExtractFromFile(path, options, sink);
}

void ExtractFromFile(const std::string& path, const TExtractOptions& options, TUrlSink& sink)
{
    TFileHandle file(path);
    ExtractFromHandle(file, options, sink);
}

void ExtractFromFile(int fd, const TExtractOptions& options, TUrlSink& sink)
{
    TFileHandle file(fd);
    ExtractFromHandle(file, options, sink);
}

void ExtractFromFileAsOpened(int fd, const TExtractOptions& options, TUrlSink& sink)
{
    TFileHandle file(fd);
    file.EndAtSizeWhenOpened();
    ExtractFromHandle(file, options, sink);
}

void ExtractFromClipboardText(std::string_view text, const TExtractOptions& options, TUrlList& list)
{
    TUrlListSink sink(list);
    ExtractFromClipboardText(text, options, sink);
}

namespace {

// Monitoring reads whatever anyone copies: the whole copy gets the budget
// of one range, and the sink its own budget back afterwards.
class TCopyBudget {
public:
    explicit TCopyBudget(TUrlSink& sink) : FSink(sink), FSaved(sink.RangeEntriesLeft)
    {
        sink.RangeEntriesLeft = std::min(sink.RangeEntriesLeft, MaxRangeEntries);
    }
    ~TCopyBudget() { FSink.RangeEntriesLeft = FSaved; }
    TCopyBudget(const TCopyBudget&) = delete;
    TCopyBudget& operator=(const TCopyBudget&) = delete;

private:
    TUrlSink& FSink;
    long long FSaved;
};

void ExtractClipboardLines(std::string_view text, const TExtractOptions& options, TUrlSink& sink)
{
    std::string withoutCr;
    withoutCr.reserve(text.size());
    AppendWithoutCr(withoutCr, text);
    fields::ScanFields(withoutCr, fields::MakeDelimiterTable("\n"), [&](std::string_view line) {
        if (line.empty())
            return false;
        ExtractUrlsFromLine(line, options, sink);
        return true;
    });
}

// Hands URLs on and notes them (the text's), or hands on only those not
// noted (the targets'). The range budget is its own, shared by both.
class TCopySink final : public TUrlSink {
public:
    explicit TCopySink(TUrlSink& next) : FNext(next) { RangeEntriesLeft = next.RangeEntriesLeft; }
    bool Noting = true;
    void Add(std::string_view url) override
    {
        if (Noting)
            FSeen.emplace(url);
        else if (FSeen.count(std::string(url)))
            return;
        FNext.Add(url);
    }

private:
    TUrlSink& FNext;
    std::unordered_set<std::string> FSeen;
};

}  // namespace

void ExtractFromClipboardText(std::string_view text, const TExtractOptions& options, TUrlSink& sink)
{
    TCopyBudget budget(sink);
    ExtractClipboardLines(text, options, sink);
}

void ExtractFromCopy(std::string_view text, const std::vector<std::string>& targets,
                     const TExtractOptions& options, TUrlSink& sink)
{
    if (targets.empty())
        return ExtractFromClipboardText(text, options, sink);
    TCopyBudget budget(sink);
    TCopySink copy(sink);
    ExtractClipboardLines(text, options, copy);
    copy.Noting = false;
    // A target was never typed, so never in kana mode.
    TExtractOptions targetOptions = options;
    targetOptions.KanaConversion = false;
    for (const std::string& target : targets)
        ExtractClipboardLines(target, targetOptions, copy);
}

void ExtractFromCopy(std::string_view text, const std::vector<std::string>& targets,
                     const TExtractOptions& options, TUrlList& list)
{
    TUrlListSink sink(list);
    ExtractFromCopy(text, targets, options, sink);
}
