#include "ThreadCount.h"

#include "hook/HookHandles.h"

#include <tlhelp32.h>

namespace kelvo::test {

std::size_t threadsOfThisProcess() {
    const HANDLE taken = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (taken == INVALID_HANDLE_VALUE)
        return 0;
    const hook::UniqueHandle snapshot(taken);
    std::size_t count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++count;
    }
    return count;
}

} // namespace kelvo::test
