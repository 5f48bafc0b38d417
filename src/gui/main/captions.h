#pragma once

#include <span>

class QObject;

namespace varnot {

// Which text of a control a caption sets.
enum class TCaptionProperty {
    WindowTitle, // the window's title
    Caption,     // the text of a menu or menu item
    Hint,        // the tool tip of a button, image or box
};

// One entry of the main window's caption table: the control's object name,
// the property, and the Russian and English texts (UTF-8).
struct TCaption {
    const char* control;
    TCaptionProperty property;
    const char* russian;
    const char* english;
};

// The main window's captions and hints in the order they are set.
std::span<const TCaption> MainCaptions();

// Sets one caption on a control (window, menu, action or widget) in the
// current language.
void ApplyCaption(QObject* control, const TCaption& caption);

} // namespace varnot
