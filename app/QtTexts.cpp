#include "app/QtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool LoadQtTranslations() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_cs"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}
