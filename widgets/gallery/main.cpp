// Renders every instrument in a few states, at the sizes the panel uses, into one PNG.
// Usage: lq_widgets_gallery [output.png]   (run with QT_QPA_PLATFORM=offscreen on a headless machine)

#include "widgets/ti_analog_display.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_knob.h"
#include "widgets/ti_label.h"
#include "widgets/ti_led.h"
#include "widgets/ti_led_bar.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_linear_gauge.h"
#include "widgets/ti_switch_led.h"
#include "widgets/ti_thermometer.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

using namespace lq;

namespace {

// Places widgets on the sheet and writes a small grey note under each.
class Sheet {
  public:
    explicit Sheet(QWidget* canvas) : canvas_(canvas) {}

    template <class W> W* Add(int x, int y, const QString& note = {}) {
        auto* w = new W(canvas_);
        w->move(x, y);
        if (!note.isEmpty()) notes_.push_back({x, y, w, note});
        return w;
    }
    void Heading(int x, int y, const QString& text) {
        auto* l = new QLabel(text, canvas_);
        QFont f = l->font();
        f.setBold(true);
        f.setPixelSize(12);
        l->setFont(f);
        l->move(x, y);
    }
    void PlaceNotes() {
        for (const Note& n : notes_) {
            auto* l = new QLabel(n.text, canvas_);
            QFont f = l->font();
            f.setPixelSize(10);
            l->setFont(f);
            l->setStyleSheet("color: #555");
            l->adjustSize();
            l->move(n.x + (n.widget->width() - l->width()) / 2, n.y + n.widget->height() + 2);
        }
    }

  private:
    struct Note {
        int x, y;
        QWidget* widget;
        QString text;
    };
    QWidget* canvas_;
    std::vector<Note> notes_;
};

void HoldLeftButton(QWidget* w) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

QFont Bold(QWidget* w, int pixels) {
    QFont f = w->font();
    f.setBold(true);
    f.setPixelSize(pixels);
    return f;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QFont base = QApplication::font();
    base.setPixelSize(11);
    QApplication::setFont(base);
    const QString out =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/widgets-gallery.png");

    QWidget canvas;
    canvas.setAutoFillBackground(true);
    QPalette pal = canvas.palette();
    pal.setColor(QPalette::Window, QColor(212, 208, 200));
    canvas.setPalette(pal);
    canvas.resize(780, 565);
    Sheet s(&canvas);

    s.Heading(10, 8, "Lamps (20 x 20): dimmed when inactive, lit when active");
    const TColor lampColors[] = {clRed, clLime, clRed, clLime, clYellow, clAqua};
    const char* lampNames[] = {"PWER", "R", "S", "T", "MAX", "LOA"};
    for (int i = 0; i < 6; ++i) {
        auto* label = s.Add<TiLabel>(18 + i * 44, 30);
        label->SetCaption(lampNames[i]);
        auto* lamp = s.Add<TiLedRound>(20 + i * 44, 46, i < 2 ? "off" : "on");
        lamp->SetActiveColor(lampColors[i]);
        lamp->SetActive(i >= 2);
    }
    auto* big = s.Add<TiLedRound>(290, 32, "40 x 40");
    big->resize(40, 40);
    big->SetActiveColor(clRed);
    big->SetActive(true);
    auto* rectLamp = s.Add<TiLed>(345, 42, "TiLed");
    rectLamp->SetActive(true);

    s.Heading(400, 8, "Switch lamps");
    auto* run = s.Add<TiSwitchLed>(400, 30, "run/stop 177 x 28, on");
    run->resize(177, 28);
    run->SetCaption("STOP");
    run->SetCaptionMargin(2);
    run->SetActive(true);
    auto* stop = s.Add<TiSwitchLed>(590, 30, "off");
    stop->resize(177, 28);
    stop->SetCaption("RUN");
    stop->SetActiveColor(clRed);
    stop->SetCaptionMargin(2);
    const char* setCaptions[] = {"SET", "ENT", "SET"};
    const char* setNotes[] = {"SET 33 x 25", "on", "pressed"};
    for (int i = 0; i < 3; ++i) {
        auto* sw = s.Add<TiSwitchLed>(420 + i * 50, 78, setNotes[i]);
        sw->resize(33, 25);
        sw->SetCaption(setCaptions[i]);
        sw->SetActiveColor(clRed);
        sw->SetCaptionMargin(1);
        sw->SetIndicatorMargin(4);
        sw->SetActive(i == 1);
        if (i == 2) HoldLeftButton(sw);
    }
    s.Add<TiSwitchLed>(580, 76, "default 40 x 28");

    s.Heading(10, 126,
              "Knobs (145 x 137, grip radius 23 / 26 / 27; default 150 x 150 with position display)");
    const double knobPos[] = {0, 280, 10000};
    const double knobMax[] = {1000, 400, 10000};
    const int knobRadius[] = {23, 26, 27};
    for (int i = 0; i < 3; ++i) {
        auto* k =
            s.Add<TiKnob>(10 + i * 160, 148, QString("Position %1 of %2").arg(knobPos[i]).arg(knobMax[i]));
        k->resize(145, 137);
        k->SetPositionMax(knobMax[i]);
        k->SetPosition(knobPos[i]);
        k->SetKnobRadius(knobRadius[i]);
    }
    auto* shown = s.Add<TiKnob>(500, 142, "ShowPostionDisplay");
    shown->SetPosition(62.5);
    shown->SetShowPostionDisplay(true);
    shown->SetPositionDisplayUnits("%");

    s.Heading(10, 316, "Thermometer, linear gauge, LED bar");
    auto* t1 = s.Add<TiThermometer>(10, 336, "25 of 100");
    t1->SetPosition(25);
    auto* t2 = s.Add<TiThermometer>(110, 336, "80 of 100");
    t2->SetPosition(80);
    auto* g1 = s.Add<TiLinearGauge>(220, 336, "230 of 380");
    g1->resize(60, 96);
    g1->SetPositionMax(380);
    g1->SetPosition(230);
    auto* g2 = s.Add<TiLinearGauge>(220, 452, "max = min = 0");
    g2->resize(60, 96);
    g2->SetPositionMax(0);
    g2->SetPosition(50);
    auto* g3 = s.Add<TiLinearGauge>(295, 336, "default 60 x 200");
    g3->SetPosition(70);
    const double barPos[] = {35, 100, 0};
    for (int i = 0; i < 3; ++i) {
        auto* bar = s.Add<TiLedBar>(380 + i * 40, 336, QString::number(barPos[i]));
        bar->resize(25, 153);
        bar->SetBackGroundColor(clSilver);
        bar->SetSectionColor1(clYellow);
        bar->SetPosition(barPos[i]);
    }
    auto* sections = s.Add<TiLedBar>(510, 336, "3 sections");
    sections->SetSectionCount(3);
    sections->SetPosition(85);

    s.Heading(560, 316, "Numeric fields");
    auto* temp = s.Add<TiAnalogOutput>(560, 340, "25'C, p0");
    temp->resize(49, 21);
    temp->setFont(Bold(temp, 11));
    temp->SetPrecision(0);
    temp->SetUnitsText("'C");
    temp->SetValue(25);
    auto* input = s.Add<TiAnalogOutput>(630, 340, "p2");
    input->resize(57, 21);
    input->setFont(Bold(input, 11));
    input->SetPrecision(2);
    input->SetValue(123.45);
    auto* typing = s.Add<TiAnalogOutput>(700, 340, "typed, selected");
    typing->resize(49, 21);
    typing->Editor()->setText("36.5");
    typing->Editor()->selectAll();
    typing->Editor()->setFocus();

    const double displayValues[] = {230.0, 36.5, 6553.5};
    for (int i = 0; i < 3; ++i) {
        auto* d = s.Add<TiAnalogDisplay>(560 + i * 70, 392, i == 1 ? "red font" : "57 x 21");
        d->resize(57, 21);
        d->setFont(Bold(d, 12));
        d->SetValue(displayValues[i]);
        if (i == 1) d->SetFontColor(clRed);
    }
    auto* err = s.Add<TiAnalogDisplay>(560, 444, "ErrorActive");
    err->resize(57, 21);
    err->SetErrorActive(true);
    auto* wide = s.Add<TiAnalogDisplay>(630, 444, "default 80 x 21, %g");
    wide->SetPrecision(-1);
    wide->SetValue(0.000125);

    s.PlaceNotes();
    canvas.show();
    QApplication::processEvents();
    const QImage image = canvas.grab().toImage();
    if (!image.save(out)) {
        qCritical("cannot write %s", qPrintable(out));
        return 1;
    }
    return 0;
}
