// Network port names as the operator types them into the port box.
#include "serial/network_port_name.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

struct NameCase {
    const char* text;
    std::optional<NetworkPortName> expected;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.text;
}

class NetworkPortNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(NetworkPortNames, ParseAsWritten) {
    EXPECT_EQ(ParseNetworkPortName(GetParam().text), GetParam().expected) << GetParam().text;
}

constexpr auto Rtu = NetworkPortKind::RtuOverTcp;
constexpr auto Mbap = NetworkPortKind::ModbusTcp;

INSTANTIATE_TEST_SUITE_P(
    Table, NetworkPortNames,
    ::testing::Values(NameCase{"tcp://192.168.1.20:4001", NetworkPortName{Rtu, "192.168.1.20", 4001}},
                      NameCase{"modbus-tcp://gw-3.plant:502", NetworkPortName{Mbap, "gw-3.plant", 502}},
                      NameCase{"TCP://127.0.0.1:65535", NetworkPortName{Rtu, "127.0.0.1", 65535}},
                      NameCase{"tcp://[::1]:4001", NetworkPortName{Rtu, "::1", 4001}},
                      NameCase{"modbus-tcp://[fe80::1%eth0]:502", NetworkPortName{Mbap, "fe80::1%eth0", 502}},
                      NameCase{"tcp://::1:4001", std::nullopt},    // IPv6 without brackets
                      NameCase{"tcp://[host]:4001", std::nullopt}, // brackets around a name
                      NameCase{"tcp://10.0.0.5:", std::nullopt},   // still being typed
                      NameCase{"tcp://10.0.0.5", std::nullopt},    // no port
                      NameCase{"tcp://:4001", std::nullopt},       // no host
                      NameCase{"tcp://10.0.0.5:0", std::nullopt},  // port out of range
                      NameCase{"tcp://10.0.0.5:65536", std::nullopt},
                      NameCase{"tcp://10.0.0.5:40a1", std::nullopt},
                      NameCase{"tcp://a b:4001", std::nullopt}, // a space in the host
                      NameCase{"tcp://a/b:4001", std::nullopt}, NameCase{"udp://10.0.0.5:4001", std::nullopt},
                      NameCase{"COM4", std::nullopt}));

TEST(NetworkPortNames, HalfTypedNamesStillLookLikeNetworkPorts) {
    EXPECT_TRUE(LooksLikeNetworkPort("tcp://"));
    EXPECT_TRUE(LooksLikeNetworkPort("Modbus-TCP://10.0"));
    EXPECT_FALSE(LooksLikeNetworkPort("tcp:"));
    EXPECT_FALSE(LooksLikeNetworkPort("/dev/ttyUSB0"));
}

} // namespace
} // namespace lq
