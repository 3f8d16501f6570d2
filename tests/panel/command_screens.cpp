// Renders what an operator sees of the safe commands into PNGs for the docs: an entry just opened with the
// controller's value, an entry refused as out of range, an address no controller can have, and the old values
// of a block the controller refuses beside the current ones.
//   xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb build/tests/panel/panel_command_screens
//   docs
#include <QApplication>
#include <QComboBox>
#include <QScreen>
#include <QToolTip>
#include <QtTest>

#include "modbus/register_image.h"
#include "panel/form1.h"
#include "panel_on_line.h"
#include "widgets/ti_analog_display.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_switch_led.h"

using namespace lq;

namespace {

// A controller at work: SV 72.5, PV 68.3, AL1 80.0, P 1.5, I 240, D 30, limits 100.0 and 5.0.
const std::map<int, std::uint16_t> kRegisters{
    {0, 5000}, {3, 1},     {4, 1000}, {5, 50},   {11, 620}, {12, 41}, {15, 4000}, {20, 252}, {21, 249},
    {22, 251}, {23, 3794}, {35, 683}, {36, 725}, {39, 800}, {40, 15}, {41, 240},  {42, 30}};

void PollRound(test::PanelOnLine& rig) {
    for (int tick = 0; tick < 4; ++tick) {
        rig.Form().Timer1Timer();
        rig.AnswerRead(kRegisters);
    }
    rig.Form().Timer2Timer();
}

// The terminal's number depends on how many others are open on the machine, so the pictures would differ
// from run to run; the port box shows the name a USB adapter has instead. The open port stays open.
bool OpenLineShownAsAdapter(test::PanelOnLine& rig) {
    if (!rig.Activate() || !rig.OpenLine()) return false;
    rig.Form().ComboBox4->setEditText(QStringLiteral("ttyUSB0"));
    return rig.Form().Comm1->Connected();
}

void Save(QWidget& window, const QString& path) {
    QApplication::processEvents();
    window.grab().save(path);
}

// The controller stops answering the block of the phase currents and the voltage: four turns later their
// displays are old, the rest current. The picture is of the screen, so the tool tip under "T_C" shows too.
bool OldValues(const QString& path) {
    auto clock = std::make_shared<testing::FakeClock>();
    test::PanelOnLine rig(clock);
    if (!OpenLineShownAsAdapter(rig)) return false;
    TForm1& f = rig.Form();
    f.move(0, 0);
    for (int tick = 0; tick < 20; ++tick) {
        clock->Advance(std::chrono::milliseconds(500));
        f.Timer1Timer();
        if (!rig.AnswerRead(kRegisters, tick < 4 ? -1 : kPollBlockStarts[2])) return false;
    }
    f.Timer2Timer();
    QWidget* phaseT = f.iAnalogDisplay3;
    QToolTip::showText(phaseT->mapToGlobal(QPoint(0, phaseT->height())), phaseT->toolTip(), phaseT);
    QTest::qWait(300);
    const QRect frame = f.frameGeometry();
    return f.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(path);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // A blinking text cursor would be in the picture or not depending on how busy the machine is.
    QApplication::setCursorFlashTime(0);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    test::PanelOnLine rig;
    if (!OpenLineShownAsAdapter(rig)) return 1;
    PollRound(rig);
    TForm1& f = rig.Form();

    QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton);
    Save(f, folder + "/entry-opened.png");

    QTest::keyClicks(f.iAnalogOutput3->Editor(), "-5");
    QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton);
    Save(f, folder + "/entry-refused.png");

    QTest::mouseClick(f.iAnalogOutput3, Qt::LeftButton);
    QTest::keyClicks(f.iAnalogOutput3->Editor(), "72.5");
    QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton);
    f.ComboBox1->setEditText(QStringLiteral("257"));
    f.Timer1Timer();
    Save(f, folder + "/address-red.png");

    f.ComboBox1->setEditText(QStringLiteral("1"));
    f.Timer1Timer();
    QTest::mouseClick(f.iSwitchLed5, Qt::LeftButton);
    QTest::keyClicks(f.iAnalogOutput7->Editor(), "12.6");
    QTest::mouseClick(f.iSwitchLed5, Qt::LeftButton);
    Save(f, folder + "/entry-whole-number.png");
    f.hide();
    return OldValues(folder + "/old-values.png") ? 0 : 1;
}
