#include "monitor/traffic_log_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "monitor/traffic_line.h"

namespace lq {

TrafficLogWriter::TrafficLogWriter(std::unique_ptr<ILineSink> sink, FailureReport failed)
    : sink_(std::move(sink)), failed_(std::move(failed)) {
    // A file that could not even be opened is reported at once, not at the first frame.
    if (sink_->Failed()) Report();
}

void TrafficLogWriter::AddRow(TrafficRow row) {
    if (reported_) return;
    if (!sink_->Append(FormatTrafficLine(row))) Report();
}

void TrafficLogWriter::Report() {
    reported_ = true;
    if (failed_) failed_(sink_->Error());
}

std::string SaveTrafficRows(const TrafficRows& rows, const std::string& path) {
    // Written beside the target and renamed over it, so a failure never leaves half a file under its name.
    const std::string temporary = path + ".part";
    std::remove(temporary.c_str());
    std::string error;
    {
        AppendFile file(temporary);
        if (!WriteTrafficRows(rows, file)) error = file.Error();
    }
    if (error.empty() && std::rename(temporary.c_str(), path.c_str()) != 0) error = std::strerror(errno);
    if (!error.empty()) std::remove(temporary.c_str());
    return error;
}

bool WriteTrafficRows(const TrafficRows& rows, ILineSink& sink) {
    for (const TrafficRow& row : rows)
        if (!sink.Append(FormatTrafficLine(row))) return false;
    return true;
}

} // namespace lq
