#pragma once

#include <array>
#include <cstdint>

#include "modbus/master_ports.h"
#include "modbus/register_image.h"

namespace lq {

// The single write slot shared by every operator command; a new command overwrites it.
struct WriteRequest {
    int pending = 0; // 1 while a write waits for its echo or its expiry
    std::uint8_t registerAddress = 0;
    std::uint8_t valueHi = 0;
    std::uint8_t valueLo = 0;
};

// The Modbus RTU master of the panel: request frames, reply handling, register image, poll cycle and write
// ageing. Every handler runs on the GUI thread, one at a time, so nothing here is locked.
class ModbusMaster {
public:
    static constexpr unsigned kPauseAfterRead = 5;   // ms
    static constexpr unsigned kPauseAfterWrite = 40; // ms
    static constexpr std::size_t kReceiveBufferSize = 255;
    static constexpr std::size_t kReadReplyLength = 25;

    ModbusMaster(IFrameSender& sender, IPause& pause, IMasterView& view);

    // Builds the read frame for the slave in the address box, hands it to the sender, pauses.
    void SendReadRequest(std::uint8_t startRegister, std::uint8_t quantity);
    // Builds the write frame from the write request, hands it to the sender, pauses.
    void SendWriteRequest();

    // One delivery from the serial component: the echo of a pending write, else a read reply.
    void Comm1ReceiveData(const std::uint8_t* Buffer, std::uint16_t BufferLength);

    // The poll tick: moves on after an answered block, then reads the current block if allowed.
    void Timer1Timer();
    // The write age step, once per refresh tick: an unechoed write expires on the 4th tick.
    void AgeWriteRequest();
    // The box is read at every tick; a click on it changes nothing here.
    void CheckBox2Click() {}
    // The port was closed (by the operator or because the device went away): no reply can come, so the
    // link lamp goes dark at once instead of staying lit over values that are no longer read.
    void PortClosed();

    // An operator command: fill the write request (pending, register, low 16 bits of value) and send it
    // at once when the communication box is ticked.
    void IssueWrite(std::uint8_t registerAddress, std::int32_t value);

    const RegisterImage& Registers() const { return registers_; }
    RegisterImage& Registers() { return registers_; }
    std::uint8_t PollIndex() const { return pollIndex_; }
    bool Answered() const { return answered_; }
    const WriteRequest& Write() const { return write_; }
    std::uint8_t WriteAge() const { return writeAge_; }
    bool LinkLampLit() const { return linkLampLit_; }

private:
    std::uint8_t SlaveAddress() const;
    void Send(const std::array<std::uint8_t, 8>& frame, unsigned pauseMs);
    void SetLinkLamp(bool lit);
    bool ReadReplyIsGood(std::size_t deliveredLength) const;

    IFrameSender& sender_;
    IPause& pause_;
    IMasterView& view_;

    RegisterImage registers_;
    std::array<std::uint8_t, kReceiveBufferSize> receiveBuffer_{};
    std::uint8_t pollIndex_ = 0;
    bool answered_ = false;
    WriteRequest write_;
    std::uint8_t writeAge_ = 0;
    bool linkLampLit_ = false;
};

} // namespace lq
