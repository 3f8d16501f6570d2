// The main window's design-time layout: every component at its place, size, text, font and colour.
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

#include "modbus/line_framing.h"
#include "panel/command_entry.h"
#include "panel/form1.h"
#include "panel/lamp_icons.h"
#include "panel/panel_colors.h"
#include "panel/panel_fonts.h"
#include "panel/port_combo_box.h"
#include "panel/shown_item_popup.h"
#include "panel/up_down_control.h"
#include "widgets/ti_analog_display.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_knob.h"
#include "widgets/ti_label.h"
#include "widgets/ti_led.h"
#include "widgets/ti_led_bar.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_linear_gauge.h"
#include "widgets/ti_switch_led.h"
#include "widgets/ti_thermometer.h"

namespace lq {

namespace {

QFrame* MakePanel(QWidget* parent, QRect geometry, const QColor& colour, bool lowered) {
    auto* panel = new QFrame(parent);
    panel->setGeometry(geometry);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, colour);
    panel->setPalette(pal);
    if (lowered) {
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setLineWidth(2);
    } else {
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setLineWidth(1);
    }
    return panel;
}

QLabel* MakeLabel(QWidget* parent, const QString& caption, int left, int top, const QFont& font) {
    auto* label = new QLabel(caption, parent);
    label->setFont(font);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLabel* MakeImage(QWidget* parent, QRect geometry, const QPixmap& icon) {
    auto* image = new QLabel(parent);
    image->setGeometry(geometry);
    image->setPixmap(icon);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setAttribute(Qt::WA_TranslucentBackground);
    return image;
}

QComboBox* MakeCombo(QWidget* parent, QRect geometry, const QStringList& items, const QString& text,
                     QComboBox* box = nullptr) {
    if (box == nullptr) box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setGeometry(geometry);
    box->setEditText(text);
    SelectShownItemWhenOpened(box);
    return box;
}

QTextEdit* MakeMemo(QWidget* parent, QRect geometry) {
    auto* memo = new QTextEdit(parent);
    memo->setGeometry(geometry);
    memo->setFont(SongFont(19, true));
    memo->setAcceptRichText(false);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setLineWrapMode(QTextEdit::NoWrap);
    memo->document()->setDocumentMargin(1);
    memo->document()->setDefaultTextOption(QTextOption(Qt::AlignRight));
    memo->setPlainText("0");
    // A number field: it takes the focus when clicked, not at start-up.
    memo->setFocusPolicy(Qt::ClickFocus);
    return memo;
}

TiLabel* MakeTiLabel(QWidget* parent, const QString& caption, int left, int top) {
    auto* label = new TiLabel(parent);
    label->SetCaption(caption);
    label->move(left, top);
    return label;
}

QFont BoldWidgetFont(const QWidget* widget) {
    QFont font = widget->font();
    font.setBold(true);
    return font;
}

TiAnalogDisplay* MakeDisplay(QWidget* parent, int left, int top, int precision) {
    auto* display = new TiAnalogDisplay(parent);
    display->setGeometry(left, top, 57, display->height());
    display->SetPrecision(precision);
    display->setFont(BoldWidgetFont(display));
    display->SetFontColor(clAqua);
    return display;
}

// The fields the refresh writes are bold; the SET/ENT entries keep the window's font.
void PlaceOutput(TiAnalogOutput* field, int left, int top, int width, int precision, bool bold) {
    field->setGeometry(left, top, width, field->height());
    field->SetPrecision(precision);
    if (bold) field->setFont(BoldWidgetFont(field));
}

// A field the refresh writes shows a value and takes no command, so neither Tab nor a click gives it the
// focus.
TiAnalogOutput* MakeOutput(QWidget* parent, int left, int top, int width, int precision, bool bold) {
    auto* field = new TiAnalogOutput(parent);
    PlaceOutput(field, left, top, width, precision, bold);
    field->setFocusPolicy(Qt::NoFocus);
    field->Editor()->setFocusPolicy(Qt::NoFocus);
    return field;
}

// Keeps a strip on its parent's top edge and as wide as the parent, as a control aligned to the top is.
class TopEdgeAlignment final : public QObject {
  public:
    explicit TopEdgeAlignment(QWidget* strip) : QObject(strip), strip_(strip) {
        strip_->parentWidget()->installEventFilter(this);
        Follow();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == strip_->parentWidget() && event->type() == QEvent::Resize) Follow();
        return false;
    }

  private:
    void Follow() { strip_->setGeometry(0, 0, strip_->parentWidget()->width(), strip_->height()); }

    QWidget* strip_;
};

// A press of an arrow key turns a knob by 1 % of its scale, of a page key by 10 %. The knob's key reaction
// runs twice for each press, so each run takes half of that.
constexpr double kArrowKeyShare = 0.01;
constexpr double kPageKeyShare = 0.10;
constexpr double kKeyReactionsPerPress = 2;

TiKnob* MakeKnob(QWidget* parent, QRect geometry, double maximum, int knobRadius) {
    auto* knob = new TiKnob(parent);
    if (geometry.isValid()) knob->setGeometry(geometry);
    knob->SetPositionMax(maximum);
    knob->SetKeyArrowStepSize(maximum * kArrowKeyShare / kKeyReactionsPerPress);
    knob->SetKeyPageStepSize(maximum * kPageKeyShare / kKeyReactionsPerPress);
    knob->SetMouseWheelStepSize(1.0);
    knob->SetKnobRadius(knobRadius);
    return knob;
}

TiSwitchLed* MakeSetSwitch(QWidget* parent, int left, int top) {
    auto* sw = new TiSwitchLed(parent);
    sw->setGeometry(left, top, 33, 25);
    sw->SetCaption(QStringLiteral("SET"));
    sw->SetActiveColor(clRed);
    sw->SetCaptionMargin(1);
    sw->SetIndicatorMargin(4);
    sw->SetBorderSize(2);
    sw->SetKeysClick(true);
    return sw;
}

} // namespace

void TForm1::CreateComponents() {
    Label1 = new QLabel(tr("PW5_三相控制界面  "), this);
    Label1->setGeometry(0, 0, width(), 24);
    new TopEdgeAlignment(Label1);
    Label1->setAlignment(Qt::AlignCenter);
    QFont titleFont = SansFont(20, true);
    titleFont.setItalic(true);
    Label1->setFont(titleFont);
    Label1->setAutoFillBackground(true);
    QPalette titlePalette = Label1->palette();
    titlePalette.setColor(QPalette::Window, kHotLight);
    titlePalette.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(titlePalette);

    Panel2 = MakePanel(this, {0, 24, 801, 521}, kLight3DFace, false);
    Label4 = MakeLabel(Panel2, QString(), 728, 173, font());
    Memo12 = MakeMemo(Panel2, {520, 487, 73, 27});
    Memo13 = MakeMemo(Panel2, {608, 487, 73, 27});

    CreateAlarmPanel();
    CreateInputOutputPanel();
    CreateTemperaturePanel();
    CreatePhaseCurrentPanel();
    CreateVoltagePanel();
    CreateLimitPanels();

    iLinearGauge1 = new TiLinearGauge(Panel2);
    iLinearGauge1->setGeometry(712, 360, iLinearGauge1->width(), 96);
    iLinearGauge1->SetPositionMax(380);

    // Created last so that they lie over the panels they overlap at the window's top edge.
    CreateStatusStrip();
    CreatePortSettings();
    SetTabOrder();
}

void TForm1::SetTabOrder() {
    // Reading order of the places above: the status strip left to right, the port settings top to bottom,
    // the input knob, the temperature-control rows (each entry before its switch), the two limit knobs. An
    // entry stands in the order beside its editor, where Tab finds it while a refusal hides the editor.
    std::vector<QWidget*> order{CheckBox2, ComboBox1, iSwitchLed1, ComboBox4,
                                ComboBox5, ComboBox6, BitBtn7,     iKnob1};
    const std::array<std::pair<CommandEntry*, TiSwitchLed*>, 5> rows{{{iAnalogOutput3, iSwitchLed2},
                                                                      {iAnalogOutput5, iSwitchLed3},
                                                                      {iAnalogOutput6, iSwitchLed4},
                                                                      {iAnalogOutput7, iSwitchLed5},
                                                                      {iAnalogOutput8, iSwitchLed6}}};
    for (const auto& [entry, sw] : rows)
        order.insert(order.end(), {entry, entry->Editor(), sw});
    order.insert(order.end(), {iKnob2, iKnob3});
    for (std::size_t n = 1; n < order.size(); ++n)
        QWidget::setTabOrder(order[n - 1], order[n]);
}

void TForm1::CreateStatusStrip() {
    Panel5 = MakePanel(Panel2, {-8, -1, 521, 41}, kScrollBarColour, true);

    CheckBox2 = new QCheckBox(tr("通讯"), Panel5);
    CheckBox2->setGeometry(24, 8, 49, 25);
    CheckBox2->setFont(SongFont(12));
    CheckBox2->setStyleSheet(QString("QCheckBox { color: %1; }").arg(kMaroon.name()));

    Image7 = MakeImage(Panel5, {88, 8, 33, 33}, DarkLampIcon());
    Image14 = MakeImage(Panel5, {88, 8, 33, 33}, LitLampIcon());

    Label9 = MakeLabel(Panel5, tr("地址:   "), 160, 8, SongFont(19));
    QStringList addresses;
    for (int a = 1; a <= 255; ++a)
        addresses << QString::number(a);
    ComboBox1 = MakeCombo(Panel5, {208, 8, 49, 21}, addresses, "1");

    iSwitchLed1 = new TiSwitchLed(Panel5);
    iSwitchLed1->setGeometry(312, 8, 177, iSwitchLed1->height());
    iSwitchLed1->SetCaption(QStringLiteral("STOP"));
    iSwitchLed1->SetCaptionMargin(2);
    iSwitchLed1->SetBorderSize(2);
    iSwitchLed1->SetKeysClick(true);
}

void TForm1::CreatePortSettings() {
    Panel3 = MakePanel(Panel2, {512, -3, 297, 140}, kScrollBarColour, true);
    QFont bold = font();
    bold.setBold(true);
    Panel3->setFont(bold);

    const QFont songBold = SongFont(16, true);
    Label23 = MakeLabel(Panel3, tr("端口: "), 58, 10, songBold);
    Label25 = MakeLabel(Panel3, tr("波特率:   "), 42, 34, songBold);
    Label26 = MakeLabel(Panel3, tr("位元: "), 58, 66, songBold);

    QStringList ports;
    for (int n = 1; n <= 9; ++n)
        ports << QString("COM%1").arg(n);
    ComboBox4 = MakeCombo(Panel3, {106, 2, 97, 21}, ports, "COM4",
                          new PortComboBox(Panel3, PortComboBox::MachineLister()));
    ComboBox5 = MakeCombo(Panel3, {106, 34, 97, 21}, {"4800", "9600", "19200", "38400"}, "19200");
    const auto named = [](Framing framing) {
        const std::string_view name = FramingName(framing);
        return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    };
    QStringList framings;
    for (const Framing framing : kFramings)
        framings << named(framing);
    ComboBox6 = MakeCombo(Panel3, {106, 66, 97, 21}, framings, named(Framing::N2));

    BitBtn7 = new QPushButton(tr("打开串口"), Panel3);
    BitBtn7->setGeometry(58, 96, 65, 35);
    BitBtn7->setFont(SongFont(12, true));

    Image9 = MakeImage(Panel3, {136, 96, 33, 33}, DarkLampIcon());
    Image20 = MakeImage(Panel3, {136, 96, 33, 33}, LitLampIcon());
}

void TForm1::CreateAlarmPanel() {
    Panel1 = MakePanel(Panel2, {0, 40, 513, 97}, kLight3DFace, false);
    Label2 = MakeLabel(Panel1, tr("警报："), 8, 8, SongFont(12));

    static constexpr std::array<int, 9> lampLefts{24, 64, 104, 144, 232, 272, 360, 400, 448};
    for (std::size_t n = 0; n < lampLefts.size(); ++n) {
        iLedRound[n] = new TiLedRound(Panel1);
        iLedRound[n]->move(lampLefts[n], 48);
    }

    struct LabelPlace {
        const char* caption;
        int left, top;
    };
    static constexpr std::array<LabelPlace, 11> labels{{{"PWER", 16, 32},
                                                        {"R", 64, 32},
                                                        {"S", 104, 32},
                                                        {"T", 144, 32},
                                                        {"TEMP", 248, 8},
                                                        {"MAX", 232, 32},
                                                        {"LOA", 272, 32},
                                                        {"CUUR", 400, 8},
                                                        {"MAX", 360, 32},
                                                        {"PLO", 400, 32},
                                                        {"SHO", 440, 32}}};
    for (std::size_t n = 0; n < labels.size(); ++n)
        iLabelAlarm[n] =
            MakeTiLabel(Panel1, QString::fromLatin1(labels[n].caption), labels[n].left, labels[n].top);
}

void TForm1::CreateTemperaturePanel() {
    Panel4 = MakePanel(Panel2, {624, 136, 177, 177}, kLight3DFace, false);
    iLabel12 = MakeTiLabel(Panel4, tr("温度："), 8, 8);
    iThermometer1 = new TiThermometer(Panel4);
    iThermometer1->move(72, 16);
    iThermometer1->BeginLoading();
    iThermometer1->SetPositionMax(100);
    iThermometer1->SetPosition(25);
    iThermometer1->EndLoading();
    iAnalogOutput1 = MakeOutput(Panel4, 8, 40, 49, 0, true);
    iAnalogOutput1->SetUnitsText("'C");
}

void TForm1::CreateInputOutputPanel() {
    Panel6 = MakePanel(Panel2, {-8, 136, 633, 177}, kLight3DFace, false);
    iLabel13 = MakeTiLabel(Panel6, tr("输入："), 16, 8);
    iKnob1 = MakeKnob(Panel6, {}, 10000, 27);
    iKnob1->move(88, 16);
    iAnalogOutput2 = MakeOutput(Panel6, 16, 40, 57, 2, true);
    UpDown1 = new UpDownControl(Panel6);
    UpDown1->setGeometry(73, 40, 15, 21);
    UpDown1->SetAssociate(iAnalogOutput2);

    iLabel15 = MakeTiLabel(Panel6, tr("输出量："), 488, 16);
    iAnalogOutput4 = MakeOutput(Panel6, 488, 40, 57, 1, true);
    iLedBar2 = new TiLedBar(Panel6);
    iLedBar2->setGeometry(560, 16, 25, 153);
    iLedBar2->SetPositionMax(100);
    iLedBar2->SetBackGroundColor(clSilver);
    iLedBar2->SetSectionColor1(clYellow);

    Panel9 = MakePanel(Panel6, {248, 0, 217, 177}, kLight3DFace, false);
    CreateTemperatureControlBlock();
}

void TForm1::CreateTemperatureControlBlock() {
    iLabel31 = MakeTiLabel(Panel9, tr("温控："), 8, 8);

    iLabel14 = MakeTiLabel(Panel9, QStringLiteral("PV："), 32, 32);
    iAnalogDisplay7 = MakeDisplay(Panel9, 62, 29, 1);

    struct Row {
        TiLabel*& label;
        const char16_t* caption;
        TiAnalogDisplay*& display;
        CommandEntry*& entry;
        TiSwitchLed*& sw;
        int precision;
    };
    const std::array<Row, 5> rows{{{iLabel26, u"SV：", iAnalogDisplay8, iAnalogOutput3, iSwitchLed2, 1},
                                   {iLabel27, u"AL1：", iAnalogDisplay9, iAnalogOutput5, iSwitchLed3, 1},
                                   {iLabel28, u"P：", iAnalogDisplay10, iAnalogOutput6, iSwitchLed4, 1},
                                   {iLabel29, u"I：", iAnalogDisplay11, iAnalogOutput7, iSwitchLed5, 0},
                                   {iLabel30, u"D：", iAnalogDisplay12, iAnalogOutput8, iSwitchLed6, 0}}};
    int labelTop = 56;
    for (const Row& row : rows) {
        row.label = MakeTiLabel(Panel9, QString::fromUtf16(row.caption), 32, labelTop);
        row.display = MakeDisplay(Panel9, 62, labelTop - 3, row.precision);
        row.entry = new CommandEntry(Panel9);
        PlaceOutput(row.entry, 128, labelTop, 49, row.precision, false);
        row.sw = MakeSetSwitch(Panel9, 184, labelTop);
        labelTop += 24;
    }
    iLabel26->SetFontColor(clMaroon);
    iAnalogDisplay8->SetFontColor(clRed);
}

void TForm1::CreatePhaseCurrentPanel() {
    Panel7 = MakePanel(Panel2, {448, 312, 185, 145}, kLight3DFace, false);
    iLabel19 = MakeTiLabel(Panel7, "R_C", 20, 24);
    iAnalogDisplay1 = MakeDisplay(Panel7, 54, 21, 1);
    iLabel16 = MakeTiLabel(Panel7, "A", 121, 23);
    iLabel20 = MakeTiLabel(Panel7, "S_C", 21, 56);
    iAnalogDisplay2 = MakeDisplay(Panel7, 55, 53, 1);
    iLabel17 = MakeTiLabel(Panel7, "A", 122, 57);
    iLabel21 = MakeTiLabel(Panel7, "T_C", 21, 88);
    iAnalogDisplay3 = MakeDisplay(Panel7, 55, 85, 1);
    iLabel18 = MakeTiLabel(Panel7, "A", 121, 89);
}

void TForm1::CreateVoltagePanel() {
    Panel8 = MakePanel(Panel2, {632, 312, 169, 145}, kLight3DFace, false);
    iLabel25 = MakeTiLabel(Panel8, "Volt", 28, 24);
    iAnalogDisplay4 = MakeDisplay(Panel8, 54, 21, 1);
    iLabel22 = MakeTiLabel(Panel8, "V", 121, 23);
}

void TForm1::CreateLimitPanels() {
    Panel11 = MakePanel(Panel2, {0, 312, 225, 209}, kLight3DFace, false);
    iLabel23 = MakeTiLabel(Panel11, tr("最大输出量限制："), 16, 8);
    iAnalogDisplay5 = MakeDisplay(Panel11, 126, 13, 1);
    iKnob2 = MakeKnob(Panel11, {40, 48, 145, 137}, 1000, 23);

    Panel10 = MakePanel(Panel2, {224, 312, 225, 209}, kLight3DFace, false);
    iLabel24 = MakeTiLabel(Panel10, tr("最小输出量限制："), 16, 8);
    iAnalogDisplay6 = MakeDisplay(Panel10, 126, 13, 1);
    iKnob3 = MakeKnob(Panel10, {40, 48, 145, 137}, 400, 26);
}

} // namespace lq
