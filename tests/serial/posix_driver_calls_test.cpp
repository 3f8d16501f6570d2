// The POSIX back end over driver calls scripted below it: a line check that hangs, and the kernel's
// RS-485 mode of an adapter this machine does not have.
#include "tests/serial/comm_fixture.h"
#include "tests/serial/pty_pair.h"
#include "tests/serial/scripted_ioctls.h"

#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace lq::test {
namespace {

class ScriptedDriver : public ::testing::Test {
  protected:
    void SetUp() override {
        port.comm->CommName = pty.SlavePath();
        port.comm->SetOutx_XonXoffFlow(false);
        port.comm->SetInx_XonXoffFlow(false);
    }

    PtyPair pty;
    std::shared_ptr<ScriptedIoctls> driver = std::make_shared<ScriptedIoctls>();
    CommUnderTest port{MakePosixBackend(driver)};
};

TEST_F(ScriptedDriver, OwnerThreadGoesOnWhileALineCheckHangs) {
    port.comm->OpenPort();
    // The open and the receive thread's start each read the counters once, its first line check once more.
    ASSERT_TRUE(driver->WaitForCounterCalls(3, 5s));
    driver->Wedge();
    // The receive thread looks at the lines every 100 ms; its next look now hangs in the driver.
    ASSERT_TRUE(driver->WaitUntilWedged(5s));

    // A watchdog frees the driver if the calls below wait for it, so a failure ends instead of hanging.
    std::promise<void> finished;
    std::future<void> done = finished.get_future();
    bool watchdogFreedDriver = false;
    std::thread watchdog([&] {
        if (done.wait_for(10s) != std::future_status::ready) {
            watchdogFreedDriver = true;
            driver->Release();
        }
    });
    port.comm->SetBaudRate(9600);
    port.comm->SetRtsControl(TRtsControl::RtsDisable);
    const std::vector<std::uint8_t> frame{1, 3, 0, 0, 0, 10, 0xC5, 0xCD};
    const bool queued = port.comm->SendData(frame.data(), static_cast<std::uint16_t>(frame.size()));
    const auto sent = pty.Read(frame.size(), 5s);
    finished.set_value();
    watchdog.join();

    EXPECT_FALSE(watchdogFreedDriver) << "a setter or SendData waited for the hanging driver call";
    EXPECT_TRUE(queued);
    EXPECT_EQ(sent, frame) << "the transmit thread waited for the hanging driver call";
    driver->Release();
    port.comm->ClosePort();
}

TEST_F(ScriptedDriver, Rs485ModeKeepsTheDriversOtherSettingsAndIsRestored) {
    driver->rs485.flags = SER_RS485_RTS_AFTER_SEND | SER_RS485_RX_DURING_TX;
    driver->rs485.delay_rts_after_send = 2;
    driver->rs485.addr_recv = 7; // a field this program never sets
    port.comm->SetRtsControl(TRtsControl::RtsTransmissionAvailable);
    port.comm->OpenPort();
    ASSERT_EQ(driver->rs485Written.size(), 1u);
    const serial_rs485 on = driver->rs485Written[0];
    EXPECT_EQ(on.flags, static_cast<__u32>(SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND));
    EXPECT_EQ(on.delay_rts_after_send, 2u);
    EXPECT_EQ(on.addr_recv, 7);

    port.comm->ClosePort();
    ASSERT_EQ(driver->rs485Written.size(), 2u);
    EXPECT_EQ(driver->rs485Written[1].flags,
              static_cast<__u32>(SER_RS485_RTS_AFTER_SEND | SER_RS485_RX_DURING_TX));
}

TEST_F(ScriptedDriver, DriverThatDropsTheModeIsARefusalAndKeepsItsSettings) {
    driver->rs485.flags = SER_RS485_RTS_AFTER_SEND;
    driver->dropsRs485 = true;
    port.comm->SetRtsControl(TRtsControl::RtsTransmissionAvailable);
    const std::size_t descriptors = OpenDescriptorCount();
    EXPECT_THROW(port.comm->OpenPort(), ECommsError);
    EXPECT_EQ(port.comm->LastOpenError().Step, TOpenStep::Rs485);
    EXPECT_EQ(port.comm->LastOpenError().Errno, EINVAL);
    EXPECT_EQ(driver->rs485.flags, static_cast<__u32>(SER_RS485_RTS_AFTER_SEND)) << "put back as it was";
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
}

TEST(KernelRs485, PseudoTerminalHasNoRs485ModeAndTheOpenSaysSo) {
    PtyPair pty;
    CommUnderTest port;
    port.comm->CommName = pty.SlavePath();
    port.comm->SetRtsControl(TRtsControl::RtsTransmissionAvailable);
    EXPECT_THROW(port.comm->OpenPort(), ECommsError);
    EXPECT_EQ(port.comm->LastOpenError().Step, TOpenStep::Rs485);
    EXPECT_EQ(port.comm->LastOpenError().Errno, ENOTTY);
    port.comm->SetRtsControl(TRtsControl::RtsDisable);
    EXPECT_NO_THROW(port.comm->OpenPort()) << "the failed open left nothing behind";
}

} // namespace
} // namespace lq::test
