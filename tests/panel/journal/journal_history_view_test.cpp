// The history's rows on the screen are what a full repaint draws, after each way entries come: on top one by
// one or several at once, with the oldest dropped below what is shown or in view, with a row selected or a
// column widened just before, the view scrolled down, a filter set.
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>
#include <functional>

#include "journal/journal.h"
#include "modbus/register_image.h"
#include "panel/journal/journal_table_model.h"
#include "panel/journal/journal_window.h"
#include "panel/journal/journal_wording_zh.h"
#include "tests/panel/window_pixels.h"

using namespace lq;

namespace {

struct FedHistory {
    RegisterImage registers;
    Journal journal{registers, PanelJournalWording(), 30};
    JournalWindow window{journal, nullptr};
    int fed = 0;

    void Add(int entries) {
        for (int n = 0; n < entries; ++n, ++fed) {
            const bool lost = fed % 2 == 0;
            journal.Add({std::chrono::system_clock::time_point{std::chrono::seconds(1'800'000'000 + fed)},
                         lost ? EntryKind::LinkLost : EntryKind::LinkRestored, "COM4", std::nullopt,
                         lost ? "no-reply" : "",
                         (lost ? "通讯中断：无应答 #" : "通讯恢复 #") + std::to_string(fed)});
        }
        window.Refresh();
    }
};

} // namespace

class JournalHistoryViewTest : public QObject {
    Q_OBJECT
  private slots:
    void theRowsOnTheScreenAreWhatAFullRepaintDraws() {
        FedHistory history;
        history.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&history.window));
        QTableView& view = *history.window.HistoryView();
        const std::pair<const char*, std::function<void(FedHistory&)>> steps[] = {
            {"the first entries", [](FedHistory& h) { h.Add(3); }},
            {"one on top", [](FedHistory& h) { h.Add(1); }},
            {"several at once", [](FedHistory& h) { h.Add(5); }},
            {"the store full, the oldest dropped below", [](FedHistory& h) { h.Add(30); }},
            {"one more, one dropped", [](FedHistory& h) { h.Add(1); }},
            {"and another", [](FedHistory& h) { h.Add(1); }},
            {"a row selected",
             [&view](FedHistory& h) {
                 view.selectRow(2);
                 h.Add(1);
             }},
            {"a column widened",
             [&view](FedHistory& h) {
                 view.setColumnWidth(JournalTableModel::SubjectColumn, 120);
                 h.Add(1);
             }},
            {"scrolled down",
             [&view](FedHistory& h) {
                 view.verticalScrollBar()->setValue(8);
                 h.Add(2);
             }},
            {"back on top",
             [&view](FedHistory& h) {
                 view.verticalScrollBar()->setValue(0);
                 h.Add(1);
             }},
            {"filtered",
             [](FedHistory& h) {
                 h.window.findChild<QLineEdit*>()->setText(QStringLiteral("恢复"));
                 h.Add(3);
             }},
            {"taller than the store: the oldest dropped in view",
             [](FedHistory& h) {
                 h.window.findChild<QLineEdit*>()->clear();
                 h.window.resize(980, 1100);
                 test::SettleRepaints();
                 h.Add(1);
             }},
        };
        for (const auto& [what, act] : steps) {
            act(history);
            test::SettleRepaints();
            const QImage shown = test::ShownPixels(history.window, *view.viewport());
            const QImage repainted = test::RepaintedPixels(*view.viewport());
            const int line = test::FirstDifferentLine(shown, repainted);
            QVERIFY2(line < 0,
                     qPrintable(QStringLiteral("%1: the rows differ from a full repaint from line %2")
                                    .arg(QLatin1String(what))
                                    .arg(line)));
        }
    }
};

QTEST_MAIN(JournalHistoryViewTest)
#include "journal_history_view_test.moc"
