// The refresh tick: the whole register image into the widgets, twice a second, whatever the link does.
#include "panel/form1.h"

#include <QTextEdit>

#include "panel/old_value_marks.h"
#include "widgets/ti_analog_display.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_led.h"
#include "widgets/ti_led_bar.h"
#include "widgets/ti_linear_gauge.h"
#include "widgets/ti_switch_led.h"
#include "widgets/ti_thermometer.h"

namespace lq {

namespace {

double Tenths(std::int32_t reg) {
    return static_cast<double>(reg) / 10.0;
}

double Hundredths(std::int32_t reg) {
    return static_cast<double>(reg) / 100.0;
}

} // namespace

void TForm1::Timer2Timer() {
    const RegisterImage& r = master_->Registers();

    iAnalogOutput4->SetValue(Tenths(r[11]));
    iLedBar2->SetPosition(Tenths(r[11]));

    iAnalogOutput2->SetValue(Hundredths(r[0]));

    iThermometer1->SetPosition(r[12]);
    iAnalogOutput1->SetValue(r[12]);

    master_->AgeWriteRequest();

    if ((r[3] & 1) != 0) {
        iSwitchLed1->SetActiveColor(clLime);
        iSwitchLed1->SetCaption(QStringLiteral("STOP"));
    } else {
        iSwitchLed1->SetActiveColor(clRed);
        iSwitchLed1->SetCaption(QStringLiteral("RUN"));
    }

    for (std::size_t n = 0; n < iLedRound.size(); ++n)
        iLedRound[n]->SetActiveColor((r[13] >> n) & 1 ? clRed : clLime);

    iAnalogDisplay5->SetValue(Tenths(r[4]));
    iAnalogDisplay6->SetValue(Tenths(r[5]));

    iAnalogDisplay1->SetValue(Tenths(r[20]));
    iAnalogDisplay2->SetValue(Tenths(r[21]));
    iAnalogDisplay3->SetValue(Tenths(r[22]));
    iAnalogDisplay4->SetValue(Tenths(r[23]));

    // The maximum first, so the position is measured against the new range.
    iLinearGauge1->SetPositionMax(Tenths(r[15]));
    iLinearGauge1->SetPosition(Tenths(r[23]));

    iAnalogDisplay7->SetValue(Tenths(r[35]));
    iAnalogDisplay8->SetValue(Tenths(r[36]));
    iAnalogDisplay9->SetValue(Tenths(r[39]));
    iAnalogDisplay10->SetValue(Tenths(r[40]));
    iAnalogDisplay11->SetValue(r[41]);
    iAnalogDisplay12->SetValue(r[42]);

    oldValueMarks_->Show();
}

void TForm1::CreateOldValueMarks() {
    std::vector<OldValueMarks::Fed> fed{
        {iAnalogOutput2, {0}},   {iSwitchLed1, {0}},      {iAnalogDisplay5, {0}},  {iAnalogDisplay6, {0}},
        {iAnalogOutput4, {1}},   {iLedBar2, {1}},         {iThermometer1, {1}},    {iAnalogOutput1, {1}},
        {iLinearGauge1, {1, 2}}, {iAnalogDisplay1, {2}},  {iAnalogDisplay2, {2}},  {iAnalogDisplay3, {2}},
        {iAnalogDisplay4, {2}},  {Memo12, {2}},           {iAnalogDisplay7, {3}},  {iAnalogDisplay8, {3}},
        {iAnalogDisplay9, {3}},  {iAnalogDisplay10, {3}}, {iAnalogDisplay11, {3}}, {iAnalogDisplay12, {3}},
    };
    for (TiLedRound* lamp : iLedRound)
        fed.push_back({lamp, {1}});
    oldValueMarks_ = std::make_unique<OldValueMarks>(*blockAges_, std::move(fed));
}

} // namespace lq
