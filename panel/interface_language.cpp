#include "panel/interface_language.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

#include "modbus/display_text.h"

namespace lq {

namespace {

const QString kSettingsKey = QStringLiteral("interface/language");

QSettings PanelSettings() {
    return QSettings(QStringLiteral("lq-modbus-rtu"), QStringLiteral("panel"));
}

std::string TranslatedByQt(const char* context, const char* source) {
    return QCoreApplication::translate(context, source).toStdString();
}

} // namespace

std::optional<InterfaceLanguage> LanguageNamed(const QString& name) {
    if (name == QLatin1String("zh")) return InterfaceLanguage::Chinese;
    if (name == QLatin1String("en")) return InterfaceLanguage::English;
    return std::nullopt;
}

QString LanguageName(InterfaceLanguage language) {
    return language == InterfaceLanguage::English ? QStringLiteral("en") : QStringLiteral("zh");
}

InterfaceLanguage LanguageOfLocale(const QStringList& uiLanguages) {
    for (const QString& name : uiLanguages) {
        const QString code = name.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
        if (code == QLatin1String("en")) return InterfaceLanguage::English;
        if (code == QLatin1String("zh")) return InterfaceLanguage::Chinese;
    }
    return InterfaceLanguage::Chinese;
}

InterfaceLanguage ChosenLanguage(const std::optional<InterfaceLanguage>& fromCommandLine) {
    if (fromCommandLine) return *fromCommandLine;
    if (const auto saved = SavedLanguage()) return *saved;
    return LanguageOfLocale(QLocale::system().uiLanguages());
}

std::optional<InterfaceLanguage> SavedLanguage() {
    return LanguageNamed(PanelSettings().value(kSettingsKey).toString());
}

void SaveLanguage(InterfaceLanguage language) {
    PanelSettings().setValue(kSettingsKey, LanguageName(language));
}

bool InstallInterfaceLanguage(InterfaceLanguage language) {
    if (language == InterfaceLanguage::Chinese) return true;
    // Lives as long as the application; a second call finds it already in place.
    static QTranslator translator;
    if (translator.isEmpty() && !translator.load(QStringLiteral(":/i18n/lq-modbus-rtu_en.qm"))) return false;
    QCoreApplication::installTranslator(&translator);
    InstallTextLookup(&TranslatedByQt);
    return true;
}

} // namespace lq
