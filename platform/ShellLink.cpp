#include "platform/ShellLink.h"

#include "platform/Com.h"
#include "platform/Environment.h"

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace kelvo::win {
namespace {

ComPtr<IShellLinkW> createShellLink() {
    ComPtr<IShellLinkW> link;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                     link.putVoid());
    return link;
}

} // namespace

std::optional<ShortcutInfo> resolveShortcut(const std::wstring& linkPath) {
    ComApartment com;
    ComPtr<IShellLinkW> link = createShellLink();
    if (!link)
        return std::nullopt;
    ComPtr<IPersistFile> file = link.as<IPersistFile>();
    if (!file || FAILED(file->Load(linkPath.c_str(), STGM_READ)))
        return std::nullopt;

    ShortcutInfo info;
    wchar_t buffer[MAX_PATH * 4] = {};
    if (SUCCEEDED(
            link->GetPath(buffer, static_cast<int>(std::size(buffer)), nullptr, SLGP_RAWPATH)))
        info.target = buffer;
    buffer[0] = 0;
    if (SUCCEEDED(link->GetArguments(buffer, static_cast<int>(std::size(buffer)))))
        info.arguments = buffer;
    buffer[0] = 0;
    if (SUCCEEDED(link->GetWorkingDirectory(buffer, static_cast<int>(std::size(buffer)))))
        info.workingDirectory = buffer;
    info.target = expandEnvironment(info.target);
    info.arguments = expandEnvironment(info.arguments);
    info.workingDirectory = expandEnvironment(info.workingDirectory);
    return info;
}

bool writeShortcut(const ShortcutSpec& spec) {
    ComApartment com;
    ComPtr<IShellLinkW> link = createShellLink();
    if (!link)
        return false;
    link->SetPath(spec.target.c_str());
    link->SetWorkingDirectory(spec.workingDirectory.c_str());
    if (!spec.arguments.empty())
        link->SetArguments(spec.arguments.c_str());
    ComPtr<IPersistFile> file = link.as<IPersistFile>();
    return file && SUCCEEDED(file->Save(spec.linkPath.c_str(), TRUE));
}

} // namespace kelvo::win
