#include "sim/sim_counters.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <utility>

namespace lq::sim {

namespace {

using Field = std::uint64_t SimCounters::*;

constexpr std::array<std::pair<const char*, Field>, 15> kFields{{
    {"requests", &SimCounters::requests},
    {"requests_lost", &SimCounters::requestsLost},
    {"ignored", &SimCounters::ignored},
    {"read_replies", &SimCounters::readReplies},
    {"echoes", &SimCounters::echoes},
    {"exceptions", &SimCounters::exceptions},
    {"sent_whole", &SimCounters::sentWhole},
    {"dropped", &SimCounters::dropped},
    {"corrupted", &SimCounters::corrupted},
    {"split", &SimCounters::split},
    {"repeated", &SimCounters::repeated},
    {"held_back", &SimCounters::heldBack},
    {"bytes_dropped", &SimCounters::bytesDropped},
    {"bytes_inserted", &SimCounters::bytesInserted},
    {"bit_errors", &SimCounters::bitErrors},
}};

} // namespace

bool WriteSimCounters(const std::string& path, const SimCounters& counters) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const auto& [name, field] : kFields)
            out << name << ' ' << counters.*field << '\n';
        if (!out.flush()) return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

std::optional<SimCounters> ReadSimCounters(const std::string& path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    SimCounters counters;
    std::size_t read = 0;
    std::string name;
    std::uint64_t value = 0;
    while (in >> name >> value) {
        for (const auto& [known, field] : kFields) {
            if (name != known) continue;
            counters.*field = value;
            ++read;
        }
    }
    if (read != kFields.size()) return std::nullopt;
    return counters;
}

} // namespace lq::sim
