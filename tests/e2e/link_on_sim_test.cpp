// The link lamp and the commands against a simulated controller that is slow, refuses a block, loses frames
// or stops: the real panel with its own timers, the real serial port and the real simulator process.
#include <QElapsedTimer>
#include <QLabel>
#include <QtTest>
#include <csignal>

#include "tests/e2e/panel_on_sim.h"
#include "widgets/ti_knob.h"

using namespace lq;
using lq::e2e::PanelOnSim;
using std::chrono::steady_clock;

namespace {

std::vector<int> AcceptedPerBlock(const e2e::DeliveryLog& log, std::size_t from = 0) {
    std::vector<int> counts(4, 0);
    for (std::size_t i = from; i < log.blocks.size(); ++i)
        ++counts[log.blocks[i].block];
    return counts;
}

QString Counts(const std::vector<int>& counts) {
    QStringList out;
    for (int c : counts)
        out << QString::number(c);
    return out.join(' ');
}

} // namespace

class LinkOnSimTest : public QObject {
    Q_OBJECT

    std::unique_ptr<PanelOnSim> panel_;

    bool LampLit() { return !panel_->Form().Image14->isHidden(); }

    void Start(std::vector<std::string> simOptions) {
        panel_ = std::make_unique<PanelOnSim>(std::move(simOptions));
        QVERIFY(QTest::qWaitForWindowActive(&panel_->Form()));
        QVERIFY(panel_->OpenAndTick());
        QVERIFY2(panel_->Messages().isEmpty(), qPrintable(panel_->Messages().join(", ")));
    }

    // Waits for the next read request to go out, then `afterMs` more: a command at that phase of the tick.
    void WaitForPhase(int afterMs) {
        const std::size_t reads = panel_->Log().readsSent.size();
        QTRY_VERIFY_WITH_TIMEOUT(panel_->Log().readsSent.size() > reads, 3000);
        QTest::qWait(afterMs);
    }

    // Clicks the input knob at `value` and waits until that write has ended, one way or another.
    e2e::WriteRecord KnobWrite(int value) {
        TiKnob* knob = panel_->Form().iKnob1;
        knob->SetPosition(value);
        const std::size_t ended = panel_->Log().writes.size();
        QTest::mouseClick(knob, Qt::LeftButton, {}, QPoint(3, 3));
        [&] { QTRY_VERIFY_WITH_TIMEOUT(panel_->Log().writes.size() > ended, 4000); }();
        return panel_->Log().writes.size() > ended ? panel_->Log().writes.back() : e2e::WriteRecord{};
    }

    bool SimHeld(int reg, int value) {
        const auto held = panel_->Sim().HeldValues();
        return held.count(reg) != 0 && held.at(reg).count(static_cast<std::uint16_t>(value)) != 0;
    }

  private slots:
    void cleanup() { panel_.reset(); }

    void aSlowControllerStillHasEveryBlockReadUnderItsOwnNumber() {
        Start({"--delay", "650", "--seed", "21"});
        QTest::qWait(60000);
        const std::vector<int> counts = AcceptedPerBlock(panel_->Log());
        qInfo("650 ms controller, 60 s: accepted per block %s, unanswered ticks %zu",
              qPrintable(Counts(counts)), panel_->Log().unanswered.size());
        for (int block = 0; block < 4; ++block)
            QVERIFY2(counts[block] >= 5, qPrintable("accepted per block: " + Counts(counts)));
        QCOMPARE(panel_->BlocksNotHeld(), 0);
    }

    void commandsAtEveryPhaseOfTheTickReachTheController() {
        Start({"--seed", "22"});
        QTRY_VERIFY_WITH_TIMEOUT(panel_->Log().blocksRead.size() == 4, 12000);
        int reached = 0;
        for (int k = 0; k < 25; ++k) {
            WaitForPhase(20 * k);
            const int value = 1000 + 100 * k;
            const e2e::WriteRecord write = KnobWrite(value);
            QCOMPARE(write.value, std::uint16_t(value));
            QCOMPARE(int(write.outcome), int(WriteOutcome::Confirmed));
            reached += SimHeld(0, value) ? 1 : 0;
        }
        QCOMPARE(reached, 25);
    }

    void aWriteEitherReachesTheControllerOrTheLampGoesDark() {
        // One frame in five lost: requests on their way in, replies on their way back.
        Start({"--lose-requests", "0.1", "--drop", "0.1", "--seed", "23"});
        QTRY_VERIFY_WITH_TIMEOUT(panel_->Log().blocksRead.size() == 4, 15000);
        int reached = 0, saidFailed = 0, lostWithoutASign = 0;
        for (int k = 0; k < 20; ++k) {
            WaitForPhase(37 * k % 480);
            const int value = 2000 + 100 * k;
            const e2e::WriteRecord write = KnobWrite(value);
            if (SimHeld(0, value)) {
                ++reached;
                QVERIFY(write.outcome == WriteOutcome::Confirmed || !write.lampLit);
            } else if (write.outcome != WriteOutcome::Confirmed && !write.lampLit) {
                ++saidFailed;
            } else {
                ++lostWithoutASign;
            }
        }
        qInfo("20 writes with one frame in five lost: %d reached, %d ended with the lamp dark, %d lost "
              "silently",
              reached, saidFailed, lostWithoutASign);
        QCOMPARE(lostWithoutASign, 0);
        QVERIFY(reached > 0);
    }

    void aStoppedControllerDarkensTheLampByTheNextTick() {
        Start({"--seed", "24"});
        QTRY_VERIFY_WITH_TIMEOUT(LampLit(), 5000);
        // Right after a good reply, so that the next read is the first one nobody answers.
        const std::size_t accepted = panel_->Log().blocks.size();
        QTRY_VERIFY_WITH_TIMEOUT(panel_->Log().blocks.size() > accepted, 3000);
        ::kill(panel_->Sim().Pid(), SIGSTOP);
        const auto stopped = steady_clock::now();
        QTRY_VERIFY_WITH_TIMEOUT(!LampLit(), 2000);
        const auto dark = steady_clock::now();
        ::kill(panel_->Sim().Pid(), SIGCONT);
        // The first read after the stop goes out at the next tick; the tick after that finds it unanswered.
        const auto& reads = panel_->Log().readsSent;
        const auto firstRead = std::find_if(reads.begin(), reads.end(), [&](auto t) { return t > stopped; });
        QVERIFY(firstRead != reads.end());
        const auto readToDark = std::chrono::duration_cast<std::chrono::milliseconds>(dark - *firstRead);
        qInfo("lamp dark %lld ms after the first unanswered read was sent",
              static_cast<long long>(readToDark.count()));
        // One tick, with room for a busy machine; without the rule it would stay lit for good.
        QVERIFY(readToDark.count() <= 800);
    }

    void aRefusedBlockDoesNotFreezeTheOthers() {
        Start({"--refuse-block", "20", "--seed", "25"});
        QTRY_VERIFY_WITH_TIMEOUT(panel_->Log().blocksRead.size() == 3, 10000);
        const std::size_t from = panel_->Log().blocks.size();
        QTest::qWait(12000);
        const std::vector<int> counts = AcceptedPerBlock(panel_->Log(), from);
        qInfo("block 20 refused, 12 s: accepted per block %s", qPrintable(Counts(counts)));
        QCOMPARE(counts[2], 0);
        for (int block : {0, 1, 3})
            QVERIFY2(counts[block] >= 2, qPrintable(Counts(counts)));
    }
};

QTEST_MAIN(LinkOnSimTest)
#include "link_on_sim_test.moc"
