// The trend window and the recording as the operator meets them: the CSV columns named as the displays,
// the plot drawn where the values are (pixels), F11, and a recording that fails while the panel goes on.
#include <QChart>
#include <QCheckBox>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <map>

#include "modbus/crc16.h"
#include "modbus/register_labels.h"
#include "panel/form1.h"
#include "panel/tools_menu.h"
#include "panel/trend/trend_chart_view.h"
#include "panel/trend/trend_plot.h"
#include "panel/trend/trend_tool.h"
#include "panel/trend/trend_window.h"
#include "panel_on_line.h"
#include "widgets/ti_analog_display.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_label.h"
#include <QMenu>

using namespace lq;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes ReadReply(std::uint16_t first) {
    Bytes reply{0x01, 0x03, 20};
    for (int k = 0; k < 10; ++k)
        reply.insert(reply.end(), {std::uint8_t((first + k) >> 8), std::uint8_t(first + k)});
    const std::uint16_t crc = CalcCRC16(reply.data(), 23);
    reply.insert(reply.end(), {std::uint8_t(crc >> 8), std::uint8_t(crc & 0xFF)});
    return reply;
}

LinkTime AtSeconds(double s) {
    const auto ms = std::chrono::milliseconds(static_cast<std::int64_t>(s * 1000));
    return {std::chrono::steady_clock::time_point{} + ms,
            std::chrono::system_clock::time_point{std::chrono::hours(24 * 365 * 56)} + ms};
}

std::size_t QuantityOf(int reg) {
    const auto q = TrendSeries::Quantities();
    return static_cast<std::size_t>(
        std::find_if(q.begin(), q.end(), [reg](auto& t) { return t.reg == reg; }) - q.begin());
}

bool HasColor(const QImage& image, int x, int yFrom, int yTo, QColor color) {
    for (int y = std::max(0, yFrom); y <= std::min(image.height() - 1, yTo); ++y)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.pixelColor(std::clamp(x + dx, 0, image.width() - 1), y).rgb() == color.rgb())
                return true;
    return false;
}

} // namespace

class TrendWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PanelOnLine> rig_;

    void Poll() {
        Form().Timer1Timer();
        const Bytes request = rig_->Line().Read(8, std::chrono::seconds(2));
        QCOMPARE(request.size(), 8u);
        const std::uint64_t accepted = Form().Master().Statistics().repliesAccepted;
        rig_->Line().Write(ReadReply(request[3] * 10));
        QTRY_VERIFY(Form().Master().Statistics().repliesAccepted > accepted);
    }
    TForm1& Form() { return rig_->Form(); }
    // The panel on its line, and a trend tool recording to path; none if either fails.
    std::unique_ptr<TrendTool> RecordingTo(const QString& path) {
        rig_ = std::make_unique<test::PanelOnLine>();
        if (!rig_->OpenLine()) return nullptr;
        auto tool = std::make_unique<TrendTool>(Form());
        if (!tool->StartRecording(path)) return nullptr;
        return tool;
    }

  private slots:
    void cleanup() { rig_.reset(); }

    void theColumnsAreNamedAndScaledAsTheDisplaysShowThem() {
        TForm1 f;
        struct Shown {
            int reg;
            std::function<QString()> caption;
            std::function<double()> value; // empty where the register shows as lamps or a switch
        };
        const auto value = [](auto* w) { return [w] { return w->Value(); }; };
        const auto caption = [](TiLabel* l) { return [l] { return l->Caption(); }; };
        const std::vector<Shown> displays{
            {0, caption(f.iLabel13), value(f.iAnalogOutput2)},
            {3, [] { return QStringLiteral("RUN/STOP"); }, {}}, // the switch's two captions
            {4, caption(f.iLabel23), value(f.iAnalogDisplay5)},
            {5, caption(f.iLabel24), value(f.iAnalogDisplay6)},
            {11, caption(f.iLabel15), value(f.iAnalogOutput4)},
            {12, caption(f.iLabel12), value(f.iAnalogOutput1)},
            {13, [&f] { return f.Label2->text(); }, {}},
            {20, caption(f.iLabel19), value(f.iAnalogDisplay1)},
            {21, caption(f.iLabel20), value(f.iAnalogDisplay2)},
            {22, caption(f.iLabel21), value(f.iAnalogDisplay3)},
            {23, caption(f.iLabel25), value(f.iAnalogDisplay4)},
            {35, caption(f.iLabel14), value(f.iAnalogDisplay7)},
            {36, caption(f.iLabel26), value(f.iAnalogDisplay8)},
            {39, caption(f.iLabel27), value(f.iAnalogDisplay9)},
            {40, caption(f.iLabel28), value(f.iAnalogDisplay10)},
            {41, caption(f.iLabel29), value(f.iAnalogDisplay11)},
            {42, caption(f.iLabel30), value(f.iAnalogDisplay12)},
        };
        for (const Shown& d : displays)
            f.Master().Registers().Set(d.reg, static_cast<std::uint16_t>(1000 + 37 * d.reg));
        f.Timer2Timer();
        QCOMPARE(ShownRegisters().size(), displays.size());
        for (const Shown& d : displays) {
            const auto label = LabelOf(d.reg);
            QVERIFY2(label, qPrintable(QString::number(d.reg)));
            QString shownCaption = d.caption();
            shownCaption.remove(QStringLiteral("："));
            QCOMPARE(QString::fromUtf8(label->label.data(), label->label.size()), shownCaption.trimmed());
            if (d.value) QCOMPARE(InPanelUnits(d.reg, f.Master().Registers()[d.reg]), d.value());
        }
    }

    void thePlotDrawsEachStretchOfTheLinkWithGapsAndMarkers() {
        RegisterImage image;
        TrendSeries model(image);
        image.Set(35, 500); // PV 50.0 'C
        // PV every 2 s for a minute, the link down for a minute, then another minute; SV stays empty.
        for (double s = 0; s <= 60; s += 2)
            model.DeliveryJudged({{}, DeliveryVerdict::Accepted, 3, 0, {}, AtSeconds(s)});
        for (double s = 120; s <= 180; s += 2)
            model.DeliveryJudged({{}, DeliveryVerdict::Accepted, 3, 0, {}, AtSeconds(s)});
        model.WriteEnded({36, 655, WriteOutcome::Confirmed, 0, 1, AtSeconds(150)});
        const double t0 = model.ChartTime(AtSeconds(0));
        TrendWindow window(model, [t0] { return t0 + 200000; });
        window.SetSpanMinutes(5);
        window.resize(1000, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q)
            if (q != QuantityOf(35)) window.Plot()->SetQuantityVisible(q, false);
        window.Refresh();
        QCoreApplication::processEvents();

        TrendChartView* view = window.ChartView();
        const QColor pv = TrendPlot::Color(QuantityOf(35));
        const auto at = [&](double s) {
            return view->mapFromScene(view->chart()->mapToPosition(
                QPointF(t0 + s * 1000, 50), window.Plot()->LeadSeries(QuantityOf(35))));
        };
        const QRectF plot = view->chart()->plotArea();
        QImage shot = view->viewport()->grab().toImage();
        for (double s : {30.0, 150.0})
            QVERIFY2(HasColor(shot, at(s).x(), at(s).y() - 2, at(s).y() + 2, pv),
                     qPrintable(QString::number(s)));
        QVERIFY2(!HasColor(shot, at(90).x(), int(plot.top()), int(plot.bottom()), pv),
                 "a line across the gap");
        QCOMPARE(window.Plot()->LineCount(QuantityOf(35)), 2u);
        // The write marker: a line of its own colour from top to bottom at its time.
        const int markerX = view->mapFromScene(QPointF(view->XOf(t0 + 150000), 0)).x();
        QVERIFY(
            HasColor(shot, markerX, int(plot.bottom()) - 40, int(plot.bottom()) - 20, QColor(120, 0, 160)));
        QCOMPARE(view->readOut(t0 + 30500),
                 (QStringList{QStringLiteral("%1").arg(
                                  QDateTime::fromMSecsSinceEpoch(qint64(t0 + 30500)).toString("HH:mm:ss")),
                              QStringLiteral("PV 50.0 'C")}));

        window.Plot()->SetQuantityVisible(QuantityOf(35), false);
        window.Refresh();
        shot = view->viewport()->grab().toImage();
        QVERIFY2(!HasColor(shot, at(30).x(), at(30).y() - 2, at(30).y() + 2, pv), "hidden, yet drawn");
    }

    // Between jumps a new point redraws only the newest piece of its line, on axes that stay where they are
    // while they hold the values; when the present time reaches the page's right-hand edge, the view jumps.
    void followingDrawsOnlyWhatIsNewAndJumpsAtThePageEdge() {
        RegisterImage image;
        TrendSeries model(image);
        image.Set(35, 500); // PV and SV 50.0 'C
        image.Set(36, 500);
        for (double s = 0; s <= 120; s += 2)
            model.DeliveryJudged({{}, DeliveryVerdict::Accepted, 3, 0, {}, AtSeconds(s)});
        const double t0 = model.ChartTime(AtSeconds(0));
        double clock = t0 + 120000;
        TrendWindow window(model, [&clock] { return clock; });
        window.SetSpanMinutes(1);
        window.resize(1000, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const double pageEnd = window.ViewTo();
        QCOMPARE(pageEnd, clock + 6000); // a tenth of the span ahead
        const std::vector<QLineSeries*> pv = window.Plot()->SeriesOf(QuantityOf(35));
        std::map<QLineSeries*, int> replaced;
        for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q)
            for (QLineSeries* series : window.Plot()->SeriesOf(q))
                connect(series, &QXYSeries::pointsReplaced, this,
                        [&replaced, series] { ++replaced[series]; });
        const auto* left =
            qobject_cast<QValueAxis*>(window.Plot()->LeadSeries(QuantityOf(35))->attachedAxes().value(1));
        QVERIFY(left != nullptr);
        const std::pair<double, double> axis{left->min(), left->max()};

        struct Step {
            std::uint16_t pv;
            bool axisMoves;
        };
        double s = 120;
        for (const Step& step :
             {Step{520, false}, Step{2000, true}}) { // 52.0 within the axis, 200.0 above it
            replaced.clear();
            s += 2;
            clock = t0 + s * 1000;
            image.Set(35, step.pv);
            model.DeliveryJudged({{}, DeliveryVerdict::Accepted, 3, 0, {}, AtSeconds(s)});
            window.Follow();
            QCOMPARE(window.ViewTo(), pageEnd);
            QCOMPARE(std::make_pair(left->min(), left->max()) != axis, step.axisMoves);
            QVERIFY(left->max() >= step.pv / 10.0);
            QCOMPARE(replaced[pv.front()], 0); // the older piece of the line
            const auto newest =
                std::find_if(pv.begin(), pv.end(), [&](QLineSeries* l) { return replaced[l] > 0; });
            QVERIFY(newest != pv.end());
            QCOMPARE((*newest)->points().back(), QPointF(clock, step.pv / 10.0));
            QCOMPARE((*newest)->points().front(), (*(newest - 1))->points().back()); // the line goes on
            for (QLineSeries* series : window.Plot()->SeriesOf(QuantityOf(23)))
                QCOMPARE(replaced[series], 0);
        }

        replaced.clear();
        clock += 1900; // nothing new, the edge not reached
        window.Follow();
        QCOMPARE(window.ViewTo(), pageEnd);
        QVERIFY(std::all_of(replaced.begin(), replaced.end(), [](auto& r) { return r.second == 0; }));
        const std::uint64_t pages = window.Pages();
        clock = pageEnd;
        window.Follow();
        QCOMPARE(window.Pages(), pages + 1);
        QCOMPARE(window.ViewTo(), clock + 6000);
    }

    // The master does not see the port closed; the panel tells the trend, and every line breaks there even
    // when the port is opened again at once.
    void everyLineBreaksWhereThePortWasClosedAndOpenedAgain() {
        rig_ = std::make_unique<test::PanelOnLine>();
        QVERIFY(rig_->OpenLine());
        TrendTool tool(Form());
        for (int n = 0; n < 8; ++n)
            Poll();
        Form().ClosePort();
        Form().OpenPort();
        QVERIFY(Form().PortInUse());
        for (int n = 0; n < 8; ++n)
            Poll();
        for (std::size_t q = 0; q < TrendSeries::kQuantityCount; ++q) {
            const TrendRing<TrendPoint>& series = tool.Model().Series(q);
            std::vector<bool> starts;
            for (std::size_t i = 0; i < series.Size(); ++i)
                starts.push_back(series[i].startsSegment);
            QCOMPARE(starts, (std::vector<bool>{true, false, true, false}));
        }
    }

    void f11OpensTheTrendWindow() {
        TForm1 form;
        TrendTool tool(form);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(tool.Window() == nullptr);
        QTest::keyClick(&form, Qt::Key_F11);
        QVERIFY(tool.Window() != nullptr);
        QVERIFY(tool.Window()->isVisible());
        QCOMPARE(tool.Window()->windowTitle(), QStringLiteral("趋势"));
        QVERIFY(form.Tools().Menu()->actions().contains(tool.Action()));
    }

    // The window lives as the monitor's does: closing destroys it. The series and the recording are the
    // tool's, so they go on, and a window opened again shows both.
    void closingTheWindowDestroysItAndTheRecordingGoesOn() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("run.csv"));
        const std::unique_ptr<TrendTool> recording = RecordingTo(path);
        QVERIFY(recording);
        TrendTool& tool = *recording;
        tool.OpenWindow();
        tool.Window()->close();
        QTRY_VERIFY(tool.Window() == nullptr);
        const auto size = std::filesystem::file_size(path.toStdString());
        for (int block = 0; block < 4; ++block)
            Poll();
        QVERIFY(tool.Recording());
        QVERIFY(std::filesystem::file_size(path.toStdString()) > size);
        tool.OpenWindow();
        QVERIFY(tool.Window()->RecordButton()->isChecked());
        QVERIFY(!tool.Model().Series(QuantityOf(35)).Empty());
    }

    void aRecordingThatCannotGoOnStopsSaysWhyAndThePanelGoesOn() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("run.csv"));
        const std::unique_ptr<TrendTool> recording = RecordingTo(path);
        QVERIFY(recording);
        TrendTool& tool = *recording;
        Poll();
        QVERIFY(std::filesystem::remove(path.toStdString()));
        Poll(); // this row finds the file gone
        QTRY_VERIFY(!tool.Recording());
        QVERIFY(tool.Window() != nullptr && tool.Window()->isVisible());
        QVERIFY(!tool.Window()->RecordButton()->isChecked());
        QStringList texts;
        for (const QLabel* label : tool.Window()->findChildren<QLabel*>())
            texts << label->text();
        QVERIFY2(texts.join('|').contains(
                     QStringLiteral("记录停止：无法写入 %1（the file was removed）").arg(path)),
                 qPrintable(texts.join('|')));
        Poll();
        Poll();
        QVERIFY(!Form().Image14->isHidden()); // the link lamp: replies still accepted
        QVERIFY(!tool.StartRecording(dir.filePath(QStringLiteral("missing/run.csv"))));
        QVERIFY(!tool.Recording());
    }
};

QTEST_MAIN(TrendWindowTest)
#include "trend_window_test.moc"
