// --traffic-log: the real program logs every frame to the file as it goes, so killing it loses nothing
// logged.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "modbus/crc16.h"
#include "modbus/request_frames.h"
#include "tests/serial/pty_pair.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

Bytes ReplyOfSlave1() {
    Bytes reply{1, 0x03, 20};
    reply.resize(23, 0);
    const std::uint16_t crc = lq::CalcCRC16(reply.data(), 23);
    reply.push_back(static_cast<std::uint8_t>(crc >> 8));
    reply.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return reply;
}

QString Hex(const Bytes& bytes) {
    QStringList text;
    for (std::uint8_t b : bytes)
        text << QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return text.join(' ');
}

TEST(Program, TheTrafficLogHoldsEveryFrameUpToTheMomentThePanelIsKilled) {
    lq::test::PtyPair line;
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("traffic.txt"));
    QProcess panel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    panel.setProcessEnvironment(env);
    panel.start(QStringLiteral(LQ_PANEL_PATH), {"--port", QString::fromStdString(line.SlavePath()), "--open",
                                                "--poll", "--traffic-log", log});
    ASSERT_TRUE(panel.waitForStarted());

    const Bytes good = ReplyOfSlave1();
    Bytes damaged = good;
    damaged[5] ^= 0x40;
    std::vector<Bytes> requests;
    const Bytes* answers[] = {&good, &damaged, nullptr};
    for (const Bytes* answer : answers) {
        requests.push_back(line.Read(8, 10s));
        ASSERT_EQ(requests.back().size(), 8u);
        if (answer != nullptr) line.Write(*answer);
    }
    // The next read goes out only after the silent one was reported at a tick and then given up.
    ASSERT_EQ(line.Read(8, 5s).size(), 8u);
    panel.kill(); // SIGKILL: nothing buffered in the program would survive it
    panel.waitForFinished();

    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 6);
    const struct {
        const char* direction;
        QString hex;
        const char* meaning;
    } expected[] = {
        {"发", Hex(requests[0]), "从站 1 读块 0"}, {"收", Hex(good), "读块 0 的应答"},
        {"发", Hex(requests[1]), "从站 1 读块 1"}, {"收", Hex(damaged), "CRC 错误"},
        {"发", Hex(requests[2]), "从站 1 读块 1"}, {"—", QString(), "无应答"},
    };
    for (int n = 0; n < 6; ++n) {
        const QStringList fields = lines[n].split('\t');
        ASSERT_EQ(fields.size(), 6) << lines[n].toStdString();
        EXPECT_EQ(fields[1], QString::fromUtf8(expected[n].direction)) << n;
        EXPECT_EQ(fields[2], expected[n].hex) << n;
        EXPECT_TRUE(fields[3].startsWith(QString::fromUtf8(expected[n].meaning))) << fields[3].toStdString();
        EXPECT_EQ(fields[4].isEmpty(), n % 2 == 0 || n == 5) << "a round trip on each reply, none elsewhere";
        EXPECT_EQ(fields[5].isEmpty(), n % 2 == 0 || n == 5)
            << "an answer time on each reply, none elsewhere";
        if (!fields[5].isEmpty()) {
            EXPECT_LT(fields[5].toDouble(), fields[4].toDouble()) << "the first byte before the frame's end";
        }
    }
}

} // namespace
