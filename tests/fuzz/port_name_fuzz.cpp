// Resolves arbitrary port names, with and without an alias folder holding COMn links, and checks that the
// result is always one of the documented shapes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "serial/port_names.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// An alias folder with COM1 and COM7 in it, made once per run and removed at exit.
struct AliasFolder {
    AliasFolder() {
        char pattern[] = "/tmp/lq-port-name-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        LQ_FUZZ_CHECK(made != nullptr);
        path = made;
        std::filesystem::create_symlink("/dev/null", path / "COM1");
        std::filesystem::create_symlink("/nonexistent/tty", path / "COM7");
    }
    ~AliasFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

// Independent reading of "COMn": three letters in any case, then 1 to 9 decimal digits.
unsigned ModelComNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 12) return 0;
    for (int i = 0; i < 3; ++i)
        if ((name[i] | 0x20) != "com"[i]) return 0;
    unsigned n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        n = n * 10 + static_cast<unsigned>(name[i] - '0');
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static AliasFolder folder;
    if (size == 0) return 0;
    const bool withAliases = data[0] % 2 == 0;
    const std::string name(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (withAliases)
        setenv("LQ_MODBUS_PORTS", folder.path.c_str(), 1);
    else
        setenv("LQ_MODBUS_PORTS", "/nonexistent/lq-aliases", 1);

    const unsigned n = lq::ComPortNumber(name);
    LQ_FUZZ_CHECK(n == ModelComNumber(name));
    const std::string path = lq::ResolvePortName(name);

    if (name.empty() || name.find('\0') != std::string::npos) {
        LQ_FUZZ_CHECK(path.empty());
    } else if (name.find('/') != std::string::npos) {
        LQ_FUZZ_CHECK(path == name);
    } else if (n >= 1) {
        const bool aliased = withAliases && (n == 1 || n == 7);
        const std::string expected = aliased ? (folder.path / ("COM" + std::to_string(n))).string()
                                             : "/dev/ttyS" + std::to_string(n - 1);
        LQ_FUZZ_CHECK(path == expected);
    } else {
        LQ_FUZZ_CHECK(path == "/dev/" + name);
    }
    // open() reads the path only up to its first NUL: a path with one inside would open another device
    // than the one named.
    LQ_FUZZ_CHECK(path.find('\0') == std::string::npos);
    return 0;
}
