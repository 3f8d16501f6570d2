#pragma once

#include <memory>

#include "app/command_line.h"
#include "panel/monitor/monitor_tool.h"
#include "panel/monitor/traffic_log_recording.h"

namespace lq {

class TForm1;

// The communication monitor's place in the program: its entry in the tools menu (F12) always, the window
// opened at start with --monitor, and the traffic log of --traffic-log. Made after the panel is shown and
// destroyed before it.
class MonitorStartup {
  public:
    MonitorStartup(TForm1& form, const MonitorStart& start);

    MonitorTool& Entry() { return entry_; }
    // The traffic log of --traffic-log; null without one.
    TrafficLogRecording* Log() const { return log_.get(); }

  private:
    MonitorTool entry_;
    std::unique_ptr<TrafficLogRecording> log_;
};

} // namespace lq
