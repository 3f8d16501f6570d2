#include "panel/knob_seeds.h"

#include "modbus/register_image.h"
#include "widgets/ti_knob.h"

namespace lq {

KnobSeeds::KnobSeeds(const RegisterImage& registers, std::vector<Knob> knobs) : registers_(registers)
{
    for (const Knob& knob : knobs) {
        seeds_.push_back({knob, false});
        TiKnob* k = knob.knob;
        // Any hand on the knob, even a click that does not turn it, makes its position the operator's.
        k->OnMouseDown = [this, k](TiComponent*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { Touched(k); };
        k->OnKeyDown = [this, k](TiComponent*, int, Qt::KeyboardModifiers) { Touched(k); };
        k->OnPositionChange = [this, k](TiComponent*) {
            if (!seeding_) Touched(k);
        };
    }
}

void KnobSeeds::PortOpened()
{
    for (Seed& seed : seeds_) seed.waiting = true;
}

bool KnobSeeds::Waiting(const TiKnob* knob) const
{
    for (const Seed& seed : seeds_)
        if (seed.knob.knob == knob) return seed.waiting;
    return false;
}

void KnobSeeds::Touched(TiKnob* knob)
{
    for (Seed& seed : seeds_)
        if (seed.knob.knob == knob) seed.waiting = false;
}

void KnobSeeds::DeliveryJudged(const Delivery& delivery)
{
    if (delivery.verdict != DeliveryVerdict::Accepted) return;
    const int first = kPollBlockStarts[delivery.block];
    const int last = first + RegisterImage::KeptCount(delivery.block) - 1;
    for (Seed& seed : seeds_) {
        if (!seed.waiting || seed.knob.reg < first || seed.knob.reg > last) continue;
        seeding_ = true;
        seed.knob.knob->SetPosition(registers_[seed.knob.reg]);
        seeding_ = false;
        seed.waiting = false;
    }
}

} // namespace lq
