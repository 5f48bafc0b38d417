#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnot {

// Integer text of the settings file: signed decimal, or hexadecimal after "0x",
// "0X" or "$". Anything else (empty, trailing junk, out of the 32-bit range) has no value.
std::optional<int> ParseInteger(std::string_view text);

// The sectioned settings file ("[section]" lines, then "key=value" lines) held in
// memory as its lines. Section and key names match regardless of ASCII case;
// lines the program does not write are kept byte for byte. Values are bytes
// (code page 1251) and come back exactly as written: a value with blanks at
// either end, or one that starts and ends with a double quote, is stored between
// double quotes, and one pair of surrounding quotes is removed on reading. Line
// breaks inside a value are stored as blanks. Lines starting with ";" or "#"
// are comments. Of duplicate keys the first is read and rewritten. A UTF-8 byte
// order mark and the file's line ends (CRLF or LF) survive a save; a new file
// gets CRLF.
class IniFile {
  public:
    // Reads the file; a missing, unreadable or garbled file reads as empty.
    explicit IniFile(std::string path);

    const std::string& Path() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    // The default when the key is missing or does not parse as an integer.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // True exactly when the stored text (or "YES"/"NO" for the default) is YES in any case.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    bool HasKey(std::string_view section, std::string_view key) const;

    // Changes the copy in memory; Save() puts it on disk.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // Removes every key of a section (of each section of that name), keeping
    // its heading and comments, so keys written next land where it was.
    void EraseKeys(std::string_view section);

    // Replaces the file atomically (temporary file in the same folder, fsync,
    // then rename), keeping its permission bits. False when it could not be
    // written; the old file is then intact. Also false, writing nothing, when
    // the file existed but could not be read (saving would lose its lines), and
    // when the file or its folder has no write permission bit at all.
    bool Save() const;

  private:
    // One line of the file: its text and the line end that followed it ("\r\n",
    // "\n", or empty for a last line without one), so untouched lines go back
    // to disk exactly as they came.
    struct Line {
        std::string text;
        std::string end;
    };

    void Load();
    std::optional<std::size_t> FindKey(std::string_view section, std::string_view key) const;
    void InsertLine(std::size_t index, std::string text);

    std::string path_;
    std::vector<Line> lines_;
    std::string lineEnd_ = "\r\n";
    bool bom_ = false;
    // The file exists but could not be read: saving would lose what it holds.
    bool unreadable_ = false;
};

// One-shot operations: open the file, read or write one key, close it.
std::string ReadSetting(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view def);
int ReadIntSetting(const std::string& file, std::string_view section, std::string_view key,
                   int def);
bool ReadYesNo(const std::string& file, std::string_view section, std::string_view key, bool def);
bool WriteSetting(const std::string& file, std::string_view section, std::string_view key,
                  std::string_view value);
bool WriteIntSetting(const std::string& file, std::string_view section, std::string_view key,
                     int value);
bool WriteYesNo(const std::string& file, std::string_view section, std::string_view key,
                bool value);

// A value below 1 becomes the lower bound, one above the upper bound the upper
// bound; 1..upper stays as it is even when below the lower bound.
void ClampSetting(int& value, int lower, int upper);

// Word lists: each non-empty word followed by one blank, while the text stays
// shorter than 255 characters (a word that does not fit is skipped).
std::string WordListText(const std::vector<std::string>& words);
// At most 15 words, split at blanks.
std::vector<std::string> SplitWordList(std::string_view text);

} // namespace varnot
