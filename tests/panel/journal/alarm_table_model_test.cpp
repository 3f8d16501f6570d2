// The alarm table tells its views only what changed: nothing for an entry that is no alarm's, its rows for an
// alarm that changed state, a new list when an alarm comes or goes.
#include <QSignalSpy>
#include <QtTest>
#include <chrono>

#include "journal/alarm_board.h"
#include "panel/journal/alarm_table_model.h"

using namespace lq;

namespace {

constexpr int kAcknowledgeBit0 = -1; // in place of a register value: the operator acknowledges bit 0

std::chrono::system_clock::time_point At(int seconds) {
    return std::chrono::system_clock::time_point{std::chrono::seconds(1'800'000'000 + seconds)};
}

} // namespace

class AlarmTableModelTest : public QObject {
    Q_OBJECT
  private slots:
    void tellsItsViewsOnlyWhatChanged_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("told");
        QTest::newRow("no alarm, none comes") << 0 << 0 << "nothing";
        QTest::newRow("an alarm stays active") << 1 << 1 << "nothing";
        QTest::newRow("acknowledged") << 1 << kAcknowledgeBit0 << "rows";
        QTest::newRow("returned to normal, not acknowledged") << 1 << 0 << "rows";
        QTest::newRow("a second alarm comes") << 1 << 3 << "list";
        QTest::newRow("the first comes") << 0 << 1 << "list";
    }
    void tellsItsViewsOnlyWhatChanged() {
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(QString, told);
        AlarmBoard board;
        board.Observe(static_cast<std::uint16_t>(before), At(0));
        AlarmTableModel model(board);
        const QString stateBefore = model.index(0, AlarmTableModel::StateColumn).data().toString();
        if (after == kAcknowledgeBit0)
            board.Acknowledge(0, At(1));
        else
            board.Observe(static_cast<std::uint16_t>(after), At(1));
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy rows(&model, &QAbstractItemModel::dataChanged);
        model.Refresh();
        const QString shown = reset.count() == 1 ? "list" : rows.count() == 1 ? "rows" : "nothing";
        QCOMPARE(shown, told);
        QCOMPARE(reset.count() + rows.count(), told == "nothing" ? 0 : 1);
        if (told == "rows")
            QVERIFY(model.index(0, AlarmTableModel::StateColumn).data().toString() != stateBefore);
    }
};

QTEST_MAIN(AlarmTableModelTest)
#include "alarm_table_model_test.moc"
