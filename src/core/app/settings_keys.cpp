#include "core/app/settings_keys.h"

#include <array>

namespace varnot {

namespace keys {

namespace {
constexpr std::array<std::string_view, 16> kNumberedKeys = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15"};

std::string_view NumberedKey(int index, int count) {
    if (index < 0 || index >= count) index = 0;
    return kNumberedKeys[static_cast<std::size_t>(index)];
}
} // namespace

TextKey FindHistory(int index) {
    return {Find, NumberedKey(index, FindHistoryCount), ""};
}

TextKey FilterGroup(int index) {
    return {Filters, NumberedKey(index, FilterGroupCount), ""};
}

} // namespace keys

std::string Read(const IniFile& ini, const TextKey& key) {
    return ini.ReadString(key.section, key.key, key.def);
}

int Read(const IniFile& ini, const IntKey& key) {
    return ini.ReadInteger(key.section, key.key, key.def);
}

bool Read(const IniFile& ini, const BoolKey& key) {
    return ini.ReadBool(key.section, key.key, key.def);
}

int ReadClamped(const IniFile& ini, const IntKey& key, SettingBounds bounds) {
    int value = Read(ini, key);
    ClampSetting(value, bounds.lower, bounds.upper);
    return value;
}

void Write(IniFile& ini, const TextKey& key, std::string_view value) {
    ini.WriteString(key.section, key.key, value);
}

void Write(IniFile& ini, const IntKey& key, int value) {
    ini.WriteInteger(key.section, key.key, value);
}

void Write(IniFile& ini, const BoolKey& key, bool value) {
    ini.WriteBool(key.section, key.key, value);
}

std::string ReadSetting(const std::string& file, const TextKey& key) {
    return Read(IniFile(file), key);
}

int ReadSetting(const std::string& file, const IntKey& key) {
    return Read(IniFile(file), key);
}

bool ReadSetting(const std::string& file, const BoolKey& key) {
    return Read(IniFile(file), key);
}

bool WriteSetting(const std::string& file, const TextKey& key, std::string_view value) {
    IniFile ini(file);
    Write(ini, key, value);
    return ini.Save();
}

bool WriteSetting(const std::string& file, const IntKey& key, int value) {
    IniFile ini(file);
    Write(ini, key, value);
    return ini.Save();
}

bool WriteSetting(const std::string& file, const BoolKey& key, bool value) {
    IniFile ini(file);
    Write(ini, key, value);
    return ini.Save();
}

int NormalizeFrameSplit(int percent) {
    if (percent <= 0) return 20;
    if (percent > 100) return 80;
    return percent;
}

std::string ArchiveRootFrom(std::string_view path) {
    std::string root(path);
    if (root.empty() || root.back() != '/') root += '/';
    return root;
}

} // namespace varnot
