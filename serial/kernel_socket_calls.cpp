#include "serial/tcp_connect.h"

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <unistd.h>

namespace lq {

namespace {

class KernelCalls final : public ISocketCalls {
  public:
    int Resolve(const std::string& host, std::uint16_t port, std::vector<SocketAddress>& out) override {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_NUMERICSERV | AI_ADDRCONFIG;
        addrinfo* found = nullptr;
        const std::string service = std::to_string(port);
        if (const int error = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); error != 0)
            return error == EAI_SYSTEM ? errno : error;
        for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
            SocketAddress address;
            std::memcpy(&address.storage, a->ai_addr, a->ai_addrlen);
            address.length = a->ai_addrlen;
            address.family = a->ai_family;
            out.push_back(address);
        }
        ::freeaddrinfo(found);
        return 0;
    }
    int Open(int family) override {
        const int fd = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        return fd >= 0 ? fd : -errno;
    }
    int Connect(int fd, const SocketAddress& address) override {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address.storage), address.length) == 0) return 0;
        return errno;
    }
    int WaitConnected(int fd, std::chrono::milliseconds timeout) override {
        pollfd p{fd, POLLOUT, 0};
        for (;;) {
            const int n = ::poll(&p, 1, static_cast<int>(timeout.count()));
            if (n >= 0) return n;
            if (errno != EINTR) return -errno;
        }
    }
    int ConnectOutcome(int fd) override {
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
        return error;
    }
    int SetOption(int fd, int level, int name, int value) override {
        return ::setsockopt(fd, level, name, &value, sizeof value) == 0 ? 0 : errno;
    }
    void Close(int fd) override { ::close(fd); }
};

} // namespace

ISocketCalls& KernelSocketCalls() {
    static KernelCalls calls;
    return calls;
}

} // namespace lq
