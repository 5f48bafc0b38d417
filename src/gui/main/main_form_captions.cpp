// The interface language, the command states and the status line.
#include "gui/main/main_form.h"

#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "core/archive/file_panel.h"
#include "core/main/status_line.h"
#include "core/text/code_pages.h"
#include "gui/app/lang.h"
#include "gui/app/qt_translations.h"
#include "gui/app/text_bytes.h"
#include "gui/main/captions.h"
#include "gui/main/editor_commands.h"
#include "gui/main/main_frame.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_view.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

namespace varnot {

void TMainform::ApplyCaptions() {
    ApplyToolkitLanguage();
    for (const TCaption& caption : MainCaptions()) {
        QObject* control = objectName() == caption.control ? static_cast<QObject*>(this)
                                                           : findChild<QObject*>(caption.control);
        ApplyCaption(control, caption);
    }
    editorCommands_->ApplyCaptions();
}

void TMainform::LanguageItemClick() {
    English = !English;
    settings_.english = English;
    ApplyCaptions();
    UpdateStatusLine();
    // Captions set outside the table follow at once too.
    ApplyWordWrapState();
    // A failed write leaves the language switched for this run only.
    WriteSetting(SettingsFile(), keys::English, English);
}

void TMainform::CheckButtons() {
    const TMainFrame& f = *frame_;
    // Until the list of a new archive root has landed, no file command may
    // act on records that are not those of the root in use.
    const bool hasMessages = ShownCount() != 0 && !Searching() && !scan_->AwaitingNewRoot();
    // Find next repeats the last search and names its text.
    const bool findNext = hasMessages && !searchKeys_.empty();
    const QString searched = findNext ? FromCp1251(searchText_) : QString();
    f.FindNextButton->setEnabled(findNext);
    f.FindNextButton->setToolTip(Lang("Повторить поиск ", "Find next ") + searched);
    f.FindNextItem->setEnabled(findNext);
    f.FindNextItem->setText(Lang("По&вторить поиск ", "Find &next ") + searched);
    // The tool buttons of the file commands are written only when the state
    // changes, so that another command's own enabling lasts until then.
    if (hasMessages != commandsEnabled_) {
        for (QToolButton* button : {f.MoveButton, f.CopyButton, f.DeleteButton, f.FindButton,
                                    f.AddButton, f.ShowEditorButton, f.UnshineButton, f.ShineButton,
                                    f.ExportButton, f.WordButton, f.PrintButton})
            button->setEnabled(hasMessages);
        commandsEnabled_ = hasMessages;
    }
    // The arrows; row 0 is the newest message.
    const int row = CurrentRow();
    const int rows = listModel_->rowCount();
    f.LastButton->setEnabled(row > 0);
    f.NextButton->setEnabled(row > 0);
    f.PrevButton->setEnabled(row < rows - 1);
    f.FirstButton->setEnabled(row < rows - 1);
    // The menu commands also need the window active; likewise written on change only.
    const bool menuReady = hasMessages && isActiveWindow();
    if (menuReady != menuEnabled_) {
        for (QAction* item :
             {f.CopyItem, f.MoveItem, f.DeleteItem, f.FindItem, f.SelectUnselectItem, f.InvertItem,
              f.SelectallItem, f.UnSelectAllItem, f.SelectItem, f.UnselectItem, f.AddItem,
              f.ShowEditorItem, f.ExportItem, f.PrintItem, f.ExportWordItem})
            item->setEnabled(menuReady);
        f.WordButton->setEnabled(menuReady);
        menuEnabled_ = menuReady;
    }
    ShowPosition(row);
    UpdateStatusLine();
}

void TMainform::ShowPosition(int row) {
    frame_->RereadButton->setText(QString::number(row + 1) + ':' + QString::number(ShownCount()));
}

void TMainform::UpdateStatusLine() {
    QFont font = frame_->HintLabel->font();
    font.setPointSize(10);
    frame_->HintLabel->setFont(font);
    QPalette palette = frame_->HintLabel->palette();
    const CList& current = panel_->Current();
    if (current.SelCount != 0) {
        palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
        frame_->HintLabel->setText(FromCp1251(SelectionTotalsText(
            current.SelSize, current.SelCount, ToCp1251(Lang(" Кб в ", " Kb in ")),
            ToCp1251(Lang(" выбранных файлах", " selected files")))));
    } else if (!scan_->LastNewFile().empty()) {
        palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
        frame_->HintLabel->setText(FromCp1251(scan_->NewMessageNotice()));
    } else {
        palette.setColor(QPalette::WindowText, QColor(0, 0, 0));
        if (ShownCount() >= 1) {
            if (const TFileInfo* record = panel_->RecordAtRow(CurrentRow())) {
                const QString name =
                    settings_.showFileName ? QString() : FromCp1251(record->FileName());
                frame_->HintLabel->setText(
                    name + "     " + QString::number(CountTextLines(frame_->View->RichText())) +
                    Lang("  строк  ", "  lines  ") + QString::number(record->Size) +
                    Lang(" байт", " bytes"));
            }
        }
    }
    frame_->HintLabel->setPalette(palette);
}

} // namespace varnot
