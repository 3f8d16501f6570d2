// Drives a master through a sequence of operations chosen by the input (poll ticks, writes, write ageing,
// deliveries of 0 to 5000 bytes, the communication box and the address text changing, time passing) and
// checks after each delivery that exactly what a good full reply to the read in flight may change has
// changed.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "modbus/modbus_master.h"
#include "modbus/register_image.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// Bitwise CRC-16/MODBUS, kept apart from the table-driven one under test; returned in line order
// (first byte on the line in the high half) to compare with what the master reads from bytes 23 and 24.
std::uint16_t LineOrderCrc(const std::uint8_t* data, std::size_t count) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t i = 0; i < count; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return static_cast<std::uint16_t>((crc & 0xFF) << 8 | crc >> 8);
}

class Sender final : public lq::IFrameSender {
  public:
    bool SendData(const std::uint8_t* data, std::uint16_t count) override {
        LQ_FUZZ_CHECK(count == 8);
        LQ_FUZZ_CHECK(LineOrderCrc(data, 6) == (data[6] << 8 | data[7]));
        LQ_FUZZ_CHECK(data[0] >= 1 && data[0] <= 247);
        last.assign(data, data + count);
        if (portOpen) (data[1] == 0x03 ? lastRead : lastWrite) = last;
        return portOpen;
    }
    bool portOpen = true;
    std::vector<std::uint8_t> last;
    std::vector<std::uint8_t> lastRead;  // the last read that went on the line
    std::vector<std::uint8_t> lastWrite; // the last write that went on the line
};

class Clock final : public lq::IClock {
  public:
    std::chrono::steady_clock::time_point Now() const override { return now; }
    std::chrono::system_clock::time_point WallNow() const override { return {}; }
    std::chrono::steady_clock::time_point now{};
};

class NoPause final : public lq::IPause {
  public:
    void Sleep(unsigned) override {}
};

class View final : public lq::IMasterView {
  public:
    std::string AddressText() const override { return address; }
    bool CommunicationTicked() const override { return ticked; }
    void ShowLinkLamp(bool lit) override { lampShown = lit; }
    void SetMemo12Text(const std::string& text) override {
        LQ_FUZZ_CHECK(text.size() <= 7 * 4);
        memo = text;
    }
    std::string address = "1";
    bool ticked = true;
    bool lampShown = false;
    std::string memo;
};

using Image = std::array<std::int32_t, lq::RegisterImage::kHighestRegister + 1>;

Image Snapshot(const lq::RegisterImage& image) {
    Image out{};
    for (int reg = 0; reg <= lq::RegisterImage::kHighestRegister; ++reg)
        out[reg] = image[reg];
    return out;
}

void CheckState(const lq::ModbusMaster& master, const View& view) {
    LQ_FUZZ_CHECK(master.PollIndex() <= 3);
    LQ_FUZZ_CHECK(master.Write().pending == 0 || master.Write().pending == 1);
    LQ_FUZZ_CHECK(master.WriteAge() <= 3);
    LQ_FUZZ_CHECK(master.LinkLampLit() == view.lampShown);
    for (int reg = 0; reg <= lq::RegisterImage::kHighestRegister; ++reg) {
        LQ_FUZZ_CHECK(master.Registers()[reg] >= 0 && master.Registers()[reg] <= 65535);
        if (!lq::RegisterImage::IsKept(reg)) LQ_FUZZ_CHECK(master.Registers()[reg] == 0);
    }
}

void Deliver(lq::ModbusMaster& master, const View& view, const Sender& sender,
             const std::vector<std::uint8_t>& bytes) {
    const Image before = Snapshot(master.Registers());
    const bool wasPending = master.Write().pending != 0;
    const bool wasSent = master.Write().sends > 0;
    const lq::RequestFrame writeFrame = master.Write().frame;
    // What the master awaits the echo of is what last went on the line.
    if (wasPending && wasSent)
        LQ_FUZZ_CHECK(std::equal(writeFrame.begin(), writeFrame.end(), sender.lastWrite.begin(),
                                 sender.lastWrite.end()));
    const bool readWasInFlight = master.ReadInFlight();
    const bool wasLit = master.LinkLampLit();
    const std::uint8_t index = master.PollIndex();

    master.ReceiveDelivery(bytes.empty() ? nullptr : bytes.data(), static_cast<std::uint16_t>(bytes.size()));

    // One frame exactly, or one followed by a single 0x00 or 0xFF that a converter adds.
    const auto exactly = [&](std::size_t length) {
        return bytes.size() == length ||
               (bytes.size() == length + 1 && (bytes.back() == 0x00 || bytes.back() == 0xFF));
    };
    // Its echo: the very bytes of the write on the line, while that write is pending.
    const bool echo = wasPending && wasSent && exactly(8) &&
                      std::equal(writeFrame.begin(), writeFrame.end(), bytes.begin());
    const bool full = bytes.size() >= 25;
    const bool good = exactly(25) && bytes[1] != 0x06 && (bytes[1] & 0x80) == 0 && bytes[2] == 20 &&
                      LineOrderCrc(bytes.data(), 23) == (bytes[23] << 8 | bytes[24]);
    const bool stored = !echo && good && readWasInFlight;
    Image expected = before;
    if (stored) {
        // Only ever the block its read asked for.
        LQ_FUZZ_CHECK(!sender.lastRead.empty() && sender.lastRead[3] == lq::kPollBlockStarts[index]);
        for (int k = 0; k < lq::RegisterImage::KeptCount(index); ++k)
            expected[lq::kPollBlockStarts[index] + k] = bytes[3 + 2 * k] * 256 + bytes[4 + 2 * k];
    }
    LQ_FUZZ_CHECK(Snapshot(master.Registers()) == expected);
    LQ_FUZZ_CHECK(master.PollIndex() == index);
    if (echo) LQ_FUZZ_CHECK(master.Write().pending == 0);
    if (!wasPending) LQ_FUZZ_CHECK(master.Write().pending == 0);
    if (stored) LQ_FUZZ_CHECK(master.LinkLampLit() && master.Answered());
    if (!echo && full && !good) LQ_FUZZ_CHECK(!master.LinkLampLit());
    // Nothing but a stored reply lights the lamp.
    if (!stored && !wasLit) LQ_FUZZ_CHECK(!master.LinkLampLit());
    CheckState(master, view);
}

// A full read reply with a correct CRC, optionally followed by extra bytes, so the accepting path is
// reached as often as the rejecting one.
std::vector<std::uint8_t> GoodReply(lq::FuzzInput& in) {
    std::vector<std::uint8_t> reply(23);
    for (auto& b : reply)
        b = in.Byte();
    const std::uint16_t crc = LineOrderCrc(reply.data(), 23);
    reply.push_back(static_cast<std::uint8_t>(crc >> 8));
    reply.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    const std::string extra = in.Bytes(in.Byte() % 8);
    reply.insert(reply.end(), extra.begin(), extra.end());
    return reply;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lq::FuzzInput in(data, size);
    Sender sender;
    NoPause pause;
    View view;
    Clock clock;
    lq::ModbusMaster master(sender, pause, view, clock);

    while (!in.Empty()) {
        switch (in.Byte() % 10) {
        case 0: {
            const std::uint8_t index = master.PollIndex();
            sender.last.clear();
            master.Timer1Timer();
            LQ_FUZZ_CHECK(master.PollIndex() == index || master.PollIndex() == (index + 1) % 4);
            LQ_FUZZ_CHECK(!master.Answered());
            if (!sender.last.empty() && sender.last[1] == 0x03) {
                LQ_FUZZ_CHECK(sender.last[3] == lq::kPollBlockStarts[master.PollIndex()]);
                LQ_FUZZ_CHECK(master.Write().pending == 0);
            }
            break;
        }
        case 1:
            master.AgeWriteRequest();
            break;
        case 2: {
            const std::uint8_t reg = in.Byte();
            const std::int32_t value = in.Int32();
            const auto before = master.Write();
            if (master.IssueWrite(reg, value)) {
                LQ_FUZZ_CHECK(master.Write().pending == 1);
                LQ_FUZZ_CHECK((master.Write().valueHi << 8 | master.Write().valueLo) == (value & 0xFFFF));
            } else {
                // Refused before sending: nothing is left pending but a command that was already.
                if (master.Write().pending != 0) LQ_FUZZ_CHECK(master.Write().Value() == before.Value());
            }
            break;
        }
        case 3:
            view.ticked = !view.ticked;
            break;
        case 4:
            view.address = in.Bytes(in.Byte() % 16);
            break;
        case 5:
            sender.portOpen = !sender.portOpen;
            break;
        case 6: {
            const std::string bytes = in.Bytes(in.Word() % 5001);
            Deliver(master, view, sender, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
            break;
        }
        case 7:
            Deliver(master, view, sender, GoodReply(in));
            break;
        case 8: {
            // A good reply cut in two: neither half may be stored.
            const std::vector<std::uint8_t> reply = GoodReply(in);
            const std::size_t cut = 1 + in.Byte() % (reply.size() - 1);
            Deliver(master, view, sender, std::vector<std::uint8_t>(reply.begin(), reply.begin() + cut));
            Deliver(master, view, sender, std::vector<std::uint8_t>(reply.begin() + cut, reply.end()));
            break;
        }
        case 9:
            clock.now += std::chrono::milliseconds(in.Word() % 2000);
            break;
        }
        CheckState(master, view);
    }
    return 0;
}
