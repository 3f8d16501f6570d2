#pragma once

#include "serial/comm_types.h"
#include "serial/comms_error.h"
#include "serial/notification_window.h"
#include "serial/read_thread.h"
#include "serial/serial_backend.h"
#include "serial/write_thread.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace lq {

class TComm;

// The open step that failed, so that a caller can say more than the exception text.
enum class TOpenStep { None, Open, NotCharDevice, SetupComm, Rs485, Resources };

// Why the last OpenPort failed: the device path tried and the system's error number (0 when the step has
// none, such as a path that is no character device).
struct TOpenError {
    std::string Path;
    int Errno = 0;
    TOpenStep Step = TOpenStep::None;
};

using TReceiveDataEvent =
    std::function<void(TComm* Sender, const std::uint8_t* Buffer, std::uint16_t BufferLength)>;
using TReceiveErrorEvent = std::function<void(TComm* Sender, std::uint32_t EventMask)>;
using TModemStateChangeEvent = std::function<void(TComm* Sender, std::uint32_t ModemEvent)>;
using TNotifyEvent = std::function<void(TComm* Sender)>;
using TSendDataEmptyEvent = std::function<void(TComm* Sender)>;

// Owns one serial device with a receive and a transmit thread. Everything here, events included, runs on
// the thread that owns the notification window.
class TComm {
  public:
    explicit TComm(std::unique_ptr<INotificationWindow> window,
                   std::shared_ptr<ISerialBackend> backend = MakePosixBackend());
    TComm(const TComm&) = delete;
    TComm& operator=(const TComm&) = delete;
    // Closes an open port (both threads end) before the window and its queued notifications go.
    ~TComm();

    void OpenPort();
    void ClosePort();
    bool SendData(const std::uint8_t* data, std::uint16_t count);
    bool Connected() const { return static_cast<bool>(device_); }
    const TOpenError& LastOpenError() const { return lastOpenError_; }
    // CommName and the device it led to when the open port was opened; empty while closed.
    const std::string& OpenedName() const { return openedName_; }
    const std::string& OpenedPath() const { return openedPath_; }
    // Replies the open port dropped on the way (a Modbus TCP connection's late or malformed ones).
    std::uint32_t DroppedReplies() const { return device_ ? backend_->GetDroppedReplies(device_.Get()) : 0; }
    // During OnReceiveData: when the first byte of the delivery being handed over came (steady clock), as
    // the receive thread saw it. A delivery ends at a silence, so this can be long before the handler runs.
    std::chrono::steady_clock::time_point ReceiveFirstByteAt() const { return receiveFirstByteAt_; }

    // Used by the next OpenPort.
    std::string CommName = "COM2";
    // Written to the device the next time the control block is applied.
    TParity Parity = TParity::None;
    // The stop bits the same way: stored, and written with the next applied control block, unlike
    // SetStopBits, which applies an open port's settings at once.
    void StageStopBits(TStopBits value) { stopBits_ = value; }
    // Writes every stored setting, Parity and staged stop bits included, to an open port now; for a caller
    // that switches the line's framing while it is open. Nothing while closed.
    void ApplyLineSettings() {
        if (Connected()) ApplyCommState();
    }

    std::uint32_t BaudRate() const { return baudRate_; }
    bool ParityCheck() const { return parityCheck_; }
    bool Outx_CtsFlow() const { return outxCtsFlow_; }
    bool Outx_DsrFlow() const { return outxDsrFlow_; }
    TDtrControl DtrControl() const { return dtrControl_; }
    bool DsrSensitivity() const { return dsrSensitivity_; }
    bool TxContinueOnXoff() const { return txContinueOnXoff_; }
    bool Outx_XonXoffFlow() const { return outxXonXoffFlow_; }
    bool Inx_XonXoffFlow() const { return inxXonXoffFlow_; }
    bool ReplaceWhenParityError() const { return replaceWhenParityError_; }
    bool IgnoreNullChar() const { return ignoreNullChar_; }
    TRtsControl RtsControl() const { return rtsControl_; }
    std::uint16_t XonLimit() const { return xonLimit_; }
    std::uint16_t XoffLimit() const { return xoffLimit_; }
    TByteSize ByteSize() const { return byteSize_; }
    TStopBits StopBits() const { return stopBits_; }
    char XonChar() const { return xonChar_; }
    char XoffChar() const { return xoffChar_; }
    char ReplacedChar() const { return replacedChar_; }
    std::uint32_t ReadIntervalTimeout() const { return timeouts_.ReadIntervalTimeout; }
    std::uint32_t ReadTotalTimeoutMultiplier() const { return timeouts_.ReadTotalTimeoutMultiplier; }
    std::uint32_t ReadTotalTimeoutConstant() const { return timeouts_.ReadTotalTimeoutConstant; }
    std::uint32_t WriteTotalTimeoutMultiplier() const { return timeouts_.WriteTotalTimeoutMultiplier; }
    std::uint32_t WriteTotalTimeoutConstant() const { return timeouts_.WriteTotalTimeoutConstant; }

    // Each setter ignores its current value; a new one is re-applied at once to an open port.
    void SetBaudRate(std::uint32_t value) { SetStateField(baudRate_, value); }
    void SetParityCheck(bool value) { SetStateField(parityCheck_, value); }
    void SetOutx_CtsFlow(bool value) { SetStateField(outxCtsFlow_, value); }
    void SetOutx_DsrFlow(bool value) { SetStateField(outxDsrFlow_, value); }
    void SetDtrControl(TDtrControl value) { SetStateField(dtrControl_, value); }
    void SetDsrSensitivity(bool value) { SetStateField(dsrSensitivity_, value); }
    void SetTxContinueOnXoff(bool value) { SetStateField(txContinueOnXoff_, value); }
    void SetOutx_XonXoffFlow(bool value) { SetStateField(outxXonXoffFlow_, value); }
    void SetInx_XonXoffFlow(bool value) { SetStateField(inxXonXoffFlow_, value); }
    void SetReplaceWhenParityError(bool value) { SetStateField(replaceWhenParityError_, value); }
    void SetIgnoreNullChar(bool value) { SetStateField(ignoreNullChar_, value); }
    void SetRtsControl(TRtsControl value) { SetStateField(rtsControl_, value); }
    void SetXonLimit(std::uint16_t value) { SetStateField(xonLimit_, value); }
    void SetXoffLimit(std::uint16_t value) { SetStateField(xoffLimit_, value); }
    void SetByteSize(TByteSize value) { SetStateField(byteSize_, value); }
    void SetStopBits(TStopBits value) { SetStateField(stopBits_, value); }
    void SetXonChar(char value) { SetStateField(xonChar_, value); }
    void SetXoffChar(char value) { SetStateField(xoffChar_, value); }
    void SetReplacedChar(char value) { SetStateField(replacedChar_, value); }
    void SetReadIntervalTimeout(std::uint32_t value) { SetTimeout(timeouts_.ReadIntervalTimeout, value); }
    void SetReadTotalTimeoutMultiplier(std::uint32_t value) {
        SetTimeout(timeouts_.ReadTotalTimeoutMultiplier, value);
    }
    void SetReadTotalTimeoutConstant(std::uint32_t value) {
        SetTimeout(timeouts_.ReadTotalTimeoutConstant, value);
    }
    void SetWriteTotalTimeoutMultiplier(std::uint32_t value) {
        SetTimeout(timeouts_.WriteTotalTimeoutMultiplier, value);
    }
    void SetWriteTotalTimeoutConstant(std::uint32_t value) {
        SetTimeout(timeouts_.WriteTotalTimeoutConstant, value);
    }

    TReceiveDataEvent OnReceiveData;
    TReceiveErrorEvent OnReceiveError;
    TModemStateChangeEvent OnModemStateChange;
    TNotifyEvent OnRequestHangup;
    // Raised once the blocks sent while it was bound are out and nothing is left to send.
    TSendDataEmptyEvent OnSendDataEmpty;

  private:
    template <class T> void SetStateField(T& field, T value) {
        if (field == value) return;
        field = value;
        if (Connected()) ApplyCommState();
    }
    void SetTimeout(std::uint32_t& field, std::uint32_t value) {
        if (field == value) return;
        field = value;
        if (Connected()) ApplyCommTimeouts();
    }

    void ApplyCommState();
    void ApplyCommTimeouts();
    // RtsTransmissionAvailable is the kernel's RS-485 mode; any other RTS mode puts back what the device had.
    void ApplyRs485();
    void LeaveRs485Mode();
    // Undoes the device part of an open that cannot complete.
    void ReleaseDevice();
    [[noreturn]] void FailOpen(TOpenStep step, int error, const char* text);
    std::uint32_t ControlFlags() const;
    void StopReadThread();
    void StopWriteThread();
    void HandleNotification(Notification& notification);
    TIoThreadContext ThreadContext();

    std::uint32_t baudRate_ = 9600;
    bool parityCheck_ = false;
    bool outxCtsFlow_ = false;
    bool outxDsrFlow_ = false;
    TDtrControl dtrControl_ = TDtrControl::DtrEnable;
    bool dsrSensitivity_ = false;
    bool txContinueOnXoff_ = true;
    bool outxXonXoffFlow_ = true;
    bool inxXonXoffFlow_ = true;
    bool replaceWhenParityError_ = false;
    bool ignoreNullChar_ = false;
    TRtsControl rtsControl_ = TRtsControl::RtsEnable;
    std::uint16_t xonLimit_ = 500;
    std::uint16_t xoffLimit_ = 500;
    TByteSize byteSize_ = TByteSize::_8;
    TStopBits stopBits_ = TStopBits::_1;
    char xonChar_ = 17;
    char xoffChar_ = 19;
    char replacedChar_ = 0;
    CommTimeouts timeouts_{100, 0, 0, 0, 0};

    std::shared_ptr<ISerialBackend> backend_;
    std::unique_ptr<INotificationWindow> window_;
    UniqueHandle device_;
    TOpenError lastOpenError_;
    std::string openedName_;
    std::string openedPath_;
    std::chrono::steady_clock::time_point receiveFirstByteAt_{};
    bool rs485Active_ = false;
    Rs485Settings savedRs485_;
    int rs485Refusal_ = 0;
    UniqueHandle stopEvent_;
    std::unique_ptr<TReadThread> readThread_;
    std::unique_ptr<TWriteThread> writeThread_;
};

} // namespace lq
