#pragma once
// Recognising the program's own shortcut in the user's Startup folder.
#include <optional>
#include <string>
#include <vector>

namespace kelvo {

struct StartupFolderLink {
    std::wstring fileName; // name inside the Startup folder
    std::wstring target;   // where the link points; empty when it is not a link
};

// The first link whose target is the program (compared without regard to case).
std::optional<StartupFolderLink> findOwnStartupLink(const std::vector<StartupFolderLink>& links,
                                                    const std::wstring& programPath);
// Whether a found link must be replaced by one with the program's standard name.
bool needsStandardName(const std::wstring& fileName);
// A start counts as a logon start only through the program's own shortcut, which
// passes "/S"; the argument alone (typed by hand) does not.
bool isStartedByStartup(const std::wstring& startupShortcutPath,
                        const std::vector<std::wstring>& arguments);

} // namespace kelvo
