#include "tests/e2e/controller_changes.h"

#include <memory>
#include <modbus.h>

namespace lq::e2e {

bool ChangeOnController(const std::string& device, const std::vector<std::pair<int, int>>& writes) {
    const auto close = [](modbus_t* c) {
        modbus_close(c);
        modbus_free(c);
    };
    std::unique_ptr<modbus_t, decltype(close)> ctx(modbus_new_rtu(device.c_str(), 19200, 'N', 8, 1), close);
    if (!ctx || modbus_set_slave(ctx.get(), 1) != 0 || modbus_connect(ctx.get()) != 0) return false;
    for (const auto& [reg, value] : writes)
        if (modbus_write_register(ctx.get(), reg, value) != 1) return false;
    return true;
}

} // namespace lq::e2e
