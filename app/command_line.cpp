#include "app/command_line.h"

#include "modbus/line_framing.h"
#include "modbus/slave_address.h"
#include <QCommandLineParser>
#include <array>
#include <cstdio>

namespace lq {

namespace {

const QString kProgram = QStringLiteral("lq-modbus-rtu");

std::optional<std::uint32_t> WholeNumber(const QString& text, std::uint32_t lowest, std::uint32_t highest) {
    // Digits only: no sign, no blanks and no trailing letters, which the panel's own boxes would take.
    if (text.isEmpty()) return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return std::nullopt;
    bool ok = false;
    const qulonglong value = text.toULongLong(&ok);
    if (!ok || value < lowest || value > highest) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

// The serial component refuses rates above 20 Mbit/s.
std::optional<std::uint32_t> BaudRate(const QString& text) {
    return WholeNumber(text, 1, 20'000'000);
}
// As the address box reads it, so that "0x10" is 16 in both; a sign or trailing letters are refused.
std::optional<std::uint32_t> SlaveAddress(const QString& text) {
    const std::string utf8 = text.toStdString();
    if (!IsWholeNumberText(utf8)) return std::nullopt;
    return SlaveAddressFromText(utf8);
}

// An option and what it does to the options: a flag gets an empty value. A value option also has the
// values it takes, which a refusal quotes, and its check.
struct OptionRule {
    const char* name;
    const char* valueName; // null for a flag
    const char* help;
    const char* accepted;
    bool (*valid)(const QString&);
    void (*store)(PanelOptions&, const QString&);
};

const std::array<OptionRule, 19> kRules{{
    {"port", "NAME",
     "Serial port, as typed into the port box: COM4, ttyUSB0, /dev/ttyUSB0, or a serial device server: "
     "tcp://HOST:PORT, modbus-tcp://HOST:PORT (default COM4).",
     "a device name or path, not empty",
     [](const QString& v) { return !v.isEmpty() && !v.contains(QChar(0)); },
     [](PanelOptions& o, const QString& v) { o.serial.port = v; }},
    {"baud", "N", "Baud rate in bit/s (default 19200).", "a whole number from 1 to 20000000",
     [](const QString& v) { return BaudRate(v).has_value(); },
     [](PanelOptions& o, const QString& v) { o.serial.baud = BaudRate(v); }},
    {"framing", "FRAMING", "Framing: 8_N_2, 8_E_1 or 8_O_1 (default 8_N_2).", "one of 8_N_2, 8_E_1, 8_O_1",
     [](const QString& v) { return FramingNamed(v.toStdString()).has_value(); },
     [](PanelOptions& o, const QString& v) { o.serial.framing = v; }},
    {"address", "N",
     "Slave address of the controller, decimal or hex as in the address box: 16, 0x10, $10 "
     "(default 1).",
     "a whole number from 1 to 247, decimal or hex (0x10, $10)",
     [](const QString& v) { return SlaveAddress(v).has_value(); },
     [](PanelOptions& o, const QString& v) { o.serial.address = static_cast<int>(*SlaveAddress(v)); }},
    {"open", nullptr, "Open the port at start, as a click on \"打开串口\" does.", nullptr, nullptr,
     [](PanelOptions& o, const QString&) { o.serial.open = true; }},
    {"poll", nullptr, "Tick \"通讯\" at start: poll the controller once the port is open.", nullptr, nullptr,
     [](PanelOptions& o, const QString&) { o.serial.poll = true; }},
    {"rs485", nullptr, "RS-485 adapter: RTS on while transmitting.", nullptr, nullptr,
     [](PanelOptions& o, const QString&) { o.serial.rs485 = true; }},
    {"monitor", nullptr, "Show the communication monitor \"通讯监视\".", nullptr, nullptr,
     [](PanelOptions& o, const QString&) { o.monitor.open = true; }},
    {"traffic-log", "FILE", "Write every frame sent and received to FILE.", "a file name, not empty",
     [](const QString& v) { return !v.isEmpty(); },
     [](PanelOptions& o, const QString& v) { o.monitor.trafficLog = v; }},
    {"trend", nullptr, "Show the trend window \"趋势\".", nullptr, nullptr,
     [](PanelOptions& o, const QString&) { o.trend.open = true; }},
    {"record", "FILE", "Record the trend values to FILE (CSV).", "a file name, not empty",
     [](const QString& v) { return !v.isEmpty(); },
     [](PanelOptions& o, const QString& v) { o.trend.recordFile = v; }},
    {"alarms", nullptr, "Show the alarm and event journal \"报警与事件\".", nullptr, nullptr,
     [](PanelOptions& o, const QString&) { o.journal.open = true; }},
    {"journal", "DIR", "Keep the journal's day files in DIR (default $XDG_STATE_HOME/lq-modbus-rtu/journal).",
     "a folder name, not empty", [](const QString& v) { return !v.isEmpty(); },
     [](PanelOptions& o, const QString& v) { o.journal.folder = v; }},
    {"no-journal", nullptr, "Keep no journal files (the window still lists the alarms and events).", nullptr,
     nullptr, [](PanelOptions& o, const QString&) { o.journal.noFiles = true; }},
    {"backup", "FILE", "Read the controller's parameters and save them to FILE, without a window.",
     "a file name, not empty", [](const QString& v) { return !v.isEmpty(); },
     [](PanelOptions& o, const QString& v) {
         o.parameters = {ParameterMode::Backup, v, o.parameters.yes};
     }},
    {"compare", "FILE", "Compare the controller's parameters with FILE: exit 0 equal, 1 different, 2 error.",
     "a file name, not empty", [](const QString& v) { return !v.isEmpty(); },
     [](PanelOptions& o, const QString& v) {
         o.parameters = {ParameterMode::Compare, v, o.parameters.yes};
     }},
    {"restore", "FILE", "Print the writes that would put FILE's parameters back; with --yes, make them.",
     "a file name, not empty", [](const QString& v) { return !v.isEmpty(); },
     [](PanelOptions& o, const QString& v) {
         o.parameters = {ParameterMode::Restore, v, o.parameters.yes};
     }},
    {"lang", "LANG",
     "Interface language: zh (Chinese) or en (English); default the one chosen in the tools menu, else the "
     "locale's (English for an en locale, Chinese for any other).",
     "zh or en", [](const QString& v) { return LanguageNamed(v).has_value(); },
     [](PanelOptions& o, const QString& v) { o.language = LanguageNamed(v); }},
    {"yes", nullptr, "With --restore: make the writes, read them back and check them.", nullptr, nullptr,
     [](PanelOptions& o, const QString&) { o.parameters.yes = true; }},
}};

// One parameter mode at a time, and --yes only where it confirms something.
std::optional<QString> ParameterModeConflict(const QCommandLineParser& parser) {
    int modes = 0;
    for (const char* name : {"backup", "compare", "restore"})
        modes += parser.isSet(QString::fromLatin1(name)) ? 1 : 0;
    if (modes > 1) return QStringLiteral("--backup, --compare and --restore go one at a time");
    if (parser.isSet(QStringLiteral("yes")) && !parser.isSet(QStringLiteral("restore")))
        return QStringLiteral("--yes confirms the writes of --restore and goes with it only");
    return std::nullopt;
}

const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")},
                               QStringLiteral("Show this help."));
const QCommandLineOption kVersion(QStringLiteral("version"), QStringLiteral("Show the version."));

QString AcceptedOptions() {
    QStringList names;
    for (const OptionRule& rule : kRules)
        names << (rule.valueName
                      ? QStringLiteral("--%1 %2").arg(QLatin1String(rule.name), QLatin1String(rule.valueName))
                      : QStringLiteral("--%1").arg(QLatin1String(rule.name)));
    names << QStringLiteral("--help") << QStringLiteral("--version");
    return QStringLiteral("Accepted options: ") + names.join(QStringLiteral(", "));
}

// A reason about something that is no option of the panel lists the options there are.
CommandLine Refusal(const QString& reason, bool listOptions) {
    QString message = QStringLiteral("%1: %2\n").arg(kProgram, reason);
    if (listOptions) message += AcceptedOptions() + QLatin1Char('\n');
    return {CommandLineAction::Reject, {}, message};
}

QString HelpText(const QCommandLineParser& parser) {
    QString text = parser.helpText();
    // Parsed before the application object exists, the parser does not know the program's name.
    text.replace(QStringLiteral("<executable_name>"), kProgram);
    return text +
           QStringLiteral(
               "\nExample:\n  %1 --port ttyUSB0 --baud 9600 --framing 8_E_1 --address 3 --open --poll\n")
               .arg(kProgram);
}

void AddOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Operator panel and Modbus RTU master for a three-phase power controller.\n"
                       "Without options it starts on COM4, 19200, 8_N_2, slave 1, port closed."));
    for (const OptionRule& rule : kRules) {
        QCommandLineOption option(QString::fromLatin1(rule.name), QString::fromUtf8(rule.help));
        if (rule.valueName) option.setValueName(QString::fromLatin1(rule.valueName));
        parser.addOption(option);
    }
    parser.addOption(kHelp);
    parser.addOption(kVersion);
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    AddOptions(parser);
    if (!parser.parse(arguments)) return Refusal(parser.errorText(), true);
    if (parser.isSet(kHelp)) return {CommandLineAction::ShowHelp, {}, HelpText(parser)};
    if (parser.isSet(kVersion))
        return {CommandLineAction::ShowVersion,
                {},
                QStringLiteral("%1 %2\n").arg(kProgram, QStringLiteral(LQ_VERSION))};
    if (!parser.positionalArguments().isEmpty())
        return Refusal(QStringLiteral("unexpected argument \"%1\": the panel takes options only")
                           .arg(parser.positionalArguments().constFirst()),
                       true);

    if (const auto conflict = ParameterModeConflict(parser)) return Refusal(*conflict, false);

    CommandLine result;
    for (const OptionRule& rule : kRules) {
        const QString name = QString::fromLatin1(rule.name);
        if (!parser.isSet(name)) continue;
        if (!rule.valueName) {
            rule.store(result.options, {});
            continue;
        }
        // Every value is checked; the last one given counts.
        for (const QString& value : parser.values(name)) {
            if (!rule.valid(value))
                return Refusal(QStringLiteral("bad value \"%1\" for --%2: expected %3")
                                   .arg(value, name, QString::fromLatin1(rule.accepted)),
                               false);
            rule.store(result.options, value);
        }
    }
    return result;
}

QStringList ArgumentList(int argc, char* argv[]) {
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

int ReportCommandLine(const CommandLine& commandLine) {
    const bool refused = commandLine.action == CommandLineAction::Reject;
    std::fputs(commandLine.message.toLocal8Bit().constData(), refused ? stderr : stdout);
    return refused ? kBadCommandLineStatus : 0;
}

} // namespace lq
