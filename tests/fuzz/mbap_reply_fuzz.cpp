// Bytes from a Modbus TCP connection, cut into segments wherever the input says: whatever arrives, every
// reply passed on is a whole RTU frame with a matching CRC, no more bytes come out than went in, and how the
// bytes were cut does not change what is passed on.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "modbus/crc16.h"
#include "serial/mbap.h"
#include "serial/mbap_stream.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Splits rebuilt output back into frames by the function's shape and checks each one's CRC.
void CheckFrames(const Bytes& rtu) {
    std::size_t at = 0;
    while (at < rtu.size()) {
        LQ_FUZZ_CHECK(rtu.size() - at >= 4);
        std::size_t length = 0;
        const std::uint8_t function = rtu[at + 1];
        if (function & 0x80) {
            length = 5;
        } else if (function == 0x03 || function == 0x04) {
            length = 5 + std::size_t{rtu[at + 2]};
        } else if (function == 0x06 || function == 0x10) {
            length = 8;
        } else {
            return; // a function without a known shape: its length is not ours to tell
        }
        LQ_FUZZ_CHECK(at + length <= rtu.size());
        const std::uint16_t crc = lq::CalcCRC16(rtu.data() + at, static_cast<std::int32_t>(length - 2));
        LQ_FUZZ_CHECK(rtu[at + length - 2] == (crc >> 8) && rtu[at + length - 1] == (crc & 0xFF));
        at += length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lq::FuzzInput input(data, size);
    const std::uint8_t cut = input.Byte();
    const std::string rest = input.Rest();
    const Bytes received(rest.begin(), rest.end());
    const Bytes request{0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0x0B};

    lq::TMbapStream whole;
    whole.Request(request);
    Bytes atOnce;
    whole.Receive(received, atOnce);

    lq::TMbapStream pieces;
    pieces.Request(request);
    Bytes inPieces;
    const std::size_t step = std::size_t{cut} % 16 + 1;
    for (std::size_t at = 0; at < received.size(); at += step) {
        const std::size_t n = std::min(step, received.size() - at);
        pieces.Receive(std::span(received).subspan(at, n), inPieces);
    }

    LQ_FUZZ_CHECK(atOnce.size() <= received.size());
    CheckFrames(atOnce);
    // Up to the first header found bad both read the same replies; after it the whole buffer is dropped,
    // a piece only up to its end, so the pieces may pass on more but never other replies first.
    LQ_FUZZ_CHECK(inPieces.size() >= atOnce.size());
    LQ_FUZZ_CHECK(std::equal(atOnce.begin(), atOnce.end(), inPieces.begin()));
    CheckFrames(inPieces);
    return 0;
}
