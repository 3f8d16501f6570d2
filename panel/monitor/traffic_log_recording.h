#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace lq {

class TForm1;
class TrafficLogWriter;

// "--traffic-log FILE": every frame, delivery and missing reply of the panel appended to FILE as it happens,
// one line each, whether the monitor window is open or not. A file that cannot be written stops the log and
// says why; the panel goes on. Destroy it before the panel, whose master it watches.
class TrafficLogRecording final {
  public:
    using ShowMessage = std::function<void(const QString& text)>;

    // showMessage: null for a notice beside the panel that does not stop it.
    TrafficLogRecording(TForm1& form, const QString& path, ShowMessage showMessage = nullptr);
    ~TrafficLogRecording();
    TrafficLogRecording(const TrafficLogRecording&) = delete;
    TrafficLogRecording& operator=(const TrafficLogRecording&) = delete;

    bool Stopped() const;
    const QString& Path() const { return path_; }
    // Told once when the log stops, by a failure or by its end; it must outlive the recording.
    void OnStopped(std::function<void()> stopped);

  private:
    void Failed(const QString& reason);

    TForm1& form_;
    QString path_;
    ShowMessage showMessage_;
    std::unique_ptr<TrafficLogWriter> writer_;
    std::function<void()> stopped_;
};

} // namespace lq
