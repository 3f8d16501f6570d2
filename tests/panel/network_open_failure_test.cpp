// What the message box says when a connection to a serial device server does not open.
#include "panel/open_failure_reason.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <netdb.h>

namespace lq {
namespace {

struct ReasonCase {
    const char* name;
    const char* port;
    int error;
    std::vector<std::string> says;
};
void PrintTo(const ReasonCase& c, std::ostream* os) {
    *os << c.name;
}

class NetworkOpenFailure : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(NetworkOpenFailure, SaysHostPortReasonAndWhatToCheck) {
    const TOpenError error{GetParam().port, GetParam().error, TOpenStep::Open};
    const std::string text = OpenFailureReason(GatherOpenFailureFacts(error));
    EXPECT_EQ(text.rfind(GetParam().port, 0), 0u) << text;
    for (const std::string& part : GetParam().says)
        EXPECT_NE(text.find(part), std::string::npos) << "no \"" << part << "\" in\n" << text;
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, NetworkOpenFailure,
    ::testing::Values(
        ReasonCase{"Refused",
                   "tcp://10.0.0.5:4001",
                   ECONNREFUSED,
                   {"主机 10.0.0.5，端口 4001", "ECONNREFUSED", "TCP 服务器 (TCP server)"}},
        ReasonCase{"NoRoute",
                   "modbus-tcp://[fe80::7]:502",
                   EHOSTUNREACH,
                   {"主机 fe80::7，端口 502", "EHOSTUNREACH", "no route to host", "网段"}},
        ReasonCase{"NetworkDown", "tcp://10.0.0.5:4001", ENETUNREACH, {"ENETUNREACH", "no route to host"}},
        ReasonCase{"TimedOut", "tcp://10.0.0.5:4001", ETIMEDOUT, {"ETIMEDOUT", "3 秒内没有应答", "防火墙"}},
        ReasonCase{"NameNotFound",
                   "tcp://gw-7.plant:4001",
                   EAI_NONAME,
                   {"主机 gw-7.plant，端口 4001", "name not found", "IP 地址"}},
        ReasonCase{"HalfTypedName", "tcp://10.0.0.5:", EINVAL, {"tcp://主机:端口", "方括号"}}));

TEST(NetworkOpenFailure, ASerialPortKeepsItsOwnReasons) {
    const TOpenError error{"/nonexistent/ttyUSB9", ENOENT, TOpenStep::Open};
    const std::string text = OpenFailureReason(GatherOpenFailureFacts(error, "/nonexistent", "/nonexistent"));
    EXPECT_NE(text.find("设备不存在"), std::string::npos) << text;
    EXPECT_EQ(text.find("主机"), std::string::npos) << text;
}

} // namespace
} // namespace lq
