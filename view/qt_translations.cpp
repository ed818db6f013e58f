#include "view/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace view {

bool InstallQtTranslation(QTranslator& translator, int languageCode) {
    if (languageCode == 0) return true;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator.load(QStringLiteral("qtbase_zh_CN"), folder)) return false;
    return QCoreApplication::installTranslator(&translator);
}

}  // namespace view
