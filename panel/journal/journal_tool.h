#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "journal/journal.h"
#include "panel/tool_window.h"

class QAction;

namespace lq {

class JournalWindow;
class TForm1;
class TrafficLogRecording;
class TrendTool;

// The alarm and event journal behind "报警与事件…" (F9) in the panel's tools menu. It listens to the master
// and to the panel from its creation, whether its window is open or not, so nothing is missed; an alarm not
// yet acknowledged shows in the panel's title. Files are kept only once Start() or WriteTo() names a folder;
// a file that cannot be written says so once in the window (opened for it), and the journal goes on.
class JournalTool final : public QObject {
    Q_OBJECT
  public:
    // Create after the panel and destroy before it.
    explicit JournalTool(TForm1& form);
    ~JournalTool() override;

    // What the command line asked for: the window, and the folder of the day files (empty: none).
    void Start(bool openWindow, const QString& folder);
    void OpenWindow();
    void WriteTo(const QString& folder);
    // Recordings of the trend and the traffic log started and stopped go into the journal.
    void Watch(TrendTool& trend);
    void Watch(TrafficLogRecording& log);

    void Acknowledge(int bit);
    void AcknowledgeAll();

    const Journal& Log() const { return journal_; }
    JournalWindow* Window() const { return window_.Get(); }
    QAction* Action() const { return action_; }
    // Asks for another folder when the operator wants one; a dialog unless replaced.
    std::function<QString()> askFolder;

  private:
    void Add(JournalEntry entry);
    void Changed();
    void ShowAlarmNotice();
    void ShowFileState();
    void FileFailed(const std::string& path, const std::string& reason);
    void SettingsApplied(const QString& by);
    void RecordSettings(const QString& by);
    void ChooseFolder();

    TForm1& form_;
    Journal journal_;
    ToolWindow<JournalWindow> window_;
    QAction* action_;
    QString baseTitle_;
    QTimer typing_; // the boxes change at each keystroke: what was typed is recorded once it rests
    QString lastSettings_;
    QString fileMessage_;
    bool fileFailed_ = false;
};

} // namespace lq
