#include <gtest/gtest.h>

#include "journal/journal.h"
#include "master_fakes.h"

namespace lq {
namespace {

using testing::Bytes;
using testing::ExceptionReply;
using testing::ReadReply;
using testing::WithCrc;
using testing::WriteEcho;

JournalWording TestWording() {
    JournalWording w;
    w.alarmOn = "on %1";
    w.alarmOff = "off %1";
    w.alarmAck = "ack %1";
    w.linkLost = "lost: %1";
    w.noReply = "silent";
    w.badCrc = "crc";
    w.exception = "exc %1";
    w.shortReply = "short";
    w.linkRestored = "back";
    w.write = "%1 = %2 (was %3) %4 x%5";
    w.confirmed = "ok";
    w.refused = "refused %1";
    w.unconfirmed = "no echo";
    w.superseded = "replaced";
    w.notSent = "not sent";
    w.runState = "now %1";
    return w;
}

// A master on fakes with the journal listening to it, as the panel wires them.
struct JournalRig : testing::MasterRig {
    Journal journal{master.Registers(), TestWording()};

    JournalRig() { master.AddObserver(journal.Link()); }

    // The block's reply with one register set, the others 0.
    void Answer(std::uint8_t block, int reg, std::uint16_t value) {
        std::vector<std::uint16_t> values(10, 0);
        values[static_cast<std::size_t>(reg - kPollBlockStarts[block])] = value;
        PollAt(block);
        Deliver(ReadReply(values));
    }
    std::vector<std::string> Texts(std::size_t from = 0) const {
        std::vector<std::string> texts;
        for (std::size_t i = from; i < journal.Entries().Size(); ++i)
            texts.push_back(journal.Entries()[i].text);
        return texts;
    }
};

TEST(LinkJournal, BitsSetInTheFirstReplyComeOnAtItsTime) {
    JournalRig rig;
    rig.PollAt(1);
    const auto at = rig.clock.WallNow();
    rig.Deliver(ReadReply({0, 0, 0, 0b1'0001'0001, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rig.Texts(), (std::vector<std::string>{"on PWER", "on TEMP MAX", "on CUUR SHO"}));
    const JournalEntry& first = rig.journal.Entries()[0];
    EXPECT_EQ(first.kind, EntryKind::AlarmOn);
    EXPECT_EQ(first.subject, "13.0");
    EXPECT_EQ(first.value, 0b1'0001'0001);
    EXPECT_EQ(first.time, at);
    EXPECT_EQ(rig.journal.Alarms().Unacknowledged(), 3);
}

TEST(LinkJournal, AnAlarmKeepsItsStateWhileNoReplyComesAndNothingIsInvented) {
    JournalRig rig;
    rig.Answer(1, 13, 0b10);
    const std::size_t seen = rig.journal.Entries().Size();
    for (int i = 0; i < 8; ++i)
        rig.Tick(); // no reply to any read
    EXPECT_EQ(rig.Texts(seen), std::vector<std::string>{"lost: silent"});
    EXPECT_EQ(rig.journal.Entries()[seen].outcome, "no-reply");
    EXPECT_EQ(rig.journal.Alarms().At(1).state, AlarmState::ActiveUnacknowledged);
    rig.Answer(1, 13, 0b10);
    EXPECT_EQ(rig.Texts(seen), (std::vector<std::string>{"lost: silent", "back"}));
}

TEST(LinkJournal, ReturnedThenAcknowledgedIsBackToNormal) {
    JournalRig rig;
    rig.Answer(1, 13, 0b100);
    rig.Answer(1, 13, 0);
    EXPECT_EQ(rig.journal.Alarms().At(2).state, AlarmState::ReturnedUnacknowledged);
    rig.journal.AcknowledgeAll(rig.clock.WallNow());
    EXPECT_EQ(rig.Texts(), (std::vector<std::string>{"on S", "off S", "ack S"}));
    EXPECT_EQ(rig.journal.Entries()[2].kind, EntryKind::AlarmAck);
    EXPECT_EQ(rig.journal.Alarms().Unacknowledged(), 0);
}

struct LossCase {
    const char* what;
    Bytes answer;
    std::string outcome;
    std::string text;
};

TEST(LinkJournal, TheLinkIsLostWithTheKindOfItsFirstFailure) {
    Bytes damaged = ReadReply(std::vector<std::uint16_t>(10, 0));
    damaged.back() ^= 0xFF;
    const LossCase cases[] = {
        {"bad CRC", damaged, "crc", "lost: crc"},
        {"exception", ExceptionReply(0x03, 0x04), "exception-04", "lost: exc 04"},
        {"short", WithCrc({0x01, 0x03, 0x14, 0x00}), "short-reply", "lost: short"},
    };
    for (const LossCase& c : cases) {
        JournalRig rig;
        rig.Answer(0, 0, 0);
        rig.Tick();
        rig.Deliver(c.answer);
        ASSERT_EQ(rig.journal.Entries().Size(), 1u) << c.what;
        EXPECT_EQ(rig.journal.Entries()[0].kind, EntryKind::LinkLost) << c.what;
        EXPECT_EQ(rig.journal.Entries()[0].outcome, c.outcome) << c.what;
        EXPECT_EQ(rig.journal.Entries()[0].text, c.text) << c.what;
    }
}

struct WriteCase {
    const char* what;
    std::function<void(JournalRig&)> answer;
    std::string outcome;
    std::string text;
};

TEST(LinkJournal, EveryWriteIsRecordedWhenItEndsWithItsOutcome) {
    const WriteCase cases[] = {
        {"echo", [](JournalRig& r) { r.Deliver(WriteEcho(36, 800)); }, "confirmed",
         "r36 SV = 80.0 (was 60.0) ok x1"},
        {"exception", [](JournalRig& r) { r.Deliver(ExceptionReply(0x06, 0x03)); }, "refused-03",
         "r36 SV = 80.0 (was 60.0) refused 03 x1"},
        {"silence",
         [](JournalRig& r) {
             for (int i = 0; i < 6 && r.journal.Entries().Size() == 0; ++i) {
                 r.Tick();
                 r.master.AgeWriteRequest();
             }
         },
         "unconfirmed", "r36 SV = 80.0 (was 60.0) no echo x3"},
    };
    for (const WriteCase& c : cases) {
        JournalRig rig;
        rig.Answer(3, 36, 600);
        const std::size_t seen = rig.journal.Entries().Size();
        ASSERT_TRUE(rig.master.IssueWrite(36, 800));
        c.answer(rig);
        ASSERT_EQ(rig.journal.Entries().Size(), seen + 1) << c.what;
        const JournalEntry& entry = rig.journal.Entries()[seen];
        EXPECT_EQ(entry.kind, EntryKind::Write) << c.what;
        EXPECT_EQ(entry.subject, "36") << c.what;
        EXPECT_EQ(entry.value, 800) << c.what;
        EXPECT_EQ(entry.outcome, c.outcome) << c.what;
        EXPECT_EQ(entry.text, c.text) << c.what;
    }
}

TEST(LinkJournal, ACommandReplacedOrNeverSentIsRecordedToo) {
    JournalRig rig;
    ASSERT_TRUE(rig.master.IssueWrite(36, 800));
    ASSERT_TRUE(rig.master.IssueWrite(36, 810)); // before the first one's echo
    rig.view.ticked = false;
    rig.Deliver(WriteEcho(36, 810));
    EXPECT_FALSE(rig.master.IssueWrite(39, 900));
    std::vector<std::string> outcomes;
    for (std::size_t i = 0; i < rig.journal.Entries().Size(); ++i)
        outcomes.push_back(rig.journal.Entries()[i].outcome);
    EXPECT_EQ(outcomes, (std::vector<std::string>{"superseded", "confirmed", "not-sent"}));
}

TEST(LinkJournal, ARunStateChangeNoCommandAskedForIsRecorded) {
    JournalRig rig;
    rig.Answer(0, 3, 1);
    rig.Answer(0, 3, 0);
    EXPECT_EQ(rig.Texts(), std::vector<std::string>{"now STOP"});
    EXPECT_EQ(rig.journal.Entries()[0].kind, EntryKind::RunState);
}

TEST(LinkJournal, ARunStateChangeAfterTheOperatorsCommandIsNot) {
    JournalRig rig;
    rig.Answer(0, 3, 1);
    rig.Tick();
    rig.Deliver(ReadReply(std::vector<std::uint16_t>(10, 0)));
    ASSERT_TRUE(rig.master.IssueWrite(3, 1));
    rig.Deliver(WriteEcho(3, 1));
    rig.Answer(0, 3, 0);
    ASSERT_EQ(rig.journal.Entries().Size(), 1u);
    EXPECT_EQ(rig.journal.Entries()[0].kind, EntryKind::Write);
    rig.Answer(0, 3, 1); // and one later, unasked, is
    EXPECT_EQ(rig.journal.Entries().Size(), 2u);
    EXPECT_EQ(rig.journal.Entries()[1].text, "now RUN");
}

} // namespace
} // namespace lq
