#include "UrlBatch.h"
#include "ShiftJisCodec.h"

void TUrlSink::AddBatch(const TUrlBatch& batch)
{
    for (std::size_t i = 0; i < batch.Count(); ++i)
        batch.InUtf8() ? AddUtf8(batch[i]) : Add(batch[i]);
}

void TUrlSink::AddUtf8(std::string_view url)
{
    Add(Utf8ToShiftJis(url));
}
