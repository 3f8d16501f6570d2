#include "app/monitor_start.h"

namespace lq {

MonitorStartup::MonitorStartup(TForm1& form, const MonitorStart& start) : entry_(form) {
    if (!start.trafficLog.isEmpty()) log_ = std::make_unique<TrafficLogRecording>(form, start.trafficLog);
    if (start.open) entry_.Open();
}

} // namespace lq
