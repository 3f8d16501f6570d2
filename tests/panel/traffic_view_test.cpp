// The traffic table: bounded, batched, paused, cleared, filtered to errors, following the newest row, saved.
#include <QCheckBox>
#include <QFile>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include "modbus/frame_meaning.h"
#include "modbus/traffic_line.h"
#include "panel/traffic_filter_model.h"
#include "panel/traffic_page.h"
#include "panel/traffic_table_model.h"

using namespace lq;

namespace {

const std::vector<std::uint8_t> kReply(25, 0x11);

LinkTime Now()
{
    return {std::chrono::steady_clock::now(), std::chrono::system_clock::now()};
}

// An unanswered read of the given block (a fault row) or a good reply (not one).
void Feed(TrafficTableModel& model, std::uint8_t block, bool fault)
{
    if (fault) {
        model.ReadUnanswered(NoReply{block, Now()});
    } else {
        model.DeliveryJudged(Delivery{kReply, DeliveryVerdict::Accepted, block, 0, std::nullopt, Now()});
    }
}

QString Meaning(const QAbstractItemModel& model, int row)
{
    return model.index(row, TrafficTableModel::MeaningColumn).data().toString();
}

} // namespace

class TrafficViewTest : public QObject {
    Q_OBJECT

private slots:
    void keepsTheNewestRowsAndTellsTheViewWhichWent()
    {
        TrafficTableModel model(5);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        for (std::uint8_t n = 0; n < 4; ++n) Feed(model, n, true);
        model.Flush();
        for (std::uint8_t n = 4; n < 7; ++n) Feed(model, n, true);
        model.Flush();
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(2).toInt(), 1); // rows 0 and 1 went
        QCOMPARE(Meaning(model, 0), QString::fromStdString(DescribeNoReply(NoReply{2, {}})));
        QCOMPARE(Meaning(model, 4), QString::fromStdString(DescribeNoReply(NoReply{6, {}})));
    }

    void aFullTableMakesRoomForATenthAtOnce()
    {
        TrafficTableModel model(100);
        for (int n = 0; n < 100; ++n) Feed(model, static_cast<std::uint8_t>(n), true);
        model.Flush();
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        Feed(model, 100, true);
        model.Flush();
        QCOMPARE(removed.count(), 1);
        QCOMPARE(model.rowCount(), 91);
        QCOMPARE(Meaning(model, 0), QString::fromStdString(DescribeNoReply(NoReply{10, {}})));
        for (std::uint8_t n = 101; n < 110; ++n) Feed(model, n, true);
        model.Flush();
        QCOMPARE(removed.count(), 1); // the room made before is used first
        QCOMPARE(model.rowCount(), 100);
    }

    void rowsArriveInABatchAndWaitWhilePaused()
    {
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

    void errorsOnlyShowsTheFaultRowsOldAndNew()
    {
        TrafficTableModel model;
        TrafficFilterModel filter;
        filter.setSourceModel(&model);
        for (std::uint8_t n = 0; n < 6; ++n) Feed(model, n, n % 3 == 0);
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

    void followingKeepsTheNewestRowInSight()
    {
        TrafficTableModel model;
        TrafficPage page(model);
        page.resize(600, 300);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QScrollBar* bar = page.View()->verticalScrollBar();
        for (std::uint8_t n = 0; n < 200; ++n) Feed(model, n, false);
        model.Flush();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        // Rows added at the end take the quick way through the view's layout; the scroll range still grows.
        const int before = bar->maximum();
        for (std::uint8_t n = 0; n < 20; ++n) Feed(model, n, false);
        model.Flush();
        QVERIFY(bar->maximum() > before);
        QCOMPARE(bar->value(), bar->maximum());

        page.FollowBox()->setChecked(false);
        bar->setValue(0);
        for (std::uint8_t n = 0; n < 50; ++n) Feed(model, n, false);
        model.Flush();
        QCOMPARE(bar->value(), 0);
    }

    void aRowAddedInSightIsDrawnOnTheScreen()
    {
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

    void saveWritesOneLinePerRowInTheFileFormat()
    {
        TrafficTableModel model;
        TrafficPage page(model);
        for (std::uint8_t n = 0; n < 4; ++n) Feed(model, n, n == 2);
        model.Flush();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("saved.txt"));
        QCOMPARE(page.SaveTo(path), QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        for (int n = 0; n < 4; ++n)
            QCOMPARE(lines[n], QString::fromStdString(FormatTrafficLine(model.Rows()[static_cast<std::size_t>(n)])));
        QVERIFY(!page.SaveTo(dir.filePath(QStringLiteral("no/such/folder.txt"))).isEmpty());
    }
};

QTEST_MAIN(TrafficViewTest)
#include "traffic_view_test.moc"
