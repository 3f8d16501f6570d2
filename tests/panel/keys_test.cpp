// Every command the mouse gives, given from the keyboard: the real window on a pseudo-terminal whose far side
// reads each frame. A key path must put on the line exactly what its mouse path does and leave the panel as
// that leaves it; a cancelled one sends nothing and leaves the panel as it was.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include "panel/form1.h"
#include "panel_on_line.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_knob.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_switch_led.h"

using namespace lq;
using Bytes = std::vector<std::uint8_t>;

namespace {

using test::PanelOnLine;

// A few steps separated by ';', each a verb and its argument: "click sw2", "rim knob2", "typeinto entry2 5",
// "focus sw2", "key Enter", "keys 61.5", "poll", "refresh".
class Script {
  public:
    explicit Script(PanelOnLine& rig) : rig_(rig) {}

    bool Run(const QString& script) {
        for (const QString& step : script.split(';', Qt::SkipEmptyParts))
            if (!Step(step.trimmed().split(' '))) return false;
        return true;
    }

    QWidget* Named(const QString& name) const {
        TForm1& f = rig_.Form();
        const std::map<QString, QWidget*> named{
            {"box", f.CheckBox2},         {"address", f.ComboBox1},     {"sw1", f.iSwitchLed1},
            {"port", f.ComboBox4},        {"baud", f.ComboBox5},        {"framing", f.ComboBox6},
            {"open", f.BitBtn7},          {"knob1", f.iKnob1},          {"entry2", f.iAnalogOutput3},
            {"sw2", f.iSwitchLed2},       {"entry3", f.iAnalogOutput5}, {"sw3", f.iSwitchLed3},
            {"entry4", f.iAnalogOutput6}, {"sw4", f.iSwitchLed4},       {"entry5", f.iAnalogOutput7},
            {"sw5", f.iSwitchLed5},       {"entry6", f.iAnalogOutput8}, {"sw6", f.iSwitchLed6},
            {"knob2", f.iKnob2},          {"knob3", f.iKnob3}};
        const auto it = named.find(name);
        return it == named.end() ? nullptr : it->second;
    }

  private:
    bool Step(const QStringList& words) {
        const QString& verb = words[0];
        const QString arg = words.value(1);
        TForm1& f = rig_.Form();
        if (verb == "poll") {
            // The controller holds 50.0 as the maximum limit and 20.0 as the minimum.
            for (int block = 0; block < 4; ++block) {
                f.Timer1Timer();
                if (!rig_.AnswerRead({{4, 500}, {5, 200}})) return false;
            }
            f.Timer2Timer();
        } else if (verb == "refresh") {
            f.Timer2Timer();
        } else if (verb == "click") {
            QTest::mouseClick(Named(arg), Qt::LeftButton);
        } else if (verb == "rim") {
            QTest::mouseClick(Named(arg), Qt::LeftButton, {}, QPoint(3, 3));
        } else if (verb == "typeinto") {
            PanelOnLine::TypeInto(static_cast<TiAnalogOutput*>(Named(arg)), words.value(2));
        } else if (verb == "focus") {
            Named(arg)->setFocus(Qt::TabFocusReason);
        } else if (verb == "keys") {
            QTest::keyClicks(QApplication::focusWidget(), arg);
        } else if (verb == "key") {
            return Key(arg);
        } else {
            return false;
        }
        return true;
    }

    static bool Key(const QString& name) {
        static const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> keys{
            {"Space", {Qt::Key_Space, {}}},
            {"Enter", {Qt::Key_Return, {}}},
            {"KeypadEnter", {Qt::Key_Enter, Qt::KeypadModifier}},
            {"Tab", {Qt::Key_Tab, {}}},
            {"Backtab", {Qt::Key_Backtab, Qt::ShiftModifier}},
            {"Escape", {Qt::Key_Escape, {}}},
            {"Up", {Qt::Key_Up, {}}},
            {"Down", {Qt::Key_Down, {}}},
            {"PageUp", {Qt::Key_PageUp, {}}},
            {"PageDown", {Qt::Key_PageDown, {}}},
            {"Ctrl+A", {Qt::Key_A, Qt::ControlModifier}}};
        const auto it = keys.find(name);
        QWidget* focused = QApplication::focusWidget();
        if (it == keys.end() || focused == nullptr) return false;
        QTest::keyClick(focused, it->second.first, it->second.second);
        return true;
    }

    PanelOnLine& rig_;
};

// What an operator sees of the commands: captions, lamps, open entries and what they hold, knobs, Memo13.
QString Shown(TForm1& f) {
    QStringList shown;
    for (TiSwitchLed* sw : {f.iSwitchLed1, f.iSwitchLed2, f.iSwitchLed6})
        shown << sw->Caption() + (sw->Active() ? "*" : "");
    for (TiAnalogOutput* entry : {f.iAnalogOutput3, f.iAnalogOutput8})
        shown << (entry->isHidden() ? QStringLiteral("-")
                                    : entry->Text() + (entry->ErrorActive() ? "!" : ""));
    for (TiKnob* knob : {f.iKnob1, f.iKnob2, f.iKnob3})
        shown << QString::number(knob->Position());
    return shown.join(' ') + " memo " + f.Memo13->toPlainText();
}

struct Outcome {
    std::vector<Bytes> frames;
    QString shown;
};

} // namespace

class KeysTest : public QObject {
    Q_OBJECT

    // A fresh panel, open on its line with "通讯" ticked, through the script.
    static std::optional<Outcome> Play(const QString& script) {
        PanelOnLine rig;
        if (!rig.Activate() || !rig.OpenLine() || !Script(rig).Run(script)) return std::nullopt;
        return Outcome{rig.FramesSentSoFar(), Shown(rig.Form())};
    }

  private slots:
    void aKeyPathSendsWhatItsMousePathSends_data() {
        QTest::addColumn<QString>("mouse");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("sends");
        const QString svByClicks = "click sw2; typeinto entry2 61.5; click sw2";
        QTest::newRow("SV: Space on SET, Enter in the entry")
            << svByClicks << "focus sw2; key Space; keys 61.5; key Enter" << true;
        QTest::newRow("SV: Enter on SET, Tab to ENT, Space")
            << svByClicks << "focus sw2; key Enter; keys 61.5; key Tab; key Space" << true;
        QTest::newRow("SV: keypad Enter on SET and in the entry")
            << svByClicks << "focus sw2; key KeypadEnter; keys 61.5; key KeypadEnter" << true;
        QTest::newRow("D: SET and ENT unchanged writes the display's value back")
            << "click sw6; click sw6"
            << "focus sw6; key Enter; key Tab; key Enter" << true;
        QTest::newRow("SV refused: a minus sign") << "click sw2; typeinto entry2 -5; click sw2"
                                                  << "focus sw2; key Space; keys -5; key Enter" << false;
        QTest::newRow("SV refused, Shift+Tab back, corrected")
            << "click sw2; typeinto entry2 -5; click sw2; typeinto entry2 5; click sw2"
            << "focus sw2; key Space; keys -5; key Enter; key Backtab; key Ctrl+A; keys 5; key Enter" << true;
        QTest::newRow("run/stop") << "refresh; click sw1"
                                  << "refresh; focus sw1; key Enter" << true;
        QTest::newRow("knob: three arrows, committed")
            << "poll; focus knob2; key Up; key Up; key Up; rim knob2"
            << "poll; focus knob2; key Up; key Up; key Up; key Enter" << true;
        QTest::newRow("knob: page down, committed") << "poll; focus knob3; key PageDown; rim knob3"
                                                    << "poll; focus knob3; key PageDown; key Enter" << true;
        QTest::newRow("knob: not turned, after a read") << "poll; rim knob2"
                                                        << "poll; focus knob2; key Enter" << true;
        QTest::newRow("knob: not turned, before any read") << "rim knob2"
                                                           << "focus knob2; key Enter" << false;
    }

    void aKeyPathSendsWhatItsMousePathSends() {
        QFETCH(QString, mouse);
        QFETCH(QString, keys);
        QFETCH(bool, sends);
        const std::optional<Outcome> byMouse = Play(mouse);
        const std::optional<Outcome> byKeys = Play(keys);
        QVERIFY(byMouse && byKeys);
        QCOMPARE(byMouse->frames.empty(), !sends);
        QCOMPARE(byKeys->frames, byMouse->frames);
        QCOMPARE(byKeys->shown, byMouse->shown);
    }

    void aCancelledCommandSendsNothing_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("restores");
        QTest::newRow("Escape in the entry") << ""
                                             << "focus sw2; key Space; keys 61.5; key Escape" << true;
        QTest::newRow("Escape on ENT") << ""
                                       << "focus sw2; key Enter; keys 61.5; key Tab; key Escape" << true;
        QTest::newRow("Escape after a refusal")
            << ""
            << "focus sw2; key Space; keys -5; key Enter; key Escape" << true;
        QTest::newRow("Escape after SET, ENT, SET") << "click sw2; click sw2"
                                                    << "focus sw2; key Space; keys 7; key Escape" << true;
        QTest::newRow("Escape on a turned knob") << "poll"
                                                 << "focus knob2; key Up; key PageUp; key Escape" << true;
        QTest::newRow("knob keys, then Tab away") << "poll"
                                                  << "focus knob2; key Up; key Tab" << false;
    }

    void aCancelledCommandSendsNothing() {
        QFETCH(QString, setup);
        QFETCH(QString, keys);
        QFETCH(bool, restores);
        PanelOnLine rig;
        QVERIFY(rig.Activate() && rig.OpenLine());
        Script script(rig);
        QVERIFY(script.Run(setup));
        rig.FramesSentSoFar();
        const QString before = Shown(rig.Form());
        QVERIFY(script.Run(keys));
        QCOMPARE(rig.FramesSentSoFar(), std::vector<Bytes>{});
        if (restores) QCOMPARE(Shown(rig.Form()), before);
    }

    // Escape gives the turn up: the knob shows the controller's value again at every read.
    void anEscapedKnobFollowsTheControllerAgain() {
        PanelOnLine rig;
        QVERIFY(rig.Activate() && rig.OpenLine());
        QVERIFY(Script(rig).Run("poll; focus knob2; key Up; key Escape"));
        rig.Form().Timer1Timer();
        QVERIFY(rig.AnswerRead({{4, 700}}));
        QCOMPARE(rig.Form().iKnob2->Position(), 700.0);
    }

    // An arrow key turns a knob by 1 % of its scale, a page key by 10 %.
    void keysTurnAKnobByShareOfItsScale_data() {
        QTest::addColumn<QString>("knob");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<double>("turned");
        QTest::newRow("input") << "knob1"
                               << "key Up; key PageUp" << 1100.0;
        QTest::newRow("maximum limit") << "knob2"
                                       << "key Down; key PageDown" << -110.0;
        QTest::newRow("minimum limit") << "knob3"
                                       << "key Up; key PageUp" << 44.0;
    }

    void keysTurnAKnobByShareOfItsScale() {
        QFETCH(QString, knob);
        QFETCH(QString, keys);
        QFETCH(double, turned);
        PanelOnLine rig;
        QVERIFY(rig.Activate());
        auto* k = static_cast<TiKnob*>(Script(rig).Named(knob));
        k->SetPosition(k->PositionMax() / 2);
        QVERIFY(Script(rig).Run("focus " + knob + "; " + keys));
        QCOMPARE(k->Position(), k->PositionMax() / 2 + turned);
    }

    // Tab goes through the controls in the order the layout reads, past every field that only shows a value,
    // and back to the first.
    void tabFollowsTheLayout_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("order");
        const QStringList top{"box", "address", "sw1", "port", "baud", "framing", "open", "knob1"};
        const QStringList bottom{"sw3", "sw4", "sw5", "sw6", "knob2", "knob3", "box"};
        QTest::newRow("entries closed") << "" << top + QStringList{"sw2"} + bottom;
        QTest::newRow("SV open") << "click sw2" << top + QStringList{"entry2", "sw2"} + bottom;
        QTest::newRow("SV refused") << "click sw2; typeinto entry2 -5; click sw2"
                                    << top + QStringList{"entry2", "sw2"} + bottom;
    }

    void tabFollowsTheLayout() {
        QFETCH(QString, setup);
        QFETCH(QStringList, order);
        PanelOnLine rig;
        QVERIFY(rig.Activate() && rig.OpenLine());
        Script script(rig);
        QVERIFY(script.Run(setup));
        rig.Form().CheckBox2->setFocus(Qt::TabFocusReason);
        QStringList visited{"box"};
        for (qsizetype n = 1; n < order.size(); ++n) {
            QVERIFY(script.Run("key Tab"));
            QWidget* focused = QApplication::focusWidget();
            QString name = "?";
            for (const QString& candidate : order)
                if (QWidget* w = script.Named(candidate); w == focused || w->isAncestorOf(focused))
                    name = candidate;
            visited << name;
        }
        QCOMPARE(visited, order);
    }

    // "通讯" and "打开串口" take Enter as they take Space and a click.
    void buttonsTakeEnter() {
        PanelOnLine rig;
        QVERIFY(rig.Activate() && rig.OpenLine());
        QVERIFY(Script(rig).Run("focus box; key Enter"));
        QVERIFY(!rig.Form().Polling());
        QVERIFY(Script(rig).Run("focus open; key Enter"));
        QVERIFY(!rig.Form().PortInUse());
    }
};

QTEST_MAIN(KeysTest)
#include "keys_test.moc"
