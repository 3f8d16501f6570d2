#pragma once

#include <functional>
#include <memory>
#include <string>

#include "monitor/traffic_row.h"
#include "monitor/traffic_rows.h"
#include "recording/append_file.h"

namespace lq {

// Writes every row of the traffic record to a line sink as it happens, one line each. The first failure
// stops it for good: `failed` is told the reason once and nothing more is formatted or written.
class TrafficLogWriter final : public TrafficObserver {
  public:
    using FailureReport = std::function<void(const std::string& reason)>;

    TrafficLogWriter(std::unique_ptr<ILineSink> sink, FailureReport failed);

    bool Stopped() const { return sink_->Failed(); }
    const std::string& Error() const { return sink_->Error(); }

  protected:
    void AddRow(TrafficRow row) override;

  private:
    void Report();

    std::unique_ptr<ILineSink> sink_;
    FailureReport failed_;
    bool reported_ = false;
};

// Writes the rows to the sink, oldest first; false at the first line that could not be written.
bool WriteTrafficRows(const TrafficRows& rows, ILineSink& sink);

// Saves the rows as a new file at path, replacing what was there only once every line is written. Empty
// when it worked, else the reason.
std::string SaveTrafficRows(const TrafficRows& rows, const std::string& path);

} // namespace lq
