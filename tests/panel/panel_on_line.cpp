#include "panel_on_line.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "modbus/crc16.h"

namespace lq::test {

PanelOnLine::PanelOnLine()
{
    TForm1Setup setup;
    setup.pause = pause_;
    setup.backend = backend_;
    setup.showMessage = [this](QWidget*, const QString& text) { messages << text; };
    form_ = std::make_unique<TForm1>(setup);
    form_->Timer1->stop();
    form_->Timer2->stop();
}

bool PanelOnLine::Activate()
{
    form_->show();
    form_->activateWindow();
    return QTest::qWaitForWindowActive(form_.get());
}

bool PanelOnLine::OpenLine()
{
    form_->ComboBox4->setEditText(QString::fromStdString(line_.SlavePath()));
    QTest::mouseClick(form_->BitBtn7, Qt::LeftButton);
    form_->CheckBox2->setChecked(true);
    return form_->Comm1->Connected();
}

std::vector<std::vector<std::uint8_t>> PanelOnLine::FramesSentSoFar()
{
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

std::vector<std::uint8_t> PanelOnLine::ReadReply(const std::array<std::uint16_t, 10>& values, bool goodCrc)
{
    std::vector<std::uint8_t> reply{0x01, 0x03, 20};
    for (const std::uint16_t v : values) reply.insert(reply.end(), {std::uint8_t(v >> 8), std::uint8_t(v & 0xFF)});
    std::uint16_t crc = CalcCRC16(reply.data(), static_cast<std::int32_t>(reply.size()));
    if (!goodCrc) crc ^= 0x0101;
    reply.insert(reply.end(), {std::uint8_t(crc >> 8), std::uint8_t(crc & 0xFF)});
    return reply;
}

} // namespace lq::test
