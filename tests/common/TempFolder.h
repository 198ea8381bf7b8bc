#pragma once
// A fresh folder for one test, removed with everything in it afterwards. Paths
// come out as the program spells them: wide, with the platform's separator.
#include "storage/TextCodec.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace kelvo::testsupport {

class TempFolder {
  public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        const auto seed = std::chrono::steady_clock::now().time_since_epoch().count();
        for (;;) {
            root_ = std::filesystem::temp_directory_path() /
                    ("kelvo-test-" + std::to_string(seed) + "-" + std::to_string(++counter));
            if (std::filesystem::create_directory(root_))
                break;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Ends in a separator, as the data folder does.
    std::wstring path() const { return toProgram(root_) + kSeparator; }
    std::wstring file(std::wstring_view name) const { return path() + std::wstring(name); }

    void writeBytes(std::wstring_view name, std::string_view bytes) const {
        std::ofstream out(toNative(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string readBytes(std::wstring_view name) const {
        std::ifstream in(toNative(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool exists(std::wstring_view name) const { return std::filesystem::exists(toNative(name)); }
    std::size_t entryCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(root_),
                                                      std::filesystem::directory_iterator()));
    }

#ifdef _WIN32
    static constexpr wchar_t kSeparator = L'\\';
#else
    static constexpr wchar_t kSeparator = L'/';
#endif

  private:
#ifdef _WIN32
    static std::wstring toProgram(const std::filesystem::path& p) {
        return p.wstring();
    }
    std::filesystem::path toNative(std::wstring_view name) const {
        return root_ / name;
    }
#else
    static std::wstring toProgram(const std::filesystem::path& p) {
        return fromUtf8(p.string());
    }
    std::filesystem::path toNative(std::wstring_view name) const {
        return root_ / toUtf8(name);
    }
#endif

    std::filesystem::path root_;
};

} // namespace kelvo::testsupport
