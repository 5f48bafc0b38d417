#include "gui/main/captions.h"

#include "gui/app/lang.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <array>

namespace varnot {

namespace {

using P = TCaptionProperty;

// "Se&lecе" ends with a Cyrillic letter in the window's design; it is kept
// as designed.
constexpr std::array kCaptions{
    TCaption{"TMainform", P::WindowTitle, "Пеллмар - Новости", "Pellmar NEWS"},
    TCaption{"AppImage", P::Hint, "Дравна башня", "Dravna tower"},
    TCaption{"FileItem", P::Caption, "&Файл", "&File"},
    TCaption{"CopyItem", P::Caption, "&Копировать", "&Copy"},
    TCaption{"MoveItem", P::Caption, "П&ереместить", "&Move"},
    TCaption{"DeleteItem", P::Caption, "&Удалить", "&Delete"},
    TCaption{"ExportItem", P::Caption, "&Экспорт", "&Export"},
    TCaption{"ExportWordItem", P::Caption, "Э&кспорт в Word", "Export to &Word"},
    TCaption{"PrintItem", P::Caption, "&Печать", "&Print"},
    TCaption{"PrinterSetupItem", P::Caption, "&Настройка принтера", "Printer &Setup"},
    TCaption{"OperationsItem", P::Caption, "&Действия", "&Operations"},
    TCaption{"FindItem", P::Caption, "&Найти", "&Find"},
    TCaption{"WordWrapItem", P::Caption, "П&еренос слов", "&Word wrap"},
    TCaption{"FindNextItem", P::Caption, "Найти с&ледующее", "Find &next"},
    TCaption{"SelectUnselectItem", P::Caption, "В&ыделить/Снять", "Se&lecе/Unselect"},
    TCaption{"SelectallItem", P::Caption, "В&ыделить все", "&Select all"},
    TCaption{"UnSelectAllItem", P::Caption, "Сн&ять все", "&Unselect all"},
    TCaption{"SelectItem", P::Caption, "&Выделить", "Sele&ct"},
    TCaption{"SelectPopupItem", P::Caption, "&Выделить все", "Sele&ct all"},
    TCaption{"UnselectItem", P::Caption, "&Снять", "U&nselect"},
    TCaption{"UnselectPopupItem", P::Caption, "&Снять все", "U&nselect all"},
    TCaption{"InvertItem", P::Caption, "&Инвертировать все", "&Invert selection"},
    TCaption{"AddItem", P::Caption, "&Добавить в редактор", "&Add to editor"},
    TCaption{"ShowEditorItem", P::Caption, "&Показать редактор", "Show &editor"},
    TCaption{"RereadItem", P::Caption, "&Обновить", "&Rescan"},
    TCaption{"ViewItem", P::Caption, "&Вид", "&View"},
    TCaption{"SetupItem", P::Caption, "&Конфигурация", "&Setup"},
    TCaption{"OptionsItem", P::Caption, "&Настройка", "&Options"},
    TCaption{"FiltersItem", P::Caption, "&Фильтры", "F&ilters"},
    TCaption{"FilterSetupPopupItem", P::Caption, "Настройка &фильтров", "F&ilter setup"},
    TCaption{"LanguageItem", P::Caption, "&English", "&Russian"},
    TCaption{"AboutItem", P::Caption, "&О программе", "&About"},
    TCaption{"CopyButton", P::Hint, "Копировать", "Copy"},
    TCaption{"MoveButton", P::Hint, "Передвинуть", "Move"},
    TCaption{"DeleteButton", P::Hint, "Удалить", "Delete"},
    TCaption{"FindButton", P::Hint, "Найти", "Find"},
    TCaption{"FindNextButton", P::Hint, "Повторить поиск ", "Find next"},
    TCaption{"FilterComboBox", P::Hint, "Фильтр сообщеий по ключевым словам", "Filter of messages"},
    TCaption{"PrintButton", P::Hint, "Печать", "Print"},
    TCaption{"ShineButton", P::Hint, "Выделить", "Select"},
    TCaption{"UnshineButton", P::Hint, "Снять выделение", "Unselect"},
    TCaption{"ExportButton", P::Hint, "Экспорт", "Export"},
    TCaption{"WordButton", P::Hint, "Экспорт в Word", "Export to Word"},
    TCaption{"AddButton", P::Hint, "Добавить в редактор", "Add to editor"},
    TCaption{"ShowEditorButton", P::Hint, "Показать редактор", "Show editor"},
    TCaption{"OptionsButton", P::Hint, "Опции", "Options"},
    TCaption{"FilterButton", P::Hint, "Настройка фильтров", "Filter setup"},
    TCaption{"LastButton", P::Hint, "Последнее", "Last"},
    TCaption{"NextButton", P::Hint, "Следующее", "Next"},
    TCaption{"RereadButton", P::Hint, "Обновить", "Rescan"},
    TCaption{"PrevButton", P::Hint, "Предыдущее", "Previous"},
    TCaption{"FirstButton", P::Hint, "Самое раннее", "First"},
    TCaption{"ZoomOutItem", P::Caption, "Нормализовать окно", "Zoom Out"},
    TCaption{"PrintersSetupItem", P::Caption, "Настройка принтера", "Printer setup"},
    TCaption{"NotePadSetupItem", P::Caption, "Настройка NotePad", "NotePad setup"},
    TCaption{"WordSetupItem", P::Caption, "Настройка Word", "Word setup"},
    TCaption{"ShowFileNameItem", P::Caption, "Имя", "Name"},
    TCaption{"NotifyItem", P::Caption, "&Уведомлять о новых сообщениях", "&Notify of new messages"},
    TCaption{"TrayIconItem", P::Caption, "Значок в &трее", "&Tray icon"},
};

} // namespace

std::span<const TCaption> MainCaptions() {
    return kCaptions;
}

void ApplyCaption(QObject* control, const TCaption& caption) {
    if (control == nullptr) return;
    const QString text = Lang(caption.russian, caption.english);
    switch (caption.property) {
    case P::WindowTitle:
        if (auto* widget = qobject_cast<QWidget*>(control)) widget->setWindowTitle(text);
        break;
    case P::Caption:
        if (auto* menu = qobject_cast<QMenu*>(control))
            menu->setTitle(text);
        else if (auto* action = qobject_cast<QAction*>(control))
            action->setText(text);
        break;
    case P::Hint:
        if (auto* widget = qobject_cast<QWidget*>(control)) widget->setToolTip(text);
        break;
    }
}

} // namespace varnot
