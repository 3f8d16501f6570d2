#pragma once

#include <string>
#include <utility>
#include <vector>

namespace lq::e2e {

// Writes registers of the simulated controller (slave 1, 19200) with libmodbus, an independent master, as a
// technician "trying something" would. The line must be free: no port of the panel open on it.
bool ChangeOnController(const std::string& device, const std::vector<std::pair<int, int>>& writes);

} // namespace lq::e2e
