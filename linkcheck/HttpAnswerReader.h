#pragma once
// Reads one HTTP/1.x answer from the bytes as they arrive, as far as a link
// check needs it: the status and the fields that steer the check, and where
// the answer ends, so that its connection can carry the next request. A
// body is only counted, never kept.
#include <cstdint>

#include <QByteArray>
#include <QList>

#include "LinkOutcome.h"

class THttpAnswerReader {
public:
    enum class TState {
        More,    // the answer goes on
        Done,    // complete, or as far as it will be read
        Broken,  // what came is no HTTP answer
    };

    explicit THttpAnswerReader(std::int64_t bodyLimit) : FBodyLimit(bodyLimit) { }

    // Starts over for the next answer on the same connection.
    void Reset();
    TState Feed(const QByteArray& bytes);
    // The other side closed the connection: Done when that ends the answer
    // (one read until the close) or its head came, Broken otherwise.
    TState Closed();

    const TLinkAnswer& Answer() const { return FAnswer; }
    // Whether the connection can carry another request after a Done.
    bool KeepOpen() const { return FKeepOpen; }
    bool Received() const { return FReceived; }
    const QList<QByteArray>& Cookies() const { return FCookies; }  // Set-Cookie values

private:
    enum class TPhase { Head, Body, Chunks, ChunkData, ChunkLineEnd, Trailer, UntilClose, Over };

    bool Step();
    bool ReadHead();
    bool TakeBody();
    TState Finish(bool keepOpen);

    std::int64_t FBodyLimit;
    TPhase FPhase = TPhase::Head;
    QByteArray FBuffer;
    TLinkAnswer FAnswer;
    QList<QByteArray> FCookies;
    std::int64_t FRemaining = 0;  // of the body or the current chunk
    std::int64_t FBodyRead = 0;
    bool FKeepAlive = false;  // what the head said
    bool FKeepOpen = false;
    bool FReceived = false;
    bool FBroken = false;
};
