// Why an open failed, and the kernel's RS-485 mode, through the fake back end's record of calls.
#include "serial/testing/fake_serial_backend.h"
#include "tests/serial/comm_fixture.h"

#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>

namespace lq::test {
namespace {

using serial_testing::FakeSerialBackend;

struct ReasonCase {
    const char* name;
    const char* failingCall;
    int error;
    TOpenStep step;
    const char* message;
};
void PrintTo(const ReasonCase& c, std::ostream* os) {
    *os << c.name;
}

class OpenReason : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(OpenReason, KeepsTheTextAndTellsPathAndErrno) {
    auto fake = std::make_shared<FakeSerialBackend>();
    CommUnderTest port(fake);
    port.comm->CommName = "ttyUSB3";
    fake->ScriptError(GetParam().failingCall, GetParam().error);
    try {
        port.comm->OpenPort();
        FAIL() << "OpenPort did not raise";
    } catch (const ECommsError& e) {
        EXPECT_STREQ(e.what(), GetParam().message);
    }
    const TOpenError& why = port.comm->LastOpenError();
    EXPECT_EQ(why.Path, "/dev/ttyUSB3");
    EXPECT_EQ(why.Errno, GetParam().error);
    EXPECT_EQ(why.Step, GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(
    SystemErrors, OpenReason,
    ::testing::Values(
        ReasonCase{"NotInDialout", "CreateFile", EACCES, TOpenStep::Open, "Error opening serial port"},
        ReasonCase{"HeldElsewhere", "CreateFile", EBUSY, TOpenStep::Open, "Error opening serial port"},
        ReasonCase{"Unplugged", "CreateFile", ENOENT, TOpenStep::Open, "Error opening serial port"},
        ReasonCase{"NoUart", "CreateFile", EIO, TOpenStep::Open, "Error opening serial port"},
        ReasonCase{"NoTerminal", "SetupComm", ENOTTY, TOpenStep::SetupComm, "Cannot setup comm buffer"}));

class Rs485Mode : public ::testing::Test {
  protected:
    void SetUp() override { fake->SetDeviceRs485(kDevices); }

    // Index of the first call of op in the record, or the record's size.
    std::size_t FirstCall(const std::string& op, std::size_t from = 0) const {
        const auto calls = fake->Calls();
        for (std::size_t i = from; i < calls.size(); ++i)
            if (calls[i].Op == op) return i;
        return calls.size();
    }

    static constexpr Rs485Settings kDevices{rs485::RtsAfterSend | rs485::RxDuringTx, 1, 3};
    std::shared_ptr<FakeSerialBackend> fake = std::make_shared<FakeSerialBackend>();
    CommUnderTest port{fake};
};

TEST_F(Rs485Mode, TransmissionRtsTurnsItOnAndCloseRestoresTheDevicesSettings) {
    port.comm->SetRtsControl(TRtsControl::RtsTransmissionAvailable);
    port.comm->OpenPort();
    ASSERT_EQ(fake->Rs485Writes().size(), 1u);
    const Rs485Settings on = fake->Rs485Writes()[0];
    EXPECT_EQ(on.Flags, rs485::Enabled | rs485::RtsOnSend);
    EXPECT_EQ(on.DelayRtsBeforeSend, kDevices.DelayRtsBeforeSend);
    EXPECT_EQ(on.DelayRtsAfterSend, kDevices.DelayRtsAfterSend);
    EXPECT_LT(FirstCall("GetRs485"), FirstCall("SetRs485")) << "the device's settings are read first";

    port.comm->ClosePort();
    ASSERT_EQ(fake->Rs485Writes().size(), 2u);
    EXPECT_EQ(fake->Rs485Writes()[1], kDevices);
    const std::size_t restore = FirstCall("SetRs485", FirstCall("SetRs485") + 1);
    EXPECT_LT(restore, FirstCall("CloseHandle", restore)) << "restored while the device is still open";
}

TEST_F(Rs485Mode, LeavingTheModeWhileOpenRestoresAtOnceAndOnlyOnce) {
    port.comm->SetRtsControl(TRtsControl::RtsTransmissionAvailable);
    port.comm->OpenPort();
    port.comm->SetRtsControl(TRtsControl::RtsDisable);
    ASSERT_EQ(fake->Rs485Writes().size(), 2u);
    EXPECT_EQ(fake->Rs485Writes()[1], kDevices);
    port.comm->ClosePort();
    EXPECT_EQ(fake->Rs485Writes().size(), 2u);
}

TEST_F(Rs485Mode, OtherRtsModesNeverTouchIt) {
    for (const TRtsControl mode :
         {TRtsControl::RtsEnable, TRtsControl::RtsDisable, TRtsControl::RtsHandshake}) {
        port.comm->SetRtsControl(mode);
        port.comm->OpenPort();
        port.comm->ClosePort();
    }
    EXPECT_EQ(fake->CountCalls("GetRs485") + fake->CountCalls("SetRs485"), 0u);
}

TEST_F(Rs485Mode, RefusalFailsTheOpenWithTheDriversReason) {
    for (const char* call : {"GetRs485", "SetRs485"}) {
        SCOPED_TRACE(call);
        fake->ScriptError(call, ENOTTY);
        port.comm->SetRtsControl(TRtsControl::RtsTransmissionAvailable);
        EXPECT_THROW(port.comm->OpenPort(), ECommsError);
        EXPECT_FALSE(port.comm->Connected());
        EXPECT_EQ(port.comm->LastOpenError().Step, TOpenStep::Rs485);
        EXPECT_EQ(port.comm->LastOpenError().Errno, ENOTTY);
        EXPECT_EQ(fake->LiveHandles(), 0u);
    }
    EXPECT_TRUE(fake->Rs485Writes().empty()) << "nothing was changed, so nothing is restored";
}

} // namespace
} // namespace lq::test
