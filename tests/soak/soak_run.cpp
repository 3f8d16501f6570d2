#include "tests/soak/soak_run.h"

#include "modbus/master_ports.h"
#include "modbus/modbus_master.h"
#include "modbus/register_image.h"
#include "modbus/request_frames.h"
#include "serial/comm.h"
#include "serial/testing/pumped_notification_window.h"

#include <algorithm>
#include <random>

namespace lq::soak {

namespace {

using Clock = std::chrono::steady_clock;

// The main window as the master sees it: slave 1, "通讯" ticked for the whole run.
class TickedBoxView final : public IMasterView {
  public:
    std::string AddressText() const override { return "1"; }
    bool CommunicationTicked() const override { return true; }
    void ShowLinkLamp(bool) override {}
    void SetMemo12Text(const std::string&) override {}
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

// The master's own verdicts: which block each accepted reply was stored under, and how each write ended.
class Verdicts final : public ILinkObserver {
  public:
    Verdicts(const ModbusMaster& master, SoakFigures& figures, long& ticksSinceAccept)
        : master_(master), figures_(figures), ticksSinceAccept_(ticksSinceAccept) {}

    void DeliveryJudged(const Delivery& delivery) override {
        ++figures_.verdicts[static_cast<std::size_t>(delivery.verdict)];
        switch (delivery.verdict) {
        case DeliveryVerdict::Accepted:
            ++figures_.accepted;
            ticksSinceAccept_ = 0;
            figures_.acceptedBlocks.push_back(Accepted(delivery));
            break;
        case DeliveryVerdict::BadCrc:
        case DeliveryVerdict::ShortOrSplit:
        case DeliveryVerdict::FramesRunTogether:
        case DeliveryVerdict::BeforeRequest:
        case DeliveryVerdict::Unasked:
            ++figures_.rejected;
            break;
        default:
            break;
        }
    }
    void ReadUnanswered(const NoReply&) override { ++figures_.unanswered; }
    void RequestSent(const SentRequest& request) override {
        if (request.kind == RequestKind::Read) figures_.readBlocks.push_back(request.block);
    }
    void WriteEnded(const WriteEnd& end) override {
        (end.outcome == WriteOutcome::Confirmed ? figures_.confirmedValues : figures_.unconfirmedValues)
            .push_back(end.value);
    }

  private:
    AcceptedBlock Accepted(const Delivery& delivery) const {
        AcceptedBlock block;
        block.tick = figures_.ticks;
        block.pollIndex = delivery.block;
        block.values = KeptValues(master_.Registers(), delivery.block);
        block.bytes.assign(delivery.bytes.begin(), delivery.bytes.end());
        block.complete = delivery.at.steady;
        // The master times a reply from its read: the send is as far before the end as the round trip.
        block.readSent = delivery.at.steady - delivery.roundTrip.value_or(std::chrono::microseconds(0));
        if (delivery.answerTime) block.firstByte = block.readSent + *delivery.answerTime;
        return block;
    }

    const ModbusMaster& master_;
    SoakFigures& figures_;
    long& ticksSinceAccept_;
};

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

    TickedBoxView view;
    CountingSender sender(comm, figures);
    ThreadSleepPause pause;
    SystemClock clock;
    LinkTiming timing;
    timing.responseTimeout = config.responseTimeout;
    timing.repeatAfter = config.repeatAfter;
    ModbusMaster master(sender, pause, view, clock, timing);
    long ticksSinceAccept = 0;
    Verdicts verdicts(master, figures, ticksSinceAccept);
    master.AddObserver(verdicts);

    comm.OnReceiveData = [&](TComm*, const std::uint8_t* buffer, std::uint16_t length) {
        ++figures.deliveries;
        master.ReceiveDelivery(buffer, length, comm.ReceiveFirstByteAt());
    };
    comm.OpenPort();
    std::mt19937_64 phases(config.writePhaseSeed);

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
            // Anywhere in the tick, as an operator's click falls: right behind a read request included.
            std::uniform_int_distribution<long> phase(0, config.tick.count() - 1);
            pumpUntil(nextTick - config.tick + std::chrono::milliseconds(phase(phases)));
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
