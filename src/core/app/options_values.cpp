#include "core/app/options_values.h"

#include <algorithm>

#include "core/app/settings_keys.h"

namespace varnot {

int SpinValue(int value, TSpinBounds bounds, bool up) {
    // Wide arithmetic: the field may hold any int a caller put there.
    long long v = value;
    if (up) {
        v += bounds.step;
        if (v + bounds.step > bounds.maximum) v = bounds.maximum;
    } else {
        v -= bounds.step;
        if (v < bounds.minimum) v = bounds.minimum;
    }
    return static_cast<int>(v);
}

const std::array<TCharSetName, 18> CharSetNames = {{
    {"ANSI_CHARSET", 0},
    {"DEFAULT_CHARSET", 1},
    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128},
    {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},
    {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162},
    {"HEBREW_CHARSET", 177},
    {"ARABIC_CHARSET", 178},
    {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},
    {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
}};

int CharSetValue(std::string_view name) {
    for (const auto& entry : CharSetNames)
        if (entry.name == name) return entry.value;
    return 0;
}

std::string_view CharSetNameOf(int value) {
    for (const auto& entry : CharSetNames)
        if (entry.value == value) return entry.name;
    return {};
}

TOptionsLook LookOf(const TOptionsValues& values) {
    TOptionsLook look;
    look.list = values.list;
    look.view = values.view;
    look.editor = values.editor;
    look.charSet = values.charSet;
    look.captionColour = values.captionColour;
    look.keyWordColour = values.keyWordColour;
    look.highLightColour = values.highLightColour;
    look.highLightWords = values.highLightWords;
    return look;
}

TOptionsValues WithLook(TOptionsValues values, const TOptionsLook& look) {
    values.list = look.list;
    values.view = look.view;
    values.editor = look.editor;
    values.charSet = look.charSet;
    values.captionColour = look.captionColour;
    values.keyWordColour = look.keyWordColour;
    values.highLightColour = look.highLightColour;
    values.highLightWords = look.highLightWords;
    return values;
}

TOptionsValues AcceptedValues(const TOptionsValues& inEffect, TOptionsValues accepted) {
    accepted.viewBufferSize = inEffect.viewBufferSize;
    return accepted;
}

int FontSizeFrom(std::string_view text, int def) {
    const auto number = ParseInteger(text);
    return number ? *number : def;
}

namespace {

int Inside(int value, TSpinBounds bounds) {
    return std::clamp(value, bounds.minimum, bounds.maximum);
}

void MendFont(TFontSetting& font) {
    const bool blank = font.font.find_first_not_of(" \t") == std::string::npos;
    if (blank) font.font = std::string(keys::OptionsFontDefault);
}

int MendColour(int value, int def) {
    return IsColourValue(value) ? value : def;
}

TFontSetting ReadFont(const IniFile& ini, const TextKey& font, const IntKey& size) {
    TFontSetting result;
    result.font = Read(ini, font.WithDefault(keys::OptionsFontDefault));
    result.size =
        FontSizeFrom(ini.ReadString(size.section, size.key, ""), keys::OptionsSizeDefault);
    return result;
}

} // namespace

TOptionsValues MendOptionsValues(TOptionsValues values) {
    // The capacity in effect may lie below the buffer field's minimum (the
    // start-up bounds allow 1..4000); it is shown as it is so that OK with an
    // untouched field does not ask for a restart.
    values.viewBufferSize = std::clamp(values.viewBufferSize, 1, spin::BufferSize.maximum);
    values.rereadDelay = Inside(values.rereadDelay, spin::RereadDelay);
    values.autoShowDelay = Inside(values.autoShowDelay, spin::AutoShowDelay);
    for (TFontSetting* font : {&values.printer, &values.list, &values.view, &values.editor})
        MendFont(*font);
    if (values.charSet < 0 || values.charSet > 255) values.charSet = keys::CharSet.def;
    values.archiveRoot = ArchiveRootFrom(values.archiveRoot);
    values.captionColour = MendColour(values.captionColour, keys::CaptionColor.def);
    values.keyWordColour = MendColour(values.keyWordColour, keys::KeyWordColor.def);
    values.highLightColour = MendColour(values.highLightColour, keys::HighLightColor.def);
    values.highLightWords = HighLightWordsFromLines(values.highLightWords);
    return values;
}

TOptionsValues ReadSettingsValues(const IniFile& ini) {
    TOptionsValues v;
    v.viewBufferSize = ReadClamped(ini, keys::ViewBufferSize, keys::ViewBufferSizeAtStart);
    v.deleteAutomatically = Read(ini, keys::DeleteAutomaticly);
    v.rereadDelay = Read(ini, keys::RereadDelay);
    v.markDelay = Read(ini, keys::MarkDelay);
    v.inDOS = Read(ini, keys::InDOS);
    v.autoShow = Read(ini, keys::AutoShow);
    v.autoShowDelay = ReadClamped(ini, keys::AutoShowDelay, keys::AutoShowDelayAtStart);
    v.printer = ReadFont(ini, keys::PrinterFont, keys::PrinterSize);
    v.list = ReadFont(ini, keys::ListFont, keys::ListSize);
    v.view = ReadFont(ini, keys::ViewFont, keys::ViewSize);
    v.editor = ReadFont(ini, keys::EditorFont, keys::EditorSize);
    v.charSet = Read(ini, keys::CharSet);
    v.insertDataTimeWhenPrinting = Read(ini, keys::InsertDataTimeWhenPrinting);
    v.insertDataTimeWhenExporting = Read(ini, keys::InsertDataTimeWhenExporting);
    v.wordExe = Read(ini, keys::WordExe);
    v.notePadExe = Read(ini, keys::NotePadExe);
    v.archiveRoot = ArchiveRootFrom(Read(ini, keys::Path));
    v.captionColour = Read(ini, keys::CaptionColor);
    v.keyWordColour = Read(ini, keys::KeyWordColor);
    v.highLightColour = Read(ini, keys::HighLightColor);
    v.highLightWords = SplitWordList(Read(ini, keys::HighLightWords));
    v.inZEV = Read(ini, keys::InZEV);
    v.autoPrint = Read(ini, keys::AutoPrint);
    v.showFileName = Read(ini, keys::ShowFileName);
    // Word wrap belongs to the sectioned message format.
    if (v.inZEV) v.wordWrap = Read(ini, keys::WordWrap);
    v.richView = Read(ini, keys::RichView) == 1;
    v.english = Read(ini, keys::English);
    v.service = Read(ini, keys::Service);
    v.filterIndex = Read(ini, keys::FilterIndex);
    v.notify = Read(ini, keys::Notify);
    v.trayIcon = Read(ini, keys::TrayIcon);
    return v;
}

TOptionsValues ReadOptionsValues(const IniFile& ini) {
    return MendOptionsValues(ReadSettingsValues(ini));
}

TOptionsValues BoundForStoring(TOptionsValues values) {
    ClampSetting(values.viewBufferSize, keys::ViewBufferSizeInDialog.lower,
                 keys::ViewBufferSizeInDialog.upper);
    ClampSetting(values.rereadDelay, keys::RereadDelayInDialog.lower,
                 keys::RereadDelayInDialog.upper);
    ClampSetting(values.autoShowDelay, keys::AutoShowDelayInDialog.lower,
                 keys::AutoShowDelayInDialog.upper);
    values.archiveRoot = ArchiveRootFrom(values.archiveRoot);
    return values;
}

void WriteOptionsValues(IniFile& ini, const TOptionsValues& v) {
    Write(ini, keys::ViewBufferSize, v.viewBufferSize);
    Write(ini, keys::DeleteAutomaticly, v.deleteAutomatically);
    Write(ini, keys::RereadDelay, v.rereadDelay);
    Write(ini, keys::MarkDelay, v.markDelay);
    Write(ini, keys::InDOS, v.inDOS);
    Write(ini, keys::AutoShow, v.autoShow);
    Write(ini, keys::AutoShowDelay, v.autoShowDelay);
    // Sizes go in as the fields' texts, which is their decimal form.
    const auto writeFont = [&ini](const TextKey& font, const IntKey& size, const TFontSetting& f) {
        Write(ini, font, f.font);
        Write(ini, size, f.size);
    };
    writeFont(keys::PrinterFont, keys::PrinterSize, v.printer);
    writeFont(keys::ListFont, keys::ListSize, v.list);
    writeFont(keys::EditorFont, keys::EditorSize, v.editor);
    writeFont(keys::ViewFont, keys::ViewSize, v.view);
    Write(ini, keys::CharSet, v.charSet);
    Write(ini, keys::InsertDataTimeWhenPrinting, v.insertDataTimeWhenPrinting);
    Write(ini, keys::InsertDataTimeWhenExporting, v.insertDataTimeWhenExporting);
    Write(ini, keys::WordExe, v.wordExe);
    Write(ini, keys::NotePadExe, v.notePadExe);
    Write(ini, keys::Path, ArchiveRootFrom(v.archiveRoot));
    Write(ini, keys::CaptionColor, v.captionColour);
    Write(ini, keys::KeyWordColor, v.keyWordColour);
    Write(ini, keys::HighLightColor, v.highLightColour);
    Write(ini, keys::HighLightWords, WordListText(v.highLightWords));
}

std::vector<std::string> HighLightWordsFromLines(const std::vector<std::string>& lines) {
    std::vector<std::string> words;
    for (const std::string& line : lines) {
        std::size_t at = 0;
        while (at < line.size()) {
            const std::size_t start = line.find_first_not_of(" \t\r\n", at);
            if (start == std::string::npos) break;
            std::size_t end = line.find_first_of(" \t\r\n", start);
            if (end == std::string::npos) end = line.size();
            words.push_back(line.substr(start, end - start));
            at = end;
        }
    }
    return words;
}

} // namespace varnot
