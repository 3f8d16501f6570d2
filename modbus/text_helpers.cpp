#include "text_helpers.h"

#include <cstdint>

namespace lq {

namespace {

int DigitValue(char c, unsigned base) {
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d >= 0 && static_cast<unsigned>(d) < base ? d : -1;
}

} // namespace

std::int32_t TextToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }

    unsigned base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }

    // A negative text may reach one further than a positive one: -2147483648 is in range.
    const std::int64_t limit = negative ? std::int64_t{INT32_MAX} + 1 : INT32_MAX;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0) break;
        const std::int64_t next = value * base + digit;
        if (next > limit) break;
        value = next;
    }

    if (i < text.size()) {
        // Cut short: the digits so far, without the sign, read as a 32-bit word.
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::string IntToText(std::int32_t value) {
    return std::to_string(value);
}

std::string FirstChars(std::string_view text, int n) {
    if (n <= 0) return {};
    std::size_t end = 0;
    int chars = 0;
    while (end < text.size() && chars < n) {
        ++end;
        // Continuation bytes belong to the character already counted.
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
        ++chars;
    }
    return std::string(text.substr(0, end));
}

std::string HexText(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t byte : bytes) {
        if (!text.empty()) text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

} // namespace lq
