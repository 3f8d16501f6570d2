#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace lq {

// The panel is designed in Chinese; English comes from the translation built into the program.
enum class InterfaceLanguage { Chinese, English };

// "zh" or "en", as --lang takes them; nothing for any other name.
std::optional<InterfaceLanguage> LanguageNamed(const QString& name);
QString LanguageName(InterfaceLanguage language);

// The language of the locale's list of interface languages (QLocale::uiLanguages(), which Qt reads from
// LANGUAGE, LC_ALL, LC_MESSAGES and LANG): the first of them that is English or Chinese decides, and any
// other list, "C" and an empty one among them, means Chinese.
InterfaceLanguage LanguageOfLocale(const QStringList& uiLanguages);

// --lang when given, else the one chosen in the tools menu, else the locale's.
InterfaceLanguage ChosenLanguage(const std::optional<InterfaceLanguage>& fromCommandLine);

// The choice made in the tools menu, kept for the next start.
std::optional<InterfaceLanguage> SavedLanguage();
void SaveLanguage(InterfaceLanguage language);

// Puts the translation in place before any window exists, and points the plain C++ rooms' text lookup at
// it. Chinese needs nothing. False when the built-in English translation cannot be loaded.
bool InstallInterfaceLanguage(InterfaceLanguage language);

} // namespace lq
