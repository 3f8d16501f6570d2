// The controller search's plan, its strict idea of a find, and how it keeps what came back.
#include "modbus/controller_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "master_fakes.h"

namespace lq {
namespace {

using testing::Bytes;
using namespace std::chrono;

Bytes ReplyFrom(std::uint8_t slave) {
    Bytes body = testing::ReadReply(std::vector<std::uint16_t>(10, 0x0102));
    body.resize(body.size() - 2);
    body[0] = slave;
    return testing::WithCrc(body);
}

TEST(SearchPlan, TriesEveryRateFramingAndAddressOnceTheAddressChangingFastest) {
    const std::vector<LineSetting> plan = SearchPlan(10);
    ASSERT_EQ(plan.size(), 4u * 3u * 10u);
    std::set<std::tuple<std::uint32_t, Framing, int>> distinct;
    for (const LineSetting& s : plan)
        distinct.insert({s.baud, s.framing, s.slave});
    EXPECT_EQ(distinct.size(), plan.size());
    int lineChanges = 0;
    for (std::size_t i = 1; i < plan.size(); ++i)
        lineChanges += plan[i].baud != plan[i - 1].baud || plan[i].framing != plan[i - 1].framing;
    EXPECT_EQ(lineChanges, 11) << "the line is set anew only for each of the 12 rate and framing pairs";
    EXPECT_EQ(SearchPlan(247).size(), 4u * 3u * 247u);
    EXPECT_EQ(SearchPlan(247).back().slave, 247);
}

TEST(SearchPlan, BehindADeviceServerOnlyTheAddressesAreTried) {
    const std::vector<LineSetting> plan = AddressPlan(16, 9600, Framing::E1);
    ASSERT_EQ(plan.size(), 16u);
    for (std::size_t i = 0; i < plan.size(); ++i)
        EXPECT_EQ(plan[i], (LineSetting{9600, Framing::E1, static_cast<std::uint8_t>(i + 1)}));
}

TEST(SearchPlan, EachTryOutlastsARepliesWayAndTheDefaultSearchFitsIn30Seconds) {
    const milliseconds silence(100);
    milliseconds worstCase(0);
    for (const LineSetting& s : SearchPlan(10)) {
        const milliseconds timeout = TryTimeout(s.baud, silence);
        // Request and reply on the line, 11 bits a character, then the silence that ends the delivery.
        const auto needed = milliseconds((8 + 25) * 11 * 1000 / s.baud) + silence;
        EXPECT_GT(timeout, needed) << s.baud;
        worstCase += timeout;
    }
    EXPECT_LT(worstCase, seconds(30));
}

TEST(ValidFind, OnlyAWholeReadReplyFromTheAskedAddressCounts) {
    const Bytes good = ReplyFrom(7);
    Bytes function4 = good;
    function4[1] = 4;
    Bytes count18 = good;
    count18[2] = 18;
    Bytes badCrc = good;
    badCrc[10] ^= 0x01;
    Bytes longer = good;
    longer.push_back(0x00);
    const struct {
        const char* name;
        Bytes bytes;
        bool valid;
    } cases[] = {
        {"read reply of slave 7", good, true},
        {"another slave's reply", ReplyFrom(8), false},
        {"function 4 with its own CRC", testing::WithCrc(Bytes(function4.begin(), function4.end() - 2)),
         false},
        {"byte count 18 with its own CRC", testing::WithCrc(Bytes(count18.begin(), count18.end() - 2)),
         false},
        {"a damaged byte", badCrc, false},
        {"a stray byte after it", longer, false},
        {"cut short", Bytes(good.begin(), good.end() - 1), false},
        {"an exception of slave 7", testing::WithCrc({7, 0x83, 0x02}), false},
        {"one byte of noise", {0xFF}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidFind(c.bytes, 7), c.valid) << c.name;
}

TEST(ControllerSearch, KeepsFindsAndSettingsWhereOnlyInvalidBytesCameBack) {
    const std::vector<LineSetting> plan{{9600, Framing::N2, 7},
                                        {9600, Framing::E1, 6},
                                        {9600, Framing::E1, 7},
                                        {9600, Framing::E1, 8},
                                        {19200, Framing::O1, 7}};
    ControllerSearch search(plan);
    EXPECT_EQ(search.Request(), BuildReadRequest(7, 0, 10));
    const ControllerSearch::SteadyTime t0{};
    // 1: bytes, but not a reply (as at the wrong framing).
    search.Sent(t0);
    Bytes misread = ReplyFrom(7);
    misread[1] = 0;
    EXPECT_FALSE(search.Received(misread, t0 + 20ms));
    search.EndTry();
    // 2: silence.
    search.Sent(t0 + 200ms);
    search.EndTry();
    // 3: a reply split in two deliveries is found when its second half comes.
    search.Sent(t0 + 400ms);
    const Bytes reply = ReplyFrom(7);
    EXPECT_FALSE(search.Received(std::span(reply).first(10), t0 + 420ms));
    EXPECT_TRUE(search.Received(std::span(reply).subspan(10), t0 + 430ms));
    search.EndTry();
    // 4: the asked address's reply with a stray byte after it, then noise.
    search.Sent(t0 + 440ms);
    Bytes withStray = ReplyFrom(8);
    withStray.push_back(0x00);
    EXPECT_FALSE(search.Received(withStray, t0 + 460ms));
    EXPECT_FALSE(search.Received(Bytes(40, 0x55), t0 + 600ms));
    search.EndTry();
    EXPECT_EQ(search.TriesDone(), 4u);
    search.EndTry();
    EXPECT_TRUE(search.Finished());

    ASSERT_EQ(search.Found().size(), 1u);
    EXPECT_EQ(search.Found()[0].setting, plan[2]);
    ASSERT_EQ(search.Invalid().size(), 2u);
    EXPECT_EQ(search.Invalid()[0].setting, plan[0]);
    EXPECT_EQ(search.Invalid()[0].bytes, misread);
    EXPECT_EQ(search.Invalid()[1].setting, plan[3]);
    EXPECT_EQ(search.Invalid()[1].count, 26u + 40u);
    EXPECT_EQ(search.Invalid()[1].bytes.size(), ControllerSearch::kKeptBytes);
}

// Three addresses at one framing, then the same at another; a try every 200 ms unless a find ends it.
const std::vector<LineSetting> kTwoLines{{9600, Framing::N2, 1}, {9600, Framing::N2, 2},
                                         {9600, Framing::N2, 3}, {9600, Framing::E1, 1},
                                         {9600, Framing::E1, 2}, {9600, Framing::E1, 3}};
ControllerSearch::SteadyTime SentAt(std::size_t tryIndex) {
    return ControllerSearch::SteadyTime(200ms * tryIndex);
}

struct Heard {
    std::size_t deliveredIn; // the try running when the delivery is complete
    int firstByteMs;
    Bytes bytes;
};

SearchFind FindOf(std::size_t tryIndex, int firstByteMs, bool late) {
    const auto sent = duration_cast<milliseconds>(SentAt(tryIndex).time_since_epoch());
    return {kTwoLines[tryIndex], milliseconds(firstByteMs) - sent, late};
}

TEST(ControllerSearch, CreditsAValidReplyToTheTryThatAskedItsSlaveAtTheLineItWasReadAt) {
    const Bytes reply2 = ReplyFrom(2);
    Bytes misread = ReplyFrom(2);
    misread[0] = 0;
    const struct {
        const char* name;
        std::vector<Heard> heard;
        std::vector<SearchFind> found;
        std::vector<std::size_t> invalidTries;
    } cases[] = {
        {"in its own window", {{1, 240, reply2}}, {FindOf(1, 240, false)}, {}},
        {"in the next address's window", {{2, 450, reply2}}, {FindOf(1, 450, true)}, {}},
        {"begun in the next window, complete after the line changed",
         {{3, 590, reply2}},
         {FindOf(1, 590, true)},
         {}},
        {"split, late",
         {{2, 450, Bytes(reply2.begin(), reply2.begin() + 9)},
          {2, 470, Bytes(reply2.begin() + 9, reply2.end())}},
         {FindOf(1, 450, true)},
         {}},
        {"late, then the asked slave's own",
         {{2, 450, reply2}, {2, 500, ReplyFrom(3)}},
         {FindOf(1, 450, true), FindOf(2, 500, false)},
         {}},
        {"its slave asked only at the other framing", {{3, 650, ReplyFrom(3)}}, {}, {3}},
        {"begun before its slave was asked", {{2, 390, ReplyFrom(3)}}, {}, {1}},
        {"a second reply to one request", {{1, 240, reply2}, {2, 450, reply2}}, {FindOf(1, 240, false)}, {2}},
        {"no reply, kept with the window it began in", {{3, 590, misread}}, {}, {2}},
    };
    for (const auto& c : cases) {
        ControllerSearch search(kTwoLines);
        for (std::size_t tryIndex = 0; !search.Finished(); ++tryIndex, search.EndTry()) {
            search.Sent(SentAt(tryIndex));
            for (const Heard& h : c.heard)
                if (h.deliveredIn == tryIndex &&
                    search.Received(h.bytes, SentAt(0) + milliseconds(h.firstByteMs)))
                    break;
        }
        EXPECT_EQ(search.Found(), c.found) << c.name;
        std::vector<std::size_t> invalidTries;
        for (const DataButInvalid& invalid : search.Invalid())
            invalidTries.push_back(static_cast<std::size_t>(
                std::find(kTwoLines.begin(), kTwoLines.end(), invalid.setting) - kTwoLines.begin()));
        EXPECT_EQ(invalidTries, c.invalidTries) << c.name;
    }
}

} // namespace
} // namespace lq
