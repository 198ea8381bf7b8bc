#pragma once
// Windows-style INI file in code page 932 with private-profile semantics:
// section and key names compare without regard to letter case and keep the case
// in which they were first written; values are stored as they are; every write
// is on disk (temporary file renamed over the old one) before the call returns.
//
// The file is read once when first needed and kept in memory while the object
// lives, so reading thousands of keys costs one read. Writes made through any
// IniFile of this process to the same path are seen by every other IniFile on it.
// Lines the accessor does not change are written back byte for byte.
#include "storage/DateTime.h"

#include <memory>
#include <string>
#include <vector>

namespace kelvo {

class IniFile {
  public:
    explicit IniFile(std::wstring path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const std::wstring& fileName() const { return path_; }

    // Surrounding blanks are trimmed and one pair of matching quotes removed,
    // as the platform's profile functions read them.
    std::wstring readString(const std::wstring& section, const std::wstring& key,
                            const std::wstring& def) const;
    // Decimal, or hexadecimal after "$" or "0x"; anything else gives `def`.
    int readInteger(const std::wstring& section, const std::wstring& key, int def) const;
    // Read as an integer with default 1 or 0; any non-zero value is true.
    bool readBool(const std::wstring& section, const std::wstring& key, bool def) const;
    // Empty or unparsable text gives `def`.
    DateTime readDateTime(const std::wstring& section, const std::wstring& key,
                          DateTime def) const;

    // Each write returns false when the file could not be written; memory then
    // holds what is on disk.
    bool writeString(const std::wstring& section, const std::wstring& key,
                     const std::wstring& value);
    bool writeInteger(const std::wstring& section, const std::wstring& key, int value);
    bool writeBool(const std::wstring& section, const std::wstring& key, bool value);
    bool writeDateTime(const std::wstring& section, const std::wstring& key, DateTime value);

    bool deleteKey(const std::wstring& section, const std::wstring& key);
    bool eraseSection(const std::wstring& section);

    // A section "exists" when it holds at least one key, as with the classic
    // INI class; an empty "[Name]" line does not count.
    bool sectionExists(const std::wstring& section) const;
    bool valueExists(const std::wstring& section, const std::wstring& key) const;
    std::vector<std::wstring> readSection(const std::wstring& section) const; // key names
    std::vector<std::wstring> readSections() const;

  private:
    struct Document;
    const Document& document() const;
    Document& mutableDocument();
    bool save();

    std::wstring path_;
    mutable std::unique_ptr<Document> doc_;
    mutable unsigned long long loadedGeneration_ = 0;
};

} // namespace kelvo
