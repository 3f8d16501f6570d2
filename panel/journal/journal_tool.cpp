#include "panel/journal/journal_tool.h"

#include <QAction>
#include <QFileDialog>
#include <chrono>

#include "journal/journal_events.h"
#include "panel/form1.h"
#include "panel/journal/journal_window.h"
#include "panel/journal/journal_wording_zh.h"
#include "panel/monitor/traffic_log_recording.h"
#include "panel/tools_menu.h"
#include "panel/trend/trend_tool.h"

namespace lq {

namespace {

// What was typed into the boxes is taken as meant once no key has come for this long.
constexpr std::chrono::milliseconds kTypingRest{1500};

std::chrono::system_clock::time_point Now() {
    return std::chrono::system_clock::now();
}

} // namespace

JournalTool::JournalTool(TForm1& form)
    : form_(form), journal_(form.Master().Registers(), PanelJournalWording()),
      action_(new QAction(tr("报警与事件…"), this)), baseTitle_(form.windowTitle()) {
    action_->setObjectName(QStringLiteral("openJournal"));
    action_->setShortcut(Qt::Key_F9);
    connect(action_, &QAction::triggered, this, &JournalTool::OpenWindow);
    form_.Tools().Add(action_);
    journal_.onEntry = [this](const JournalEntry&) { Changed(); };
    journal_.onFileFailed = [this](const std::string& path, const std::string& reason) {
        FileFailed(path, reason);
    };
    form_.Master().AddObserver(journal_.Link());
    connect(&form_, &TForm1::PortOpened, this, [this](const QString& name) {
        Add(PortOpenedEntry(journal_.Wording(), name.toStdString(), Now()));
    });
    connect(&form_, &TForm1::PortClosed, this, [this](const QString& name) {
        journal_.Link().PortClosed();
        Add(PortClosedEntry(journal_.Wording(), name.toStdString(), Now()));
    });
    connect(&form_, &TForm1::PortLost, this, [this](const QString& name, const QString& path) {
        journal_.Link().PortClosed();
        const QString reason = tr("设备已断开 (hangup)：%1").arg(path);
        Add(PortLostEntry(journal_.Wording(), name.toStdString(), reason.toStdString(), Now()));
    });
    connect(&form_, &TForm1::LineSettingsApplied, this, &JournalTool::SettingsApplied);
    typing_.setSingleShot(true);
    typing_.setInterval(kTypingRest);
    connect(&typing_, &QTimer::timeout, this, [this] { RecordSettings(tr("输入框")); });
    askFolder = [this] {
        return QFileDialog::getExistingDirectory(window_.Get(), tr("日志文件夹"), QString());
    };
    ShowFileState();
}

JournalTool::~JournalTool() {
    form_.Master().RemoveObserver(journal_.Link());
}

void JournalTool::Start(bool openWindow, const QString& folder) {
    if (!folder.isEmpty()) WriteTo(folder);
    if (openWindow) OpenWindow();
}

void JournalTool::OpenWindow() {
    window_.Open([this] {
        auto* window = new JournalWindow(journal_, &form_);
        connect(window, &JournalWindow::AcknowledgeClicked, this, &JournalTool::Acknowledge);
        connect(window, &JournalWindow::AcknowledgeAllClicked, this, &JournalTool::AcknowledgeAll);
        connect(window, &JournalWindow::ChooseFolderClicked, this, &JournalTool::ChooseFolder);
        window->ShowFileState(fileMessage_, fileFailed_);
        return window;
    });
}

void JournalTool::WriteTo(const QString& folder) {
    journal_.WriteTo(folder.toStdString());
    fileFailed_ = false;
    ShowFileState();
}

void JournalTool::Watch(TrendTool& trend) {
    connect(&trend, &TrendTool::RecordingChanged, this, [this](bool on, const QString& path) {
        const QString what = tr("趋势 CSV：%1").arg(path);
        Add(RecordingEntry(journal_.Wording(), on, what.toStdString(), Now()));
    });
}

void JournalTool::Watch(TrafficLogRecording& log) {
    const std::string what = tr("通讯记录 (traffic log)：%1").arg(log.Path()).toStdString();
    if (log.Stopped()) return;
    Add(RecordingEntry(journal_.Wording(), true, what, Now()));
    log.OnStopped([this, what] { Add(RecordingEntry(journal_.Wording(), false, what, Now())); });
}

void JournalTool::Acknowledge(int bit) {
    journal_.Acknowledge(bit, Now());
}

void JournalTool::AcknowledgeAll() {
    journal_.AcknowledgeAll(Now());
}

void JournalTool::Add(JournalEntry entry) {
    journal_.Add(std::move(entry));
}

void JournalTool::Changed() {
    ShowAlarmNotice();
    if (JournalWindow* window = window_.Get()) window->Refresh();
}

void JournalTool::ShowAlarmNotice() {
    const int waiting = journal_.Alarms().Unacknowledged();
    const QString title =
        waiting == 0 ? baseTitle_ : baseTitle_ + tr(" — 未确认报警 %1 (ALARM)").arg(waiting);
    if (form_.windowTitle() != title) form_.setWindowTitle(title);
}

void JournalTool::ShowFileState() {
    const JournalFiles* files = journal_.Files();
    if (!fileFailed_)
        fileMessage_ = files == nullptr ? tr("不保存日志文件 (--no-journal)")
                                        : tr("日志文件夹：%1").arg(QString::fromStdString(files->Folder()));
    if (JournalWindow* window = window_.Get()) window->ShowFileState(fileMessage_, fileFailed_);
}

void JournalTool::FileFailed(const std::string& path, const std::string& reason) {
    fileFailed_ = true;
    fileMessage_ =
        tr("日志文件无法写入：%1（%2）。报警与事件照常记录在本窗口中，次日或选择其他文件夹后恢复写入。")
            .arg(QString::fromStdString(path), QString::fromStdString(reason));
    OpenWindow();
    ShowFileState();
}

void JournalTool::SettingsApplied(const QString& by) {
    if (by.isEmpty()) {
        typing_.start();
        return;
    }
    typing_.stop();
    RecordSettings(by);
}

void JournalTool::RecordSettings(const QString& by) {
    const TForm1::LineChoice shown = form_.ShownLine();
    const QString text = tr("%1 %2 bit/s %3 地址 %4")
                             .arg(shown.port.value_or(QString()), shown.baud.value_or(QString()),
                                  shown.framing.value_or(QString()), shown.address.value_or(QString()));
    if (text == lastSettings_) return;
    lastSettings_ = text;
    Add(SettingsEntry(journal_.Wording(), shown.port.value_or(QString()).toStdString(), text.toStdString(),
                      by.toStdString(), Now()));
}

void JournalTool::ChooseFolder() {
    const QString folder = askFolder ? askFolder() : QString();
    if (!folder.isEmpty()) WriteTo(folder);
}

} // namespace lq
