#pragma once

#include <string>
#include <vector>

#include "modbus/master_ports.h"
#include "modbus/modbus_master.h"

namespace lq::testing {

using Bytes = std::vector<std::uint8_t>;

class CapturingSender : public IFrameSender {
  public:
    bool portOpen = true;
    std::vector<Bytes> sent;
    bool SendData(const std::uint8_t* data, std::uint16_t count) override {
        if (!portOpen || count == 0) return false;
        sent.emplace_back(data, data + count);
        return true;
    }
};

class RecordingPause : public IPause {
  public:
    std::vector<unsigned> pauses;
    void Sleep(unsigned milliseconds) override { pauses.push_back(milliseconds); }
};

class FakeView : public IMasterView {
  public:
    std::string addressText = "1";
    bool ticked = true;
    bool lampShownLit = false;
    int lampUpdates = 0;
    std::string memo12 = "0";
    std::string AddressText() const override { return addressText; }
    bool CommunicationTicked() const override { return ticked; }
    void ShowLinkLamp(bool lit) override {
        lampShownLit = lit;
        ++lampUpdates;
    }
    void SetMemo12Text(const std::string& text) override { memo12 = text; }
};

// Time stands still until a test moves it.
class FakeClock : public IClock {
  public:
    std::chrono::steady_clock::time_point now{std::chrono::hours(1)};
    std::chrono::steady_clock::time_point Now() const override { return now; }
    std::chrono::system_clock::time_point WallNow() const override {
        return std::chrono::system_clock::time_point(now.time_since_epoch());
    }
    void Advance(std::chrono::milliseconds by) { now += by; }
};

// A master wired to fakes, with helpers that drive it like the GUI thread would.
struct MasterRig {
    static constexpr std::chrono::milliseconds kTick{500};

    CapturingSender sender;
    RecordingPause pause;
    FakeView view;
    FakeClock clock;
    ModbusMaster master{sender, pause, view, clock};

    void Deliver(const Bytes& bytes) {
        master.ReceiveDelivery(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
    }
    // The poll tick, one poll period after the last one.
    void Tick() {
        clock.Advance(kTick);
        master.Timer1Timer();
    }
    // Ticks until the read in flight asks for block `index`, answering the blocks before it with zeros.
    void PollAt(std::uint8_t index);
};

// The frame with its CRC appended, high byte of CalcCRC16 first.
Bytes WithCrc(Bytes frame);
// A 25-byte read reply from slave 1 carrying the given ten register values, with its CRC.
Bytes ReadReply(const std::vector<std::uint16_t>& values);
// The exception reply of slave 1 to a request of the given function.
Bytes ExceptionReply(std::uint8_t function, std::uint8_t code);
// The 8 bytes a write of value to reg at slave 1 goes out as, and comes back as.
Bytes WriteEcho(std::uint8_t reg, std::uint16_t value);
// Start registers of the read requests sent since `from`.
std::vector<int> ReadStarts(const CapturingSender& sender, std::size_t from = 0);
// How many write requests were sent since `from`.
std::size_t WritesSent(const CapturingSender& sender, std::size_t from = 0);

} // namespace lq::testing
