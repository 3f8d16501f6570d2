#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace lq {

class AlarmTableModel;
class Journal;
class JournalFilterModel;
class JournalTableModel;

// "报警与事件": the alarms not back to normal on top, with their acknowledge buttons, the history below with
// its filters, and where the journal is written. It only shows the journal and passes on the operator's
// clicks; its tool does the rest.
class JournalWindow final : public QWidget {
    Q_OBJECT
  public:
    JournalWindow(const Journal& journal, QWidget* parent);

    // Brings the tables up to the journal.
    void Refresh();
    void ShowFileState(const QString& text, bool failed);

    AlarmTableModel& Alarms() { return *alarms_; }
    JournalTableModel& History() { return *history_; }
    JournalFilterModel& Filter() { return *filter_; }
    QTableView* AlarmView() const { return alarmView_; }
    QTableView* HistoryView() const { return historyView_; }
    QComboBox* KindBox() const { return kindBox_; }
    QLineEdit* TextFilter() const { return textFilter_; }
    QPushButton* AcknowledgeButton() const { return acknowledge_; }
    QPushButton* AcknowledgeAllButton() const { return acknowledgeAll_; }
    QLabel* FileState() const { return fileState_; }

  signals:
    void AcknowledgeClicked(int bit);
    void AcknowledgeAllClicked();
    void ChooseFolderClicked();

  private:
    QWidget* MakeAlarmPart();
    QWidget* MakeHistoryPart();
    QWidget* MakeFilePart();
    void AcknowledgeSelected();

    AlarmTableModel* alarms_;
    JournalTableModel* history_;
    JournalFilterModel* filter_;
    QTableView* alarmView_ = nullptr;
    QTableView* historyView_ = nullptr;
    QComboBox* kindBox_ = nullptr;
    QLineEdit* textFilter_ = nullptr;
    QPushButton* acknowledge_ = nullptr;
    QPushButton* acknowledgeAll_ = nullptr;
    QLabel* fileState_ = nullptr;
};

} // namespace lq
