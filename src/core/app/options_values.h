#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/ini_file.h"

namespace varnot {

// The step and bounds of one spin field of the options dialog.
struct TSpinBounds {
    int step;
    int minimum;
    int maximum;
};

namespace spin {
inline constexpr TSpinBounds BufferSize{100, 100, 4000};
inline constexpr TSpinBounds RereadDelay{1, 1, 60};
inline constexpr TSpinBounds MarkDelay{100, 0, 30000};
inline constexpr TSpinBounds AutoShowDelay{1, 1, 60};
inline constexpr TSpinBounds FontSize{1, 6, 90};
} // namespace spin

// One click of a spin button. Up adds the step and then jumps to the maximum
// when one more step would pass it (3850 goes to 4000 with step 100), so the
// maximum is always reachable; down subtracts the step and stops at the minimum.
int SpinValue(int value, TSpinBounds bounds, bool up);

// The character sets offered by name, with the number stored for each.
struct TCharSetName {
    std::string_view name;
    int value;
};
extern const std::array<TCharSetName, 18> CharSetNames;
// The number of a named character set; 0 for a name not in the list.
int CharSetValue(std::string_view name);
// The name of a character set number; empty when the list has none.
std::string_view CharSetNameOf(int value);

// A font row of the options dialog: a family name (code page 1251) and a size in points.
struct TFontSetting {
    std::string font = "System";
    int size = 10;

    bool operator==(const TFontSetting&) const = default;
};

// Colours are 0x00BBGGRR; anything outside that is not a colour.
inline bool IsColourValue(int value) {
    return value >= 0 && value <= 0xFFFFFF;
}

// The settings the program keeps in effect, read once at start-up: what the
// options dialog shows and stores, and the switches the window keeps outside
// it. Texts are bytes as the settings file holds them. The scanner's options
// and the view's look are derived from this value, never copied field by field.
struct TOptionsValues {
    int viewBufferSize = 1000; // the capacity in effect when shown
    bool deleteAutomatically = true;
    int rereadDelay = 10; // minutes
    int markDelay = 500;  // milliseconds
    bool inDOS = false;
    bool autoShow = true;
    int autoShowDelay = 5; // minutes
    TFontSetting printer;
    TFontSetting list;
    TFontSetting view;
    TFontSetting editor;
    int charSet = 204; // stored and shown; fonts are Unicode here
    bool insertDataTimeWhenPrinting = true;
    bool insertDataTimeWhenExporting = true;
    std::string wordExe;
    std::string notePadExe;
    std::string archiveRoot = "/"; // always ends with "/"
    int captionColour = 32768;
    int keyWordColour = 16711680;
    int highLightColour = 255;
    std::vector<std::string> highLightWords;

    // Kept by the window outside the dialog.
    bool inZEV = false;
    bool autoPrint = false;
    bool showFileName = false;
    bool wordWrap = false; // only read when inZEV is on
    bool richView = true;
    bool english = true;
    std::string service = "ZEVA"; // the announce service's name as stored, not yet reduced
    int filterIndex = 0;          // the operator's last filter choice
    bool notify = true;           // desktop notifications of new messages
    bool trayIcon = true;         // the tray icon with the unread count

    bool operator==(const TOptionsValues&) const = default;
};

// What the Apply buttons (and OK) put into effect: the screen fonts, the
// character set, the three colours and the highlight words.
struct TOptionsLook {
    TFontSetting list;
    TFontSetting view;
    TFontSetting editor;
    int charSet = 204;
    int captionColour = 32768;
    int keyWordColour = 16711680;
    int highLightColour = 255;
    std::vector<std::string> highLightWords;

    bool operator==(const TOptionsLook&) const = default;
};

// The look part of the values, and the values with another look in effect.
TOptionsLook LookOf(const TOptionsValues& values);
TOptionsValues WithLook(TOptionsValues values, const TOptionsLook& look);

// The values in effect after the dialog's OK stored `accepted`: everything it
// stored except the list capacity, which counts from the next start.
TOptionsValues AcceptedValues(const TOptionsValues& inEffect, TOptionsValues accepted);

// A stored font size: a number as it stands (the size field shows what it
// can of it), anything else gives `def`.
int FontSizeFrom(std::string_view text, int def);

// Values a hand-edited settings file or a stale caller can get wrong are put
// back into what the dialog can show: the two delays in minutes inside their
// fields, a colour that is not one becomes the key's default, an empty font
// name "System", a character set outside 0..255 the default, the archive root
// ending with "/", highlight words without blanks or empty words. MarkDelay
// and the font sizes have no bounds: they stay as they are, so that OK
// stores them unchanged unless the operator changed their fields.
TOptionsValues MendOptionsValues(TOptionsValues values);

// The values as the program reads them at start-up: the list capacity and
// AutoShowDelay within their start-up bounds, word wrap only for sectioned
// messages, everything else as stored; the fonts with the dialog's own
// defaults ("System", 10). Nothing else is mended.
TOptionsValues ReadSettingsValues(const IniFile& ini);

// The values as the dialog shows them: ReadSettingsValues, mended.
TOptionsValues ReadOptionsValues(const IniFile& ini);

// The numbers as OK stores them: ViewBufferSize ClampSetting 100..4000,
// RereadDelay 1..60, AutoShowDelay 0..60; MarkDelay unbounded.
TOptionsValues BoundForStoring(TOptionsValues values);

// Writes every value in the order OK stores them (the caller saves the file).
// The values should have passed BoundForStoring.
void WriteOptionsValues(IniFile& ini, const TOptionsValues& values);

// Highlight words from the lines of the words box: each line split at blanks
// and tabs, empty words dropped, so a word never holds a blank.
std::vector<std::string> HighLightWordsFromLines(const std::vector<std::string>& lines);

} // namespace varnot
