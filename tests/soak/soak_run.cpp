#include "tests/soak/soak_run.h"

#include "modbus/master_ports.h"
#include "modbus/modbus_master.h"
#include "modbus/register_image.h"
#include "modbus/request_frames.h"
#include "serial/comm.h"
#include "serial/testing/pumped_notification_window.h"

#include <algorithm>

namespace lq::soak {

namespace {

using Clock = std::chrono::steady_clock;

// The main window as the master sees it: slave 1, "通讯" ticked for the whole run.
class TickedBoxView final : public IMasterView {
  public:
    explicit TickedBoxView(SoakFigures& figures) : figures_(figures) {}

    // An echo of a write is judged by nothing, so no verdict carries over from the delivery before.
    void BeginDelivery() {
        inDelivery_ = true;
        lastAccepted_ = false;
    }
    void EndDelivery() { inDelivery_ = false; }
    bool LastDeliveryAccepted() const { return lastAccepted_; }

    std::string AddressText() const override { return "1"; }
    bool CommunicationTicked() const override { return true; }
    // The master judges every read reply by lighting or darkening the lamp, so the lamp tells the verdict.
    void ShowLinkLamp(bool lit) override {
        if (!inDelivery_) return;
        lastAccepted_ = lit;
        ++(lit ? figures_.accepted : figures_.rejected);
    }
    void SetMemo12Text(const std::string&) override {}

  private:
    SoakFigures& figures_;
    bool inDelivery_ = false;
    bool lastAccepted_ = false;
};

class CountingSender final : public IFrameSender {
  public:
    CountingSender(TComm& comm, SoakFigures& figures) : comm_(comm), figures_(figures) {}
    bool SendData(const std::uint8_t* data, std::uint16_t count) override {
        ++(count > 1 && data[1] == kWriteSingleRegister ? figures_.writes : figures_.exchanges);
        return comm_.SendData(data, count);
    }

  private:
    TComm& comm_;
    SoakFigures& figures_;
};

std::vector<std::uint16_t> KeptValues(const RegisterImage& image, std::uint8_t pollIndex) {
    std::vector<std::uint16_t> values;
    const int start = kPollBlockStarts[pollIndex];
    for (int k = 0; k < RegisterImage::KeptCount(pollIndex); ++k)
        values.push_back(static_cast<std::uint16_t>(image[start + k]));
    return values;
}

} // namespace

SoakFigures RunSoak(const SoakConfig& config) {
    SoakFigures figures;
    auto ownedWindow = std::make_unique<serial_testing::PumpedNotificationWindow>();
    auto& window = *ownedWindow;
    TComm comm(std::move(ownedWindow));
    comm.CommName = config.devicePath;
    comm.SetBaudRate(19200);
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
    comm.SetRtsControl(TRtsControl::RtsDisable);
    comm.SetReadIntervalTimeout(config.readIntervalTimeout);

    TickedBoxView view(figures);
    CountingSender sender(comm, figures);
    ThreadSleepPause pause;
    ModbusMaster master(sender, pause, view);

    long ticksSinceAccept = 0;
    comm.OnReceiveData = [&](TComm*, const std::uint8_t* buffer, std::uint16_t length) {
        ++figures.deliveries;
        // The master ends a pending write with any delivery; only its own echo says that the slave took it.
        const WriteRequest write = master.Write();
        if (write.pending && length >= 6 && buffer[1] == kWriteSingleRegister &&
            buffer[3] == write.registerAddress && buffer[4] == write.valueHi && buffer[5] == write.valueLo)
            figures.echoedValues.push_back(static_cast<std::uint16_t>(write.valueHi << 8 | write.valueLo));
        view.BeginDelivery();
        master.Comm1ReceiveData(buffer, length);
        view.EndDelivery();
        if (!view.LastDeliveryAccepted()) return;
        ticksSinceAccept = 0;
        figures.acceptedBlocks.push_back(
            {figures.ticks, master.PollIndex(), KeptValues(master.Registers(), master.PollIndex())});
    };
    comm.OpenPort();

    const auto start = Clock::now();
    auto nextTick = start;
    const auto pumpUntil = [&](Clock::time_point until) {
        window.PumpFor(std::chrono::duration_cast<std::chrono::milliseconds>(
            std::max(until - Clock::now(), Clock::duration::zero())));
    };
    while (figures.exchanges < config.exchanges) {
        nextTick += config.tick;
        if (config.writeEveryTicks > 0 &&
            figures.ticks % config.writeEveryTicks == config.writeEveryTicks - 1) {
            // Half a tick after the last read request, as an operator's click would fall. A write sent right
            // behind a read request can reach a slow slave as one run of bytes, which it drops as one bad
            // frame.
            pumpUntil(nextTick - config.tick / 2);
            // Values no register starts with, so each one on record was written by this run.
            const auto value = static_cast<std::uint16_t>(0x7000 + figures.writtenValues.size());
            figures.writtenValues.push_back(value);
            master.IssueWrite(config.writeRegister, value);
        }
        pumpUntil(nextTick);
        master.Timer1Timer();
        master.AgeWriteRequest();
        ++figures.ticks;
        figures.longestTicksWithoutAccept = std::max(figures.longestTicksWithoutAccept, ticksSinceAccept);
        ++ticksSinceAccept;
    }
    window.PumpFor(config.drain);
    figures.duration = Clock::now() - start;
    comm.ClosePort();
    return figures;
}

} // namespace lq::soak
