#include "panel/monitor/controller_search_page.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "monitor/traffic_line.h"
#include "panel/form1.h"
#include "panel/monitor/controller_search_runner.h"

namespace lq {

namespace {

constexpr std::uint8_t kUsualLastSlave = 10;
constexpr std::uint8_t kLastSlave = 247;

QString FramingText(Framing framing) {
    const std::string_view name = FramingName(framing);
    return QString::fromLatin1(name.data(), static_cast<int>(name.size()));
}

QTableWidget* MakeTable(QWidget* parent, const QStringList& headers) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void SetRow(QTableWidget* table, int row, const LineSetting& setting) {
    table->setItem(row, 0, new QTableWidgetItem(QString::number(setting.baud)));
    table->setItem(row, 1, new QTableWidgetItem(FramingText(setting.framing)));
    table->setItem(row, 2, new QTableWidgetItem(QString::number(setting.slave)));
}

QString SettingText(const LineSetting& setting) {
    return ControllerSearchPage::tr("%1 %2 从站 %3")
        .arg(setting.baud)
        .arg(FramingText(setting.framing))
        .arg(setting.slave);
}

long long ShownMilliseconds(std::chrono::microseconds time) {
    const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(time).count();
    // In tens from 100 ms on: the figure tells how slow the controller is, not how the scheduler jittered.
    return ms >= 100 ? (ms + 5) / 10 * 10 : ms;
}

QString AnswerText(const SearchFind& find) {
    const QString time = ControllerSearchPage::tr("约 %1 ms 应答").arg(ShownMilliseconds(find.answerTime));
    return find.late ? ControllerSearchPage::tr("%1，慢 (slow)").arg(time) : time;
}

// Why a slow controller was found at all, so that nobody goes looking for a wrong rate or parity.
QString SlowHint(const std::vector<SearchFind>& found) {
    const auto late =
        std::find_if(found.begin(), found.end(), [](const SearchFind& find) { return find.late; });
    if (late == found.end()) return {};
    return ControllerSearchPage::tr(
               "%1 约 %2 ms 才应答，晚于每次试的等待：是控制器应答慢，不是波特率或校验不对。")
        .arg(SettingText(late->setting))
        .arg(ShownMilliseconds(late->answerTime));
}

// One line where the window is wide enough, more on a laptop's screen at 150 % rather than a wider window.
QLabel* WrappingLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// What the panel does on the line once the search has given it back: "通讯" decides, not the search.
QString PollingText(bool polling) {
    return polling ? ControllerSearchPage::tr("轮询继续。")
                   : ControllerSearchPage::tr("“通讯”未勾选，不轮询 (polling off)。");
}

void SetInvalidRow(QTableWidget* table, int row, const DataButInvalid& invalid) {
    SetRow(table, row, invalid.setting);
    QString bytes = QString::fromStdString(HexText(invalid.bytes));
    if (invalid.count > invalid.bytes.size()) bytes += QStringLiteral(" …");
    table->setItem(
        row, 3, new QTableWidgetItem(ControllerSearchPage::tr("%1 字节：%2").arg(invalid.count).arg(bytes)));
}

} // namespace

ControllerSearchPage::ControllerSearchPage(TForm1& form, QWidget* parent)
    : QWidget(parent), form_(form), allAddresses_(new QCheckBox(tr("搜索全部地址 1–247（平常 1–10）"), this)),
      start_(new QPushButton(tr("搜索控制器"), this)), cancel_(new QPushButton(tr("取消"), this)),
      apply_(new QPushButton(tr("应用"), this)), progress_(new QProgressBar(this)), status_(new QLabel(this)),
      found_(MakeTable(this, {tr("波特率"), tr("格式"), tr("地址"), tr("应答 (answer)")})),
      invalid_(MakeTable(this, {tr("波特率"), tr("格式"), tr("地址"), tr("收到的字节")})) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(CreateControls());
    layout->addWidget(new QLabel(tr("找到的控制器（有效应答）"), this));
    layout->addWidget(found_, 2);
    auto* applyRow = new QHBoxLayout;
    applyRow->addWidget(WrappingLabel(tr("“应用”把选中的波特率、格式和地址填入面板"), this), 1);
    applyRow->addWidget(apply_);
    layout->addLayout(applyRow);
    layout->addWidget(
        WrappingLabel(tr("有数据但无效 (data but no valid reply)：多半是线路对而波特率或校验不对"), this));
    layout->addWidget(invalid_, 3);

    connect(start_, &QPushButton::clicked, this, &ControllerSearchPage::StartSearch);
    connect(cancel_, &QPushButton::clicked, this, &ControllerSearchPage::CancelSearch);
    connect(apply_, &QPushButton::clicked, this, &ControllerSearchPage::ApplyFind);
    SetSearching(false);
    apply_->setEnabled(false);
    status_->setText(tr("在打开的串口上依次试 4 种波特率 × 3 种格式 × 各个地址，每次读块 0。"));
}

ControllerSearchPage::~ControllerSearchPage() = default;

QLayout* ControllerSearchPage::CreateControls() {
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(allAddresses_, 1);
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    auto* controls = new QVBoxLayout;
    controls->addLayout(buttons);
    controls->addWidget(progress_);
    controls->addWidget(status_);
    status_->setWordWrap(true);
    return controls;
}

bool ControllerSearchPage::Searching() const {
    return runner_ && runner_->Running();
}

void ControllerSearchPage::SetSearching(bool searching) {
    start_->setEnabled(!searching);
    allAddresses_->setEnabled(!searching);
    cancel_->setEnabled(searching);
}

void ControllerSearchPage::StartSearch() {
    if (Searching()) return;
    runner_ = std::make_unique<ControllerSearchRunner>(form_, allAddresses_->isChecked() ? kLastSlave
                                                                                         : kUsualLastSlave);
    connect(runner_.get(), &ControllerSearchRunner::Progress, this, &ControllerSearchPage::ShowProgress);
    connect(runner_.get(), &ControllerSearchRunner::Finished, this, &ControllerSearchPage::ShowResults);
    found_->setRowCount(0);
    invalid_->setRowCount(0);
    apply_->setEnabled(false);
    if (!runner_->Start()) {
        // The bar would otherwise still show how far the last search got.
        progress_->reset();
        status_->setText(tr("请先打开串口 (port not open)。"));
        return;
    }
    took_.start();
    SetSearching(true);
}

void ControllerSearchPage::CancelSearch() {
    if (runner_) runner_->Cancel();
}

void ControllerSearchPage::ShowProgress(int done, int total) {
    progress_->setRange(0, total);
    progress_->setValue(done);
    const ControllerSearch& search = runner_->Search();
    if (!search.Finished())
        status_->setText(
            tr("正在搜索：%1（%2 / %3）").arg(SettingText(search.Current())).arg(done + 1).arg(total));
    for (int row = found_->rowCount(); row < static_cast<int>(search.Found().size()); ++row) {
        const SearchFind& find = search.Found()[static_cast<std::size_t>(row)];
        found_->insertRow(row);
        SetRow(found_, row, find.setting);
        found_->setItem(row, 3, new QTableWidgetItem(AnswerText(find)));
    }
    // The last row shown may have grown since: bytes that began in its try's window and ended after it.
    for (int row = std::max(invalid_->rowCount() - 1, 0); row < static_cast<int>(search.Invalid().size());
         ++row) {
        if (row >= invalid_->rowCount()) invalid_->insertRow(row);
        SetInvalidRow(invalid_, row, search.Invalid()[static_cast<std::size_t>(row)]);
    }
}

void ControllerSearchPage::ShowResults(bool completed) {
    SetSearching(false);
    const ControllerSearch& search = runner_->Search();
    const QString counts =
        tr("找到 %1 处，有数据但无效 %2 处").arg(search.Found().size()).arg(search.Invalid().size());
    const QString after = tr("用时 %1 s；串口已恢复原设置，%2")
                              .arg(took_.elapsed() / 1000.0, 0, 'f', 1)
                              .arg(PollingText(form_.Polling())) +
                          SlowHint(search.Found());
    if (completed) {
        status_->setText(tr("搜索完成，试了 %1 种设置：%2，%3").arg(search.TriesDone()).arg(counts, after));
    } else if (!form_.PortInUse()) {
        status_->setText(tr("串口已关闭，搜索中止：%1。").arg(counts));
    } else {
        status_->setText(tr("已取消（试了 %1 / %2）：%3，%4")
                             .arg(search.TriesDone())
                             .arg(search.TriesPlanned())
                             .arg(counts, after));
    }
    apply_->setEnabled(!search.Found().empty());
    if (!search.Found().empty() && found_->currentRow() < 0) found_->selectRow(0);
    emit SearchEnded();
}

void ControllerSearchPage::ApplyFind() {
    if (!runner_ || Searching() || runner_->Search().Found().empty()) return;
    const auto& found = runner_->Search().Found();
    const int row = found_->currentRow();
    const LineSetting& setting =
        found[row >= 0 && row < static_cast<int>(found.size()) ? static_cast<std::size_t>(row) : 0].setting;
    // Typed into the boxes as an operator would, framing before rate; then the framing goes onto the open
    // port at once (typed by hand it waits for the next open).
    TForm1::LineChoice choice;
    choice.baud = QString::number(setting.baud);
    choice.framing = FramingText(setting.framing);
    choice.address = QString::number(setting.slave);
    form_.ApplyLineSettings(choice, tr("控制器搜索"));
    form_.PutLineSettingsOnPort();
    status_->setText(tr("已应用：%1。").arg(SettingText(setting)));
}

} // namespace lq
