#pragma once

#include "app/command_line.h"

namespace lq {

class TForm1;

// Fills the panel's boxes and clicks its controls as the operator would, in the order the operator
// would: port settings and address first, then "打开串口", then "通讯". A value left empty keeps the
// box's starting text. The RS-485 setting goes to the port before it is opened.
void ApplySerialStart(TForm1& form, const SerialStart& start);

} // namespace lq
