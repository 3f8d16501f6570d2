// The poll cycle and the link lamp as the real window runs them: its own tick handlers called by hand, its
// port on a pseudo-terminal whose far end reads the requests and answers them.
#include <QCheckBox>
#include <QLabel>
#include <QtTest>

#include "modbus/request_frames.h"
#include "panel/form1.h"
#include "panel_on_line.h"
#include "widgets/ti_knob.h"

using namespace lq;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr std::uint8_t kReadHoldingRegisters = 3;

Bytes ReadFrame(std::uint8_t start) {
    const RequestFrame f = BuildReadRequest(1, start, 10);
    return Bytes(f.begin(), f.end());
}

std::vector<Bytes> ReadRequests(const std::vector<Bytes>& frames) {
    std::vector<Bytes> reads;
    for (const Bytes& f : frames)
        if (f[1] == kReadHoldingRegisters) reads.push_back(f);
    return reads;
}

} // namespace

class PollCycleOnWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::PanelOnLine> rig_;

    TForm1& Form() { return rig_->Form(); }
    bool LinkLampLit() { return !Form().Image14->isHidden(); }

    // One round of the two timers, refresh first (the order does not matter to what is checked).
    void TickBoth() {
        Form().Timer2Timer();
        Form().Timer1Timer();
    }

    // Polls the current block and lets the far end answer it; true once the reply was taken.
    bool PollAndAnswer(bool goodCrc = true) {
        Form().Timer1Timer();
        if (ReadRequests(rig_->FramesSentSoFar()).size() != 1) return false;
        rig_->Line().Write(test::PanelOnLine::ReadReply({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, goodCrc));
        return QTest::qWaitFor([&] { return LinkLampLit() == goodCrc; });
    }

    // A write of the maximum-limit knob's turned position, sent at once as "通讯" is ticked; no echo ever
    // comes.
    void WriteWithoutEcho() {
        Form().iKnob2->SetPosition(800);
        QTest::mouseClick(Form().iKnob2, Qt::LeftButton, {}, QPoint(3, 3));
    }

  private slots:
    void init() {
        rig_ = std::make_unique<test::PanelOnLine>();
        QVERIFY(rig_->Activate());
        QVERIFY(rig_->OpenLine());
    }

    void cleanup() { rig_.reset(); }

    // The refresh tick's age step: polling waits while the write is pending and resumes on the fourth
    // refresh tick, with the block it had reached.
    void anUnechoedWriteFreesPollingOnTheFourthRefreshTick() {
        WriteWithoutEcho();
        for (int round = 1; round <= 3; ++round) {
            TickBoth();
            QVERIFY2(ReadRequests(rig_->FramesSentSoFar()).empty(),
                     qPrintable(QString("round %1").arg(round)));
        }
        TickBoth();
        QCOMPARE(ReadRequests(rig_->FramesSentSoFar()), std::vector<Bytes>{ReadFrame(0)});
    }

    // A block answered before the write still moves the poll index on at the next tick, which sends nothing;
    // polling resumes with the next block.
    void thePollIndexMovesOnWhileAWriteIsPending() {
        QVERIFY(PollAndAnswer());
        WriteWithoutEcho();
        TickBoth();
        QCOMPARE(Form().Master().PollIndex(), 1);
        for (int round = 2; round <= 4; ++round)
            TickBoth();
        QCOMPARE(ReadRequests(rig_->FramesSentSoFar()), std::vector<Bytes>{ReadFrame(10)});
    }

    void theLinkLampGoesDark_data() {
        QTest::addColumn<QString>("cause");
        QTest::newRow("reply with a bad CRC") << "bad CRC";
        QTest::newRow("box unticked") << "unticked";
    }

    void theLinkLampGoesDark() {
        QFETCH(QString, cause);
        QVERIFY(PollAndAnswer());
        QVERIFY(LinkLampLit());
        if (cause == "bad CRC") {
            QVERIFY(PollAndAnswer(false));
        } else {
            Form().CheckBox2->setChecked(false);
            Form().Timer1Timer();
        }
        QVERIFY(!LinkLampLit());
        QVERIFY(!Form().Image7->isHidden());
    }
};

QTEST_MAIN(PollCycleOnWindowTest)
#include "poll_cycle_on_window_test.moc"
