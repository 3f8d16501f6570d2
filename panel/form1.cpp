#include "panel/form1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>
#include <array>

#include "modbus/block_ages.h"
#include "panel/command_entry.h"
#include "panel/design_scroll_area.h"
#include "panel/enter_presses.h"
#include "panel/knob_seeds.h"
#include "panel/old_value_marks.h"
#include "panel/panel_colors.h"
#include "panel/panel_fonts.h"
#include "panel/qt_notification_window.h"
#include "panel/screen_fit.h"
#include "panel/tools_menu.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_knob.h"
#include "widgets/ti_switch_led.h"

namespace lq {

namespace {

// One block read per tick.
constexpr std::chrono::milliseconds kPollTick{500};

void ShowModalMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("LQ_Modbus RTU"), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

TForm1::TForm1(TForm1Setup setup, QWidget* parent) : QWidget(parent), setup_(std::move(setup)) {
    if (!setup_.backend) setup_.backend = MakePosixBackend();
    if (!setup_.pause) setup_.pause = std::make_shared<ThreadSleepPause>();
    if (!setup_.clock) setup_.clock = std::make_shared<SystemClock>();
    if (!setup_.showMessage) setup_.showMessage = ShowModalMessage;

    setObjectName("Form1");
    setWindowTitle(QStringLiteral("LQ_Modbus RTU"));
    setFont(SansFont(11));
    // 809 x 590 outside the frame leaves this client area; the layout is in pixels and is not scaled.
    resize(801, 556);
    move(352, 105);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kAppWorkspace);
    setPalette(pal);

    CreateComponents();
    CreateComm1();
    master_ = std::make_unique<ModbusMaster>(static_cast<IFrameSender&>(*this), *setup_.pause,
                                             static_cast<IMasterView&>(*this), *setup_.clock);
    knobSeeds_ = std::make_unique<KnobSeeds>(
        master_->Registers(), std::vector<KnobSeeds::Knob>{{iKnob1, 0}, {iKnob2, 4}, {iKnob3, 5}});
    master_->AddObserver(*knobSeeds_);
    blockAges_ = std::make_unique<BlockAges>(*setup_.clock, kPollTick);
    master_->AddObserver(*blockAges_);
    CreateOldValueMarks();
    tools_ = new ToolsMenu(this, {Panel5, Image7, Image14});

    Timer1 = new QTimer(this);
    Timer1->setInterval(kPollTick);
    Timer2 = new QTimer(this);
    Timer2->setInterval(500);

    BindEvents();
    FormCreate();
    Timer1->start();
    Timer2->start();
}

TForm1::~TForm1() = default;

void TForm1::CreateComm1() {
    Comm1 = std::make_unique<TComm>(std::make_unique<QtNotificationWindow>(), setup_.backend);
    Comm1->CommName = "COM4";
    Comm1->SetBaudRate(19200);
    // As the framing box says at start: "8_N_2".
    Comm1->SetStopBits(TStopBits::_2);
    Comm1->SetOutx_XonXoffFlow(false);
    Comm1->SetInx_XonXoffFlow(false);
    Comm1->SetRtsControl(TRtsControl::RtsDisable);
}

void TForm1::BindEvents() {
    connect(CheckBox2, &QCheckBox::clicked, this, [this] { CheckBox2Click(); });
    connect(ComboBox4, &QComboBox::editTextChanged, this, [this] { ComboBox4Change(); });
    connect(ComboBox5, &QComboBox::editTextChanged, this, [this] { ComboBox5Change(); });
    connect(ComboBox6, &QComboBox::editTextChanged, this, [this] { ComboBox6Change(); });
    connect(BitBtn7, &QPushButton::clicked, this, [this] { BitBtn7Click(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
    WatchMemo12();

    using namespace std::placeholders;
    iSwitchLed1->OnChange = [this](TiComponent* s) { iSwitchLed1Change(s); };
    iKnob1->OnClick = [this](TiComponent* s) { iKnob1Click(s); };
    iKnob2->OnClick = [this](TiComponent* s) { iKnob2Click(s); };
    iKnob3->OnClick = [this](TiComponent* s) { iKnob3Click(s); };
    iAnalogOutput2->OnMouseDown = std::bind(&TForm1::iAnalogOutput2MouseDown, this, _1, _2, _3, _4, _5);
    iAnalogOutput2->OnMouseUp = std::bind(&TForm1::iAnalogOutput2MouseUp, this, _1, _2, _3, _4, _5);
    iSwitchLed2->OnClick = [this](TiComponent* s) { iSwitchLed2Click(s); };
    iSwitchLed3->OnClick = [this](TiComponent* s) { iSwitchLed3Click(s); };
    iSwitchLed4->OnClick = [this](TiComponent* s) { iSwitchLed4Click(s); };
    iSwitchLed5->OnClick = [this](TiComponent* s) { iSwitchLed5Click(s); };
    iSwitchLed6->OnClick = [this](TiComponent* s) { iSwitchLed6Click(s); };
    Comm1->OnReceiveData = [this](TComm* s, const std::uint8_t* b, std::uint16_t n) {
        Comm1ReceiveData(s, b, n);
    };

    for (CommandEntry* entry :
         {iAnalogOutput3, iAnalogOutput5, iAnalogOutput6, iAnalogOutput7, iAnalogOutput8})
        entry->OnMouseDown = [this, entry](TiComponent*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            EntryMouseDown(entry);
        };
    BindEntryKeys();
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{CheckBox2, BitBtn7})
        PressOnEnter(button);
    connect(ComboBox1, &QComboBox::editTextChanged, this, [this] {
        ShowAddressValidity();
        if (!applyingLine_) emit LineSettingsApplied({});
    });
}

void TForm1::BindEntryKeys() {
    struct Pair {
        TiSwitchLed* sw;
        CommandEntry* entry;
        TiAnalogDisplay* display;
    };
    const std::array<Pair, 5> pairs{{{iSwitchLed2, iAnalogOutput3, iAnalogDisplay8},
                                     {iSwitchLed3, iAnalogOutput5, iAnalogDisplay9},
                                     {iSwitchLed4, iAnalogOutput6, iAnalogDisplay10},
                                     {iSwitchLed5, iAnalogOutput7, iAnalogDisplay11},
                                     {iSwitchLed6, iAnalogOutput8, iAnalogDisplay12}}};
    for (const Pair& pair : pairs) {
        pair.entry->OnKeyDown = [this, pair](TiComponent*, int key, Qt::KeyboardModifiers) {
            EntryKeyDown(pair.sw, pair.entry, pair.display, key);
        };
        pair.sw->OnKeyDown = [this, pair](TiComponent*, int key, Qt::KeyboardModifiers) {
            if (key == Qt::Key_Escape) CancelEntry(pair.sw, pair.entry, pair.display);
        };
    }
}

void TForm1::ShowAddressValidity() {
    // The master sends nothing to an address no controller can have; the box says why.
    QPalette pal = ComboBox1->lineEdit()->palette();
    pal.setColor(QPalette::Text,
                 master_->SlaveAddress() ? ComboBox1->palette().color(QPalette::Text) : Qt::red);
    ComboBox1->lineEdit()->setPalette(pal);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_) return;
    placed_ = true;
    KeepOnScreen();
}

void TForm1::KeepOnScreen() {
    const QScreen* where = screen();
    if (where == nullptr) return;
    const QRect frame = frameGeometry();
    const QRect area = where->availableGeometry();
    // Scroll bars cost their width of the view: a screen short of the design by less than that loses less
    // by leaving the window as it is (placed at the corner) than by scrolling.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (frame.width() - area.width() > bar || frame.height() - area.height() > bar) {
        // The layout is in pixels: on a smaller screen it stays as designed and scrolls below the title.
        new DesignScrollArea(this, Panel2, Panel2->y());
        // A bar in one direction takes room from the other; where the screen has it, the window grows by it.
        QRect wanted = frame;
        if (frame.height() > area.height()) wanted.setWidth(frame.width() + bar);
        if (frame.width() > area.width()) wanted.setHeight(frame.height() + bar);
        const QRect fitted = FitInside(wanted, {}, area);
        resize(size() - (frame.size() - fitted.size()));
        move(fitted.topLeft());
        return;
    }
    const QPoint at = PlaceInside(frame, area);
    if (at != frame.topLeft()) move(at);
}

void TForm1::FormCreate() {
    Image14->hide();
    Image7->show();
    Image20->hide();
    for (CommandEntry* entry :
         {iAnalogOutput3, iAnalogOutput5, iAnalogOutput6, iAnalogOutput7, iAnalogOutput8})
        entry->hide();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Both threads end before the program does.
    Comm1->ClosePort();
    QWidget::closeEvent(event);
}

void TForm1::Timer1Timer() {
    master_->Timer1Timer();
}

void TForm1::CheckBox2Click() {
    // The box's state is read at every poll tick; the poll timer keeps running either way.
    if (!Timer1->isActive()) Timer1->start();
}

void TForm1::SetPolling(bool on) {
    if (CheckBox2->isChecked() != on) CheckBox2->click();
}

bool TForm1::Polling() const {
    return CheckBox2->isChecked();
}

void TForm1::Comm1ReceiveData(TComm* Sender, const std::uint8_t* Buffer, std::uint16_t BufferLength) {
    const auto firstByteAt = Sender ? std::optional(Sender->ReceiveFirstByteAt()) : std::nullopt;
    if (lineBorrower_) {
        lineBorrower_(Buffer, BufferLength, firstByteAt);
        return;
    }
    master_->ReceiveDelivery(Buffer, BufferLength, firstByteAt);
}

void TForm1::LendLine(LineReceiver receiver) {
    lineBorrower_ = std::move(receiver);
}

void TForm1::ReturnLine() {
    lineBorrower_ = nullptr;
}

std::string TForm1::AddressText() const {
    return ComboBox1->currentText().toStdString();
}

bool TForm1::CommunicationTicked() const {
    return CheckBox2->isChecked();
}

void TForm1::ShowLinkLamp(bool lit) {
    Image14->setVisible(lit);
    if (!lit) Image7->show();
}

void TForm1::SetMemo12Text(const std::string& text) {
    const QString shown = QString::fromStdString(text);
    // Setting the text rebuilds the memo's whole document. A reply that finds it as the last one left it
    // would change nothing on the screen; anything the operator did in it since is undone as before.
    if (memo12AsSet_ == shown && !Memo12->hasFocus()) return;
    Memo12->setPlainText(shown); // its own signals forget what was set; it is noted again below
    memo12AsSet_ = shown;
}

void TForm1::WatchMemo12() {
    for (const auto changed : {&QTextEdit::textChanged, &QTextEdit::cursorPositionChanged})
        connect(Memo12, changed, this, [this] { memo12AsSet_.reset(); });
}

bool TForm1::SendData(const std::uint8_t* data, std::uint16_t count) {
    if (lineBorrower_) return false;
    return Comm1->SendData(data, count);
}

} // namespace lq
