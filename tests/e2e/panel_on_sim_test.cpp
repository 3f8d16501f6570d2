// The operator's panel against the simulated controller: real window, timers, pause, serial threads,
// pseudo-terminal and slave, all running on the event loop as in use.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <map>

#include "panel/monitor/link_statistics_view.h"
#include "panel/monitor/monitor_tool.h"
#include "panel/monitor/monitor_window.h"
#include "panel/old_value_marks.h"
#include "tests/e2e/panel_on_sim.h"
#include "widgets/ti_analog_display.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_knob.h"
#include "widgets/ti_label.h"
#include "widgets/ti_led.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_switch_led.h"

using namespace lq;
using lq::e2e::PanelOnSim;

namespace {

// A full poll round is four ticks of 500 ms; this leaves room for repeats of lost or damaged replies.
constexpr int kConvergeMs = 12000;
// A write goes out at once; its value is back in the image within one round after the write has ended.
constexpr int kRoundTripMs = 6000;

// The grey level of its darkest pixel in the window as painted (a widget grabbed alone is drawn otherwise).
int Darkest(QWidget& w) {
    QCoreApplication::processEvents();
    const QPoint at = w.mapTo(w.window(), QPoint(0, 0));
    const QImage shown =
        w.screen()->grabWindow(w.window()->winId(), at.x(), at.y(), w.width(), w.height()).toImage();
    int darkest = 255;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            darkest = std::min(darkest, qGray(shown.pixel(x, y)));
    return darkest;
}

std::uint16_t SimRegister(PanelOnSim& p, int reg) {
    const auto regs = p.Sim().Registers();
    return regs ? (*regs)[reg] : 0;
}

} // namespace

class PanelOnSimTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PanelOnSim> panel_;

    // Opens the port and ticks the box as the operator does, then waits for the whole image and the
    // displays to agree with the simulator.
    void StartPolling(std::vector<std::string> simOptions) {
        panel_ = std::make_unique<PanelOnSim>(std::move(simOptions));
        QVERIFY(QTest::qWaitForWindowActive(&panel_->Form()));
        QVERIFY(panel_->OpenAndTick());
        QVERIFY2(panel_->Messages().isEmpty(), qPrintable(panel_->Messages().join(", ")));
        QElapsedTimer sinceTicked;
        sinceTicked.start();
        QTRY_COMPARE_WITH_TIMEOUT(panel_->ImageMismatch(), QString(), kConvergeMs);
        QTRY_COMPARE_WITH_TIMEOUT(panel_->DisplayMismatch(), QString(), 2000);
        // For the reader of the log only: how long an operator waits for a full panel.
        qInfo("all shown %lld ms after ticking, %d deliveries, %d damaged", sinceTicked.elapsed(),
              panel_->Log().deliveries, panel_->Log().damaged);
    }

    // Commands go out just after a reply was handled, far from the next poll request, so that the simulator
    // never sees a read and a write run together into one frame.
    void WaitForQuietLine() {
        const int before = panel_->Log().deliveries;
        QTRY_VERIFY_WITH_TIMEOUT(panel_->Log().deliveries > before, 3000);
    }

    void TypeInto(TiAnalogOutput* field, const QString& text) {
        QTest::mouseClick(field->Editor(), Qt::LeftButton);
        QTest::keyClick(field->Editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field->Editor(), text);
    }

  private slots:
    void cleanup() { panel_.reset(); }

    void everyBlockIsReadAndShown() {
        StartPolling({"--seed", "11"});
        QVERIFY(!panel_->Form().Image14->isHidden());
        QCOMPARE(panel_->Log().damaged, 0);
    }

    void knobClickReachesTheController() {
        StartPolling({"--seed", "12"});
        TiKnob* knob = panel_->Form().iKnob1;
        const int target = SimRegister(*panel_, 0) == 7500 ? 2500 : 7500;
        knob->SetPosition(target);
        WaitForQuietLine();
        // A click on the rim, away from the grip, clicks without turning the knob.
        QTest::mouseClick(knob, Qt::LeftButton, {}, QPoint(3, 3));
        QTRY_COMPARE_WITH_TIMEOUT(SimRegister(*panel_, 0), std::uint16_t(target), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(panel_->Form().iAnalogOutput2->Value(), target / 100.0, kRoundTripMs);
        QCOMPARE(panel_->ImageMismatch(), QString());
    }

    void runStopTogglesTheController() {
        StartPolling({"--seed", "13"});
        TiSwitchLed* runStop = panel_->Form().iSwitchLed1;
        for (int toggle = 0; toggle < 2; ++toggle) {
            const bool running = (SimRegister(*panel_, 3) & 1) != 0;
            QCOMPARE(runStop->Caption(), running ? QStringLiteral("STOP") : QStringLiteral("RUN"));
            WaitForQuietLine();
            QTest::mouseClick(runStop, Qt::LeftButton);
            QCOMPARE(panel_->Form().Memo13->toPlainText(),
                     running ? QStringLiteral("1111") : QStringLiteral("3333"));
            QTRY_COMPARE_WITH_TIMEOUT(SimRegister(*panel_, 3) & 1, running ? 0 : 1, 2000);
            QTRY_COMPARE_WITH_TIMEOUT(runStop->Caption(),
                                      running ? QStringLiteral("RUN") : QStringLiteral("STOP"), kRoundTripMs);
            if (running) QTRY_COMPARE_WITH_TIMEOUT(panel_->Form().Master().Registers()[11], 0, kRoundTripMs);
        }
    }

    void setValueEntryReachesTheController() {
        StartPolling({"--seed", "14"});
        TForm1& f = panel_->Form();
        const int target = SimRegister(*panel_, 36) == 725 ? 655 : 725;
        QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton);
        QCOMPARE(f.iSwitchLed2->Caption(), QStringLiteral("ENT"));
        TypeInto(f.iAnalogOutput3, QString::number(target / 10.0, 'f', 1));
        WaitForQuietLine();
        QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton);
        QCOMPARE(f.iSwitchLed2->Caption(), QStringLiteral("SET"));
        QTRY_COMPARE_WITH_TIMEOUT(SimRegister(*panel_, 36), std::uint16_t(target), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(panel_->DisplayMismatch(), QString(), kRoundTripMs);
        QCOMPARE(f.Master().Registers()[36], target);
    }

    void plainClicksAndUntypedEntriesWriteBackWhatTheControllerHas() {
        StartPolling({"--seed", "16"});
        TForm1& f = panel_->Form();
        const std::vector<int> written{0, 4, 5, 36, 39, 40, 41, 42};
        std::map<int, std::uint16_t> before;
        for (int reg : written)
            before[reg] = SimRegister(*panel_, reg);
        const auto endOfNextWrite = [&] {
            const std::size_t ended = panel_->Log().writes.size();
            return [this, ended] { return panel_->Log().writes.size() > ended; };
        };
        for (TiKnob* knob : {f.iKnob1, f.iKnob2, f.iKnob3}) {
            WaitForQuietLine();
            const auto done = endOfNextWrite();
            QTest::mouseClick(knob, Qt::LeftButton, {}, QPoint(3, 3));
            QTRY_VERIFY_WITH_TIMEOUT(done(), 3000);
        }
        for (TiSwitchLed* pair :
             {f.iSwitchLed2, f.iSwitchLed3, f.iSwitchLed4, f.iSwitchLed5, f.iSwitchLed6}) {
            WaitForQuietLine();
            const auto done = endOfNextWrite();
            QTest::mouseClick(pair, Qt::LeftButton); // SET: the controller's value
            QTest::mouseClick(pair, Qt::LeftButton); // ENT, nothing typed
            QTRY_VERIFY_WITH_TIMEOUT(done(), 3000);
        }
        QCOMPARE(int(panel_->Log().writes.size()), 8);
        for (const auto& write : panel_->Log().writes)
            QCOMPARE(int(write.outcome), int(WriteOutcome::Confirmed));
        for (int reg : written)
            QCOMPARE(SimRegister(*panel_, reg), before[reg]);
        QCOMPARE(panel_->ImageMismatch(), QString());
    }

    // Clicks before polling send nothing and do not hold the knobs: once "通讯" is ticked each knob shows the
    // controller's value, and a click without turning writes back just that.
    void knobClicksThatSentNothingLeaveTheKnobsToTheController() {
        panel_ = std::make_unique<PanelOnSim>(std::vector<std::string>{"--seed", "17"});
        QVERIFY(QTest::qWaitForWindowActive(&panel_->Form()));
        QVERIFY(panel_->OpenPort());
        TForm1& f = panel_->Form();
        const std::vector<std::pair<TiKnob*, int>> knobs{{f.iKnob2, 4}, {f.iKnob1, 0}};
        for (const auto& [knob, reg] : knobs)
            QTest::mouseClick(knob, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(f.Master().Statistics().writesSent, 0u);
        f.SetPolling(true);
        QTRY_COMPARE_WITH_TIMEOUT(panel_->ImageMismatch(), QString(), kConvergeMs);
        QTRY_COMPARE_WITH_TIMEOUT(panel_->DisplayMismatch(), QString(), 2000);
        std::map<int, std::uint16_t> before;
        for (const auto& [knob, reg] : knobs) {
            before[reg] = SimRegister(*panel_, reg);
            QVERIFY(before[reg] != 0);
            QCOMPARE(knob->Position(), double(before[reg]));
            WaitForQuietLine();
            const std::size_t ended = panel_->Log().writes.size();
            QTest::mouseClick(knob, Qt::LeftButton, {}, QPoint(3, 3));
            QTRY_VERIFY_WITH_TIMEOUT(panel_->Log().writes.size() > ended, 3000);
        }
        QCOMPARE(int(panel_->Log().writes.size()), 2);
        for (const auto& write : panel_->Log().writes) {
            QCOMPARE(write.value, before[write.registerAddress]);
            QCOMPARE(int(write.outcome), int(WriteOutcome::Confirmed));
        }
    }

    // The controller refuses the block of the phase currents and the voltage for the first 14 s: their
    // displays look old within a few turns while the other blocks' do not, and clear once it is answered.
    void aRefusedBlocksDisplaysLookOldUntilItIsAnsweredAgain() {
        panel_ = std::make_unique<PanelOnSim>(
            std::vector<std::string>{"--refuse-block", "20", "--refuse-for", "14", "--seed", "18"});
        QVERIFY(QTest::qWaitForWindowActive(&panel_->Form()));
        QVERIFY(panel_->OpenAndTick());
        TForm1& f = panel_->Form();
        const std::vector<QWidget*> refused{f.iAnalogDisplay1, f.iAnalogDisplay2, f.iAnalogDisplay3,
                                            f.iAnalogDisplay4, f.Memo12};
        const std::vector<QWidget*> answered{f.iAnalogDisplay5, f.iAnalogOutput1, f.iAnalogDisplay7,
                                             f.iAnalogDisplay8};
        const auto allMarked = [&] {
            return std::all_of(refused.begin(), refused.end(), OldValueMarks::Marked);
        };
        QElapsedTimer sinceTicked;
        sinceTicked.start();
        QTRY_VERIFY_WITH_TIMEOUT(allMarked(), 10000);
        const qint64 markedAfter = sinceTicked.elapsed();
        QVERIFY(panel_->Log().blocksRead.count(2) == 0);
        for (QWidget* w : answered)
            QVERIFY(!OldValueMarks::Marked(w));
        QVERIFY(f.iAnalogDisplay4->toolTip().contains(QStringLiteral("旧值")));
        std::map<QWidget*, int> darkest; // even digits and text are grey while marked
        for (QWidget* w : refused)
            darkest[w] = Darkest(*w);
        QTRY_VERIFY_WITH_TIMEOUT(panel_->Log().blocksRead.count(2) == 1, 20000);
        QSignalSpy refreshed(f.Timer2, &QTimer::timeout);
        QVERIFY(refreshed.wait(1000));
        for (QWidget* w : refused)
            QVERIFY(!OldValueMarks::Marked(w) && Darkest(*w) < darkest[w]);
        QCOMPARE(f.iAnalogDisplay4->toolTip(), QString());
        // For the reader of the log only.
        qInfo("marked old %lld ms after ticking, clear again %lld ms after ticking", markedAfter,
              sinceTicked.elapsed());
        QTRY_COMPARE_WITH_TIMEOUT(panel_->DisplayMismatch(), QString(), 2000);
    }

    // With an address no controller can have, run/stop and an SV entry send nothing and show nothing as
    // given: the switch, Memo13 and the open pair stay as they were, and the monitor counts the presses as
    // not sent.
    void commandsWithNoValidAddressChangeNothingOnScreen() {
        StartPolling({"--seed", "19"});
        TForm1& f = panel_->Form();
        MonitorTool monitor(f);
        monitor.Open();
        const std::uint16_t reg3 = SimRegister(*panel_, 3);
        const QString caption = f.iSwitchLed1->Caption();
        const bool active = f.iSwitchLed1->Active();
        QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton); // SET: the pair opens
        for (const char* address : {"0", "248"}) {
            TForm1::LineChoice choice;
            choice.address = QString::fromLatin1(address);
            f.ApplyLineSettings(choice);
            QTest::mouseClick(f.iSwitchLed1, Qt::LeftButton);
            QTest::mouseClick(f.iSwitchLed2, Qt::LeftButton); // ENT
            QSignalSpy refreshed(f.Timer2, &QTimer::timeout);
            QVERIFY(refreshed.wait(1000));
            QCOMPARE(f.Memo13->toPlainText(), QStringLiteral("0"));
            QCOMPARE(f.iSwitchLed1->Caption(), caption);
            QCOMPARE(f.iSwitchLed1->Active(), active);
            QCOMPARE(f.iSwitchLed2->Caption(), QStringLiteral("ENT"));
        }
        QCOMPARE(SimRegister(*panel_, 3), reg3);
        LinkStatisticsView& counts = monitor.Window()->Statistics();
        counts.Refresh();
        QCOMPARE(counts.ValueOf(QStringLiteral("写入未发送 (not sent)")), QStringLiteral("4"));
        QCOMPARE(counts.ValueOf(QStringLiteral("写入未确认")), QStringLiteral("0"));
        QCOMPARE(counts.ValueOf(QStringLiteral("写入被取代")), QStringLiteral("0"));
    }

    // A lost phase T lights the lamp captioned "T" (the fourth) and no other, and "T_C" reads 0.0.
    void aLostPhaseLightsItsOwnLamp() {
        StartPolling({"--fault", "phase-loss", "--seed", "16"});
        TForm1& f = panel_->Form();
        for (std::size_t lamp = 0; lamp < f.iLedRound.size(); ++lamp)
            QCOMPARE(f.iLedRound[lamp]->ActiveColor(), lamp == 3 ? clRed : clLime);
        QCOMPARE(f.iLabelAlarm[3]->Caption(), QStringLiteral("T"));
        QCOMPARE(f.iAnalogDisplay3->Text(), QStringLiteral("0.0"));
    }

    void damagedRepliesNeverReachTheImage() {
        StartPolling({"--corrupt", "0.3", "--seed", "15"});
        // Another full round, so that repeats after damaged replies are part of what is checked.
        const int seen = panel_->Log().deliveries;
        QTRY_VERIFY_WITH_TIMEOUT(panel_->Log().deliveries >= seen + 4, kConvergeMs);
        QVERIFY(panel_->Log().damaged > 0);
        const auto held = panel_->Sim().HeldValues();
        for (const auto& [reg, values] : panel_->Log().accepted)
            for (std::uint16_t value : values)
                QVERIFY2(held.count(reg) != 0 && held.at(reg).count(value) != 0,
                         qPrintable(QStringLiteral("register %1 took %2").arg(reg).arg(value)));
        QCOMPARE(panel_->ImageMismatch(), QString());
    }
};

QTEST_MAIN(PanelOnSimTest)
#include "panel_on_sim_test.moc"
