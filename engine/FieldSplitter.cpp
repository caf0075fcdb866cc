#include "Engine.h"
#include "FieldScan.h"

std::string FieldAt(std::string_view text, std::string_view delimiters, int n)
{
    if (n <= 0)
        return {};
    std::string_view found;
    int k = 0;
    fields::ScanFields(text, fields::MakeDelimiterTable(delimiters), [&](std::string_view value) {
        if (++k < n)
            return true;
        found = value;
        return false;
    });
    return std::string(found);
}

int FieldCount(std::string_view text, std::string_view delimiters)
{
    int count = 0;
    fields::ScanFields(text, fields::MakeDelimiterTable(delimiters), [&](std::string_view value) {
        if (value.empty())
            return false;
        ++count;
        return true;
    });
    return count;
}

void ForEachField(std::string_view text, std::string_view delimiters,
                  const std::function<void(std::string_view)>& onField)
{
    fields::ScanFields(text, fields::MakeDelimiterTable(delimiters), [&](std::string_view value) {
        if (value.empty())
            return false;
        onField(value);
        return true;
    });
}
