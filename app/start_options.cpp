#include "app/start_options.h"

#include <QCoreApplication>

#include "panel/form1.h"

namespace lq {

void ApplySerialStart(TForm1& form, const SerialStart& start) {
    if (start.rs485) form.Port().SetRtsControl(TRtsControl::RtsTransmissionAvailable);
    const auto number = [](const auto& value) {
        return value ? std::optional(QString::number(*value)) : std::nullopt;
    };
    form.ApplyLineSettings({start.port, number(start.baud), start.framing, number(start.address)},
                           QCoreApplication::translate("Journal", "命令行"));
    if (start.open) form.OpenPort();
    if (start.poll) form.SetPolling(true);
}

} // namespace lq
