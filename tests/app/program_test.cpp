// The installed program started as a technician starts it: a refused command line ends with status 2
// before any window or port, and a good one polls the controller with no operator action.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <termios.h>

#include "app/command_help.h"
#include "modbus/request_frames.h"
#include "tests/serial/pty_pair.h"

namespace {

struct Finished {
    QProcess::ExitStatus how;
    int status;
    QString out, err;
};

// A platform that does not exist: creating the application object would abort the program, so a status
// of 2 shows that nothing got as far as a window.
Finished RunWithoutDisplay(const QStringList& arguments,
                           QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) {
    QProcess panel;
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("lq-no-such-platform"));
    panel.setProcessEnvironment(env);
    panel.start(QStringLiteral(LQ_PANEL_PATH), arguments);
    EXPECT_TRUE(panel.waitForFinished(10000));
    return {panel.exitStatus(), panel.exitCode(), QString::fromLocal8Bit(panel.readAllStandardOutput()),
            QString::fromLocal8Bit(panel.readAllStandardError())};
}

TEST(Program, RefusesABadCommandLineWithStatus2AndNoWindow) {
    const std::pair<QStringList, const char*> refused[] = {
        {{"--baud", "abc"}, "--baud"},
        {{"--address", "300"}, "--address"},
        {{"--framing", "8_X_1"}, "--framing"},
        {{"--bogus", "--open"}, "bogus"},
    };
    for (const auto& [arguments, option] : refused) {
        const Finished f = RunWithoutDisplay(arguments);
        EXPECT_EQ(f.how, QProcess::NormalExit) << option;
        EXPECT_EQ(f.status, 2) << option;
        EXPECT_TRUE(f.err.contains(QLatin1String(option))) << f.err.toStdString();
        EXPECT_TRUE(f.out.isEmpty()) << f.out.toStdString();
    }
    // The same environment with a good command line does try to make a window, and fails on the platform.
    const Finished good = RunWithoutDisplay({"--baud", "9600"});
    EXPECT_FALSE(good.how == QProcess::NormalExit && (good.status == 0 || good.status == 2));
}

// The help and the refusals in the language --lang asks for, else the one chosen in the tools menu, else the
// locale's; still before any window (no platform is there).
TEST(Program, SaysTheHelpAndRefusalsInTheLanguageAsked) {
    const struct {
        QStringList arguments;
        const char* locale;
        const char* saved; // the tools menu's choice, if any
        int status;
        const char* phrase;
    } cases[] = {
        {{"--lang", "zh", "--help"}, "en_US.UTF-8", "en", 0, "用法：lq-modbus-rtu [选项]\n"},
        {{"--help", "--lang=en"}, "C", "zh", 0, "Usage: lq-modbus-rtu [options]\n"},
        {{"--help"}, "en_GB.UTF-8", nullptr, 0, "  -h, --help            Show this help.\n"},
        {{"--help"}, "C", nullptr, 0, "  -h, --help            显示本帮助。\n"},
        {{"--help"}, "C", "en", 0, "Usage: lq-modbus-rtu [options]\n"},
        {{"--lang", "en", "--baud", "abc"},
         "C",
         nullptr,
         2,
         "lq-modbus-rtu: bad value \"abc\" for --baud: expected a whole number from 1 to 20000000\n"},
        {{"--baud", "abc"},
         "zh_CN.UTF-8",
         nullptr,
         2,
         "lq-modbus-rtu: --baud 的取值 \"abc\" 无效，应为：1 至 20000000 的整数\n"},
        {{"--lang", "fr"}, "en_US.UTF-8", nullptr, 2, "bad value \"fr\" for --lang: expected zh or en\n"},
        {{"--lang", "fr"}, "C", nullptr, 2, "--lang 的取值 \"fr\" 无效，应为：zh 或 en\n"},
        {{"--bogus", "--lang", "en"},
         "C",
         nullptr,
         2,
         "lq-modbus-rtu: Unknown option 'bogus'.\nAccepted options: "},
        {{"--lang", "zh", "--open=1"}, "C", nullptr, 2, "选项 '--open' 不带取值\n可用选项：--port NAME, "},
    };
    for (const auto& c : cases) {
        const std::string name = c.arguments.join(' ').toStdString() + " in " + c.locale;
        QTemporaryDir config;
        if (c.saved) {
            ASSERT_TRUE(QDir(config.path()).mkpath(QStringLiteral("lq-modbus-rtu")));
            QFile settings(config.filePath(QStringLiteral("lq-modbus-rtu/panel.conf")));
            ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
            settings.write(QByteArray("[interface]\nlanguage=") + c.saved + "\n");
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("LANGUAGE"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(c.locale));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(c.locale));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        const Finished f = RunWithoutDisplay(c.arguments, env);
        EXPECT_EQ(f.how, QProcess::NormalExit) << name;
        EXPECT_EQ(f.status, c.status) << name;
        const QString& said = c.status == 0 ? f.out : f.err;
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.phrase))) << name << ":\n" << said.toStdString();
        EXPECT_TRUE((c.status == 0 ? f.err : f.out).isEmpty()) << name;
        // The option list fits a terminal of 80 columns in either language.
        const QString options = f.out.section(QLatin1Char('\n'), 4).section(QStringLiteral("\n\n"), 0, 0);
        for (const QString& line : options.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            EXPECT_LE(lq::TerminalWidth(line), 79) << name << ": " << line.toStdString();
    }
}

// No display at all, and one named that does not answer: one line on standard error, status 2, and none
// of Qt's own start-up text.
TEST(Program, WithoutADisplaySaysSoInOneLineWithStatus2) {
    const std::pair<QString, QString> environments[] = {{QString(), QString()},
                                                        {QStringLiteral("xcb"), QStringLiteral(":97531")}};
    for (const auto& [platform, display] : environments) {
        QProcess panel;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        if (!platform.isEmpty()) env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        if (!display.isEmpty()) env.insert(QStringLiteral("DISPLAY"), display);
        panel.setProcessEnvironment(env);
        panel.start(QStringLiteral(LQ_PANEL_PATH), {"--no-journal"});
        ASSERT_TRUE(panel.waitForFinished(10000));
        const QString err = QString::fromLocal8Bit(panel.readAllStandardError());
        EXPECT_EQ(panel.exitStatus(), QProcess::NormalExit) << err.toStdString();
        EXPECT_EQ(panel.exitCode(), 2) << err.toStdString();
        EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
        EXPECT_TRUE(err.startsWith(QStringLiteral("lq-modbus-rtu: no display"))) << err.toStdString();
    }
}

// On a machine whose only fonts are Latin ones, the panel says at start which package brings the Chinese
// characters, once, and goes on.
TEST(Program, WithoutAChineseFontNamesThePackageThatBringsOne) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile config(dir.filePath(QStringLiteral("fonts.conf")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\"><fontconfig>"
                 "<dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>" +
                 dir.path().toUtf8() + "/cache</cachedir></fontconfig>");
    config.close();
    QProcess panel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("FONTCONFIG_FILE"), config.fileName());
    panel.setProcessEnvironment(env);
    panel.start(QStringLiteral(LQ_PANEL_PATH), {"--no-journal"});
    ASSERT_TRUE(panel.waitForStarted());
    panel.setReadChannel(QProcess::StandardError);
    QString err;
    while (!err.contains(QStringLiteral("fonts-wqy-zenhei")) && panel.waitForReadyRead(10000))
        err += QString::fromLocal8Bit(panel.readAllStandardError());
    panel.waitForFinished(1000); // still running: the notice does not stop the panel
    EXPECT_EQ(panel.state(), QProcess::Running);
    err += QString::fromLocal8Bit(panel.readAllStandardError());
    panel.kill();
    panel.waitForFinished();
    EXPECT_EQ(err.count(QStringLiteral("sudo apt install fonts-wqy-zenhei")), 1) << err.toStdString();
}

TEST(Program, StartsPollingTheGivenSlaveAtTheGivenRate) {
    lq::test::PtyPair line;
    QProcess panel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    panel.setProcessEnvironment(env);
    panel.start(QStringLiteral(LQ_PANEL_PATH),
                {"--port", QString::fromStdString(line.SlavePath()), "--baud", "9600", "--framing", "8_E_1",
                 "--address", "17", "--open", "--poll"});
    ASSERT_TRUE(panel.waitForStarted());

    // The first poll tick comes 500 ms after start; nothing else sends.
    const std::vector<std::uint8_t> frame = line.Read(8, std::chrono::seconds(10));
    const lq::RequestFrame expected = lq::BuildReadRequest(17, 0, 10);
    EXPECT_EQ(frame, std::vector<std::uint8_t>(expected.begin(), expected.end()));
    termios settings{};
    ASSERT_EQ(tcgetattr(line.MasterFd(), &settings), 0);
    EXPECT_EQ(cfgetospeed(&settings), speed_t(B9600));

    panel.kill();
    panel.waitForFinished();
}

} // namespace
