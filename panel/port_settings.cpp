// Port name, baud rate, framing and the open/close button.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "modbus/text_helpers.h"
#include "panel/form1.h"
#include "panel/knob_seeds.h"
#include "panel/network_line_boxes.h"
#include "panel/open_failure_reason.h"
#include "panel/port_framing.h"
#include "panel/port_lost_notice.h"
#include "serial/network_port_name.h"

namespace lq {

namespace {

// The box keeps its first line; the reason follows it.
QString OpenFailureMessage(const TComm& comm) {
    const std::string reason = OpenFailureReason(GatherOpenFailureFacts(comm));
    return TForm1::tr("打开串口错误") + QLatin1Char('\n') + QString::fromStdString(reason);
}

} // namespace

void TForm1::ComboBox4Change() {
    // Only remembered: a port that is open stays on its device until it is closed and opened again.
    Comm1->CommName = ComboBox4->currentText().toStdString();
    if (!applyingLine_) emit LineSettingsApplied({});
}

void TForm1::ComboBox5Change() {
    // Every intermediate text while typing is applied; a rate the device refuses is silently not applied.
    Comm1->SetBaudRate(static_cast<std::uint32_t>(TextToInt(ComboBox5->currentText().toStdString())));
    if (!applyingLine_) emit LineSettingsApplied({});
}

void TForm1::ComboBox6Change() {
    // Text that names no framing (typed, not picked) leaves the port's settings as they are.
    if (const std::optional<Framing> framing = FramingNamed(ComboBox6->currentText().toStdString()))
        StageFraming(*Comm1, *framing);
    if (!applyingLine_) emit LineSettingsApplied({});
}

void TForm1::ShowPortButton(bool closes) {
    portButtonCloses_ = closes;
    BitBtn7->setText(closes ? tr("关闭串口") : tr("打开串口"));
}

void TForm1::BitBtn7Click() {
    if (!portButtonCloses_) {
        ShowPortButton(true);
        Image9->hide();
        Image20->show();
        // A device that goes away while open is reported by either I/O thread.
        Comm1->OnRequestHangup = [this](TComm*) { Comm1RequestHangup(); };
        try {
            Comm1->OpenPort();
            ShowLineBoxesFor(LooksLikeNetworkPort(Comm1->OpenedName()), ComboBox5, ComboBox6);
            knobSeeds_->PortOpened();
            DismissPortLostNotice(this);
            emit PortOpened(QString::fromStdString(Comm1->OpenedName()));
        } catch (...) {
            // A port that did not open must not look open: back to the closed state, so the next click
            // tries again.
            ShowPortButton(false);
            Image20->hide();
            Image9->show();
            setup_.showMessage(this, OpenFailureMessage(*Comm1));
        }
        return;
    }
    ShowPortButton(false);
    const QString name = QString::fromStdString(Comm1->OpenedName());
    Comm1->ClosePort();
    ShowLineBoxesFor(false, ComboBox5, ComboBox6);
    master_->PortClosed();
    Image20->hide();
    Image9->show();
    emit PortClosed(name);
}

void TForm1::ApplyLineSettings(const LineChoice& choice) {
    // Setting a box's text raises its change event, exactly as typing the text does.
    if (choice.port) ComboBox4->setEditText(*choice.port);
    if (choice.framing) ComboBox6->setEditText(*choice.framing);
    if (choice.baud) ComboBox5->setEditText(*choice.baud);
    if (choice.address) ComboBox1->setEditText(*choice.address);
}

void TForm1::ApplyLineSettings(const LineChoice& choice, const QString& by) {
    applyingLine_ = true;
    ApplyLineSettings(choice);
    applyingLine_ = false;
    if (choice.port || choice.baud || choice.framing || choice.address) emit LineSettingsApplied(by);
}

TForm1::LineChoice TForm1::ShownLine() const {
    return {ComboBox4->currentText(), ComboBox5->currentText(), ComboBox6->currentText(),
            ComboBox1->currentText()};
}

void TForm1::PutLineSettingsOnPort() {
    Comm1->ApplyLineSettings();
}

void TForm1::OpenPort() {
    // A click has the button's normal effects.
    if (!portButtonCloses_) BitBtn7->click();
}

void TForm1::ClosePort() {
    if (portButtonCloses_) BitBtn7->click();
}

bool TForm1::PortInUse() const {
    return Comm1->Connected();
}

QString TForm1::PortButtonText() const {
    return BitBtn7->text();
}

void TForm1::Comm1RequestHangup() {
    // Both threads may report one loss; the first report closes the port, a later one finds it closed.
    if (!Comm1->Connected()) return;
    const QString name = QString::fromStdString(Comm1->OpenedName());
    const QString path = QString::fromStdString(Comm1->OpenedPath());
    // Closing at once releases the descriptor, so a re-plugged adapter gets its old number back.
    ShowPortButton(false);
    Comm1->ClosePort();
    ShowLineBoxesFor(false, ComboBox5, ComboBox6);
    master_->PortClosed();
    Image20->hide();
    Image9->show();
    ShowPortLostNotice(this, name, path);
    emit PortLost(name, path);
}

} // namespace lq
