// The message view: showing the message of the current row, the rich or
// plain view, word wrap, fonts and the coloured words.
#include "gui/main/main_form.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "core/archive/message_text.h"
#include "core/text/code_pages.h"
#include "gui/app/lang.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_list_view.h"
#include "gui/main/message_view.h"

#include <QAction>
#include <QToolButton>

namespace varnot {

void TMainform::FileClick() {
    const int row = CurrentRow();
    if (row < 0) return;
    if (ShownCount() == 0) {
        // A list that became empty shows 1:0 and offers no commands at once,
        // not only when the window is next activated.
        CheckButtons();
        return;
    }
    Scan->MarkReadCheck();
    const TFileInfo* record = Panel->RecordAtRow(row);
    if (record == nullptr) return;
    if (record->Name() == Scan->LastNewFile) Scan->LastNewFile.clear();
    const std::string path = DiskPath(ArchiveRoot, *record);
    if (path != LastShownPath || InDOS != LastShownInDOS) {
        LastShownPath = path;
        LastShownInDOS = InDOS;
        // A file that is not a text message is not shown; its own program opens it.
        if (IsTextMessage(path))
            View->ShowTxtFile(path, options_);
        else
            View->Clear();
    }
    ShowDayOfCurrentRow();
    CheckButtons();
    ViewPort();
}

void TMainform::RichView_CheckClick() {
    // The item has toggled its own check mark; the text in both views is current.
    const bool rich = RichView_Check->isChecked();
    WriteSetting(SettingsFile(), keys::RichView, rich ? 1 : 0);
    View->SetRichView(rich);
}

void TMainform::ApplyWordWrapState() {
    // Only sectioned messages offer word wrap; other messages never wrap.
    WrapButton->setVisible(InZEV);
    WordWrapItem->setVisible(InZEV);
    WordWrapItem->setEnabled(InZEV);
    WordWrapSeparator->setVisible(InZEV);
    if (!InZEV) return;
    View->SetWordWrap(WordWrap);
    WordWrapItem->setChecked(WordWrap);
    WrapButton->setChecked(!WordWrap);
    // The hint names what pressing the button would do.
    WrapButton->setToolTip(WordWrap ? Lang("Не переносить строки", "not wrap")
                                    : Lang("Переносить строки", "wrap"));
}

void TMainform::ToggleWordWrap() {
    if (!InZEV) return;
    WordWrap = !View->WordWrap();
    WriteSetting(SettingsFile(), keys::WordWrap, WordWrap);
    ApplyWordWrapState();
}

void TMainform::LoadFonts() {
    const IniFile ini(SettingsFile());
    // Font names are stored in code page 1251, like every text of the file.
    auto name = [](const std::string& bytes) {
        return QString::fromStdU16String(Cp1251ToUtf16(bytes));
    };
    QFont listFont = ViewFontFor(name(Read(ini, keys::ListFont)), Read(ini, keys::ListSize));
    FileGrid->setFont(listFont);
    ListModel->SetListFont(listFont);
    LayoutList();
    View->SetViewFont(name(Read(ini, keys::ViewFont)), Read(ini, keys::ViewSize));
    CharSet = Read(ini, keys::CharSet);
}

void TMainform::RefreshViewWords() {
    if (!View || !Scan) return;
    View->SetColours(CaptionColor, KeyWordColor, HighLightColor);
    View->SetKeywords(Scan->Filter.keywords);
    View->SetHighLightWords(HighLightWordList);
    View->ColourMessage();
}

} // namespace varnot
