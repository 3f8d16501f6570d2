// TComm with the POSIX back end over a real pseudo-terminal pair.
#include "serial/posix_custom_baud.h"
#include "tests/serial/comm_fixture.h"
#include "tests/serial/pty_pair.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace lq::test {
namespace {

using Clock = std::chrono::steady_clock;

class PtyComm : public ::testing::Test {
  protected:
    void SetUp() override {
        port.comm->CommName = pty.SlavePath();
        port.comm->SetBaudRate(19200);
        port.comm->SetOutx_XonXoffFlow(false);
        port.comm->SetInx_XonXoffFlow(false);
        port.comm->SetRtsControl(TRtsControl::RtsDisable);
    }

    termios SlaveSettings() const {
        termios t{};
        tcgetattr(pty.SlaveFd(), &t);
        return t;
    }

    speed_t SlaveSpeed() const {
        const termios t = SlaveSettings();
        return cfgetospeed(&t);
    }

    PtyPair pty;
    CommUnderTest port;
};

TEST_F(PtyComm, BurstArrivesAsOneTerminatedCall) {
    port.comm->OpenPort();
    const std::vector<std::uint8_t> reply{0x01, 0x03, 0x00, 0x0A, 0x00, 0x0A, 0xE4, 0x0F};
    pty.Write(reply);
    ASSERT_TRUE(port.PumpUntilFrames(1));
    port.window->PumpFor(250ms);
    ASSERT_EQ(port.frames.size(), 1u);
    EXPECT_EQ(port.frames[0], reply);
    EXPECT_TRUE(port.terminated);
    EXPECT_TRUE(port.senderOk);
}

TEST_F(PtyComm, EachDeliveryTellsWhenItsFirstByteCame) {
    port.comm->OpenPort();
    std::vector<std::pair<Clock::time_point, Clock::time_point>> seen; // first byte, hand-over
    auto record = port.comm->OnReceiveData;
    port.comm->OnReceiveData = [&](TComm* sender, const std::uint8_t* buffer, std::uint16_t length) {
        seen.emplace_back(sender->ReceiveFirstByteAt(), Clock::now());
        record(sender, buffer, length);
    };
    const auto written = Clock::now();
    pty.Write({1, 2, 3});
    ASSERT_TRUE(port.PumpUntilFrames(1));
    ASSERT_EQ(seen.size(), 1u);
    // A delivery ends at a silence of the read interval, so its first byte came at least that long before.
    EXPECT_GE(seen[0].first, written);
    EXPECT_LE(seen[0].first + std::chrono::milliseconds(port.comm->ReadIntervalTimeout()), seen[0].second);
}

TEST_F(PtyComm, PauseLongerThanIntervalSplitsFrame) {
    port.comm->OpenPort();
    pty.Write({1, 2, 3});
    ASSERT_TRUE(port.PumpUntilFrames(1));
    pty.Write({4, 5});
    ASSERT_TRUE(port.PumpUntilFrames(2));
    EXPECT_EQ(port.frames[0], (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(port.frames[1], (std::vector<std::uint8_t>{4, 5}));
}

TEST_F(PtyComm, UnbrokenTrafficIsCutAtFullBuffer) {
    port.comm->OpenPort();
    const auto bytes = Pattern(5000);
    pty.Write(bytes);
    ASSERT_TRUE(port.PumpUntilBytes(bytes.size()));
    ASSERT_EQ(port.frames.size(), 2u);
    EXPECT_EQ(port.frames[0].size(), 4096u);
    EXPECT_EQ(port.frames[1].size(), 904u);
    EXPECT_EQ(port.Joined(), bytes);
}

TEST_F(PtyComm, SilentLineRaisesNothing) {
    port.comm->OpenPort();
    port.window->PumpFor(350ms);
    EXPECT_TRUE(port.frames.empty());
    EXPECT_TRUE(port.errors.empty());
    EXPECT_TRUE(port.modem.empty());
    EXPECT_EQ(port.hangups, 0);
}

TEST_F(PtyComm, QueuedWritesLeaveInOrderThenQueueRunsEmpty) {
    port.comm->OpenPort();
    ASSERT_TRUE(port.PumpUntilEmpties(1));
    const auto first = Pattern(300);
    const auto second = Pattern(700, 300);
    ASSERT_TRUE(port.comm->SendData(first.data(), static_cast<std::uint16_t>(first.size())));
    ASSERT_TRUE(port.comm->SendData(second.data(), static_cast<std::uint16_t>(second.size())));
    EXPECT_EQ(pty.Read(1000, 5s), Pattern(1000));
    EXPECT_TRUE(port.PumpUntilEmpties(2));
}

TEST_F(PtyComm, SendDataRefusesClosedPortAndEmptyBlock) {
    const std::uint8_t byte = 0x55;
    EXPECT_FALSE(port.comm->SendData(&byte, 1));
    port.comm->OpenPort();
    EXPECT_FALSE(port.comm->SendData(&byte, 0));
    EXPECT_TRUE(pty.Read(1, 150ms).empty());
}

TEST_F(PtyComm, SecondOpenRaisesAndTrafficGoesOn) {
    port.comm->OpenPort();
    try {
        port.comm->OpenPort();
        FAIL() << "second OpenPort did not raise";
    } catch (const ECommsError& e) {
        EXPECT_STREQ(e.what(), "This serial port already opened");
    }
    EXPECT_TRUE(port.comm->Connected());
    const std::uint8_t out[] = {9, 8, 7};
    ASSERT_TRUE(port.comm->SendData(out, 3));
    EXPECT_EQ(pty.Read(3, 5s), (std::vector<std::uint8_t>{9, 8, 7}));
    pty.Write({6, 5});
    EXPECT_TRUE(port.PumpUntilBytes(2));
}

TEST_F(PtyComm, MissingDeviceThenCorrectedName) {
    port.comm->CommName = "/dev/lq-no-such-port";
    const std::size_t fds = OpenDescriptorCount();
    try {
        port.comm->OpenPort();
        FAIL() << "opened a missing device";
    } catch (const ECommsError& e) {
        EXPECT_STREQ(e.what(), "Error opening serial port");
    }
    EXPECT_FALSE(port.comm->Connected());
    EXPECT_EQ(OpenDescriptorCount(), fds);
    port.comm->CommName = pty.SlavePath();
    ASSERT_NO_THROW(port.comm->OpenPort());
    pty.Write({42});
    EXPECT_TRUE(port.PumpUntilBytes(1));
}

TEST_F(PtyComm, CloseThenOpenGivesWorkingPort) {
    port.comm->OpenPort();
    port.comm->ClosePort();
    EXPECT_FALSE(port.comm->Connected());
    port.comm->ClosePort(); // a closed port stays closed quietly
    port.comm->OpenPort();
    pty.Write({1, 2});
    ASSERT_TRUE(port.PumpUntilBytes(2));
    const std::uint8_t out[] = {3};
    ASSERT_TRUE(port.comm->SendData(out, 1));
    EXPECT_EQ(pty.Read(1, 5s), (std::vector<std::uint8_t>{3}));
}

// Bytes the receive thread has taken off the line (they no longer wait in the terminal's input queue).
bool Consumed(int slaveFd, std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    int waiting = 1;
    while (ioctl(slaveFd, FIONREAD, &waiting) == 0 && waiting > 0 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    return waiting == 0;
}

TEST_F(PtyComm, CloseDuringUnfinishedFrameEndsAtOnceAndRaisesNothing) {
    // An interval far longer than any close: a close that waited for the frame's silence would take it all.
    constexpr std::chrono::seconds kInterval{30};
    port.comm->SetReadIntervalTimeout(
        static_cast<std::uint32_t>(std::chrono::milliseconds(kInterval).count()));
    port.comm->OpenPort();
    ASSERT_TRUE(port.PumpUntilEmpties(1));
    pty.Write({1, 2, 3});
    ASSERT_TRUE(Consumed(pty.SlaveFd(), 5s)) << "the receive thread never took the bytes";
    const auto start = std::chrono::steady_clock::now();
    port.comm->ClosePort();
    EXPECT_LT(std::chrono::steady_clock::now() - start, kInterval);
    EXPECT_FALSE(port.comm->Connected());
    port.window->Pump();
    EXPECT_TRUE(port.frames.empty());
    EXPECT_EQ(port.hangups, 0);
    EXPECT_EQ(port.empties, 1);
}

TEST_F(PtyComm, FarEndGoingAwayEndsReceptionWithHangup) {
    port.comm->OpenPort();
    ASSERT_TRUE(port.PumpUntilEmpties(1));
    pty.CloseMaster();
    EXPECT_TRUE(port.PumpUntilHangups(1));
    EXPECT_TRUE(port.comm->Connected()) << "only ClosePort closes the port";
    port.comm->ClosePort();
}

TEST_F(PtyComm, SecondOpenerIsRefusedEvenForRoot) {
    port.comm->OpenPort();
    CommUnderTest other;
    other.comm->CommName = pty.SlavePath();
    try {
        other.comm->OpenPort();
        FAIL() << "a second component opened the same device";
    } catch (const ECommsError& e) {
        EXPECT_STREQ(e.what(), "Error opening serial port");
    }
    EXPECT_FALSE(other.comm->Connected());
}

TEST_F(PtyComm, OpenerInAnotherProcessIsRefused) {
    port.comm->OpenPort();
    const pid_t child = fork();
    if (child == 0) {
        const auto backend = MakePosixBackend();
        _exit(backend->CreateFile(pty.SlavePath()) == kNoHandle ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other process opened the port";
}

TEST(PortNames, ComAliasIsSymbolicLinkInAliasFolder) {
    PtyPair pty;
    const auto folder = std::filesystem::temp_directory_path() / ("lq-alias-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::create_symlink(pty.SlavePath(), folder / "COM7");
    setenv("LQ_MODBUS_PORTS", folder.c_str(), 1);
    CommUnderTest port;
    port.comm->CommName = "com7";
    EXPECT_NO_THROW(port.comm->OpenPort());
    EXPECT_TRUE(port.comm->Connected());
    port.comm->ClosePort();
    unsetenv("LQ_MODBUS_PORTS");
    std::filesystem::remove_all(folder);
}

struct OpenFailureCase {
    const char* name;
    const char* path;
    const char* message;
};
void PrintTo(const OpenFailureCase& c, std::ostream* os) {
    *os << c.name;
}

class OpenFailure : public ::testing::TestWithParam<OpenFailureCase> {};

TEST_P(OpenFailure, LeavesPortClosedWithNoDescriptor) {
    const auto& c = GetParam();
    std::string path = c.path;
    if (path == "<regular file>") {
        path = std::filesystem::temp_directory_path() / ("lq-regular-" + std::to_string(getpid()));
        close(open(path.c_str(), O_CREAT | O_WRONLY, 0600));
    }
    const std::size_t fds = OpenDescriptorCount();
    CommUnderTest port;
    port.comm->CommName = path;
    try {
        port.comm->OpenPort();
        FAIL() << "opened " << path;
    } catch (const ECommsError& e) {
        EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_FALSE(port.comm->Connected());
    EXPECT_EQ(OpenDescriptorCount(), fds);
    if (std::string(c.path) == "<regular file>") std::filesystem::remove(path);
}

INSTANTIATE_TEST_SUITE_P(
    NotATerminal, OpenFailure,
    ::testing::Values(OpenFailureCase{"RegularFile", "<regular file>", "File handle is not a comm handle "},
                      OpenFailureCase{"Folder", "/tmp", "File handle is not a comm handle "},
                      OpenFailureCase{"DevNull", "/dev/null", "Cannot setup comm buffer"},
                      OpenFailureCase{"EmptyName", "", "Error opening serial port"}),
    [](const auto& info) { return std::string(info.param.name); });

// (That setting the same rate again makes no device call is checked through the fake back end.)
TEST_F(PtyComm, NewBaudRateReachesTheLineAtOnce) {
    port.comm->OpenPort();
    EXPECT_EQ(SlaveSpeed(), B19200);
    port.comm->SetBaudRate(115200);
    EXPECT_EQ(SlaveSpeed(), B115200);
}

TEST_F(PtyComm, TypedBaudDigitsNeverHangUpTheLine) {
    port.comm->OpenPort();
    for (const std::uint32_t rate : {0u, 9u, 96u, 960u, 9600u}) {
        port.comm->SetBaudRate(rate);
        EXPECT_NE(SlaveSpeed(), B0) << "rate " << rate;
    }
    EXPECT_EQ(SlaveSpeed(), B9600);
    port.comm->SetBaudRate(0);
    EXPECT_EQ(SlaveSpeed(), B9600) << "a zero rate must keep the previous speed";
    port.comm->SetBaudRate(250000);
    EXPECT_EQ(posix::GetCustomBaud(pty.SlaveFd()), 250000u);
}

struct TermiosCase {
    const char* name;
    std::function<void(TComm&)> set;
    tcflag_t cflagMask;
    tcflag_t cflagExpected;
};
void PrintTo(const TermiosCase& c, std::ostream* os) {
    *os << c.name;
}

// The kernel's pseudo-terminal forces eight data bits and no parity, so those are checked through the fake.
class PtyControlBlock : public PtyComm, public ::testing::WithParamInterface<TermiosCase> {};

TEST_P(PtyControlBlock, ReadsBackFromTerminal) {
    port.comm->OpenPort();
    GetParam().set(*port.comm);
    EXPECT_EQ(SlaveSettings().c_cflag & GetParam().cflagMask, GetParam().cflagExpected);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, PtyControlBlock,
    ::testing::Values(
        TermiosCase{"TwoStopBits", [](TComm& c) { c.SetStopBits(TStopBits::_2); }, CSTOPB, CSTOPB},
        TermiosCase{"OneAndHalfKeepsOne", [](TComm& c) { c.SetStopBits(TStopBits::_1_5); }, CSTOPB, 0},
        TermiosCase{"CtsFlowInCflag", [](TComm& c) { c.SetOutx_CtsFlow(true); }, CRTSCTS, CRTSCTS},
        TermiosCase{"RtsHandshakeInCflag", [](TComm& c) { c.SetRtsControl(TRtsControl::RtsHandshake); },
                    CRTSCTS, CRTSCTS},
        TermiosCase{"RawReceiverOn", [](TComm&) {}, CREAD | CLOCAL, CREAD | CLOCAL}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PtyComm, RawModeAndXonXoffFromFlags) {
    port.comm->OpenPort();
    termios t = SlaveSettings();
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_FALSE(t.c_iflag & (IXON | IXOFF | ICRNL));
    port.comm->SetOutx_XonXoffFlow(true);
    port.comm->SetXonChar(0x11);
    port.comm->SetXoffChar(0x13);
    port.comm->SetParityCheck(true);
    t = SlaveSettings();
    EXPECT_TRUE(t.c_iflag & IXON);
    EXPECT_FALSE(t.c_iflag & IXOFF);
    EXPECT_TRUE(t.c_iflag & INPCK);
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);
}

TEST(PtyLifetime, DestroyingOpenComponentClosesPortAndEndsThreads) {
    PtyPair pty;
    const std::size_t fds = OpenDescriptorCount();
    const std::size_t threads = ThreadCount();
    {
        CommUnderTest port;
        port.comm->CommName = pty.SlavePath();
        port.comm->OpenPort();
        pty.Write({1, 2, 3});
        ASSERT_TRUE(port.PumpUntilBytes(3));
    }
    EXPECT_EQ(OpenDescriptorCount(), fds);
    EXPECT_EQ(ThreadCount(), threads);
}

} // namespace
} // namespace lq::test
