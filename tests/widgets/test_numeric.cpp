#include "widgets/ti_analog_display.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_entry_filter.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_switch_led.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <limits>

using namespace lq;
using namespace Qt::StringLiterals;

namespace {

QStringList EntryTexts(QMenu* menu) {
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
    return texts;
}

QAction* EntryAction(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions())
        if (a->text() == text) return a;
    return nullptr;
}

} // namespace

class NumericTest : public QObject {
    Q_OBJECT
    QWidget* host_ = nullptr;
    TiAnalogOutput* field_ = nullptr;
    TiSwitchLed* switch_ = nullptr;

    // Replaces the field's text by typing, the way an operator would after selecting everything.
    void Type(const QString& keys) {
        field_->Editor()->setFocus();
        field_->Editor()->selectAll();
        QTest::keyClicks(field_->Editor(), keys);
    }

  private slots:
    void init() {
        host_ = new QWidget;
        host_->resize(300, 100);
        field_ = new TiAnalogOutput(host_);
        field_->move(10, 10);
        switch_ = new TiSwitchLed(host_);
        switch_->move(120, 10);
        host_->show();
        QVERIFY(QTest::qWaitForWindowActive(host_));
    }
    void cleanup() {
        delete host_;
        QLocale::setDefault(QLocale::c());
    }

    void defaults() {
        QCOMPARE(field_->size(), QSize(80, 21));
        QCOMPARE(field_->Text(), QString("0.0"));
        QCOMPARE(field_->Precision(), 1);
        QVERIFY(field_->AcceptOnLostFocus() && field_->AutoSelect() && field_->UndoOnError());
        TiAnalogDisplay d;
        QCOMPARE(d.size(), QSize(80, 21));
        QCOMPARE(d.FontColor(), clAqua);
        QCOMPARE(d.BackGroundColor(), clBlack);
        QVERIFY(d.font().bold());
        QCOMPARE(d.ErrorText(), QString("Error"));
    }

    void formatting_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("precision");
        QTest::addColumn<QString>("units");
        QTest::addColumn<QString>("expected");
        QTest::newRow("12.34 p1") << 12.34 << 1 << ""
                                  << "12.3";
        QTest::newRow("25 p0 'C") << 25.0 << 0 << "'C"
                                  << "25'C";
        QTest::newRow("0 p2") << 0.0 << 2 << ""
                              << "0.00";
        QTest::newRow("123.45 p2") << 12345 / 100.0 << 2 << ""
                                   << "123.45";
        QTest::newRow("150 p0 'C") << 150.0 << 0 << "'C"
                                   << "150'C";
        QTest::newRow("6553.5 p1") << 6553.5 << 1 << ""
                                   << "6553.5";
        QTest::newRow("negative") << -3.26 << 1 << "A"
                                  << "-3.3A";
        // As the C library rounds: the exact binary value, a tie to even; a negative value that rounds to 0
        // keeps its sign.
        QTest::newRow("halfway") << 2.5 << 0 << ""
                                 << "2";
        QTest::newRow("below halfway") << 2.675 << 2 << ""
                                       << "2.67";
        QTest::newRow("negative zero") << -0.04 << 1 << ""
                                       << "-0.0";
        QTest::newRow("general small") << 0.00001 << -1 << ""
                                       << "1e-05";
        QTest::newRow("general large") << 1234567.0 << -1 << ""
                                       << "1.23457e+06";
        QTest::newRow("general plain") << 22.5 << -1 << "V"
                                       << "22.5V";
    }
    void formatting() {
        QFETCH(double, value);
        QFETCH(int, precision);
        QFETCH(QString, units);
        QFETCH(QString, expected);
        field_->SetPrecision(precision);
        field_->SetUnitsText(units);
        field_->SetValue(value);
        QCOMPARE(field_->Text(), expected);
        QCOMPARE(field_->Value(), value);
        TiAnalogDisplay display;
        display.SetPrecision(precision);
        display.SetUnitsText(units);
        display.SetValue(value);
        QCOMPARE(display.Text(), expected);
    }

    void unitsTrimmedOnlyOnTheField() {
        field_->SetUnitsText("  V ");
        QCOMPARE(field_->UnitsText(), QString("V"));
        field_->SetUnitsText("   ");
        QCOMPARE(field_->UnitsText(), QString());
        TiAnalogDisplay display;
        display.SetUnitsText(" V");
        QCOMPARE(display.Text(), QString("0.0 V"));
    }

    void localeDecimalSeparator() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        field_->SetValue(12.34);
        QCOMPARE(field_->Text(), QString("12,3"));
        Type("7.5,26");
        QCOMPARE(field_->Text(), QString("75,26"));
        QTest::keyClick(field_->Editor(), Qt::Key_Return);
        QCOMPARE(field_->Value(), 75.26);
        QCOMPARE(field_->Text(), QString("75,3"));
    }

    void entryFilter_data() {
        QTest::addColumn<int>("precision");
        QTest::addColumn<QString>("units");
        QTest::addColumn<TiFilterStyle>("style");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("p0 drops point") << 0 << "" << ifisAuto << "1.5"
                                        << "15";
        QTest::newRow("p1 keeps point") << 1 << "" << ifisAuto << "-1.5"
                                        << "-1.5";
        QTest::newRow("general keeps point") << -1 << "" << ifisAuto << "2.5"
                                             << "2.5";
        QTest::newRow("letters dropped") << 1 << "" << ifisAuto << "1a+b2"
                                         << "12";
        QTest::newRow("units any case") << 0 << "'C" << ifisAuto << "25'cx"
                                        << "25'c";
        QTest::newRow("no filter") << 0 << "" << ifisNone << "1.5x"
                                   << "1.5x";
    }
    void entryFilter() {
        QFETCH(int, precision);
        QFETCH(QString, units);
        QFETCH(TiFilterStyle, style);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        field_->SetPrecision(precision);
        field_->SetUnitsText(units);
        field_->SetFilterStyle(style);
        Type(typed);
        QCOMPARE(field_->Text(), shown);
        QCOMPARE(field_->Value(), 0.0);
    }

    // Every way text gets into the field meets the same filter as typed keys.
    void everyWayInIsFiltered_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const struct {
            const char* name;
            QString text;
            QString shown;
        } texts[] = {{"full-width digits", u"１２3"_s, "73"},
                     {"other script's digits", u"٣4"_s, "74"},
                     {"letters", "2a.5b", "72.5"},
                     {"full-width minus", u"－1"_s, "71"},
                     {"nothing allowed", u"abc"_s, "7"}};
        for (const char* way : {"typed", "ctrl+v", "menu paste", "input method", "drop"})
            for (const auto& t : texts)
                QTest::addRow("%s, %s", way, t.name) << QString(way) << t.text << t.shown;
    }
    void everyWayInIsFiltered() {
        QFETCH(QString, way);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        Type("7");
        if (way == "typed") {
            // One key per character, carrying the character as its text (as a keyboard layout would).
            for (QChar ch : text)
                QTest::sendKeyEvent(QTest::Click, field_->Editor(), Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
        } else if (way == "ctrl+v") {
            QApplication::clipboard()->setText(text);
            QTest::keyClick(field_->Editor(), Qt::Key_V, Qt::ControlModifier);
        } else if (way == "menu paste") {
            QApplication::clipboard()->setText(text);
            QTest::mousePress(field_->Editor(), Qt::RightButton);
            QMenu* menu = field_->OpenEntryMenu();
            QVERIFY(menu);
            EntryAction(menu, "Paste")->trigger();
            menu->hide();
            QTest::mouseRelease(field_->Editor(), Qt::RightButton);
        } else if (way == "input method") {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(field_->Editor(), &commit);
        } else {
            QMimeData data;
            data.setText(text);
            // A drag enters before it drops; Qt delivers a drop only to the widget the drag entered.
            const QPoint end(field_->Editor()->width() - 3, 10);
            QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(field_->Editor(), &enter);
            QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(field_->Editor(), &drop);
        }
        QCOMPARE(field_->Text(), shown);
        QTest::keyClick(field_->Editor(), Qt::Key_Return);
        QCOMPARE(field_->Value(), shown.toDouble());
    }

    // Only what an edit inserted is filtered; the cursor stays after the kept characters; an edit whose
    // every new character is refused leaves the text as it was (a refused paste keeps the selection).
    void filterInsertion_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("keptCursor");
        QTest::addColumn<int>("refused");
        QTest::newRow("appended") << "12"
                                  << "12a3" << 4 << "123" << 3 << 1;
        QTest::newRow("in the middle") << "15"
                                       << "1x2y5" << 4 << "125" << 2 << 2;
        QTest::newRow("selection replaced") << "12.5"
                                            << "9z" << 2 << "9" << 1 << 1;
        QTest::newRow("all refused") << "12.5"
                                     << "zz" << 2 << "12.5" << 0 << 2;
        QTest::newRow("deleted") << "1e5"
                                 << "15" << 1 << "15" << 1 << 0;
        QTest::newRow("old text kept") << "1e5"
                                       << "1ee5" << 3 << "1e5" << 2 << 1;
    }
    void filterInsertion() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, cursor);
        QFETCH(QString, kept);
        QFETCH(int, keptCursor);
        QFETCH(int, refused);
        const auto digitsAndPoint = [](QChar ch) { return ch == u'.' || (ch >= u'0' && ch <= u'9'); };
        QCOMPARE(FilterInsertion(before, after, cursor, digitsAndPoint), refused);
        QCOMPARE(after, kept);
        QCOMPARE(cursor, keptCursor);
    }

    // Text the field puts there itself is not filtered: a general-format value keeps its exponent, and
    // typing into it later filters only what is typed.
    void ownTextPassesTheFilter() {
        field_->SetPrecision(-1);
        field_->SetValue(1234567);
        QCOMPARE(field_->Text(), QString("1.23457e+06"));
        field_->Editor()->setCursorPosition(0);
        QApplication::clipboard()->setText("x9");
        QTest::keyClick(field_->Editor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(field_->Text(), QString("91.23457e+06"));
    }

    void enterAcceptsAndSelectsNumber() {
        int changes = 0, userChanges = 0;
        field_->OnChange = [&](TiComponent*) { ++changes; };
        field_->OnChangeUser = [&](TiComponent*) { ++userChanges; };
        field_->SetUnitsText("V");
        Type("42v");
        QTest::keyClick(field_->Editor(), Qt::Key_Return);
        QCOMPARE(field_->Value(), 42.0);
        QCOMPARE(field_->Text(), QString("42.0V"));
        QCOMPARE(field_->Editor()->selectedText(), QString("42.0"));
        QCOMPARE(changes, 1);
        QCOMPARE(userChanges, 1);
        field_->SetValue(7);
        QCOMPARE(changes, 2);
        QCOMPARE(userChanges, 1);
    }

    void restoreKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers();
        QTest::newRow("ctrl+z") << int(Qt::Key_Z) << Qt::KeyboardModifiers(Qt::ControlModifier);
    }
    void restoreKeys() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        field_->SetValue(3);
        Type("99");
        QCOMPARE(field_->Text(), QString("99"));
        QTest::keyClick(field_->Editor(), Qt::Key(key), modifiers);
        QCOMPARE(field_->Text(), QString("3.0"));
        QCOMPARE(field_->Editor()->selectedText(), QString("3.0"));
        QCOMPARE(field_->Value(), 3.0);
    }

    void switchPressAcceptsTypedText_data() {
        QTest::addColumn<bool>("acceptOnLostFocus");
        QTest::addColumn<double>("seenByClick");
        QTest::newRow("accept on lost focus") << true << 42.0;
        QTest::newRow("kept typing") << false << 0.0;
    }
    void switchPressAcceptsTypedText() {
        QFETCH(bool, acceptOnLostFocus);
        QFETCH(double, seenByClick);
        field_->SetAcceptOnLostFocus(acceptOnLostFocus);
        double seen = -1;
        switch_->OnClick = [&](TiComponent*) { seen = field_->Value(); };
        Type("42");
        QTest::mouseClick(switch_, Qt::LeftButton);
        QCOMPARE(seen, seenByClick);
        QVERIFY(switch_->hasFocus());
    }

    void nonNumberIsUndone_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty") << "";
        QTest::newRow("minus") << "-";
        QTest::newRow("two minus") << "--1";
        QTest::newRow("trailing minus") << "1-";
        QTest::newRow("nan") << "nan";
        QTest::newRow("inf") << "-inf";
        QTest::newRow("overflow") << "1e999";
    }
    void nonNumberIsUndone() {
        QFETCH(QString, typed);
        field_->SetFilterStyle(ifisNone);
        field_->SetValue(5);
        Type(typed);
        if (typed.isEmpty()) QTest::keyClick(field_->Editor(), Qt::Key_Backspace);
        QTest::keyClick(field_->Editor(), Qt::Key_Return);
        QCOMPARE(field_->Text(), QString("5.0"));
        QCOMPARE(field_->Value(), 5.0);
    }

    void nonNumberRaisesWithoutUndo() {
        field_->SetUndoOnError(false);
        Type("-");
        QVERIFY_THROWS_EXCEPTION(EConvertError, field_->Accept());
        QTest::keyClick(field_->Editor(), Qt::Key_Return); // dropped by the field, which stays usable
        QCOMPARE(field_->Text(), QString("-"));
        Type("8");
        QTest::keyClick(field_->Editor(), Qt::Key_Return);
        QCOMPARE(field_->Value(), 8.0);
    }

    void valueLimits_data() {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("set");
        QTest::addColumn<double>("expected");
        QTest::newRow("no limits") << 0.0 << 0.0 << -5.0 << -5.0;
        QTest::newRow("above") << 0.0 << 10.0 << 15.0 << 10.0;
        QTest::newRow("below") << 2.0 << 10.0 << -1.0 << 2.0;
        QTest::newRow("nan") << 5.0 << 10.0 << std::numeric_limits<double>::quiet_NaN() << 5.0;
    }
    void valueLimits() {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, set);
        QFETCH(double, expected);
        field_->SetValueMax(max);
        field_->SetValueMin(min);
        field_->SetValue(set);
        QCOMPARE(field_->Value(), expected);
    }

    void sameValueReformats() {
        int changes = 0;
        field_->OnChange = [&](TiComponent*) { ++changes; };
        field_->SetValue(3);
        Type("99");
        field_->SetValue(3);
        QCOMPARE(field_->Text(), QString("3.0"));
        QVERIFY(!field_->Modified());
        QCOMPARE(changes, 1);
        // Where the text is already the value's, the caret the operator put there stays through a refresh.
        field_->Editor()->setCursorPosition(1);
        field_->SetValue(3);
        QCOMPARE(field_->Editor()->cursorPosition(), 1);
    }

    void displayChangesOnlyOnNewValue() {
        TiAnalogDisplay display;
        int changes = 0;
        display.OnChange = [&](TiComponent*) { ++changes; };
        display.SetValue(0);
        display.SetFontColor(clRed);
        display.SetPrecision(2);
        QCOMPARE(changes, 0);
        display.SetValue(1.5);
        display.SetValue(1.5);
        QCOMPARE(changes, 1);
        display.SetErrorActive(true);
        QCOMPARE(display.Text(), QString("Error"));
    }

    void rightButtonMenu() {
        QStringList downs;
        field_->OnMouseDown = [&](TiComponent*, Qt::MouseButton b, Qt::KeyboardModifiers, int, int) {
            downs << (b == Qt::RightButton ? "right" : "other");
        };
        QTest::mousePress(field_->Editor(), Qt::RightButton);
        QMenu* menu = field_->OpenEntryMenu();
        QVERIFY(menu);
        QCOMPARE(EntryTexts(menu),
                 (QStringList{"Apply", "Undo", "Cut", "Copy", "Paste", "Delete", "Select All"}));
        QVERIFY(!EntryAction(menu, "Apply")->isEnabled());
        QVERIFY(!EntryAction(menu, "Undo")->isEnabled());
        QCOMPARE(downs, QStringList{"right"});
        menu->hide();
        QTest::mouseRelease(field_->Editor(), Qt::RightButton);

        Type("5");
        QTest::mousePress(field_->Editor(), Qt::RightButton);
        menu = field_->OpenEntryMenu();
        QVERIFY(menu);
        QVERIFY(EntryAction(menu, "Apply")->isEnabled());
        QVERIFY(EntryAction(menu, "Undo")->isEnabled());
        EntryAction(menu, "Apply")->trigger();
        menu->hide();
        QTest::mouseRelease(field_->Editor(), Qt::RightButton);
        QCOMPARE(field_->Value(), 5.0);
        QCOMPARE(field_->Text(), QString("5.0"));
    }

    void assignedMenuReplacesOwn() {
        QMenu own(host_);
        own.addAction("mine");
        field_->SetPopupMenu(&own);
        QTest::mousePress(field_->Editor(), Qt::RightButton);
        QVERIFY(own.isVisible());
        QVERIFY(!field_->OpenEntryMenu());
        own.hide();
        QTest::mouseRelease(field_->Editor(), Qt::RightButton);
    }

    void clickRuleOnField() {
        QStringList log;
        field_->OnMouseDown = [&](TiComponent*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            log << "down";
            field_->SetValue(field_->Value() - 0.1);
        };
        field_->OnClick = [&](TiComponent*) { log << "click"; };
        field_->OnMouseUp = [&](TiComponent*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            log << "up";
            field_->SetValue(field_->Value() + 0.1);
        };
        field_->SetValue(1);
        QTest::mouseClick(field_->Editor(), Qt::LeftButton);
        QCOMPARE(log, (QStringList{"down", "click", "up"}));
        QVERIFY(std::abs(field_->Value() - 1.0) < 1e-9);
        QVERIFY(field_->Editor()->hasFocus());

        log.clear();
        QTest::mousePress(field_->Editor(), Qt::LeftButton);
        QTest::mouseMove(field_->Editor(), QPoint(40, 60));
        QTest::mouseRelease(field_->Editor(), Qt::LeftButton, {}, QPoint(40, 60));
        QCOMPARE(log, (QStringList{"down", "up"}));
    }

    void doubleClickSelectsNumberAndClicksOnce() {
        int clicks = 0;
        field_->OnClick = [&](TiComponent*) { ++clicks; };
        field_->SetUnitsText("'C");
        field_->SetValue(25);
        QTest::mouseClick(field_->Editor(), Qt::LeftButton);
        QTest::mouseDClick(field_->Editor(), Qt::LeftButton);
        QTest::mouseRelease(field_->Editor(), Qt::LeftButton);
        QCOMPARE(clicks, 1);
        QCOMPARE(field_->Editor()->selectedText(), QString("25.0"));
    }

    void singleClickLeavesCaretWithoutSelection() {
        Type("12");
        QTest::keyClick(field_->Editor(), Qt::Key_Return);
        QVERIFY(field_->Editor()->hasSelectedText());
        QTest::mouseClick(field_->Editor(), Qt::LeftButton, {}, QPoint(3, 10));
        QVERIFY(!field_->Editor()->hasSelectedText());
        QCOMPARE(field_->Editor()->cursorPosition(), 0);
        QTest::mouseClick(field_->Editor(), Qt::LeftButton, {}, QPoint(76, 10));
        QVERIFY(!field_->Editor()->hasSelectedText());
        QCOMPARE(field_->Editor()->cursorPosition(), int(field_->Text().size()));
    }

    void throwingMouseHandlerIsDropped() {
        field_->OnMouseDown = [](TiComponent*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            throw std::runtime_error("handler failed");
        };
        QTest::mouseClick(field_->Editor(), Qt::LeftButton);
        QTest::keyClicks(field_->Editor(), "7");
        QTest::keyClick(field_->Editor(), Qt::Key_Return);
        QVERIFY(field_->Text().startsWith("7"));
    }
};

QTEST_MAIN(NumericTest)
#include "test_numeric.moc"
