#include "panel/monitor/traffic_page.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "modbus/frame_meaning.h"
#include "monitor/traffic_log_writer.h"
#include "panel/monitor/traffic_cell_delegate.h"
#include "panel/monitor/traffic_filter_model.h"
#include "panel/monitor/traffic_table_model.h"
#include "panel/monitor/traffic_table_view.h"

namespace lq {

namespace {

// One of the longest meanings a row shows often: a refused read.
QString WideMeaningSample() {
    const Delivery refused{{}, DeliveryVerdict::ReadRefused, 0, 0x02, std::nullopt, {}};
    return QString::fromStdString(DescribeDelivery(refused));
}

} // namespace

TrafficPage::TrafficPage(TrafficTableModel& model, QWidget* parent)
    : QWidget(parent), model_(model), filter_(new TrafficFilterModel(this)),
      pause_(new QCheckBox(tr("暂停"), this)), faultsOnly_(new QCheckBox(tr("只看错误"), this)),
      follow_(new QCheckBox(tr("跟随最新"), this)), clear_(new QPushButton(tr("清除"), this)),
      save_(new QPushButton(tr("保存…"), this)) {
    filter_->setSourceModel(&model_);
    follow_->setChecked(true);
    CreateView();
    ShowScrollBarUnlessFollowing();

    auto* controls = new QHBoxLayout;
    for (QWidget* control :
         {static_cast<QWidget*>(pause_), static_cast<QWidget*>(faultsOnly_), static_cast<QWidget*>(follow_)})
        controls->addWidget(control);
    controls->addStretch(1);
    controls->addWidget(clear_);
    controls->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(controls);
    layout->addWidget(view_, 1);

    connect(pause_, &QCheckBox::toggled, this, [this](bool on) { model_.SetPaused(on); });
    connect(faultsOnly_, &QCheckBox::toggled, this, [this](bool on) {
        filter_->SetFaultsOnly(on);
        FollowNewest();
    });
    connect(follow_, &QCheckBox::toggled, this, [this] {
        ShowScrollBarUnlessFollowing();
        FollowNewest();
    });
    connect(clear_, &QPushButton::clicked, this, [this] { model_.Clear(); });
    connect(save_, &QPushButton::clicked, this, &TrafficPage::AskAndSave);
    connect(filter_, &QAbstractItemModel::rowsInserted, this, &TrafficPage::FollowNewest);
}

void TrafficPage::CreateView() {
    view_ = new TrafficTableView(this);
    view_->setModel(filter_);
    view_->setItemDelegate(new TrafficCellDelegate(view_));
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setWordWrap(false);
    // Rows are told apart by their own background; a grid costs more to draw than the cells.
    view_->setShowGrid(false);
    view_->setTextElideMode(Qt::ElideRight);
    view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Fixed row heights: with ten thousand rows nothing is measured row by row.
    QHeaderView* rows = view_->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    rows->hide();
    QHeaderView* columns = view_->horizontalHeader();
    const QFontMetrics metrics = view_->fontMetrics();
    // Wide enough for the column's heading and for the sample of what it shows, in either language.
    const auto width = [&](TrafficTableModel::Column column, const QString& sample) {
        const QString heading = model_.headerData(column, Qt::Horizontal).toString();
        return std::max(metrics.horizontalAdvance(sample), metrics.horizontalAdvance(heading)) + 16;
    };
    columns->resizeSection(TrafficTableModel::TimeColumn,
                           width(TrafficTableModel::TimeColumn, QStringLiteral("00:00:00.000")));
    columns->resizeSection(TrafficTableModel::DirectionColumn, width(TrafficTableModel::DirectionColumn, {}));
    columns->resizeSection(TrafficTableModel::MeaningColumn,
                           width(TrafficTableModel::MeaningColumn, WideMeaningSample()));
    for (const auto column : {TrafficTableModel::AnswerTimeColumn, TrafficTableModel::RoundTripColumn})
        columns->resizeSection(column, width(column, QStringLiteral("1000.0 ms")));
    columns->setStretchLastSection(true);
}

void TrafficPage::FollowNewest() {
    if (follow_->isChecked()) view_->scrollToBottom();
}

void TrafficPage::ShowScrollBarUnlessFollowing() {
    // While following, the view always shows the newest rows, and a scroll bar redrawn at every new batch
    // would cost about as much as the rows themselves.
    view_->setVerticalScrollBarPolicy(follow_->isChecked() ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

QString TrafficPage::SaveTo(const QString& path) const {
    return QString::fromStdString(SaveTrafficRows(model_.Rows(), path.toStdString()));
}

void TrafficPage::AskAndSave() {
    const QString path = QFileDialog::getSaveFileName(this, tr("保存通讯记录"), QStringLiteral("traffic.txt"),
                                                      tr("文本文件 (*.txt);;所有文件 (*)"));
    if (path.isEmpty()) return;
    const QString error = SaveTo(path);
    if (!error.isEmpty())
        QMessageBox::warning(this, tr("通讯监视"),
                             tr("通讯记录无法保存 (cannot save)：%1\n%2").arg(path, error));
}

} // namespace lq
