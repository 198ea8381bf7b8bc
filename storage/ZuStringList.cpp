#include "storage/ZuStringList.h"

#include "storage/TextCodec.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <utility>

namespace kelvo {
namespace {

constexpr wchar_t kQuote = L'"';

// The name is the text before the first "=", empty when there is none.
std::size_t NameLengthOf(std::wstring_view text) {
    const std::size_t equals = text.find(L'=');
    return equals == std::wstring_view::npos ? 0 : equals;
}

bool IsTrimmed(wchar_t c) {
    return static_cast<std::uint32_t>(c) <= 32;
}

bool IsAscii(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](wchar_t c) { return static_cast<std::uint32_t>(c) < 0x80; });
}

std::wstring QuoteAlways(std::wstring_view value) {
    std::wstring stored;
    stored.reserve(value.size() + 2);
    stored += kQuote;
    for (wchar_t c : value) {
        stored += c;
        if (c == kQuote)
            stored += kQuote;
    }
    stored += kQuote;
    return stored;
}

} // namespace

wchar_t ZuUpperCase(wchar_t c) {
    if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
        (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) || (c >= 0x430 && c <= 0x44F) ||
        (c >= 0xFF41 && c <= 0xFF5A)) // full-width Latin
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<wchar_t>(c - 0x50);
    return c;
}

std::wstring ZuUpperCase(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& c : upper)
        c = ZuUpperCase(c);
    return upper;
}

bool ZuSameText(std::wstring_view a, std::wstring_view b, bool caseSensitive) {
    if (caseSensitive)
        return a == b;
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return x == y || ZuUpperCase(x) == ZuUpperCase(y);
           });
}

int ZuBucketFor(std::wstring_view key, bool caseSensitive) {
    unsigned h = 0;
    const auto step = [&h](unsigned byte) { h = ((h + byte) * 9973u) % 1024u; };
    // Names are nearly always ASCII, whose bytes are the characters themselves;
    // the conversion is only paid for the others.
    if (IsAscii(key)) {
        for (wchar_t c : key) {
            const bool lower = !caseSensitive && c >= L'a' && c <= L'z';
            step(static_cast<unsigned>(lower ? c - (L'a' - L'A') : c));
        }
    } else {
        for (char b : toCp932(caseSensitive ? std::wstring(key) : ZuUpperCase(key)))
            step(static_cast<unsigned char>(b));
    }
    return static_cast<int>(h);
}

std::wstring_view ZuTrim(std::wstring_view text) {
    while (!text.empty() && IsTrimmed(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsTrimmed(text.back()))
        text.remove_suffix(1);
    return text;
}

// A value with blanks or quotes must be quoted to survive a reading. So must a
// value that begins or ends with a tab or another control character: a bare
// stored form loses them to the trimming of the next parse.
std::wstring ZuQuoteValue(std::wstring_view value) {
    if (value.empty())
        return std::wstring();
    const bool needsQuotes = value.find_first_of(L" \"") != std::wstring_view::npos ||
                             IsTrimmed(value.front()) || IsTrimmed(value.back());
    return needsQuotes ? QuoteAlways(value) : std::wstring(value);
}

// Up to the first quote that is not doubled, doubled quotes standing for one;
// what follows the closing quote is dropped. Without a closing quote the text
// runs to the end and loses its last character. A stored form that comes out
// empty this way (such as two quotes) is itself the value.
std::wstring ZuDequoteValue(std::wstring_view stored) {
    if (stored.empty() || stored.front() != kQuote)
        return std::wstring(stored);
    std::wstring value;
    bool closed = false;
    std::size_t i = 1;
    while (i < stored.size()) {
        if (stored[i] == kQuote) {
            if (i + 1 < stored.size() && stored[i + 1] == kQuote) {
                value += kQuote;
                i += 2;
                continue;
            }
            closed = true;
            break;
        }
        value += stored[i++];
    }
    if (!closed && !value.empty())
        value.pop_back();
    return value.empty() ? std::wstring(stored) : value;
}

// --- TZuStringItem ---

TZuStringItem::TZuStringItem(const TZuHashedStringList& owner, std::wstring text)
    : owner_(&owner), text_(std::move(text)), nameLength_(NameLengthOf(text_)) {}

void TZuStringItem::SetText(std::wstring text) {
    text_ = std::move(text);
    nameLength_ = NameLengthOf(text_);
}

void TZuStringItem::SetObject(std::unique_ptr<TZuObject> object) {
    if (!owner_->OwnsObjects())
        throw std::logic_error("the list does not own its objects");
    borrowed_ = nullptr;
    owned_ = std::move(object);
}

void TZuStringItem::SetObjectRef(TZuObject* object) {
    if (owner_->OwnsObjects())
        throw std::logic_error("the list owns its objects");
    borrowed_ = object;
}

// --- TZuStringHash ---

void TZuStringHash::Add(TZuStringItem* item, bool byName) {
    if (heads_.empty())
        heads_.assign(kBucketCount, -1);
    int slot = freeSlot_;
    if (slot >= 0) {
        freeSlot_ = slots_[static_cast<std::size_t>(slot)].next;
        slots_[static_cast<std::size_t>(slot)] = Registration{item, byName, -1};
    } else {
        slot = static_cast<int>(slots_.size());
        slots_.push_back(Registration{item, byName, -1});
    }
    // At the end of the bucket, so that the earliest of equal keys is found.
    const int bucket = BucketFor(slots_[static_cast<std::size_t>(slot)].key());
    int* link = &heads_[static_cast<std::size_t>(bucket)];
    while (*link >= 0)
        link = &slots_[static_cast<std::size_t>(*link)].next;
    *link = slot;
}

bool TZuStringHash::RemoveFromBucket(int bucket, const TZuStringItem* item) {
    int* link = &heads_[static_cast<std::size_t>(bucket)];
    while (*link >= 0) {
        Registration& r = slots_[static_cast<std::size_t>(*link)];
        if (r.item == item) {
            const int slot = *link;
            *link = r.next;
            r = Registration{nullptr, false, freeSlot_};
            freeSlot_ = slot;
            return true;
        }
        link = &r.next;
    }
    return false;
}

void TZuStringHash::Remove(const TZuStringItem* item, bool byName) {
    if (heads_.empty())
        return;
    const std::wstring_view key = byName ? item->Name() : item->Text();
    if (RemoveFromBucket(BucketFor(key), item))
        return;
    // The key changed since it was filed: the registration must still go, or
    // the table would keep a pointer to a freed entry.
    for (int bucket = 0; bucket < kBucketCount; ++bucket) {
        if (RemoveFromBucket(bucket, item))
            return;
    }
}

TZuStringItem* TZuStringHash::FindItem(std::wstring_view key) const {
    if (heads_.empty())
        return nullptr;
    for (int slot = heads_[static_cast<std::size_t>(BucketFor(key))]; slot >= 0;) {
        const Registration& r = slots_[static_cast<std::size_t>(slot)];
        if (ZuSameText(r.key(), key, caseSensitive_))
            return r.item;
        slot = r.next;
    }
    return nullptr;
}

void TZuStringHash::Clear() {
    heads_.clear();
    slots_.clear();
    freeSlot_ = -1;
}

// --- TZuHashedStringList ---

TZuHashedStringList::TZuHashedStringList(bool ownsObjects) : ownsObjects_(ownsObjects) {}

// The table goes first so that it never refers to an entry being freed.
TZuHashedStringList::~TZuHashedStringList() {
    hash_.Clear();
}

void TZuHashedStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive == hash_.CaseSensitive())
        return;
    Clear();
    hash_.SetCaseSensitive(caseSensitive);
}

void TZuHashedStringList::SetNameHashed(bool nameHashed) {
    if (nameHashed == nameHashed_)
        return;
    nameHashed_ = nameHashed;
    Rehash();
}

void TZuHashedStringList::Rehash() {
    hash_.Clear();
    for (const auto& entry : entries_)
        File(entry.get());
}

void TZuHashedStringList::CheckIndex(int index, bool endAllowed) const {
    const int limit = endAllowed ? GetCount() : GetCount() - 1;
    if (index < 0 || index > limit)
        throw std::out_of_range("string list index out of bounds");
}

void TZuHashedStringList::File(TZuStringItem* item) {
    if (IsFiled(*item))
        hash_.Add(item, nameHashed_);
}

void TZuHashedStringList::Unfile(const TZuStringItem* item) {
    if (IsFiled(*item))
        hash_.Remove(item, nameHashed_);
}

void TZuHashedStringList::Put(int index, std::wstring text) {
    CheckIndex(index, false);
    Replace(entries_[Slot(index)].get(), std::move(text));
}

void TZuHashedStringList::Replace(TZuStringItem* item, std::wstring text) {
    const std::wstring_view newText(text);
    const std::wstring_view newKey =
        nameHashed_ ? newText.substr(0, NameLengthOf(newText)) : newText;
    const std::wstring_view oldKey = nameHashed_ ? item->Name() : item->Text();
    // The same key (up to case, when case does not count) stays in its bucket
    // and keeps its place among the bucket's registrations.
    if (IsFiled(*item) && !newKey.empty() && ZuSameText(oldKey, newKey, CaseSensitive())) {
        item->SetText(std::move(text));
        return;
    }
    Unfile(item);
    item->SetText(std::move(text));
    File(item);
}

void TZuHashedStringList::PutObject(int index, std::unique_ptr<TZuObject> object) {
    CheckIndex(index, false);
    entries_[Slot(index)]->SetObject(std::move(object));
}

void TZuHashedStringList::PutObjectRef(int index, TZuObject* object) {
    CheckIndex(index, false);
    entries_[Slot(index)]->SetObjectRef(object);
}

int TZuHashedStringList::Add(std::wstring text) {
    const int index = GetCount();
    Insert(index, std::move(text));
    return index;
}

int TZuHashedStringList::AddObject(std::wstring text, std::unique_ptr<TZuObject> object) {
    if (!ownsObjects_)
        throw std::logic_error("the list does not own its objects");
    const int index = Add(std::move(text));
    PutObject(index, std::move(object));
    return index;
}

void TZuHashedStringList::Insert(int index, std::wstring text) {
    CheckIndex(index, true);
    auto item = std::make_unique<TZuStringItem>(*this, std::move(text));
    TZuStringItem* raw = item.get();
    entries_.insert(entries_.begin() + index, std::move(item));
    File(raw);
}

void TZuHashedStringList::Delete(int index) {
    CheckIndex(index, false);
    Unfile(entries_[Slot(index)].get());
    entries_.erase(entries_.begin() + index);
}

void TZuHashedStringList::Clear() {
    hash_.Clear();
    entries_.clear();
}

void TZuHashedStringList::Move(int currentIndex, int newIndex) {
    if (currentIndex == newIndex)
        return;
    CheckIndex(currentIndex, false);
    CheckIndex(newIndex, false);
    auto item = std::move(entries_[Slot(currentIndex)]);
    entries_.erase(entries_.begin() + currentIndex);
    entries_.insert(entries_.begin() + newIndex, std::move(item));
}

int TZuHashedStringList::PositionOf(const TZuStringItem* item) const {
    if (!item)
        return -1;
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [item](const auto& entry) { return entry.get() == item; });
    return it == entries_.end() ? -1 : static_cast<int>(it - entries_.begin());
}

TZuStringItem* TZuHashedStringList::FindText(std::wstring_view text) const {
    if (!nameHashed_)
        return hash_.FindItem(text);
    for (const auto& entry : entries_) {
        if (ZuSameText(entry->Text(), text, CaseSensitive()))
            return entry.get();
    }
    return nullptr;
}

TZuStringItem* TZuHashedStringList::FindNameItem(std::wstring_view name) const {
    if (nameHashed_)
        return name.empty() ? nullptr : hash_.FindItem(name);
    for (const auto& entry : entries_) {
        if (ZuSameText(entry->Name(), name, CaseSensitive()))
            return entry.get();
    }
    return nullptr;
}

const TZuStringItem* TZuHashedStringList::FindName(std::wstring_view name) const {
    return FindNameItem(name);
}

int TZuHashedStringList::IndexOf(std::wstring_view text) const {
    return PositionOf(FindText(text));
}

int TZuHashedStringList::IndexOfName(std::wstring_view name) const {
    return PositionOf(FindName(name));
}

TZuObject* TZuHashedStringList::ObjectOf(std::wstring_view text) const {
    const TZuStringItem* item = FindText(text);
    return item ? item->Object() : nullptr;
}

std::wstring TZuHashedStringList::GetValue(std::wstring_view name) const {
    const TZuStringItem* item = FindName(name);
    if (!item)
        return std::wstring();
    return std::wstring(item->Text().substr(item->Name().size() + 1));
}

void TZuHashedStringList::SetValue(std::wstring_view name, std::wstring_view value) {
    const std::wstring_view trimmedName = ZuTrim(name);
    std::wstring stored = ZuQuoteValue(value);
    // "[x=]" would come back as a section header; quoting keeps it a key.
    if (!trimmedName.empty() && trimmedName.front() == L'[' && !stored.empty() &&
        stored.back() == L']')
        stored = QuoteAlways(value);
    std::wstring line;
    line.reserve(trimmedName.size() + 1 + stored.size());
    line.append(trimmedName).append(1, L'=').append(stored);
    // Found through the table: the entry is changed where it stands.
    if (TZuStringItem* item = FindNameItem(trimmedName))
        Replace(item, std::move(line));
    else
        Add(std::move(line));
}

void TZuHashedStringList::SetNameObject(std::wstring_view name, std::unique_ptr<TZuObject> object) {
    const int index = IndexOfName(name);
    if (index >= 0)
        PutObject(index, std::move(object));
}

} // namespace kelvo
