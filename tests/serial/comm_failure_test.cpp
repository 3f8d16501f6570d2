// Every failure of the open sequence and of the two I/O threads, forced through the fake back end.
#include "serial/testing/fake_serial_backend.h"
#include "tests/serial/comm_fixture.h"
#include "tests/serial/pty_pair.h"

#include <functional>
#include <gtest/gtest.h>

namespace lq::test {
namespace {

using serial_testing::FakeSerialBackend;

constexpr const char* kRx = "lq-serial-rx";
constexpr const char* kTx = "lq-serial-tx";

struct OpenCase {
    const char* name;
    std::function<void(FakeSerialBackend&)> script;
    const char* message;
};
void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name;
}

class OpenFailureRow : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenFailureRow, RaisesLeavesClosedAndCanRetry) {
    const std::size_t threads = ThreadCount();
    auto fake = std::make_shared<FakeSerialBackend>();
    CommUnderTest port(fake);
    GetParam().script(*fake);
    try {
        port.comm->OpenPort();
        FAIL() << "OpenPort did not raise";
    } catch (const ECommsError& e) {
        EXPECT_STREQ(e.what(), GetParam().message);
    }
    EXPECT_FALSE(port.comm->Connected());
    EXPECT_EQ(fake->LiveHandles(), 0u);
    EXPECT_EQ(ThreadCount(), threads);
    const std::uint8_t byte = 1;
    EXPECT_FALSE(port.comm->SendData(&byte, 1));
    fake->SetFileType(FILE_TYPE_CHAR);
    EXPECT_NO_THROW(port.comm->OpenPort()) << "a failed open must not leave the port counted as open";
    EXPECT_TRUE(port.comm->Connected());
}

INSTANTIATE_TEST_SUITE_P(
    EveryMessage, OpenFailureRow,
    ::testing::Values(
        OpenCase{"DeviceMissing", [](FakeSerialBackend& f) { f.Script("CreateFile", IoResult::Failed); },
                 "Error opening serial port"},
        OpenCase{"NotCharacterDevice", [](FakeSerialBackend& f) { f.SetFileType(FILE_TYPE_DISK); },
                 "File handle is not a comm handle "},
        OpenCase{"QueuesRefused", [](FakeSerialBackend& f) { f.Script("SetupComm", IoResult::Failed); },
                 "Cannot setup comm buffer"},
        OpenCase{"NoStopEvent",
                 [](FakeSerialBackend& f) { f.Script("CreateEvent:Comm.Stop", IoResult::Failed); },
                 "Unable to create event"},
        OpenCase{"NoReadThread",
                 [](FakeSerialBackend& f) { f.Script("CreateThread:lq-serial-rx", IoResult::Failed); },
                 "Unable to create read thread"},
        OpenCase{"NoWriteThread",
                 [](FakeSerialBackend& f) { f.Script("CreateThread:lq-serial-tx", IoResult::Failed); },
                 "Unable to create write thread"},
        OpenCase{"NoWriteQueue",
                 [](FakeSerialBackend& f) { f.Script("CreateEvent:WriteThread.Queue", IoResult::Failed); },
                 "Unable to create write thread"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ThreadCase {
    const char* name;
    std::function<void(FakeSerialBackend&, CommUnderTest&)> before;  // scripts, before OpenPort
    std::function<void(FakeSerialBackend&, CommUnderTest&)> trigger; // after OpenPort
    const char* endedThread;
    int hangups;               // hang-up notices the threads try to post
    bool postsRefused = false; // the window refuses them, so none is delivered
};
void PrintTo(const ThreadCase& c, std::ostream* os) {
    *os << c.name;
}

const std::uint8_t kByte[] = {0x5A};

void Send(FakeSerialBackend&, CommUnderTest& port) {
    port.comm->SendData(kByte, 1);
}
// Triggers wait until the receive thread has armed its read and its event wait, so that they complete a
// pending operation rather than one started later.
void WaitArmed(FakeSerialBackend& fake) {
    fake.WaitForCalls("ReadFile", 1, 5s);
    fake.WaitForCalls("WaitCommEvent", 1, 5s);
}
void FeedByte(FakeSerialBackend& fake, CommUnderTest&) {
    WaitArmed(fake);
    fake.Feed({1});
}
void RaiseLine(FakeSerialBackend& fake, std::uint32_t mask, std::uint32_t errors = 0) {
    WaitArmed(fake);
    fake.RaiseLineEvent(mask, errors);
}
void Nothing(FakeSerialBackend&, CommUnderTest&) {}
std::function<void(FakeSerialBackend&, CommUnderTest&)> Fail(const char* op, IoResult r,
                                                             const char* thread = "") {
    return [=](FakeSerialBackend& f, CommUnderTest&) { f.Script(op, r, 1, thread); };
}

class ThreadFailureRow : public ::testing::TestWithParam<ThreadCase> {};

TEST_P(ThreadFailureRow, EndsTheThreadWithOrWithoutHangup) {
    const auto& c = GetParam();
    auto fake = std::make_shared<FakeSerialBackend>();
    CommUnderTest port(fake);
    c.before(*fake, port);
    port.comm->OpenPort();
    c.trigger(*fake, port);
    // Each thread purges its side as the last thing it does.
    ASSERT_TRUE(fake->WaitForCallOn("PurgeComm", c.endedThread, 5s));
    port.window->Pump();
    EXPECT_EQ(port.window->Attempts(NOTIFY_REQUEST_HANGUP), static_cast<std::size_t>(c.hangups));
    EXPECT_EQ(port.hangups, c.postsRefused ? 0 : c.hangups) << "hang-ups delivered";
    EXPECT_TRUE(port.comm->Connected()) << "a stopped thread leaves the port open";
    if (std::string(c.endedThread) == kTx) {
        EXPECT_FALSE(port.comm->SendData(kByte, 1)) << "the ended transmit thread must refuse requests";
    }
    port.comm->ClosePort();
    EXPECT_EQ(fake->LiveHandles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(FailureTable, ThreadFailureRow,
                         ::testing::
                             Values(ThreadCase{"RxEventRecordNotCreated",
                                               Fail("CreateEvent:ReadThread.EventRecord", IoResult::Failed),
                                               Nothing, kRx, 1},
                                    ThreadCase{"RxReadRecordNotCreated",
                                               Fail("CreateEvent:ReadThread.ReadRecord", IoResult::Failed),
                                               Nothing, kRx, 1},
                                    ThreadCase{"TxRecordNotCreated",
                                               Fail("CreateEvent:WriteThread.WriteRecord", IoResult::Failed),
                                               Nothing, kTx, 1},
                                    ThreadCase{"MaskNotSet", Fail("SetCommMask", IoResult::Failed), Nothing,
                                               kRx, 1},
                                    ThreadCase{"ReadDeviceClosed", Fail("ReadFile", IoResult::DeviceClosed),
                                               Nothing, kRx, 0},
                                    ThreadCase{"ReadFailed", Fail("ReadFile", IoResult::Failed), Nothing, kRx,
                                               1},
                                    ThreadCase{"EventWaitDeviceClosed",
                                               Fail("WaitCommEvent", IoResult::DeviceClosed), Nothing, kRx,
                                               0},
                                    ThreadCase{"EventWaitFailed", Fail("WaitCommEvent", IoResult::Failed),
                                               Nothing, kRx, 1},
                                    ThreadCase{"ReadResultFailed",
                                               Fail("GetOverlappedResult", IoResult::Failed, kRx), FeedByte,
                                               kRx, 1},
                                    ThreadCase{"ReadResultDeviceClosed",
                                               Fail("GetOverlappedResult", IoResult::DeviceClosed, kRx),
                                               FeedByte, kRx, 0},
                                    ThreadCase{
                                        "EventResultFailed",
                                        Fail("GetOverlappedResult", IoResult::Failed, kRx),
                                        [](FakeSerialBackend& f, CommUnderTest&) { RaiseLine(f, EV_ERR); },
                                        kRx, 1},
                                    ThreadCase{"ClearCommErrorFailed",
                                               Fail("ClearCommError", IoResult::Failed),
                                               [](FakeSerialBackend& f, CommUnderTest&) {
                                                   RaiseLine(f, EV_ERR, CE_FRAME);
                                               },
                                               kRx, 1},
                                    ThreadCase{"ClearCommErrorDeviceClosed",
                                               Fail("ClearCommError", IoResult::DeviceClosed),
                                               [](FakeSerialBackend& f, CommUnderTest&) {
                                                   RaiseLine(f, EV_ERR, CE_FRAME);
                                               },
                                               kRx, 0},
                                    ThreadCase{"WriteDeviceClosed", Fail("WriteFile", IoResult::DeviceClosed),
                                               Send, kTx, 0},
                                    ThreadCase{"WriteFailed", Fail("WriteFile", IoResult::Failed), Send, kTx,
                                               1},
                                    ThreadCase{"PendingWriteResultFailed",
                                               [](FakeSerialBackend& f, CommUnderTest&) {
                                                   f.Script("WriteFile", IoResult::Pending);
                                                   f.Script("GetOverlappedResult", IoResult::Failed, 1, kTx);
                                               },
                                               [](FakeSerialBackend& f, CommUnderTest& p) {
                                                   Send(f, p);
                                                   f.WaitForCalls("WriteFile", 1, 5s);
                                                   f.CompletePendingWrite();
                                               },
                                               kTx, 1},
                                    ThreadCase{"PendingWriteWaitFailed",
                                               [](FakeSerialBackend& f, CommUnderTest&) {
                                                   f.Script("WriteFile", IoResult::Pending);
                                                   f.Script("WaitForMultipleObjects", IoResult::Failed, 1,
                                                            kTx, 1); // after the idle wait
                                               },
                                               [](FakeSerialBackend& f, CommUnderTest& p) {
                                                   f.WaitForCallOn("WaitForMultipleObjects", kTx, 5s);
                                                   Send(f, p);
                                               },
                                               kTx, 1},
                                    ThreadCase{"RxWaitFailed",
                                               Fail("WaitForMultipleObjects", IoResult::Failed, kRx), Nothing,
                                               kRx, 1},
                                    ThreadCase{"RxWaitOtherResult", Fail("WaitForMultipleObjects", IoResult::Pending, kRx),
                                               Nothing,
                                               kRx, 1},
                                    ThreadCase{"TxQueueWaitFailed", Fail("WaitForMultipleObjects", IoResult::Failed, kTx),
                                               Nothing,
                                               kTx, 1},
                                    ThreadCase{"LineEventWithoutKnownBit", Nothing,
                                               [](FakeSerialBackend& f, CommUnderTest&) {
                                                   RaiseLine(f, EV_RXCHAR);
                                               },
                                               kRx, 1},
                                    ThreadCase{"ZeroByteRead", Nothing,
                                               [](FakeSerialBackend& f, CommUnderTest&) {
                                                   WaitArmed(f);
                                                   f.CompleteReadEmpty();
                                               },
                                               kRx, 0},
                                    ThreadCase{"CopyNotAllocated",
                                               Fail("AllocateBlock", IoResult::Failed, kRx), FeedByte, kRx,
                                               1},
                                    ThreadCase{"ReceivePostRefused",
                                               [](FakeSerialBackend&, CommUnderTest& p) {
                                                   p.window->RefusePostsAfter(1); // the empty notice only
                                               },
                                               [](FakeSerialBackend& f, CommUnderTest& p) {
                                                   p.PumpUntilEmpties(1);
                                                   FeedByte(f, p);
                                               },
                                               kRx, 1, true},
                                    ThreadCase{"EmptyNoticeRefused",
                                               [](FakeSerialBackend&, CommUnderTest& p) {
                                                   p.window->RefusePostsAfter(0);
                                               },
                                               Nothing, kTx, 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ThreadFailure, RefusedPostStillAttemptsHangup) {
    auto fake = std::make_shared<FakeSerialBackend>();
    CommUnderTest port(fake);
    port.window->RefusePostsAfter(0);
    port.comm->OpenPort();
    ASSERT_TRUE(fake->WaitForCallOn("PurgeComm", kTx, 5s));
    WaitArmed(*fake);
    fake->Feed({1});
    ASSERT_TRUE(fake->WaitForCallOn("PurgeComm", kRx, 5s));
    // Transmit: the empty notice and then the hang-up; receive: the data and then the hang-up. All refused.
    EXPECT_EQ(port.window->Attempts(NOTIFY_SEND_DATA_EMPTY), 1u);
    EXPECT_EQ(port.window->Attempts(NOTIFY_RECEIVE_DATA), 1u);
    EXPECT_EQ(port.window->Attempts(NOTIFY_REQUEST_HANGUP), 2u);
    EXPECT_EQ(port.window->Posted(), 0u);
    port.comm->ClosePort();
}

TEST(ThreadFailure, StopWhileWritePendingAbandonsTheRest) {
    auto fake = std::make_shared<FakeSerialBackend>();
    CommUnderTest port(fake);
    fake->Script("WriteFile", IoResult::Pending);
    port.comm->OpenPort();
    const std::uint8_t bytes[] = {1, 2, 3};
    ASSERT_TRUE(port.comm->SendData(bytes, 3));
    ASSERT_TRUE(port.comm->SendData(bytes, 3));
    ASSERT_TRUE(fake->WaitForCalls("WriteFile", 1, 5s));
    port.comm->ClosePort();
    port.window->Pump();
    EXPECT_EQ(fake->CountCalls("WriteFile"), 1u);
    EXPECT_TRUE(fake->Written().empty());
    EXPECT_EQ(port.hangups, 0);
    EXPECT_EQ(fake->LiveHandles(), 0u);
}

TEST(ThreadFailure, DataPostedBeforeCloseIsStillDelivered) {
    auto fake = std::make_shared<FakeSerialBackend>();
    CommUnderTest port(fake);
    port.comm->OpenPort();
    WaitArmed(*fake);
    fake->Feed({1, 2, 3});
    ASSERT_TRUE(fake->WaitForCalls("ReadFile", 2, 5s)); // re-armed after posting the first delivery
    port.comm->ClosePort();
    port.window->Pump();
    EXPECT_EQ(port.Joined(), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(port.hangups, 0) << "closing raises no event of its own";
}

} // namespace
} // namespace lq::test
