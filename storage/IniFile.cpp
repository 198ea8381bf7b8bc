#include "storage/IniFile.h"

#include "storage/IntegerText.h"

#include "storage/FileIO.h"
#include "storage/TextCodec.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace kelvo {
namespace {

constexpr const char* kNewLine = "\r\n";

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\v' || c == L'\f';
}

std::wstring_view trimBlanks(std::wstring_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Letter case as the platform's case-insensitive comparison sees it, for the
// scripts a name in these files can be written in.
wchar_t foldCase(wchar_t c) {
    if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F) ||
        (c >= 0xFF21 && c <= 0xFF3A)) // full-width Latin
        return static_cast<wchar_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<wchar_t>(c + 0x50);
    return c;
}

// The form in which section and key names are compared.
std::wstring nameKey(std::wstring_view name) {
    std::wstring key(trimBlanks(name));
    for (wchar_t& c : key)
        c = foldCase(c);
    return key;
}

// Whether a trimmed name has the name key `key`, without building its own.
bool hasNameKey(std::wstring_view name, std::wstring_view key) {
    return name.size() == key.size() &&
           std::equal(name.begin(), name.end(), key.begin(),
                      [](wchar_t c, wchar_t folded) { return foldCase(c) == folded; });
}

// Two spellings of one path share their state. Windows file names ignore case
// and accept either slash; elsewhere the path is taken as it is written.
std::wstring pathKey(const std::wstring& path) {
#ifdef _WIN32
    std::wstring key = path;
    for (wchar_t& c : key)
        c = c == L'/' ? L'\\' : foldCase(c);
    return key;
#else
    return path;
#endif
}

// One pair of matching quotes around a value is not part of it.
std::wstring_view stripQuotes(std::wstring_view value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// A value is one line: a line break inside it would split the entry.
std::wstring oneLine(std::wstring_view value) {
    std::wstring line(value);
    for (wchar_t& c : line) {
        if (c == L'\r' || c == L'\n')
            c = L' ';
    }
    return line;
}

// Decimal with an optional minus, or up to eight hex digits after "$" or "0x"
// taken as a 32-bit pattern (so "$FFFFFFFF" is -1). Anything else is nothing.
std::optional<int> parseInteger(std::wstring_view text) {
    if (!text.empty() && text[0] == L'$')
        return parseHexInt32(text.substr(1));
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))
        return parseHexInt32(text.substr(2));
    return parseDecimalInt32(text, PlusSign::Refused);
}

// Guards the table of paths, and makes each write (refresh, change, save,
// count) one step, so that two objects on a path never lose each other's writes.
std::mutex& sharedMutex() {
    static std::mutex mutex;
    return mutex;
}

} // namespace

// What every IniFile of the process knows about one path: a counter that each
// write moves on, so that other objects on the path know their copy is old, and
// the open batches with the document holding their writes.
struct IniFile::SharedPath {
    std::atomic<unsigned long long> generation{1};
    // Changed with the lock held; read without it to decide whether a read
    // needs the lock.
    std::atomic<int> batchDepth{0};
    // The document every object on the path reads and writes while a batch has
    // changed it and is not yet saved; empty otherwise. Guarded by the lock.
    std::shared_ptr<Document> batchDocument;

    // Entries are never removed, so the references stay valid. Call with the lock held.
    static SharedPath& of(const std::wstring& path) {
        static std::unordered_map<std::wstring, std::unique_ptr<SharedPath>> paths;
        auto& entry = paths[pathKey(path)];
        if (!entry)
            entry = std::make_unique<SharedPath>();
        return *entry;
    }
};

struct IniFile::Document {
    struct Line {
        enum class Kind { Other, Header, Entry };

        std::string bytes; // as in the file, without the line break
        std::string eol;   // the line break as in the file; empty on an unterminated last line
        Kind kind = Kind::Other;
        std::wstring name;  // section name of a header, key of an entry; trimmed
        std::wstring value; // value of an entry as read: trimmed, quotes removed
    };

    // A header line and the lines up to the next one. The first Section holds
    // the lines before any header and has no header itself.
    struct Section {
        std::vector<Line> lines;
        std::unordered_map<std::wstring, std::size_t> keys; // name key -> first entry line

        bool hasHeader() const { return !lines.empty() && lines[0].kind == Line::Kind::Header; }

        void indexKeys() {
            keys.clear();
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (lines[i].kind == Line::Kind::Entry)
                    keys.emplace(nameKey(lines[i].name), i);
            }
        }

        const Line* findEntry(const std::wstring& keyName) const {
            const auto it = keys.find(nameKey(keyName));
            return it == keys.end() ? nullptr : &lines[it->second];
        }

        // A batch inserts and removes many keys in sections of thousands of
        // lines, so the index follows the lines that move instead of being
        // built again.
        void insertEntry(std::size_t at, Line entry) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
            for (auto& indexed : keys) {
                if (indexed.second >= at)
                    ++indexed.second;
            }
            const auto [it, added] = keys.emplace(nameKey(lines[at].name), at);
            if (!added && it->second > at)
                it->second = at; // the first of duplicate keys counts
        }

        void removeEntry(std::unordered_map<std::wstring, std::size_t>::iterator indexed) {
            const std::size_t at = indexed->second;
            const std::wstring key = indexed->first;
            keys.erase(indexed);
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
            for (auto& other : keys) {
                if (other.second > at)
                    --other.second;
            }
            // A later duplicate of the removed key is the first one now.
            for (std::size_t i = at; i < lines.size(); ++i) {
                if (lines[i].kind == Line::Kind::Entry && hasNameKey(lines[i].name, key)) {
                    keys.emplace(key, i);
                    return;
                }
            }
        }

        // New keys go after the last entry, ahead of trailing comments and blank lines.
        std::size_t insertionPoint() const {
            for (std::size_t i = lines.size(); i > 1; --i) {
                if (lines[i - 1].kind == Line::Kind::Entry)
                    return i;
            }
            return hasHeader() ? 1 : 0;
        }
    };

    std::vector<Section> sections;
    std::unordered_map<std::wstring, std::size_t> sectionIndex; // name key -> first Section
    SharedPath* shared = nullptr;
    // False when the file exists but could not be read: writing then would
    // replace the user's settings with the few values written since.
    bool readable = true;

    static Line parseLine(std::string bytes, std::wstring_view text, std::string eol) {
        Line line{std::move(bytes), std::move(eol), Line::Kind::Other, {}, {}};
        const std::wstring_view trimmed = trimBlanks(text);
        if (trimmed.empty() || trimmed.front() == L';')
            return line;
        const std::size_t close = trimmed.find(L']');
        if (trimmed.front() == L'[' && close != std::wstring_view::npos) {
            line.kind = Line::Kind::Header;
            line.name = trimBlanks(trimmed.substr(1, close - 1));
            return line;
        }
        const std::size_t equals = text.find(L'=');
        if (equals == std::wstring_view::npos)
            return line; // kept, but not a key
        const std::wstring_view key = trimBlanks(text.substr(0, equals));
        if (key.empty())
            return line;
        line.kind = Line::Kind::Entry;
        line.name = key;
        line.value = stripQuotes(trimBlanks(text.substr(equals + 1)));
        return line;
    }

    // A line the program writes, read back from its bytes so that memory holds
    // exactly what the file holds (characters without a CP932 form become '?').
    static Line makeLine(std::string bytes) {
        const std::wstring stored = fromCp932(bytes);
        return parseLine(std::move(bytes), stored, kNewLine);
    }
    static Line makeLine(std::wstring_view text) { return makeLine(toCp932(text)); }

    // The key of an entry as its bytes stand in the file, blanks aside, so that
    // a replaced value leaves even an undecodable key as it was. '=' and the
    // blanks are below every trail byte, so they are found among the bytes.
    static std::string keyBytes(const Line& entry) {
        std::string_view key = std::string_view(entry.bytes).substr(0, entry.bytes.find('='));
        const auto blank = [](char c) {
            return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
        };
        while (!key.empty() && blank(key.front()))
            key.remove_prefix(1);
        while (!key.empty() && blank(key.back()))
            key.remove_suffix(1);
        return std::string(key);
    }

    // The bytes split at LF (CR before it belongs to the line break), each line
    // with its text. A line break byte is never part of a double-byte character,
    // so the whole file decodes at once and splits at the same places.
    static std::vector<Line> splitLines(std::string_view bytes) {
        const std::wstring text = fromCp932(bytes);
        std::vector<Line> lines;
        lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
        std::size_t byteStart = 0;
        std::size_t textStart = 0;
        while (byteStart < bytes.size()) {
            std::size_t byteEnd = bytes.find('\n', byteStart);
            std::size_t textEnd = text.find(L'\n', textStart);
            const bool terminated = byteEnd != std::string_view::npos;
            if (!terminated) {
                byteEnd = bytes.size();
                textEnd = text.size();
            }
            std::size_t contentEnd = byteEnd;
            if (contentEnd > byteStart && bytes[contentEnd - 1] == '\r')
                --contentEnd;
            std::string content(bytes.substr(byteStart, contentEnd - byteStart));
            std::string eol(bytes.substr(contentEnd, byteEnd + (terminated ? 1 : 0) - contentEnd));
            std::wstring lineText = textEnd == std::wstring::npos
                                        ? fromCp932(content) // cannot happen; stay correct anyway
                                        : text.substr(textStart, textEnd - textStart);
            if (!lineText.empty() && lineText.back() == L'\r')
                lineText.pop_back();
            lines.push_back(parseLine(std::move(content), lineText, std::move(eol)));
            byteStart = byteEnd + 1;
            textStart = textEnd == std::wstring::npos ? text.size() : textEnd + 1;
        }
        return lines;
    }

    static std::shared_ptr<Document> load(const std::wstring& path, SharedPath& shared) {
        auto doc = std::make_shared<Document>();
        doc->shared = &shared;
        doc->sections.emplace_back();
        const std::optional<std::string> bytes = fileio::readFile(path);
        if (!bytes) {
            doc->readable = !fileio::fileExists(path);
        } else {
            for (Line& line : splitLines(*bytes)) {
                if (line.kind == Line::Kind::Header)
                    doc->sections.emplace_back();
                doc->sections.back().lines.push_back(std::move(line));
            }
        }
        for (Section& section : doc->sections)
            section.indexKeys();
        doc->indexSections();
        return doc;
    }

    // Brings `doc` up to date when it is missing or older than the last write
    // through any IniFile on the path: to the batch's document while a batch
    // holds unsaved writes, to the file otherwise. Call with the lock held.
    static void refresh(std::shared_ptr<Document>& doc, unsigned long long& generation,
                        const std::wstring& path) {
        if (doc && doc->isCurrent(generation))
            return;
        SharedPath& shared = doc ? *doc->shared : SharedPath::of(path);
        generation = shared.generation.load();
        doc = shared.batchDocument ? shared.batchDocument : load(path, shared);
    }

    bool isCurrent(unsigned long long generation) const {
        return readable && shared->generation.load(std::memory_order_acquire) == generation;
    }

    void indexSections() {
        sectionIndex.clear();
        for (std::size_t i = 1; i < sections.size(); ++i)
            sectionIndex.emplace(nameKey(sections[i].lines[0].name), i);
    }

    const Section* findSection(const std::wstring& name) const {
        const auto it = sectionIndex.find(nameKey(name));
        return it == sectionIndex.end() ? nullptr : &sections[it->second];
    }
    Section* findSection(const std::wstring& name) {
        return const_cast<Section*>(std::as_const(*this).findSection(name));
    }

    const Line* findEntry(const std::wstring& section, const std::wstring& key) const {
        const Section* s = findSection(section);
        return s ? s->findEntry(key) : nullptr;
    }

    // The line after which one is appended must end in a line break.
    static void terminate(Line& line) {
        if (line.eol.empty())
            line.eol = kNewLine;
    }

    void terminateLastLine() {
        for (auto s = sections.rbegin(); s != sections.rend(); ++s) {
            if (!s->lines.empty()) {
                terminate(s->lines.back());
                return;
            }
        }
    }

    // Names that would read back as something else are refused: an empty name,
    // a section with ']', a key with '=' or one that looks like a header or comment.
    static bool isWritableName(std::wstring_view section, std::wstring_view key) {
        section = trimBlanks(section);
        key = trimBlanks(key);
        return !section.empty() && section.find(L']') == std::wstring_view::npos && !key.empty() &&
               key.find(L'=') == std::wstring_view::npos && key.front() != L'[' &&
               key.front() != L';';
    }

    // `changed` tells whether the file's text differs afterwards; writing a key
    // the value it already holds changes nothing.
    bool setValue(const std::wstring& sectionName, const std::wstring& key,
                  const std::wstring& value, bool& changed) {
        changed = true;
        if (!isWritableName(sectionName, key))
            return false;
        Section* section = findSection(sectionName);
        if (!section) {
            terminateLastLine();
            Section added;
            added.lines.push_back(makeLine(L"[" + std::wstring(trimBlanks(sectionName)) + L"]"));
            sections.push_back(std::move(added));
            section = &sections.back();
            indexSections();
        }
        const auto existing = section->keys.find(nameKey(key));
        if (existing != section->keys.end()) {
            Line& line = section->lines[existing->second];
            std::string bytes = keyBytes(line) + "=" + toCp932(oneLine(value));
            if (bytes == line.bytes) {
                changed = false;
                return true;
            }
            Line replaced = makeLine(std::move(bytes));
            replaced.eol = line.eol; // the line keeps its place and its line break
            line = std::move(replaced);
            // Still the same key, unless the new value turned the line into
            // something else (a ']' in it makes "[x=" a header).
            if (line.kind != Line::Kind::Entry || !hasNameKey(line.name, existing->first))
                section->indexKeys();
            return true;
        }
        const std::size_t at = section->insertionPoint();
        terminate(section->lines[at - 1]);
        section->insertEntry(at, makeLine(std::wstring(trimBlanks(key)) + L"=" + oneLine(value)));
        return true;
    }

    bool removeKey(const std::wstring& sectionName, const std::wstring& key) {
        Section* section = findSection(sectionName);
        if (!section)
            return false;
        const auto it = section->keys.find(nameKey(key));
        if (it == section->keys.end())
            return false;
        section->removeEntry(it);
        return true;
    }

    // Every section of that name goes, so that none is left to be found.
    bool removeSection(const std::wstring& sectionName) {
        const std::wstring wanted = nameKey(sectionName);
        const auto before = sections.size();
        for (std::size_t i = sections.size() - 1; i >= 1; --i) {
            if (nameKey(sections[i].lines[0].name) == wanted)
                sections.erase(sections.begin() + static_cast<std::ptrdiff_t>(i));
        }
        if (sections.size() == before)
            return false;
        indexSections();
        return true;
    }

    std::string render() const {
        std::string bytes;
        for (const Section& section : sections) {
            for (const Line& line : section.lines) {
                bytes += line.bytes;
                bytes += line.eol;
            }
        }
        return bytes;
    }
};

IniFile::IniFile(std::wstring path) : path_(std::move(path)) {}
IniFile::~IniFile() = default;

// Runs `reader` on an up-to-date document. A document another object may be
// changing, one shared during a batch, is read with the lock held; otherwise
// the object's own copy is read without it. The batch depth is checked before
// the generation: a batch that ended in between has moved the generation on,
// so a document it shared is never taken for this object's own.
template <class Reader> auto IniFile::read(Reader&& reader) const {
    if (doc_ && doc_->shared->batchDepth.load() == 0 && doc_->isCurrent(loadedGeneration_))
        return reader(std::as_const(*doc_));
    std::lock_guard lock(sharedMutex());
    Document::refresh(doc_, loadedGeneration_, path_);
    return reader(std::as_const(*doc_));
}

// Call with the lock held.
IniFile::Document& IniFile::mutableDocument() {
    Document::refresh(doc_, loadedGeneration_, path_);
    return *doc_;
}

// Call with the lock held, after a change to the document.
bool IniFile::storeChange() {
    return doc_->shared->batchDepth.load() > 0 ? keepInBatch() : save();
}

bool IniFile::save() {
    if (doc_->readable && fileio::writeFileAtomic(path_, doc_->render())) {
        loadedGeneration_ = doc_->shared->generation.fetch_add(1) + 1;
        return true;
    }
    doc_.reset(); // the file did not change: read it again when next needed
    return false;
}

// The change stays in memory, in the document every object on the path now
// turns to, until the batch ends.
bool IniFile::keepInBatch() {
    SharedPath& shared = *doc_->shared;
    shared.batchDocument = doc_;
    loadedGeneration_ = shared.generation.fetch_add(1) + 1;
    return true;
}

void IniFile::beginBatch() {
    std::lock_guard lock(sharedMutex());
    ++SharedPath::of(path_).batchDepth;
}

bool IniFile::endBatch() {
    std::lock_guard lock(sharedMutex());
    SharedPath& shared = SharedPath::of(path_);
    // The batch closes on every way out, a throw included, and only after the
    // generation has moved on (see read()).
    struct Closing {
        std::atomic<int>& depth;
        ~Closing() { --depth; }
    } closing{shared.batchDepth};
    if (shared.batchDepth.load() > 1)
        return true; // the outer batch saves
    const std::shared_ptr<Document> batched = std::move(shared.batchDocument);
    if (!batched)
        return true; // nothing was written
    // Every object on the path, this one included, takes its document afresh:
    // the one saved here, or the file as it is when the save fails.
    const unsigned long long generation = shared.generation.fetch_add(1) + 1;
    if (!fileio::writeFileAtomic(path_, batched->render())) {
        doc_.reset();
        return false;
    }
    doc_ = batched;
    loadedGeneration_ = generation;
    return true;
}

IniFile::Batch::Batch(IniFile& ini) : ini_(ini) {
    ini_.beginBatch();
}

IniFile::Batch::~Batch() {
    if (committed_)
        return;
    try {
        commit();
    } catch (...) {
        // Nothing may leave a destructor; the writes are lost and memory
        // already holds the file again.
    }
}

bool IniFile::Batch::commit() {
    if (!committed_) {
        committed_ = true;
        result_ = false; // stays so if the save throws
        result_ = ini_.endBatch();
    }
    return result_;
}

std::wstring IniFile::readString(const std::wstring& section, const std::wstring& key,
                                 const std::wstring& def) const {
    return read([&](const Document& doc) {
        const Document::Line* entry = doc.findEntry(section, key);
        return entry ? entry->value : def;
    });
}

int IniFile::readInteger(const std::wstring& section, const std::wstring& key, int def) const {
    return read([&](const Document& doc) {
        const Document::Line* entry = doc.findEntry(section, key);
        return entry ? parseInteger(entry->value).value_or(def) : def;
    });
}

bool IniFile::readBool(const std::wstring& section, const std::wstring& key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

DateTime IniFile::readDateTime(const std::wstring& section, const std::wstring& key,
                               DateTime def) const {
    return read([&](const Document& doc) {
        const Document::Line* entry = doc.findEntry(section, key);
        if (!entry || entry->value.empty())
            return def;
        return parseDateTime(entry->value).value_or(def);
    });
}

bool IniFile::writeString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& value) {
    std::lock_guard lock(sharedMutex());
    Document& doc = mutableDocument();
    if (!doc.readable)
        return false; // it could not be saved without losing what the file holds
    bool changed = true;
    if (!doc.setValue(section, key, value, changed))
        return false;
    // Rewriting a file only to store what it already says would cost a full save
    // (and a disk flush) for nothing; launchers write their positions often.
    return changed ? storeChange() : true;
}

bool IniFile::writeInteger(const std::wstring& section, const std::wstring& key, int value) {
    return writeString(section, key, std::to_wstring(value));
}

bool IniFile::writeBool(const std::wstring& section, const std::wstring& key, bool value) {
    return writeString(section, key, value ? L"1" : L"0");
}

bool IniFile::writeDateTime(const std::wstring& section, const std::wstring& key, DateTime value) {
    return writeString(section, key, dateTimeToString(value));
}

bool IniFile::deleteKey(const std::wstring& section, const std::wstring& key) {
    std::lock_guard lock(sharedMutex());
    Document& doc = mutableDocument();
    if (!doc.readable)
        return false;
    if (!doc.removeKey(section, key))
        return true; // nothing to delete: the file stays as it is
    return storeChange();
}

bool IniFile::eraseSection(const std::wstring& section) {
    std::lock_guard lock(sharedMutex());
    Document& doc = mutableDocument();
    if (!doc.readable)
        return false;
    if (!doc.removeSection(section))
        return true;
    return storeChange();
}

bool IniFile::sectionExists(const std::wstring& section) const {
    return read([&](const Document& doc) {
        const Document::Section* s = doc.findSection(section);
        return s && !s->keys.empty();
    });
}

bool IniFile::valueExists(const std::wstring& section, const std::wstring& key) const {
    return read([&](const Document& doc) { return doc.findEntry(section, key) != nullptr; });
}

std::vector<std::wstring> IniFile::readSection(const std::wstring& section) const {
    return read([&](const Document& doc) {
        std::vector<std::wstring> names;
        const Document::Section* s = doc.findSection(section);
        if (!s)
            return names;
        for (std::size_t i = 0; i < s->lines.size(); ++i) {
            const auto& line = s->lines[i];
            // Only the first of duplicate keys counts, as for reading.
            if (line.kind == Document::Line::Kind::Entry && s->keys.at(nameKey(line.name)) == i)
                names.push_back(line.name);
        }
        return names;
    });
}

std::vector<std::wstring> IniFile::readSections() const {
    return read([](const Document& doc) {
        std::vector<std::wstring> names;
        for (std::size_t i = 1; i < doc.sections.size(); ++i) {
            const std::wstring& name = doc.sections[i].lines[0].name;
            if (doc.sectionIndex.at(nameKey(name)) == i)
                names.push_back(name);
        }
        return names;
    });
}

} // namespace kelvo
