#include "MemoBytes.h"

std::string MemoFileFromBytesRead(std::string_view bytes)
{
    // A line holding nothing but CRs reads as empty, so it counts as empty.
    for (;;) {
        const std::size_t lf = bytes.find('\n');
        const std::size_t lineEnd = lf == std::string_view::npos ? bytes.size() : lf;
        if (bytes.substr(0, lineEnd).find_first_not_of('\r') != std::string_view::npos)
            break;
        if (lf == std::string_view::npos)
            return {};
        bytes.remove_prefix(lf + 1);
    }
    std::string file;
    file.reserve(bytes.size() + bytes.size() / 16 + 2);
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '\n' && (at == 0 || bytes[at - 1] != '\r'))
            file += '\r';
        file += bytes[at];
    }
    if (file.back() != '\n')
        file += "\r\n";
    return file;
}
