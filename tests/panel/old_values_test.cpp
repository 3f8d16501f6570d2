// Values that are not current look it: once a poll block has gone three turns without an accepted reply,
// exactly the displays whose look depends on its registers go grey, with its age in their tool tip, and
// nothing of the layout moves; its next accepted reply takes the mark away. The real window on a
// pseudo-terminal whose far side plays the controller, on a clock the test steps.
#include <QScreen>
#include <QTextEdit>
#include <QtTest>
#include <map>
#include <set>

#include "modbus/block_ages.h"
#include "modbus/register_image.h"
#include "panel/form1.h"
#include "panel/old_value_marks.h"
#include "panel_on_line.h"
#include "widgets/ti_knob.h"

using namespace lq;

namespace {

using Registers = std::map<int, std::uint16_t>;
using Widgets = std::set<QWidget*>;

// Every register a value of its own; the second set makes each shown one look different.
Registers Values(bool second) {
    Registers r;
    for (int reg = 0; reg <= RegisterImage::kHighestRegister; ++reg)
        r[reg] = static_cast<std::uint16_t>(second ? 300 + 9 * reg : 100 + 7 * reg);
    r[3] = second ? 0 : 1;            // the run/stop caption
    r[12] = second ? 70 : 40;         // within the thermometer's scale
    r[13] = second ? 0x00AA : 0x0155; // every alarm lamp the other colour
    r[15] = second ? 3000 : 4000;     // the gauge's maximum, and its position within it
    r[23] = second ? 2500 : 2000;
    return r;
}

// The first set, with one block's registers from the second.
Registers ChangedIn(std::uint8_t block) {
    Registers r = Values(false);
    const Registers second = Values(true);
    for (int k = 0; k < kPollQuantity; ++k)
        r[kPollBlockStarts[block] + k] = second.at(kPollBlockStarts[block] + k);
    return r;
}

// What shows a value: the instruments and the counter field. The knobs are controls the operator turns;
// they follow the controller but carry no mark.
std::vector<QWidget*> Shown(TForm1& f) {
    std::vector<QWidget*> shown;
    for (TiComponent* c : f.findChildren<TiComponent*>())
        if (qobject_cast<TiKnob*>(c) == nullptr) shown.push_back(c);
    for (QTextEdit* memo : f.findChildren<QTextEdit*>())
        shown.push_back(memo);
    return shown;
}

// Its pixels, or for the counter field its text: a text field's pixels can differ from one paint to the next.
std::map<QWidget*, QVariant> Looks(TForm1& f) {
    std::map<QWidget*, QVariant> looks;
    for (QWidget* w : Shown(f)) {
        const auto* memo = qobject_cast<QTextEdit*>(w);
        looks[w] = memo != nullptr ? QVariant(memo->toPlainText()) : QVariant(w->grab().toImage());
    }
    return looks;
}

// The grey level of its darkest pixel on the screen: text, edges and lamps are near black in the normal look.
// From the window as painted, because a widget grabbed by itself is drawn otherwise than on the screen.
int Darkest(QWidget& widget) {
    QCoreApplication::processEvents();
    const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
    const QImage image =
        widget.screen()
            ->grabWindow(widget.window()->winId(), at.x(), at.y(), widget.width(), widget.height())
            .toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

std::map<QWidget*, QRect> Places(TForm1& f) {
    std::map<QWidget*, QRect> places;
    for (QWidget* w : f.findChildren<QWidget*>())
        places[w] = w->geometry();
    return places;
}

// Where each is and what it is, for a failure message.
QString Names(const Widgets& widgets) {
    QStringList names;
    for (QWidget* w : widgets)
        names << QStringLiteral("%1 at %2,%3 in %4")
                     .arg(w->metaObject()->className())
                     .arg(w->x())
                     .arg(w->y())
                     .arg(w->parentWidget()->objectName());
    return names.join(QStringLiteral("; "));
}

Widgets Marked(TForm1& f) {
    Widgets marked;
    for (QWidget* w : Shown(f))
        if (OldValueMarks::Marked(w)) marked.insert(w);
    return marked;
}

} // namespace

class OldValuesTest : public QObject {
    Q_OBJECT

    std::shared_ptr<testing::FakeClock> clock_;
    std::unique_ptr<test::PanelOnLine> rig_;

    TForm1& Form() { return rig_->Form(); }

    // Poll ticks a tick apart, the far side answering from these registers and refusing reads from
    // refusedStart; then the refresh.
    bool Poll(int ticks, const Registers& registers, int refusedStart = -1) {
        for (int t = 0; t < ticks; ++t) {
            clock_->Advance(std::chrono::milliseconds(500));
            Form().Timer1Timer();
            if (!rig_->AnswerRead(registers, refusedStart)) return false;
        }
        Form().Timer2Timer();
        return true;
    }

  private slots:
    void init() {
        clock_ = std::make_shared<testing::FakeClock>();
        rig_ = std::make_unique<test::PanelOnLine>(clock_);
        QVERIFY(rig_->Activate());
        QVERIFY(rig_->OpenLine());
    }

    void cleanup() { rig_.reset(); }

    void aBlockWithoutRepliesGreysExactlyWhatItFeeds_data() {
        QTest::addColumn<int>("block");
        for (int block = 0; block < 4; ++block)
            QTest::addRow("block %d", block) << block;
    }

    void aBlockWithoutRepliesGreysExactlyWhatItFeeds() {
        QFETCH(int, block);
        const auto b = static_cast<std::uint8_t>(block);
        QVERIFY(Poll(4, Values(false)));
        QCOMPARE(Marked(Form()), Widgets{});
        const auto looks = Looks(Form());
        QVERIFY(Poll(4, ChangedIn(b)));
        Widgets fed;
        for (const auto& [widget, look] : Looks(Form()))
            if (look != looks.at(widget)) fed.insert(widget);
        QVERIFY(!fed.empty());

        const auto places = Places(Form());
        std::map<QWidget*, int> darkest;
        for (QWidget* w : fed)
            darkest[w] = Darkest(*w);
        // Four turns of refusals; however often the master asks the block again, the others go on.
        QVERIFY(Poll(16, ChangedIn(b), kPollBlockStarts[b]));
        QVERIFY(Form().Ages().Age(b) > Form().Ages().OldAfter());
        QCOMPARE(Names(Marked(Form())), Names(fed));
        // The same values, but they look it: even their text and edges are grey now.
        for (QWidget* w : fed)
            QVERIFY2(Darkest(*w) > darkest.at(w), qPrintable(Names({w})));
        for (QWidget* w : Shown(Form()))
            QCOMPARE(w->toolTip().contains(QStringLiteral("旧值")), fed.count(w) == 1);
        QCOMPARE(Places(Form()), places);

        QVERIFY(Poll(4, ChangedIn(b)));
        QCOMPARE(Marked(Form()), Widgets{});
        for (QWidget* w : fed)
            QCOMPARE(w->toolTip(), QString());
    }
};

QTEST_MAIN(OldValuesTest)
#include "old_values_test.moc"
