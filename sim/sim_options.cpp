#include "sim/sim_options.h"

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

bool ParseProbability(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value) || value < 0.0 || value > 1.0)
        return false;
    out = value;
    return true;
}

// A port alias is one file name inside the alias folder, never a path out of it.
bool ValidPortName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// Takes the value of an option that has one; false when the value is not one the option accepts.
bool ApplyValueOption(const std::string& name, const std::string& value, SimOptions& options) {
    bool ok = true;
    if (name == "--port") {
        ok = ValidPortName(value);
        options.port = value;
    } else if (name == "--slave") {
        int address = 0;
        ok = ParseInteger(value, address, 1, 247);
        options.engine.slave.address = static_cast<std::uint8_t>(address);
    } else if (name == "--baud") {
        ok = ParseInteger(value, options.engine.baud, 50, 4'000'000);
    } else if (name == "--drop") {
        ok = ParseProbability(value, options.engine.faults.drop);
    } else if (name == "--corrupt") {
        ok = ParseProbability(value, options.engine.faults.corrupt);
    } else if (name == "--split") {
        ok = ParseProbability(value, options.engine.faults.split);
    } else if (name == "--delay") {
        int ms = 0;
        ok = ParseInteger(value, ms, 0, 60'000);
        options.engine.faults.delay = milliseconds(ms);
    } else if (name == "--seed") {
        std::uint64_t seed = 0;
        ok = ParseInteger<std::uint64_t>(value, seed, 0, UINT64_MAX);
        options.seed = seed;
    } else if (name == "--fault") {
        ok = AddFault(value, options.engine.modelFaults);
    } else if (name == "--dump-file") {
        ok = !value.empty();
        options.dumpFile = value;
    } else if (name == "--history-file") {
        ok = !value.empty();
        options.historyFile = value;
    } else if (name == "--counters-file") {
        ok = !value.empty();
        options.countersFile = value;
    } else if (name == "--lose-requests") {
        ok = ParseProbability(value, options.engine.faults.loseRequest);
    } else if (name == "--framing") {
        const auto framing = ParseLineFraming(value);
        ok = framing.has_value();
        if (ok) options.engine.framing = *framing;
    } else if (name == "--refuse-block") {
        ok = ParseInteger(value, options.engine.slave.refusedReadStart, 0, 63);
    } else if (name == "--refuse-for") {
        int seconds = 0;
        ok = ParseInteger(value, seconds, 1, 86'400);
        options.engine.slave.refuseFor = std::chrono::seconds(seconds);
    }
    return ok;
}

} // namespace

ParsedOptions ParseSimOptions(const std::vector<std::string>& args) {
    SimOptions options;
    auto fail = [](std::string message) { return ParsedOptions{std::nullopt, std::move(message)}; };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--version") {
            options.version = true;
            continue;
        }
        if (name == "--exception") {
            options.engine.slave.failEveryRead = true;
            continue;
        }
        if (name == "--line-check") {
            options.lineCheck = true;
            continue;
        }
        static const char* const kWithValue[] = {
            "--port",  "--slave", "--baud",      "--drop",         "--corrupt",          "--split",
            "--delay", "--seed",  "--fault",     "--dump-file",    "--history-file",     "--lose-requests",
            "--refuse-block",     "--refuse-for",    "--counters-file", "--framing"};
        bool known = false;
        for (const char* option : kWithValue)
            known = known || name == option;
        if (!known) return fail("unknown option " + name);
        if (i + 1 >= args.size()) return fail(name + " needs a value");
        const std::string& value = args[++i];

        const bool ok = ApplyValueOption(name, value, options);
        if (!ok) return fail("bad value for " + name + ": " + value);
    }
    return ParsedOptions{std::move(options), {}};
}

std::string SimUsage() {
    return "usage: pw5-sim [options]\n"
           "  --port NAME         alias name in the port folder (default COM4)\n"
           "  --slave N           slave address 1..247 (default 1)\n"
           "  --baud N            rate used for the inter-frame silence (default 19200)\n"
           "  --framing F         8N2, 8E1 or 8O1 (default 8N2); matters with --line-check\n"
           "  --line-check        answer only at the master's --baud and --framing, as a real line would\n"
           "  --drop P            probability of sending no reply\n"
           "  --corrupt P         probability of damaging one byte of a reply\n"
           "  --split P           probability of a 150 ms pause inside a reply\n"
           "  --delay MS          delay before every reply\n"
           "  --lose-requests P   probability that a request never arrives (not carried out)\n"
           "  --refuse-block N    answer reads starting at register N with exception 02\n"
           "  --refuse-for S      end that refusal S seconds after the start\n"
           "  --exception         answer every read with exception 04\n"
           "  --seed N            seed for faults and noise (default: random)\n"
           "  --fault NAME        light an alarm lamp the model cannot reach by itself, repeatable:\n"
           "                      " + std::string(FaultNames()) + "\n"
           "  --dump-file PATH    rewrite PATH with all registers after each change\n"
           "  --history-file PATH append every register change to PATH\n"
           "  --counters-file PATH rewrite PATH with what was heard, answered, dropped, damaged\n"
           "  --version           print the version and exit\n";
}

} // namespace lq::sim
