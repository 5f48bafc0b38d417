// The options dialog seen from the main window: the values it opens with,
// and what the window does after OK or an Apply button.
#include "gui/main/main_form.h"

#include "core/app/ini_file.h"
#include "core/app/program_paths.h"
#include "core/text/code_pages.h"
#include "gui/app/options_dlg.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_list_view.h"
#include "gui/main/message_view.h"

#include <QComboBox>

namespace varnot {

namespace {

QString FromBytes(std::string_view bytes) {
    return QString::fromStdU16String(Cp1251ToUtf16(bytes));
}

} // namespace

TOptionsValues TMainform::OptionsInEffect() const {
    // Fonts and program paths as stored; everything else as this run uses it.
    TOptionsValues values = ReadOptionsValues(IniFile(SettingsFile()));
    values.viewBufferSize = Panel->Current().Capacity();
    values.deleteAutomaticly = DeleteAutomaticly;
    values.rereadDelay = RereadDelay;
    values.markDelay = MarkDelay;
    values.inDOS = InDOS;
    values.autoShow = AutoShow;
    values.autoShowDelay = AutoShowDelay;
    values.charSet = CharSet;
    values.insertDataTimeWhenPrinting = InsertDataTimeWhenPrinting;
    values.insertDataTimeWhenExporting = InsertDataTimeWhenExporting;
    values.archiveRoot = ArchiveRoot;
    values.captionColor = CaptionColor;
    values.keyWordColor = KeyWordColor;
    values.highLightColor = HighLightColor;
    values.highLightWords = HighLightWordList;
    return MendOptionsValues(std::move(values));
}

void TMainform::ShowOptions(int mode) {
    const TOptionsResult result = varnot::ShowOptions(
        this, mode, OptionsInEffect(), [this](const TOptionsLook& look) { ApplyLook(look); });
    if (!result.accepted) return;
    const TOptionsValues& values = result.values;
    for (const TOptionsEffect effect : result.effects) {
        switch (effect) {
        case TOptionsEffect::RestartNotice:
            // The dialog has told the operator; the capacity counts from the next start.
            break;
        case TOptionsEffect::KeepValues: {
            const bool rootChanged = values.archiveRoot != ArchiveRoot;
            DeleteAutomaticly = values.deleteAutomaticly;
            RereadDelay = values.rereadDelay;
            MarkDelay = values.markDelay;
            InDOS = values.inDOS;
            AutoShow = values.autoShow;
            AutoShowDelay = values.autoShowDelay;
            InsertDataTimeWhenPrinting = values.insertDataTimeWhenPrinting;
            InsertDataTimeWhenExporting = values.insertDataTimeWhenExporting;
            WordExe = values.wordExe;
            NotePadExe = values.notePadExe;
            ArchiveRoot = values.archiveRoot;
            RefreshScanSettings();
            if (rootChanged) ArchiveRootChanged();
            break;
        }
        case TOptionsEffect::ReloadBriefs: {
            // Every brief, also those of messages the filter hides now: they
            // would otherwise come back in the old code page.
            CList& current = Panel->Current();
            for (int position = 0; position < current.Used; ++position)
                current.RecordAt(position).Head.reset();
            RepaintList();
            // The message on display is read again in the new code page.
            LastShownPath.clear();
            FileClick();
            break;
        }
        case TOptionsEffect::RematchAll:
            Panel->Refilter = true;
            break;
        case TOptionsEffect::ApplyLook:
            ApplyLook(result.look);
            break;
        case TOptionsEffect::Rescan:
            Scan->ReRead(1);
            break;
        }
    }
}

void TMainform::ArchiveRootChanged() {
    // Nothing of the old archive stays on display; the rescan that OK asks
    // for fills the list from the new one.
    LastShownPath.clear();
    View->Clear();
    Scan->ArchiveRootChanged();
    DropDateCombo();
    DateComboBox->setCurrentIndex(0);
    CheckButtons();
}

void TMainform::ApplyLook(const TOptionsLook& look) {
    HighLightWordList = look.highLightWords;
    CaptionColor = look.captionColor;
    KeyWordColor = look.keyWordColor;
    HighLightColor = look.highLightColor;
    View->SetViewFont(FromBytes(look.view.font), look.view.size);
    // Stored and shown only: fonts are Unicode on this platform.
    CharSet = look.charSet;
    RefreshViewWords();
    const QFont listFont = ViewFontFor(FromBytes(look.list.font), look.list.size);
    FileGrid->setFont(listFont);
    ListModel->SetListFont(listFont);
    // Row height and column widths follow the list font.
    FormResize();
    RepaintList();
}

} // namespace varnot
