#pragma once

// Why the port did not open, in the words the message box shows under "打开串口错误". Plain C++: the facts
// are gathered from the system once, then turned into text.
#include <string>
#include <vector>

#include "serial/comm.h"
#include "serial/port_discovery.h"
#include "serial/port_holders.h"

namespace lq {

struct OpenFailureFacts {
    TOpenError error;
    std::string chosenName;               // the port name as the operator typed or picked it (CommName)
    std::string linkTarget;               // where the path leads when it is an alias or a by-id link
    std::vector<PortHolder> holders;      // who has the device open (busy)
    std::vector<SerialPortEntry> present; // the serial devices there are (no such device)
};

// Looks up what the failure's hint needs; root is where sysfs and /dev are found, procRoot the processes.
OpenFailureFacts GatherOpenFailureFacts(const TOpenError& error, const std::string& root = "/",
                                        const std::string& procRoot = "/proc");
// The same for the port's last open, under the name the operator gave it.
OpenFailureFacts GatherOpenFailureFacts(const TComm& comm);

// The lines under "打开串口错误": the path and the system's error text, then a hint for the common cases.
std::string OpenFailureReason(const OpenFailureFacts& facts);

} // namespace lq
