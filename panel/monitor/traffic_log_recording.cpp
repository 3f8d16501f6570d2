#include "panel/monitor/traffic_log_recording.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "monitor/traffic_log_writer.h"
#include "panel/form1.h"

namespace lq {

TrafficLogRecording::TrafficLogRecording(TForm1& form, const QString& path, ShowMessage showMessage)
    : form_(form), path_(path), showMessage_(std::move(showMessage)) {
    if (!showMessage_) {
        showMessage_ = [this](const QString& text) {
            auto* notice = new QMessageBox(QMessageBox::Warning, QStringLiteral("LQ_Modbus RTU"), text,
                                           QMessageBox::Ok, &form_);
            notice->setAttribute(Qt::WA_DeleteOnClose);
            notice->setWindowModality(Qt::NonModal);
            notice->show();
        };
    }
    writer_ = std::make_unique<TrafficLogWriter>(
        std::make_unique<AppendFile>(path.toStdString()),
        [this](const std::string& reason) { Failed(QString::fromStdString(reason)); });
    form_.Master().AddObserver(*writer_);
}

TrafficLogRecording::~TrafficLogRecording() {
    form_.Master().RemoveObserver(*writer_);
    if (stopped_ && !writer_->Stopped()) stopped_();
}

void TrafficLogRecording::OnStopped(std::function<void()> stopped) {
    stopped_ = std::move(stopped);
}

bool TrafficLogRecording::Stopped() const {
    return writer_->Stopped();
}

void TrafficLogRecording::Failed(const QString& reason) {
    if (stopped_) stopped_();
    showMessage_(
        QCoreApplication::translate("TrafficLogRecording",
                                    "通讯记录文件无法写入，记录已停止 (traffic log stopped)：\n%1\n%2")
            .arg(path_, reason));
}

} // namespace lq
