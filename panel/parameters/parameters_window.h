#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "modbus/master_ports.h"
#include "panel/parameters/parameter_file.h"
#include "parameters/parameter_diff.h"
#include "parameters/parameter_reader.h"
#include "parameters/restore_sequence.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace lq {

class TForm1;

// "控制器参数": reads the controller's seven parameters, saves them as a file, compares them with a file
// (differences highlighted) and restores a file's values after the operator has confirmed the list of
// writes. Each write is an operator's command through the main window, read back and checked.
class ParametersWindow final : public QWidget {
    Q_OBJECT
  public:
    // Where the window asks the operator; dialogs unless a test or a screenshot replaces them.
    struct Questions {
        std::function<QString()> savePath;
        std::function<QString()> openPath;
        std::function<bool(const std::vector<PlannedWrite>&)> confirm;
    };

    ParametersWindow(TForm1& form, Questions questions, QWidget* parent = nullptr);
    ~ParametersWindow() override;

    void Read();
    void SaveAs();
    void OpenAndCompare();
    void Restore();
    void Cancel();

    // For tests and screenshots: what the status line says, and whether a read or restore is under way.
    QString StatusText() const;
    bool Busy() const { return reader_ != nullptr || sequence_ != nullptr; }
    QTableWidget* Table() const { return table_; }

  private:
    enum class AfterRead : std::uint8_t { Show, Compare, Restore };

    void CreateLayout();
    void StartRead(AfterRead after);
    void Step();
    void ReadEnded();
    void StartRestore();
    void RestoreChanged();
    void ShowTable();
    void ShowFile();
    void ShowStatus(const QString& text, bool failed = false);
    void ShowButtons();
    std::vector<PlannedWrite> PlannedWrites() const;

    TForm1& form_;
    Questions questions_;
    SystemClock clock_;
    std::optional<ParameterSet> controller_;
    std::optional<LoadedParameters> file_;
    QString filePath_;
    std::unique_ptr<ParameterReader> reader_;
    AfterRead afterRead_ = AfterRead::Show;
    std::unique_ptr<RestoreSequence> sequence_;
    std::size_t alreadyEqual_ = 0;
    QTimer tick_;

    QPushButton* read_ = nullptr;
    QPushButton* saveAs_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* restore_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLineEdit* label_ = nullptr; // what a save writes as the file's "label"
    QLabel* fileText_ = nullptr;
    QTableWidget* table_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace lq
