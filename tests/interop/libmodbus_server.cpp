#include "tests/interop/libmodbus_server.h"

#include <modbus.h>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace lq::interop {

void LibmodbusServer::ContextDeleter::operator()(modbus_t* ctx) const {
    // No modbus_close: the descriptor belongs to the pseudo-terminal pair.
    modbus_free(ctx);
}

void LibmodbusServer::MappingDeleter::operator()(modbus_mapping_t* mapping) const {
    modbus_mapping_free(mapping);
}

LibmodbusServer::Fd::~Fd() {
    if (fd >= 0) close(fd);
}

LibmodbusServer::LibmodbusServer(int slave, int registerCount)
    : registerCount_(registerCount), ctx_(modbus_new_rtu(line_.SlavePath().c_str(), 19200, 'N', 8, 1)),
      mapping_(modbus_mapping_new(0, 0, registerCount, 0)) {
    if (!ctx_ || !mapping_) throw std::runtime_error("libmodbus: no context or mapping");
    // The far side of a pseudo-terminal has no line settings to make: libmodbus works on it directly.
    modbus_set_socket(ctx_.get(), line_.MasterFd());
    modbus_set_slave(ctx_.get(), slave);
    stop_.fd = eventfd(0, EFD_CLOEXEC);
    if (stop_.fd < 0) throw std::runtime_error("eventfd failed");
    thread_ = std::thread([this] { Serve(); });
}

LibmodbusServer::~LibmodbusServer() {
    const std::uint64_t one = 1;
    if (write(stop_.fd, &one, sizeof one) != sizeof one) std::terminate();
    thread_.join();
}

void LibmodbusServer::Set(int reg, std::uint16_t value) {
    std::lock_guard lock(mutex_);
    mapping_->tab_registers[reg] = value;
}

std::uint16_t LibmodbusServer::Get(int reg) const {
    std::lock_guard lock(mutex_);
    return mapping_->tab_registers[reg];
}

void LibmodbusServer::Serve() {
    std::vector<std::uint8_t> request(MODBUS_RTU_MAX_ADU_LENGTH);
    for (;;) {
        // libmodbus would wait for a request without end; the stop event must be able to cut in.
        pollfd fds[2] = {{line_.MasterFd(), POLLIN, 0}, {stop_.fd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents != 0) return;
        std::lock_guard lock(mutex_);
        const int length = modbus_receive(ctx_.get(), request.data());
        // 0: a request for another slave, which gets no answer; -1: a damaged frame, likewise.
        if (length > 0) modbus_reply(ctx_.get(), request.data(), length, mapping_.get());
    }
}

} // namespace lq::interop
