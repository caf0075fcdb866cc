#pragma once
// Writing a file whole. Both throw EInOutError with the file error text of
// the failing system call; paths are in the file system's encoding.
#include <string>
#include <string_view>

// Creates or truncates the file and writes the bytes (export files).
void WriteFileTruncating(const std::string& path, std::string_view bytes);

// Writes a temporary file in the same folder, flushes it to disk and renames
// it over the target, so the target is either the old file or the new one,
// never a torn mix (the workspace's own files).
void WriteFileAtomically(const std::string& path, std::string_view bytes);
