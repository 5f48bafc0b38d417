// The interface language, the command states and the status line.
#include "gui/main/main_form.h"

#include "core/app/program_paths.h"
#include "core/app/settings_keys.h"
#include "core/archive/code_pages.h"
#include "core/main/status_line.h"
#include "gui/app/lang.h"
#include "gui/main/captions.h"
#include "gui/main/message_list_model.h"
#include "gui/main/message_view.h"

#include <QAction>
#include <QLabel>
#include <QToolButton>

namespace varnot {

namespace {

QString FromBytes(std::string_view bytes) {
    return QString::fromStdU16String(Cp1251ToUtf16(bytes));
}

} // namespace

void TMainform::ApplyCaptions() {
    for (const TCaption& caption : MainCaptions()) {
        QObject* control = objectName() == caption.control ? static_cast<QObject*>(this)
                                                           : findChild<QObject*>(caption.control);
        ApplyCaption(control, caption);
    }
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
    // 1. Until the list of a new archive root has landed, no file command
    // may act on records that are not those of the root in use.
    const bool hasMessages = ShownCount() != 0 && !Searching() && !Scan->AwaitingNewRoot();
    // 2. and 3.
    const bool findNext = hasMessages && !SearchKeys.empty();
    const QString searched = findNext ? FromBytes(SearchText) : QString();
    FindNextButton->setEnabled(findNext);
    FindNextButton->setToolTip(Lang("Повторить поиск ", "Find next ") + searched);
    FindNextItem->setEnabled(findNext);
    FindNextItem->setText(Lang("По&вторить поиск ", "Find &next ") + searched);
    // 4. Written only when the state changes, so that another command's own
    // enabling lasts until then.
    if (hasMessages != commandsEnabled_) {
        for (QToolButton* button :
             {MoveButton, CopyButton, DeleteButton, FindButton, AddButton, ShowEditorButton,
              UnshineButton, ShineButton, ExportButton, WordButton, PrintButton})
            button->setEnabled(hasMessages);
        commandsEnabled_ = hasMessages;
    }
    // 5. Row 0 is the newest message.
    const int row = CurrentRow();
    const int rows = ListModel->rowCount();
    LastButton->setEnabled(row > 0);
    NextButton->setEnabled(row > 0);
    PrevButton->setEnabled(row < rows - 1);
    FirstButton->setEnabled(row < rows - 1);
    // 6. and 7.
    const bool menuReady = hasMessages && isActiveWindow();
    if (menuReady != menuEnabled_) {
        for (QAction* item : {CopyItem, MoveItem, DeleteItem, FindItem, SelectUnselectItem,
                              InvertItem, SelectallItem, UnSelectAllItem, SelectItem, UnselectItem,
                              AddItem, ShowEditorItem, ExportItem, PrintItem, ExportWordItem})
            item->setEnabled(menuReady);
        WordButton->setEnabled(menuReady);
        menuEnabled_ = menuReady;
    }
    // 8.
    ShowPosition(row);
    UpdateStatusLine();
}

void TMainform::ShowPosition(int row) {
    RereadButton->setText(QString::number(row + 1) + ':' + QString::number(ShownCount()));
}

void TMainform::UpdateStatusLine() {
    QFont font = HintLabel->font();
    font.setPointSize(10);
    HintLabel->setFont(font);
    QPalette palette = HintLabel->palette();
    const CList& current = Panel->Current();
    if (current.SelCount != 0) {
        palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
        HintLabel->setText(FromBytes(SelectionTotalsText(
            current.SelSize, current.SelCount,
            Utf16ToCp1251(Lang(" Кб в ", " Kb in ").toStdU16String()),
            Utf16ToCp1251(Lang(" выбранных файлах", " selected files").toStdU16String()))));
    } else if (!Scan->LastNewFile().empty()) {
        palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
        HintLabel->setText(FromBytes(Scan->NewMessageNotice()));
    } else {
        palette.setColor(QPalette::WindowText, QColor(0, 0, 0));
        if (ShownCount() >= 1) {
            if (const TFileInfo* record = Panel->RecordAtRow(CurrentRow())) {
                const QString name =
                    settings_.showFileName ? QString() : FromBytes(record->FileName());
                HintLabel->setText(name + "     " +
                                   QString::number(CountTextLines(View->RichText())) +
                                   Lang("  строк  ", "  lines  ") + QString::number(record->Size) +
                                   Lang(" байт", " bytes"));
            }
        }
    }
    HintLabel->setPalette(palette);
}

} // namespace varnot
