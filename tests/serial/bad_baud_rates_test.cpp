// Rates no device runs at, as the baud box produces them from typing slips: the rate is kept by the
// component, the line stays at its speed and is never hung up.
#include <gtest/gtest.h>

#include <termios.h>

#include "comm_fixture.h"
#include "pty_pair.h"

namespace lq::test {
namespace {

speed_t LineSpeed(int fd) {
    termios t{};
    tcgetattr(fd, &t);
    return cfgetospeed(&t);
}

class AbsurdRate : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(AbsurdRate, KeepsTheLineSpeedAndTheLine) {
    PtyPair pty;
    CommUnderTest port;
    port.comm->CommName = pty.SlavePath();
    port.comm->SetBaudRate(19200);
    port.comm->OpenPort();

    port.comm->SetBaudRate(GetParam());
    EXPECT_EQ(port.comm->BaudRate(), GetParam());
    EXPECT_EQ(LineSpeed(pty.SlaveFd()), speed_t(B19200));
    EXPECT_TRUE(port.comm->Connected());
    EXPECT_EQ(port.hangups, 0);

    port.comm->SetBaudRate(9600);
    EXPECT_EQ(LineSpeed(pty.SlaveFd()), speed_t(B9600));
    port.comm->ClosePort();
}

// "-1", "99999999999" (read as 999999999), and the first rate past the ceiling.
INSTANTIATE_TEST_SUITE_P(TypingSlips, AbsurdRate, ::testing::Values(4294967295u, 999999999u, 20000001u));

} // namespace
} // namespace lq::test
