#include "panel/language_choice.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QMessageBox>

#include "panel/tools_menu.h"

namespace lq {

namespace {

void ShowNextStartNotice(QWidget* window, InterfaceLanguage chosen) {
    // In both languages: whoever chose the other one may not read the one in use.
    const QString text =
        chosen == InterfaceLanguage::English
            ? QStringLiteral("下次启动时界面改为英文。\nThe panel starts in English next time.")
            : QStringLiteral("下次启动时界面改为中文。\nThe panel starts in Chinese next time.");
    auto* notice = new QMessageBox(QMessageBox::Information, QStringLiteral("LQ_Modbus RTU"), text,
                                   QMessageBox::Ok, window);
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->setWindowModality(Qt::NonModal);
    notice->show();
}

} // namespace

QMenu* AddLanguageChoice(ToolsMenu& tools, QWidget* window, InterfaceLanguage inUse) {
    auto* menu = new QMenu(QCoreApplication::translate("LanguageChoice", "界面语言 (Language)"), window);
    auto* group = new QActionGroup(menu);
    for (const auto& [language, name] : {std::pair{InterfaceLanguage::Chinese, QStringLiteral("中文")},
                                         std::pair{InterfaceLanguage::English, QStringLiteral("English")}}) {
        QAction* action = menu->addAction(name);
        action->setCheckable(true);
        action->setChecked(language == inUse);
        action->setActionGroup(group);
        QObject::connect(action, &QAction::triggered, menu, [window, language = language] {
            SaveLanguage(language);
            ShowNextStartNotice(window, language);
        });
    }
    tools.Add(menu->menuAction());
    return menu;
}

} // namespace lq
