// The message view: showing the message of the current row, the rich or
// plain view, word wrap, fonts and the coloured words.
#include "gui/main/main_form.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "core/archive/code_pages.h"
#include "core/archive/message_text.h"
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
    Scan->MarkReadCheck(row);
    const TFileInfo* record = Panel->RecordAtRow(row);
    if (record == nullptr) return;
    Scan->MessageShown(record->Name());
    const std::string path = DiskPath(settings_.archiveRoot, *record);
    if (path != LastShownPath || settings_.inDOS != LastShownInDOS) {
        LastShownPath = path;
        LastShownInDOS = settings_.inDOS;
        // A file that is not a text message is not shown; its own program opens it.
        if (IsTextMessage(path))
            View->ShowTxtFile(path, archive_);
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
    settings_.richView = rich;
    WriteSetting(SettingsFile(), keys::RichView, rich ? 1 : 0);
    View->SetRichView(rich);
}

void TMainform::ApplyWordWrapState() {
    // Only sectioned messages offer word wrap; other messages never wrap.
    const bool inZEV = settings_.inZEV;
    WrapButton->setVisible(inZEV);
    WordWrapItem->setVisible(inZEV);
    WordWrapItem->setEnabled(inZEV);
    WordWrapSeparator->setVisible(inZEV);
    if (!inZEV) return;
    const bool wrap = settings_.wordWrap;
    View->SetWordWrap(wrap);
    WordWrapItem->setChecked(wrap);
    WrapButton->setChecked(!wrap);
    // The hint names what pressing the button would do.
    WrapButton->setToolTip(wrap ? Lang("Не переносить строки", "not wrap")
                                : Lang("Переносить строки", "wrap"));
}

void TMainform::ToggleWordWrap() {
    if (!settings_.inZEV) return;
    settings_.wordWrap = !View->WordWrap();
    WriteSetting(SettingsFile(), keys::WordWrap, settings_.wordWrap);
    ApplyWordWrapState();
}

void TMainform::LoadFonts() {
    // Font names are stored in code page 1251, like every text of the file.
    auto name = [](const std::string& bytes) {
        return QString::fromStdU16String(Cp1251ToUtf16(bytes));
    };
    QFont listFont = ViewFontFor(name(settings_.list.font), settings_.list.size);
    FileGrid->setFont(listFont);
    ListModel->SetListFont(listFont);
    LayoutList();
    View->SetViewFont(name(settings_.view.font), settings_.view.size);
}

void TMainform::RefreshViewWords() {
    if (!View || !Scan) return;
    View->SetColours(settings_.captionColour, settings_.keyWordColour, settings_.highLightColour);
    View->SetKeywords(Scan->Filter.keywords);
    View->SetHighLightWords(settings_.highLightWords);
    View->ColourMessage();
}

} // namespace varnot
