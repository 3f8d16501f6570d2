#pragma once

#include <QWidget>
#include <functional>

class QCheckBox;
class QPushButton;
class QTableView;

namespace lq {

class TrafficFilterModel;
class TrafficTableModel;

// The traffic record in a table with its controls: pause, clear, errors only, follow the newest row, save.
class TrafficPage final : public QWidget {
    Q_OBJECT
  public:
    explicit TrafficPage(TrafficTableModel& model, QWidget* parent = nullptr);

    // Writes every row held to a new file at path; empty when it worked, else the reason.
    QString SaveTo(const QString& path) const;

    TrafficTableModel& Model() { return model_; }
    TrafficFilterModel& Filter() { return *filter_; }
    QTableView* View() const { return view_; }
    QCheckBox* PauseBox() const { return pause_; }
    QCheckBox* FaultsOnlyBox() const { return faultsOnly_; }
    QCheckBox* FollowBox() const { return follow_; }
    QPushButton* ClearButton() const { return clear_; }

  private:
    void CreateView();
    void AskAndSave();
    void FollowNewest();
    void ShowScrollBarUnlessFollowing();

    TrafficTableModel& model_;
    TrafficFilterModel* filter_;
    QTableView* view_ = nullptr;
    QCheckBox* pause_;
    QCheckBox* faultsOnly_;
    QCheckBox* follow_;
    QPushButton* clear_;
    QPushButton* save_;
};

} // namespace lq
