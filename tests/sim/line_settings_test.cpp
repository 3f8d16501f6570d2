// The simulator's model of a line whose settings differ from the controller's: another rate is noise,
// another framing is answered but misread on the way back; and what a pseudo-terminal shows of the settings.
#include "sim/line_settings.h"

#include "modbus/request_frames.h"
#include "sim/sim_engine.h"
#include "sim/sim_options.h"
#include "tests/sim/fake_clock.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

namespace lq::sim {
namespace {

constexpr Framing kAll[] = {Framing::N2, Framing::E1, Framing::O1};

Frame ReadOfSlave7() {
    const RequestFrame frame = BuildReadRequest(7, 0, 10);
    return Frame(frame.begin(), frame.end());
}

TEST(Hearing, AnotherRateIsNoiseAnotherFramingIsMisframed) {
    const LineSettings controller{9600, Framing::E1};
    EXPECT_EQ(Hear(controller, {9600, Framing::E1}), Hearing::Clear);
    EXPECT_EQ(Hear(controller, {19200, Framing::E1}), Hearing::Noise);
    EXPECT_EQ(Hear(controller, {4800, Framing::N2}), Hearing::Noise);
    EXPECT_EQ(Hear(controller, {9600, Framing::N2}), Hearing::Misframed);
    EXPECT_EQ(Hear(controller, {9600, Framing::O1}), Hearing::Misframed);
}

TEST(Misread, ABytesBitAfterTheDataDecidesWhetherItSurvives) {
    // 0x03 has two one bits (even parity bit 0), 0x07 three (even parity bit 1).
    const struct {
        Framing sent, read;
        Frame arrives;
    } cases[] = {
        {Framing::E1, Framing::E1, {0x03, 0x07}},
        {Framing::E1, Framing::N2, {0x00, 0x07}}, // a 0 parity bit where a stop bit belongs
        {Framing::N2, Framing::E1, {0x00, 0x07}}, // a stop bit read as the wrong parity
        {Framing::N2, Framing::O1, {0x03, 0x00}},
        {Framing::E1, Framing::O1, {0x00, 0x00}}, // even parity is never odd parity
        {Framing::O1, Framing::E1, {0x00, 0x00}},
    };
    for (const auto& c : cases) {
        Frame bytes{0x03, 0x07};
        Misread(bytes, c.sent, c.read);
        EXPECT_EQ(bytes, c.arrives) << int(c.sent) << " read as " << int(c.read);
    }
}

TEST(Misread, AMisreadReplyOfTheControllerIsNeverAValidFrame) {
    ControllerModel model;
    SlaveProtocol slave(SlaveConfig{7}, model);
    const Frame reply = slave.HandleFrame(ReadOfSlave7());
    ASSERT_TRUE(HasValidCrc(reply));
    for (Framing sent : kAll)
        for (Framing read : kAll) {
            Frame bytes = reply;
            Misread(bytes, sent, read);
            EXPECT_EQ(HasValidCrc(bytes) && bytes[1] == 3, sent == read)
                << int(sent) << " read as " << int(read);
        }
}

// The panel's settings, made on the slave side of a real pseudo-terminal and read back through its master
// side, as the simulator reads them.
TEST(TerminalSettings, APseudoTerminalShowsRateStopBitsAndOddParityButNotEvenParity) {
    const struct {
        speed_t speed;
        tcflag_t flags;
        LineSettings shown;
    } cases[] = {
        {B9600, PARENB, {9600, Framing::E1}},
        {B19200, CSTOPB, {19200, Framing::N2}},
        {B4800, PARENB | PARODD, {4800, Framing::O1}},
        {B38400, 0, {38400, Framing::E1}},
    };
    for (const auto& c : cases) {
        int master = -1;
        int slave = -1;
        ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        termios t{};
        ASSERT_EQ(tcgetattr(slave, &t), 0);
        cfmakeraw(&t);
        t.c_cflag = (t.c_cflag & ~tcflag_t(PARENB | PARODD | CSTOPB)) | c.flags;
        cfsetispeed(&t, c.speed);
        cfsetospeed(&t, c.speed);
        ASSERT_EQ(tcsetattr(slave, TCSANOW, &t), 0);
        termios seen{};
        ASSERT_EQ(tcgetattr(master, &seen), 0);
        EXPECT_EQ(SettingsOfTerminal(seen), c.shown) << c.shown.baud;
        close(slave);
        close(master);
    }
}

class CheckedLine : public ::testing::Test {
  protected:
    CheckedLine() {
        config_.baud = 9600;
        config_.framing = Framing::E1;
        config_.slave.address = 7;
    }
    // One request of slave 7 sent with the master's settings; what came back.
    Frame Exchange(std::optional<LineSettings> master) {
        SimEngine engine(config_, clock_);
        engine.CheckMasterLine([master] { return master; });
        engine.Receive(ReadOfSlave7());
        clock_.Advance(std::chrono::milliseconds(20));
        Frame reply = engine.Service();
        counters_ = engine.Counters();
        return reply;
    }
    EngineConfig config_;
    FakeClock clock_;
    SimCounters counters_;
};

TEST_F(CheckedLine, TheMastersSettingsDecideWhatComesBack) {
    const Frame clear = Exchange(LineSettings{9600, Framing::E1});
    EXPECT_EQ(clear.size(), 25u);
    EXPECT_TRUE(HasValidCrc(clear));
    EXPECT_EQ(counters_.sentWhole, 1u);

    EXPECT_TRUE(Exchange(LineSettings{19200, Framing::E1}).empty());
    EXPECT_EQ(counters_.ignored, 1u);

    const Frame misread = Exchange(LineSettings{9600, Framing::N2});
    EXPECT_EQ(misread.size(), 25u);
    EXPECT_FALSE(HasValidCrc(misread));
    EXPECT_EQ(counters_.corrupted, 1u);

    EXPECT_EQ(Exchange(std::nullopt).size(), 25u) << "settings that cannot be read are not held against it";
}

TEST(LineOptions, FramingAndLineCheckAreParsed) {
    const ParsedOptions parsed = ParseSimOptions({"--framing", "8E1", "--line-check"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->engine.framing, Framing::E1);
    EXPECT_TRUE(parsed.options->lineCheck);
    EXPECT_EQ(ParseSimOptions({"--framing", "8_O_1"}).options->engine.framing, Framing::O1);
    EXPECT_FALSE(ParseSimOptions({}).options->lineCheck);
    EXPECT_FALSE(ParseSimOptions({"--framing", "7E1"}).options);
}

} // namespace
} // namespace lq::sim
