// The port list from a folder laid out like sysfs and /dev, the alias folder, and who holds a device.
#include "serial/port_discovery.h"
#include "serial/port_holders.h"
#include "tests/modbus/english_texts.h"
#include "tests/serial/pty_pair.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace lq::test {
namespace {

namespace fs = std::filesystem;

// A scratch folder that goes away with the test.
class ScratchTree : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("lq-ports-" + std::to_string(getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }

    void File(const std::string& path, const std::string& text = {}) {
        fs::create_directories((root / path).parent_path());
        std::ofstream(root / path) << text << "\n";
    }
    // Relative links, as sysfs has them, so the tree can sit anywhere.
    void Link(const std::string& path, const std::string& target) {
        fs::create_directories((root / path).parent_path());
        fs::create_symlink(target, root / path);
    }
    void Folder(const std::string& path) { fs::create_directories(root / path); }

    // A tty with a device behind it (and a node in /dev unless told otherwise).
    void Tty(const std::string& name, const std::string& device, bool node = true) {
        Folder("sys/" + device);
        Link("sys/class/tty/" + name + "/device", "../../../" + device);
        if (node) File("dev/" + name);
    }

    fs::path root;
};

TEST_F(ScratchTree, DevicesComeByIdFirstThenByKindAndNumber) {
    File("sys/devices/usb1/1-1/product", "FT232R USB UART");
    Folder("sys/bus/usb-serial/drivers/ftdi_sio");
    Tty("ttyUSB0", "devices/usb1/1-1/1-1:1.0/ttyUSB0");
    Link("sys/devices/usb1/1-1/1-1:1.0/ttyUSB0/driver", "../../../../../bus/usb-serial/drivers/ftdi_sio");
    Tty("ttyUSB10", "devices/usb1/1-3/1-3:1.0/ttyUSB10");
    Tty("ttyUSB2", "devices/usb1/1-4/1-4:1.0/ttyUSB2");
    File("sys/devices/usb1/1-2/product", "Pico");
    Folder("sys/bus/usb/drivers/cdc_acm");
    Tty("ttyACM0", "devices/usb1/1-2/1-2:1.0");
    Link("sys/devices/usb1/1-2/1-2:1.0/driver", "../../../../bus/usb/drivers/cdc_acm");
    Folder("sys/bus/platform/drivers/serial8250");
    Tty("ttyS0", "devices/platform/serial8250/tty0");
    Link("sys/devices/platform/serial8250/tty0/driver", "../../../../bus/platform/drivers/serial8250");
    File("sys/class/tty/ttyS0/type", "4");
    Tty("ttyS1", "devices/platform/serial8250/tty1"); // registered without a UART
    File("sys/class/tty/ttyS1/type", "0");
    Tty("ttyUSB5", "devices/usb1/1-5/1-5:1.0/ttyUSB5", false); // no device node
    Folder("sys/class/tty/tty0");                              // a console: no device behind it
    File("dev/tty0");
    Link("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "../../ttyUSB0");
    Link("dev/serial/by-id/usb-Gone-if00-port0", "../../ttyUSB7"); // left behind by an unplugged adapter

    const std::vector<SerialPortEntry> expected{
        {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
         "→ ttyUSB0 · FT232R USB UART · ftdi_sio"},
        {"ttyUSB0", "FT232R USB UART · ftdi_sio"},
        {"ttyUSB2", ""},
        {"ttyUSB10", ""},
        {"ttyACM0", "Pico · cdc_acm"},
        {"ttyS0", "serial8250"},
    };
    EXPECT_EQ(FindSerialDevices(root.string()), expected);
}

TEST_F(ScratchTree, NoSerialFoldersAtAllIsAnEmptyList) {
    EXPECT_TRUE(FindSerialDevices(root.string()).empty());
    EXPECT_TRUE(FindPortAliases((root / "missing").string()).empty());
}

TEST_F(ScratchTree, AliasesThenTheComNamesNotListedYet) {
    File("dev/ttyUSB0");
    Link("aliases/COM4", (root / "dev/ttyUSB0").string());
    Link("aliases/com12", "/dev/pts/999999"); // the simulator that made it is gone
    File("aliases/COM5");                     // not a link: no alias
    Link("aliases/notes", (root / "dev/ttyUSB0").string());

    const auto list = ListPorts(root.string(), (root / "aliases").string());
    std::vector<std::string> names;
    for (const auto& e : list)
        names.push_back(e.Name);
    const std::vector<std::string> expected{"COM4", "com12", "COM1", "COM2", "COM3",
                                            "COM5", "COM6",  "COM7", "COM8", "COM9"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(list[0].Detail, "→ " + (root / "dev/ttyUSB0").string());
    EXPECT_EQ(list[1].Detail, "→ /dev/pts/999999 (不存在)");

    static constexpr lq::testing::EnglishText kEnglish[] = {
        {"PortDiscovery", "→ %1 (不存在)", "→ %1 (missing)"}};
    const lq::testing::EnglishTexts english(kEnglish);
    const auto inEnglish = ListPorts(root.string(), (root / "aliases").string());
    EXPECT_EQ(inEnglish[0].Detail, list[0].Detail);
    EXPECT_EQ(inEnglish[1].Detail, "→ /dev/pts/999999 (missing)");
}

TEST_F(ScratchTree, HoldersAreFoundThroughTheirDescriptorLinks) {
    Link("proc/812/fd/7", "/dev/ttyUSB0");
    File("proc/812/comm", "ModemManager");
    Link("proc/900/fd/0", "/dev/pts/1");
    File("proc/900/comm", "bash");
    Link("proc/self/fd/3", "/dev/ttyUSB0"); // not a process folder
    EXPECT_EQ(FindPortHolders("/dev/ttyUSB0", (root / "proc").string()),
              (std::vector<PortHolder>{{812, "ModemManager"}}));
    EXPECT_TRUE(FindPortHolders("/dev/ttyUSB1", (root / "proc").string()).empty());
}

TEST_F(ScratchTree, ThisProcessHoldingATerminalIsFoundThroughAnAlias) {
    PtyPair line;
    Link("COM4", line.SlavePath());
    const auto holders = FindPortHolders((root / "COM4").string());
    ASSERT_FALSE(holders.empty());
    EXPECT_EQ(holders.front().Pid, getpid());
}

} // namespace
} // namespace lq::test
