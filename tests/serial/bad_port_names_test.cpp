// Port names no operator should type, at the component: each fails to open with the component's own
// message and leaves no descriptor behind.
#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

#include "comm_fixture.h"
#include "pty_pair.h"
#include "serial/comms_error.h"
#include "serial/port_names.h"

namespace lq::test {
namespace {

struct BadName {
    const char* label;
    std::string (*make)(const PtyPair& pty);
};
void PrintTo(const BadName& c, std::ostream* os) {
    *os << c.label;
}

const BadName kBadNames[] = {
    {"FourKibibytes", [](const PtyPair&) { return std::string(4096, 'A'); }},
    {"FourKibibytePath", [](const PtyPair&) { return "/dev/" + std::string(4091, 'x'); }},
    {"ControlCharacters", [](const PtyPair&) { return std::string("tty\x01\x1b[2J\r\n\0", 11); }},
    {"DeviceNameThenNewline", [](const PtyPair& pty) { return pty.SlavePath() + "\n"; }},
    // Cut at the NUL, this would be the working device: it must not be opened.
    {"DeviceNameThenNul", [](const PtyPair& pty) { return pty.SlavePath() + std::string("\0junk", 5); }},
    {"OnlyNul", [](const PtyPair&) { return std::string(1, '\0'); }},
};

class BadPortName : public ::testing::TestWithParam<BadName> {};

TEST_P(BadPortName, OpenRaisesAndLeavesNothingOpen) {
    PtyPair pty;
    const std::string name = GetParam().make(pty);
    const std::size_t fds = OpenDescriptorCount();
    CommUnderTest port;
    port.comm->CommName = name;
    try {
        port.comm->OpenPort();
        FAIL() << "opened " << name;
    } catch (const ECommsError& e) {
        EXPECT_STREQ(e.what(), "Error opening serial port");
    }
    EXPECT_FALSE(port.comm->Connected());
    EXPECT_FALSE(port.comm->SendData(reinterpret_cast<const std::uint8_t*>("x"), 1));
    EXPECT_EQ(OpenDescriptorCount(), fds);

    // The same component still opens a good name afterwards.
    port.comm->CommName = pty.SlavePath();
    EXPECT_NO_THROW(port.comm->OpenPort());
    EXPECT_TRUE(port.comm->Connected());
    port.comm->ClosePort();
}

INSTANTIATE_TEST_SUITE_P(Names, BadPortName, ::testing::ValuesIn(kBadNames),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(PortNameResolution, NulAnywhereGivesNoPath) {
    for (const std::string& name :
         {std::string("COM1\0", 5), std::string("\0ttyS0", 6), std::string("/dev/tty\0S0", 11)})
        EXPECT_EQ(ResolvePortName(name), "") << "name of " << name.size() << " bytes";
}

} // namespace
} // namespace lq::test
