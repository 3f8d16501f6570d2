// Renders the port box's list on a machine with a by-id device (a folder laid out like sysfs and /dev),
// an open failure with its reason, and the notice after a port was lost, into PNGs for the docs:
//   xvfb-run -a -s "-screen 0 1600x900x24" env QT_QPA_PLATFORM=xcb build/tests/panel/panel_port_screens docs
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QtTest>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "panel/form1.h"
#include "panel/interface_language.h"
#include "panel/port_combo_box.h"
#include "panel/port_lost_notice.h"
#include "serial/testing/fake_serial_backend.h"

using namespace lq;
namespace fs = std::filesystem;

namespace {

void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << "\n";
}

void Link(const fs::path& link, const std::string& target) {
    fs::create_directories(link.parent_path());
    fs::create_symlink(target, link);
}

// One FTDI adapter (with its by-id link), a Pico on ttyACM0 and the first UART.
void LayOutMachine(const fs::path& root) {
    Write(root / "sys/devices/usb1/1-1/product", "FT232R USB UART");
    fs::create_directories(root / "sys/bus/usb-serial/drivers/ftdi_sio");
    fs::create_directories(root / "sys/devices/usb1/1-1/1-1:1.0/ttyUSB0");
    Link(root / "sys/devices/usb1/1-1/1-1:1.0/ttyUSB0/driver",
         "../../../../../bus/usb-serial/drivers/ftdi_sio");
    Link(root / "sys/class/tty/ttyUSB0/device", "../../../devices/usb1/1-1/1-1:1.0/ttyUSB0");
    Write(root / "sys/devices/usb1/1-2/product", "Pico");
    fs::create_directories(root / "sys/bus/usb/drivers/cdc_acm");
    fs::create_directories(root / "sys/devices/usb1/1-2/1-2:1.0");
    Link(root / "sys/devices/usb1/1-2/1-2:1.0/driver", "../../../../bus/usb/drivers/cdc_acm");
    Link(root / "sys/class/tty/ttyACM0/device", "../../../devices/usb1/1-2/1-2:1.0");
    fs::create_directories(root / "sys/bus/platform/drivers/serial8250");
    fs::create_directories(root / "sys/devices/platform/serial8250/tty0");
    Link(root / "sys/devices/platform/serial8250/tty0/driver", "../../../../bus/platform/drivers/serial8250");
    Link(root / "sys/class/tty/ttyS0/device", "../../../devices/platform/serial8250/tty0");
    Write(root / "sys/class/tty/ttyS0/type", "4");
    for (const char* node : {"ttyUSB0", "ttyACM0", "ttyS0"})
        Write(root / "dev" / node, "");
    Link(root / "dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "../../ttyUSB0");
}

// The window with its top-level companions (a popup list, a message box) drawn where they stand.
QPixmap Compose(QWidget* window, const QList<QWidget*>& companions) {
    QRect area = window->frameGeometry();
    for (QWidget* w : companions)
        area = area.united(w->frameGeometry());
    QPixmap canvas(area.size());
    canvas.fill(QColor(0x3a, 0x6e, 0xa5));
    QPainter painter(&canvas);
    painter.drawPixmap(window->geometry().topLeft() - area.topLeft(), window->grab());
    for (QWidget* w : companions)
        painter.drawPixmap(w->geometry().topLeft() - area.topLeft(), w->grab());
    return canvas;
}

void PortList(const fs::path& root, const QString& out) {
    LayOutMachine(root);
    // No alias: one to a pseudo-terminal would show its number, which depends on the machine's others.
    const fs::path aliases = root / "aliases";
    fs::create_directories(aliases);
    TForm1 form;
    form.Timer1->stop();
    form.show();
    auto* box = dynamic_cast<PortComboBox*>(form.ComboBox4);
    box->SetLister([root, aliases] { return ListPorts(root.string(), aliases.string()); });
    box->showPopup();
    box->view()->setCurrentIndex(box->model()->index(0, 0));
    QTest::qWait(50);
    Compose(&form, {box->view()->window()}).save(out);
    box->hidePopup();
}

void OpenFailure(const QString& out) {
    auto fake = std::make_shared<serial_testing::FakeSerialBackend>();
    fake->ScriptError("CreateFile", EACCES);
    QMessageBox* shown = nullptr;
    TForm1Setup setup;
    setup.backend = fake;
    // The box as the window makes it, shown instead of run so it can be drawn.
    setup.showMessage = [&shown](QWidget* parent, const QString& text) {
        shown = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("LQ_Modbus RTU"), text, QMessageBox::Ok,
                                parent);
        shown->show();
    };
    TForm1 form(setup);
    form.Timer1->stop();
    form.show();
    form.ComboBox4->setEditText("ttyUSB0");
    QTest::mouseClick(form.BitBtn7, Qt::LeftButton);
    QTest::qWait(50);
    Compose(&form, {static_cast<QWidget*>(shown)}).save(out);
}

// The adapter is gone at once after opening: its first read fails as an unplugged one does. A fake device,
// as a pseudo-terminal's number would be in the notice.
void PortLost(const QString& out) {
    auto fake = std::make_shared<serial_testing::FakeSerialBackend>();
    fake->Script("ReadFile", IoResult::Failed, 1, "lq-serial-rx");
    TForm1Setup setup;
    setup.backend = fake;
    TForm1 form(setup);
    form.Timer1->stop();
    form.show();
    form.ComboBox4->setEditText("ttyUSB0");
    QTest::mouseClick(form.BitBtn7, Qt::LeftButton);
    form.CheckBox2->setChecked(true);
    QTRY_VERIFY_WITH_TIMEOUT(FindPortLostNotice(&form) != nullptr, 5000);
    QTest::qWait(50);
    Compose(&form, {static_cast<QWidget*>(FindPortLostNotice(&form))}).save(out);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? argv[1] : ".";
    const fs::path root = fs::temp_directory_path() / ("lq-port-screens-" + std::to_string(getpid()));
    fs::create_directories(root);
    PortList(root, folder + "/port-list.png");
    OpenFailure(folder + "/port-open-failure.png");
    PortLost(folder + "/port-lost.png");
    // The same refusal in English, last: the translation stays in place once installed.
    InstallInterfaceLanguage(InterfaceLanguage::English);
    OpenFailure(folder + "/en-port-open-failure.png");
    fs::remove_all(root);
    return 0;
}
