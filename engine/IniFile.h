#pragma once
// A profile (INI) file held in memory as CP932 bytes. Reading follows the
// desktop's profile rules; writing replaces one key in place and keeps every
// other section, key, comment and line as it was.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TIniFile {
public:
    TIniFile() = default;
    // Parses file contents (lines end in CR LF, LF or CR).
    explicit TIniFile(std::string_view contents);

    // Section and key names compare ignoring ASCII case. The value has the
    // spaces around it and one pair of enclosing quotes removed, and is cut
    // to 2047 bytes. nullopt when the section or key is missing.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
    // Decimal, or hexadecimal after "0x"/"0X"; fallback when missing or not
    // an integer.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    // On for any integer other than 0.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // Replaces the key's line in place, or adds the key at the end of its
    // section, or adds the section at the end of the file. A value that
    // begins or ends with a blank or a quote is written inside one extra pair
    // of double quotes, so that ReadString gives it back unchanged.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // The whole file, every line ended by CR LF.
    std::string Contents() const;

private:
    std::vector<std::string> FLines;
};

// A settings file larger than this is refused instead of read into memory.
inline constexpr std::size_t MaxSettingsFileBytes = 16u << 20;
// The whole settings file. Throws EInOutError when it cannot be read, is not
// a regular file, or is larger than MaxSettingsFileBytes (code EFBIG).
std::string ReadSettingsFileBytes(const std::string& path);

struct TExtractOptions;
// The settings keys of section "SYSTEM", read in the program's order with
// their defaults; NUMBER is brought into 1..5.
TExtractOptions ReadExtractOptions(const TIniFile& ini);
// Writes every key of section "SYSTEM" in the program's write order.
void WriteExtractOptions(TIniFile& ini, const TExtractOptions& options);
