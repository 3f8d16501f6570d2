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
    bool SendData(const std::uint8_t* data, std::uint16_t count) override
    {
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
    void ShowLinkLamp(bool lit) override
    {
        lampShownLit = lit;
        ++lampUpdates;
    }
    void SetMemo12Text(const std::string& text) override { memo12 = text; }
};

// A master wired to fakes, with helpers that drive it like the GUI thread would.
struct MasterRig {
    CapturingSender sender;
    RecordingPause pause;
    FakeView view;
    ModbusMaster master{sender, pause, view};

    void Deliver(const Bytes& bytes)
    {
        master.Comm1ReceiveData(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
    }
};

// A 25-byte read reply from slave 1 carrying the given ten register values, with its CRC.
Bytes ReadReply(const std::vector<std::uint16_t>& values);

} // namespace lq::testing
