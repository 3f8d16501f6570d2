#include "panel/knob_seeds.h"

#include "modbus/command_value.h"
#include "modbus/register_image.h"
#include "widgets/ti_knob.h"

#include <utility>

namespace lq {

KnobSeeds::KnobSeeds(const RegisterImage& registers, const std::vector<Knob>& knobs) : registers_(registers) {
    for (const Knob& knob : knobs) {
        seeds_.push_back({knob});
        TiKnob* k = knob.knob;
        // Only a turn makes the position the operator's: a press or a click that moves nothing leaves the
        // knob showing the controller's value.
        k->OnPositionChange = [this, k](TiComponent*) { Moved(*Find(k)); };
        // The knob has put back its position by the time its key handler runs.
        k->OnKeyDown = [this, k](TiComponent*, int key, Qt::KeyboardModifiers) {
            if (key == Qt::Key_Escape) TurnTakenBack(*Find(k));
        };
        seeds_.back().position = k->Position();
    }
}

void KnobSeeds::Moved(Seed& seed) {
    const double from = std::exchange(seed.position, seed.knob.knob->Position());
    if (seeding_ || seed.hold == Hold::Turned) return;
    // A write on its way ends while the knob is turned, so what follows it comes with the next read.
    seed.heldBeforeTurn = seed.hold == Hold::Following ? Hold::Following : Hold::Waiting;
    seed.turnedFrom = from;
    seed.hold = Hold::Turned;
}

void KnobSeeds::TurnTakenBack(Seed& seed) {
    if (seed.hold == Hold::Turned && seed.knob.knob->Position() == seed.turnedFrom)
        seed.hold = seed.heldBeforeTurn;
}

void KnobSeeds::PortOpened() {
    for (Seed& seed : seeds_)
        seed.hold = Hold::Waiting;
}

bool KnobSeeds::Waiting(const TiKnob* knob) const {
    const Seed* seed = Find(knob);
    return seed != nullptr && seed->hold == Hold::Waiting;
}

std::optional<std::uint16_t> KnobSeeds::ClickValue(const TiKnob* knob) const {
    const Seed* seed = Find(knob);
    if (seed == nullptr) return std::nullopt;
    const std::optional<std::uint16_t> position = RegisterValue(knob->Position());
    switch (seed->hold) {
    case Hold::Turned:
        return position;
    // A value beyond the knob's range leaves it at its end, which is not what the display shows.
    case Hold::Following:
        return position == seed->value ? position : std::nullopt;
    default:
        return std::nullopt;
    }
}

void KnobSeeds::ClickWritten(const TiKnob* knob, std::uint16_t value, bool sent) {
    Seed* seed = Find(knob);
    if (seed == nullptr) return;
    if (sent) {
        seed->hold = Hold::Sent;
        seed->value = value;
    } else if (seed->hold == Hold::Turned) {
        seed->hold = Hold::Waiting;
    }
}

void KnobSeeds::DeliveryJudged(const Delivery& delivery) {
    if (delivery.verdict != DeliveryVerdict::Accepted) return;
    const int first = kPollBlockStarts[delivery.block];
    const int last = first + RegisterImage::KeptCount(delivery.block) - 1;
    for (Seed& seed : seeds_) {
        const bool takes = seed.hold == Hold::Waiting || seed.hold == Hold::Following;
        if (!takes || seed.knob.reg < first || seed.knob.reg > last) continue;
        seed.value = static_cast<std::uint16_t>(registers_[seed.knob.reg]);
        seeding_ = true;
        seed.knob.knob->SetPosition(seed.value);
        seeding_ = false;
        seed.hold = Hold::Following;
    }
}

void KnobSeeds::WriteEnded(const WriteEnd& end) {
    // Confirmed or not, what the controller holds now comes with the next read.
    for (Seed& seed : seeds_)
        if (seed.hold == Hold::Sent && seed.knob.reg == end.registerAddress && seed.value == end.value)
            seed.hold = Hold::Waiting;
}

KnobSeeds::Seed* KnobSeeds::Find(const TiKnob* knob) {
    return const_cast<Seed*>(std::as_const(*this).Find(knob));
}

const KnobSeeds::Seed* KnobSeeds::Find(const TiKnob* knob) const {
    for (const Seed& seed : seeds_)
        if (seed.knob.knob == knob) return &seed;
    return nullptr;
}

} // namespace lq
