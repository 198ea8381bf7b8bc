#include "storage/ZuMemIniFile.h"

#include "storage/IntegerText.h"

#include "storage/FileIO.h"
#include "storage/TextCodec.h"

#include <cstdint>
#include <memory>
#include <utility>

namespace kelvo {
namespace {

constexpr const wchar_t* kEmptyName = L"空の名前";
constexpr const wchar_t* kNameWithEquals = L"名前が \"=\" を含んでいる";
constexpr const wchar_t* kNameWithSemicolon = L"名前の先頭が \";\"";
constexpr const wchar_t* kEmptySectionName = L"空のセクション名";
constexpr const wchar_t* kValueWithCr = L"値が CR を含む";
constexpr const wchar_t* kValueWithLf = L"値が LF を含む";
constexpr const wchar_t* kUnnamedSectionErase = L"無名セクションは削除できません";


bool IsCommentText(std::wstring_view trimmed) {
    return !trimmed.empty() && trimmed.front() == L';';
}

bool IsHeaderText(std::wstring_view trimmed) {
    return trimmed.size() >= 2 && trimmed.front() == L'[' && trimmed.back() == L']';
}

// Calls `visit` with every line of the text; lines end in CR LF, CR or LF.
template <typename Visit> void ForEachLine(std::wstring_view text, Visit&& visit) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\r' && text[i] != L'\n')
            continue;
        visit(text.substr(start, i - start));
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        visit(text.substr(start));
}

TZuMemIniSection& SectionOf(TZuObject* object) {
    return static_cast<TZuMemIniSection&>(*object);
}

} // namespace

struct TZuMemIniFile::ParseState {
    std::vector<std::wstring> pending; // comment lines waiting for what follows them
    TZuMemIniSection* current = nullptr;
};

EZuMemIniFileError::EZuMemIniFileError(std::wstring message)
    : message_(std::move(message)), what_(toUtf8(message_)) {}

EZuFileAccessError::EZuFileAccessError(const std::wstring& path)
    : std::runtime_error("cannot access " + toUtf8(path)), path_(path) {}

std::vector<std::wstring> ZuCopyComments(const std::vector<std::wstring>& lines) {
    std::vector<std::wstring> comments;
    comments.reserve(lines.size());
    for (const std::wstring& line : lines)
        comments.push_back(IsCommentText(ZuTrim(line)) ? line : L';' + line);
    return comments;
}

std::vector<std::wstring> ZuSplitLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    ForEachLine(text, [&lines](std::wstring_view line) { lines.emplace_back(line); });
    return lines;
}

std::optional<int> ZuParseInteger(std::wstring_view text) {
    if (!text.empty() && text[0] == L'$')
        return parseHexInt32(text.substr(1));
    if (text.size() >= 3 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))
        return parseHexInt32(text.substr(2));
    return parseDecimalInt32(text, PlusSign::Accepted);
}

// --- TZuMemIniSection ---

TZuMemIniSection::TZuMemIniSection(bool caseSensitive) {
    Keys.SetCaseSensitive(caseSensitive);
    Keys.SetNameHashed(true);
}

std::wstring TZuMemIniSection::ReadValue(std::wstring_view name, std::wstring_view def) const {
    const TZuStringItem* key = Keys.FindName(ZuTrim(name));
    if (!key)
        return std::wstring(def);
    return ZuDequoteValue(key->Text().substr(key->Name().size() + 1));
}

void TZuMemIniSection::WriteValue(std::wstring_view name, std::wstring_view value) {
    const std::wstring_view n = ZuTrim(name);
    if (n.empty())
        throw EZuMemIniFileInvalidName(kEmptyName);
    if (n.find(L'=') != std::wstring_view::npos)
        throw EZuMemIniFileInvalidName(kNameWithEquals);
    if (n.front() == L';')
        throw EZuMemIniFileInvalidName(kNameWithSemicolon);
    Keys.SetValue(n, value);
}

void TZuMemIniSection::DeleteKey(std::wstring_view name) {
    const int index = Keys.IndexOfName(ZuTrim(name));
    if (index >= 0)
        Keys.Delete(index);
}

void TZuMemIniSection::SetKeyComment(std::wstring_view name,
                                     const std::vector<std::wstring>& lines) {
    const int index = Keys.IndexOfName(ZuTrim(name));
    if (index < 0)
        return;
    auto comment = std::make_unique<TZuComment>();
    comment->Lines = ZuCopyComments(lines);
    Keys.PutObject(index, std::move(comment));
}

const TZuComment* TZuMemIniSection::KeyComment(int index) const {
    return static_cast<const TZuComment*>(Keys.GetObject(index));
}

// --- TZuMemIniFile ---

TZuMemIniFile::TZuMemIniFile(std::wstring fileName) : fileName_(std::move(fileName)) {
    sections_.AddObject(std::wstring(), std::make_unique<TZuMemIniSection>(CaseSensitive()));
    LoadValues();
}

void TZuMemIniFile::LoadValues() {
    if (fileName_.empty() || !fileio::fileExists(fileName_))
        return;
    const std::optional<std::string> bytes = fileio::readFile(fileName_);
    if (!bytes)
        throw EZuFileAccessError(fileName_);
    const std::wstring text = fromCp932(*bytes);
    ParseState state;
    ForEachLine(text, [&](std::wstring_view line) { ParseLine(line, state); });
    FinishParse(state);
}

TZuMemIniSection& TZuMemIniFile::SectionAt(int index) const {
    return SectionOf(sections_.GetObject(index));
}

TZuMemIniSection* TZuMemIniFile::FindSection(std::wstring_view name) const {
    return static_cast<TZuMemIniSection*>(sections_.ObjectOf(name));
}

TZuMemIniSection* TZuMemIniFile::AddSection(std::wstring_view name) {
    if (ZuTrim(name).empty())
        throw EZuMemIniFileInvalidSection(kEmptySectionName);
    auto section = std::make_unique<TZuMemIniSection>(CaseSensitive());
    TZuMemIniSection* raw = section.get();
    sections_.AddObject(std::wstring(name), std::move(section));
    return raw;
}

std::wstring TZuMemIniFile::ReadString(std::wstring_view section, std::wstring_view name,
                                       std::wstring_view def) const {
    const TZuMemIniSection* found = FindSection(ZuTrim(section));
    return found ? found->ReadValue(name, def) : std::wstring(def);
}

void TZuMemIniFile::WriteString(std::wstring_view section, std::wstring_view name,
                                std::wstring_view value) {
    const std::wstring_view s = ZuTrim(section);
    if (s.empty())
        throw EZuMemIniFileInvalidSection(kEmptySectionName);
    if (value.find(L'\r') != std::wstring_view::npos)
        throw EZuMemIniFileInvalidValue(kValueWithCr);
    if (value.find(L'\n') != std::wstring_view::npos)
        throw EZuMemIniFileInvalidValue(kValueWithLf);
    TZuMemIniSection* target = FindSection(s);
    if (!target)
        target = AddSection(s);
    target->WriteValue(name, value);
}

int TZuMemIniFile::ReadInteger(std::wstring_view section, std::wstring_view name, int def) const {
    return ZuParseInteger(ReadString(section, name, L"")).value_or(def);
}

void TZuMemIniFile::WriteInteger(std::wstring_view section, std::wstring_view name, int value) {
    WriteString(section, name, std::to_wstring(value));
}

bool TZuMemIniFile::ReadBool(std::wstring_view section, std::wstring_view name, bool def) const {
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

void TZuMemIniFile::WriteBool(std::wstring_view section, std::wstring_view name, bool value) {
    WriteString(section, name, value ? L"1" : L"0");
}

DateTime TZuMemIniFile::ReadDateTime(std::wstring_view section, std::wstring_view name,
                                     DateTime def) const {
    const std::wstring text = ReadString(section, name, L"");
    if (text.empty())
        return def;
    return parseDateTime(text).value_or(def);
}

void TZuMemIniFile::WriteDateTime(std::wstring_view section, std::wstring_view name,
                                  DateTime value) {
    WriteString(section, name, dateTimeToString(value));
}

std::vector<std::wstring> TZuMemIniFile::ReadSection(std::wstring_view section) const {
    std::vector<std::wstring> names;
    if (const TZuMemIniSection* found = FindSection(ZuTrim(section))) {
        names.reserve(static_cast<std::size_t>(found->Keys.GetCount()));
        for (int i = 0; i < found->Keys.GetCount(); ++i)
            names.emplace_back(found->Keys.NameAt(i));
    }
    return names;
}

std::vector<std::wstring> TZuMemIniFile::ReadSections() const {
    std::vector<std::wstring> names;
    for (int i = 1; i < sections_.GetCount(); ++i)
        names.push_back(sections_.Get(i));
    return names;
}

std::vector<std::wstring> TZuMemIniFile::ReadSectionValues(std::wstring_view section) const {
    std::vector<std::wstring> lines;
    if (const TZuMemIniSection* found = FindSection(ZuTrim(section))) {
        for (int i = 0; i < found->Keys.GetCount(); ++i)
            lines.push_back(found->Keys.Get(i));
    }
    return lines;
}

void TZuMemIniFile::EraseSection(std::wstring_view section) {
    const std::wstring_view s = ZuTrim(section);
    if (s.empty())
        throw EZuMemIniFileInvalidSection(kUnnamedSectionErase);
    const int index = sections_.IndexOf(s);
    if (index > 0)
        sections_.Delete(index);
}

void TZuMemIniFile::DeleteKey(std::wstring_view section, std::wstring_view name) {
    if (TZuMemIniSection* found = FindSection(ZuTrim(section)))
        found->DeleteKey(name);
}

void TZuMemIniFile::SetSectionComment(std::wstring_view section,
                                      const std::vector<std::wstring>& lines) {
    if (TZuMemIniSection* found = FindSection(ZuTrim(section)))
        found->Comments = ZuCopyComments(lines);
}

bool TZuMemIniFile::RenameSection(std::wstring_view from, std::wstring_view to) {
    const std::wstring_view newName = ZuTrim(to);
    const int index = sections_.IndexOf(ZuTrim(from));
    if (index <= 0 || newName.empty())
        return false;
    const int other = sections_.IndexOf(newName);
    if (other > 0 && other != index) {
        sections_.Delete(other);
        return RenameSection(from, to);
    }
    sections_.Put(index, std::wstring(newName));
    return true;
}

template <typename Emit> void TZuMemIniFile::Render(Emit&& emit) const {
    for (int i = 1; i < sections_.GetCount(); ++i) {
        const TZuMemIniSection& section = SectionAt(i);
        for (const std::wstring& line : section.Comments)
            emit(line);
        emit(L'[' + sections_.Get(i) + L']');
        emit(std::wstring_view());
        for (int k = 0; k < section.Keys.GetCount(); ++k) {
            if (const TZuComment* comment = section.KeyComment(k)) {
                for (const std::wstring& line : comment->Lines)
                    emit(line);
            }
            emit(section.Keys.Get(k));
        }
        emit(std::wstring_view());
    }
    for (const std::wstring& line : SectionAt(0).Comments)
        emit(line);
}

std::vector<std::wstring> TZuMemIniFile::GetStrings() const {
    std::vector<std::wstring> lines;
    Render([&lines](std::wstring_view line) { lines.emplace_back(line); });
    return lines;
}

void TZuMemIniFile::SetStrings(const std::vector<std::wstring>& lines) {
    ParseState state;
    for (const std::wstring& line : lines)
        ParseLine(line, state);
    FinishParse(state);
}

void TZuMemIniFile::ParseLine(std::wstring_view line, ParseState& state) {
    const std::wstring_view t = ZuTrim(line);
    if (t.empty())
        return;
    if (IsCommentText(t)) {
        state.pending.emplace_back(line);
        return;
    }
    if (IsHeaderText(t)) {
        const std::wstring_view name = ZuTrim(t.substr(1, t.size() - 2));
        if (name.empty())
            return;
        state.current = FindSection(name);
        if (!state.current)
            state.current = AddSection(name);
        if (!state.pending.empty()) {
            state.current->Comments = ZuCopyComments(state.pending);
            state.pending.clear();
        }
        return;
    }
    // Key lines above the first header belong to no section.
    if (!state.current)
        return;
    const std::size_t equals = t.find(L'=');
    const std::wstring_view name = ZuTrim(t.substr(0, equals));
    if (name.empty())
        return;
    const std::wstring value = equals == std::wstring_view::npos
                                   ? std::wstring()
                                   : ZuDequoteValue(ZuTrim(t.substr(equals + 1)));
    state.current->WriteValue(name, value);
    if (!state.pending.empty()) {
        state.current->SetKeyComment(name, state.pending);
        state.pending.clear();
    }
}

void TZuMemIniFile::FinishParse(ParseState& state) {
    if (!state.pending.empty())
        SectionAt(0).Comments = ZuCopyComments(state.pending);
    state.pending.clear();
}

void TZuMemIniFile::UpdateFile() const {
    std::wstring text;
    Render([&text](std::wstring_view line) {
        text += line;
        text += L"\r\n";
    });
    if (!fileio::writeFileAtomic(fileName_, toCp932(text)))
        throw EZuFileAccessError(fileName_);
}

} // namespace kelvo
