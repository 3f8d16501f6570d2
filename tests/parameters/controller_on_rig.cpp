#include "controller_on_rig.h"

#include "modbus/request_frames.h"

namespace lq::testing {

void ControllerOnRig::Answer() {
    while (answered_ < rig.sender.sent.size()) {
        const Bytes frame = rig.sender.sent[answered_++];
        if (silent) continue;
        const int reg = frame[3];
        if (frame[1] == kReadHoldingRegisters) {
            std::vector<std::uint16_t> values(registers.begin() + reg, registers.begin() + reg + 10);
            rig.Deliver(ReadReply(values));
            continue;
        }
        const auto value = static_cast<std::uint16_t>(frame[4] << 8 | frame[5]);
        written.emplace_back(reg, value);
        if (refuseWritesTo == reg) {
            rig.Deliver(ExceptionReply(kWriteSingleRegister, 4));
            continue;
        }
        if (ignoreWritesTo != reg) registers[static_cast<std::size_t>(reg)] = value;
        rig.Deliver(frame);
    }
}

} // namespace lq::testing
