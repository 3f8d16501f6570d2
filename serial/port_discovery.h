#pragma once

#include <string>
#include <vector>

namespace lq {

// One entry of the port list: the name the port box takes, and what it is.
struct SerialPortEntry {
    std::string Name;   // "/dev/serial/by-id/usb-…", "ttyUSB0", "COM4"
    std::string Detail; // "→ ttyUSB0 · FT232R USB UART · ftdi_sio"
    bool operator==(const SerialPortEntry&) const = default;
};

// The serial devices present, read from sysfs and /dev under root ("/" on a machine, a folder laid out
// like one in tests): udev's /dev/serial/by-id links first, then ttyUSB*, ttyACM*, and the ttyS* that have a
// UART behind them, each group in number order.
std::vector<SerialPortEntry> FindSerialDevices(const std::string& root);

// The COMn aliases in the alias folder, in number order, each with the device it links to.
std::vector<SerialPortEntry> FindPortAliases(const std::string& aliasFolder);

// The port box's list: the devices, the aliases, then those of COM1 … COM9 not listed yet.
std::vector<SerialPortEntry> ListPorts(const std::string& root, const std::string& aliasFolder);

} // namespace lq
