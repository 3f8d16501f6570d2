#include "app/start_options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "panel/form1.h"

namespace lq {

void ApplySerialStart(TForm1& form, const SerialStart& start)
{
    if (start.rs485) form.Comm1->SetRtsControl(TRtsControl::RtsTransmissionAvailable);
    // Setting a box's text raises its change event, exactly as typing the text does.
    if (start.port) form.ComboBox4->setEditText(*start.port);
    if (start.baud) form.ComboBox5->setEditText(QString::number(*start.baud));
    if (start.framing) form.ComboBox6->setEditText(*start.framing);
    if (start.address) form.ComboBox1->setEditText(QString::number(*start.address));
    // A click has the button's normal effects, the message box on a port that does not open included.
    if (start.open) form.BitBtn7->click();
    if (start.poll && !form.CheckBox2->isChecked()) form.CheckBox2->click();
}

} // namespace lq
