#include "panel/monitor/controller_search_runner.h"

#include "panel/form1.h"
#include "panel/port_framing.h"
#include "serial/network_port_name.h"

namespace lq {

namespace {

// Over a serial device server rate and framing are the server's: only the addresses are worth trying.
std::vector<LineSetting> PlanFor(const TForm1& form, std::uint8_t lastSlave) {
    const TComm& port = form.Port();
    if (!LooksLikeNetworkPort(port.OpenedName())) return SearchPlan(lastSlave);
    const std::optional<QString> shown = form.ShownLine().framing;
    const std::optional<Framing> framing = shown ? FramingNamed(shown->toStdString()) : std::nullopt;
    return AddressPlan(lastSlave, port.BaudRate(), framing.value_or(Framing::N2));
}

} // namespace

ControllerSearchRunner::ControllerSearchRunner(TForm1& form, std::uint8_t lastSlave, QObject* parent)
    : QObject(parent), form_(form), search_(PlanFor(form, lastSlave)) {
    settle_.setSingleShot(true);
    tryTimer_.setSingleShot(true);
    connect(&settle_, &QTimer::timeout, this, &ControllerSearchRunner::BeginTries);
    connect(&tryTimer_, &QTimer::timeout, this, &ControllerSearchRunner::TryTimedOut);
}

ControllerSearchRunner::~ControllerSearchRunner() {
    // Nobody is left to tell; the port and the master get their line back all the same.
    if (Running()) Restore();
}

bool ControllerSearchRunner::Start() {
    if (phase_ != Phase::Idle || !form_.PortInUse()) return false;
    const TComm& comm = form_.Port();
    saved_ = {comm.BaudRate(), comm.Parity, comm.StopBits()};
    form_.LendLine([this](const std::uint8_t* buffer, std::uint16_t length,
                          std::optional<std::chrono::steady_clock::time_point> firstByteAt) {
        Deliver(buffer, length, firstByteAt);
    });
    phase_ = Phase::Settling;
    emit Progress(0, static_cast<int>(search_.TriesPlanned()));
    // A poll already on the line may still be answered: that reply is the master's, at the panel's settings.
    if (form_.Master().ReadInFlight()) {
        settle_.start(form_.Master().Timing().responseTimeout);
    } else {
        BeginTries();
    }
    return true;
}

void ControllerSearchRunner::Cancel() {
    if (Running()) Stop(false);
}

void ControllerSearchRunner::Deliver(const std::uint8_t* buffer, std::uint16_t length,
                                     std::optional<std::chrono::steady_clock::time_point> firstByteAt) {
    if (phase_ == Phase::Settling) {
        form_.Master().ReceiveDelivery(buffer, length, firstByteAt);
        if (!form_.Master().ReadInFlight()) BeginTries();
        return;
    }
    if (phase_ != Phase::Trying || buffer == nullptr) return;
    // Without the port's word on it, the delivery's end is the latest its first byte can have come.
    const auto began = firstByteAt.value_or(std::chrono::steady_clock::now());
    if (search_.Received(std::span<const std::uint8_t>(buffer, length), began)) {
        tryTimer_.stop();
        search_.EndTry();
        NextTry();
    }
}

void ControllerSearchRunner::BeginTries() {
    if (phase_ != Phase::Settling) return;
    settle_.stop();
    phase_ = Phase::Trying;
    NextTry();
}

void ControllerSearchRunner::NextTry() {
    emit Progress(static_cast<int>(search_.TriesDone()), static_cast<int>(search_.TriesPlanned()));
    if (search_.Finished()) {
        Stop(true);
        return;
    }
    const LineSetting& setting = search_.Current();
    // The address changes fastest; the line is set anew only when rate or framing changes.
    if (!applied_ || applied_->baud != setting.baud || applied_->framing != setting.framing) Apply(setting);
    const RequestFrame request = search_.Request();
    // Taken before the send: no answer to it can begin earlier.
    search_.Sent(std::chrono::steady_clock::now());
    if (!form_.Port().SendData(request.data(), static_cast<std::uint16_t>(request.size()))) {
        Stop(false); // the port is closed or gone
        return;
    }
    const auto silence = std::chrono::milliseconds(form_.Port().ReadIntervalTimeout());
    tryTimer_.start(TryTimeout(setting.baud, silence));
}

void ControllerSearchRunner::TryTimedOut() {
    search_.EndTry();
    NextTry();
}

void ControllerSearchRunner::Apply(const LineSetting& setting) {
    TComm& comm = form_.Port();
    StageFraming(comm, setting.framing);
    comm.SetBaudRate(setting.baud);
    comm.ApplyLineSettings();
    applied_ = setting;
}

void ControllerSearchRunner::Restore() {
    settle_.stop();
    tryTimer_.stop();
    TComm& comm = form_.Port();
    comm.Parity = saved_.parity;
    comm.StageStopBits(saved_.stopBits);
    comm.SetBaudRate(saved_.baud);
    comm.ApplyLineSettings();
    form_.ReturnLine();
    phase_ = Phase::Ended;
}

void ControllerSearchRunner::Stop(bool completed) {
    Restore();
    emit Finished(completed);
}

} // namespace lq
