// The main window's layout where it goes beyond fixed places: the title strip on the top edge and the
// fonts of the numeric fields.
#include <QLabel>
#include <QtTest>

#include "panel/form1.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_line_editor.h"

using namespace lq;

class LayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void titleStripKeepsTheWindowWidth_data() {
        QTest::addColumn<int>("width");
        QTest::newRow("wider") << 1024;
        QTest::newRow("narrower") << 640;
        QTest::newRow("as laid out") << 801;
    }

    void titleStripKeepsTheWindowWidth() {
        QFETCH(int, width);
        TForm1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.Label1->geometry(), QRect(0, 0, form.width(), 24));
        form.resize(width, 600);
        QTRY_COMPARE(form.width(), width);
        QCOMPARE(form.Label1->geometry(), QRect(0, 0, width, 24));
    }

    // Bold are the three fields the refresh writes; the five SET/ENT entries keep the window's font.
    void numericFieldFonts() {
        TForm1 form;
        const std::pair<TiAnalogOutput*, bool> fields[] = {
            {form.iAnalogOutput1, true},  {form.iAnalogOutput2, true},  {form.iAnalogOutput4, true},
            {form.iAnalogOutput3, false}, {form.iAnalogOutput5, false}, {form.iAnalogOutput6, false},
            {form.iAnalogOutput7, false}, {form.iAnalogOutput8, false}};
        for (const auto& [field, bold] : fields) {
            QFont expected = form.font();
            expected.setBold(bold);
            QCOMPARE(field->font(), expected);
            QCOMPARE(field->Editor()->font().bold(), bold);
        }
    }
};

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
