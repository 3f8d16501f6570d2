#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "panel/tool_window.h"
#include "trend/trend_series.h"

class QAction;

namespace lq {

class CsvRecording;
class TForm1;
class TrendWindow;

// The trend and the recording behind the "趋势" entry of the panel's tools menu (F11). The series listens to
// the master from the start and the recording goes on with the window closed, so the window shows what came
// before it was opened; the window lives as every tool window does (ToolWindow). A recording that cannot be
// written stops, says why in the window (opened for it), and the panel goes on.
class TrendTool final : public QObject {
    Q_OBJECT
  public:
    // Create after the panel and destroy before it: both listen to its master.
    explicit TrendTool(TForm1& form);
    ~TrendTool() override;

    // What the command line asked for: the window, a recording to a file, or neither.
    void Start(bool openWindow, const QString& recordPath);

    void OpenWindow();
    // False, with the reason shown, when the file cannot be opened.
    bool StartRecording(const QString& path);
    void StopRecording();
    bool Recording() const { return recording_ != nullptr; }

    const TrendSeries& Model() const { return model_; }
    TrendWindow* Window() const { return window_.Get(); }
    QAction* Action() const { return action_; }
    // Asks where to record when the record button is pressed; a dialog unless replaced.
    std::function<QString()> askRecordPath;

  signals:
    // A recording began, or ended (stopped or failed), to the file at path.
    void RecordingChanged(bool on, const QString& path);

  private:
    double Now();
    void RecordClicked(bool start);
    void RecordingFailed(const QString& path, const QString& reason);
    void ShowRecordingState();
    void ShowRecordingOn(TrendWindow& window) const;

    TForm1& form_;
    TrendSeries model_;
    std::unique_ptr<CsvRecording> recording_;
    ToolWindow<TrendWindow> window_;
    QAction* action_;
    QString lastMessage_;
    bool lastFailed_ = false;
    unsigned recordingId_ = 0; // tells a late failure report of an earlier recording from the present one
};

} // namespace lq
