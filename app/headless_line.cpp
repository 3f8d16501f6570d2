#include "app/headless_line.h"

#include "modbus/line_framing.h"
#include "panel/open_failure_reason.h"
#include "panel/port_framing.h"
#include "panel/qt_notification_window.h"

namespace lq {

namespace {

// The panel's own start values.
const QString kDefaultPort = QStringLiteral("COM4");
constexpr std::uint32_t kDefaultBaud = 19200;
const QString kDefaultFraming = QStringLiteral("8_N_2");
constexpr int kDefaultAddress = 1;
constexpr std::chrono::milliseconds kTick{500};

} // namespace

HeadlessLine::HeadlessLine(const SerialStart& start)
    : start_(start), comm_(std::make_unique<TComm>(std::make_unique<QtNotificationWindow>())) {
    master_ = std::make_unique<ModbusMaster>(static_cast<IFrameSender&>(*this), pause_,
                                             static_cast<IMasterView&>(*this), clock_);
    comm_->CommName = PortName().toStdString();
    comm_->SetBaudRate(Baud());
    comm_->SetOutx_XonXoffFlow(false);
    comm_->SetInx_XonXoffFlow(false);
    comm_->SetRtsControl(start_.rs485 ? TRtsControl::RtsTransmissionAvailable : TRtsControl::RtsDisable);
    StageFraming(*comm_, FramingNamed(FramingName().toStdString()).value_or(Framing::N2));
    comm_->OnReceiveData = [this](TComm* sender, const std::uint8_t* buffer, std::uint16_t length) {
        master_->ReceiveDelivery(buffer, length, sender->ReceiveFirstByteAt());
    };
    pollTick_.setInterval(kTick);
    refreshTick_.setInterval(kTick);
    connect(&pollTick_, &QTimer::timeout, this, [this] { master_->Timer1Timer(); });
    connect(&refreshTick_, &QTimer::timeout, this, [this] { master_->AgeWriteRequest(); });
}

HeadlessLine::~HeadlessLine() {
    comm_->ClosePort();
}

QString HeadlessLine::Open() {
    try {
        comm_->OpenPort();
    } catch (...) {
        return QString::fromStdString(OpenFailureReason(GatherOpenFailureFacts(*comm_)));
    }
    pollTick_.start();
    refreshTick_.start();
    return {};
}

QString HeadlessLine::PortName() const {
    return start_.port.value_or(kDefaultPort);
}

QString HeadlessLine::FramingName() const {
    return start_.framing.value_or(kDefaultFraming);
}

std::uint32_t HeadlessLine::Baud() const {
    return start_.baud.value_or(kDefaultBaud);
}

int HeadlessLine::Address() const {
    return start_.address.value_or(kDefaultAddress);
}

std::string HeadlessLine::AddressText() const {
    return std::to_string(Address());
}

bool HeadlessLine::SendData(const std::uint8_t* data, std::uint16_t count) {
    return comm_->SendData(data, count);
}

} // namespace lq
