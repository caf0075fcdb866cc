#include "UrlBatch.h"

void TUrlSink::AddBatch(const TUrlBatch& batch)
{
    for (std::size_t i = 0; i < batch.Count(); ++i)
        Add(batch[i]);
}
