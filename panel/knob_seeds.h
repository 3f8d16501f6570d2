#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "modbus/link_events.h"

namespace lq {

class RegisterImage;
class TiKnob;

// Knobs that show what the controller holds unless the operator is setting them. A knob takes its
// register's value (in register units, as its click writes it) at every accepted read of that register,
// from the first read after the port is opened, until the operator turns it. A turned knob keeps the
// operator's setting until its click has gone on the line and that write has ended; a click that sent
// nothing gives the setting up, and the knob waits for the controller's value again. Escape, once the knob
// is back where the turn took it from, gives the turn up: the knob holds again what it held before.
class KnobSeeds final : public ILinkObserver {
  public:
    struct Knob {
        TiKnob* knob;
        int reg;
    };

    KnobSeeds(const RegisterImage& registers, const std::vector<Knob>& knobs);

    // Every knob waits for its register again.
    void PortOpened();
    // Waiting for the controller's value: its position is neither the controller's nor the operator's.
    bool Waiting(const TiKnob* knob) const;

    // What a click on the knob writes: the turned position, or the controller's value it shows; none while
    // it has neither, so a click that did not turn it never sends a value its display does not show.
    std::optional<std::uint16_t> ClickValue(const TiKnob* knob) const;
    // The click's write went on the line (sent) or was refused before sending.
    void ClickWritten(const TiKnob* knob, std::uint16_t value, bool sent);

    void DeliveryJudged(const Delivery& delivery) override;
    void WriteEnded(const WriteEnd& end) override;

  private:
    enum class Hold : std::uint8_t {
        Waiting,   // for the controller's value
        Following, // the controller's value, renewed at every read
        Turned,    // the operator's setting, not yet sent
        Sent,      // the operator's setting on its way, until its write ends
    };
    struct Seed {
        Knob knob;
        Hold hold = Hold::Waiting;
        std::uint16_t value = 0; // Following: the controller's; Sent: the one written
        Hold heldBeforeTurn = Hold::Waiting;
        double position = 0;   // before the latest change
        double turnedFrom = 0; // where the turn began
    };

    void Moved(Seed& seed);
    void TurnTakenBack(Seed& seed);

    Seed* Find(const TiKnob* knob);
    const Seed* Find(const TiKnob* knob) const;

    const RegisterImage& registers_;
    std::vector<Seed> seeds_;
    bool seeding_ = false;
};

} // namespace lq
