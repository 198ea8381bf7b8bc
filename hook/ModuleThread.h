#pragma once
// Worker threads of a hook library that keep the library loaded while they run.
//
// The program is expected to stop a library before releasing it, but if it does
// not, a worker whose code lives in the library would go on running in unmapped
// memory. So every worker holds its own reference to the library's module and
// gives it back as its very last act (FreeLibraryAndExitThread); a release by the
// program then merely leaves the library loaded until the worker ends. The thread
// is created here, on the caller's thread, never from DllMain: creating or joining
// threads under the loader lock can dead-lock.
#include "hook/HookHandles.h"

#include <new>

namespace kelvo::hook {

// The body of a worker; it must not throw, since nothing above it could catch.
using ThreadBody = void (*)(void* context) noexcept;

struct StartedThread {
    UniqueHandle handle;
    DWORD id = 0;
};

namespace detail {

struct ThreadLaunch {
    ThreadBody body;
    void* context;
    HMODULE module;
};

// Included into each library, so its own address lies inside that library.
inline HMODULE referenceOwnModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&referenceOwnModule), &module);
    return module;
}

inline DWORD WINAPI runHoldingModule(void* param) {
    const ThreadLaunch launch = *static_cast<ThreadLaunch*>(param);
    delete static_cast<ThreadLaunch*>(param);
    launch.body(launch.context);
    FreeLibraryAndExitThread(launch.module, 0);
}

} // namespace detail

// The library's own module, without taking a reference.
inline HMODULE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

// Starts body(context) on a new thread; the handle is empty when that failed.
inline StartedThread startThreadHoldingModule(ThreadBody body, void* context) noexcept {
    StartedThread started;
    const HMODULE module = detail::referenceOwnModule();
    if (!module)
        return started;
    auto* launch = new (std::nothrow) detail::ThreadLaunch{body, context, module};
    if (launch)
        started.handle.reset(
            CreateThread(nullptr, 0, detail::runHoldingModule, launch, 0, &started.id));
    if (!started.handle) {
        delete launch;
        FreeLibrary(module);
        started.id = 0;
    }
    return started;
}

} // namespace kelvo::hook
