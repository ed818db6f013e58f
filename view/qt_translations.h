// Qt's own texts (the file dialogs' "Look in:", the message boxes' buttons) in the skin's
// language.
#pragma once

#include <QTranslator>

namespace view {

/// Installs Qt's Chinese translation for a Chinese skin (`languageCode` not 0), taken from
/// Qt's translations folder; installs nothing for the English skin, so its dialogs stay in
/// English whatever the system's locale. False when a Chinese translation was asked for and
/// is not installed (the package recommends qt6-translations-l10n); Qt's texts stay English.
bool InstallQtTranslation(QTranslator& translator, int languageCode);

}  // namespace view
