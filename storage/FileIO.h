#pragma once
// Whole-file access by wide path, the same on Windows and in the native build.
#include <optional>
#include <string>
#include <string_view>

namespace kelvo::fileio {

// The file's bytes, or nothing when it cannot be opened.
std::optional<std::string> readFile(const std::wstring& path);
// Writes a temporary file in the same folder and renames it over `path`, so that
// a reader sees either the old or the new content, never a torn file.
bool writeFileAtomic(const std::wstring& path, std::string_view bytes);
bool fileExists(const std::wstring& path);      // a file, not a folder
bool directoryExists(const std::wstring& path); // a folder
// Creates the folder and all missing parents; true when it exists afterwards.
bool createDirectories(const std::wstring& path);
bool removeFile(const std::wstring& path);

} // namespace kelvo::fileio
