#pragma once

#include <QIcon>
#include <QString>

namespace varnot {

// The pictures of the tool bar and the status panel.
enum class TToolIcon {
    Copy,
    Move,
    Delete,
    Find,
    FindNext,
    Print,
    Shine,
    Unshine,
    Export,
    Word,
    Options,
    Filter,
    Add,
    ShowEditor,
    Wrap,
    Last,
    Next,
    Prev,
    First,
    // The built-in editor's own buttons.
    Clear,
    Open,
    SaveAs,
    Undo,
    Cut,
    Paste,
    SelectAll,
    Replace,
    MainWindow,
};

// The desktop icon theme's picture for the button, or, where the theme has
// none, one the program draws itself.
QIcon ToolIcon(TToolIcon kind);
// The program's own picture (the window icon and AppImage): a tower.
QIcon TowerIcon();

} // namespace varnot
