// A small console program the end-to-end tests run inside the same Wine prefix
// as the launcher, to look at what only Windows can see: windows by class,
// message boxes, shell links, special folders, processes and the windows of
// other programs by title (to find, count, bring forward or send messages).
// Prints UTF-8.
#include "platform/Handles.h"
#include "platform/ShellFolders.h"
#include "platform/ShellLink.h"
#include "storage/TextCodec.h"

#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

using namespace kelvo;

namespace {

void print(const std::wstring& text) {
    std::string bytes = toUtf8(text + L"\n");
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
              &written, nullptr);
}

std::wstring hex(HWND hwnd) {
    wchar_t buffer[32];
    swprintf(buffer, 32, L"0x%lx", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return buffer;
}

HWND findByClass(const std::wstring& cls) {
    return FindWindowW(cls.c_str(), nullptr);
}

// Waits for a condition, polling; false when it did not come true in time.
template <typename Condition> bool waitUntil(DWORD timeoutMs, Condition condition) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
}

// WM_GETTEXT rather than GetWindowText: only the message reads the text of an
// edit control in another process.
std::wstring windowText(HWND hwnd) {
    wchar_t buffer[2048] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 10000,
                        &ignored);
    return buffer;
}

HWND findDialog(const std::wstring& title) {
    HWND found = nullptr;
    HWND candidate = nullptr;
    while ((candidate = FindWindowExW(nullptr, candidate, L"#32770", nullptr)) != nullptr) {
        if (windowText(candidate) == title && IsWindowVisible(candidate)) {
            found = candidate;
            break;
        }
    }
    return found;
}

// Static texts of a dialog joined by newlines (the message of a message box).
std::wstring dialogText(HWND dialog) {
    std::wstring text;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, 64);
        if (_wcsicmp(cls, L"Static") == 0) {
            std::wstring part = windowText(child);
            if (!part.empty())
                text += (text.empty() ? L"" : L"\n") + part;
        }
    }
    return text;
}

HWND childOf(const std::wstring& cls, const std::wstring& id) {
    HWND parent = findByClass(cls);
    return parent ? GetDlgItem(parent, static_cast<int>(std::wcstol(id.c_str(), nullptr, 10)))
                  : nullptr;
}

bool killOwnerOf(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    win::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (!process || !TerminateProcess(process.get(), 9))
        return false;
    return WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0;
}

struct TitleSearch {
    std::wstring part;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTitled(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<TitleSearch*>(lp);
    wchar_t title[512] = {};
    GetWindowTextW(hwnd, title, 512);
    if (IsWindowVisible(hwnd) && std::wstring(title).find(search->part) != std::wstring::npos)
        search->found.push_back(hwnd);
    return TRUE;
}

// The visible top-level windows whose title contains a piece of text.
std::vector<HWND> windowsTitled(const std::wstring& part) {
    TitleSearch search{part, {}};
    EnumWindows(collectTitled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring titleOf(HWND hwnd) {
    wchar_t title[512] = {};
    if (hwnd)
        GetWindowTextW(hwnd, title, 512);
    return title;
}

std::wstring imagePathOf(DWORD pid) {
    win::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, path, &size))
        return L"";
    return path;
}

// A number ("32778", "0x800A") is taken as it is; anything else names a
// registered message, which both sides register under the same name.
UINT messageNamed(const std::wstring& name) {
    if (!name.empty() && iswdigit(name[0]))
        return static_cast<UINT>(std::wcstoul(name.c_str(), nullptr, 0));
    return RegisterWindowMessageW(name.c_str());
}

// The foreground lock would keep a background console program from moving
// another window to the front; sharing the foreground thread's input lifts it.
bool bringForward(HWND hwnd) {
    const DWORD self = GetCurrentThreadId();
    const DWORD front = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const bool attached = front && front != self && AttachThreadInput(self, front, TRUE);
    if (IsIconic(hwnd))
        ShowWindow(hwnd, SW_RESTORE);
    const bool done = SetForegroundWindow(hwnd) != FALSE;
    if (attached)
        AttachThreadInput(self, front, FALSE);
    return done;
}

int run(const std::vector<std::wstring>& a) {
    if (a.empty())
        return 2;
    const std::wstring& cmd = a[0];
    auto arg = [&](size_t i) { return i < a.size() ? a[i] : std::wstring(); };
    auto timeout = [&](size_t i) {
        return static_cast<DWORD>(i < a.size() ? std::wcstoul(a[i].c_str(), nullptr, 10) : 10000);
    };

    if (cmd == L"find") {
        HWND hwnd = findByClass(arg(1));
        if (!hwnd)
            return 1;
        print(hex(hwnd));
        return 0;
    }
    if (cmd == L"wait") {
        return waitUntil(timeout(2), [&] { return findByClass(arg(1)) != nullptr; }) ? 0 : 1;
    }
    if (cmd == L"wait-gone") {
        return waitUntil(timeout(2), [&] { return findByClass(arg(1)) == nullptr; }) ? 0 : 1;
    }
    if (cmd == L"visible") {
        HWND hwnd = findByClass(arg(1));
        return hwnd && IsWindowVisible(hwnd) ? 0 : 1;
    }
    if (cmd == L"child-visible") { // CLASS ID
        HWND child = childOf(arg(1), arg(2));
        return child && IsWindowVisible(child) ? 0 : 1;
    }
    if (cmd == L"child-text") { // CLASS ID
        HWND child = childOf(arg(1), arg(2));
        if (!child)
            return 1;
        print(windowText(child));
        return 0;
    }
    if (cmd == L"child-rect") { // CLASS ID: screen rectangle "left top width height"
        HWND child = childOf(arg(1), arg(2));
        RECT r{};
        if (!child || !GetWindowRect(child, &r))
            return 1;
        print(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
              std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
        return 0;
    }
    if (cmd == L"list-rows") { // CLASS ID: one row per line
        HWND list = childOf(arg(1), arg(2));
        if (!list)
            return 1;
        const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t buffer[1024] = {};
            if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 1024)
                SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
            print(buffer);
        }
        return 0;
    }
    if (cmd == L"list-top-index") { // CLASS ID
        HWND list = childOf(arg(1), arg(2));
        if (!list)
            return 1;
        print(std::to_wstring(SendMessageW(list, LB_GETTOPINDEX, 0, 0)));
        return 0;
    }
    if (cmd == L"layered") { // CLASS: "key alpha flags"
        HWND hwnd = findByClass(arg(1));
        COLORREF key = 0;
        BYTE alpha = 0;
        DWORD flags = 0;
        if (!hwnd || !GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags))
            return 1;
        print(std::to_wstring(key) + L" " + std::to_wstring(alpha) + L" " + std::to_wstring(flags));
        return 0;
    }
    if (cmd == L"close") {
        HWND hwnd = findByClass(arg(1));
        return hwnd && PostMessageW(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (cmd == L"end-session") {
        // What the system sends a window when the user logs off.
        HWND hwnd = findByClass(arg(1));
        if (!hwnd)
            return 1;
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 30000,
                            &answer);
        SendMessageTimeoutW(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 30000,
                            &answer);
        return 0;
    }
    if (cmd == L"kill") {
        HWND hwnd = findByClass(arg(1));
        return hwnd && killOwnerOf(hwnd) ? 0 : 1;
    }
    if (cmd == L"dialog-text") {
        HWND dialog = nullptr;
        if (!waitUntil(timeout(2), [&] { return (dialog = findDialog(arg(1))) != nullptr; }))
            return 1;
        print(dialogText(dialog));
        return 0;
    }
    if (cmd == L"dialog-ok") {
        HWND dialog = findDialog(arg(1));
        return dialog && PostMessageW(dialog, WM_COMMAND, IDOK, 0) ? 0 : 1;
    }
    if (cmd == L"folder") {
        std::wstring path =
            win::specialFolderPath(static_cast<int>(std::wcstol(arg(1).c_str(), nullptr, 10)));
        if (path.empty())
            return 1;
        print(path);
        return 0;
    }
    if (cmd == L"make-link") {
        win::ShortcutSpec spec;
        spec.linkPath = arg(1);
        spec.target = arg(2);
        spec.arguments = arg(3);
        spec.workingDirectory = win::folderOf(spec.target);
        return win::writeShortcut(spec) ? 0 : 1;
    }
    if (cmd == L"read-link") {
        auto info = win::resolveShortcut(arg(1));
        if (!info)
            return 1;
        print(info->target);
        print(info->arguments);
        print(info->workingDirectory);
        return 0;
    }
    if (cmd == L"window-rect") {
        HWND hwnd = findByClass(arg(1));
        RECT r{};
        if (!hwnd || !GetWindowRect(hwnd, &r))
            return 1;
        print(std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
              std::to_wstring(r.right - r.left) + L" " + std::to_wstring(r.bottom - r.top));
        return 0;
    }
    // PART: one line "handle<TAB>pid<TAB>image path<TAB>title" per visible window.
    if (cmd == L"find-title") {
        const std::vector<HWND> found = windowsTitled(arg(1));
        for (HWND hwnd : found) {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            print(hex(hwnd) + L"\t" + std::to_wstring(pid) + L"\t" + imagePathOf(pid) + L"\t" +
                  titleOf(hwnd));
        }
        return found.empty() ? 1 : 0;
    }
    if (cmd == L"key-held") { // VIRTUAL-KEY (decimal): exit code 0 while the key is down
        return GetAsyncKeyState(std::wcstol(arg(1).c_str(), nullptr, 10)) < 0 ? 0 : 1;
    }
    if (cmd == L"is-window") { // HANDLE (hex): exit code 0 while the window exists
        const HWND hwnd = reinterpret_cast<HWND>(
            static_cast<UINT_PTR>(std::wcstoull(arg(1).c_str(), nullptr, 16)));
        return IsWindow(hwnd) ? 0 : 1;
    }
    if (cmd == L"foreground") { // the foreground window's title
        print(titleOf(GetForegroundWindow()));
        return 0;
    }
    if (cmd == L"activate") { // TITLE
        HWND hwnd = FindWindowW(nullptr, arg(1).c_str());
        return hwnd && bringForward(hwnd) ? 0 : 1;
    }
    if (cmd == L"post") { // TITLE MESSAGE [WPARAM [LPARAM]]
        HWND hwnd = FindWindowW(nullptr, arg(1).c_str());
        const UINT message = messageNamed(arg(2));
        const auto param = [&](size_t i) { return std::wcstoul(arg(i).c_str(), nullptr, 0); };
        return hwnd && message && PostMessageW(hwnd, message, param(3), param(4)) ? 0 : 1;
    }
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    try {
        return run(args);
    } catch (...) {
        return 3;
    }
}
