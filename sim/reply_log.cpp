#include "sim/reply_log.h"

#include <array>
#include <sstream>
#include <stdexcept>

namespace lq::sim {

namespace {

constexpr std::array<const char*, 3> kSendingNames{"on-time", "late", "copy"};

long long Micros(SimTime t) {
    return std::chrono::duration_cast<microseconds>(t.time_since_epoch()).count();
}

std::string Hex(const Frame& bytes) {
    if (bytes.empty()) return "-";
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

int Nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool ParseHex(const std::string& text, Frame& bytes) {
    bytes.clear();
    if (text == "-") return true;
    if (text.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = Nibble(text[i]);
        const int low = Nibble(text[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return true;
}

bool ParseSending(const std::string& name, Sending& how) {
    for (std::size_t i = 0; i < kSendingNames.size(); ++i) {
        if (name != kSendingNames[i]) continue;
        how = static_cast<Sending>(i);
        return true;
    }
    return false;
}

// One line into the log; false when it is not one the simulator writes.
bool ParseLine(const std::string& line, ReplyLog& log) {
    std::istringstream in(line);
    std::string kind, third, fourth;
    std::uint64_t number = 0;
    long long at = 0;
    if (!(in >> kind >> number >> at >> third >> fourth)) return false;
    const SimTime time{microseconds(at)};
    if (kind == "heard") {
        HeardRequest heard{number, time, {}, {}};
        if (!ParseHex(third, heard.request) || !ParseHex(fourth, heard.reply)) return false;
        log.heard.push_back(std::move(heard));
        return true;
    }
    SentBytes sent{number, time, Sending::OnTime, {}};
    if (kind != "sent" || !ParseSending(third, sent.how) || !ParseHex(fourth, sent.bytes)) return false;
    log.sent.push_back(std::move(sent));
    return true;
}

} // namespace

ReplyLogFile::ReplyLogFile(const std::string& path) : out_(path, std::ios::trunc) {
    if (!out_) throw std::runtime_error("cannot create the reply log " + path);
}

// Each line is flushed at once: a test reads the log while the simulator still runs, or after killing it.
void ReplyLogFile::Heard(const HeardRequest& heard) {
    out_ << "heard " << heard.number << ' ' << Micros(heard.firstByte) << ' ' << Hex(heard.request) << ' '
         << Hex(heard.reply) << std::endl;
}

void ReplyLogFile::Sent(const SentBytes& sent) {
    out_ << "sent " << sent.request << ' ' << Micros(sent.at) << ' '
         << kSendingNames[static_cast<std::size_t>(sent.how)] << ' ' << Hex(sent.bytes) << std::endl;
}

ReplyLog ReadReplyLog(std::istream& in) {
    ReplyLog log;
    std::string line;
    while (std::getline(in, line)) {
        if (in.eof()) break; // no newline yet: still being written
        ParseLine(line, log);
    }
    return log;
}

} // namespace lq::sim
