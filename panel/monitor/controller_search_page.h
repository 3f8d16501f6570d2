#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <memory>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace lq {

class ControllerSearchRunner;
class TForm1;

// "搜索控制器": tries every baud rate, framing and address of the panel on its open port and lists where a
// controller gave a valid reply and how soon it answered, and apart from them where bytes came back without
// one. "应用" puts the chosen find into the panel's boxes.
class ControllerSearchPage final : public QWidget {
    Q_OBJECT
  public:
    explicit ControllerSearchPage(TForm1& form, QWidget* parent = nullptr);
    ~ControllerSearchPage() override;

    void StartSearch();
    void CancelSearch();
    // Puts the selected find (the first when none is selected) into the baud rate, framing and address boxes
    // and onto the open port.
    void ApplyFind();
    bool Searching() const;

    QCheckBox* AllAddressesBox() const { return allAddresses_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* ApplyButton() const { return apply_; }
    QProgressBar* ProgressBar() const { return progress_; }
    QLabel* StatusLabel() const { return status_; }
    QTableWidget* FoundTable() const { return found_; }
    QTableWidget* InvalidTable() const { return invalid_; }

  signals:
    void SearchEnded();

  private:
    QLayout* CreateControls();
    void ShowProgress(int done, int total);
    void ShowResults(bool completed);
    void SetSearching(bool searching);

    TForm1& form_;
    std::unique_ptr<ControllerSearchRunner> runner_;
    QCheckBox* allAddresses_;
    QPushButton* start_;
    QPushButton* cancel_;
    QPushButton* apply_;
    QProgressBar* progress_;
    QLabel* status_;
    QTableWidget* found_;
    QTableWidget* invalid_;
    QElapsedTimer took_;
};

} // namespace lq
