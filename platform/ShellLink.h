#pragma once
// Shell links (.lnk files): reading where one points and writing new ones.
#include <optional>
#include <string>

namespace kelvo::win {

struct ShortcutInfo {
    std::wstring target;
    std::wstring arguments;
    std::wstring workingDirectory;
};

// Nothing when the file is not a shell link or cannot be loaded. The target is
// taken as stored, without searching for a moved file, so that looking at a
// folder of links never blocks on a missing drive; environment variables in the
// target, arguments and working folder are expanded.
std::optional<ShortcutInfo> resolveShortcut(const std::wstring& linkPath);

struct ShortcutSpec {
    std::wstring linkPath;
    std::wstring target;
    std::wstring arguments;
    std::wstring workingDirectory;
};
bool writeShortcut(const ShortcutSpec& spec);

} // namespace kelvo::win
