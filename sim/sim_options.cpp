#include "sim/sim_options.h"

#include "sim/alarm_schedule.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace lq::sim {

namespace {

template <typename T> bool ParseInteger(const std::string& text, T& out, T lo, T hi) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < lo || value > hi) return false;
    out = value;
    return true;
}

// A real in [lo, hi], or in (lo, hi] when lo is open.
bool ParseReal(const std::string& text, double& out, double lo, double hi, bool openLo = false) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value) || value < lo || value > hi ||
        (openLo && value == lo))
        return false;
    out = value;
    return true;
}

using Probability = double FaultOptions::*;

// The faults given as a probability (per reply, per request, or per bit for --bit-errors).
constexpr std::pair<const char*, Probability> kProbabilities[] = {
    {"--drop", &FaultOptions::drop},
    {"--corrupt", &FaultOptions::corrupt},
    {"--split", &FaultOptions::split},
    {"--lose-requests", &FaultOptions::loseRequest},
    {"--repeat", &FaultOptions::repeat},
    {"--hold-back", &FaultOptions::holdBack},
    {"--drop-byte", &FaultOptions::dropByte},
    {"--insert-byte", &FaultOptions::insertByte},
    {"--bit-errors", &FaultOptions::bitErrors},
};

// Options with a value other than a probability.
constexpr const char* kWithValue[] = {
    "--port",         "--slave",         "--baud",           "--framing",          "--delay",
    "--seed",         "--fault",         "--refuse-block",   "--refuse-for",       "--dump-file",
    "--history-file", "--counters-file", "--reply-log",      "--fault-time-scale", "--tcp",
    "--modbus-tcp",   "--listen",        "--alarm-schedule", "--no-echo"};

// The options that stand alone, and the setting each one turns on.
struct Flag {
    const char* name;
    bool& (*setting)(SimOptions&);
};
constexpr Flag kFlags[] = {
    {"--help", [](SimOptions& o) -> bool& { return o.help; }},
    {"-h", [](SimOptions& o) -> bool& { return o.help; }},
    {"--version", [](SimOptions& o) -> bool& { return o.version; }},
    {"--exception", [](SimOptions& o) -> bool& { return o.engine.slave.failEveryRead; }},
    {"--line-check", [](SimOptions& o) -> bool& { return o.lineCheck; }},
};

bool ApplyFlag(const std::string& name, SimOptions& options) {
    for (const Flag& flag : kFlags) {
        if (name != flag.name) continue;
        flag.setting(options) = true;
        return true;
    }
    return false;
}

bool ApplyProbability(const std::string& name, const std::string& value, FaultOptions& faults, bool& ok) {
    for (const auto& [option, field] : kProbabilities) {
        if (name != option) continue;
        ok = ParseReal(value, faults.*field, 0.0, 1.0);
        return true;
    }
    return false;
}

bool ApplyPath(const std::string& value, std::string& path) {
    path = value;
    return !value.empty();
}

// A port alias is one file name inside the alias folder, never a path out of it.
bool ValidPortName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// Takes the value of an option that has one; false when the value is not one the option accepts.
bool ApplyValueOption(const std::string& name, const std::string& value, SimOptions& options,
                      std::string& listenAddress) {
    bool ok = true;
    if (ApplyProbability(name, value, options.engine.faults, ok)) return ok;
    if (name == "--port") {
        ok = ValidPortName(value);
        options.port = value;
    } else if (name == "--slave") {
        int address = 0;
        ok = ParseInteger(value, address, 1, 247);
        options.engine.slave.address = static_cast<std::uint8_t>(address);
    } else if (name == "--baud") {
        ok = ParseInteger(value, options.engine.baud, 50, 4'000'000);
    } else if (name == "--delay") {
        int ms = 0;
        ok = ParseInteger(value, ms, 0, 60'000);
        options.engine.faults.delay = milliseconds(ms);
    } else if (name == "--fault-time-scale") {
        ok = ParseReal(value, options.engine.faults.timeScale, 0.0, 100.0, true);
    } else if (name == "--seed") {
        std::uint64_t seed = 0;
        ok = ParseInteger<std::uint64_t>(value, seed, 0, UINT64_MAX);
        options.seed = seed;
    } else if (name == "--fault") {
        ok = AddFault(value, options.engine.modelFaults);
    } else if (name == "--dump-file") {
        ok = ApplyPath(value, options.dumpFile);
    } else if (name == "--history-file") {
        ok = ApplyPath(value, options.historyFile);
    } else if (name == "--counters-file") {
        ok = ApplyPath(value, options.countersFile);
    } else if (name == "--reply-log") {
        ok = ApplyPath(value, options.replyLog);
    } else if (name == "--framing") {
        const auto framing = ParseLineFraming(value);
        ok = framing.has_value();
        if (ok) options.engine.framing = *framing;
    } else if (name == "--tcp" || name == "--modbus-tcp") {
        NetworkListen& network = options.network ? *options.network : options.network.emplace();
        network.modbusTcp = name == "--modbus-tcp";
        ok = ParseInteger<std::uint16_t>(value, network.port, 0, 65535);
    } else if (name == "--listen") {
        ok = !value.empty();
        listenAddress = value;
    } else if (name == "--refuse-block") {
        ok = ParseInteger(value, options.engine.slave.refusedReadStart, 0, 63);
    } else if (name == "--alarm-schedule") {
        const auto schedule = ParseAlarmSchedule(value);
        ok = schedule.has_value();
        if (ok) options.engine.alarmSchedule = *schedule;
    } else if (name == "--no-echo") {
        ok = ParseInteger(value, options.engine.slave.unechoedWriteRegister, 0, 63);
    } else if (name == "--refuse-for") {
        int seconds = 0;
        ok = ParseInteger(value, seconds, 1, 86'400);
        options.engine.slave.refuseFor = std::chrono::seconds(seconds);
    }
    return ok;
}

bool TakesValue(const std::string& name) {
    for (const auto& [option, field] : kProbabilities)
        if (name == option) return true;
    for (const char* option : kWithValue)
        if (name == option) return true;
    return false;
}

} // namespace

ParsedOptions ParseSimOptions(const std::vector<std::string>& args) {
    SimOptions options;
    std::string listenAddress = "127.0.0.1";
    int networkOptions = 0;
    auto fail = [](std::string message) { return ParsedOptions{std::nullopt, std::move(message)}; };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (ApplyFlag(name, options)) continue;
        if (!TakesValue(name)) return fail("unknown option " + name);
        if (i + 1 >= args.size()) return fail(name + " needs a value");
        const std::string& value = args[++i];

        const bool ok = ApplyValueOption(name, value, options, listenAddress);
        if (!ok) return fail(std::string("bad value for ").append(name).append(": ").append(value));
        if (name == "--tcp" || name == "--modbus-tcp") ++networkOptions;
    }
    if (networkOptions > 1) return fail("--tcp and --modbus-tcp: one server at a time");
    if (options.network) {
        options.network->address = listenAddress;
    } else if (listenAddress != "127.0.0.1") {
        return fail("--listen needs --tcp or --modbus-tcp");
    }
    return ParsedOptions{std::move(options), {}};
}

std::vector<std::string> SimOptionNames() {
    std::vector<std::string> names;
    for (const auto& [option, field] : kProbabilities)
        names.emplace_back(option);
    for (const char* option : kWithValue)
        names.emplace_back(option);
    for (const Flag& flag : kFlags)
        names.emplace_back(flag.name);
    return names;
}

std::string SimUsage() {
    return "usage: pw5-sim [options]\n"
           "  --port NAME         alias name in the port folder (default COM4)\n"
           "  --slave N           slave address 1..247 (default 1)\n"
           "  --baud N            rate used for the inter-frame silence (default 19200)\n"
           "  --framing F         8N2, 8E1 or 8O1 (default 8N2); matters with --line-check\n"
           "  --tcp PORT          serve RTU over TCP on PORT (0: any free port) instead of a "
           "pseudo-terminal\n"
           "  --modbus-tcp PORT   serve Modbus TCP on PORT, as a gateway in front of the controller\n"
           "  --listen ADDRESS    the address --tcp or --modbus-tcp listens on (default 127.0.0.1)\n"
           "  --line-check        answer only at the master's --baud and --framing, as a real line would\n"
           "  --drop P            probability of sending no reply\n"
           "  --corrupt P         probability of damaging one byte of a reply\n"
           "  --split P           probability of a 150 ms pause inside a reply\n"
           "  --repeat P          probability of sending a reply again, whole, 150..450 ms after it began\n"
           "  --hold-back P       probability of sending a reply 1.3..1.7 s late instead of on time\n"
           "  --drop-byte P       probability of losing one byte of a reply\n"
           "  --insert-byte P     probability of one garbage byte appearing in a reply\n"
           "  --bit-errors RATE   probability of each data bit of a reply being flipped\n"
           "  --fault-time-scale F multiply the split pause, repeat gap and hold-back by F (default 1)\n"
           "  --delay MS          delay before every reply\n"
           "  --lose-requests P   probability that a request never arrives (not carried out)\n"
           "  --refuse-block N    answer reads starting at register N with exception 02\n"
           "  --refuse-for S      end that refusal S seconds after the start\n"
           "  --exception         answer every read with exception 04\n"
           "  --seed N            seed for faults and noise (default: random)\n"
           "  --fault NAME        light an alarm lamp the model cannot reach by itself, repeatable:\n"
           "                      " +
           std::string(FaultNames()) +
           "\n"
           "  --alarm-schedule S  raise and clear alarm bits while running: \"2+1,6.5-1\" raises bit 1\n"
           "                      at 2 s and clears it at 6.5 s (bits 0..8)\n"
           "  --no-echo REG       carry out writes to register REG and never answer them\n"
           "  --dump-file PATH    rewrite PATH with all registers after each change\n"
           "  --history-file PATH append every register change to PATH\n"
           "  --counters-file PATH rewrite PATH with what was heard, answered, dropped, damaged\n"
           "  --reply-log PATH    write every request heard and every reply sent, with its time, to PATH\n"
           "  -h, --help          print this list and exit\n"
           "  --version           print the version and exit\n";
}

} // namespace lq::sim
