#include "core/main/find_settings.h"

#include "core/app/settings_keys.h"
#include "core/text/code_pages.h"

namespace varnot {

FindSettings ReadFindSettings(const IniFile& ini) {
    FindSettings settings;
    settings.x = Read(ini, keys::FindX);
    settings.y = Read(ini, keys::FindY);
    settings.pattern = Read(ini, keys::FindPattern);
    settings.flags.wholeWord = Read(ini, keys::FindWordOnly);
    settings.flags.caseSensitive = Read(ini, keys::FindCaseSensitive);
    settings.flags.direction =
        Read(ini, keys::FindUp) ? SearchDirection::Up : SearchDirection::Down;
    for (int i = 0; i < keys::FindHistoryCount; ++i) {
        std::string text = Read(ini, keys::FindHistory(i));
        if (!text.empty()) settings.history.push_back(std::move(text));
    }
    return settings;
}

void WriteFindSettings(IniFile& ini, const FindSettings& settings) {
    for (int i = 0; i < keys::FindHistoryCount; ++i) {
        const std::size_t at = static_cast<std::size_t>(i);
        Write(ini, keys::FindHistory(i),
              at < settings.history.size() ? settings.history[at] : std::string());
    }
    Write(ini, keys::FindX, settings.x);
    Write(ini, keys::FindY, settings.y);
    Write(ini, keys::FindPattern, settings.pattern);
    Write(ini, keys::FindWordOnly, settings.flags.wholeWord);
    Write(ini, keys::FindCaseSensitive, settings.flags.caseSensitive);
    Write(ini, keys::FindUp, settings.flags.direction == SearchDirection::Up);
}

std::vector<std::string> AddToFindHistory(std::vector<std::string> history, std::string_view text) {
    if (text.empty() || (!history.empty() && history.front() == text)) return history;
    history.insert(history.begin(), std::string(text));
    if (history.size() > static_cast<std::size_t>(keys::FindHistoryCount))
        history.resize(keys::FindHistoryCount);
    return history;
}

std::vector<std::string> SearchKeysOf(std::string_view text) {
    if (text.empty()) return {};
    return {Upcase1251(text)};
}

} // namespace varnot
