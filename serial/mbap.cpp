#include "serial/mbap.h"

#include "modbus/crc16.h"

#include <optional>

namespace lq {

namespace {

std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

// The PDU length a reply's own content implies, where its function says; none where it does not.
std::optional<std::size_t> ImpliedPduLength(std::span<const std::uint8_t> pdu) {
    const std::uint8_t function = pdu[0];
    if (function & 0x80) return 2; // exception: function and code
    if ((function == 0x03 || function == 0x04) && pdu.size() >= 2) return std::size_t{2} + pdu[1];
    if (function == 0x06 || function == 0x10) return 5;
    return std::nullopt;
}

void AppendRtu(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> unitAndPdu) {
    const std::size_t start = out.size();
    out.insert(out.end(), unitAndPdu.begin(), unitAndPdu.end());
    const std::uint16_t crc = CalcCRC16(out.data() + start, static_cast<std::uint16_t>(unitAndPdu.size()));
    out.push_back(static_cast<std::uint8_t>(crc >> 8));
    out.push_back(static_cast<std::uint8_t>(crc & 0xFF));
}

} // namespace

std::vector<std::uint8_t> MbapFromRtu(std::span<const std::uint8_t> rtu, std::uint16_t transactionId) {
    if (rtu.size() < 4 || rtu.size() - 2 > kMbapMaxLength) return {};
    const auto unitAndPdu = rtu.first(rtu.size() - 2);
    const auto length = static_cast<std::uint16_t>(unitAndPdu.size());
    std::vector<std::uint8_t> adu{
        static_cast<std::uint8_t>(transactionId >> 8), static_cast<std::uint8_t>(transactionId & 0xFF), 0, 0,
        static_cast<std::uint8_t>(length >> 8),        static_cast<std::uint8_t>(length & 0xFF)};
    adu.insert(adu.end(), unitAndPdu.begin(), unitAndPdu.end());
    return adu;
}

MbapScan ScanMbapReplies(std::span<const std::uint8_t> bytes, std::uint16_t expectedTransaction) {
    MbapScan scan;
    while (bytes.size() - scan.consumed >= kMbapHeaderSize) {
        const auto rest = bytes.subspan(scan.consumed);
        const std::uint16_t length = Word(rest, 4);
        if (Word(rest, 2) != 0 || length < kMbapMinLength || length > kMbapMaxLength) {
            ++scan.dropped;
            scan.consumed = bytes.size();
            break;
        }
        const std::size_t total = kMbapHeaderSize - 1 + length;
        if (rest.size() < total) break;
        const auto unitAndPdu = rest.subspan(kMbapHeaderSize - 1, length);
        const std::optional<std::size_t> implied = ImpliedPduLength(unitAndPdu.subspan(1));
        if (implied && *implied != std::size_t{length} - 1) {
            ++scan.dropped;
            scan.consumed = bytes.size();
            break;
        }
        scan.consumed += total;
        if (Word(rest, 0) != expectedTransaction) {
            ++scan.dropped;
            continue;
        }
        AppendRtu(scan.rtu, unitAndPdu);
    }
    return scan;
}

} // namespace lq
