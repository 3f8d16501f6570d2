#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "modbus/master_ports.h"
#include "modbus/modbus_master.h"
#include "panel/command_entry.h"
#include "serial/comm.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTextEdit;
class QTimer;

namespace lq {

class TiAnalogDisplay;
class TiAnalogOutput;
class TiComponent;
class TiKnob;
class TiLabel;
class TiLedBar;
class TiLedRound;
class TiLinearGauge;
class TiSwitchLed;
class TiThermometer;
class UpDownControl;
class KnobSeeds;
class BlockAges;
class OldValueMarks;
class ToolsMenu;

// What the main window takes from outside; the defaults are the real ones.
struct TForm1Setup {
    std::shared_ptr<ISerialBackend> backend;                   // null: the POSIX back end
    std::shared_ptr<IPause> pause;                             // null: sleep the GUI thread
    std::shared_ptr<IClock> clock;                             // null: the system's clocks
    std::function<void(QWidget*, const QString&)> showMessage; // null: a modal box with an OK button
};

// The operator panel: the whole interface, the serial port Comm1, the two timers and every handler of the
// panel and of the Modbus master. Components carry their layout names so the handlers read like the layout.
class TForm1 final : public QWidget, private IMasterView, private IFrameSender {
    Q_OBJECT
  public:
    // Comm1 closes its port when it is destroyed, so no serial thread outlives the window.
    explicit TForm1(TForm1Setup setup = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up state, run once the components carry their design values.
    void FormCreate();

    // Poll cycle and reply path, delegated to the master.
    void Timer1Timer();
    void CheckBox2Click();
    void Comm1ReceiveData(TComm* Sender, const std::uint8_t* Buffer, std::uint16_t BufferLength);

    // Display refresh, with the write age step at its place.
    void Timer2Timer();

    // Operator commands.
    void iSwitchLed1Change(TiComponent* Sender);
    void iKnob1Click(TiComponent* Sender);
    void iKnob2Click(TiComponent* Sender);
    void iKnob3Click(TiComponent* Sender);
    void iSwitchLed2Click(TiComponent* Sender);
    void iSwitchLed3Click(TiComponent* Sender);
    void iSwitchLed4Click(TiComponent* Sender);
    void iSwitchLed5Click(TiComponent* Sender);
    void iSwitchLed6Click(TiComponent* Sender);
    void iAnalogOutput2MouseDown(TiComponent* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                                 int X, int Y);
    void iAnalogOutput2MouseUp(TiComponent* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                               int X, int Y);

    // Port settings.
    void ComboBox4Change();
    void ComboBox5Change();
    void ComboBox6Change();
    void BitBtn7Click();
    // The button's caption says what a click does; the flag, not the caption, decides it in every language.
    void ShowPortButton(bool closes);
    // The open port went away (unplugged, hung up): closed state, and a notice that says which port.
    void Comm1RequestHangup();

    ModbusMaster& Master() { return *master_; }
    const ModbusMaster& Master() const { return *master_; }
    const KnobSeeds& Seeds() const { return *knobSeeds_; }
    // The context menu of the status strip and the link lamp, where the extra windows are opened.
    ToolsMenu& Tools() { return *tools_; }

    // The open port lent to another user of the line (the controller search): until ReturnLine, the master's
    // frames are held back, so it finds the line unavailable as on a closed port and its link lamp goes dark,
    // and every delivery goes to `receiver` instead of the master, with when its first byte came where the
    // port tells it.
    using LineReceiver =
        std::function<void(const std::uint8_t* buffer, std::uint16_t length,
                           std::optional<std::chrono::steady_clock::time_point> firstByteAt)>;
    void LendLine(LineReceiver receiver);
    void ReturnLine();
    bool LineLent() const { return static_cast<bool>(lineBorrower_); }

    // What the other windows, the start options and the test rigs ask of the window. Each has the effects the
    // operator's typing or click has (a message box on a port that does not open included), so that they
    // never need the window's layout.
    struct LineChoice {
        std::optional<QString> port;
        std::optional<QString> baud;
        std::optional<QString> framing;
        std::optional<QString> address;
    };
    // Typed into the boxes, framing before rate: a rate typed on an open port goes onto it at once.
    void ApplyLineSettings(const LineChoice& choice);
    // The same, told to the journal as coming from `by` (the command line, the controller search).
    void ApplyLineSettings(const LineChoice& choice, const QString& by);
    // What the boxes show.
    LineChoice ShownLine() const;
    // A framing typed by hand waits for the next open; this puts it onto the open port now.
    void PutLineSettingsOnPort();
    void OpenPort();
    void ClosePort();
    bool PortInUse() const;
    QString PortButtonText() const;
    void SetPolling(bool on);
    bool Polling() const;
    // A setting written as an operator's command is, through the same write path: echo-confirmed, repeated,
    // shown on failure, and followed by the knobs. False when it was refused before sending.
    bool WriteSetting(std::uint8_t reg, std::int32_t value);
    // The serial component, for those who share its line (the controller search) or watch its deliveries.
    TComm& Port() { return *Comm1; }
    const TComm& Port() const { return *Comm1; }

    // Components, named as laid out.
    QLabel* Label1 = nullptr;
    QFrame* Panel2 = nullptr;
    QLabel* Label4 = nullptr;
    QTextEdit* Memo12 = nullptr;
    QTextEdit* Memo13 = nullptr;

    QFrame* Panel5 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QLabel* Image7 = nullptr;
    QLabel* Image14 = nullptr;
    QLabel* Label9 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    TiSwitchLed* iSwitchLed1 = nullptr;

    QFrame* Panel3 = nullptr;
    QLabel* Label23 = nullptr;
    QLabel* Label25 = nullptr;
    QLabel* Label26 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QComboBox* ComboBox5 = nullptr;
    QComboBox* ComboBox6 = nullptr;
    QPushButton* BitBtn7 = nullptr;
    QLabel* Image9 = nullptr;
    QLabel* Image20 = nullptr;

    QFrame* Panel1 = nullptr;
    QLabel* Label2 = nullptr;
    std::array<TiLedRound*, 9> iLedRound{}; // iLedRound1 .. iLedRound9 at [0] .. [8]
    std::array<TiLabel*, 11> iLabelAlarm{}; // iLabel1 .. iLabel11

    QFrame* Panel4 = nullptr;
    TiLabel* iLabel12 = nullptr;
    TiThermometer* iThermometer1 = nullptr;
    TiAnalogOutput* iAnalogOutput1 = nullptr;

    QFrame* Panel6 = nullptr;
    TiLabel* iLabel13 = nullptr;
    TiKnob* iKnob1 = nullptr;
    TiAnalogOutput* iAnalogOutput2 = nullptr;
    UpDownControl* UpDown1 = nullptr;
    TiLabel* iLabel15 = nullptr;
    TiAnalogOutput* iAnalogOutput4 = nullptr;
    TiLedBar* iLedBar2 = nullptr;

    QFrame* Panel9 = nullptr;
    TiLabel* iLabel31 = nullptr;
    TiLabel* iLabel14 = nullptr;
    TiLabel* iLabel26 = nullptr;
    TiLabel* iLabel27 = nullptr;
    TiLabel* iLabel28 = nullptr;
    TiLabel* iLabel29 = nullptr;
    TiLabel* iLabel30 = nullptr;
    TiAnalogDisplay* iAnalogDisplay7 = nullptr;
    TiAnalogDisplay* iAnalogDisplay8 = nullptr;
    TiAnalogDisplay* iAnalogDisplay9 = nullptr;
    TiAnalogDisplay* iAnalogDisplay10 = nullptr;
    TiAnalogDisplay* iAnalogDisplay11 = nullptr;
    TiAnalogDisplay* iAnalogDisplay12 = nullptr;
    CommandEntry* iAnalogOutput3 = nullptr;
    CommandEntry* iAnalogOutput5 = nullptr;
    CommandEntry* iAnalogOutput6 = nullptr;
    CommandEntry* iAnalogOutput7 = nullptr;
    CommandEntry* iAnalogOutput8 = nullptr;
    TiSwitchLed* iSwitchLed2 = nullptr;
    TiSwitchLed* iSwitchLed3 = nullptr;
    TiSwitchLed* iSwitchLed4 = nullptr;
    TiSwitchLed* iSwitchLed5 = nullptr;
    TiSwitchLed* iSwitchLed6 = nullptr;

    QFrame* Panel7 = nullptr;
    TiLabel* iLabel19 = nullptr;
    TiLabel* iLabel20 = nullptr;
    TiLabel* iLabel21 = nullptr;
    TiLabel* iLabel16 = nullptr;
    TiLabel* iLabel17 = nullptr;
    TiLabel* iLabel18 = nullptr;
    TiAnalogDisplay* iAnalogDisplay1 = nullptr;
    TiAnalogDisplay* iAnalogDisplay2 = nullptr;
    TiAnalogDisplay* iAnalogDisplay3 = nullptr;

    QFrame* Panel8 = nullptr;
    TiLabel* iLabel25 = nullptr;
    TiLabel* iLabel22 = nullptr;
    TiAnalogDisplay* iAnalogDisplay4 = nullptr;

    TiLinearGauge* iLinearGauge1 = nullptr;

    QFrame* Panel11 = nullptr;
    TiLabel* iLabel23 = nullptr;
    TiAnalogDisplay* iAnalogDisplay5 = nullptr;
    TiKnob* iKnob2 = nullptr;
    QFrame* Panel10 = nullptr;
    TiLabel* iLabel24 = nullptr;
    TiAnalogDisplay* iAnalogDisplay6 = nullptr;
    TiKnob* iKnob3 = nullptr;

    std::unique_ptr<TComm> Comm1;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

  signals:
    // What happened to the port and its settings, reported where it happens, for the journal.
    void PortOpened(const QString& name);
    void PortClosed(const QString& name);
    void PortLost(const QString& name, const QString& devicePath);
    // The boxes' line settings changed: by whom, or empty when typed into the boxes (once per keystroke).
    void LineSettingsApplied(const QString& by);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void CreateComponents();
    void CreateStatusStrip();
    void CreatePortSettings();
    void CreateAlarmPanel();
    void CreateTemperaturePanel();
    void CreateInputOutputPanel();
    void CreateTemperatureControlBlock();
    void CreatePhaseCurrentPanel();
    void CreateVoltagePanel();
    void CreateLimitPanels();
    void SetTabOrder();
    void CreateComm1();
    void BindEvents();
    void BindEntryKeys();

    // One SET/ENT pair: first click opens the entry with the controller's value, the second writes it.
    void SetEntClick(TiSwitchLed* Switch, CommandEntry* Entry, TiAnalogDisplay* Display,
                     std::uint8_t Register, bool TimesTen);
    void EntryMouseDown(CommandEntry* Entry);
    // Enter in an open entry presses its switch; Escape, in the entry or on its switch, closes it unsent.
    void EntryKeyDown(TiSwitchLed* Switch, CommandEntry* Entry, TiAnalogDisplay* Display, int Key);
    void CancelEntry(TiSwitchLed* Switch, CommandEntry* Entry, TiAnalogDisplay* Display);
    void ShowAddressValidity();
    void KeepOnScreen();
    void KnobWrite(TiKnob* Knob, std::uint8_t Register);
    void UndoToggle(TiSwitchLed* Switch);
    void CreateOldValueMarks();
    void WatchMemo12();

    // IMasterView
    std::string AddressText() const override;
    bool CommunicationTicked() const override;
    void ShowLinkLamp(bool lit) override;
    void SetMemo12Text(const std::string& text) override;
    // IFrameSender
    bool SendData(const std::uint8_t* data, std::uint16_t count) override;

    TForm1Setup setup_;
    std::unique_ptr<ModbusMaster> master_;
    std::unique_ptr<KnobSeeds> knobSeeds_;
    std::unique_ptr<BlockAges> blockAges_;
    std::unique_ptr<OldValueMarks> oldValueMarks_;
    ToolsMenu* tools_ = nullptr;
    bool placed_ = false;
    LineReceiver lineBorrower_;
    bool portButtonCloses_ = false;
    bool applyingLine_ = false; // inside ApplyLineSettings: the boxes' changes are reported once, after it
    std::map<const TiSwitchLed*, bool> lampBeforeEntry_; // each SET switch's lamp before it opened its entry
    // The text the last reply put in Memo12, while nobody has typed or clicked in it since.
    std::optional<QString> memo12AsSet_;
};

} // namespace lq
