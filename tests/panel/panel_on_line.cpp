#include "panel_on_line.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

#include "modbus/crc16.h"
#include "modbus/request_frames.h"
#include "panel/interface_language.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_knob.h"
#include "widgets/ti_line_editor.h"

namespace lq::test {

PanelOnLine::PanelOnLine(std::shared_ptr<IClock> clock) {
    // A test program run again with LQ_TEST_LANGUAGE=en shows that no command depends on the captions'
    // language.
    if (qEnvironmentVariable("LQ_TEST_LANGUAGE") == QLatin1String("en"))
        QVERIFY2(InstallInterfaceLanguage(InterfaceLanguage::English), "the English translation");
    TForm1Setup setup;
    const bool stepped = clock != nullptr;
    setup.clock = std::move(clock);
    setup.pause = pause_;
    setup.backend = backend_;
    setup.showMessage = [this](QWidget*, const QString& text) { messages << text; };
    form_ = std::make_unique<TForm1>(setup);
    form_->Timer1->stop();
    form_->Timer2->stop();
    // The port's arrival times are real ones, which mean nothing on a stepped clock: deliveries come without.
    if (stepped)
        form_->Comm1->OnReceiveData = [form = form_.get()](TComm*, const std::uint8_t* b, std::uint16_t n) {
            form->Comm1ReceiveData(nullptr, b, n);
        };
}

bool PanelOnLine::Activate() {
    form_->show();
    form_->activateWindow();
    return QTest::qWaitForWindowActive(form_.get());
}

bool PanelOnLine::OpenLine() {
    form_->ComboBox4->setEditText(QString::fromStdString(line_.SlavePath()));
    QTest::mouseClick(form_->BitBtn7, Qt::LeftButton);
    form_->CheckBox2->setChecked(true);
    return form_->Comm1->Connected();
}

std::vector<std::vector<std::uint8_t>> PanelOnLine::FramesSentSoFar() {
    // No request of the panel looks like this: slave 0xA5 has no function 0x5A.
    static const std::vector<std::uint8_t> marker{0xA5, 0x5A, 0xA5, 0x5A, 0xA5, 0x5A, 0xA5, 0x5A};
    std::vector<std::vector<std::uint8_t>> frames;
    if (!form_->Comm1->SendData(marker.data(), static_cast<std::uint16_t>(marker.size()))) return frames;
    for (;;) {
        std::vector<std::uint8_t> frame = line_.Read(marker.size(), std::chrono::seconds(2));
        if (frame.size() < marker.size() || frame == marker) return frames;
        frames.push_back(std::move(frame));
    }
}

std::vector<std::uint8_t> PanelOnLine::ReadReply(const std::array<std::uint16_t, 10>& values, bool goodCrc) {
    std::vector<std::uint8_t> reply{0x01, 0x03, 20};
    for (const std::uint16_t v : values)
        reply.insert(reply.end(), {std::uint8_t(v >> 8), std::uint8_t(v & 0xFF)});
    std::uint16_t crc = CalcCRC16(reply.data(), static_cast<std::int32_t>(reply.size()));
    if (!goodCrc) crc ^= 0x0101;
    reply.insert(reply.end(), {std::uint8_t(crc >> 8), std::uint8_t(crc & 0xFF)});
    return reply;
}

std::vector<std::uint8_t> PanelOnLine::WriteFrame(std::uint8_t slave, std::uint8_t reg, std::uint16_t value) {
    const RequestFrame f = BuildWriteRequest(slave, reg, static_cast<std::uint8_t>(value >> 8),
                                             static_cast<std::uint8_t>(value & 0xFF));
    return {f.begin(), f.end()};
}

void PanelOnLine::TypeInto(TiAnalogOutput* field, const QString& text) {
    QTest::mouseClick(field->Editor(), Qt::LeftButton);
    QTest::keyClick(field->Editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field->Editor(), text);
}

void PanelOnLine::TurnByWheel(TiKnob* knob) {
    const QPointF at(knob->width() / 2.0, knob->height() / 2.0);
    QWheelEvent notch(at, knob->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(knob, &notch);
}

bool PanelOnLine::AnswerRead(const std::map<int, std::uint16_t>& registers) {
    return AnswerRead(registers, -1);
}

bool PanelOnLine::AnswerRead(const std::map<int, std::uint16_t>& registers, int refusedStart) {
    const std::vector<std::uint8_t> request = line_.Read(8, std::chrono::seconds(2));
    if (request.size() != 8 || request[1] != 0x03) return false;
    if (request[3] == refusedStart) {
        const std::uint64_t refused = form_->Master().Statistics().Exceptions();
        std::vector<std::uint8_t> exception{0x01, 0x83, 0x02};
        const std::uint16_t crc = CalcCRC16(exception.data(), static_cast<std::int32_t>(exception.size()));
        exception.insert(exception.end(), {std::uint8_t(crc >> 8), std::uint8_t(crc & 0xFF)});
        line_.Write(exception);
        return QTest::qWaitFor([&] { return form_->Master().Statistics().Exceptions() > refused; });
    }
    std::array<std::uint16_t, 10> values{};
    for (int k = 0; k < 10; ++k)
        if (const auto it = registers.find(request[3] + k); it != registers.end()) values[k] = it->second;
    const std::uint64_t accepted = form_->Master().Statistics().repliesAccepted;
    line_.Write(ReadReply(values));
    return QTest::qWaitFor([&] { return form_->Master().Statistics().repliesAccepted > accepted; });
}

} // namespace lq::test
