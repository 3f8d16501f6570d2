// The refresh tick on the real window: every widget it writes, from a register image in which every
// shown register holds a different value, so a widget fed from the wrong register shows the wrong text.
#include <QtTest>
#include <functional>

#include "panel/form1.h"
#include "panel_on_line.h"
#include "widgets/ti_analog_display.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_led.h"
#include "widgets/ti_led_bar.h"
#include "widgets/ti_linear_gauge.h"
#include "widgets/ti_switch_led.h"
#include "widgets/ti_thermometer.h"

using namespace lq;

namespace {

using Shown = std::function<QString(TForm1&)>;

// Each register shown, with a value that scales to a text of its own.
constexpr std::pair<int, std::uint16_t> kImage[] = {
    {0, 12345},   {3, 1},     {4, 999},    {5, 401},  {11, 487},  {12, 150},
    {13, 0x0106}, {15, 4000}, {20, 65535}, {21, 2},   {22, 1239}, {23, 3900},
    {35, 598},    {36, 600},  {39, 805},   {40, 123}, {41, 240},  {42, 61}};

QString Number(double v) {
    return QString::number(v);
}

// r for red, g for green (lime).
QChar Colour(TColor c) {
    return c == clRed ? u'r' : c == clLime ? u'g' : u'?';
}

QString Lamps(TForm1& f) {
    QString colours;
    for (TiLedRound* lamp : f.iLedRound)
        colours += Colour(lamp->ActiveColor());
    return colours;
}

QString RunStop(TForm1& f) {
    return f.iSwitchLed1->Caption() + ' ' + Colour(f.iSwitchLed1->ActiveColor());
}

} // namespace

Q_DECLARE_METATYPE(Shown)

class RefreshRowsTest : public QObject {
    Q_OBJECT

  private slots:
    void everyWidgetShowsItsRegister_data() {
        QTest::addColumn<Shown>("shown");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const Shown& shown, const char* expected) {
            QTest::newRow(name) << shown << QString::fromUtf8(expected);
        };
        row(
            "reg 11 / 10, output amount p1", [](TForm1& f) { return f.iAnalogOutput4->Text(); }, "48.7");
        row(
            "reg 11 / 10, output bar", [](TForm1& f) { return Number(f.iLedBar2->Position()); }, "48.7");
        row(
            "reg 0 / 100, input level p2", [](TForm1& f) { return f.iAnalogOutput2->Text(); }, "123.45");
        row(
            "reg 12, thermometer clamped to 100",
            [](TForm1& f) { return Number(f.iThermometer1->Position()); }, "100");
        row(
            "reg 12, temperature p0 'C", [](TForm1& f) { return f.iAnalogOutput1->Text(); }, "150'C");
        row("reg 3 bit 0, run/stop caption and colour", RunStop, "STOP g");
        row("reg 13 bits 0..8, lamps 1..9", Lamps, "grrgggggr");
        row(
            "reg 4 / 10, maximum limit p1", [](TForm1& f) { return f.iAnalogDisplay5->Text(); }, "99.9");
        row(
            "reg 5 / 10, minimum limit p1", [](TForm1& f) { return f.iAnalogDisplay6->Text(); }, "40.1");
        row(
            "reg 20 / 10, R_C p1", [](TForm1& f) { return f.iAnalogDisplay1->Text(); }, "6553.5");
        row(
            "reg 21 / 10, S_C p1", [](TForm1& f) { return f.iAnalogDisplay2->Text(); }, "0.2");
        row(
            "reg 22 / 10, T_C p1", [](TForm1& f) { return f.iAnalogDisplay3->Text(); }, "123.9");
        row(
            "reg 23 / 10, Volt p1", [](TForm1& f) { return f.iAnalogDisplay4->Text(); }, "390.0");
        row(
            "reg 15 / 10, gauge maximum", [](TForm1& f) { return Number(f.iLinearGauge1->PositionMax()); },
            "400");
        // Above the laid-out maximum of 380: the new maximum must be in place before the position is set.
        row(
            "reg 23 / 10, gauge position", [](TForm1& f) { return Number(f.iLinearGauge1->Position()); },
            "390");
        row(
            "reg 35 / 10, PV p1", [](TForm1& f) { return f.iAnalogDisplay7->Text(); }, "59.8");
        row(
            "reg 36 / 10, SV p1", [](TForm1& f) { return f.iAnalogDisplay8->Text(); }, "60.0");
        row(
            "reg 39 / 10, AL1 p1", [](TForm1& f) { return f.iAnalogDisplay9->Text(); }, "80.5");
        row(
            "reg 40 / 10, P p1", [](TForm1& f) { return f.iAnalogDisplay10->Text(); }, "12.3");
        row(
            "reg 41, I p0", [](TForm1& f) { return f.iAnalogDisplay11->Text(); }, "240");
        row(
            "reg 42, D p0", [](TForm1& f) { return f.iAnalogDisplay12->Text(); }, "61");
    }

    void everyWidgetShowsItsRegister() {
        QFETCH(Shown, shown);
        QFETCH(QString, expected);
        test::PanelOnLine rig;
        for (const auto& [reg, value] : kImage)
            rig.Form().Master().Registers().Set(reg, value);
        rig.Form().Timer2Timer();
        QCOMPARE(shown(rig.Form()), expected);
    }
};

QTEST_MAIN(RefreshRowsTest)
#include "refresh_rows_test.moc"
