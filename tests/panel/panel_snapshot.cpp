// Renders the main window into a PNG: at start, or showing a register image set here, for the docs.
#include <QApplication>
#include <QPixmap>
#include <QTimer>

#include "panel/form1.h"

namespace {

void FillLiveRegisters(lq::RegisterImage& r)
{
    const std::initializer_list<std::pair<int, std::uint16_t>> values{
        {0, 5000}, {3, 1},   {4, 1000}, {5, 0},    {11, 487},  {12, 36},  {13, 0},   {15, 4000},
        {20, 243}, {21, 245}, {22, 241}, {23, 3804}, {24, 1234}, {35, 598}, {36, 600}, {39, 800},
        {40, 120},  {41, 240}, {42, 60}};
    for (const auto& [reg, value] : values) r.Set(reg, value);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? argv[1] : "panel.png";
    const bool live = argc > 2 && QString(argv[2]) == "live";
    lq::TForm1 form;
    form.show();
    if (live) {
        FillLiveRegisters(form.Master().Registers());
        form.Timer2Timer();
        form.Master().Comm1ReceiveData(nullptr, 0);
    }
    QTimer::singleShot(50, [&] {
        form.grab().save(out);
        app.quit();
    });
    return app.exec();
}
