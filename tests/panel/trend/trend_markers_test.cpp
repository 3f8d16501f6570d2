// The write markers on the trend window's screen: at their time after every jump, scroll and resize, exactly
// as a full repaint draws them.
#include <QDir>
#include <QScrollBar>
#include <QtTest>
#include <functional>

#include "panel/trend/trend_chart_view.h"
#include "panel/trend/trend_window.h"
#include "tests/panel/window_pixels.h"
#include "trend/trend_series.h"

using namespace lq;

namespace {

LinkTime AtSeconds(double s) {
    const auto ms = std::chrono::milliseconds(static_cast<std::int64_t>(s * 1000));
    return {std::chrono::steady_clock::time_point{} + ms,
            std::chrono::system_clock::time_point{std::chrono::hours(24 * 365 * 56)} + ms};
}

// A following trend window on a model fed as a 2 s round of the poll would feed it, with a write marked
// now and then; the present time is the test's to move.
struct FollowedTrend {
    RegisterImage image;
    TrendSeries model{image};
    double t0 = model.ChartTime(AtSeconds(0));
    double seconds = 0;
    int pv = 600; // PV's raw value about which it wanders
    TrendWindow window{model, [this] { return t0 + seconds * 1000; }};

    FollowedTrend() {
        window.SetSpanMinutes(1);
        window.resize(900, 560);
    }
    // Polls on for `s` seconds, following as the window's timer does; an SV write every 20 s and an I
    // write shortly after it, so their flags meet.
    void Run(double s) {
        for (const double until = seconds + s; seconds < until;) {
            seconds += 0.5;
            image.Set(35, static_cast<std::uint16_t>(pv + static_cast<int>(seconds * 3) % 120));
            if (static_cast<int>(seconds * 2) % 4 == 0)
                model.DeliveryJudged({{}, DeliveryVerdict::Accepted, 3, 0, {}, AtSeconds(seconds)});
            if (static_cast<int>(seconds * 2) % 40 == 0) {
                model.WriteEnded({36, 660, WriteOutcome::Confirmed, 0, 1, AtSeconds(seconds)});
                model.WriteEnded({41, 126, WriteOutcome::Confirmed, 0, 1, AtSeconds(seconds + 1)});
            }
            window.Follow();
            test::SettleRepaints();
        }
    }
};

// Whether the view's pixels show a marker's line at `x`: its colour in the lower half of the plot, below the
// flags.
bool MarkerLineAt(const QImage& shown, double x, const QRectF& plot) {
    const QRgb marker = qRgb(120, 0, 160);
    for (int column = static_cast<int>(x) - 1; column <= static_cast<int>(x) + 1; ++column)
        for (int y = static_cast<int>(plot.center().y()); y < static_cast<int>(plot.bottom()) - 1; ++y)
            if (column >= 0 && column < shown.width() && shown.pixel(column, y) == marker) return true;
    return false;
}

} // namespace

class TrendMarkersTest : public QObject {
    Q_OBJECT

  private slots:
    void theChartOnTheScreenIsWhatAFullRepaintDraws() {
        FollowedTrend trend;
        trend.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&trend.window));
        QScrollBar& bar = *trend.window.ScrollBar();
        QWidget cover;
        const std::pair<const char*, std::function<void(FollowedTrend&)>> steps[] = {
            {"the first page", [](FollowedTrend& t) { t.Run(20); }},
            {"new points on the page", [](FollowedTrend& t) { t.Run(10); }},
            {"a jump to the next page", [](FollowedTrend& t) { t.Run(40); }},
            {"points after the jump", [](FollowedTrend& t) { t.Run(2); }},
            {"a value that widens the axis's labels", // the plot area narrows on the same page
             [](FollowedTrend& t) {
                 t.pv = 15000;
                 t.Run(4);
             }},
            {"several jumps", [](FollowedTrend& t) { t.Run(150); }},
            {"scrolled back", [&bar](FollowedTrend&) { bar.setValue(bar.value() - 50); }},
            {"scrolled a step",
             [&bar](FollowedTrend&) { bar.triggerAction(QAbstractSlider::SliderSingleStepSub); }},
            {"scrolled a page",
             [&bar](FollowedTrend&) { bar.triggerAction(QAbstractSlider::SliderPageStepAdd); }},
            {"following again", [](FollowedTrend& t) { t.window.SetPaused(false); }},
            {"wider", [](FollowedTrend& t) { t.window.resize(1180, 640); }},
            {"points after the resize", [](FollowedTrend& t) { t.Run(8); }},
            {"narrower", [](FollowedTrend& t) { t.window.resize(760, 500); }},
            {"a jump after the resize", [](FollowedTrend& t) { t.Run(60); }},
            {"a longer span", [](FollowedTrend& t) { t.window.SetSpanMinutes(5); }},
            {"covered and uncovered",
             [&cover](FollowedTrend& t) {
                 cover.setGeometry(t.window.geometry());
                 cover.show();
                 t.Run(4);
                 cover.hide();
             }},
        };
        for (const auto& [what, act] : steps) {
            act(trend);
            test::SettleRepaints();
            const QImage shown = test::ShownPixels(trend.window, *trend.window.ChartView()->viewport());
            const QImage repainted = test::RepaintedPixels(*trend.window.ChartView()->viewport());
            const int line = test::FirstDifferentLine(shown, repainted);
            if (line >= 0) {
                shown.save(QDir::temp().filePath(QStringLiteral("trend-shown.png")));
                repainted.save(QDir::temp().filePath(QStringLiteral("trend-repainted.png")));
            }
            QVERIFY2(line < 0,
                     qPrintable(QStringLiteral("%1: the window differs from a full repaint from line %2")
                                    .arg(QLatin1String(what))
                                    .arg(line)));
            const TrendChartView& view = *trend.window.ChartView();
            const QRectF plot = view.chart()->plotArea();
            const TrendRing<WriteMarker>& markers = trend.model.Markers();
            for (std::size_t i = 0; i < markers.Size(); ++i) {
                const double x = view.XOf(markers[i].timeMs);
                if (x > plot.left() + 1 && x < plot.right() - 1)
                    QVERIFY2(
                        MarkerLineAt(shown, x, plot),
                        qPrintable(QStringLiteral("%1: no marker at x %2").arg(QLatin1String(what)).arg(x)));
            }
        }
    }
};

QTEST_MAIN(TrendMarkersTest)
#include "trend_markers_test.moc"
