#include "serial/port_discovery.h"

#include "modbus/display_text.h"
#include "serial/port_names.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace lq {

namespace fs = std::filesystem;

namespace {

// The device kinds listed, in list order; ttyS ports count only with a UART behind them.
constexpr const char* kKinds[] = {"ttyUSB", "ttyACM", "ttyS"};

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.pop_back();
    return line;
}

// "ttyUSB10" → ("ttyUSB", 10): names sort by kind, then by number, so ttyUSB2 comes before ttyUSB10.
std::pair<std::string, long> SplitNumber(const std::string& name) {
    std::size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1])))
        --digits;
    if (digits == name.size() || name.size() - digits > 9) return {name, -1};
    return {name.substr(0, digits), std::stol(name.substr(digits))};
}

bool NumberOrder(const std::string& a, const std::string& b) {
    return SplitNumber(a) < SplitNumber(b);
}

std::string Joined(const std::string& first, const std::string& second) {
    return second.empty() ? first : first + " · " + second;
}

// The first folder at or above the device that names a product: the USB device of an adapter.
std::string UsbProduct(const fs::path& sys, fs::path folder) {
    std::error_code ec;
    for (; folder.string().size() > sys.string().size(); folder = folder.parent_path()) {
        if (fs::exists(folder / "product", ec)) return FirstLine(folder / "product");
    }
    return {};
}

// "FT232R USB UART · ftdi_sio" from what sysfs has of the tty; empty when it has nothing.
std::string Describe(const fs::path& root, const std::string& tty) {
    std::error_code ec;
    const fs::path sys = fs::weakly_canonical(root / "sys", ec);
    const fs::path device = fs::canonical(root / "sys/class/tty" / tty / "device", ec);
    if (ec) return {};
    std::string detail = UsbProduct(sys, device);
    std::error_code noDriver;
    const fs::path driver = fs::canonical(device / "driver", noDriver);
    if (!noDriver) detail = detail.empty() ? driver.filename().string() : Joined(detail, driver.filename());
    return detail;
}

bool HasUart(const fs::path& root, const std::string& tty) {
    // serial8250 registers ports without hardware too; their type is 0 (PORT_UNKNOWN).
    const std::string type = FirstLine(root / "sys/class/tty" / tty / "type");
    return !type.empty() && type != "0";
}

// The hardware ttys of the kinds listed, each with a device node, in list order.
std::vector<std::string> HardwareTtys(const fs::path& root) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(root / "sys/class/tty", ec)) {
        const std::string name = entry.path().filename().string();
        if (!fs::exists(entry.path() / "device", ec) || !fs::exists(root / "dev" / name, ec)) continue;
        for (const char* kind : kKinds)
            if (SplitNumber(name).first == kind && (std::string(kind) != "ttyS" || HasUart(root, name)))
                names.push_back(name);
    }
    const auto kindIndex = [](const std::string& name) {
        const std::string kind = SplitNumber(name).first;
        return std::find(std::begin(kKinds), std::end(kKinds), kind) - std::begin(kKinds);
    };
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return kindIndex(a) != kindIndex(b) ? kindIndex(a) < kindIndex(b) : NumberOrder(a, b);
    });
    return names;
}

} // namespace

std::vector<SerialPortEntry> FindSerialDevices(const std::string& rootFolder) {
    const fs::path root(rootFolder);
    std::vector<SerialPortEntry> list;
    std::error_code ec;
    std::vector<std::string> links;
    for (const auto& entry : fs::directory_iterator(root / "dev/serial/by-id", ec))
        if (entry.is_symlink(ec)) links.push_back(entry.path().filename().string());
    std::sort(links.begin(), links.end());
    for (const std::string& link : links) {
        const std::string tty = fs::read_symlink(root / "dev/serial/by-id" / link, ec).filename().string();
        if (ec || !fs::exists(root / "dev" / tty, ec)) continue; // a link left behind by an unplugged adapter
        list.push_back({"/dev/serial/by-id/" + link, Joined("→ " + tty, Describe(root, tty))});
    }
    for (const std::string& tty : HardwareTtys(root))
        list.push_back({tty, Describe(root, tty)});
    return list;
}

std::vector<SerialPortEntry> FindPortAliases(const std::string& aliasFolder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(aliasFolder, ec)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_symlink(ec) && ComPortNumber(name) != 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end(), NumberOrder);
    std::vector<SerialPortEntry> list;
    for (const std::string& name : names) {
        const fs::path target = fs::read_symlink(fs::path(aliasFolder) / name, ec);
        const bool present = fs::exists(fs::path(aliasFolder) / name, ec);
        list.push_back({name, present
                                  ? "→ " + target.string()
                                  : Substitute(LQ_TR("PortDiscovery", "→ %1 (不存在)"), {target.string()})});
    }
    return list;
}

std::vector<SerialPortEntry> ListPorts(const std::string& root, const std::string& aliasFolder) {
    std::vector<SerialPortEntry> list = FindSerialDevices(root);
    const std::vector<SerialPortEntry> aliases = FindPortAliases(aliasFolder);
    list.insert(list.end(), aliases.begin(), aliases.end());
    for (int n = 1; n <= 9; ++n) {
        const std::string name = "COM" + std::to_string(n);
        const bool listed = std::any_of(aliases.begin(), aliases.end(),
                                        [&](const SerialPortEntry& e) { return e.Name == name; });
        if (!listed) list.push_back({name, "→ " + ResolvePortName(name)});
    }
    return list;
}

} // namespace lq
