#include "app/diagnostics_start.h"

namespace lq {

DiagnosticsStartup::DiagnosticsStartup(TForm1& form, const DiagnosticsStart& start) : entry_(form)
{
    if (!start.trafficLog.isEmpty()) log_ = std::make_unique<TrafficLogRecording>(form, start.trafficLog);
    if (start.monitor) entry_.Open();
}

} // namespace lq
