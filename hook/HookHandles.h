#pragma once
// Owning holders for the kernel objects of the hook libraries. The libraries are
// modules of their own that stand on nothing but the Windows API (the program's
// platform layer is not linked into them), so they carry these few holders.
#include <windows.h>

#include <utility>

namespace kelvo::hook {

// A kernel handle (thread, event, file mapping) closed on scope exit.
class UniqueHandle {
  public:
    constexpr UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o)
            reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset(HANDLE h = nullptr) {
        if (h_)
            CloseHandle(h_);
        h_ = h;
    }

  private:
    HANDLE h_ = nullptr;
};

// A view of a file mapping, unmapped on scope exit.
class MappedView {
  public:
    MappedView(HANDLE mapping, DWORD access, SIZE_T bytes)
        : view_(mapping ? MapViewOfFile(mapping, access, 0, 0, bytes) : nullptr) {}
    ~MappedView() {
        if (view_)
            UnmapViewOfFile(view_);
    }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;

    void* get() const { return view_; }

  private:
    void* view_;
};

// Holds a slim reader/writer lock exclusively for the length of a scope. SRW
// locks need no initialisation at load time, which keeps DllMain trivial.
class ExclusiveLock {
  public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

  private:
    SRWLOCK& lock_;
};

} // namespace kelvo::hook
