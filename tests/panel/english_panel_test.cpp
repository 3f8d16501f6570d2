// The panel in English: the language each locale and --lang choose, every English text of the main window
// inside the box its Chinese original was designed in, and the port button working from its state, not its
// caption. The run/stop and SET/ENT commands are the commands tests run again in English (LQ_TEST_LANGUAGE).
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyleOptionButton>
#include <QtTest>

#include "panel/form1.h"
#include "panel/interface_language.h"
#include "panel/language_choice.h"
#include "panel/tools_menu.h"
#include "panel_on_line.h"
#include "widgets/ti_label.h"

using namespace lq;

namespace {

struct ShownText {
    QString text;
    int room = 0;   // the width the text may take inside its widget as built in Chinese
    int needed = 0; // the width the text takes
};

int TextWidth(const QWidget* widget, const QString& text) {
    return widget->fontMetrics().horizontalAdvance(text);
}

// The room a button leaves its text: its contents rectangle, by the style that draws it.
int ButtonRoom(const QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const bool box = qobject_cast<const QCheckBox*>(button) != nullptr;
    const QRect contents = button->style()->subElementRect(
        box ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, button);
    return contents.width();
}

std::vector<ShownText> TextsOf(const QWidget& window) {
    std::vector<ShownText> texts;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->text().isEmpty())
            texts.push_back({label->text(), label->contentsRect().width(), TextWidth(label, label->text())});
        else if (const auto* button = qobject_cast<const QAbstractButton*>(w);
                 button && !button->text().isEmpty())
            texts.push_back({button->text(), ButtonRoom(button), TextWidth(button, button->text())});
        else if (const auto* tiLabel = qobject_cast<const TiLabel*>(w);
                 tiLabel && !tiLabel->Caption().isEmpty())
            texts.push_back({tiLabel->Caption(), tiLabel->width(), TextWidth(tiLabel, tiLabel->Caption())});
    }
    return texts;
}

} // namespace

class EnglishPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void theLocaleOrTheCommandLineChoosesTheLanguage_data() {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<bool>("english");
        QTest::newRow("en_US") << QStringList{"en-US", "en"} << true;
        QTest::newRow("en_GB underscore") << QStringList{"en_GB"} << true;
        QTest::newRow("zh_CN") << QStringList{"zh-CN", "zh"} << false;
        QTest::newRow("de, then en") << QStringList{"de-DE", "en"} << true;
        QTest::newRow("zh, then en") << QStringList{"zh-TW", "en-US"} << false;
        QTest::newRow("de only") << QStringList{"de-DE"} << false;
        QTest::newRow("C") << QStringList{"C"} << false;
        QTest::newRow("none") << QStringList{} << false;
    }
    void theLocaleOrTheCommandLineChoosesTheLanguage() {
        QFETCH(QStringList, uiLanguages);
        QFETCH(bool, english);
        QCOMPARE(LanguageOfLocale(uiLanguages) == InterfaceLanguage::English, english);
        // --lang wins over any locale and any choice kept from the tools menu.
        QCOMPARE(ChosenLanguage(InterfaceLanguage::English), InterfaceLanguage::English);
        QCOMPARE(ChosenLanguage(InterfaceLanguage::Chinese), InterfaceLanguage::Chinese);
        QCOMPARE(LanguageNamed("fr"), std::nullopt);
    }

    // The choice is kept for the next start, where it goes before the locale; the notice says when.
    void theToolsMenusChoiceIsKeptForTheNextStart() {
        QStandardPaths::setTestModeEnabled(true);
        QWidget window;
        ToolsMenu tools(&window, {&window});
        QMenu* menu = AddLanguageChoice(tools, &window, InterfaceLanguage::Chinese);
        for (const auto& [name, language] : {std::pair{"English", InterfaceLanguage::English},
                                             std::pair{"中文", InterfaceLanguage::Chinese}}) {
            const auto actions = menu->actions();
            const auto it = std::find_if(actions.begin(), actions.end(),
                                         [name = name](QAction* a) { return a->text() == QString(name); });
            QVERIFY(it != actions.end());
            (*it)->trigger();
            QCOMPARE(SavedLanguage(), std::optional(language));
            QCOMPARE(ChosenLanguage(std::nullopt), language);
        }
        QCOMPARE(window.findChildren<QMessageBox*>().size(), 2);
    }

    // Builds the window in Chinese before any test has put English in place, then puts English in place.
    void everyEnglishTextFitsItsChineseBox() {
        const std::vector<ShownText> chinese = TextsOf(TForm1());
        QVERIFY(InstallInterfaceLanguage(InterfaceLanguage::English));
        const std::vector<ShownText> english = TextsOf(TForm1());
        QCOMPARE(english.size(), chinese.size());
        int translated = 0;
        QStringList tooWide;
        for (std::size_t n = 0; n < english.size(); ++n) {
            translated += english[n].text != chinese[n].text ? 1 : 0;
            if (english[n].needed > chinese[n].room)
                tooWide << QStringLiteral("\"%1\" takes %2 px where \"%3\" has %4")
                               .arg(english[n].text)
                               .arg(english[n].needed)
                               .arg(chinese[n].text)
                               .arg(chinese[n].room);
        }
        QVERIFY2(tooWide.isEmpty(), qPrintable(tooWide.join(QLatin1Char('\n'))));
        QVERIFY(translated >= 12);
    }

    void thePortButtonOpensAndClosesInEnglish() {
        test::PanelOnLine rig;
        QVERIFY(rig.OpenLine());
        QCOMPARE(rig.Form().PortButtonText(), QStringLiteral("Close port"));
        rig.Form().ClosePort();
        QVERIFY(!rig.Form().PortInUse());
        QCOMPARE(rig.Form().PortButtonText(), QStringLiteral("Open port"));
        rig.Form().OpenPort();
        QVERIFY(rig.Form().PortInUse());
    }
};

QTEST_MAIN(EnglishPanelTest)
#include "english_panel_test.moc"
