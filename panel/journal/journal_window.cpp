#include "panel/journal/journal_window.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "journal/journal.h"
#include "panel/journal/alarm_table_model.h"
#include "panel/journal/journal_filter_model.h"
#include "panel/journal/journal_history_view.h"
#include "panel/journal/journal_table_model.h"
#include "panel/laid_out_text_delegate.h"
#include "panel/panel_fonts.h"

namespace lq {

namespace {

QTableView* SetUpTable(QTableView* view, QAbstractItemModel* model) {
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(22);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

// The column's width as laid out for the Chinese texts, or wider where a translation needs it: the longest of
// the texts it can show, in the bold of an unacknowledged alarm, fits without being cut. The window's font:
// the table is not in the window yet.
int FittingWidth(const QFont& font, int laidOut, const QStringList& texts) {
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    constexpr int kCellMargins = 12;
    return std::max(laidOut, widest + kCellMargins);
}

QStringList KindTexts() {
    QStringList texts;
    for (int kind = 0; kind < kEntryKindCount; ++kind)
        texts << KindText(kind);
    return texts;
}

} // namespace

JournalWindow::JournalWindow(const Journal& journal, QWidget* parent)
    : QWidget(parent, Qt::Window), alarms_(new AlarmTableModel(journal.Alarms(), this)),
      history_(new JournalTableModel(journal.Entries(), this)), filter_(new JournalFilterModel(this)) {
    setObjectName(QStringLiteral("JournalWindow"));
    setWindowTitle(tr("报警与事件"));
    setFont(SansFont(12));
    resize(980, 620);
    filter_->setSourceModel(history_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeAlarmPart(), 1);
    layout->addWidget(MakeHistoryPart(), 3);
    layout->addWidget(MakeFilePart());
}

QWidget* JournalWindow::MakeAlarmPart() {
    auto* box = new QGroupBox(tr("当前报警"));
    alarmView_ = SetUpTable(new QTableView, alarms_);
    alarmView_->setColumnWidth(AlarmTableModel::NameColumn, 140);
    alarmView_->setColumnWidth(AlarmTableModel::StateColumn,
                               FittingWidth(font(), 180, AlarmTableModel::StateTexts()));
    alarmView_->setColumnWidth(AlarmTableModel::SinceColumn, 220);
    acknowledge_ = new QPushButton(tr("确认 (ACK)"));
    acknowledgeAll_ = new QPushButton(tr("全部确认"));
    connect(acknowledge_, &QPushButton::clicked, this, &JournalWindow::AcknowledgeSelected);
    connect(acknowledgeAll_, &QPushButton::clicked, this, &JournalWindow::AcknowledgeAllClicked);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(acknowledge_);
    buttons->addWidget(acknowledgeAll_);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(box);
    layout->addWidget(alarmView_, 1);
    layout->addLayout(buttons);
    return box;
}

QWidget* JournalWindow::MakeHistoryPart() {
    auto* box = new QGroupBox(tr("历史"));
    kindBox_ = new QComboBox;
    kindBox_->addItem(tr("全部类别"), -1);
    for (int kind = 0; kind < kEntryKindCount; ++kind)
        kindBox_->addItem(KindText(kind), kind);
    textFilter_ = new QLineEdit;
    textFilter_->setPlaceholderText(tr("按文字筛选"));
    textFilter_->setClearButtonEnabled(true);
    connect(kindBox_, &QComboBox::currentIndexChanged, this,
            [this] { filter_->SetKind(kindBox_->currentData().toInt()); });
    connect(textFilter_, &QLineEdit::textChanged, filter_, &JournalFilterModel::SetText);
    historyView_ = SetUpTable(new JournalHistoryView, filter_);
    // Every entry moves the rows down and repaints them all; their texts, the times too, are laid out once.
    historyView_->setItemDelegate(new LaidOutTextDelegate(Qt::ElideRight, historyView_));
    historyView_->setColumnWidth(JournalTableModel::TimeColumn, 200);
    historyView_->setColumnWidth(JournalTableModel::KindColumn, FittingWidth(font(), 90, KindTexts()));
    historyView_->setColumnWidth(JournalTableModel::SubjectColumn, 80);
    historyView_->setColumnWidth(JournalTableModel::ValueColumn, 60);
    historyView_->setColumnWidth(JournalTableModel::OutcomeColumn, 100);
    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(tr("类别：")));
    filters->addWidget(kindBox_);
    filters->addWidget(textFilter_, 1);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(filters);
    layout->addWidget(historyView_);
    return box;
}

QWidget* JournalWindow::MakeFilePart() {
    auto* part = new QWidget;
    fileState_ = new QLabel;
    fileState_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fileState_->setWordWrap(true);
    auto* choose = new QPushButton(tr("选择文件夹…"));
    connect(choose, &QPushButton::clicked, this, &JournalWindow::ChooseFolderClicked);
    auto* layout = new QHBoxLayout(part);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fileState_, 1);
    layout->addWidget(choose);
    return part;
}

void JournalWindow::AcknowledgeSelected() {
    const QModelIndexList rows = alarmView_->selectionModel()->selectedRows();
    const QModelIndex row = rows.isEmpty() ? alarms_->index(0, 0) : rows.constFirst();
    if (row.isValid()) emit AcknowledgeClicked(row.data(AlarmTableModel::kBitRole).toInt());
}

void JournalWindow::Refresh() {
    alarms_->Refresh();
    history_->Catch();
}

void JournalWindow::ShowFileState(const QString& text, bool failed) {
    fileState_->setText(text);
    fileState_->setStyleSheet(failed ? QStringLiteral("color: #c00000;") : QString());
}

} // namespace lq
