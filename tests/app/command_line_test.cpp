// The command line as the parser reads it: each option reaches its setting, and each bad value, unknown
// option or stray argument is refused with a reason that names the option and what it takes.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

CommandLine Parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("lq-modbus-rtu"));
    return ParseCommandLine(arguments);
}

TEST(CommandLine, NoOptionKeepsEveryStartingValue) {
    const CommandLine c = Parse({});
    ASSERT_EQ(c.action, CommandLineAction::Run);
    const SerialStart& s = c.options.serial;
    EXPECT_FALSE(s.port || s.baud || s.framing || s.address || s.open || s.poll || s.rs485);
    EXPECT_FALSE(c.options.monitor.open || c.options.trend.open);
    EXPECT_TRUE(c.options.monitor.trafficLog.isEmpty() && c.options.trend.recordFile.isEmpty());
    EXPECT_FALSE(c.options.journal.open || c.options.journal.noFiles);
    EXPECT_TRUE(c.options.journal.folder.isEmpty()) << "the default folder";
}

TEST(CommandLine, JournalOptionsReachTheirSettings) {
    const CommandLine c = Parse({"--alarms", "--journal", "/var/tmp/j", "--no-journal"});
    ASSERT_EQ(c.action, CommandLineAction::Run) << c.message.toStdString();
    EXPECT_TRUE(c.options.journal.open && c.options.journal.noFiles);
    EXPECT_EQ(c.options.journal.folder, QStringLiteral("/var/tmp/j"));
    EXPECT_EQ(Parse({"--journal", ""}).action, CommandLineAction::Reject);
}

TEST(CommandLine, EveryOptionReachesItsSetting) {
    const CommandLine c = Parse({"--port", "/dev/ttyUSB0", "--baud=20000000", "--framing", "8_O_1",
                                 "--address", "247", "--open", "--poll", "--rs485", "--monitor",
                                 "--traffic-log", "t.log", "--trend", "--record", "r.csv"});
    ASSERT_EQ(c.action, CommandLineAction::Run) << c.message.toStdString();
    const SerialStart& s = c.options.serial;
    EXPECT_EQ(s.port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(s.baud, 20'000'000u);
    EXPECT_EQ(s.framing, QStringLiteral("8_O_1"));
    EXPECT_EQ(s.address, 247);
    EXPECT_TRUE(s.open && s.poll && s.rs485);
    EXPECT_TRUE(c.options.monitor.open && c.options.trend.open);
    EXPECT_EQ(c.options.monitor.trafficLog, QStringLiteral("t.log"));
    EXPECT_EQ(c.options.trend.recordFile, QStringLiteral("r.csv"));
}

// The address box's own forms; what it only forgives while typing (a sign, blanks, trailing letters) is not
// taken from a script.
TEST(CommandLine, AddressTakesTheFormsOfTheAddressBox) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"16", 16},
        {"0x10", 16},
        {"0X10", 16},
        {"$10", 16},
        {"x10", 16},
        {"0xf7", 247},
        {"010", 10},
        {"0x0", std::nullopt},
        {"0xF8", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"0x1g", std::nullopt},
        {"1a", std::nullopt},
        {" 16", std::nullopt},
        {"-0x10", std::nullopt},
        {"0x-1", std::nullopt},
    };
    for (const auto& [text, address] : cases) {
        const CommandLine c = Parse({"--address", QString::fromLatin1(text)});
        EXPECT_EQ(c.action, address ? CommandLineAction::Run : CommandLineAction::Reject) << text;
        EXPECT_EQ(c.options.serial.address, address) << text;
    }
}

TEST(CommandLine, EachParameterModeTakesItsFile) {
    const struct {
        QStringList arguments;
        ParameterMode mode;
        bool yes;
    } cases[] = {{{}, ParameterMode::None, false},
                 {{"--backup", "a.json"}, ParameterMode::Backup, false},
                 {{"--compare", "a.json"}, ParameterMode::Compare, false},
                 {{"--restore", "a.json"}, ParameterMode::Restore, false},
                 {{"--yes", "--restore", "a.json"}, ParameterMode::Restore, true}};
    for (const auto& c : cases) {
        const CommandLine line = Parse(c.arguments);
        ASSERT_EQ(line.action, CommandLineAction::Run) << line.message.toStdString();
        EXPECT_EQ(line.options.parameters.mode, c.mode) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(line.options.parameters.yes, c.yes) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(line.options.parameters.file,
                  c.mode == ParameterMode::None ? QString() : QStringLiteral("a.json"));
    }
}

struct Refused {
    QStringList arguments;
    const char* names;    // the option or argument the reason must name
    const char* accepted; // and what it takes
};

// Names each case by its arguments in test lists.
void PrintTo(const Refused& r, std::ostream* out) {
    *out << r.arguments.join(QLatin1Char(' ')).replace(QChar(0), QLatin1String("\\0")).toStdString();
}

class RefusedCommandLine : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedCommandLine, NamesTheOptionAndWhatItTakes) {
    const CommandLine c = Parse(GetParam().arguments);
    EXPECT_EQ(c.action, CommandLineAction::Reject);
    EXPECT_TRUE(c.message.contains(QLatin1String(GetParam().names))) << c.message.toStdString();
    EXPECT_TRUE(c.message.contains(QLatin1String(GetParam().accepted))) << c.message.toStdString();
}

const char* const kBaud = "from 1 to 20000000";
const char* const kAddress = "from 1 to 247";
const char* const kFraming = "8_N_2, 8_E_1, 8_O_1";
const char* const kOptions = "--port NAME, --baud N, --framing FRAMING, --address N, --open, --poll";

INSTANTIATE_TEST_SUITE_P(
    BadValues, RefusedCommandLine,
    ::testing::Values(
        Refused{{"--baud", "abc"}, "--baud", kBaud}, Refused{{"--baud", "0"}, "--baud", kBaud},
        Refused{{"--baud", "20000001"}, "--baud", kBaud}, Refused{{"--baud", "-9600"}, "--baud", kBaud},
        Refused{{"--baud", "9600 "}, "--baud", kBaud}, Refused{{"--baud", ""}, "--baud", kBaud},
        Refused{{"--baud", "99999999999999999999999"}, "--baud", kBaud},
        Refused{{"--baud", "abc", "--baud", "9600"}, "--baud", kBaud},
        Refused{{"--address", "0"}, "--address", kAddress},
        Refused{{"--address", "248"}, "--address", kAddress},
        Refused{{"--address", "300"}, "--address", kAddress},
        Refused{{"--address", "+1"}, "--address", kAddress},
        Refused{{"--framing", "8_n_2"}, "--framing", kFraming},
        Refused{{"--framing", "8_N_1"}, "--framing", kFraming},
        Refused{{"--port", ""}, "--port", "not empty"},
        Refused{{"--port", QStringLiteral("tty") + QChar(0) + QStringLiteral("USB0")}, "--port", "not empty"},
        Refused{{"--traffic-log", ""}, "--traffic-log", "not empty"},
        Refused{{"--record", ""}, "--record", "not empty"},
        Refused{{"--backup", ""}, "--backup", "not empty"}, Refused{{"--yes"}, "--yes", "--restore"},
        Refused{{"--backup", "a.json", "--yes"}, "--yes", "--restore"},
        Refused{{"--backup", "a.json", "--restore", "b.json"}, "--backup", "one at a time"},
        Refused{{"--lang", "fr"}, "bad value \"fr\" for --lang", "expected zh or en"},
        Refused{{"--lang", "EN"}, "--lang", "zh or en"}, Refused{{"--lang", ""}, "--lang", "zh or en"}));

INSTANTIATE_TEST_SUITE_P(
    NotOptions, RefusedCommandLine,
    ::testing::Values(Refused{{"--bogus"}, "bogus", kOptions}, Refused{{"-p", "COM3"}, "'p'", kOptions},
                      Refused{{"--baud"}, "--baud", kOptions}, Refused{{"--open", "COM3"}, "COM3", kOptions},
                      Refused{{"--bogus"}, "Unknown option 'bogus'.", kOptions},
                      Refused{{"--a", "--b"}, "Unknown options: a, b.", kOptions},
                      Refused{{"--baud"}, "Missing value after '--baud'.", kOptions},
                      Refused{{"--open=1"}, "Unexpected value after '--open'.", kOptions}));

// The language a refusal or the help is said in is read as the parser reads --lang.
TEST(CommandLine, LanguageAskedIsTheLastLangTheParserReads) {
    const std::pair<QStringList, std::optional<InterfaceLanguage>> cases[] = {
        {{}, std::nullopt},
        {{"--lang", "en"}, InterfaceLanguage::English},
        {{"--lang=zh", "--help"}, InterfaceLanguage::Chinese},
        {{"--lang", "zh", "--lang", "en"}, InterfaceLanguage::English},
        {{"--bogus", "--lang", "en"}, InterfaceLanguage::English},
        {{"--lang", "en", "--lang", "fr"}, std::nullopt},
        {{"--port", "--lang", "en"}, std::nullopt}, // the port's name, then a stray "en"
        {{"--", "--lang", "en"}, std::nullopt},
    };
    for (const auto& [arguments, language] : cases) {
        QStringList line = arguments;
        line.prepend(QStringLiteral("lq-modbus-rtu"));
        EXPECT_EQ(LanguageAsked(line), language) << arguments.join(' ').toStdString();
    }
}

TEST(CommandLine, HelpListsEveryOptionAndVersionIsTheProjects) {
    const CommandLine help = Parse({"--baud", "abc", "--help"});
    ASSERT_EQ(help.action, CommandLineAction::ShowHelp);
    for (const char* option :
         {"--port <NAME>", "--baud <N>", "--framing <FRAMING>", "--address <N>", "--open", "--poll",
          "--rs485", "--monitor", "--traffic-log <FILE>", "--trend", "--record <FILE>", "--alarms",
          "--journal <DIR>", "--no-journal", "--help", "--version", "Usage: lq-modbus-rtu [options]"})
        EXPECT_TRUE(help.message.contains(QLatin1String(option))) << option;

    // The option list fits a terminal of 80; the example is a command and keeps its one line.
    const QString options =
        help.message.section(QStringLiteral("Options:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    for (const QString& line : options.split(QLatin1Char('\n')))
        EXPECT_LE(line.size(), 79) << line.toStdString();
    EXPECT_TRUE(options.contains(QLatin1String("\n  -h, --help            Show this help.\n")));

    const CommandLine version = Parse({"--version"});
    ASSERT_EQ(version.action, CommandLineAction::ShowVersion);
    EXPECT_EQ(version.message, QStringLiteral("lq-modbus-rtu " LQ_EXPECTED_VERSION "\n"));
}

} // namespace
} // namespace lq
