#include "panel/trend/trend_tool.h"

#include <QAction>
#include <QDateTime>
#include <QFileDialog>

#include "panel/form1.h"
#include "panel/tools_menu.h"
#include "panel/trend/trend_window.h"
#include "recording/csv_recording.h"

namespace lq {

TrendTool::TrendTool(TForm1& form)
    : form_(form), model_(form.Master().Registers()), action_(new QAction(tr("趋势"), this)) {
    action_->setShortcut(Qt::Key_F11);
    form_.Tools().Add(action_);
    connect(action_, &QAction::triggered, this, [this] { OpenWindow(); });
    form_.Master().AddObserver(model_);
    connect(&form_, &TForm1::PortClosed, this, [this] { model_.PortClosed(); });
    connect(&form_, &TForm1::PortLost, this, [this] { model_.PortClosed(); });
    askRecordPath = [this] {
        const QString name =
            QStringLiteral("pw5-%1.csv")
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
        return QFileDialog::getSaveFileName(window_.Get(), tr("记录到 CSV"), name, tr("CSV (*.csv)"), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
}

TrendTool::~TrendTool() {
    StopRecording();
    form_.Master().RemoveObserver(model_);
}

void TrendTool::Start(bool openWindow, const QString& recordPath) {
    if (!recordPath.isEmpty()) StartRecording(recordPath);
    if (openWindow) OpenWindow();
}

double TrendTool::Now() {
    return model_.ChartTime({std::chrono::steady_clock::now(), std::chrono::system_clock::now()});
}

void TrendTool::OpenWindow() {
    window_.Open([this] {
        auto* window = new TrendWindow(model_, [this] { return Now(); });
        connect(window, &TrendWindow::RecordClicked, this, &TrendTool::RecordClicked);
        ShowRecordingOn(*window);
        return window;
    });
}

void TrendTool::RecordClicked(bool start) {
    if (!start) {
        StopRecording();
        return;
    }
    const QString path = askRecordPath ? askRecordPath() : QString();
    if (path.isEmpty() || !StartRecording(path)) ShowRecordingState();
}

bool TrendTool::StartRecording(const QString& path) {
    StopRecording();
    auto recording = std::make_unique<CsvRecording>(path.toStdString(), form_.Master().Registers());
    if (recording->Stopped()) {
        RecordingFailed(path, QString::fromStdString(recording->Error()));
        return false;
    }
    const unsigned id = ++recordingId_;
    recording->Recorder().onStopped = [this, path, id](const std::string& reason) {
        // Told from inside the master's report: the recorder is let go once the report is over.
        QMetaObject::invokeMethod(
            this,
            [this, path, id, reason] {
                if (id == recordingId_ && recording_) RecordingFailed(path, QString::fromStdString(reason));
            },
            Qt::QueuedConnection);
    };
    recording_ = std::move(recording);
    form_.Master().AddObserver(recording_->Recorder());
    lastMessage_ = tr("记录到 %1").arg(path);
    lastFailed_ = false;
    ShowRecordingState();
    emit RecordingChanged(true, path);
    return true;
}

void TrendTool::StopRecording() {
    if (!recording_) return;
    form_.Master().RemoveObserver(recording_->Recorder());
    const QString path = QString::fromStdString(recording_->Path());
    recording_.reset();
    lastMessage_ = tr("已记录到 %1").arg(path);
    lastFailed_ = false;
    ShowRecordingState();
    emit RecordingChanged(false, path);
}

void TrendTool::RecordingFailed(const QString& path, const QString& reason) {
    if (recording_) {
        form_.Master().RemoveObserver(recording_->Recorder());
        recording_.reset();
        emit RecordingChanged(false, path);
    }
    lastMessage_ = tr("记录停止：无法写入 %1（%2）").arg(path, reason);
    lastFailed_ = true;
    OpenWindow();
    ShowRecordingState();
}

void TrendTool::ShowRecordingState() {
    if (TrendWindow* window = window_.Get()) ShowRecordingOn(*window);
}

void TrendTool::ShowRecordingOn(TrendWindow& window) const {
    window.ShowRecording(recording_ != nullptr, lastMessage_, lastFailed_);
}

} // namespace lq
