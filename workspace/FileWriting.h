#pragma once
// Writing a file whole. Both throw EInOutError with the file error text of
// the failing system call; paths are in the file system's encoding.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A file's bytes handed over piece by piece, so that a long list is written
// without first becoming one string as large as the file.
using TPieceSink = std::function<void(std::string_view)>;
using TFileContents = std::function<void(const TPieceSink&)>;

// Creates or truncates the file and writes the bytes (export files).
void WriteFileTruncating(const std::string& path, std::string_view bytes);
void WriteFileTruncating(const std::string& path, const TFileContents& contents);

// Writes a temporary file in the same folder, flushes it to disk and renames
// it over the target, so the target is either the old file or the new one,
// never a torn mix (the workspace's own files). A new file is private to the
// user (0600); a file replaced keeps its permissions. The temporary is named
// TemporaryFilePrefix + the target's name + a random suffix: no user file
// looks like that, so one left by a killed save can be removed safely.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
void WriteFileAtomically(const std::string& path, const TFileContents& contents);

inline constexpr const char* TemporaryFilePrefix = ".linkrake-saving-";
inline constexpr const char* TemporaryFileSuffix = ".XXXXXX";

// Where WriteFileAtomically puts the bytes for path: a symbolic link's target.
std::string SaveTargetOf(const std::string& path);
// True for the name of a temporary that a save of the file targetName makes.
bool IsTemporaryOf(const std::string& name, const std::string& targetName);
// Removes the temporaries of interrupted saves of the targetNames in folder
// that were last written more than minimumAgeSeconds ago. Returns how many
// went.
int RemoveStaleTemporaries(const std::string& folder, const std::vector<std::string>& targetNames,
                           int minimumAgeSeconds);
