#include "UrlBatch.h"

void TUrlSink::AddBatch(const TUrlBatch& batch)
{
    for (std::size_t i = 0; i < batch.Count(); ++i)
        Add(batch[i]);
}

void TUrlBatch::Reserve(std::size_t bytes, std::size_t count)
{
    FLines.reserve(bytes);
    FEnds.reserve(count);
}
