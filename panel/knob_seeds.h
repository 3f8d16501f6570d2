#pragma once

#include <vector>

#include "modbus/link_events.h"

namespace lq {

class RegisterImage;
class TiKnob;

// Knobs that start from the controller rather than from 0: after the port is opened, each knob takes its
// register's value (in register units, as its click writes it) the first time that register is read, unless
// the operator has pressed, keyed, turned or clicked it since the opening. After that it keeps the operator's
// setting, whatever the controller reports.
class KnobSeeds final : public ILinkObserver {
public:
    struct Knob {
        TiKnob* knob;
        int reg;
    };

    KnobSeeds(const RegisterImage& registers, std::vector<Knob> knobs);

    // Every knob waits for its register again.
    void PortOpened();
    bool Waiting(const TiKnob* knob) const;

    void DeliveryJudged(const Delivery& delivery) override;

private:
    struct Seed {
        Knob knob;
        bool waiting = false;
    };

    void Touched(TiKnob* knob);

    const RegisterImage& registers_;
    std::vector<Seed> seeds_;
    bool seeding_ = false;
};

} // namespace lq
