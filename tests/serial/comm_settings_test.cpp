// Properties, the control block and the open sequence, observed through the fake back end's record.
#include "serial/testing/fake_serial_backend.h"
#include "tests/serial/comm_fixture.h"

#include <functional>
#include <gtest/gtest.h>
#include <pthread.h>

namespace lq::test {
namespace {

using serial_testing::FakeSerialBackend;

std::string ThisThreadName() {
    char name[16] = {};
    pthread_getname_np(pthread_self(), name, sizeof name);
    return name;
}

// The values the main window gives its component.
void ApplyMainWindowValues(TComm& c) {
    c.CommName = "COM4";
    c.SetBaudRate(19200);
    c.SetOutx_XonXoffFlow(false);
    c.SetInx_XonXoffFlow(false);
    c.SetRtsControl(TRtsControl::RtsDisable);
}

class FakeComm : public ::testing::Test {
  protected:
    std::shared_ptr<FakeSerialBackend> fake = std::make_shared<FakeSerialBackend>();
    CommUnderTest port{fake};

    Dcb LastState() const {
        const auto states = fake->CommStates();
        return states.empty() ? Dcb{} : states.back();
    }
};

TEST_F(FakeComm, ClassDefaultsGiveFlagWord0x1391) {
    port.comm->OpenPort();
    const Dcb d = LastState();
    EXPECT_EQ(d.Flags, 0x1391u);
    EXPECT_EQ(d.BaudRate, 9600u);
    EXPECT_EQ(d.ByteSize, 8);
    EXPECT_EQ(d.XonLim, 500);
    EXPECT_EQ(d.XoffLim, 500);
    EXPECT_EQ(d.XonChar, 17);
    EXPECT_EQ(d.XoffChar, 19);
    EXPECT_EQ(fake->OpenedName(), "COM2");
    ASSERT_TRUE(fake->Timeouts().has_value());
    EXPECT_EQ(fake->Timeouts()->ReadIntervalTimeout, 100u);
    EXPECT_EQ(fake->Timeouts()->ReadTotalTimeoutConstant, 0u);
}

TEST_F(FakeComm, MainWindowValuesGiveFlagWord0x91) {
    ApplyMainWindowValues(*port.comm);
    EXPECT_TRUE(fake->CommStates().empty()) << "a closed port must not be touched";
    port.comm->OpenPort();
    const Dcb d = LastState();
    EXPECT_EQ(d.Flags, 0x91u);
    EXPECT_EQ(d.BaudRate, 19200u);
    EXPECT_EQ(d.Parity, 0);
    EXPECT_EQ(d.StopBits, 0);
    EXPECT_EQ(fake->OpenedName(), "COM4");
}

TEST_F(FakeComm, OpenRunsItsStepsInOrder) {
    port.comm->OpenPort();
    std::vector<std::string> ops;
    const std::string self = ThisThreadName();
    for (const auto& call : fake->Calls())
        if (call.Thread == self && call.Op != "SetEvent") ops.push_back(call.Op);
    const std::vector<std::string> expected{
        "CreateFile",   "GetFileType",  "SetupComm",   "PurgeComm",    "GetCommTimeouts", "SetCommTimeouts",
        "GetCommState", "SetCommState", "CreateEvent", "CreateThread", "CreateEvent",     "CreateThread"};
    EXPECT_EQ(ops, expected);
    ASSERT_FALSE(fake->Purges().empty());
    EXPECT_EQ(fake->Purges().front(), 0x0Fu);
}

struct SetterCase {
    const char* name;
    std::function<void(TComm&)> set;
    std::function<bool(const Dcb&)> written;
};
void PrintTo(const SetterCase& c, std::ostream* os) {
    *os << c.name;
}

class ControlBlockSetter : public FakeComm, public ::testing::WithParamInterface<SetterCase> {};

TEST_P(ControlBlockSetter, ReappliesAtOnceOnOpenPortOnly) {
    const auto& c = GetParam();
    port.comm->OpenPort();
    const std::size_t before = fake->CommStates().size();
    c.set(*port.comm);
    ASSERT_EQ(fake->CommStates().size(), before + 1);
    EXPECT_TRUE(c.written(LastState()));
    c.set(*port.comm); // the same value again
    EXPECT_EQ(fake->CommStates().size(), before + 1) << "an unchanged value must make no device call";
}

INSTANTIATE_TEST_SUITE_P(
    EveryProperty, ControlBlockSetter,
    ::testing::Values(SetterCase{"BaudRate", [](TComm& c) { c.SetBaudRate(115200); },
                                 [](const Dcb& d) { return d.BaudRate == 115200; }},
                      SetterCase{"ParityCheck", [](TComm& c) { c.SetParityCheck(true); },
                                 [](const Dcb& d) { return (d.Flags & dcb::fParity) != 0; }},
                      SetterCase{"CtsFlow", [](TComm& c) { c.SetOutx_CtsFlow(true); },
                                 [](const Dcb& d) { return (d.Flags & dcb::fOutxCtsFlow) != 0; }},
                      SetterCase{"DsrFlow", [](TComm& c) { c.SetOutx_DsrFlow(true); },
                                 [](const Dcb& d) { return (d.Flags & dcb::fOutxDsrFlow) != 0; }},
                      SetterCase{"DtrDisable", [](TComm& c) { c.SetDtrControl(TDtrControl::DtrDisable); },
                                 [](const Dcb& d) { return dcb::DtrControl(d.Flags) == 0; }},
                      SetterCase{"DtrHandshake", [](TComm& c) { c.SetDtrControl(TDtrControl::DtrHandshake); },
                                 [](const Dcb& d) { return dcb::DtrControl(d.Flags) == 2; }},
                      SetterCase{"DsrSensitivity", [](TComm& c) { c.SetDsrSensitivity(true); },
                                 [](const Dcb& d) { return (d.Flags & dcb::fDsrSensitivity) != 0; }},
                      SetterCase{"TxContinueOnXoff", [](TComm& c) { c.SetTxContinueOnXoff(false); },
                                 [](const Dcb& d) { return (d.Flags & dcb::fTXContinueOnXoff) == 0; }},
                      SetterCase{"OutX", [](TComm& c) { c.SetOutx_XonXoffFlow(false); },
                                 [](const Dcb& d) { return (d.Flags & dcb::fOutX) == 0; }},
                      SetterCase{"InX", [](TComm& c) { c.SetInx_XonXoffFlow(false); },
                                 [](const Dcb& d) { return (d.Flags & dcb::fInX) == 0; }},
                      SetterCase{"ErrorChar", [](TComm& c) { c.SetReplaceWhenParityError(true); },
                                 [](const Dcb& d) { return (d.Flags & dcb::fErrorChar) != 0; }},
                      SetterCase{"Null", [](TComm& c) { c.SetIgnoreNullChar(true); },
                                 [](const Dcb& d) { return (d.Flags & dcb::fNull) != 0; }},
                      SetterCase{"RtsDisable", [](TComm& c) { c.SetRtsControl(TRtsControl::RtsDisable); },
                                 [](const Dcb& d) { return dcb::RtsControl(d.Flags) == 0; }},
                      SetterCase{"RtsHandshake", [](TComm& c) { c.SetRtsControl(TRtsControl::RtsHandshake); },
                                 [](const Dcb& d) { return dcb::RtsControl(d.Flags) == 2; }},
                      SetterCase{"RtsToggle",
                                 [](TComm& c) { c.SetRtsControl(TRtsControl::RtsTransmissionAvailable); },
                                 [](const Dcb& d) { return dcb::RtsControl(d.Flags) == 3; }},
                      SetterCase{"XonLimit", [](TComm& c) { c.SetXonLimit(100); },
                                 [](const Dcb& d) { return d.XonLim == 100; }},
                      SetterCase{"XoffLimit", [](TComm& c) { c.SetXoffLimit(200); },
                                 [](const Dcb& d) { return d.XoffLim == 200; }},
                      SetterCase{"ByteSize5", [](TComm& c) { c.SetByteSize(TByteSize::_5); },
                                 [](const Dcb& d) { return d.ByteSize == 5; }},
                      SetterCase{"ByteSize7", [](TComm& c) { c.SetByteSize(TByteSize::_7); },
                                 [](const Dcb& d) { return d.ByteSize == 7; }},
                      SetterCase{"StopBits2", [](TComm& c) { c.SetStopBits(TStopBits::_2); },
                                 [](const Dcb& d) { return d.StopBits == 2; }},
                      SetterCase{"StopBits15", [](TComm& c) { c.SetStopBits(TStopBits::_1_5); },
                                 [](const Dcb& d) { return d.StopBits == 1; }},
                      SetterCase{"XonChar", [](TComm& c) { c.SetXonChar('A'); },
                                 [](const Dcb& d) { return d.XonChar == 'A'; }},
                      SetterCase{"XoffChar", [](TComm& c) { c.SetXoffChar('B'); },
                                 [](const Dcb& d) { return d.XoffChar == 'B'; }},
                      SetterCase{"ReplacedChar", [](TComm& c) { c.SetReplacedChar('?'); },
                                 [](const Dcb& d) { return d.ErrorChar == '?'; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FakeComm, AbortOnErrorIsNeverSet) {
    port.comm->OpenPort();
    port.comm->SetParityCheck(true);
    port.comm->SetOutx_CtsFlow(true);
    port.comm->SetRtsControl(TRtsControl::RtsTransmissionAvailable);
    EXPECT_EQ(LastState().Flags & ~0x3FFFu, 0u);
}

TEST_F(FakeComm, ParityWaitsForTheNextApply) {
    port.comm->OpenPort();
    const std::size_t before = fake->CommStates().size();
    port.comm->Parity = TParity::Even;
    EXPECT_EQ(fake->CommStates().size(), before);
    port.comm->SetBaudRate(4800);
    EXPECT_EQ(LastState().Parity, 2);
    EXPECT_EQ(LastState().Flags & dcb::fParity, 0u) << "parity bits are sent, received parity is not checked";
    port.comm->Parity = TParity::Space;
    port.comm->ClosePort();
    port.comm->OpenPort();
    EXPECT_EQ(LastState().Parity, 4);
}

TEST_F(FakeComm, ApplyLineSettingsWritesStagedParityAndStopBitsToAnOpenPortOnly) {
    port.comm->Parity = TParity::Odd;
    port.comm->ApplyLineSettings();
    EXPECT_TRUE(fake->CommStates().empty()) << "a closed port must not be touched";
    port.comm->OpenPort();
    port.comm->Parity = TParity::Even;
    port.comm->StageStopBits(TStopBits::_2);
    port.comm->ApplyLineSettings();
    EXPECT_EQ(LastState().Parity, 2);
    EXPECT_EQ(LastState().StopBits, 2);
}

TEST_F(FakeComm, CommNameChangeWaitsForReopen) {
    port.comm->CommName = "COM3";
    port.comm->OpenPort();
    port.comm->CommName = "COM5";
    EXPECT_EQ(fake->OpenedName(), "COM3");
    port.comm->ClosePort();
    port.comm->OpenPort();
    EXPECT_EQ(fake->OpenedName(), "COM5");
}

struct TimeoutCase {
    const char* name;
    std::function<void(TComm&, std::uint32_t)> set;
    std::function<std::uint32_t(const CommTimeouts&)> field;
};
void PrintTo(const TimeoutCase& c, std::ostream* os) {
    *os << c.name;
}

class TimeoutSetter : public FakeComm, public ::testing::WithParamInterface<TimeoutCase> {};

TEST_P(TimeoutSetter, ReappliesTimeoutsOnly) {
    port.comm->OpenPort();
    const std::size_t states = fake->CommStates().size();
    const std::size_t writes = fake->CountCalls("SetCommTimeouts");
    GetParam().set(*port.comm, 1234);
    EXPECT_EQ(fake->CountCalls("SetCommTimeouts"), writes + 1);
    EXPECT_EQ(GetParam().field(*fake->Timeouts()), 1234u);
    EXPECT_EQ(fake->CommStates().size(), states);
    GetParam().set(*port.comm, 1234);
    EXPECT_EQ(fake->CountCalls("SetCommTimeouts"), writes + 1);
}

INSTANTIATE_TEST_SUITE_P(
    EveryTimeout, TimeoutSetter,
    ::testing::Values(
        TimeoutCase{"ReadInterval", [](TComm& c, std::uint32_t v) { c.SetReadIntervalTimeout(v); },
                    [](const CommTimeouts& t) { return t.ReadIntervalTimeout; }},
        TimeoutCase{"ReadMultiplier", [](TComm& c, std::uint32_t v) { c.SetReadTotalTimeoutMultiplier(v); },
                    [](const CommTimeouts& t) { return t.ReadTotalTimeoutMultiplier; }},
        TimeoutCase{"ReadConstant", [](TComm& c, std::uint32_t v) { c.SetReadTotalTimeoutConstant(v); },
                    [](const CommTimeouts& t) { return t.ReadTotalTimeoutConstant; }},
        TimeoutCase{"WriteMultiplier", [](TComm& c, std::uint32_t v) { c.SetWriteTotalTimeoutMultiplier(v); },
                    [](const CommTimeouts& t) { return t.WriteTotalTimeoutMultiplier; }},
        TimeoutCase{"WriteConstant", [](TComm& c, std::uint32_t v) { c.SetWriteTotalTimeoutConstant(v); },
                    [](const CommTimeouts& t) { return t.WriteTotalTimeoutConstant; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FakeComm, SecondRequestQueuedDuringWriteGetsOneEmptyNotice) {
    fake->Script("WriteFile", IoResult::Pending);
    port.comm->OpenPort();
    ASSERT_TRUE(port.PumpUntilEmpties(1));
    const std::uint8_t first[] = {1, 2, 3};
    const std::uint8_t second[] = {4, 5};
    ASSERT_TRUE(port.comm->SendData(first, 3));
    ASSERT_TRUE(fake->WaitForCalls("WriteFile", 1, 5s));
    ASSERT_TRUE(port.comm->SendData(second, 2));
    fake->CompletePendingWrite();
    ASSERT_TRUE(fake->WaitForCalls("WriteFile", 2, 5s));
    ASSERT_TRUE(port.PumpUntilEmpties(2));
    EXPECT_EQ(fake->Written(), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    port.comm->ClosePort();
    port.window->Pump();
    EXPECT_EQ(port.empties, 2);
}

TEST_F(FakeComm, BlocksSentWithNobodyToTellAreFollowedByNoEmptyNotice) {
    port.comm->OpenPort();
    ASSERT_TRUE(port.PumpUntilEmpties(1));
    const TSendDataEmptyEvent bound = port.comm->OnSendDataEmpty;
    port.comm->OnSendDataEmpty = nullptr;
    const std::uint8_t first[] = {1, 2, 3};
    ASSERT_TRUE(port.comm->SendData(first, 3));
    // The transmit thread waits for its queue once it is up and once more after writing the block.
    ASSERT_TRUE(fake->WaitForCallOn("WaitForMultipleObjects", "lq-serial-tx", 5s, 2));
    port.comm->OnSendDataEmpty = bound;
    const std::uint8_t second[] = {4, 5};
    ASSERT_TRUE(port.comm->SendData(second, 2));
    ASSERT_TRUE(port.PumpUntilEmpties(2));
    port.comm->ClosePort();
    EXPECT_EQ(port.window->Attempts(NOTIFY_SEND_DATA_EMPTY), 2U); // after the start and after the second
    EXPECT_EQ(fake->Written(), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
}

TEST_F(FakeComm, FullTransmitQueueRefusesWithoutBlocking) {
    fake->Script("WriteFile", IoResult::Pending); // the line stalls on the first request
    port.comm->OpenPort();
    const std::uint8_t byte = 1;
    ASSERT_TRUE(port.comm->SendData(&byte, 1));
    ASSERT_TRUE(fake->WaitForCalls("WriteFile", 1, 5s));
    std::size_t accepted = 0;
    while (accepted <= TThreadMessageQueue::kCapacity && port.comm->SendData(&byte, 1))
        ++accepted;
    EXPECT_EQ(accepted, TThreadMessageQueue::kCapacity);
    port.comm->ClosePort();
    EXPECT_EQ(fake->LiveHandles(), 0u);
}

TEST_F(FakeComm, ShortWritesAreContinuedToTheEnd) {
    fake->SetWriteChunk(3);
    port.comm->OpenPort();
    ASSERT_TRUE(port.PumpUntilEmpties(1));
    const auto bytes = std::vector<std::uint8_t>{10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    ASSERT_TRUE(port.comm->SendData(bytes.data(), 10));
    ASSERT_TRUE(port.PumpUntilEmpties(2));
    EXPECT_EQ(fake->Written(), bytes);
    EXPECT_EQ(fake->CountCalls("WriteFile"), 4u);
}

TEST_F(FakeComm, LineEventsReachTheirHandlersAndReceptionGoesOn) {
    port.comm->OpenPort();
    fake->RaiseLineEvent(EV_ERR, CE_FRAME | CE_OVERRUN);
    fake->RaiseLineEvent(EV_RLSD | EV_RING);
    fake->Feed({7, 7});
    ASSERT_TRUE(port.window->PumpUntil([&] { return !port.frames.empty() && port.modem.size() == 1; }, 5s));
    EXPECT_EQ(port.errors, (std::vector<std::uint32_t>{CE_FRAME | CE_OVERRUN}));
    EXPECT_EQ(port.modem, (std::vector<std::uint32_t>{12}));
    EXPECT_EQ(port.hangups, 0);
}

TEST_F(FakeComm, ClosingReleasesEveryHandleAndReopenMakesFreshOnes) {
    port.comm->OpenPort();
    port.comm->ClosePort();
    EXPECT_EQ(fake->LiveHandles(), 0u);
    const std::size_t stopEvents = fake->CountCalls("CreateEvent");
    port.comm->OpenPort();
    EXPECT_GT(fake->CountCalls("CreateEvent"), stopEvents);
    fake->Feed({1});
    EXPECT_TRUE(port.PumpUntilBytes(1));
}

} // namespace
} // namespace lq::test
