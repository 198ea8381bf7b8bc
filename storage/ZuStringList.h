#pragma once
// An ordered string list with hashed lookup, the building block of the
// commented INI engine. Each entry is one line; for lines of the form
// name=value the list can be looked up by the whole line or by the name.
//
// Every list has its own table of 1024 buckets. The bucket of a key is a fixed
// function of the key's code page 932 bytes, so the spread of keys over the
// buckets is the same on every platform and in every build.
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// Objects that entries can carry (a section, a comment block).
class TZuObject {
  public:
    virtual ~TZuObject() = default;
};

class TZuHashedStringList;

// Upper case as the locale's comparison of names sees it: ASCII, Latin-1,
// Greek, Cyrillic and full-width Latin letters. Used for hashing and for
// comparing names alike, so that names equal without regard to case always
// land in the same bucket.
wchar_t ZuUpperCase(wchar_t c);
std::wstring ZuUpperCase(std::wstring_view text);
bool ZuSameText(std::wstring_view a, std::wstring_view b, bool caseSensitive);

// h = ((h + b) * 9973) mod 1024 over the bytes b (unsigned) of the key in code
// page 932, the key upper-cased first unless the comparison is case-sensitive.
int ZuBucketFor(std::wstring_view key, bool caseSensitive);

class TZuStringItem {
  public:
    TZuStringItem(const TZuHashedStringList& owner, std::wstring text);
    TZuStringItem(const TZuStringItem&) = delete;
    TZuStringItem& operator=(const TZuStringItem&) = delete;

    const std::wstring& Text() const { return text_; }
    // The part of the text before the first "=", empty when there is none.
    std::wstring_view Name() const { return std::wstring_view(text_).substr(0, nameLength_); }
    void SetText(std::wstring text);

    TZuObject* Object() const { return owned_ ? owned_.get() : borrowed_; }
    // Replacing the object frees the previous one when the entry owns it, and
    // an owned object goes with the entry. Entries of a list that owns its
    // objects take them over; the others only refer to them.
    void SetObject(std::unique_ptr<TZuObject> object);
    void SetObjectRef(TZuObject* object);

  private:
    const TZuHashedStringList* owner_;
    std::wstring text_;
    std::size_t nameLength_ = 0; // the name is the start of the text
    std::unique_ptr<TZuObject> owned_;
    TZuObject* borrowed_ = nullptr;
};

// The lookup table of one list. A registration pairs an entry with the kind of
// key it is filed under (its whole text or its name); the key is read from the
// entry each time, so it always is the entry's current string. Each bucket
// keeps its registrations in the order they were made.
class TZuStringHash {
  public:
    static constexpr int kBucketCount = 1024;

    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive) { caseSensitive_ = caseSensitive; }

    int BucketFor(std::wstring_view key) const { return ZuBucketFor(key, caseSensitive_); }
    void Add(TZuStringItem* item, bool byName);
    void Remove(const TZuStringItem* item, bool byName);
    // The first registration of the key's bucket, in registration order, whose
    // key equals `key` under the case rule.
    TZuStringItem* FindItem(std::wstring_view key) const;
    void Clear();

  private:
    struct Registration {
        TZuStringItem* item = nullptr;
        bool byName = false;
        int next = -1; // the bucket's next registration, or the next free slot
        std::wstring_view key() const { return byName ? item->Name() : item->Text(); }
    };

    bool RemoveFromBucket(int bucket, const TZuStringItem* item);

    bool caseSensitive_ = false;
    // First registration of each bucket, -1 for none. Made with the first
    // registration: a list of a few keys then costs 4 KB, not the 24 KB that
    // 1024 separate vectors would, which counts with thousands of sections.
    std::vector<int> heads_;
    std::vector<Registration> slots_;
    int freeSlot_ = -1;
};

class TZuHashedStringList {
  public:
    explicit TZuHashedStringList(bool ownsObjects);
    ~TZuHashedStringList();
    TZuHashedStringList(const TZuHashedStringList&) = delete;
    TZuHashedStringList& operator=(const TZuHashedStringList&) = delete;

    bool OwnsObjects() const { return ownsObjects_; }
    bool CaseSensitive() const { return hash_.CaseSensitive(); }
    bool NameHashed() const { return nameHashed_; }
    // Changing the case rule empties the list: the entries already filed
    // could now collide or be unreachable.
    void SetCaseSensitive(bool caseSensitive);
    void SetNameHashed(bool nameHashed);
    void Rehash();

    int GetCount() const { return static_cast<int>(entries_.size()); }
    const std::wstring& Get(int index) const { return entries_.at(Slot(index))->Text(); }
    std::wstring_view NameAt(int index) const { return entries_.at(Slot(index))->Name(); }
    void Put(int index, std::wstring text);
    TZuObject* GetObject(int index) const { return entries_.at(Slot(index))->Object(); }
    // For lists that own their objects; the others refer to objects with
    // PutObjectRef. The wrong kind throws std::logic_error.
    void PutObject(int index, std::unique_ptr<TZuObject> object);
    void PutObjectRef(int index, TZuObject* object);

    int Add(std::wstring text);
    int AddObject(std::wstring text, std::unique_ptr<TZuObject> object);
    void Insert(int index, std::wstring text);
    void Delete(int index);
    void Clear();
    void Move(int currentIndex, int newIndex);

    // -1 when not found.
    int IndexOf(std::wstring_view text) const;
    int IndexOfName(std::wstring_view name) const;

    TZuObject* ObjectOf(std::wstring_view text) const;
    bool NameExists(std::wstring_view name) const { return FindName(name) != nullptr; }
    bool Exists(std::wstring_view text) const { return IndexOf(text) >= 0; }
    // The text after "name=" of the entry with that name; empty when not found.
    std::wstring GetValue(std::wstring_view name) const;
    // Stores name=value, quoting the value when reading it back needs it. An
    // existing entry of that name keeps its position, object and registration.
    void SetValue(std::wstring_view name, std::wstring_view value);
    // Nothing (the object is freed) when no entry has that name.
    void SetNameObject(std::wstring_view name, std::unique_ptr<TZuObject> object);

    // The entry filed under the name (name-hashed lists) or found by a scan.
    const TZuStringItem* FindName(std::wstring_view name) const;

  private:
    std::size_t Slot(int index) const { return static_cast<std::size_t>(index); }
    void CheckIndex(int index, bool endAllowed) const;
    int PositionOf(const TZuStringItem* item) const;
    TZuStringItem* FindText(std::wstring_view text) const;
    TZuStringItem* FindNameItem(std::wstring_view name) const;
    void Replace(TZuStringItem* item, std::wstring text);
    // Name-less entries are left out of a name-hashed table: they cannot be
    // looked up by name anyway.
    bool IsFiled(const TZuStringItem& item) const { return !nameHashed_ || !item.Name().empty(); }
    void File(TZuStringItem* item);
    void Unfile(const TZuStringItem* item);

    bool ownsObjects_;
    bool nameHashed_ = false;
    TZuStringHash hash_;
    std::vector<std::unique_ptr<TZuStringItem>> entries_;
};

// The stored form of a value: in double quotes, inner quotes doubled, when it
// holds a blank or a quote or starts or ends with a character that trimming
// would take away; otherwise the value itself. An empty value stays bare.
std::wstring ZuQuoteValue(std::wstring_view value);
// The value that a stored form stands for (see the .cpp for the details).
std::wstring ZuDequoteValue(std::wstring_view stored);
// Removes leading and trailing characters with codes 0 to 32; other blanks
// (such as the full-width space) stay.
std::wstring_view ZuTrim(std::wstring_view text);

} // namespace kelvo
