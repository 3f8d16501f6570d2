#include "widgets/ti_label.h"
#include "widgets/ti_led.h"
#include "widgets/ti_switch_led.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <stdexcept>

using namespace lq;

namespace {

// Records the order in which a switch's bound handlers run.
struct SwitchLog {
    QStringList entries;
    void Bind(TiSwitchLed& s) {
        s.OnMouseDown = [this](TiComponent*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            entries << "down";
        };
        s.OnClick = [this, &s](TiComponent*) { entries << QString("click(%1)").arg(s.Active()); };
        s.OnChange = [this](TiComponent*) { entries << "change"; };
        s.OnChangeUser = [this](TiComponent*) { entries << "user"; };
        s.OnMouseUp = [this](TiComponent*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            entries << "up";
        };
    }
};

} // namespace

class SwitchLampTest : public QObject {
    Q_OBJECT
    QWidget* host_ = nullptr;
    TiSwitchLed* sw_ = nullptr;
    QLineEdit* other_ = nullptr;

  private slots:
    void init() {
        host_ = new QWidget;
        host_->resize(200, 100);
        sw_ = new TiSwitchLed(host_);
        sw_->move(10, 10);
        other_ = new QLineEdit(host_);
        other_->move(100, 10);
        host_->show();
        QVERIFY(QTest::qWaitForWindowActive(host_));
    }
    void cleanup() { delete host_; }

    void defaults() {
        QCOMPARE(sw_->size(), QSize(40, 28));
        QCOMPARE(sw_->Caption(), QString("On"));
        QCOMPARE(sw_->ActiveColor(), clLime);
        QVERIFY(!sw_->Active());
        QVERIFY(sw_->TabStop());
        QCOMPARE(TiLedRound().size(), QSize(20, 20));
        QCOMPARE(TiLabel().size(), QSize(28, 13));
    }

    void releasePlace_data() {
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("inside") << QPoint(20, 14) << QStringList{"down", "click(0)", "change", "user", "up"};
        QTest::newRow("outside right") << QPoint(45, 14) << QStringList{"down", "up"};
        QTest::newRow("outside above") << QPoint(20, -1) << QStringList{"down", "up"};
    }
    void releasePlace() {
        QFETCH(QPoint, release);
        QFETCH(QStringList, expected);
        SwitchLog log;
        log.Bind(*sw_);
        QTest::mousePress(sw_, Qt::LeftButton, {}, QPoint(20, 14));
        QTest::mouseMove(sw_, release);
        QTest::mouseRelease(sw_, Qt::LeftButton, {}, release);
        QCOMPARE(log.entries, expected);
        QCOMPARE(sw_->Active(), expected.contains("change"));
        QVERIFY(!sw_->Pressed());
    }

    void doubleClickClicksOnceTogglesTwice() {
        SwitchLog log;
        log.Bind(*sw_);
        int dbl = 0;
        sw_->OnDblClick = [&](TiComponent*) { ++dbl; };
        QTest::mouseClick(sw_, Qt::LeftButton);
        QTest::mouseDClick(sw_, Qt::LeftButton);
        QTest::mouseRelease(sw_, Qt::LeftButton);
        QCOMPARE(log.entries.count("click(0)") + log.entries.count("click(1)"), 1);
        QCOMPARE(log.entries.count("change"), 2);
        QCOMPARE(log.entries.count("down"), 2);
        QCOMPARE(dbl, 1);
        QVERIFY(!sw_->Active());
    }

    void otherButtonsNeitherClickNorToggle() {
        SwitchLog log;
        log.Bind(*sw_);
        QTest::mouseClick(sw_, Qt::RightButton);
        QTest::mouseClick(sw_, Qt::MiddleButton);
        QCOMPARE(log.entries, (QStringList{"down", "up", "down", "up"}));
    }

    void spaceTogglesOnKeyUpWithoutClick() {
        SwitchLog log;
        log.Bind(*sw_);
        sw_->setFocus();
        QTest::keyPress(sw_, Qt::Key_Space);
        QVERIFY(sw_->Pressed());
        QVERIFY(!sw_->Active());
        QTest::keyRelease(sw_, Qt::Key_Space);
        QVERIFY(sw_->Active());
        QCOMPARE(log.entries, (QStringList{"change", "user"}));
        QTest::keyClick(sw_, Qt::Key_Return);
        QTest::keyClick(sw_, Qt::Key_A);
        QCOMPARE(log.entries.size(), 2);
    }

    // With KeysClick on, Space and Enter click as the left button does: OnClick, then the toggle, on the
    // release of a press that went down on the switch; a release alone, or after a repeat alone, clicks
    // nothing.
    void keysClickOnRelease_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("press"); // "": none, "press", "repeat"
        QTest::addColumn<QStringList>("entries");
        const QStringList clicked{"click(0)", "change", "user"};
        QTest::newRow("space") << int(Qt::Key_Space) << "press" << clicked;
        QTest::newRow("return") << int(Qt::Key_Return) << "press" << clicked;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << "press" << clicked;
        QTest::newRow("release without a press") << int(Qt::Key_Return) << "" << QStringList{};
        QTest::newRow("a repeat alone") << int(Qt::Key_Return) << "repeat" << QStringList{};
        QTest::newRow("another key") << int(Qt::Key_A) << "press" << QStringList{};
    }
    void keysClickOnRelease() {
        QFETCH(int, key);
        QFETCH(QString, press);
        QFETCH(QStringList, entries);
        SwitchLog log;
        log.Bind(*sw_);
        sw_->SetKeysClick(true);
        sw_->setFocus();
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, QString(), press == "repeat");
        if (!press.isEmpty()) QApplication::sendEvent(sw_, &down);
        QTest::keyRelease(sw_, Qt::Key(key));
        QCOMPARE(log.entries, entries);
    }

    void focusLossEndsPressWithoutToggle() {
        QTest::mousePress(sw_, Qt::LeftButton);
        QVERIFY(sw_->hasFocus());
        QVERIFY(sw_->Pressed());
        other_->setFocus();
        QVERIFY(!sw_->Pressed());
        QTest::mouseRelease(sw_, Qt::LeftButton);
        QVERIFY(!sw_->Active());

        sw_->setFocus();
        QTest::keyPress(sw_, Qt::Key_Space);
        other_->setFocus();
        QTest::keyRelease(sw_, Qt::Key_Space);
        QVERIFY(!sw_->Active());
    }

    void throwingHandlerIsDropped_data() {
        QTest::addColumn<QString>("which");
        for (const char* w : {"down", "click", "change", "up"})
            QTest::newRow(w) << QString(w);
    }
    void throwingHandlerIsDropped() {
        QFETCH(QString, which);
        int changes = 0;
        auto thrower = [&](const char* name) {
            if (which == name) throw std::runtime_error("handler failed");
        };
        sw_->OnMouseDown = [&](TiComponent*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            thrower("down");
        };
        sw_->OnClick = [&](TiComponent*) { thrower("click"); };
        sw_->OnChange = [&](TiComponent*) {
            ++changes;
            thrower("change");
        };
        sw_->OnMouseUp = [&](TiComponent*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            thrower("up");
        };
        QTest::mouseClick(sw_, Qt::LeftButton);
        QTest::mouseClick(sw_, Qt::LeftButton);
        QCOMPARE(changes, 2);
        QVERIFY(!sw_->Active());
        QVERIFY(!sw_->Pressed());
    }

    void onlyActiveFiresChange() {
        SwitchLog log;
        log.Bind(*sw_);
        sw_->SetCaption("STOP");
        sw_->SetActiveColor(clRed);
        sw_->SetActive(false);
        QVERIFY(log.entries.isEmpty());
        sw_->SetActive(true);
        QCOMPARE(log.entries, QStringList{"change"});
        QCOMPARE(sw_->Caption(), QString("STOP"));
    }

    void loadingSilencesEvents() {
        SwitchLog log;
        log.Bind(*sw_);
        sw_->BeginLoading();
        sw_->SetActive(true);
        sw_->EndLoading();
        QVERIFY(sw_->Active());
        QVERIFY(log.entries.isEmpty());
    }

    void momentaryIsActiveWhileHeld() {
        sw_->SetMomentaryStyle(ismsSimple);
        QTest::mousePress(sw_, Qt::LeftButton);
        QVERIFY(sw_->Active());
        QTest::mouseRelease(sw_, Qt::LeftButton);
        QVERIFY(!sw_->Active());
    }

    void dimmedColour_data() {
        QTest::addColumn<TColor>("color");
        QTest::addColumn<TColor>("dimmed");
        QTest::newRow("red") << clRed << TColor(0x000055);
        QTest::newRow("lime") << clLime << TColor(0x005500);
        QTest::newRow("mixed") << TColor(0x807F02) << TColor(0x2A2A00);
        QTest::newRow("black") << clBlack << clBlack;
    }
    void dimmedColour() {
        QFETCH(TColor, color);
        QFETCH(TColor, dimmed);
        QCOMPARE(DimColor(color), dimmed);
        TiLedRound lamp;
        lamp.SetActiveColor(color);
        QCOMPARE(lamp.ShownColor(), dimmed);
        lamp.SetAutoInactiveColor(false);
        QCOMPARE(lamp.ShownColor(), TColor(0x005500));
        lamp.SetActive(true);
        QCOMPARE(lamp.ShownColor(), color);
    }

    void systemColourConverts() {
        QCOMPARE(ToQColor(clBtnFace), QGuiApplication::palette().color(QPalette::Button));
        QCOMPARE(ToQColor(clAqua), QColor(0, 255, 255));
    }

    void lampChangeEventOnlyOnActive() {
        TiLed lamp;
        int changes = 0;
        lamp.OnChange = [&](TiComponent*) { ++changes; };
        lamp.SetActiveColor(clRed);
        lamp.SetInactiveColor(clBlue);
        QCOMPARE(changes, 0);
        lamp.SetActive(true);
        lamp.SetActive(true);
        QCOMPARE(changes, 1);
    }

    void roundLampStaysSquare_data() {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QSize>("request");
        QTest::addColumn<QSize>("result");
        for (const bool shown : {true, false}) {
            const char* when = shown ? "shown" : "not yet shown";
            QTest::addRow("%s, wider", when) << shown << QSize(30, 20) << QSize(30, 30);
            QTest::addRow("%s, taller", when) << shown << QSize(20, 26) << QSize(26, 26);
            QTest::addRow("%s, both", when) << shown << QSize(24, 18) << QSize(24, 24);
        }
    }
    void roundLampStaysSquare() {
        QFETCH(bool, shown);
        QFETCH(QSize, request);
        QFETCH(QSize, result);
        TiLedRound lamp(host_);
        if (shown) lamp.show();
        lamp.resize(request);
        QCOMPARE(lamp.size(), result);
        lamp.show();
        QCOMPARE(lamp.size(), result);
        lamp.BeginLoading();
        lamp.resize(40, 10);
        QCOMPARE(lamp.size(), QSize(40, 10));
    }

    // Resized as a plain widget (as a layout does) before it is shown, the lamp learns of it only when
    // shown, without the size it had before: it takes the larger side.
    void plainResizeBeforeShowIsSquaredWhenShown() {
        TiLedRound lamp(host_);
        QWidget& plain = lamp;
        plain.setGeometry(5, 5, 20, 36);
        lamp.show();
        QCOMPARE(lamp.size(), QSize(36, 36));
        QCOMPARE(lamp.pos(), QPoint(5, 5));
    }
};

QTEST_MAIN(SwitchLampTest)
#include "test_switch_lamp.moc"
