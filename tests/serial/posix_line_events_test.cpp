// Driver counters and modem lines turned into the Windows line-error flags and line events.
#include "serial/posix_io_objects.h"

#include <gtest/gtest.h>

namespace lq::posix {
namespace {

struct CounterCase {
    const char* name;
    int serial_icounter_struct::*counter;
    std::uint32_t errorFlag;
    std::uint32_t modemEvent;
};

void PrintTo(const CounterCase& c, std::ostream* os) {
    *os << c.name;
}

class CounterChange : public ::testing::TestWithParam<CounterCase> {};

TEST_P(CounterChange, MapsToItsOwnFlagOnly) {
    serial_icounter_struct before{};
    before.rx = 1000;
    serial_icounter_struct now = before;
    now.rx += 17; // received bytes alone are no event
    now.*GetParam().counter += 2;
    EXPECT_EQ(ErrorFlags(now, before), GetParam().errorFlag);
    EXPECT_EQ(ModemEvents(now, before, 0, 0), GetParam().modemEvent);
    EXPECT_EQ(ErrorFlags(now, now), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCounter, CounterChange,
    ::testing::Values(CounterCase{"Frame", &serial_icounter_struct::frame, CE_FRAME, 0},
                      CounterCase{"Parity", &serial_icounter_struct::parity, CE_RXPARITY, 0},
                      CounterCase{"Overrun", &serial_icounter_struct::overrun, CE_OVERRUN, 0},
                      CounterCase{"Break", &serial_icounter_struct::brk, CE_BREAK, 0},
                      CounterCase{"QueueOverflow", &serial_icounter_struct::buf_overrun, CE_RXOVER, 0},
                      CounterCase{"Carrier", &serial_icounter_struct::dcd, 0, EV_RLSD},
                      CounterCase{"Ring", &serial_icounter_struct::rng, 0, EV_RING},
                      CounterCase{"Cts", &serial_icounter_struct::cts, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModemLines, CarrierEitherWayAndRingOnlyWhenItComesOn) {
    const serial_icounter_struct same{};
    EXPECT_EQ(ModemEvents(same, same, TIOCM_CD, 0), EV_RLSD);
    EXPECT_EQ(ModemEvents(same, same, 0, TIOCM_CD), EV_RLSD);
    EXPECT_EQ(ModemEvents(same, same, TIOCM_RI, 0), EV_RING);
    EXPECT_EQ(ModemEvents(same, same, 0, TIOCM_RI), 0u);
    EXPECT_EQ(ModemEvents(same, same, TIOCM_DSR | TIOCM_CTS, 0), 0u);
}

} // namespace
} // namespace lq::posix
