#include "gui/app/qt_translations.h"

#include "gui/app/lang.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace varnot {

namespace {

// The catalogue in use; it belongs to the application object.
QPointer<QTranslator>& Installed() {
    static QPointer<QTranslator> translator;
    return translator;
}

} // namespace

void ApplyToolkitLanguage() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    QPointer<QTranslator>& installed = Installed();
    if (English) {
        if (installed) {
            QCoreApplication::removeTranslator(installed);
            delete installed;
        }
        return;
    }
    if (installed) return;
    auto* translator = new QTranslator(app);
    if (translator->load("qtbase_ru", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator)) {
        installed = translator;
    } else {
        delete translator;
    }
}

} // namespace varnot
