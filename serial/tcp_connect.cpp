#include "serial/tcp_connect.h"

#include <algorithm>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>

namespace lq {

namespace {

using Clock = std::chrono::steady_clock;

// Closes a socket that did not become the caller's.
class SocketGuard {
  public:
    SocketGuard(ISocketCalls& calls, int fd) : calls_(calls), fd_(fd) {}
    SocketGuard(const SocketGuard&) = delete;
    SocketGuard& operator=(const SocketGuard&) = delete;
    ~SocketGuard() {
        if (fd_ >= 0) calls_.Close(fd_);
    }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    ISocketCalls& calls_;
    int fd_;
};

int SetOptions(ISocketCalls& calls, int fd) {
    const struct {
        int level, name, value;
    } options[] = {{IPPROTO_TCP, TCP_NODELAY, 1},
                   {SOL_SOCKET, SO_KEEPALIVE, 1},
                   {IPPROTO_TCP, TCP_KEEPIDLE, kKeepIdleSeconds},
                   {IPPROTO_TCP, TCP_KEEPINTVL, kKeepIntervalSeconds},
                   {IPPROTO_TCP, TCP_KEEPCNT, kKeepCount},
                   {IPPROTO_TCP, TCP_USER_TIMEOUT, kUserTimeoutMs}};
    for (const auto& o : options)
        if (const int error = calls.SetOption(fd, o.level, o.name, o.value); error != 0) return error;
    return 0;
}

// One address: the connected socket, or the errno of why not.
TcpConnection TryAddress(ISocketCalls& calls, const SocketAddress& address, Clock::time_point deadline) {
    const int fd = calls.Open(address.family);
    if (fd < 0) return {-1, -fd};
    SocketGuard guard(calls, fd);
    int error = calls.Connect(fd, address);
    if (error == EINPROGRESS) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        const int waited = calls.WaitConnected(fd, std::max(left, std::chrono::milliseconds(0)));
        if (waited == 0) return {-1, ETIMEDOUT};
        error = waited < 0 ? -waited : calls.ConnectOutcome(fd);
    }
    if (error == 0) error = SetOptions(calls, fd);
    if (error != 0) return {-1, error};
    return {guard.Release(), 0};
}

} // namespace

TcpConnection ConnectTcp(ISocketCalls& calls, const std::string& host, std::uint16_t port,
                         std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::vector<SocketAddress> addresses;
    if (const int error = calls.Resolve(host, port, addresses); error != 0) return {-1, error};
    TcpConnection last{-1, EADDRNOTAVAIL};
    for (const SocketAddress& address : addresses) {
        last = TryAddress(calls, address, deadline);
        if (last.fd >= 0 || Clock::now() >= deadline) return last;
    }
    return last;
}

} // namespace lq
