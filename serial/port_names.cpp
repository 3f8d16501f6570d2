#include "port_names.h"

#include <cctype>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace lq {

namespace {

bool NonEmptyEnv(const char* name, std::string& out) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return false;
    out = value;
    return true;
}

} // namespace

std::string PortAliasFolder() {
    std::string folder;
    if (NonEmptyEnv("LQ_MODBUS_PORTS", folder)) return folder;
    if (NonEmptyEnv("XDG_RUNTIME_DIR", folder)) return folder + "/lq-modbus-rtu";
    return "/tmp/lq-modbus-rtu-" + std::to_string(getuid());
}

unsigned ComPortNumber(const std::string& commName) {
    if (commName.size() < 4) return 0;
    if (std::toupper(static_cast<unsigned char>(commName[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(commName[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(commName[2])) != 'M')
        return 0;
    // Nine digits keep the number well inside unsigned range; longer names are not ports.
    if (commName.size() > 3 + 9) return 0;
    unsigned n = 0;
    for (std::size_t i = 3; i < commName.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(commName[i]);
        if (!std::isdigit(c)) return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::string ResolvePortName(const std::string& commName) {
    // open() would stop reading the path at a NUL and open whatever the name's first part names.
    if (commName.empty() || commName.find('\0') != std::string::npos) return {};
    if (commName.find('/') != std::string::npos) return commName;
    if (const unsigned n = ComPortNumber(commName); n >= 1) {
        std::string alias = PortAliasFolder() + "/COM" + std::to_string(n);
        struct stat st {};
        if (lstat(alias.c_str(), &st) == 0) return alias;
        return "/dev/ttyS" + std::to_string(n - 1);
    }
    return "/dev/" + commName;
}

} // namespace lq
