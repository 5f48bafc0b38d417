// The message view: showing the message of the current row, the rich or
// plain view, word wrap, fonts and the coloured words.
#include "gui/main/main_form.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "core/archive/file_panel.h"
#include "core/archive/message_text.h"
#include "core/text/code_pages.h"
#include "gui/app/lang.h"
#include "gui/app/text_bytes.h"
#include "gui/main/list_controller.h"
#include "gui/main/main_frame.h"
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
    scan_->MarkReadCheck(row);
    const TFileInfo* record = panel_->RecordAtRow(row);
    if (record == nullptr) return;
    scan_->MessageShown(record->Name());
    const std::string path = DiskPath(settings_.archiveRoot, *record);
    if (path != lastShownPath_ || settings_.inDOS != lastShownInDOS_) {
        lastShownPath_ = path;
        lastShownInDOS_ = settings_.inDOS;
        // A file that is not a text message is not shown; its own program opens it.
        if (IsTextMessage(path))
            frame_->View->ShowTxtFile(path, archive_);
        else
            frame_->View->Clear();
    }
    ShowDayOfCurrentRow();
    CheckButtons();
    list_->ViewPort();
}

void TMainform::RichView_CheckClick() {
    // The item has toggled its own check mark; the text in both views is current.
    const bool rich = frame_->RichView_Check->isChecked();
    settings_.richView = rich;
    WriteSetting(SettingsFile(), keys::RichView, rich ? 1 : 0);
    frame_->View->SetRichView(rich);
}

void TMainform::ApplyWordWrapState() {
    // Only sectioned messages offer word wrap; other messages never wrap.
    const bool inZEV = settings_.inZEV;
    frame_->WrapButton->setVisible(inZEV);
    frame_->WordWrapItem->setVisible(inZEV);
    frame_->WordWrapItem->setEnabled(inZEV);
    frame_->WordWrapSeparator->setVisible(inZEV);
    if (!inZEV) return;
    const bool wrap = settings_.wordWrap;
    frame_->View->SetWordWrap(wrap);
    frame_->WordWrapItem->setChecked(wrap);
    frame_->WrapButton->setChecked(!wrap);
    // The hint names what pressing the button would do.
    frame_->WrapButton->setToolTip(wrap ? Lang("Не переносить строки", "not wrap")
                                        : Lang("Переносить строки", "wrap"));
}

void TMainform::ToggleWordWrap() {
    if (!settings_.inZEV) return;
    settings_.wordWrap = !frame_->View->WordWrap();
    WriteSetting(SettingsFile(), keys::WordWrap, settings_.wordWrap);
    ApplyWordWrapState();
}

void TMainform::LoadFonts() {
    // Font names are stored in code page 1251, like every text of the file.
    QFont listFont = ViewFontFor(FromCp1251(settings_.list.font), settings_.list.size);
    frame_->FileGrid->setFont(listFont);
    listModel_->SetListFont(listFont);
    LayoutList();
    frame_->View->SetViewFont(FromCp1251(settings_.view.font), settings_.view.size);
}

void TMainform::RefreshViewWords() {
    if (!scan_) return;
    frame_->View->SetColours(settings_.captionColour, settings_.keyWordColour,
                             settings_.highLightColour);
    frame_->View->SetKeywords(scan_->Filter.keywords);
    frame_->View->SetHighLightWords(settings_.highLightWords);
    frame_->View->ColourMessage();
}

} // namespace varnot
