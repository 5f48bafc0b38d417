#include "gui/editor/editor_texts.h"

#include "core/editor/editor_capacity.h"
#include "gui/app/lang.h"

#include <cstring>

namespace varnot {

QString EditorFullText() {
    return Lang("Встроенный редактор переполнен", "Editor is fulled");
}

QString EditorNotFoundText(const QString& key) {
    // The Russian form has no opening quote.
    return Lang("Не могу найти ", "Cannot find \" ") + key + "\" .";
}

QString EditorSaveQuestionText() {
    return Lang("Текст в редакторе изменён. Сохранить его?\n\n"
                "Да - сохранить, Нет - не сохранять, Отмена - вернуться к тексту.",
                "The text in the editor has changed. Save it?\n\n"
                "Yes saves it, No discards it, Cancel goes back to the text.");
}

QString EditorCannotOpenText(const QString& file, const QString& reason) {
    return Lang("Не удаётся открыть файл\n", "Cannot open the file\n") + file + "\n" + reason;
}

QString EditorNotTextText(const QString& file) {
    return Lang("Это не текстовый файл:\n", "This is not a text file:\n") + file;
}

QString EditorTooLargeText(const QString& file) {
    return Lang("Файл слишком велик для редактора:\n", "The file is too large for the editor:\n") +
           file + "\n" +
           Lang("(редактор вмещает менее %1 символов и %2 строк)",
                "(the editor holds fewer than %1 characters and %2 lines)")
               .arg(EditorCharacterLimit)
               .arg(EditorLineLimit);
}

QString EditorCannotWriteText(const QString& file, int error) {
    return Lang("Не удаётся записать файл\n", "Cannot write the file\n") + file + "\n" +
           QString::fromLocal8Bit(std::strerror(error));
}

QString EditorReplaceQuestionText(const QString& file) {
    return file +
           Lang(" уже существует.\nЗаменить его?", " already exists.\nDo you want to replace it?");
}

QString EditorOpenTitle() {
    return Lang("Открыть", "Open");
}

QString EditorSaveAsTitle() {
    return Lang("Сохранить как", "Save as");
}

QString EditorFileFilter() {
    // "*" and not "*.*": here a name without a dot is an ordinary file name.
    return "Text Files (*.txt);;All Files (*)";
}

} // namespace varnot
