#include "modbus_master.h"

#include <algorithm>
#include <cstring>

#include "modbus/crc16.h"
#include "modbus/request_frames.h"
#include "modbus/text_helpers.h"

namespace lq {

ModbusMaster::ModbusMaster(IFrameSender& sender, IPause& pause, IMasterView& view)
    : sender_(sender), pause_(pause), view_(view)
{
}

std::uint8_t ModbusMaster::SlaveAddress() const
{
    return static_cast<std::uint8_t>(TextToInt(view_.AddressText()) & 0xFF);
}

void ModbusMaster::Send(const std::array<std::uint8_t, 8>& frame, unsigned pauseMs)
{
    // A closed port loses the request silently: the poll cycle repeats a read, a write ages out.
    (void)sender_.SendData(frame.data(), static_cast<std::uint16_t>(frame.size()));
    pause_.Sleep(pauseMs);
}

void ModbusMaster::SendReadRequest(std::uint8_t startRegister, std::uint8_t quantity)
{
    Send(BuildReadRequest(SlaveAddress(), startRegister, quantity), kPauseAfterRead);
}

void ModbusMaster::SendWriteRequest()
{
    Send(BuildWriteRequest(SlaveAddress(), write_.registerAddress, write_.valueHi, write_.valueLo),
         kPauseAfterWrite);
}

void ModbusMaster::SetLinkLamp(bool lit)
{
    linkLampLit_ = lit;
    view_.ShowLinkLamp(lit);
}

bool ModbusMaster::ReadReplyIsGood(std::size_t deliveredLength) const
{
    // A short frame with its own good CRC would pass the 23-byte check thanks to the zero padding, and an
    // exception reply or a stray echo would then be stored as register values: only a full reply counts.
    if (deliveredLength < kReadReplyLength) return false;
    const std::uint16_t crc = CalcCRC16(receiveBuffer_.data(), kReadReplyLength - 2);
    return crc == receiveBuffer_[23] * 256 + receiveBuffer_[24];
}

void ModbusMaster::Comm1ReceiveData(const std::uint8_t* Buffer, std::uint16_t BufferLength)
{
    const std::size_t delivered = Buffer != nullptr ? BufferLength : 0;
    // Only the first bytes fit; the rest of an over-long delivery is dropped.
    if (delivered > 0) std::memcpy(receiveBuffer_.data(), Buffer, std::min(delivered, receiveBuffer_.size()));

    if (write_.pending != 0) {
        // Whatever arrives while a write is pending is its echo; it is not examined.
        write_.pending = 0;
    } else if (ReadReplyIsGood(delivered)) {
        SetLinkLamp(true);
        registers_.StoreBlock(pollIndex_, receiveBuffer_.data());
        answered_ = true;
        if (pollIndex_ == 2) view_.SetMemo12Text(FirstChars(IntToText(registers_[24]), 7));
    } else {
        SetLinkLamp(false);
    }

    receiveBuffer_.fill(0);
}

void ModbusMaster::Timer1Timer()
{
    if (answered_) {
        ++pollIndex_;
        if (pollIndex_ > 3) pollIndex_ = 0;
        answered_ = false;
    }
    if (!view_.CommunicationTicked() || write_.pending != 0) {
        SetLinkLamp(false);
        return;
    }
    SendReadRequest(kPollBlockStarts[pollIndex_], kPollQuantity);
}

void ModbusMaster::PortClosed()
{
    SetLinkLamp(false);
}

void ModbusMaster::AgeWriteRequest()
{
    if (write_.pending != 0) {
        ++writeAge_;
        if (writeAge_ > 3) {
            write_.pending = 0;
            writeAge_ = 0;
        }
    } else {
        writeAge_ = 0;
    }
}

void ModbusMaster::IssueWrite(std::uint8_t registerAddress, std::int32_t value)
{
    const auto word = static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFF);
    write_.pending = 1;
    write_.registerAddress = registerAddress;
    write_.valueHi = static_cast<std::uint8_t>(word >> 8);
    write_.valueLo = static_cast<std::uint8_t>(word & 0xFF);
    if (view_.CommunicationTicked()) SendWriteRequest();
}

} // namespace lq
