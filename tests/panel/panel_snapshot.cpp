// Renders the main window into a PNG for the docs, after its first display refresh as an operator sees it:
// at start; "live": showing a register image set here;
// "entries": as live, with the five SET/ENT entry fields open; "wide": at start, 1000 pixels wide. A third
// argument "en" shows it in English.
#include <QApplication>
#include <QPixmap>
#include <QTimer>

#include "panel/form1.h"
#include "panel/interface_language.h"

namespace {

void FillLiveRegisters(lq::RegisterImage& r) {
    const std::initializer_list<std::pair<int, std::uint16_t>> values{
        {0, 5000},  {3, 1},    {4, 1000}, {5, 0},    {11, 487},  {12, 36},   {13, 0},
        {15, 4000}, {20, 243}, {21, 245}, {22, 241}, {23, 3804}, {24, 1234}, {35, 598},
        {36, 600},  {39, 800}, {40, 120}, {41, 240}, {42, 60}};
    for (const auto& [reg, value] : values)
        r.Set(reg, value);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? argv[1] : "panel.png";
    const QString mode = argc > 2 ? argv[2] : "";
    if (argc > 3 && QString(argv[3]) == "en") lq::InstallInterfaceLanguage(lq::InterfaceLanguage::English);
    lq::TForm1 form;
    form.show();
    if (mode == "live" || mode == "entries") {
        FillLiveRegisters(form.Master().Registers());
        form.Timer2Timer();
        form.Master().ReceiveDelivery(nullptr, 0);
    }
    form.Timer2Timer();
    if (mode == "entries") {
        form.iSwitchLed2Click(nullptr);
        form.iSwitchLed3Click(nullptr);
        form.iSwitchLed4Click(nullptr);
        form.iSwitchLed5Click(nullptr);
        form.iSwitchLed6Click(nullptr);
    }
    if (mode == "wide") form.resize(1000, form.height());
    QTimer::singleShot(50, [&] {
        form.grab().save(out);
        app.quit();
    });
    return app.exec();
}
