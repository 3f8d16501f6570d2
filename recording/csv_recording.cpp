#include "recording/csv_recording.h"

#include "modbus/local_time_text.h"

namespace lq {

CsvRecording::CsvRecording(std::string path, const RegisterImage& registers, CsvRecorder::TimeText timeText)
    : file_(std::move(path)), recorder_(file_, registers, std::move(timeText)) {
    if (file_.HeldNoLine()) recorder_.WriteHeader();
}

CsvRecorder::TimeText CsvRecording::DefaultTimeText() {
    return IsoTimeText;
}

} // namespace lq
