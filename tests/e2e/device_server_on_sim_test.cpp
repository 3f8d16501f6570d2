// The operator's panel reaching the simulated controller through a serial device server, as the simulator
// plays one on loopback: RTU over TCP on 127.0.0.1 and a Modbus TCP gateway on ::1.
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "panel/monitor/link_statistics_view.h"
#include "panel/monitor/monitor_tool.h"
#include "panel/monitor/monitor_window.h"
#include "panel/monitor/traffic_table_model.h"
#include "panel/port_lost_notice.h"
#include "tests/e2e/panel_on_sim.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_knob.h"

using namespace lq;
using lq::e2e::PanelOnSim;

namespace {

constexpr int kConvergeMs = 12000;
constexpr int kRoundTripMs = 6000;

// The port number the simulator printed at the end of its port name.
std::string PortOf(const std::string& name) {
    return name.substr(name.rfind(':') + 1);
}

std::uint16_t SimRegister(PanelOnSim& p, int reg) {
    const auto regs = p.Sim().Registers();
    return regs ? (*regs)[reg] : 0;
}

} // namespace

class DeviceServerOnSimTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PanelOnSim> panel_;
    std::unique_ptr<MonitorTool> monitor_;

    TForm1& Form() { return panel_->Form(); }

    void OpenOnTheSimulatorsName() {
        Form().ApplyLineSettings({QString::fromStdString(panel_->Sim().DevicePath()), {}, {}, {}});
        QVERIFY(panel_->OpenAndTick());
        QVERIFY2(panel_->Messages().isEmpty(), qPrintable(panel_->Messages().join(", ")));
    }

    void WaitForQuietLine() {
        const int before = panel_->Log().deliveries;
        QTRY_VERIFY_WITH_TIMEOUT(panel_->Log().deliveries > before, 3000);
    }

    void KnobWriteLands() {
        TiKnob* knob = Form().iKnob1;
        const int target = SimRegister(*panel_, 0) == 1234 ? 2345 : 1234;
        knob->SetPosition(target);
        WaitForQuietLine();
        QTest::mouseClick(knob, Qt::LeftButton, {}, QPoint(3, 3));
        QTRY_COMPARE_WITH_TIMEOUT(SimRegister(*panel_, 0), std::uint16_t(target), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(Form().iAnalogOutput2->Value(), target / 100.0, kRoundTripMs);
    }

  private slots:
    void cleanup() {
        monitor_.reset();
        panel_.reset();
    }

    void pollsWritesLosesAndReopens_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("listen");
        QTest::newRow("RTU over TCP on 127.0.0.1") << QStringLiteral("--tcp") << QStringLiteral("127.0.0.1");
        QTest::newRow("Modbus TCP on ::1") << QStringLiteral("--modbus-tcp") << QStringLiteral("::1");
    }

    void pollsWritesLosesAndReopens() {
        QFETCH(QString, kind);
        QFETCH(QString, listen);
        const std::vector<std::string> first{kind.toStdString(),   "0",      "--listen",
                                             listen.toStdString(), "--seed", "5"};
        panel_ = std::make_unique<PanelOnSim>(first);
        QVERIFY(QTest::qWaitForWindowActive(&Form()));
        const std::string name = panel_->Sim().DevicePath();
        OpenOnTheSimulatorsName();
        QTRY_COMPARE_WITH_TIMEOUT(panel_->ImageMismatch(), QString(), kConvergeMs);
        QVERIFY(!Form().Image14->isHidden());
        // The server's own serial settings apply: the boxes say so and take no input while it is open.
        QVERIFY(!Form().ComboBox5->isEnabled() && !Form().ComboBox6->isEnabled());
        QVERIFY(Form().ComboBox5->toolTip().contains(QStringLiteral("串口服务器")));
        KnobWriteLands();

        monitor_ = std::make_unique<MonitorTool>(Form());
        monitor_->Open();
        QTRY_VERIFY_WITH_TIMEOUT(monitor_->Window()->Traffic().rowCount() > 4, 3000);
        monitor_->Window()->Statistics().Refresh();
        const QString dropped =
            monitor_->Window()->Statistics().ValueOf(QStringLiteral("丢弃的 MBAP 应答 (dropped)"));
        QCOMPARE(dropped, kind == QStringLiteral("--modbus-tcp") ? QStringLiteral("0") : QString());

        // The server goes away: its connection closes, and the panel takes it as an unplugged adapter.
        QElapsedTimer sinceStop;
        sinceStop.start();
        panel_->Sim().Stop();
        QTRY_VERIFY_WITH_TIMEOUT(FindPortLostNotice(&Form()) != nullptr, 1500);
        qInfo("port closed and notice shown %lld ms after the server stopped", sinceStop.elapsed());
        QVERIFY(Form().Image14->isHidden());
        QCOMPARE(Form().PortButtonText(), QStringLiteral("打开串口"));
        QVERIFY(FindPortLostNotice(&Form())->text().contains(QString::fromStdString(name)));
        QVERIFY(Form().ComboBox5->isEnabled());

        // Nobody listens now: the open fails with the system's reason and what to check.
        Form().OpenPort();
        QVERIFY(!Form().PortInUse());
        QCOMPARE(panel_->Messages().size(), 1);
        QVERIFY2(panel_->Messages().front().contains(QStringLiteral("ECONNREFUSED")),
                 qPrintable(panel_->Messages().front()));
        QVERIFY(panel_->Messages().front().contains(QStringLiteral("端口 ") +
                                                    QString::fromStdString(PortOf(name))));

        // The server back on the same port: one click opens, and polling goes on.
        panel_->RestartSim(
            {kind.toStdString(), PortOf(name), "--listen", listen.toStdString(), "--seed", "6"});
        QCOMPARE(panel_->Sim().DevicePath(), name);
        const int before = panel_->Log().deliveries;
        Form().OpenPort();
        QVERIFY(Form().PortInUse());
        QTRY_VERIFY_WITH_TIMEOUT(panel_->Log().deliveries > before + 4, kRoundTripMs);
        QTRY_VERIFY_WITH_TIMEOUT(!Form().Image14->isHidden(), kRoundTripMs);
    }
};

QTEST_MAIN(DeviceServerOnSimTest)
#include "device_server_on_sim_test.moc"
