#include "tests/e2e/panel_on_sim.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>
#include <cmath>
#include <fstream>

#include "modbus/crc16.h"
#include "tests/sim/register_history.h"
#include "widgets/ti_analog_display.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_linear_gauge.h"
#include "widgets/ti_switch_led.h"

namespace lq::e2e {
namespace {

// Registers the controller model recomputes on its own; every other one changes only when written.
bool Moves(int reg) {
    static const std::set<int> measured{11, 12, 13, 20, 21, 22, 23, 24, 35, 37};
    return measured.count(reg) != 0;
}

bool IsGoodReadReply(const std::uint8_t* bytes, std::uint16_t count) {
    return count >= ModbusMaster::kReadReplyLength && CalcCRC16(bytes, 23) == bytes[23] * 256 + bytes[24];
}

// The master's own account of the link: which block each reply was stored under, how each write ended.
class LinkTap final : public ILinkObserver {
  public:
    LinkTap(const TForm1& form, DeliveryLog& log) : form_(form), log_(log) {}

    void RequestSent(const SentRequest& request) override {
        if (request.kind == RequestKind::Read) log_.readsSent.push_back(request.at.steady);
    }
    void ReadUnanswered(const NoReply& noReply) override { log_.unanswered.push_back(noReply.at.steady); }
    void DeliveryJudged(const Delivery& delivery) override {
        if (delivery.verdict != DeliveryVerdict::Accepted) return;
        log_.blocksRead.insert(delivery.block);
        AcceptedBlock accepted{delivery.block, {}};
        const RegisterImage& image = form_.Master().Registers();
        for (int k = 0; k < RegisterImage::KeptCount(delivery.block); ++k) {
            const int reg = kPollBlockStarts[delivery.block] + k;
            log_.accepted[reg].insert(static_cast<std::uint16_t>(image[reg]));
            accepted.values.push_back(static_cast<std::uint16_t>(image[reg]));
        }
        log_.blocks.push_back(std::move(accepted));
    }
    void WriteEnded(const WriteEnd& end) override {
        log_.writes.push_back({end.registerAddress, end.value, end.outcome, !form_.Image14->isHidden()});
    }

  private:
    const TForm1& form_;
    DeliveryLog& log_;
};

} // namespace

PanelOnSim::PanelOnSim(std::vector<std::string> simOptions)
    : sim_(std::make_unique<sim::SimProcess>(std::move(simOptions))) {
    TForm1Setup setup;
    setup.showMessage = [messages = messages_](QWidget*, const QString& text) { *messages << text; };
    form_ = std::make_unique<TForm1>(setup);
    TapDeliveries();
    form_->show();
    form_->activateWindow();
}

PanelOnSim::~PanelOnSim() = default;

void PanelOnSim::RestartSim(std::vector<std::string> simOptions) {
    sim_.reset();
    sim_ = std::make_unique<sim::SimProcess>(std::move(simOptions));
}

void PanelOnSim::TapDeliveries() {
    // The panel's own handler still does all the work; the tap only looks before and after it.
    TReceiveDataEvent panel = form_->Port().OnReceiveData;
    form_->Port().OnReceiveData = [panel, log = log_](TComm* sender, const std::uint8_t* buffer,
                                                      std::uint16_t length) {
        ++log->deliveries;
        if (!IsGoodReadReply(buffer, length)) ++log->damaged;
        panel(sender, buffer, length);
    };
    tap_ = std::make_unique<LinkTap>(*form_, *log_);
    form_->Master().AddObserver(*tap_);
}

int PanelOnSim::BlocksNotHeld() const {
    std::ifstream file(sim_->HistoryPath());
    const sim::RegisterHistory history = sim::RegisterHistory::Parse(file);
    int notHeld = 0;
    for (const AcceptedBlock& block : log_->blocks)
        notHeld += history.FindBlock(0, kPollBlockStarts[block.block], block.values) ? 0 : 1;
    return notHeld;
}

bool PanelOnSim::OpenPort() {
    sim_->ExportAliasFolder();
    form_->OpenPort();
    return form_->PortInUse();
}

bool PanelOnSim::OpenAndTick() {
    if (!OpenPort()) return false;
    form_->SetPolling(true);
    return form_->Polling();
}

QString PanelOnSim::ImageMismatch() const {
    const std::optional<sim::RegisterFile> regs = sim_->Registers();
    if (!regs) return QStringLiteral("the simulator wrote no registers yet");
    if (log_->blocksRead.size() < kPollBlockStarts.size())
        return QStringLiteral("%1 of 4 blocks read").arg(log_->blocksRead.size());
    const auto held = sim_->HeldValues();
    const RegisterImage& image = form_->Master().Registers();
    QStringList diffs;
    for (int reg = 0; reg <= RegisterImage::kHighestRegister; ++reg) {
        if (!RegisterImage::IsKept(reg)) continue;
        const auto value = static_cast<std::uint16_t>(image[reg]);
        if (!Moves(reg) && value != (*regs)[reg])
            diffs << QStringLiteral("register %1: panel %2, simulator %3")
                         .arg(reg)
                         .arg(value)
                         .arg((*regs)[reg]);
        else if (Moves(reg) && (held.count(reg) == 0 || held.at(reg).count(value) == 0))
            diffs << QStringLiteral("register %1: panel %2, never held").arg(reg).arg(value);
    }
    return diffs.join("; ");
}

QString PanelOnSim::DisplayMismatch() const {
    const std::optional<sim::RegisterFile> regs = sim_->Registers();
    if (!regs) return QStringLiteral("the simulator wrote no registers yet");
    const auto held = sim_->HeldValues();
    QStringList diffs;
    const auto still = [&](const char* what, double shown, int reg, double scale) {
        if (shown != (*regs)[reg] / scale)
            diffs << QStringLiteral("%1 shows %2, register %3 is %4")
                         .arg(what)
                         .arg(shown)
                         .arg(reg)
                         .arg((*regs)[reg]);
    };
    const auto moving = [&](const char* what, double shown, int reg, double scale) {
        const long raw = std::lround(shown * scale);
        if (held.count(reg) == 0 || held.at(reg).count(static_cast<std::uint16_t>(raw)) == 0)
            diffs << QStringLiteral("%1 shows %2, register %3 never held %4")
                         .arg(what)
                         .arg(shown)
                         .arg(reg)
                         .arg(raw);
    };
    const TForm1& f = *form_;
    still("input", f.iAnalogOutput2->Value(), 0, 100);
    still("maximum limit", f.iAnalogDisplay5->Value(), 4, 10);
    still("minimum limit", f.iAnalogDisplay6->Value(), 5, 10);
    still("gauge maximum", f.iLinearGauge1->PositionMax(), 15, 10);
    still("SV", f.iAnalogDisplay8->Value(), 36, 10);
    still("AL1", f.iAnalogDisplay9->Value(), 39, 10);
    still("P", f.iAnalogDisplay10->Value(), 40, 10);
    still("I", f.iAnalogDisplay11->Value(), 41, 1);
    still("D", f.iAnalogDisplay12->Value(), 42, 1);
    moving("output", f.iAnalogOutput4->Value(), 11, 10);
    moving("temperature", f.iAnalogOutput1->Value(), 12, 1);
    moving("R current", f.iAnalogDisplay1->Value(), 20, 10);
    moving("S current", f.iAnalogDisplay2->Value(), 21, 10);
    moving("T current", f.iAnalogDisplay3->Value(), 22, 10);
    moving("voltage", f.iAnalogDisplay4->Value(), 23, 10);
    moving("PV", f.iAnalogDisplay7->Value(), 35, 10);
    moving("counter", f.Memo12->toPlainText().toDouble(), 24, 1);
    const QString caption = ((*regs)[3] & 1) != 0 ? QStringLiteral("STOP") : QStringLiteral("RUN");
    if (f.iSwitchLed1->Caption() != caption)
        diffs << QStringLiteral("run/stop switch reads %1, register 3 is %2")
                     .arg(f.iSwitchLed1->Caption())
                     .arg((*regs)[3]);
    return diffs.join("; ");
}

} // namespace lq::e2e
