// The costs of the trend and the recording, for the performance table:
// - recording: CPU per CSV row through the real append-only file, and what that is at one row per poll tick;
// - memory: two hours of every quantity at 2 Hz (the ring full), in the model and with the window showing it;
// - the trend window open on those two hours and following new data at the panel's cadence, against the same
//   feed with no window, for every span the window offers.
//
// The window moves on a page at a time: its time axis stands still for a tenth of the span, then jumps. A
// live phase of a few seconds sees a fair share of the jumps of a short span but none of a long one (a 2 h
// span jumps every 12 min), so each span's figure is the cost between jumps, measured live with the jumps
// that fell into the phase taken out, plus the cost of one jump, measured apart, spread over its page.
//
// Usage: trend_record [SECONDS]   (each live phase; default 30). Run it offscreen.
#include "bench/panel_bench.h"
#include "modbus/register_image.h"
#include "panel/trend/trend_window.h"
#include "recording/csv_recording.h"
#include "trend/trend_series.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace lq::bench {
namespace {

using namespace std::chrono;

// Plausible, changing register values, so the plot has lines to draw.
void Wiggle(RegisterImage& image, double s) {
    image.Set(35, static_cast<std::uint16_t>(600 + 100 * std::sin(s / 300)));
    image.Set(36, static_cast<std::uint16_t>(650));
    image.Set(12, static_cast<std::uint16_t>(40 + 5 * std::sin(s / 200)));
    image.Set(11, static_cast<std::uint16_t>(500 + 300 * std::sin(s / 50)));
    for (int r = 20; r <= 22; ++r)
        image.Set(r, static_cast<std::uint16_t>(250 + 150 * std::sin(s / 50) + r % 3));
    image.Set(23, static_cast<std::uint16_t>(3800 + 40 * std::sin(s * 7)));
}

Delivery AcceptedAt(std::uint8_t block, LinkTime at) {
    return {{}, DeliveryVerdict::Accepted, block, 0, std::nullopt, at};
}

LinkTime Now() {
    return {steady_clock::now(), system_clock::now()};
}

void MeasureRecording() {
    RegisterImage image;
    Wiggle(image, 1);
    const std::string path = "/tmp/lq-bench-record-" + std::to_string(::getpid()) + ".csv";
    constexpr int kRows = 20000;
    double cpu = 0;
    {
        CsvRecording recording(path, image);
        const double before = CpuSeconds();
        for (int n = 0; n < kRows; ++n)
            recording.Recorder().DeliveryJudged(AcceptedAt(n % 4, Now()));
        cpu = CpuSeconds() - before;
    }
    ::unlink(path.c_str());
    const double perRow = cpu / kRows;
    // The panel accepts at most one reply per 500 ms poll tick: two rows a second.
    std::printf("record_rows %d\nrecord_cpu_per_row_us %.2f\nrecord_share_pct %.4f\n", kRows, perRow * 1e6,
                100 * perRow * 2);
}

// Two hours of every quantity at 2 Hz, ending now: the ring full.
void FillTwoHours(TrendSeries& model, RegisterImage& image) {
    const LinkTime end = Now();
    const int ticks = static_cast<int>(TrendSeries::kCapacity);
    for (int n = 0; n < ticks; ++n) {
        const auto ago = milliseconds(500LL * (ticks - 1 - n));
        Wiggle(image, n * 0.5);
        for (std::uint8_t block = 1; block <= 3; ++block) {
            const auto offset = milliseconds(block) - ago;
            model.DeliveryJudged(AcceptedAt(block, {end.steady + offset, end.wall + offset}));
        }
        if (n % 1200 == 0)
            model.WriteEnded({36, 650, WriteOutcome::Confirmed, 0, 1, {end.steady - ago, end.wall - ago}});
    }
}

// Runs the event loop for `seconds` with a reply accepted every 500 ms, blocks in turn; returns the CPU used.
double LiveFeed(TrendSeries& model, RegisterImage& image, int seconds) {
    QTimer poll;
    std::uint8_t block = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        Wiggle(image, duration<double>(steady_clock::now().time_since_epoch()).count());
        model.DeliveryJudged(AcceptedAt(block, Now()));
        block = static_cast<std::uint8_t>((block + 1) % 4);
    });
    poll.start(500);
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    const double before = CpuSeconds();
    loop.exec();
    return CpuSeconds() - before;
}

// Runs what a change left to do: the scene's updates, then the repaint they asked for.
void Settle() {
    QApplication::processEvents();
    QApplication::processEvents();
}

// The CPU of one jump: the view moved back by a tenth of the span (paused there), then following again, each
// one page of new points on moved axes, painted. Seconds per page.
double PageCpu(TrendWindow& window) {
    constexpr int kPairs = 10;
    const int tenth = window.SpanMinutes() * 6; // seconds, the scroll bar's unit
    const double before = CpuSeconds();
    for (int n = 0; n < kPairs; ++n) {
        window.ScrollBar()->setValue(window.ScrollBar()->maximum() - tenth);
        Settle();
        window.SetPaused(false);
        Settle();
    }
    return (CpuSeconds() - before) / (2 * kPairs);
}

// One span: prints the cost between jumps, of one jump, and both together, in % of one core.
void MeasureSpan(TrendWindow& window, TrendSeries& model, RegisterImage& image, int minutes, int seconds,
                 double feedOnly) {
    window.SetSpanMinutes(minutes);
    Settle();
    const double page = PageCpu(window);
    const std::uint64_t pagesBefore = window.Pages();
    const double live = LiveFeed(model, image, seconds);
    const auto jumps = static_cast<double>(window.Pages() - pagesBefore);
    const double between = 100 * (live - jumps * page - feedOnly) / seconds;
    const double spread = 100 * page / (minutes * 6.0);
    std::printf("trend_window_%dmin_jumps %.0f\ntrend_window_%dmin_page_ms %.2f\n", minutes, jumps, minutes,
                page * 1000);
    std::printf("trend_window_%dmin_between_pct %.3f\ntrend_window_%dmin_pct %.3f\n", minutes, between,
                minutes, between + spread);
}

int Run(int seconds) {
    MeasureRecording();

    const long baseKiB = ResidentKiB();
    RegisterImage image;
    auto model = std::make_unique<TrendSeries>(image);
    FillTwoHours(*model, image);
    std::size_t points = 0;
    for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q)
        points += model->Series(q).Size();
    const double modelBytes = TrendSeries::kQuantityCount * TrendSeries::kCapacity * sizeof(TrendPoint) +
                              TrendSeries::kMarkerCapacity * sizeof(WriteMarker);
    std::printf("trend_points %zu\ntrend_series_mb %.2f\ntrend_series_rss_mb %.2f\n", points,
                modelBytes / 1e6, (ResidentKiB() - baseKiB) / 1024.0);

    const double withoutWindow = LiveFeed(*model, image, seconds);
    std::printf("trend_feed_only_pct %.3f\n", 100 * withoutWindow / seconds);
    TrendWindow window(*model, [&] { return model->ChartTime(Now()); });
    window.SetSpanMinutes(120);
    window.show();
    Settle();
    for (int minutes : {120, 60, 30, 10, 5, 2, 1}) {
        MeasureSpan(window, *model, image, minutes, seconds, withoutWindow);
        // The window showing all of the two hours and following them, as the memory row has always been.
        if (minutes == 120)
            std::printf("trend_with_window_rss_mb %.2f\n", (ResidentKiB() - baseKiB) / 1024.0);
    }
    // Once every span has been shown: each leaves the series its lines needed.
    std::printf("trend_after_all_spans_rss_mb %.2f\n", (ResidentKiB() - baseKiB) / 1024.0);
    return 0;
}

} // namespace
} // namespace lq::bench

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    return lq::bench::Run(seconds > 0 ? seconds : 30);
}
