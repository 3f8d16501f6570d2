// The real main window started with options, its port on a pseudo-terminal whose far side reads every
// frame: the options fill the boxes and click the controls as the operator would.
#include <QSocketNotifier>
#include <QTimer>
#include <QtTest>
#include <termios.h>
#include <unistd.h>

#include "app/start_options.h"
#include "modbus/request_frames.h"
#include "panel_on_line.h"

using namespace lq;

namespace {

// What the operator sees and what the port is set to.
QStringList PanelState(TForm1& form) {
    const TForm1::LineChoice shown = form.ShownLine();
    const TComm& port = form.Port();
    return {*shown.port,
            *shown.baud,
            *shown.framing,
            *shown.address,
            form.PortButtonText(),
            QString::number(form.Polling()),
            QString::fromStdString(port.CommName),
            QString::number(port.BaudRate()),
            QString::number(int(port.Parity)),
            QString::number(int(port.RtsControl())),
            QString::number(port.Connected())};
}

} // namespace

class StartOptionsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PanelOnLine> rig_;
    TForm1& Form() { return rig_->Form(); }

  private slots:
    void init() {
        rig_ = std::make_unique<test::PanelOnLine>();
        QVERIFY(rig_->Activate());
    }

    void cleanup() { rig_.reset(); }

    void noOptionLeavesThePanelAsItStarts() {
        const QStringList before = PanelState(Form());
        ApplySerialStart(Form(), {});
        QCOMPARE(PanelState(Form()), before);
    }

    void startedWithOptionsTheFirstFrameGoesOutWithNoOperatorAction() {
        std::vector<std::uint8_t> received;
        QSocketNotifier farSide(rig_->Line().MasterFd(), QSocketNotifier::Read);
        connect(&farSide, &QSocketNotifier::activated, [&] {
            std::uint8_t buffer[64];
            const ssize_t n = ::read(rig_->Line().MasterFd(), buffer, sizeof buffer);
            if (n > 0) received.insert(received.end(), buffer, buffer + n);
        });
        SerialStart start;
        start.port = QString::fromStdString(rig_->Line().SlavePath());
        start.baud = 9600;
        start.framing = QStringLiteral("8_E_1");
        start.address = 17;
        start.open = true;
        start.poll = true;
        ApplySerialStart(Form(), start);
        // The boxes show what was given, as if typed.
        const TForm1::LineChoice shown = Form().ShownLine();
        QCOMPARE(*shown.port, *start.port);
        QCOMPARE(*shown.baud, QString::number(*start.baud));
        QCOMPARE(*shown.framing, *start.framing);
        QCOMPARE(*shown.address, QString::number(*start.address));
        QVERIFY(Form().PortInUse());
        QCOMPARE(Form().PortButtonText(), QStringLiteral("关闭串口"));
        QVERIFY(Form().Polling());

        // The poll timer runs from the window's creation in the program; the test rig stopped it.
        Form().Timer1->start();
        QTRY_VERIFY_WITH_TIMEOUT(received.size() >= 8, 5000);
        const RequestFrame expected = BuildReadRequest(17, 0, 10);
        QCOMPARE(received, std::vector<std::uint8_t>(expected.begin(), expected.end()));
        termios line{};
        QCOMPARE(tcgetattr(rig_->Line().SlaveFd(), &line), 0);
        QCOMPARE(cfgetospeed(&line), speed_t(B9600));
        // The control block written at the open already had the parity.
        const Dcb& atOpen = rig_->Backend().statesWritten.front();
        QCOMPARE(atOpen.Parity, std::uint8_t(TParity::Even));
    }

    void rs485IsAskedForAtTheOpenItself() {
        SerialStart start;
        start.port = QString::fromStdString(rig_->Line().SlavePath());
        start.open = true;
        start.rs485 = true;
        ApplySerialStart(Form(), start);
        QCOMPARE(Form().Port().RtsControl(), TRtsControl::RtsTransmissionAvailable);
        // The control block of the open carries the mode; a pseudo-terminal has no RS-485 mode to give, so
        // the open fails and says why.
        QVERIFY(!rig_->Backend().statesWritten.empty());
        QCOMPARE(dcb::RtsControl(rig_->Backend().statesWritten.front().Flags),
                 RtsDeviceValue(TRtsControl::RtsTransmissionAvailable));
        QCOMPARE(rig_->messages.size(), 1);
        QCOMPARE(rig_->messages.front().section('\n', 0, 0), QStringLiteral("打开串口错误"));
        QVERIFY(rig_->messages.front().contains(QStringLiteral("RS-485")));
        QVERIFY(!Form().PortInUse());
    }

    void aPortThatDoesNotOpenGetsTheOperatorsMessage() {
        SerialStart start;
        start.port = QStringLiteral("/nonexistent/ttyUSB0");
        start.open = true;
        start.poll = true;
        ApplySerialStart(Form(), start);
        QCOMPARE(rig_->messages.size(), 1);
        QCOMPARE(rig_->messages.front().section('\n', 0, 0), QStringLiteral("打开串口错误"));
        QCOMPARE(Form().PortButtonText(), QStringLiteral("打开串口"));
        QVERIFY(!Form().PortInUse());
        QVERIFY(Form().Polling());
    }
};

QTEST_MAIN(StartOptionsTest)
#include "start_options_test.moc"
