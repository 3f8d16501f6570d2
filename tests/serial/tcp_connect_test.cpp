// How a connect to a serial device server ends, through a fake socket layer: each reason the operator is
// told, and the options a connected socket gets.
#include "serial/tcp_connect.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <map>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <set>

namespace lq {
namespace {

using namespace std::chrono_literals;

// Each address family stands for one address the name resolves to; the script says how each one ends.
class FakeSockets final : public ISocketCalls {
  public:
    int resolveError = 0;
    std::vector<int> families{AF_INET};
    std::map<int, int> connectError; // by family: what connect() says
    std::map<int, int> outcome;      // by family: SO_ERROR after the wait
    std::set<int> neverAnswers;      // families whose wait times out
    std::map<std::pair<int, int>, int> options;
    std::set<int> open;
    std::vector<std::chrono::milliseconds> waits;

    int Resolve(const std::string&, std::uint16_t, std::vector<SocketAddress>& out) override {
        for (const int family : families) {
            SocketAddress a;
            a.family = family;
            out.push_back(a);
        }
        return resolveError;
    }
    int Open(int family) override {
        const int fd = 100 + family;
        open.insert(fd);
        return fd;
    }
    int Connect(int fd, const SocketAddress&) override {
        const auto it = connectError.find(fd - 100);
        return it == connectError.end() ? EINPROGRESS : it->second;
    }
    int WaitConnected(int fd, std::chrono::milliseconds timeout) override {
        waits.push_back(timeout);
        return neverAnswers.count(fd - 100) != 0 ? 0 : 1;
    }
    int ConnectOutcome(int fd) override { return outcome[fd - 100]; }
    int SetOption(int, int level, int name, int value) override {
        options[{level, name}] = value;
        return 0;
    }
    void Close(int fd) override { open.erase(fd); }
};

struct FailureCase {
    const char* name;
    int resolveError;
    int connectError; // what connect() says at once; EINPROGRESS to go on waiting
    int outcome;      // SO_ERROR after the wait
    bool timesOut;
    int expected;
};
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class ConnectFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ConnectFailure, GivesTheSystemsReasonAndLeavesNoSocket) {
    FakeSockets sockets;
    sockets.resolveError = GetParam().resolveError;
    sockets.connectError[AF_INET] = GetParam().connectError;
    sockets.outcome[AF_INET] = GetParam().outcome;
    if (GetParam().timesOut) sockets.neverAnswers.insert(AF_INET);
    const TcpConnection c = ConnectTcp(sockets, "gw", 4001);
    EXPECT_EQ(c.fd, -1);
    EXPECT_EQ(c.error, GetParam().expected);
    EXPECT_TRUE(sockets.open.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, ConnectFailure,
    ::testing::Values(FailureCase{"Refused", 0, EINPROGRESS, ECONNREFUSED, false, ECONNREFUSED},
                      FailureCase{"RefusedAtOnce", 0, ECONNREFUSED, 0, false, ECONNREFUSED},
                      FailureCase{"NoRoute", 0, EINPROGRESS, EHOSTUNREACH, false, EHOSTUNREACH},
                      FailureCase{"NetworkDown", 0, ENETUNREACH, 0, false, ENETUNREACH},
                      FailureCase{"NoAnswer", 0, EINPROGRESS, 0, true, ETIMEDOUT},
                      FailureCase{"NameNotFound", EAI_NONAME, 0, 0, false, EAI_NONAME}));

TEST(Connect, TriesTheNextAddressWhenOneFails) {
    FakeSockets sockets;
    sockets.families = {AF_INET6, AF_INET};
    sockets.outcome[AF_INET6] = ECONNREFUSED;
    const TcpConnection c = ConnectTcp(sockets, "gw", 4001);
    EXPECT_EQ(c.fd, 100 + AF_INET);
    EXPECT_EQ(sockets.open, std::set<int>{100 + AF_INET});
}

TEST(Connect, WaitsNoLongerThanItsTimeOut) {
    FakeSockets sockets;
    sockets.neverAnswers.insert(AF_INET);
    ConnectTcp(sockets, "gw", 4001, 3000ms);
    ASSERT_EQ(sockets.waits.size(), 1u);
    EXPECT_LE(sockets.waits[0], 3000ms);
    EXPECT_GT(sockets.waits[0], 2500ms);
}

TEST(Connect, NoDelayAndAKeepAliveThatNoticesSilenceWithinTenSeconds) {
    FakeSockets sockets;
    ASSERT_GE(ConnectTcp(sockets, "gw", 4001).fd, 0);
    EXPECT_EQ((sockets.options[{IPPROTO_TCP, TCP_NODELAY}]), 1);
    EXPECT_EQ((sockets.options[{SOL_SOCKET, SO_KEEPALIVE}]), 1);
    const int idle = sockets.options[{IPPROTO_TCP, TCP_KEEPIDLE}];
    const int interval = sockets.options[{IPPROTO_TCP, TCP_KEEPINTVL}];
    const int count = sockets.options[{IPPROTO_TCP, TCP_KEEPCNT}];
    EXPECT_GT(count, 0);
    EXPECT_LE(idle + interval * count, 10);
    const int unacknowledged = sockets.options[{IPPROTO_TCP, TCP_USER_TIMEOUT}];
    EXPECT_GT(unacknowledged, 0);
    EXPECT_LE(unacknowledged, 10000);
}

} // namespace
} // namespace lq
