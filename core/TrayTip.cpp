#include "core/TrayTip.h"

#include "core/AppText.h"
#include "storage/TextCodec.h"

namespace kelvo {
namespace {
constexpr size_t kTipBytes = 127;
}

std::wstring initialTrayTip() { return kAppTitle; }

std::wstring trayTipForMainKey(const std::wstring& mainKeyName) {
    return fitTrayTip(std::wstring(kAppTitle) + L"\r表示するときのキー:[" + mainKeyName + L"]");
}

std::wstring fitTrayTip(const std::wstring& tip) {
    std::wstring fitted;
    size_t bytes = 0;
    for (wchar_t c : tip) {
        size_t width = toCp932(std::wstring_view(&c, 1)).size();
        if (bytes + width > kTipBytes)
            break;
        bytes += width;
        fitted += c;
    }
    return fitted;
}

} // namespace kelvo
