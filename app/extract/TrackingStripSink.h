#pragma once
#include <string>
#include <string_view>

#include "engine/TrackingParameters.h"
#include "engine/UrlBatch.h"
#include "engine/UrlSink.h"

// Hands every URL on without its tracking parameters. It sits in front of
// the writer, where URLs arrive on one thread in file order, so a file read
// on many threads comes out as it does on one. The reader's decision on the
// input's encoding passes through to the writer.
class TTrackingStripSink final : public TUrlSink {
public:
    explicit TTrackingStripSink(TUrlSink& next) : FNext(next) { }

    void Add(std::string_view url) override
    {
        PassSettings();
        FNext.Add(StripTrackingParameters(url, FStripped) ? std::string_view(FStripped) : url);
    }
    // The parameters are found by ASCII bytes that no second byte of
    // Shift_JIS takes, so stripping UTF-8 removes the same ones.
    void AddUtf8(std::string_view url) override
    {
        PassSettings();
        FNext.AddUtf8(StripTrackingParameters(url, FStripped) ? std::string_view(FStripped) : url);
    }
    bool TakesUtf8For(TTextEncoding input) const override { return FNext.TakesUtf8For(input); }
    void AddBatch(const TUrlBatch& batch) override
    {
        PassSettings();
        // Most batches hold no query at all and go on whole.
        if (batch.Lines().find('?') == std::string_view::npos)
            return FNext.AddBatch(batch);
        FBatch.Clear();
        FBatch.SetInUtf8(batch.InUtf8());
        for (std::size_t i = 0; i < batch.Count(); ++i)
            FBatch.Add(StripTrackingParameters(batch[i], FStripped) ? std::string_view(FStripped) : batch[i]);
        FNext.AddBatch(FBatch);
    }

private:
    void PassSettings() { FNext.InputEncoding = InputEncoding; }
    TUrlSink& FNext;
    std::string FStripped;
    TUrlBatch FBatch;
};
