#include "core/StartupShortcut.h"

#include "core/AppText.h"
#include "core/TextCompare.h"

namespace kelvo {

std::optional<StartupFolderLink> findOwnStartupLink(const std::vector<StartupFolderLink>& links,
                                                    const std::wstring& programPath) {
    for (const StartupFolderLink& link : links)
        if (!link.target.empty() && sameTextIgnoringCase(link.target, programPath))
            return link;
    return std::nullopt;
}

bool needsStandardName(const std::wstring& fileName) {
    return !sameTextIgnoringCase(fileName, std::wstring(kStartupShortcutName) + L".lnk");
}

bool isStartedByStartup(const std::wstring& startupShortcutPath,
                        const std::vector<std::wstring>& arguments) {
    return !startupShortcutPath.empty() && !arguments.empty() && arguments[0] == kStartupArgument;
}

} // namespace kelvo
