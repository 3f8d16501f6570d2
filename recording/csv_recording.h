#pragma once

#include <memory>
#include <string>

#include "recording/append_file.h"
#include "recording/csv_recorder.h"

namespace lq {

class RegisterImage;

// One recording to one file: the file opened for appending, a header where the file holds no whole line yet
// (empty, a byte-order mark alone, or a cut-off line), and the recorder that writes into it. Whoever owns it
// registers Recorder() with the master.
class CsvRecording {
  public:
    CsvRecording(std::string path, const RegisterImage& registers,
                 CsvRecorder::TimeText timeText = DefaultTimeText());

    CsvRecorder& Recorder() { return recorder_; }
    const std::string& Path() const { return file_.Path(); }
    // True once the file could not be opened or a line could not be written.
    bool Stopped() const { return recorder_.Stopped(); }
    const std::string& Error() const { return file_.Error(); }

    static CsvRecorder::TimeText DefaultTimeText();

  private:
    AppendFile file_;
    CsvRecorder recorder_;
};

} // namespace lq
