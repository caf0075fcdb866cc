#include "HttpAnswerReader.h"

#include <algorithm>
#include <optional>

namespace {

// A head longer than this is not an answer worth waiting for.
constexpr qsizetype HeadLimit = 64 << 10;

// The end of the head (its first empty line) and the length of that ending.
std::optional<std::pair<qsizetype, qsizetype>> HeadEnd(const QByteArray& buffer)
{
    const qsizetype crlf = buffer.indexOf("\r\n\r\n");
    const qsizetype lf = buffer.indexOf("\n\n");
    if (crlf < 0 && lf < 0)
        return std::nullopt;
    if (lf >= 0 && (crlf < 0 || lf < crlf))
        return std::pair{lf, qsizetype{2}};
    return std::pair{crlf, qsizetype{4}};
}

}  // namespace

void THttpAnswerReader::Reset()
{
    *this = THttpAnswerReader(FBodyLimit);
}

THttpAnswerReader::TState THttpAnswerReader::Feed(const QByteArray& bytes)
{
    if (FPhase == TPhase::Over)
        return FBroken ? TState::Broken : TState::Done;
    FReceived = FReceived || !bytes.isEmpty();
    FBuffer += bytes;
    while (Step()) { }
    if (FPhase != TPhase::Over)
        return TState::More;
    FBuffer.clear();
    return FBroken ? TState::Broken : TState::Done;
}

THttpAnswerReader::TState THttpAnswerReader::Closed()
{
    if (FPhase == TPhase::Over)
        return FBroken ? TState::Broken : TState::Done;
    if (FPhase == TPhase::Head) {
        FBroken = true;
        FPhase = TPhase::Over;
        return TState::Broken;
    }
    // The status came; the rest of the body does not matter.
    return Finish(false);
}

THttpAnswerReader::TState THttpAnswerReader::Finish(bool keepOpen)
{
    FKeepOpen = keepOpen && FBuffer.isEmpty();  // anything beyond is out of step
    FPhase = TPhase::Over;
    return TState::Done;
}

// One step on the buffer; false when nothing more can be done until more
// arrives, or the answer is over.
bool THttpAnswerReader::Step()
{
    switch (FPhase) {
    case TPhase::Over:
        return false;
    case TPhase::Head:
        return ReadHead();
    default:
        return TakeBody();
    }
}

bool THttpAnswerReader::ReadHead()
{
    const auto end = HeadEnd(FBuffer);
    if (!end) {
        if (FBuffer.size() > HeadLimit)
            FBroken = true, FPhase = TPhase::Over;
        return false;
    }
    const QList<QByteArray> lines = FBuffer.left(end->first).split('\n');
    FBuffer.remove(0, end->first + end->second);
    const QByteArray statusLine = lines.value(0).trimmed();
    bool numeric = false;
    const int status = statusLine.split(' ').value(1).toInt(&numeric);
    if (!statusLine.startsWith("HTTP/") || !numeric || status < 100 || status > 999) {
        FBroken = true;
        FPhase = TPhase::Over;
        return false;
    }
    if (status < 200)
        return true;  // an interim answer; the real one follows
    FAnswer.Status = status;
    FKeepAlive = !statusLine.startsWith("HTTP/1.0");
    std::optional<std::int64_t> length;
    bool chunked = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = lines[i].left(colon).trimmed().toLower();
        const QByteArray value = lines[i].mid(colon + 1).trimmed();
        if (name == "location" && FAnswer.Location.isEmpty()) {
            FAnswer.Location = QString::fromLatin1(value);
        } else if (name == "retry-after") {
            FAnswer.RetryAfter = QString::fromLatin1(value);
        } else if (name == "content-length") {
            const std::int64_t bytes = value.toLongLong(&numeric);
            if (numeric && bytes >= 0)
                length = bytes;
        } else if (name == "transfer-encoding") {
            chunked = value.toLower().contains("chunked");
        } else if (name == "connection") {
            const QByteArray token = value.toLower();
            FKeepAlive = token.contains("keep-alive") || (FKeepAlive && !token.contains("close"));
        } else if (name == "set-cookie") {
            FCookies += value;
        }
    }
    FRemaining = length.value_or(0);
    if (status == 204 || status == 304 || (!chunked && length == 0)) {
        Finish(FKeepAlive);
        return false;
    }
    // A body not read to its end leaves the connection unusable, so a
    // large one, or any on a connection that closes anyway, is not read.
    if (!FKeepAlive || (!chunked && length && *length > FBodyLimit)) {
        Finish(false);
        return false;
    }
    FPhase = chunked ? TPhase::Chunks : length ? TPhase::Body : TPhase::UntilClose;
    return true;
}

bool THttpAnswerReader::TakeBody()
{
    const auto line = [this]() -> std::optional<QByteArray> {
        const qsizetype end = FBuffer.indexOf('\n');
        if (end < 0)
            return std::nullopt;
        QByteArray text = FBuffer.left(end).trimmed();
        FBuffer.remove(0, end + 1);
        return text;
    };
    switch (FPhase) {
    case TPhase::Body:
    case TPhase::ChunkData:
    case TPhase::UntilClose: {
        const std::int64_t taken = FPhase == TPhase::UntilClose
                                       ? FBuffer.size()
                                       : std::min<std::int64_t>(FRemaining, FBuffer.size());
        FBuffer.remove(0, static_cast<qsizetype>(taken));
        FBodyRead += taken;
        FRemaining -= taken;
        if (FBodyRead > FBodyLimit) {
            Finish(false);
            return false;
        }
        if (FPhase == TPhase::UntilClose || FRemaining > 0)
            return false;
        if (FPhase == TPhase::Body) {
            Finish(FKeepAlive);
            return false;
        }
        FPhase = TPhase::ChunkLineEnd;
        return true;
    }
    case TPhase::ChunkLineEnd:
        if (!line())
            return false;
        FPhase = TPhase::Chunks;
        return true;
    case TPhase::Chunks: {
        const auto size = line();
        if (!size) {
            if (FBuffer.size() > HeadLimit)
                FBroken = true, FPhase = TPhase::Over;
            return false;
        }
        bool hex = false;
        FRemaining = size->split(';').value(0).trimmed().toLongLong(&hex, 16);
        if (!hex || FRemaining < 0) {
            // The status stands; only the connection is lost.
            Finish(false);
            return false;
        }
        FPhase = FRemaining == 0 ? TPhase::Trailer : TPhase::ChunkData;
        return true;
    }
    case TPhase::Trailer: {
        const auto field = line();
        if (!field) {
            if (FBuffer.size() > HeadLimit)
                Finish(false);
            return false;
        }
        if (field->isEmpty()) {
            Finish(FKeepAlive);
            return false;
        }
        return true;
    }
    default:
        return false;
    }
}
