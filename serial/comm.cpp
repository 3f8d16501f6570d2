#include "serial/comm.h"

#include "serial/network_port_name.h"
#include "serial/port_names.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace lq {

TComm::TComm(std::unique_ptr<INotificationWindow> window, std::shared_ptr<ISerialBackend> backend)
    : backend_(std::move(backend)), window_(std::move(window)) {
    window_->SetHandler([this](Notification& n) { HandleNotification(n); });
}

TComm::~TComm() {
    ClosePort();
    window_.reset();
}

TIoThreadContext TComm::ThreadContext() {
    return TIoThreadContext{*backend_, device_.Get(), stopEvent_.Get(), *window_};
}

void TComm::FailOpen(TOpenStep step, int error, const char* text) {
    lastOpenError_.Step = step;
    lastOpenError_.Errno = error;
    throw ECommsError(text);
}

void TComm::OpenPort() {
    if (device_) throw ECommsError("This serial port already opened");
    lastOpenError_ = TOpenError{ResolvePortName(CommName), 0, TOpenStep::None};
    UniqueHandle device(*backend_, backend_->CreateFile(CommName));
    if (!device) FailOpen(TOpenStep::Open, backend_->GetLastError(), "Error opening serial port");
    if (backend_->GetFileType(device.Get()) != FILE_TYPE_CHAR)
        FailOpen(TOpenStep::NotCharDevice, 0, "File handle is not a comm handle ");
    if (!backend_->SetupComm(device.Get(), kCommQueueSize, kCommQueueSize))
        FailOpen(TOpenStep::SetupComm, backend_->GetLastError(), "Cannot setup comm buffer");

    device_ = std::move(device);
    backend_->PurgeComm(device_.Get(), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    ApplyCommTimeouts();
    ApplyCommState();
    // A line whose direction nobody switches would stay silent: better no open than a dead port.
    if (rtsControl_ == TRtsControl::RtsTransmissionAvailable && !rs485Active_) {
        const int refusal = rs485Refusal_;
        ReleaseDevice();
        FailOpen(TOpenStep::Rs485, refusal, "Cannot set RS-485 mode");
    }

    stopEvent_ = UniqueHandle(*backend_, backend_->CreateEvent(true, false, "Comm.Stop"));
    if (!stopEvent_) {
        ReleaseDevice();
        FailOpen(TOpenStep::Resources, 0, "Unable to create event");
    }

    readThread_ = std::make_unique<TReadThread>(ThreadContext());
    if (!readThread_->Create()) {
        readThread_.reset();
        stopEvent_.Reset();
        ReleaseDevice();
        FailOpen(TOpenStep::Resources, 0, "Unable to create read thread");
    }
    writeThread_ = std::make_unique<TWriteThread>(ThreadContext());
    if (!writeThread_->Create()) {
        StopReadThread();
        writeThread_.reset();
        stopEvent_.Reset();
        ReleaseDevice();
        FailOpen(TOpenStep::Resources, 0, "Unable to create write thread");
    }
    openedName_ = CommName;
    // The device behind an alias or a by-id link: its node may be gone by the time anyone asks.
    std::error_code ec;
    const std::filesystem::path node = std::filesystem::weakly_canonical(lastOpenError_.Path, ec);
    openedPath_ = ec || LooksLikeNetworkPort(CommName) ? lastOpenError_.Path : node.string();
    readThread_->Resume();
    writeThread_->Resume();
}

void TComm::ClosePort() {
    if (!device_) return;
    StopReadThread();
    StopWriteThread();
    stopEvent_.Reset();
    ReleaseDevice();
    openedName_.clear();
    openedPath_.clear();
}

void TComm::ReleaseDevice() {
    LeaveRs485Mode();
    device_.Reset();
}

void TComm::StopReadThread() {
    if (!readThread_) return;
    backend_->SetEvent(stopEvent_.Get());
    backend_->PurgeComm(device_.Get(), PURGE_RXABORT | PURGE_RXCLEAR);
    // Every wait of the thread includes the stop event, so joining without a limit cannot hang.
    readThread_->Join();
    readThread_.reset();
}

void TComm::StopWriteThread() {
    if (!writeThread_) return;
    backend_->SetEvent(stopEvent_.Get());
    backend_->PurgeComm(device_.Get(), PURGE_TXABORT | PURGE_TXCLEAR);
    writeThread_->Join();
    writeThread_.reset();
}

bool TComm::SendData(const std::uint8_t* data, std::uint16_t count) {
    if (!writeThread_ || count == 0 || data == nullptr) return false;
    ThreadMessage message;
    message.Message = REQUEST_WRITE;
    message.WParam = count;
    // Nobody to tell: the notice would only wake this thread for nothing after every request.
    message.NoticeWhenSent = static_cast<bool>(OnSendDataEmpty);
    message.Block = backend_->AllocateBlock(std::size_t{count} + 1);
    if (!message.Block) return false;
    std::copy_n(data, count, message.Block.get());
    return writeThread_->PostThreadMessage(std::move(message));
}

std::uint32_t TComm::ControlFlags() const {
    std::uint32_t flags = dcb::fBinary;
    if (parityCheck_) flags |= dcb::fParity;
    if (outxCtsFlow_) flags |= dcb::fOutxCtsFlow;
    if (outxDsrFlow_) flags |= dcb::fOutxDsrFlow;
    flags |= DtrDeviceValue(dtrControl_) << dcb::DtrControlShift;
    if (dsrSensitivity_) flags |= dcb::fDsrSensitivity;
    if (txContinueOnXoff_) flags |= dcb::fTXContinueOnXoff;
    if (outxXonXoffFlow_) flags |= dcb::fOutX;
    if (inxXonXoffFlow_) flags |= dcb::fInX;
    if (replaceWhenParityError_) flags |= dcb::fErrorChar;
    if (ignoreNullChar_) flags |= dcb::fNull;
    flags |= RtsDeviceValue(rtsControl_) << dcb::RtsControlShift;
    // fAbortOnError stays off: a line error must not stop reads or writes.
    return flags;
}

void TComm::ApplyCommState() {
    if (!device_) return;
    Dcb block;
    backend_->GetCommState(device_.Get(), block);
    block.BaudRate = baudRate_;
    block.Flags = ControlFlags();
    block.XonLim = xonLimit_;
    block.XoffLim = xoffLimit_;
    block.ByteSize = static_cast<std::uint8_t>(static_cast<unsigned>(byteSize_) + 5);
    block.Parity = static_cast<std::uint8_t>(Parity);
    block.StopBits = static_cast<std::uint8_t>(stopBits_);
    block.XonChar = xonChar_;
    block.XoffChar = xoffChar_;
    block.ErrorChar = replacedChar_;
    // A refused setting is not reported: the device keeps what it had.
    backend_->SetCommState(device_.Get(), block);
    ApplyRs485();
}

void TComm::ApplyRs485() {
    const bool wanted = rtsControl_ == TRtsControl::RtsTransmissionAvailable;
    if (wanted == rs485Active_) return;
    if (!wanted) {
        LeaveRs485Mode();
        return;
    }
    Rs485Settings current;
    if (!backend_->GetRs485(device_.Get(), current)) {
        rs485Refusal_ = backend_->GetLastError();
        return;
    }
    // RTS high while sending, low after it; no reception of our own transmission.
    Rs485Settings mode = current;
    mode.Flags =
        (current.Flags | rs485::Enabled | rs485::RtsOnSend) & ~(rs485::RtsAfterSend | rs485::RxDuringTx);
    if (!backend_->SetRs485(device_.Get(), mode)) {
        rs485Refusal_ = backend_->GetLastError();
        return;
    }
    savedRs485_ = current;
    rs485Active_ = true;
    rs485Refusal_ = 0;
}

void TComm::LeaveRs485Mode() {
    if (!rs485Active_) return;
    rs485Active_ = false;
    // An adapter that is gone refuses; there is nothing left to restore then.
    backend_->SetRs485(device_.Get(), savedRs485_);
}

void TComm::ApplyCommTimeouts() {
    if (!device_) return;
    CommTimeouts current;
    backend_->GetCommTimeouts(device_.Get(), current);
    current = timeouts_;
    backend_->SetCommTimeouts(device_.Get(), current);
}

void TComm::HandleNotification(Notification& n) {
    switch (n.Message) {
    case NOTIFY_RECEIVE_DATA: {
        // Released when the handler returns, bound or not, even if it throws.
        const std::unique_ptr<std::uint8_t[]> copy = std::move(n.Data);
        receiveFirstByteAt_ = n.FirstByteAt;
        if (OnReceiveData && copy) OnReceiveData(this, copy.get(), static_cast<std::uint16_t>(n.WParam));
        break;
    }
    case NOTIFY_RECEIVE_ERROR:
        if (OnReceiveError) OnReceiveError(this, static_cast<std::uint32_t>(n.LParam));
        break;
    case NOTIFY_REQUEST_HANGUP:
        if (OnRequestHangup) OnRequestHangup(this);
        break;
    case NOTIFY_MODEM_STATE_CHANGE:
        if (OnModemStateChange) OnModemStateChange(this, static_cast<std::uint32_t>(n.LParam));
        break;
    case NOTIFY_SEND_DATA_EMPTY:
        if (OnSendDataEmpty) OnSendDataEmpty(this);
        break;
    default:
        break;
    }
}

} // namespace lq
