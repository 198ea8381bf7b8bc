#pragma once
// COM on the user-interface thread: interface pointers and the apartment.
#include <windows.h>

#include <objbase.h>

#include <utility>

namespace kelvo::win {

// A COM interface pointer released on scope exit.
template <typename T> class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T** put() {
        reset();
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() {
        if (p_)
            p_->Release();
        p_ = nullptr;
    }
    template <typename U> ComPtr<U> as() const {
        ComPtr<U> other;
        if (p_)
            p_->QueryInterface(__uuidof(U), other.putVoid());
        return other;
    }

  private:
    T* p_ = nullptr;
};

// COM for the calling thread, for the length of a scope.
class ComApartment {
  public:
    ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (ok_)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool ok_;
};

} // namespace kelvo::win
