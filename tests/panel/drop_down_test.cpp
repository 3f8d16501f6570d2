// The drop-down lists open on the item their box shows, selected, whichever way the box got its text.
#include <QAbstractItemView>
#include <QComboBox>
#include <QtTest>

#include "modbus/register_image.h"
#include "panel/form1.h"
#include "panel/port_combo_box.h"
#include "panel/trend/trend_window.h"
#include "trend/trend_series.h"

using namespace lq;

namespace {

// The row the open list has current and selected, or -1 when those two disagree.
int OpenedRow(QComboBox* box) {
    box->showPopup();
    const QModelIndex current = box->view()->currentIndex();
    const QModelIndexList selected = box->view()->selectionModel()->selectedIndexes();
    box->hidePopup();
    return selected.size() == 1 && selected[0] == current ? current.row() : -1;
}

} // namespace

class DropDownTest : public QObject {
    Q_OBJECT

  private slots:
    void theListOpensOnTheShownItem() {
        TForm1 form;
        form.show();
        auto* ports = dynamic_cast<PortComboBox*>(form.ComboBox4);
        QVERIFY(ports != nullptr);
        ports->SetLister([] {
            return std::vector<SerialPortEntry>{{"ttyUSB0", ""}, {"COM3", ""}, {"COM4", ""}, {"COM5", ""}};
        });
        RegisterImage image;
        TrendSeries series(image);
        TrendWindow trend(series, [] { return 0.0; });
        trend.show();
        trend.SetSpanMinutes(30);

        struct Case {
            const char* what;
            QComboBox* box;
            QString text; // typed into an editable box; empty: as it is
            QString shown;
        };
        const Case cases[] = {
            {"baud rate at start", form.ComboBox5, {}, QStringLiteral("19200")},
            {"baud rate typed", form.ComboBox5, QStringLiteral("38400"), QStringLiteral("38400")},
            {"port at start", form.ComboBox4, {}, QStringLiteral("COM4")},
            {"framing at start", form.ComboBox6, {}, form.ComboBox6->currentText()},
            {"time span chosen", trend.SpanBox(), {}, trend.SpanBox()->currentText()},
        };
        for (const Case& c : cases) {
            if (!c.text.isEmpty()) c.box->setEditText(c.text);
            const int row = OpenedRow(c.box);
            QVERIFY2(row >= 0, c.what);
            QCOMPARE(c.box->itemText(row), c.shown);
            QCOMPARE(c.box->currentText(), c.shown);
        }
    }
};

QTEST_MAIN(DropDownTest)
#include "drop_down_test.moc"
