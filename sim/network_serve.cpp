#include "sim/network_serve.h"

#include "sim/mbap_gateway.h"
#include "sim/unique_fd.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <system_error>
#include <unistd.h>

namespace lq::sim {

namespace {

constexpr milliseconds kParentCheck{100};

UniqueFd Listen(const NetworkListen& where, std::string& shownName) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | AI_PASSIVE;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(where.port);
    if (const int e = getaddrinfo(where.address.c_str(), service.c_str(), &hints, &found); e != 0)
        throw std::runtime_error("--listen " + where.address + ": " + gai_strerror(e));
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owned(found, &freeaddrinfo);
    UniqueFd fd(socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    const int on = 1;
    setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (!fd.Valid() || bind(fd.Get(), found->ai_addr, found->ai_addrlen) != 0 || listen(fd.Get(), 1) != 0)
        throw std::system_error(errno, std::generic_category(), "listen on " + where.address);
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&bound), &length);
    const bool v6 = bound.ss_family == AF_INET6;
    const auto port = v6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&bound)->sin6_port)
                         : ntohs(reinterpret_cast<sockaddr_in*>(&bound)->sin_port);
    const std::string host = v6 ? "[" + where.address + "]" : where.address;
    shownName = std::string(where.modbusTcp ? "modbus-tcp://" : "tcp://") + host + ":" + std::to_string(port);
    return fd;
}

void WriteAll(int fd, const Frame& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return; // the panel is gone or stopped reading: what does not fit is lost, as on a line
        }
    }
}

// One connection: its socket and, for Modbus TCP, its gateway.
struct Connection {
    UniqueFd fd;
    MbapGateway gateway;
};

// Reads what the connection has into the engine; false when the panel closed it.
bool ReadRequests(Connection& c, bool modbusTcp, SimEngine& engine) {
    std::uint8_t buffer[512];
    for (;;) {
        const ssize_t n = read(c.fd.Get(), buffer, sizeof buffer);
        if (n > 0) {
            const std::span bytes(buffer, static_cast<std::size_t>(n));
            if (modbusTcp) {
                engine.Receive(c.gateway.FromNetwork(bytes));
            } else {
                engine.Receive(bytes);
            }
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

void AcceptOne(int listener, Connection& c) {
    UniqueFd accepted(accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (!accepted.Valid()) return;
    if (c.fd.Valid()) return; // one connection at a time: the newcomer is closed at once
    const int on = 1;
    setsockopt(accepted.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    c = Connection{std::move(accepted), {}};
}

timespec UntilDeadline(SimTime deadline, SimTime now) {
    const auto wait = std::clamp(std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - now),
                                 std::chrono::nanoseconds(0), std::chrono::nanoseconds(kParentCheck));
    return timespec{static_cast<time_t>(wait.count() / 1'000'000'000),
                    static_cast<long>(wait.count() % 1'000'000'000)};
}

} // namespace

int ServeNetwork(const NetworkListen& where, const NetworkSurroundings& around, SimEngine& engine,
                 const SimClock& clock) {
    std::string shown;
    const UniqueFd listener = Listen(where, shown);
    std::cout << shown << std::endl;
    std::cerr << "pw5-sim: serving on " << shown << std::endl;
    Connection connection;
    for (;;) {
        pollfd fds[3] = {
            {around.signals.Fd(), POLLIN, 0}, {listener.Get(), POLLIN, 0}, {connection.fd.Get(), POLLIN, 0}};
        const timespec timeout = UntilDeadline(engine.NextDeadline(), clock.Now());
        if (ppoll(fds, connection.fd.Valid() ? 3 : 2, &timeout, nullptr) < 0 && errno != EINTR) {
            std::perror("pw5-sim: ppoll");
            return 1;
        }
        if ((fds[0].revents & POLLIN) && around.signals.Take() != 0) return 0;
        if (getppid() != around.parent) return 0;
        if (fds[1].revents & POLLIN) AcceptOne(listener.Get(), connection);
        if (connection.fd.Valid() && (fds[2].revents & (POLLIN | POLLHUP | POLLERR)) &&
            !ReadRequests(connection, where.modbusTcp, engine))
            connection = Connection{};
        const std::uint64_t heardBefore = engine.Counters().requests;
        const Frame out = engine.Service();
        around.recorder.Record(engine.Model().Registers());
        if (!around.countersFile.empty() && engine.Counters().requests != heardBefore)
            WriteSimCounters(around.countersFile, engine.Counters());
        if (out.empty() || !connection.fd.Valid()) continue;
        WriteAll(connection.fd.Get(), where.modbusTcp ? connection.gateway.FromController(out) : out);
    }
}

} // namespace lq::sim
