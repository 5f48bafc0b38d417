#pragma once

#include <string>
#include <string_view>

#include "core/app/ini_file.h"

namespace varnot {

// Every key of the settings file, with the default its reader supplies. Code
// reads and writes settings only through these, so a key's spelling and
// default live in one place. Names match without case: "main" and "Main",
// `CharSet` and `Charset`, `NotePadExe` and `NotepadExe` are one entry each.

struct TextKey {
    std::string_view section;
    std::string_view key;
    std::string_view def;
    // The same key read with another reader's default.
    constexpr TextKey WithDefault(std::string_view other) const { return {section, key, other}; }
};

struct IntKey {
    std::string_view section;
    std::string_view key;
    int def;
    constexpr IntKey WithDefault(int other) const { return {section, key, other}; }
};

struct BoolKey {
    std::string_view section;
    std::string_view key;
    bool def;
};

// Bounds for ClampSetting.
struct SettingBounds {
    int lower;
    int upper;
};

namespace keys {

inline constexpr std::string_view Main = "main";
inline constexpr std::string_view Colors = "Colors";
inline constexpr std::string_view Dde = "DDE";
inline constexpr std::string_view Frame = "Frame";
inline constexpr std::string_view List = "List";
inline constexpr std::string_view View = "View";
inline constexpr std::string_view Printer = "Printer";
inline constexpr std::string_view Editor = "Editor";
inline constexpr std::string_view Find = "Find";
inline constexpr std::string_view Filters = "Filters";

// Section main.
// The archive root; readers and writers add the trailing "/" (ArchiveRootFrom).
inline constexpr TextKey Path{Main, "Path", ""};
inline constexpr BoolKey AutoShow{Main, "AutoShow", true};
inline constexpr IntKey AutoShowDelay{Main, "AutoShowDelay", 5};
inline constexpr SettingBounds AutoShowDelayAtStart{1, 60};
inline constexpr SettingBounds AutoShowDelayInDialog{0, 60};
inline constexpr BoolKey InDOS{Main, "InDOS", false};
inline constexpr BoolKey InZEV{Main, "InZEV", false};
inline constexpr BoolKey AutoPrint{Main, "AutoPrint", false};
inline constexpr BoolKey ShowFileName{Main, "ShowFileName", false};
// Read only when InZEV is on.
inline constexpr BoolKey WordWrap{Main, "WordWrap", false};
inline constexpr BoolKey DeleteAutomaticly{Main, "DeleteAutomaticly", true};
inline constexpr BoolKey InsertDataTimeWhenPrinting{Main, "InsertDataTimeWhenPrinting", true};
inline constexpr BoolKey InsertDataTimeWhenExporting{Main, "InsertDataTimeWhenExporting", true};
inline constexpr TextKey WordExe{Main, "WordExe", ""};
inline constexpr TextKey NotePadExe{Main, "NotePadExe", ""};
inline constexpr IntKey RereadDelay{Main, "RereadDelay", 10};
inline constexpr SettingBounds RereadDelayInDialog{1, 60};
inline constexpr IntKey MarkDelay{Main, "MarkDelay", 500};
inline constexpr BoolKey English{Main, "English", true};
// Takes effect at the next start.
inline constexpr IntKey ViewBufferSize{Main, "ViewBufferSize", 1000};
inline constexpr SettingBounds ViewBufferSizeAtStart{10, 4000};
inline constexpr SettingBounds ViewBufferSizeInDialog{100, 4000};
// 1 is the rich view, anything else the plain view; written as 1 or 0.
inline constexpr IntKey RichView{Main, "RichView", 1};
inline constexpr IntKey CharSet{Main, "CharSet", 204};
// At start a value outside the list of groups becomes 0 ("All").
inline constexpr IntKey FilterIndex{Main, "FilterIndex", 0};
inline constexpr BoolKey LastExitIsGood{Main, "LastExitIsGood", false};
inline constexpr TextKey CopyFolder{Main, "copy", ""};
// Written for the record, never read back.
inline constexpr TextKey FindText{Main, "find", ""};
// Desktop notifications of new messages while the window is not in front,
// and the tray icon with the count of unread messages.
inline constexpr BoolKey Notify{Main, "Notify", true};
inline constexpr BoolKey TrayIcon{Main, "TrayIcon", true};

// Section Colors: red in the lowest byte, green in the next, blue in the third.
inline constexpr IntKey CaptionColor{Colors, "Caption", 32768};
inline constexpr IntKey KeyWordColor{Colors, "KeyWord", 16711680};
inline constexpr IntKey HighLightColor{Colors, "HighLight", 255};
// A word list (WordListText / SplitWordList).
inline constexpr TextKey HighLightWords{Colors, "HighLightWords", ""};

// Section DDE.
inline constexpr TextKey Service{Dde, "Service", "ZEVA"};

// Section Frame: the main window's geometry.
inline constexpr IntKey FrameX{Frame, "X", 0};
inline constexpr IntKey FrameY{Frame, "Y", 0};
inline constexpr IntKey FrameW{Frame, "W", 400};
inline constexpr IntKey FrameH{Frame, "H", 200};
// Percent of the height given to the list; see NormalizeFrameSplit.
inline constexpr IntKey FrameSplit{Frame, "Split", 20};

// Font sections. The defaults are those of the reader named; the options
// dialog shows OptionsFontDefault and OptionsSizeDefault for a missing key
// (ListFont.WithDefault(OptionsFontDefault) and so on).
inline constexpr std::string_view OptionsFontDefault = "System";
inline constexpr int OptionsSizeDefault = 10;
inline constexpr TextKey ListFont{List, "Font", "System"};
inline constexpr IntKey ListSize{List, "Size", 10};
inline constexpr TextKey ViewFont{View, "Font", "System"};
inline constexpr IntKey ViewSize{View, "Size", 10};
inline constexpr TextKey PrinterFont{Printer, "Font", "Courier New"};
inline constexpr IntKey PrinterSize{Printer, "Size", 12};
inline constexpr IntKey PrinterCharSet{Printer, "CharSet", 204};
inline constexpr TextKey EditorFont{Editor, "Font", "System"};
inline constexpr IntKey EditorSize{Editor, "Size", 20};

// Section Editor also holds the editor window's geometry.
inline constexpr IntKey EditorX{Editor, "X", 0};
inline constexpr IntKey EditorY{Editor, "Y", 0};
inline constexpr IntKey EditorW{Editor, "W", 400};
inline constexpr IntKey EditorH{Editor, "H", 200};

// Section Find: the search dialog.
inline constexpr IntKey FindX{Find, "X", 0};
inline constexpr IntKey FindY{Find, "Y", 0};
inline constexpr TextKey FindPattern{Find, "Pattern", ""};
inline constexpr BoolKey FindWordOnly{Find, "WordOnly", true};
inline constexpr BoolKey FindCaseSensitive{Find, "CaseSensitive", true};
inline constexpr BoolKey FindUp{Find, "Up", true};
inline constexpr int FindHistoryCount = 5;

// Section Filters: one line per group (name, masks joined by ";", keywords).
inline constexpr int FilterGroupCount = 16;

// Keys "0".."4" of Find: the most recent patterns, newest first. An index
// outside 0..FindHistoryCount-1 gives key "0".
TextKey FindHistory(int index);
// Keys "0".."15" of Filters. An index outside 0..FilterGroupCount-1 gives key "0".
TextKey FilterGroup(int index);

} // namespace keys

// Typed access on a file held open by the caller. Writes change the copy in
// memory; IniFile::Save puts them on disk.
std::string Read(const IniFile& ini, const TextKey& key);
int Read(const IniFile& ini, const IntKey& key);
bool Read(const IniFile& ini, const BoolKey& key);
// The integer passed through ClampSetting.
int ReadClamped(const IniFile& ini, const IntKey& key, SettingBounds bounds);
void Write(IniFile& ini, const TextKey& key, std::string_view value);
void Write(IniFile& ini, const IntKey& key, int value);
void Write(IniFile& ini, const BoolKey& key, bool value);

// One-shot access: open the file, read or write one key, close it. Writes
// return false when the file could not be replaced (nothing is lost then).
std::string ReadSetting(const std::string& file, const TextKey& key);
int ReadSetting(const std::string& file, const IntKey& key);
bool ReadSetting(const std::string& file, const BoolKey& key);
bool WriteSetting(const std::string& file, const TextKey& key, std::string_view value);
bool WriteSetting(const std::string& file, const IntKey& key, int value);
bool WriteSetting(const std::string& file, const BoolKey& key, bool value);

// Frame/Split as stored: 0 or less becomes 20, above 100 becomes 80.
int NormalizeFrameSplit(int percent);
// The archive root from the stored Path: a trailing "/" is added when missing,
// so an empty Path gives "/".
std::string ArchiveRootFrom(std::string_view path);

} // namespace varnot
