#pragma once

// Connecting out to a serial device server. The system calls go through ISocketCalls so that each way a
// connect can fail is shown without a network.
#include <chrono>
#include <cstdint>
#include <string>
#include <sys/socket.h>
#include <vector>

namespace lq {

struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;
    int family = AF_UNSPEC;
};

class ISocketCalls {
  public:
    virtual ~ISocketCalls() = default;
    // 0, the resolver's (getaddrinfo) error code, which is negative, or an errno.
    virtual int Resolve(const std::string& host, std::uint16_t port, std::vector<SocketAddress>& out) = 0;
    // A non-blocking stream socket, or -errno.
    virtual int Open(int family) = 0;
    // 0 when connected at once, else the errno (EINPROGRESS while it goes on).
    virtual int Connect(int fd, const SocketAddress& address) = 0;
    // 1 when the connect has ended (either way), 0 at the time-out, -errno on failure.
    virtual int WaitConnected(int fd, std::chrono::milliseconds timeout) = 0;
    // How the connect ended: 0 or its errno (SO_ERROR).
    virtual int ConnectOutcome(int fd) = 0;
    // 0 or the errno of setsockopt with an int value.
    virtual int SetOption(int fd, int level, int name, int value) = 0;
    virtual void Close(int fd) = 0;
};

// The kernel's calls.
ISocketCalls& KernelSocketCalls();

// How long a connect may take, and the keep-alive that notices a gateway gone silent on an idle
// connection: first probe after 3 s, then every 2 s, given up after 3 unanswered (about 9 s); data not
// acknowledged for 9 s ends the connection too.
constexpr std::chrono::milliseconds kConnectTimeout{3000};
constexpr int kKeepIdleSeconds = 3;
constexpr int kKeepIntervalSeconds = 2;
constexpr int kKeepCount = 3;
constexpr int kUserTimeoutMs = 9000;

struct TcpConnection {
    int fd = -1;   // connected, non-blocking, owned by the caller; -1 on failure
    int error = 0; // on failure: the errno of the last address tried, or the resolver's negative code
};

// Resolves host and tries each of its addresses in turn until one connects or the time-out is spent; the
// socket gets TCP_NODELAY (a request must not wait for more bytes) and the keep-alive above.
TcpConnection ConnectTcp(ISocketCalls& calls, const std::string& host, std::uint16_t port,
                         std::chrono::milliseconds timeout = kConnectTimeout);

} // namespace lq
