#pragma once
// An INI file held wholly in memory that keeps its comment lines. The file is
// read once when the object is made; reads and writes work on memory, and
// UpdateFile writes the whole file back (code page 932, CR LF line ends).
//
// The comments in front of a section header stay with that section, those in
// front of a key stay with that key, and those after the last key stay at the
// end of the file. Blank lines, and key lines above the first header, are not
// kept. Section and key names compare without regard to letter case.
//
// A file read and written back unchanged gains one empty line after every
// header and after every section, and loses the blanks around "=".
#include "storage/DateTime.h"
#include "storage/ZuStringList.h"

#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// Refused names and values; the message is shown as it is.
class EZuMemIniFileError : public std::exception {
  public:
    explicit EZuMemIniFileError(std::wstring message);
    const std::wstring& Message() const { return message_; }
    const char* what() const noexcept override { return what_.c_str(); } // UTF-8

  private:
    std::wstring message_;
    std::string what_;
};

class EZuMemIniFileInvalidName : public EZuMemIniFileError {
  public:
    using EZuMemIniFileError::EZuMemIniFileError;
};

class EZuMemIniFileInvalidSection : public EZuMemIniFileError {
  public:
    using EZuMemIniFileError::EZuMemIniFileError;
};

class EZuMemIniFileInvalidValue : public EZuMemIniFileError {
  public:
    using EZuMemIniFileError::EZuMemIniFileError;
};

// The file exists but could not be read, or could not be written.
class EZuFileAccessError : public std::runtime_error {
  public:
    explicit EZuFileAccessError(const std::wstring& path);
    const std::wstring& Path() const { return path_; }

  private:
    std::wstring path_;
};

// The comment lines in front of a key, in file order.
class TZuComment : public TZuObject {
  public:
    std::vector<std::wstring> Lines;
};

// Every comment block taken in is made of comment lines: a line that is blank
// or does not begin with ";" (after trimming) gets a ";" in front.
std::vector<std::wstring> ZuCopyComments(const std::vector<std::wstring>& lines);

class TZuMemIniSection : public TZuObject {
  public:
    explicit TZuMemIniSection(bool caseSensitive);

    std::vector<std::wstring> Comments; // in front of the header
    // One entry per key, name=value with the value in stored form; the object
    // of an entry, if any, is its TZuComment.
    TZuHashedStringList Keys{true};

    std::wstring ReadValue(std::wstring_view name, std::wstring_view def) const;
    // Throws EZuMemIniFileInvalidName for an empty name, a name with "=" or a
    // name that begins with ";" (checked in that order).
    void WriteValue(std::wstring_view name, std::wstring_view value);
    void DeleteKey(std::wstring_view name);
    // Nothing when the key does not exist.
    void SetKeyComment(std::wstring_view name, const std::vector<std::wstring>& lines);
    const TZuComment* KeyComment(int index) const;
};

class TZuMemIniFile {
  public:
    // Reads the file when it exists; a missing file gives an empty INI.
    // Throws EZuFileAccessError when the file exists but cannot be read.
    explicit TZuMemIniFile(std::wstring fileName);
    TZuMemIniFile(const TZuMemIniFile&) = delete;
    TZuMemIniFile& operator=(const TZuMemIniFile&) = delete;

    const std::wstring& FileName() const { return fileName_; }
    bool CaseSensitive() const { return sections_.CaseSensitive(); }

    std::wstring ReadString(std::wstring_view section, std::wstring_view name,
                            std::wstring_view def) const;
    // Throws EZuMemIniFileInvalidSection for a blank section name, then
    // EZuMemIniFileInvalidValue for a value with CR, then with LF; then the
    // section is made if needed and the name checked (see WriteValue), so a
    // refused name can leave a new, empty section behind.
    void WriteString(std::wstring_view section, std::wstring_view name, std::wstring_view value);

    // Decimal, or hexadecimal after "0x", "0X" or "$"; anything else gives `def`.
    int ReadInteger(std::wstring_view section, std::wstring_view name, int def) const;
    void WriteInteger(std::wstring_view section, std::wstring_view name, int value);
    // "1" and "0"; any non-zero integer reads as true.
    bool ReadBool(std::wstring_view section, std::wstring_view name, bool def) const;
    void WriteBool(std::wstring_view section, std::wstring_view name, bool value);
    // The Japanese short date and long time ("2016/05/06 7:30:00", the time
    // left out at midnight); empty or unparsable text gives `def`.
    DateTime ReadDateTime(std::wstring_view section, std::wstring_view name, DateTime def) const;
    void WriteDateTime(std::wstring_view section, std::wstring_view name, DateTime value);

    std::vector<std::wstring> ReadSection(std::wstring_view section) const; // key names
    std::vector<std::wstring> ReadSections() const; // without the unnamed section
    // The name=value lines as stored: quoted values stay quoted.
    std::vector<std::wstring> ReadSectionValues(std::wstring_view section) const;
    // Throws EZuMemIniFileInvalidSection for a blank name: the unnamed
    // section holds the comments at the end of the file and always stays.
    void EraseSection(std::wstring_view section);
    void DeleteKey(std::wstring_view section, std::wstring_view name);
    // Throws EZuFileAccessError when the file cannot be written.
    void UpdateFile() const;

    std::vector<std::wstring> GetStrings() const;
    // Merges the lines into the present content.
    void SetStrings(const std::vector<std::wstring>& lines);

    TZuMemIniSection* FindSection(std::wstring_view name) const;
    // Appends a new, empty section. Throws EZuMemIniFileInvalidSection for a
    // blank name, which belongs to the unnamed section alone.
    TZuMemIniSection* AddSection(std::wstring_view name);
    void SetSectionComment(std::wstring_view section, const std::vector<std::wstring>& lines);
    // Gives a section another name, keeping its keys, comments and place in
    // the file; a different section that had the new name goes. False when
    // there is no section `from` or `to` is blank.
    bool RenameSection(std::wstring_view from, std::wstring_view to);

  private:
    struct ParseState;

    void LoadValues();
    void ParseLine(std::wstring_view line, ParseState& state);
    void FinishParse(ParseState& state);
    template <typename Emit> void Render(Emit&& emit) const;
    TZuMemIniSection& SectionAt(int index) const;

    std::wstring fileName_;
    TZuHashedStringList sections_{true};
};

// Lines of a text whose lines end in CR LF, CR or LF; a line break at the very
// end does not start another line.
std::vector<std::wstring> ZuSplitLines(std::wstring_view text);
// Optional sign and decimal digits, or "$", "0x" or "0X" and up to eight hex
// digits taken as a 32-bit pattern; nothing for anything else or out of range.
std::optional<int> ZuParseInteger(std::wstring_view text);

} // namespace kelvo
