#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "master_fakes.h"

namespace lq::testing {

// A controller behind the fake master's line: it answers each frame the master sent with its registers or
// the echo of a write it carries out, unless told to refuse or ignore writes or to keep a register as it is.
struct ControllerOnRig {
    explicit ControllerOnRig(MasterRig& rig) : rig(rig) {}

    // Answers every frame sent since the last call, as one delivery each.
    void Answer();
    // A poll tick, then the answers.
    void TickAndAnswer() {
        rig.Tick();
        Answer();
    }

    MasterRig& rig;
    std::array<std::uint16_t, 64> registers{};
    std::optional<int> refuseWritesTo;                  // exception 04 instead of the echo
    std::optional<int> ignoreWritesTo;                  // echoes, and keeps the old value
    bool silent = false;                                // answers nothing
    std::vector<std::pair<int, std::uint16_t>> written; // every write carried out or ignored, in order

  private:
    std::size_t answered_ = 0;
};

} // namespace lq::testing
