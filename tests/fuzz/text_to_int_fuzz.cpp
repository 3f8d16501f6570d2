// Compares TextToInt with a second, deliberately plain reading of the same rules on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "modbus/text_helpers.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

int HexDigit(char c) {
    const std::string_view digits = "0123456789abcdef";
    const char lower = (c >= 'A' && c <= 'F') ? static_cast<char>(c - 'A' + 'a') : c;
    const auto at = digits.find(lower);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// Blanks, sign, base prefix, then digits while they fit; a text read to its end is signed, one cut short
// is the bare digits so far taken as a 32-bit word.
std::int32_t ModelTextToInt(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        base = 16;
        text.remove_prefix(1);
    }
    const long long largest = negative ? 2147483648LL : 2147483647LL;
    long long value = 0;
    std::size_t read = 0;
    while (read < text.size()) {
        const int digit = HexDigit(text[read]);
        if (digit < 0 || digit >= base) break;
        if (value * base + digit > largest) break;
        value = value * base + digit;
        ++read;
    }
    if (read < text.size()) return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return static_cast<std::int32_t>(negative ? -value : value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::int32_t got = lq::TextToInt(text);
    LQ_FUZZ_CHECK(got == ModelTextToInt(text));
    // The slave address and the baud rate both go through here; any result must survive the round trip
    // through the decimal text the panel shows.
    LQ_FUZZ_CHECK(lq::TextToInt(lq::IntToText(got)) == got);
    return 0;
}
