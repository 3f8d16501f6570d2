#pragma once

#include <cstdint>

namespace lq {

// Ordinals are the published values; the device values of the control block are derived from them.
enum class TByteSize : std::uint8_t { _5, _6, _7, _8 };
enum class TParity : std::uint8_t { None, Odd, Even, Mark, Space };
enum class TStopBits : std::uint8_t { _1, _1_5, _2 };
enum class TDtrControl : std::uint8_t { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl : std::uint8_t { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };

// Device values of the DTR and RTS line modes (Enable is 1, Disable 0: not the ordinals).
constexpr std::uint32_t DtrDeviceValue(TDtrControl c) {
    switch (c) {
    case TDtrControl::DtrEnable:
        return 1;
    case TDtrControl::DtrDisable:
        return 0;
    case TDtrControl::DtrHandshake:
        return 2;
    }
    return 0;
}

constexpr std::uint32_t RtsDeviceValue(TRtsControl c) {
    switch (c) {
    case TRtsControl::RtsEnable:
        return 1;
    case TRtsControl::RtsDisable:
        return 0;
    case TRtsControl::RtsHandshake:
        return 2;
    case TRtsControl::RtsTransmissionAvailable:
        return 3;
    }
    return 0;
}

// Line control block, laid out like the Windows DCB so that back ends and tests speak one vocabulary.
struct Dcb {
    std::uint32_t DCBlength = sizeof(Dcb);
    std::uint32_t BaudRate = 0;
    std::uint32_t Flags = 0;
    std::uint16_t wReserved = 0;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 8;
    std::uint8_t Parity = 0;
    std::uint8_t StopBits = 0;
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
    std::uint16_t wReserved1 = 0;
};

// Bit positions of Dcb::Flags.
namespace dcb {
constexpr std::uint32_t fBinary = 1u << 0;
constexpr std::uint32_t fParity = 1u << 1;
constexpr std::uint32_t fOutxCtsFlow = 1u << 2;
constexpr std::uint32_t fOutxDsrFlow = 1u << 3;
constexpr unsigned DtrControlShift = 4;
constexpr std::uint32_t DtrControlMask = 3u << DtrControlShift;
constexpr std::uint32_t fDsrSensitivity = 1u << 6;
constexpr std::uint32_t fTXContinueOnXoff = 1u << 7;
constexpr std::uint32_t fOutX = 1u << 8;
constexpr std::uint32_t fInX = 1u << 9;
constexpr std::uint32_t fErrorChar = 1u << 10;
constexpr std::uint32_t fNull = 1u << 11;
constexpr unsigned RtsControlShift = 12;
constexpr std::uint32_t RtsControlMask = 3u << RtsControlShift;
constexpr std::uint32_t fAbortOnError = 1u << 14;

constexpr std::uint32_t DtrControl(std::uint32_t flags) {
    return (flags & DtrControlMask) >> DtrControlShift;
}
constexpr std::uint32_t RtsControl(std::uint32_t flags) {
    return (flags & RtsControlMask) >> RtsControlShift;
}
} // namespace dcb

constexpr std::uint8_t kOneStopBit = 0;
constexpr std::uint8_t kOne5StopBits = 1;
constexpr std::uint8_t kTwoStopBits = 2;

// All values in milliseconds, with the Windows COMMTIMEOUTS meaning.
struct CommTimeouts {
    std::uint32_t ReadIntervalTimeout = 0;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;
};

constexpr std::uint32_t MAXDWORD = 0xFFFFFFFFu;

constexpr std::uint32_t PURGE_TXABORT = 0x01;
constexpr std::uint32_t PURGE_RXABORT = 0x02;
constexpr std::uint32_t PURGE_TXCLEAR = 0x04;
constexpr std::uint32_t PURGE_RXCLEAR = 0x08;

constexpr std::uint32_t EV_RXCHAR = 0x0001;
constexpr std::uint32_t EV_ERR = 0x0080;
constexpr std::uint32_t EV_RLSD = 0x0020;
constexpr std::uint32_t EV_RING = 0x0100;

constexpr std::uint32_t CE_RXOVER = 0x0001;
constexpr std::uint32_t CE_OVERRUN = 0x0002;
constexpr std::uint32_t CE_RXPARITY = 0x0004;
constexpr std::uint32_t CE_FRAME = 0x0008;
constexpr std::uint32_t CE_BREAK = 0x0010;

constexpr std::uint32_t FILE_TYPE_UNKNOWN = 0;
constexpr std::uint32_t FILE_TYPE_DISK = 1;
constexpr std::uint32_t FILE_TYPE_CHAR = 2;
constexpr std::uint32_t FILE_TYPE_PIPE = 3;

constexpr std::uint32_t kCommQueueSize = 4096;

// The kernel's RS-485 direction control of a device: the flag bits and delays of struct serial_rs485.
struct Rs485Settings {
    std::uint32_t Flags = 0;
    std::uint32_t DelayRtsBeforeSend = 0; // ms
    std::uint32_t DelayRtsAfterSend = 0;  // ms
    bool operator==(const Rs485Settings&) const = default;
};

namespace rs485 {
constexpr std::uint32_t Enabled = 1u << 0;
constexpr std::uint32_t RtsOnSend = 1u << 1;
constexpr std::uint32_t RtsAfterSend = 1u << 2;
constexpr std::uint32_t RxDuringTx = 1u << 4;
} // namespace rs485

} // namespace lq
