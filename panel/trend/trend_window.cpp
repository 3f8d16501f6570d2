#include "panel/trend/trend_window.h"

#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>

#include "panel/shown_item_popup.h"
#include "panel/trend/trend_chart_view.h"
#include "panel/trend/trend_plot.h"
#include "trend/trend_follow.h"
#include "trend/trend_plot_points.h"
#include "trend/trend_series.h"

namespace lq {

namespace {

constexpr std::array<int, 7> kSpanMinutes{1, 2, 5, 10, 30, 60, 120};
constexpr int kDefaultSpanMinutes = 10;

QString SpanText(int minutes) {
    return minutes < 60 ? TrendWindow::tr("%1 分钟").arg(minutes)
                        : TrendWindow::tr("%1 小时").arg(minutes / 60);
}

QString ValueText(std::size_t quantity, double value) {
    const TrendQuantity& q = TrendSeries::Quantities()[quantity];
    const int decimals = q.reg == 12 ? 0 : 1; // the temperature display shows whole degrees
    return QStringLiteral("%1 %2 %3")
        .arg(QString::fromStdString(TrendSeries::ShownName(quantity)))
        .arg(value, 0, 'f', decimals)
        .arg(QString::fromUtf8(q.unit.data(), static_cast<qsizetype>(q.unit.size())));
}

} // namespace

TrendWindow::TrendWindow(const TrendSeries& model, std::function<double()> now, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), now_(std::move(now)) {
    setObjectName(QStringLiteral("TrendWindow"));
    setWindowTitle(tr("趋势"));
    // Closing the panel ends the program even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(1000, 620);
    auto* chart = new QChart;
    view_ = new TrendChartView(chart, this);
    plot_ = new TrendPlot(chart);
    plot_->onQuantityToggled = [this] { DrawPage(); }; // the value axes fit what is shown
    view_->readOut = [this](double timeMs) { return ReadOut(timeMs); };
    askPngPath = [this] {
        const QString name =
            QStringLiteral("trend-%1.png")
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
        return QFileDialog::getSaveFileName(this, tr("导出 PNG"), name, tr("PNG (*.png)"));
    };
    CreateControls();
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { Follow(); });
}

void TrendWindow::CreateControls() {
    span_ = new QComboBox(this);
    for (int minutes : kSpanMinutes)
        span_->addItem(SpanText(minutes), minutes);
    span_->setCurrentIndex(span_->findData(kDefaultSpanMinutes));
    SelectShownItemWhenOpened(span_);
    pause_ = new QCheckBox(tr("暂停"), this);
    export_ = new QPushButton(tr("导出 PNG"), this);
    record_ = new QPushButton(tr("记录"), this);
    record_->setCheckable(true);
    recordText_ = new QLabel(this);
    status_ = new QLabel(this);
    scroll_ = new QScrollBar(Qt::Horizontal, this);

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(tr("时间范围:"), this));
    controls->addWidget(span_);
    controls->addWidget(pause_);
    controls->addWidget(export_);
    controls->addSpacing(16);
    controls->addWidget(record_);
    controls->addWidget(recordText_, 1);
    controls->addWidget(status_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(view_, 1);
    layout->addWidget(scroll_);

    connect(span_, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    connect(pause_, &QCheckBox::toggled, this, [this] { Refresh(); });
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) { ScrollTo(value); });
    connect(export_, &QPushButton::clicked, this, [this] { ExportClicked(); });
    connect(record_, &QPushButton::clicked, this, &TrendWindow::RecordClicked);
}

void TrendWindow::SetSpanMinutes(int minutes) {
    const int index = span_->findData(minutes);
    if (index >= 0) span_->setCurrentIndex(index);
}

int TrendWindow::SpanMinutes() const {
    return span_->currentData().toInt();
}

double TrendWindow::SpanMs() const {
    return SpanMinutes() * 60000.0;
}

void TrendWindow::SetPaused(bool paused) {
    pause_->setChecked(paused);
}

bool TrendWindow::Paused() const {
    return pause_->isChecked();
}

std::optional<double> TrendWindow::Earliest() const {
    std::optional<double> earliest;
    for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q)
        if (!model_.Series(q).Empty())
            earliest =
                std::min(earliest.value_or(model_.Series(q).Front().timeMs), model_.Series(q).Front().timeMs);
    return earliest;
}

int TrendWindow::Columns() const {
    return std::max(100, static_cast<int>(view_->chart()->plotArea().width()));
}

double TrendWindow::Now() const {
    return std::max(now_(), model_.Latest().value_or(0));
}

void TrendWindow::Follow() {
    if (Paused()) return; // following again redraws, and that sets the timer
    const bool newData = model_.Revision() != drawnRevision_;
    switch (TrendFollow::Next(Now(), viewTo_, drawnAt_, newData, SpanMs(), Columns())) {
    case FollowStep::NewPage:
        Refresh();
        return;
    case FollowStep::NewPoints:
        DrawNewPoints();
        return;
    case FollowStep::Nothing:
        break;
    }
    SleepUntilDue();
}

void TrendWindow::SleepUntilDue() {
    // A timer woken only when something can be drawn, rather than on every poll tick: on the 2 h span a
    // strip of points is due every few seconds, and each wake-up of the event loop costs the panel as much
    // as a small repaint.
    if (shown_)
        timer_->start(static_cast<int>(TrendFollow::SleepMs(Now(), viewTo_, drawnAt_, SpanMs(), Columns())));
}

void TrendWindow::Refresh() {
    if (!Paused() || viewTo_ == 0) {
        viewTo_ = TrendFollow::PageEnd(Now(), SpanMs());
        ++pages_;
    }
    DrawPage();
}

void TrendWindow::DrawPage() {
    const double now = Now();
    plot_->ShowPage(model_, ViewFrom(), viewTo_, Columns(), now);
    Drawn(now);
}

void TrendWindow::DrawNewPoints() {
    const double now = Now();
    plot_->ShowNewPoints(model_, ViewFrom(), viewTo_, Columns());
    Drawn(now);
}

void TrendWindow::Drawn(double now) {
    drawnAt_ = now;
    drawnRevision_ = model_.Revision();
    std::vector<TrendChartView::Marker> markers;
    const TrendRing<WriteMarker>& held = model_.Markers();
    for (std::size_t i = 0; i < held.Size(); ++i)
        if (held[i].timeMs >= ViewFrom() && held[i].timeMs <= viewTo_)
            markers.push_back({held[i].timeMs, QString::fromStdString(held[i].text)});
    view_->SetMarkers(std::move(markers), ViewFrom(), viewTo_);
    // While following, the page reaches ahead of the newest data; the scroll bar ends with it.
    UpdateScrollBar(Earliest().value_or(now), std::max(now, viewTo_));
    SleepUntilDue();
}

void TrendWindow::UpdateScrollBar(double earliest, double last) {
    // In seconds from the oldest point; the value is the right-hand edge of the view.
    updatingScroll_ = true;
    const int span = static_cast<int>(SpanMs() / 1000);
    const int end = static_cast<int>(std::ceil((last - earliest) / 1000));
    scroll_->setRange(std::min(span, end), std::max(span, end));
    scroll_->setPageStep(span);
    scroll_->setSingleStep(std::max(1, span / 10));
    scroll_->setValue(static_cast<int>(std::lround((viewTo_ - earliest) / 1000)));
    updatingScroll_ = false;
}

void TrendWindow::ScrollTo(int value) {
    if (updatingScroll_) return;
    // Moving back through the record holds the view there.
    const double earliest = Earliest().value_or(viewTo_);
    pause_->blockSignals(true);
    pause_->setChecked(value < scroll_->maximum());
    pause_->blockSignals(false);
    viewTo_ = earliest + value * 1000.0;
    Refresh();
}

QStringList TrendWindow::ReadOut(double timeMs) const {
    QStringList lines{
        QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(timeMs)).toString(QStringLiteral("HH:mm:ss"))};
    const double perColumn = SpanMs() / Columns();
    // A quantity is read every 2 s; farther than that from a point there is no value to give.
    const double within = std::max(2500.0, 3 * perColumn);
    for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q) {
        if (!plot_->QuantityVisible(q)) continue;
        if (const TrendPoint* p = NearestPoint(model_.Series(q), timeMs, within))
            lines << ValueText(q, p->value);
    }
    return lines;
}

bool TrendWindow::ExportPng(const QString& path) {
    const bool saved = view_->grab().save(path, "PNG");
    status_->setText(saved ? tr("已导出 %1").arg(path) : tr("导出失败：%1").arg(path));
    return saved;
}

void TrendWindow::ExportClicked() {
    const QString path = askPngPath ? askPngPath() : QString();
    if (!path.isEmpty()) ExportPng(path);
}

void TrendWindow::ShowRecording(bool recording, const QString& text, bool failed) {
    record_->setChecked(recording);
    record_->setText(recording ? tr("停止记录") : tr("记录"));
    recordText_->setText(text);
    recordText_->setStyleSheet(failed ? QStringLiteral("color: red;") : QString());
}

void TrendWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    shown_ = true;
    Refresh();
}

void TrendWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    shown_ = false;
    timer_->stop();
}

} // namespace lq
