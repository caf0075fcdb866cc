#pragma once
// Shared by the fuzz targets: choices taken off the front of an input, the
// lines a text file holds by the plain rules, and a check that stops the run
// loudly, which the fuzzer and the replay both take for a failure.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

class TInput {
public:
    TInput(const std::uint8_t* data, std::size_t size) : FRest(reinterpret_cast<const char*>(data), size) { }

    // The next byte, or 0 once the input is used up.
    std::uint8_t Byte()
    {
        if (FRest.empty())
            return 0;
        const auto value = static_cast<std::uint8_t>(FRest.front());
        FRest.remove_prefix(1);
        return value;
    }
    std::string_view Rest() const { return FRest; }

private:
    std::string_view FRest;
};

// Printable ASCII as it is, every other byte as \xNN.
inline std::string Escaped(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes) {
        const auto value = static_cast<unsigned char>(c);
        if (value >= 0x20 && value < 0x7F && c != '\\') {
            out.push_back(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", value);
            out += hex;
        }
    }
    return out;
}

[[noreturn]] inline void Fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "broken: %s\n%s\n", what, detail.c_str());
    std::abort();
}

inline std::string Listed(const std::vector<std::string>& items)
{
    std::string out;
    for (const std::string& item : items)
        out += "  [" + Escaped(item) + "]\n";
    return out;
}

inline void RequireSameLines(const std::vector<std::string>& expected, const std::vector<std::string>& actual,
                             const char* what)
{
    if (expected != actual)
        Fail(what, "expected:\n" + Listed(expected) + "actual:\n" + Listed(actual));
}

// The lines of a text file written out plainly: cut at each LF, every CR
// dropped, a Ctrl-Z that opens a line ends the text, and a last line
// without LF still counts.
inline std::vector<std::string> PlainTextLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size() && bytes[at] != '\x1A') {
        const std::size_t lf = bytes.find('\n', at);
        const std::string_view raw = bytes.substr(at, lf == std::string_view::npos ? lf : lf - at);
        std::string line;
        for (const char c : raw)
            if (c != '\r')
                line.push_back(c);
        lines.push_back(std::move(line));
        if (lf == std::string_view::npos)
            break;
        at = lf + 1;
    }
    return lines;
}

}  // namespace fuzz
