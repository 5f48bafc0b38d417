// The options dialog seen from the main window: the values it opens with,
// and what the window does after OK or an Apply button.
#include "gui/main/main_form.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "core/archive/file_panel.h"
#include "core/text/code_pages.h"
#include "gui/app/options_dlg.h"
#include "gui/app/text_bytes.h"
#include "gui/main/editor_commands.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_list_view.h"
#include "gui/main/message_view.h"

#include <QComboBox>

namespace varnot {

TOptionsValues TMainform::OptionsInEffect() const {
    // The dialog itself shows the fonts and program paths as stored.
    TOptionsValues values = settings_;
    values.viewBufferSize = panel_->Current().Capacity();
    return MendOptionsValues(std::move(values));
}

void TMainform::ShowOptions(TOptionsMode mode) {
    const TOptionsResult result = varnot::ShowOptions(
        this, mode, OptionsInEffect(), [this](const TOptionsLook& look) { ApplyLook(look); });
    if (!result.accepted) return;
    for (const TOptionsEffect effect : result.effects) {
        switch (effect) {
        case TOptionsEffect::RestartNotice:
            // The dialog has told the operator; the capacity counts from the next start.
            break;
        case TOptionsEffect::KeepValues: {
            const bool rootChanged = result.values.archiveRoot != settings_.archiveRoot;
            settings_ = AcceptedValues(settings_, result.values);
            RefreshScanSettings();
            if (rootChanged) ArchiveRootChanged();
            break;
        }
        case TOptionsEffect::ReloadBriefs: {
            // Every brief, also those of messages the filter hides now: they
            // would otherwise come back in the old code page.
            CList& current = panel_->Current();
            for (int position = 0; position < current.Used; ++position)
                current.RecordAt(position).Head.reset();
            RepaintList();
            // The message on display is read again in the new code page.
            lastShownPath_.clear();
            FileClick();
            break;
        }
        case TOptionsEffect::RematchAll:
            panel_->Refilter = true;
            break;
        case TOptionsEffect::ApplyLook:
            ApplyLook(result.look);
            break;
        case TOptionsEffect::Rescan:
            scan_->ReRead(TReReadMode::AnnounceNew);
            break;
        }
    }
}

void TMainform::ArchiveRootChanged() {
    // Nothing of the old archive stays on display; the rescan that OK asks
    // for fills the list from the new one.
    lastShownPath_.clear();
    frame_->View->Clear();
    scan_->ArchiveRootChanged();
    DropDateCombo();
    frame_->DateComboBox->setCurrentIndex(0);
    CheckButtons();
}

void TMainform::ApplyLook(const TOptionsLook& look) {
    // The character set is stored and shown only: fonts are Unicode on this platform.
    settings_ = WithLook(settings_, look);
    frame_->View->SetViewFont(FromCp1251(look.view.font), look.view.size);
    editorCommands_->ApplyEditorFont(look.editor);
    RefreshViewWords();
    const QFont listFont = ViewFontFor(FromCp1251(look.list.font), look.list.size);
    frame_->FileGrid->setFont(listFont);
    listModel_->SetListFont(listFont);
    // Row height and column widths follow the list font.
    FormResize();
    RepaintList();
}

} // namespace varnot
