// A text wider than its cell is elided where the table asks for it, laid out once per width: what a cell
// shows is the same as a fresh delegate drawing the text as elided, whatever the widths it was drawn at
// before.
#include <QFontMetrics>
#include <QPainter>
#include <QStandardItemModel>
#include <QtTest>

#include "panel/laid_out_text_delegate.h"
#include "panel/panel_fonts.h"

using namespace lq;

namespace {

constexpr int kMargins = 8; // the delegate's text margin, either side

QImage Cell(const LaidOutTextDelegate& delegate, const QModelIndex& index, int width) {
    QImage image(width, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.font = SansFont(12);
    option.palette.setColor(QPalette::Text, Qt::black);
    QPainter painter(&image);
    delegate.paint(&painter, option, index);
    return image;
}

} // namespace

class LaidOutTextDelegateTest : public QObject {
    Q_OBJECT
  private slots:
    void aCellShowsItsTextElidedToItsWidth_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("drawnBefore"); // a width the same text was drawn at first, or 0
        const QString write = QStringLiteral("SV 写入 80.0 ℃（原 60.0 ℃），已确认，发送 1 次");
        QTest::newRow("fits") << write << 600 << 0;
        QTest::newRow("too wide") << write << 120 << 0;
        QTest::newRow("narrower than drawn before") << write << 90 << 160;
        QTest::newRow("wider than drawn before, still cut") << write << 160 << 90;
        QTest::newRow("wide enough after a narrow one") << write << 600 << 90;
    }
    void aCellShowsItsTextElidedToItsWidth() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, drawnBefore);
        QStandardItemModel model(2, 1);
        model.setData(model.index(0, 0), text);
        const QString elided = QFontMetrics(SansFont(12)).elidedText(text, Qt::ElideRight, width - kMargins);
        model.setData(model.index(1, 0), elided);
        const LaidOutTextDelegate eliding(Qt::ElideRight);
        if (drawnBefore > 0) Cell(eliding, model.index(0, 0), drawnBefore);
        const LaidOutTextDelegate cutting(Qt::ElideNone);
        QCOMPARE(Cell(eliding, model.index(0, 0), width), Cell(cutting, model.index(1, 0), width));
    }
};

QTEST_MAIN(LaidOutTextDelegateTest)
#include "laid_out_text_delegate_test.moc"
