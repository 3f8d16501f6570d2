// The serial component on a connection to a serial device server, played by a socket on loopback.
#include "modbus/crc16.h"
#include "serial/network_port_name.h"
#include "serial/tcp_connect.h"
#include "tests/serial/comm_fixture.h"

#include <arpa/inet.h>
#include <cerrno>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lq::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A listening socket on 127.0.0.1 with a port the system picked; the one connection it accepted.
class LoopbackServer {
  public:
    LoopbackServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            ::listen(listener_, 1) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &length) != 0)
            ADD_FAILURE() << "no loopback listener: " << errno;
        port_ = ntohs(a.sin_port);
    }
    ~LoopbackServer() {
        CloseConnection();
        CloseListener();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::string Name(const char* scheme) const {
        return std::string(scheme) + "127.0.0.1:" + std::to_string(port_);
    }
    void Accept() { connection_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC); }
    Bytes Read(std::size_t count) {
        Bytes bytes(count);
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::read(connection_, bytes.data() + done, count - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        bytes.resize(done);
        return bytes;
    }
    void Write(const Bytes& bytes) {
        EXPECT_EQ(::write(connection_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void CloseConnection() {
        if (connection_ >= 0) ::close(connection_);
        connection_ = -1;
    }
    void CloseListener() {
        if (listener_ >= 0) ::close(listener_);
        listener_ = -1;
    }

  private:
    int listener_ = -1;
    int connection_ = -1;
    std::uint16_t port_ = 0;
};

Bytes WithCrc(Bytes frame) {
    const std::uint16_t crc = CalcCRC16(frame.data(), static_cast<std::int32_t>(frame.size()));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return frame;
}

const Bytes kRequest = WithCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x01});

std::string PortOf(const LoopbackServer& server) {
    const std::string name = server.Name("tcp://");
    return name.substr(name.rfind(':') + 1);
}

TEST(NetworkPort, RtuOverTcpPassesTheBytesAsTheyAre) {
    LoopbackServer server;
    CommUnderTest port;
    port.comm->CommName = server.Name("tcp://");
    port.comm->OpenPort();
    server.Accept();
    EXPECT_EQ(port.comm->OpenedPath(), server.Name("tcp://"));
    ASSERT_TRUE(port.comm->SendData(kRequest.data(), static_cast<std::uint16_t>(kRequest.size())));
    EXPECT_EQ(server.Read(kRequest.size()), kRequest);
    const Bytes reply = WithCrc({0x01, 0x03, 0x02, 0x12, 0x34});
    server.Write(reply);
    ASSERT_TRUE(port.PumpUntilBytes(reply.size()));
    EXPECT_EQ(port.Joined(), reply);
}

TEST(NetworkPort, ModbusTcpConvertsAtTheBoundaryAndCountsWhatItDrops) {
    LoopbackServer server;
    CommUnderTest port;
    port.comm->CommName = server.Name("modbus-tcp://");
    port.comm->OpenPort();
    server.Accept();
    ASSERT_TRUE(port.comm->SendData(kRequest.data(), static_cast<std::uint16_t>(kRequest.size())));
    const Bytes adu = server.Read(12);
    EXPECT_EQ(adu, (Bytes{0, 1, 0, 0, 0, 6, 0x01, 0x03, 0x00, 0x00, 0x00, 0x01}));
    // A late answer of another transaction, then the reply to this one.
    server.Write(
        {0, 9, 0, 0, 0, 5, 0x01, 0x03, 0x02, 0x00, 0x00, 0, 1, 0, 0, 0, 5, 0x01, 0x03, 0x02, 0x12, 0x34});
    const Bytes rtu = WithCrc({0x01, 0x03, 0x02, 0x12, 0x34});
    ASSERT_TRUE(port.PumpUntilBytes(rtu.size()));
    EXPECT_EQ(port.Joined(), rtu);
    EXPECT_EQ(port.comm->DroppedReplies(), 1u);
}

int Option(int fd, int level, int name) {
    int value = -1;
    socklen_t length = sizeof value;
    getsockopt(fd, level, name, &value, &length);
    return value;
}

TEST(NetworkPort, TheKernelTakesTheKeepAliveAndNoDelay) {
    LoopbackServer server;
    const TcpConnection c = ConnectTcp(KernelSocketCalls(), "127.0.0.1", std::stoi(PortOf(server)));
    ASSERT_GE(c.fd, 0) << c.error;
    EXPECT_EQ(Option(c.fd, IPPROTO_TCP, TCP_NODELAY), 1);
    EXPECT_EQ(Option(c.fd, SOL_SOCKET, SO_KEEPALIVE), 1);
    EXPECT_EQ(Option(c.fd, IPPROTO_TCP, TCP_KEEPIDLE), kKeepIdleSeconds);
    EXPECT_EQ(Option(c.fd, IPPROTO_TCP, TCP_KEEPINTVL), kKeepIntervalSeconds);
    EXPECT_EQ(Option(c.fd, IPPROTO_TCP, TCP_KEEPCNT), kKeepCount);
    EXPECT_EQ(Option(c.fd, IPPROTO_TCP, TCP_USER_TIMEOUT), kUserTimeoutMs);
    ::close(c.fd);
}

TEST(NetworkPort, TheServerClosingIsAHangUp) {
    LoopbackServer server;
    CommUnderTest port;
    port.comm->CommName = server.Name("tcp://");
    port.comm->OpenPort();
    server.Accept();
    server.CloseConnection();
    EXPECT_TRUE(port.PumpUntilHangups(1));
}

TEST(NetworkPort, ARefusedConnectSaysWhereAndWhy) {
    std::string name;
    {
        LoopbackServer closed;
        name = closed.Name("tcp://");
    }
    CommUnderTest port;
    port.comm->CommName = name;
    EXPECT_THROW(port.comm->OpenPort(), ECommsError);
    EXPECT_EQ(port.comm->LastOpenError().Path, name);
    EXPECT_EQ(port.comm->LastOpenError().Errno, ECONNREFUSED);
}

TEST(NetworkPort, RsFourEightyFiveModeIsTheServersOwnBusiness) {
    LoopbackServer server;
    CommUnderTest port;
    port.comm->CommName = server.Name("tcp://");
    port.comm->SetRtsControl(TRtsControl::RtsTransmissionAvailable);
    EXPECT_NO_THROW(port.comm->OpenPort());
    EXPECT_TRUE(port.comm->Connected());
}

TEST(NetworkPort, AHalfTypedAddressIsNoDevicePath) {
    CommUnderTest port;
    port.comm->CommName = "tcp://127.0.0.1:";
    EXPECT_THROW(port.comm->OpenPort(), ECommsError);
    EXPECT_EQ(port.comm->LastOpenError().Errno, EINVAL);
}

} // namespace
} // namespace lq::test
