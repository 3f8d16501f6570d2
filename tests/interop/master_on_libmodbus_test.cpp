// Our master and serial component polling libmodbus, an independent Modbus implementation, as the slave.
#include "tests/interop/libmodbus_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <ostream>

#include "modbus/modbus_master.h"
#include "serial/comm.h"
#include "serial/testing/pumped_notification_window.h"

namespace lq::interop {
namespace {

using namespace std::chrono_literals;
using serial_testing::PumpedNotificationWindow;

// A register value that differs per register and per slave and uses the high bit, so a swapped byte, a
// shifted block or a value read as signed cannot pass.
std::uint16_t Pattern(int reg, int slave) {
    return static_cast<std::uint16_t>(0x8001 + reg * 0x0101 + slave * 7);
}

// The master as the panel wires it, with the serial component's events pumped on the test thread.
class MasterOnLine final : private IFrameSender, private IMasterView {
  public:
    MasterOnLine(const std::string& device, int slave) : address_(std::to_string(slave)) {
        auto window = std::make_unique<PumpedNotificationWindow>();
        window_ = window.get();
        comm_ = std::make_unique<TComm>(std::move(window));
        comm_->CommName = device;
        comm_->SetBaudRate(19200);
        comm_->SetOutx_XonXoffFlow(false);
        comm_->SetInx_XonXoffFlow(false);
        comm_->SetRtsControl(TRtsControl::RtsDisable);
        comm_->OnReceiveData = [this](TComm*, const std::uint8_t* bytes, std::uint16_t count) {
            ++deliveries_;
            master_.ReceiveDelivery(bytes, count, comm_->ReceiveFirstByteAt());
        };
        comm_->OpenPort();
    }

    ModbusMaster& Master() { return master_; }
    int Deliveries() const { return deliveries_; }

    // One poll tick, then the events until its reply is accepted or the time is up.
    bool PollOnce(std::chrono::milliseconds limit = 1s) {
        master_.Timer1Timer();
        return window_->PumpUntil([this] { return master_.Answered(); }, limit);
    }

    bool ReadEveryBlock() {
        for (std::size_t block = 0; block < kPollBlockStarts.size(); ++block)
            if (!PollOnce()) return false;
        return true;
    }

    // Issues the write and waits for its echo.
    bool Write(std::uint8_t reg, std::int32_t value) {
        master_.IssueWrite(reg, value);
        return window_->PumpUntil([this] { return master_.Write().pending == 0; }, 1s);
    }

  private:
    bool SendData(const std::uint8_t* data, std::uint16_t count) override {
        return comm_->SendData(data, count);
    }
    std::string AddressText() const override { return address_; }
    bool CommunicationTicked() const override { return true; }
    void ShowLinkLamp(bool) override {}
    void SetMemo12Text(const std::string&) override {}

    std::string address_;
    int deliveries_ = 0;
    ThreadSleepPause pause_;
    ModbusMaster master_{*this, pause_, *this};
    PumpedNotificationWindow* window_ = nullptr;
    std::unique_ptr<TComm> comm_; // last: its threads end before the master they deliver to
};

class ImageFromLibmodbus : public testing::TestWithParam<int> {};

TEST_P(ImageFromLibmodbus, EqualsTheServersRegisters) {
    const int slave = GetParam();
    LibmodbusServer server(slave, 64);
    for (int reg = 0; reg < server.RegisterCount(); ++reg)
        server.Set(reg, Pattern(reg, slave));
    MasterOnLine line(server.DevicePath(), slave);

    ASSERT_TRUE(line.ReadEveryBlock());
    EXPECT_TRUE(line.Master().LinkLampLit());
    for (int reg = 0; reg <= RegisterImage::kHighestRegister; ++reg)
        EXPECT_EQ(line.Master().Registers()[reg], RegisterImage::IsKept(reg) ? server.Get(reg) : 0)
            << "register " << reg;
}

INSTANTIATE_TEST_SUITE_P(Slaves, ImageFromLibmodbus, testing::Values(1, 17, 247),
                         [](const testing::TestParamInfo<int>& info) {
                             return "slave_" + std::to_string(info.param);
                         });

struct WriteCase {
    const char* name;
    std::uint8_t reg;
    std::int32_t commanded;
    std::uint16_t landed;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class WriteToLibmodbus : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteToLibmodbus, LandsInTheServerAndComesBackByPolling) {
    const WriteCase& c = GetParam();
    LibmodbusServer server(1, 64);
    MasterOnLine line(server.DevicePath(), 1);

    ASSERT_TRUE(line.Write(c.reg, c.commanded));
    EXPECT_EQ(server.Get(c.reg), c.landed);
    ASSERT_TRUE(line.ReadEveryBlock());
    EXPECT_EQ(line.Master().Registers()[c.reg], c.landed);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, WriteToLibmodbus,
    testing::Values(WriteCase{"stop", 3, 1, 1}, WriteCase{"input_full", 0, 10000, 10000},
                    WriteCase{"set_value", 36, 750, 750}, WriteCase{"minus_one", 41, -1, 0xFFFF},
                    WriteCase{"wraps", 4, 65536 + 5, 5}, WriteCase{"last_kept", 44, 0x8000, 0x8000}),
    [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    int serverRegisters; // a mapping too short for the last block makes libmodbus answer with an exception
    int addressedSlave;
    int deliveriesPerRefusal; // an exception is a reply; another slave's request gets none
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusedByLibmodbus : public testing::TestWithParam<RefusalCase> {};

TEST_P(RefusedByLibmodbus, StoresNothingAndStaysOnTheBlock) {
    const RefusalCase& c = GetParam();
    LibmodbusServer server(1, c.serverRegisters);
    for (int reg = 0; reg < server.RegisterCount(); ++reg)
        server.Set(reg, Pattern(reg, 1));
    MasterOnLine line(server.DevicePath(), c.addressedSlave);

    // Blocks the server can answer are read. One it refuses is left at the next tick; one it does not answer
    // is asked for again.
    const std::size_t answerable = c.addressedSlave == 1 ? 3 : 0;
    for (std::size_t block = 0; block < answerable; ++block)
        ASSERT_TRUE(line.PollOnce());
    const int before = line.Deliveries();
    EXPECT_FALSE(line.PollOnce(400ms));
    EXPECT_EQ(line.Deliveries() - before, c.deliveriesPerRefusal);
    EXPECT_EQ(line.Master().PollIndex(), answerable);
    EXPECT_FALSE(line.Master().LinkLampLit());
    const bool refused = c.deliveriesPerRefusal > 0;
    EXPECT_EQ(line.PollOnce(400ms), refused) << "block 0, or the silent block again";
    EXPECT_EQ(line.Master().PollIndex(), refused ? 0u : answerable);
    const int refusedStart = kPollBlockStarts[answerable];
    for (int reg = refusedStart;
         reg < refusedStart + RegisterImage::KeptCount(static_cast<std::uint8_t>(answerable)); ++reg)
        EXPECT_EQ(line.Master().Registers()[reg], 0) << "register " << reg;
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusedByLibmodbus,
                         testing::Values(RefusalCase{"exception_past_the_mapping", 40, 1, 1},
                                         RefusalCase{"another_slave", 64, 2, 0}),
                         [](const testing::TestParamInfo<RefusalCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace lq::interop
