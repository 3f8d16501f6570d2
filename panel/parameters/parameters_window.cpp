#include "panel/parameters/parameters_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "modbus/register_labels.h"
#include "panel/form1.h"
#include "panel/parameters/parameter_texts.h"

namespace lq {

namespace {

constexpr std::chrono::milliseconds kStepTick{100};
const QColor kDifferenceColor(255, 220, 160);

enum Column { kRegister, kName, kController, kFile, kColumns };

QString ValueOrDash(int reg, const std::optional<std::uint16_t>& raw) {
    return raw ? ParameterTexts::Value(reg, *raw) : QStringLiteral("—");
}

} // namespace

ParametersWindow::ParametersWindow(TForm1& form, Questions questions, QWidget* parent)
    : QWidget(parent), form_(form), questions_(std::move(questions)) {
    setObjectName(QStringLiteral("ParametersWindow"));
    setWindowTitle(tr("控制器参数"));
    CreateLayout();
    tick_.setInterval(kStepTick);
    connect(&tick_, &QTimer::timeout, this, [this] { Step(); });
    ShowTable();
    ShowButtons();
    ShowStatus(tr("读取控制器的参数，或打开参数文件与控制器比较"));
}

ParametersWindow::~ParametersWindow() {
    if (reader_) form_.Master().RemoveObserver(*reader_);
    if (sequence_) form_.Master().RemoveObserver(*sequence_);
}

void ParametersWindow::CreateLayout() {
    read_ = new QPushButton(tr("读取"), this);
    saveAs_ = new QPushButton(tr("另存为…"), this);
    open_ = new QPushButton(tr("打开并比较…"), this);
    restore_ = new QPushButton(tr("恢复…"), this);
    cancel_ = new QPushButton(tr("取消"), this);
    label_ = new QLineEdit(this);
    label_->setPlaceholderText(tr("保存时写入文件的说明，如炉号"));
    fileText_ = new QLabel(this);
    table_ = new QTableWidget(static_cast<int>(Parameters().size()), kColumns, this);
    table_->setHorizontalHeaderLabels({tr("寄存器"), tr("名称"), tr("控制器"), tr("文件")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    progress_ = new QProgressBar(this);
    status_ = new QLabel(this);
    status_->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {read_, saveAs_, open_, restore_, cancel_})
        buttons->addWidget(button);
    auto* labelRow = new QHBoxLayout;
    labelRow->addWidget(new QLabel(tr("标签 (label)："), this));
    labelRow->addWidget(label_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(labelRow);
    layout->addWidget(fileText_);
    layout->addWidget(table_);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    resize(560, 420);

    connect(read_, &QPushButton::clicked, this, [this] { Read(); });
    connect(saveAs_, &QPushButton::clicked, this, [this] { SaveAs(); });
    connect(open_, &QPushButton::clicked, this, [this] { OpenAndCompare(); });
    connect(restore_, &QPushButton::clicked, this, [this] { Restore(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { Cancel(); });
}

void ParametersWindow::Read() {
    StartRead(AfterRead::Show);
}

void ParametersWindow::StartRead(AfterRead after) {
    if (Busy()) return;
    afterRead_ = after;
    reader_ = std::make_unique<ParameterReader>(form_.Master(), clock_);
    form_.Master().AddObserver(*reader_);
    reader_->Start();
    tick_.start();
    ShowButtons();
    ShowStatus(tr("正在读取控制器的参数…"));
}

void ParametersWindow::Step() {
    if (reader_ && reader_->Outcome() == ReadOutcome::Reading) reader_->Tick();
    if (reader_ && reader_->Outcome() != ReadOutcome::Reading) ReadEnded();
    if (sequence_) {
        sequence_->Tick();
        RestoreChanged();
    }
    if (!Busy()) tick_.stop();
}

void ParametersWindow::ReadEnded() {
    form_.Master().RemoveObserver(*reader_);
    const ReadOutcome outcome = reader_->Outcome();
    if (outcome == ReadOutcome::Done) controller_ = reader_->Values();
    reader_.reset();
    ShowButtons();
    if (outcome != ReadOutcome::Done) {
        ShowStatus(ParameterTexts::ReadFailed(outcome), true);
        return;
    }
    ShowTable();
    const std::size_t differences = PlannedWrites().size();
    if (afterRead_ == AfterRead::Restore) {
        StartRestore();
    } else if (file_ && file_->set) {
        ShowStatus(differences == 0 ? tr("控制器与文件一致")
                                    : tr("控制器与文件有 %1 处不同（已标出）").arg(differences));
    } else {
        ShowStatus(tr("已读取控制器的参数"));
    }
}

void ParametersWindow::SaveAs() {
    if (!controller_ || Busy()) return;
    const QString path = questions_.savePath ? questions_.savePath() : QString();
    if (path.isEmpty()) return;
    const TForm1::LineChoice line = form_.ShownLine();
    const ParameterFileHeader header{SavedNow().toStdString(),
                                     line.port.value_or(QString()).toStdString(),
                                     line.baud.value_or(QString()).toUInt(),
                                     line.framing.value_or(QString()).toStdString(),
                                     line.address.value_or(QString()).toInt(),
                                     label_->text().toStdString()};
    const QString error = SaveParameterFile(path, header, *controller_);
    if (!error.isEmpty()) {
        ShowStatus(error, true);
        return;
    }
    ShowStatus(tr("已保存到 %1").arg(path));
}

void ParametersWindow::OpenAndCompare() {
    if (Busy()) return;
    const QString path = questions_.openPath ? questions_.openPath() : QString();
    if (path.isEmpty()) return;
    LoadedParameters loaded = LoadParameterFile(path);
    if (!loaded.set) {
        file_.reset();
        ShowTable();
        ShowButtons();
        ShowStatus(loaded.error, true);
        return;
    }
    filePath_ = path;
    file_ = std::move(loaded);
    ShowTable();
    StartRead(AfterRead::Compare);
}

void ParametersWindow::Restore() {
    if (!file_ || !file_->set || Busy()) return;
    // The list shows what the controller holds now, not at the comparison.
    StartRead(AfterRead::Restore);
}

void ParametersWindow::StartRestore() {
    const std::vector<PlannedWrite> writes = PlannedWrites();
    if (writes.empty()) {
        ShowStatus(tr("控制器与文件一致，无需写入"));
        return;
    }
    if (!questions_.confirm || !questions_.confirm(writes)) {
        ShowStatus(tr("未写入任何值"));
        return;
    }
    alreadyEqual_ = CompareParameters(*controller_, *file_->set).size() - writes.size();
    sequence_ = std::make_unique<RestoreSequence>(
        writes, form_.Master().Registers(), clock_,
        [this](std::uint8_t reg, std::int32_t value) { return form_.WriteSetting(reg, value); });
    form_.Master().AddObserver(*sequence_);
    progress_->setRange(0, static_cast<int>(writes.size()));
    progress_->setValue(0);
    tick_.start();
    ShowButtons();
    sequence_->Confirm();
    RestoreChanged();
}

void ParametersWindow::RestoreChanged() {
    if (!sequence_) return;
    progress_->setValue(static_cast<int>(sequence_->Completed()));
    if (!sequence_->Finished()) {
        ShowStatus(tr("正在恢复：%1 / %2").arg(sequence_->Completed()).arg(sequence_->Steps().size()));
        return;
    }
    form_.Master().RemoveObserver(*sequence_);
    // What the read-backs found is what the controller holds now, beside the file.
    for (const RestoreStep& step : sequence_->Steps())
        if (step.readBack) (*controller_)[step.write.reg] = *step.readBack;
    const bool failed = sequence_->Current() == RestoreSequence::State::Failed;
    ShowStatus(ParameterTexts::Summary(*sequence_, alreadyEqual_), failed);
    sequence_.reset();
    ShowTable();
    ShowButtons();
}

void ParametersWindow::Cancel() {
    if (sequence_) {
        sequence_->Cancel();
        RestoreChanged();
    }
}

std::vector<PlannedWrite> ParametersWindow::PlannedWrites() const {
    if (!controller_ || !file_ || !file_->set) return {};
    return WritesToRestore(CompareParameters(*controller_, *file_->set));
}

void ParametersWindow::ShowTable() {
    const ParameterSet none;
    const auto rows = CompareParameters(controller_.value_or(none), file_ && file_->set ? *file_->set : none);
    int row = 0;
    for (const ParameterInfo& info : Parameters()) {
        const auto found =
            std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.reg == info.reg; });
        const ParameterComparison shown =
            found != rows.end() ? *found : ParameterComparison{info.reg, {}, {}};
        const QString cells[kColumns] = {
            QString::number(info.reg), QString::fromStdString(ShownCaption(info.name)),
            ValueOrDash(info.reg, shown.controller), ValueOrDash(info.reg, shown.file)};
        for (int column = 0; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (shown.Differs()) item->setBackground(kDifferenceColor);
            QFont font = item->font();
            font.setBold(shown.Differs());
            item->setFont(font);
            table_->setItem(row, column, item);
        }
        ++row;
    }
    ShowFile();
}

void ParametersWindow::ShowFile() {
    if (!file_ || !file_->set) {
        fileText_->setText(tr("文件：未打开"));
        fileText_->setToolTip({});
        return;
    }
    const ParameterFileHeader& header = file_->header;
    const QString label =
        header.label.empty() ? QString() : tr("，标签 %1").arg(QString::fromStdString(header.label));
    fileText_->setText(
        tr("文件：%1（保存于 %2%3）")
            .arg(QFileInfo(filePath_).fileName(), QString::fromStdString(header.saved), label));
    fileText_->setToolTip(filePath_);
}

void ParametersWindow::ShowStatus(const QString& text, bool failed) {
    status_->setText(text);
    status_->setStyleSheet(failed ? QStringLiteral("color: red;") : QString());
}

QString ParametersWindow::StatusText() const {
    return status_->text();
}

void ParametersWindow::ShowButtons() {
    const bool busy = Busy();
    read_->setEnabled(!busy);
    saveAs_->setEnabled(!busy && controller_.has_value());
    open_->setEnabled(!busy);
    restore_->setEnabled(!busy && file_ && file_->set);
    cancel_->setEnabled(sequence_ != nullptr);
}

} // namespace lq
