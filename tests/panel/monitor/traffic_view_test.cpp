// The traffic table: bounded, batched, paused, cleared, filtered to errors, following the newest row, saved,
// and on the screen exactly as a full repaint would draw it.
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>
#include <functional>

#include "modbus/frame_meaning.h"
#include "monitor/traffic_line.h"
#include "panel/monitor/traffic_cell_delegate.h"
#include "panel/monitor/traffic_filter_model.h"
#include "panel/monitor/traffic_page.h"
#include "panel/monitor/traffic_table_model.h"
#include "panel/panel_fonts.h"
#include "tests/panel/window_pixels.h"

using namespace lq;

namespace {

const std::vector<std::uint8_t> kReply(25, 0x11);

LinkTime Now() {
    return {std::chrono::steady_clock::now(), std::chrono::system_clock::now()};
}

// An unanswered read of the given block (a fault row) or a good reply (not one).
void Feed(TrafficTableModel& model, std::uint8_t block, bool fault) {
    if (fault) {
        model.ReadUnanswered(NoReply{block, Now()});
    } else {
        model.DeliveryJudged(Delivery{kReply, DeliveryVerdict::Accepted, block, 0, std::nullopt, Now()});
    }
}

QString Meaning(const QAbstractItemModel& model, int row) {
    return model.index(row, TrafficTableModel::MeaningColumn).data().toString();
}

void Settle() {
    test::SettleRepaints();
}

QImage Shown(const TrafficPage& page) {
    return test::ShownPixels(page, *page.View()->viewport());
}

QImage Repainted(const TrafficPage& page) {
    return test::RepaintedPixels(*page.View()->viewport());
}

// One cell as the delegate paints it, on white, at the given width.
QImage Cell(const TrafficCellDelegate& delegate, const QModelIndex& index, int width, const QFont& font) {
    QImage image(width, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.font = font;
    option.palette.setColor(QPalette::Text, Qt::black);
    QPainter painter(&image);
    delegate.paint(&painter, option, index);
    return image;
}

// The monitor's table in a window with the monitor's font, fed a batch at a time as its refresh does.
struct ShownTable {
    TrafficTableModel model{150};
    TrafficPage page{model};
    int fed = 0;

    ShownTable() {
        page.setFont(SansFont(12));
        page.resize(640, 300);
        page.show();
    }
    void Batch(int rows) {
        for (int n = 0; n < rows; ++n, ++fed)
            Feed(model, static_cast<std::uint8_t>(fed % 7), fed % 5 == 0);
        model.Flush();
    }
    QScrollBar& Bar() { return *page.View()->verticalScrollBar(); }
};

} // namespace

class TrafficViewTest : public QObject {
    Q_OBJECT

  private slots:
    void keepsTheNewestRowsAndTellsTheViewWhichWent() {
        TrafficTableModel model(5);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        for (std::uint8_t n = 0; n < 4; ++n)
            Feed(model, n, true);
        model.Flush();
        for (std::uint8_t n = 4; n < 7; ++n)
            Feed(model, n, true);
        model.Flush();
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(2).toInt(), 1); // rows 0 and 1 went
        QCOMPARE(Meaning(model, 0), QString::fromStdString(DescribeNoReply(NoReply{2, {}})));
        QCOMPARE(Meaning(model, 4), QString::fromStdString(DescribeNoReply(NoReply{6, {}})));
    }

    void aFullTableMakesRoomForATenthAtOnce() {
        TrafficTableModel model(100);
        for (int n = 0; n < 100; ++n)
            Feed(model, static_cast<std::uint8_t>(n), true);
        model.Flush();
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        Feed(model, 100, true);
        model.Flush();
        QCOMPARE(removed.count(), 1);
        QCOMPARE(model.rowCount(), 91);
        QCOMPARE(Meaning(model, 0), QString::fromStdString(DescribeNoReply(NoReply{10, {}})));
        for (std::uint8_t n = 101; n < 110; ++n)
            Feed(model, n, true);
        model.Flush();
        QCOMPARE(removed.count(), 1); // the room made before is used first
        QCOMPARE(model.rowCount(), 100);
    }

    void rowsArriveInABatchAndWaitWhilePaused() {
        TrafficTableModel model;
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        Feed(model, 0, false);
        Feed(model, 1, false);
        QCOMPARE(model.rowCount(), 0);
        model.Flush();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(model.rowCount(), 2);

        model.SetPaused(true);
        Feed(model, 2, true);
        model.Flush();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(model.HeldBack(), std::size_t{1});
        model.SetPaused(false);
        QCOMPARE(model.rowCount(), 3);
        model.Clear();
        QCOMPARE(model.rowCount(), 0);
    }

    void errorsOnlyShowsTheFaultRowsOldAndNew() {
        TrafficTableModel model;
        TrafficFilterModel filter;
        filter.setSourceModel(&model);
        for (std::uint8_t n = 0; n < 6; ++n)
            Feed(model, n, n % 3 == 0);
        model.Flush();
        filter.SetFaultsOnly(true);
        QCOMPARE(filter.rowCount(), 2);
        QCOMPARE(Meaning(filter, 1), Meaning(model, 3));
        Feed(model, 6, true);
        Feed(model, 7, false);
        model.Flush();
        QCOMPARE(filter.rowCount(), 3);
        QCOMPARE(filter.index(2, 0).data(Qt::BackgroundRole).value<QBrush>(),
                 model.index(6, 0).data(Qt::BackgroundRole).value<QBrush>());
        QVERIFY2(model.index(7, 0).data(Qt::BackgroundRole).isNull(), "a good row does not stand out");
        filter.SetFaultsOnly(false);
        QCOMPARE(filter.rowCount(), 8);
    }

    void followingKeepsTheNewestRowInSight() {
        TrafficTableModel model;
        TrafficPage page(model);
        page.resize(600, 300);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QScrollBar* bar = page.View()->verticalScrollBar();
        for (std::uint8_t n = 0; n < 200; ++n)
            Feed(model, n, false);
        model.Flush();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        // Rows added at the end take the quick way through the view's layout; the scroll range still grows.
        const int before = bar->maximum();
        for (std::uint8_t n = 0; n < 20; ++n)
            Feed(model, n, false);
        model.Flush();
        QVERIFY(bar->maximum() > before);
        QCOMPARE(bar->value(), bar->maximum());

        page.FollowBox()->setChecked(false);
        bar->setValue(0);
        for (std::uint8_t n = 0; n < 50; ++n)
            Feed(model, n, false);
        model.Flush();
        QCOMPARE(bar->value(), 0);
    }

    void aRowAddedInSightIsDrawnOnTheScreen() {
        // Read back from the window's own pixels (not a fresh rendering): the view repaints only the area of
        // the rows added, and a row it forgot would show the empty background there.
        TrafficTableModel model;
        TrafficPage page(model);
        page.resize(600, 300);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        Feed(model, 0, false);
        model.Flush();
        QCoreApplication::processEvents();
        Feed(model, 1, true);
        model.Flush();
        QCoreApplication::processEvents();
        const QRect row = page.View()->visualRect(page.View()->model()->index(1, 0));
        QVERIFY(row.isValid());
        const QPoint at = page.View()->viewport()->mapTo(&page, row.topLeft() + QPoint(2, 2));
        const QImage shown = page.screen()->grabWindow(page.winId()).toImage();
        const QColor background = model.index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color();
        QCOMPARE(shown.pixelColor(at * shown.devicePixelRatio()).rgb(), background.rgb());
    }

    void theTableOnTheScreenIsWhatAFullRepaintDraws_data() {
        QTest::addColumn<QAbstractItemView::ScrollMode>("mode");
        // The table scrolls by pixels; a row at a time is where a layout moves the rows without scrolling.
        QTest::newRow("by pixels") << QAbstractItemView::ScrollPerPixel;
        QTest::newRow("by rows") << QAbstractItemView::ScrollPerItem;
    }

    void theTableOnTheScreenIsWhatAFullRepaintDraws() {
        QFETCH(QAbstractItemView::ScrollMode, mode);
        ShownTable table;
        table.page.View()->setVerticalScrollMode(mode);
        QVERIFY(QTest::qWaitForWindowExposed(&table.page));
        QWidget cover;
        const auto batches = [](int count, int rows) {
            return std::function<void(ShownTable&)>([count, rows](ShownTable& t) {
                for (int n = 0; n < count; ++n) {
                    t.Batch(rows);
                    Settle();
                }
            });
        };
        const std::pair<const char*, std::function<void(ShownTable&)>> steps[] = {
            {"a few rows", batches(3, 4)},
            {"past the bottom while following", batches(12, 4)},
            {"a batch longer than the window", batches(1, 30)},
            {"a single row", batches(1, 1)},
            {"scrolled up, not following",
             [](ShownTable& t) {
                 t.page.FollowBox()->setChecked(false);
                 t.Bar().setValue(t.Bar().maximum() / 2);
             }},
            {"rows below the part in sight", batches(4, 4)},
            {"scrolled a step",
             [](ShownTable& t) { t.Bar().triggerAction(QAbstractSlider::SliderSingleStepAdd); }},
            {"scrolled to the top", [](ShownTable& t) { t.Bar().setValue(0); }},
            {"following again", [](ShownTable& t) { t.page.FollowBox()->setChecked(true); }},
            {"wider and lower", [](ShownTable& t) { t.page.resize(820, 220); }},
            {"rows after the resize", batches(3, 4)},
            {"narrower and higher", [](ShownTable& t) { t.page.resize(520, 420); }},
            {"rows after the second resize", batches(3, 4)},
            {"covered by another window",
             [&cover](ShownTable& t) {
                 cover.setGeometry(t.page.geometry());
                 cover.show();
                 t.Batch(4);
             }},
            {"uncovered", [&cover](ShownTable&) { cover.hide(); }},
            {"hidden and shown again",
             [](ShownTable& t) {
                 t.page.hide();
                 t.Batch(4);
                 t.page.show();
             }},
            {"only the errors", [](ShownTable& t) { t.page.FaultsOnlyBox()->setChecked(true); }},
            {"error rows arriving", batches(3, 5)},
            {"every row again", [](ShownTable& t) { t.page.FaultsOnlyBox()->setChecked(false); }},
            {"a full table making room", batches(30, 4)},
            {"a full table making room, not following",
             [&batches](ShownTable& t) {
                 t.page.FollowBox()->setChecked(false);
                 t.Bar().setValue(t.Bar().maximum() / 3);
                 batches(10, 4)(t);
             }},
        };
        for (const auto& [what, act] : steps) {
            act(table);
            Settle();
            const QImage shown = Shown(table.page);
            const QImage repainted = Repainted(table.page);
            const int line = test::FirstDifferentLine(shown, repainted);
            if (line >= 0) {
                shown.save(QDir::temp().filePath(QStringLiteral("traffic-shown.png")));
                repainted.save(QDir::temp().filePath(QStringLiteral("traffic-repainted.png")));
            }
            QVERIFY2(line < 0,
                     qPrintable(QStringLiteral("%1: the window differs from a full repaint from line %2")
                                    .arg(QLatin1String(what))
                                    .arg(line)));
        }
    }

    void aNarrowColumnShowsTheStartOfTheWholeBytes_data() {
        QTest::addColumn<QFont>("font");
        QTest::newRow("the monitor's font") << SansFont(12);
        QTest::newRow("a larger one") << SansFont(17);
        QTest::newRow("a monospaced one") << QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }

    void aNarrowColumnShowsTheStartOfTheWholeBytes() {
        QFETCH(QFont, font);
        TrafficTableModel model;
        std::vector<std::uint8_t> bytes(25);
        for (std::size_t n = 0; n < bytes.size(); ++n)
            bytes[n] = static_cast<std::uint8_t>(n * 37 + 1);
        model.DeliveryJudged(Delivery{bytes, DeliveryVerdict::Accepted, 0, 0, std::nullopt, Now()});
        model.Flush();
        const QModelIndex index = model.index(0, TrafficTableModel::BytesColumn);
        const TrafficCellDelegate delegate;
        const QImage whole = Cell(delegate, index, 2000, font);
        for (int width = 30; width < 600; width += 13) {
            // Up to the narrow cell's right margin, whatever its size, the two must be the same.
            const QRect inside(0, 0, width - 8, whole.height());
            QCOMPARE(Cell(delegate, index, width, font).copy(inside), whole.copy(inside));
        }
    }

    void aTextLooksTheSameAfterTheFontChanged() {
        TrafficTableModel model;
        Feed(model, 3, true);
        model.Flush();
        const QModelIndex index = model.index(0, TrafficTableModel::MeaningColumn);
        const TrafficCellDelegate used;
        Cell(used, index, 400, SansFont(10));
        QCOMPARE(Cell(used, index, 400, SansFont(16)), Cell(TrafficCellDelegate(), index, 400, SansFont(16)));
    }

    void saveWritesOneLinePerRowInTheFileFormat() {
        TrafficTableModel model;
        TrafficPage page(model);
        for (std::uint8_t n = 0; n < 4; ++n)
            Feed(model, n, n == 2);
        model.Flush();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("saved.txt"));
        QCOMPARE(page.SaveTo(path), QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        for (int n = 0; n < 4; ++n)
            QCOMPARE(lines[n],
                     QString::fromStdString(FormatTrafficLine(model.Rows()[static_cast<std::size_t>(n)])));
        QVERIFY(!page.SaveTo(dir.filePath(QStringLiteral("no/such/folder.txt"))).isEmpty());
    }
};

QTEST_MAIN(TrafficViewTest)
#include "traffic_view_test.moc"
