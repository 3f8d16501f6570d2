#include "serial/network_port_name.h"

#include <algorithm>
#include <cctype>

namespace lq {

namespace {

constexpr std::string_view kTcpScheme = "tcp://";
constexpr std::string_view kModbusTcpScheme = "modbus-tcp://";

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

std::optional<std::uint16_t> PortNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value == 0 || value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

// Letters, digits and the punctuation of names and addresses; no spaces, slashes or control bytes.
bool HostCharacters(std::string_view host, bool bracketed) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [bracketed](char c) {
        const auto u = static_cast<unsigned char>(c);
        return std::isalnum(u) || c == '.' || c == '-' || c == '_' || (bracketed && (c == ':' || c == '%'));
    });
}

} // namespace

bool LooksLikeNetworkPort(std::string_view name) {
    return StartsWithNoCase(name, kTcpScheme) || StartsWithNoCase(name, kModbusTcpScheme);
}

std::optional<NetworkPortName> ParseNetworkPortName(std::string_view name) {
    NetworkPortName parsed;
    std::string_view rest;
    if (StartsWithNoCase(name, kTcpScheme)) {
        rest = name.substr(kTcpScheme.size());
    } else if (StartsWithNoCase(name, kModbusTcpScheme)) {
        parsed.kind = NetworkPortKind::ModbusTcp;
        rest = name.substr(kModbusTcpScheme.size());
    } else {
        return std::nullopt;
    }
    const std::size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos) return std::nullopt;
    std::string_view host = rest.substr(0, colon);
    const bool bracketed = host.size() >= 2 && host.front() == '[' && host.back() == ']';
    if (bracketed) host = host.substr(1, host.size() - 2);
    // An IPv6 address must be in brackets, or its last group would be taken for the port.
    if (!HostCharacters(host, bracketed) || (bracketed && host.find(':') == std::string_view::npos))
        return std::nullopt;
    const std::optional<std::uint16_t> port = PortNumber(rest.substr(colon + 1));
    if (!port) return std::nullopt;
    parsed.host = std::string(host);
    parsed.port = *port;
    return parsed;
}

} // namespace lq
