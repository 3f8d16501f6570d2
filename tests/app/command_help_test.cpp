// The help's layout: a Chinese character takes two columns of a terminal, and lines break where Chinese
// text may break.
#include "app/command_help.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(CommandHelp, WrapsByTerminalColumnsWhereALineMayBreak) {
    const struct {
        const char* text;
        int width;
        QStringList lines;
    } cases[] = {
        {"abc def ghi", 7, {"abc def", "ghi"}},
        {"abc def ghi", 6, {"abc", "def", "ghi"}},
        {"串口服务器", 4, {"串口", "服务", "器"}},
        // "，" never starts a line, so "口" goes down with it.
        {"打开串口，默认", 8, {"打开串", "口，默认"}},
        // "（" never ends one.
        {"默认（COM4）", 6, {"默认", "（COM4）"}},
        {"波特率 (baud rate)，单位 bit/s", 16, {"波特率 (baud", "rate)，单位", "bit/s"}},
        {"第一行\n第二", 80, {"第一行", "第二"}},
        {"tcp://HOST:PORT", 4, {"tcp://HOST:PORT"}},
        // Never inside an option or a path, where Unicode alone would break after "-" or "/".
        {"--traffic-log <FILE>", 12, {"--traffic-log", "<FILE>"}},
        {"默认 $XDG_STATE_HOME/lq-modbus-rtu/journal）",
         30,
         {"默认", "$XDG_STATE_HOME/lq-modbus-rtu/journal）"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WrappedLines(QString::fromUtf8(c.text), c.width), c.lines) << c.text << " in " << c.width;
}

TEST(CommandHelp, DescriptionsShareOneColumnWithinTheWidth) {
    const QList<HelpEntry> entries{
        {QStringLiteral("--open"), QStringLiteral("启动时打开串口，如同点击“打开串口”。")},
        {QStringLiteral("--port <NAME>"), QStringLiteral("串口 (serial port)，默认 COM4")}};
    const QStringList lines = HelpColumns(entries, 30).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const int column = 2 + 13 + 2; // the indent, the longest names and two blanks
    QString descriptions;
    for (const QString& line : lines) {
        EXPECT_LE(TerminalWidth(line), 30) << line.toStdString();
        EXPECT_TRUE(line.startsWith(QLatin1String("  --")) || line.left(column).trimmed().isEmpty())
            << line.toStdString();
        EXPECT_FALSE(line.at(column).isSpace()) << line.toStdString();
        descriptions += line.mid(column);
    }
    EXPECT_GT(lines.size(), 4);
    EXPECT_EQ(descriptions.remove(QLatin1Char(' ')),
              QStringLiteral("启动时打开串口，如同点击“打开串口”。串口(serialport)，默认COM4"));
}

} // namespace
} // namespace lq
