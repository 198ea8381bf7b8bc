#pragma once
// Windows-style INI file in code page 932 with private-profile semantics:
// section and key names compare without regard to letter case and keep the case
// in which they were first written; values are stored as they are. Outside a
// batch, every write is on disk (temporary file renamed over the old one)
// before the call returns; inside one, writes are saved together when the
// outermost batch on the path ends (see Batch).
//
// The file is read once when first needed and kept in memory while the object
// lives, so reading thousands of keys costs one read. Writes made through any
// IniFile of this process to the same path are seen by every other IniFile on it,
// batched writes included.
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
    DateTime readDateTime(const std::wstring& section, const std::wstring& key, DateTime def) const;

    // Each write returns false when the file could not be written; memory then
    // holds what is on disk. Inside a batch a write changes memory only (and is
    // still refused when the file could not be read); Batch::commit reports the
    // save.
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

    // Groups writes so that an operation that changes many keys saves the file
    // once instead of once per key, and never leaves half of its changes on disk.
    // While a batch is open on a path, writes to it through any IniFile of the
    // process change only memory (every IniFile on the path sees them); the file
    // is saved, atomically, when the outermost open batch on the path ends.
    // Batches nest, also across IniFile objects on one path.
    //
    //     IniFile::Batch batch(ini);
    //     ini.writeInteger(...); // many writes
    //     if (!batch.commit()) ... // or let the destructor commit
    class Batch {
      public:
        explicit Batch(IniFile& ini);
        // Commits unless commit() was called; a failure is then not reported.
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

        // Ends this batch. The outermost one saves the file if anything was
        // written and returns false when that failed: the batched writes are
        // then lost and memory, in every IniFile on the path, holds what is on
        // disk again. An inner batch returns true, its writes waiting for the
        // outer one. Further calls return the first result.
        bool commit();

      private:
        IniFile& ini_;
        bool committed_ = false;
        bool result_ = true;
    };

  private:
    struct Document;
    struct SharedPath;
    template <class Reader> auto read(Reader&& reader) const;
    Document& mutableDocument();
    bool storeChange();
    bool save();
    bool keepInBatch();
    void beginBatch();
    bool endBatch();

    std::wstring path_;
    // While it holds a batch's unsaved writes, one document serves every
    // IniFile on the path; otherwise each object has its own.
    mutable std::shared_ptr<Document> doc_;
    mutable unsigned long long loadedGeneration_ = 0;
};

} // namespace kelvo
