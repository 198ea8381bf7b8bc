#pragma once
// Paths the shell knows: the user's special folders and the program's own file.
#include <string>
#include <vector>

namespace kelvo::win {

// The folder of a CSIDL value without a trailing backslash; empty when unknown.
std::wstring specialFolderPath(int csidl);
std::wstring programFilePath();
// Folder part of a path with its trailing backslash.
std::wstring folderOf(const std::wstring& path);
std::wstring fileNameOf(const std::wstring& path);
// Names of the entries of a folder, without "." and "..".
std::vector<std::wstring> folderEntries(const std::wstring& folder);

} // namespace kelvo::win
