#include "app/command_line.h"

#include "app/command_help.h"
#include "modbus/line_framing.h"
#include "modbus/slave_address.h"
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>
#include <array>
#include <cstdio>

namespace lq {

namespace {

const QString kProgram = QStringLiteral("lq-modbus-rtu");
// Columns of the help: what a terminal of 80 shows without wrapping.
constexpr int kHelpWidth = 79;

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
// values it takes, which a refusal quotes, and its check. The texts are Chinese, translated where shown.
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
     QT_TRANSLATE_NOOP(
         "CommandLine",
         "串口，写法与端口框相同：COM4、ttyUSB0、/dev/ttyUSB0，或串口服务器 (serial device server)："
         "tcp://HOST:PORT、modbus-tcp://HOST:PORT（默认 COM4）。"),
     QT_TRANSLATE_NOOP("CommandLine", "非空的设备名或路径"),
     [](const QString& v) { return !v.isEmpty() && !v.contains(QChar(0)); },
     [](PanelOptions& o, const QString& v) { o.serial.port = v; }},
    {"baud", "N", QT_TRANSLATE_NOOP("CommandLine", "波特率 (baud rate)，单位 bit/s（默认 19200）。"),
     QT_TRANSLATE_NOOP("CommandLine", "1 至 20000000 的整数"),
     [](const QString& v) { return BaudRate(v).has_value(); },
     [](PanelOptions& o, const QString& v) { o.serial.baud = BaudRate(v); }},
    {"framing", "FRAMING",
     QT_TRANSLATE_NOOP("CommandLine", "帧格式 (framing)：8_N_2、8_E_1 或 8_O_1（默认 8_N_2）。"),
     QT_TRANSLATE_NOOP("CommandLine", "8_N_2、8_E_1、8_O_1 之一"),
     [](const QString& v) { return FramingNamed(v.toStdString()).has_value(); },
     [](PanelOptions& o, const QString& v) { o.serial.framing = v; }},
    {"address", "N",
     QT_TRANSLATE_NOOP(
         "CommandLine",
         "控制器的从站地址 (slave address)，十进制或十六进制，写法与地址框相同：16、0x10、$10（默认 1）。"),
     QT_TRANSLATE_NOOP("CommandLine", "1 至 247 的整数，十进制或十六进制（0x10、$10）"),
     [](const QString& v) { return SlaveAddress(v).has_value(); },
     [](PanelOptions& o, const QString& v) { o.serial.address = static_cast<int>(*SlaveAddress(v)); }},
    {"open", nullptr, QT_TRANSLATE_NOOP("CommandLine", "启动时打开串口，如同点击“打开串口”。"), nullptr,
     nullptr, [](PanelOptions& o, const QString&) { o.serial.open = true; }},
    {"poll", nullptr, QT_TRANSLATE_NOOP("CommandLine", "启动时勾选“通讯”：串口打开后即轮询 (poll) 控制器。"),
     nullptr, nullptr, [](PanelOptions& o, const QString&) { o.serial.poll = true; }},
    {"rs485", nullptr, QT_TRANSLATE_NOOP("CommandLine", "RS-485 转换器：发送期间 RTS 有效 (RTS on)。"),
     nullptr, nullptr, [](PanelOptions& o, const QString&) { o.serial.rs485 = true; }},
    {"monitor", nullptr, QT_TRANSLATE_NOOP("CommandLine", "打开“通讯监视”窗口。"), nullptr, nullptr,
     [](PanelOptions& o, const QString&) { o.monitor.open = true; }},
    {"traffic-log", "FILE", QT_TRANSLATE_NOOP("CommandLine", "把收发的每一帧记入 FILE。"),
     QT_TRANSLATE_NOOP("CommandLine", "非空的文件名"), [](const QString& v) { return !v.isEmpty(); },
     [](PanelOptions& o, const QString& v) { o.monitor.trafficLog = v; }},
    {"trend", nullptr, QT_TRANSLATE_NOOP("CommandLine", "打开“趋势”窗口。"), nullptr, nullptr,
     [](PanelOptions& o, const QString&) { o.trend.open = true; }},
    {"record", "FILE", QT_TRANSLATE_NOOP("CommandLine", "把趋势数值记录到 FILE（CSV）。"),
     QT_TRANSLATE_NOOP("CommandLine", "非空的文件名"), [](const QString& v) { return !v.isEmpty(); },
     [](PanelOptions& o, const QString& v) { o.trend.recordFile = v; }},
    {"alarms", nullptr, QT_TRANSLATE_NOOP("CommandLine", "打开“报警与事件”窗口。"), nullptr, nullptr,
     [](PanelOptions& o, const QString&) { o.journal.open = true; }},
    {"journal", "DIR",
     QT_TRANSLATE_NOOP("CommandLine",
                       "报警与事件的日文件存放在 DIR（默认 $XDG_STATE_HOME/lq-modbus-rtu/journal）。"),
     QT_TRANSLATE_NOOP("CommandLine", "非空的文件夹名"), [](const QString& v) { return !v.isEmpty(); },
     [](PanelOptions& o, const QString& v) { o.journal.folder = v; }},
    {"no-journal", nullptr, QT_TRANSLATE_NOOP("CommandLine", "不写日志文件（窗口中仍列出报警与事件）。"),
     nullptr, nullptr, [](PanelOptions& o, const QString&) { o.journal.noFiles = true; }},
    {"backup", "FILE", QT_TRANSLATE_NOOP("CommandLine", "不开窗口：读取控制器参数，保存到 FILE。"),
     QT_TRANSLATE_NOOP("CommandLine", "非空的文件名"), [](const QString& v) { return !v.isEmpty(); },
     [](PanelOptions& o, const QString& v) {
         o.parameters = {ParameterMode::Backup, v, o.parameters.yes};
     }},
    {"compare", "FILE",
     QT_TRANSLATE_NOOP("CommandLine", "将控制器参数与 FILE 比较：退出状态 0 相同，1 不同，2 出错。"),
     QT_TRANSLATE_NOOP("CommandLine", "非空的文件名"), [](const QString& v) { return !v.isEmpty(); },
     [](PanelOptions& o, const QString& v) {
         o.parameters = {ParameterMode::Compare, v, o.parameters.yes};
     }},
    {"restore", "FILE",
     QT_TRANSLATE_NOOP("CommandLine", "列出把 FILE 中的参数写回所需的写入；加 --yes 则执行。"),
     QT_TRANSLATE_NOOP("CommandLine", "非空的文件名"), [](const QString& v) { return !v.isEmpty(); },
     [](PanelOptions& o, const QString& v) {
         o.parameters = {ParameterMode::Restore, v, o.parameters.yes};
     }},
    {"lang", "LANG",
     QT_TRANSLATE_NOOP(
         "CommandLine",
         "界面语言 (language)：zh（中文）或 en（英文）；默认用工具菜单中选定的语言，未选定时按区域设置 "
         "(locale)：en 区域为英文，其他为中文。"),
     QT_TRANSLATE_NOOP("CommandLine", "zh 或 en"),
     [](const QString& v) { return LanguageNamed(v).has_value(); },
     [](PanelOptions& o, const QString& v) { o.language = LanguageNamed(v); }},
    {"yes", nullptr, QT_TRANSLATE_NOOP("CommandLine", "与 --restore 同用：执行写入，并逐个回读校验。"),
     nullptr, nullptr, [](PanelOptions& o, const QString&) { o.parameters.yes = true; }},
}};

QString Translated(const char* text) {
    return QCoreApplication::translate("CommandLine", text);
}

// One parameter mode at a time, and --yes only where it confirms something.
std::optional<QString> ParameterModeConflict(const QCommandLineParser& parser) {
    int modes = 0;
    for (const char* name : {"backup", "compare", "restore"})
        modes += parser.isSet(QString::fromLatin1(name)) ? 1 : 0;
    if (modes > 1)
        return Translated(
            QT_TRANSLATE_NOOP("CommandLine", "--backup、--compare 和 --restore 一次只能用一个"));
    if (parser.isSet(QStringLiteral("yes")) && !parser.isSet(QStringLiteral("restore")))
        return Translated(QT_TRANSLATE_NOOP("CommandLine", "--yes 用于确认 --restore 的写入，只能与它同用"));
    return std::nullopt;
}

const QCommandLineOption kHelp(QStringList{QStringLiteral("h"), QStringLiteral("help")});
const QCommandLineOption kVersion(QStringLiteral("version"));
const char* const kHelpHelp = QT_TRANSLATE_NOOP("CommandLine", "显示本帮助。");
const char* const kVersionHelp = QT_TRANSLATE_NOOP("CommandLine", "显示版本。");

// The option as the help and the list of accepted options show it: "--port NAME".
QString OptionWithValue(const OptionRule& rule, const QString& format) {
    return rule.valueName ? format.arg(QLatin1String(rule.name), QLatin1String(rule.valueName))
                          : QStringLiteral("--%1").arg(QLatin1String(rule.name));
}

QString AcceptedOptions() {
    QStringList names;
    for (const OptionRule& rule : kRules)
        names << OptionWithValue(rule, QStringLiteral("--%1 %2"));
    names << QStringLiteral("--help") << QStringLiteral("--version");
    return Translated(QT_TRANSLATE_NOOP("CommandLine", "可用选项：%1")).arg(names.join(QStringLiteral(", ")));
}

// A reason about something that is no option of the panel lists the options there are.
CommandLine Refusal(const QString& reason, bool listOptions) {
    QString message = QStringLiteral("%1: %2\n").arg(kProgram, reason);
    if (listOptions) message += AcceptedOptions() + QLatin1Char('\n');
    return {CommandLineAction::Reject, {}, message};
}

// QCommandLineParser gives its reasons in English only (no Qt translation is loaded): each of its forms is
// said again in the interface language, and in English as Qt says it.
QString ParserReason(const QCommandLineParser& parser) {
    static const std::array<std::pair<const char*, const char*>, 4> kForms{{
        {"^Unknown option '(.*)'\\.$", QT_TRANSLATE_NOOP("CommandLine", "未知选项 '%1'")},
        {"^Unknown options: (.*)\\.$", QT_TRANSLATE_NOOP("CommandLine", "未知选项：%1")},
        {"^Missing value after '(.*)'\\.$", QT_TRANSLATE_NOOP("CommandLine", "选项 '%1' 缺少取值")},
        {"^Unexpected value after '(.*)'\\.$", QT_TRANSLATE_NOOP("CommandLine", "选项 '%1' 不带取值")},
    }};
    QString said = parser.errorText();
    for (const auto& [pattern, text] : kForms) {
        const QRegularExpressionMatch match = QRegularExpression(QLatin1String(pattern)).match(said);
        if (match.hasMatch()) return Translated(text).arg(match.captured(1));
    }
    return said;
}

// Laid out as QCommandLineParser lays out its own help, but in the interface language and with a Chinese
// character two columns wide.
QString HelpText() {
    QList<HelpEntry> entries;
    for (const OptionRule& rule : kRules)
        entries.append({OptionWithValue(rule, QStringLiteral("--%1 <%2>")), Translated(rule.help)});
    entries.append({QStringLiteral("-h, --help"), Translated(kHelpHelp)});
    entries.append({QStringLiteral("--version"), Translated(kVersionHelp)});
    const QString usage = Translated(QT_TRANSLATE_NOOP("CommandLine", "用法：%1 [选项]")).arg(kProgram);
    const QString about = Translated(
        QT_TRANSLATE_NOOP("CommandLine", "三相功率控制器的操作面板与 Modbus RTU 主站 (master)。\n"
                                         "不带选项时以 COM4、19200、8_N_2、从站 1 启动，串口关闭。"));
    return QStringLiteral("%1\n%2\n\n%3\n%4\n%5\n"
                          "  %6 --port ttyUSB0 --baud 9600 --framing 8_E_1 --address 3 --open --poll\n")
        .arg(usage, WrappedLines(about, kHelpWidth).join(QLatin1Char('\n')),
             Translated(QT_TRANSLATE_NOOP("CommandLine", "选项：")), HelpColumns(entries, kHelpWidth),
             Translated(QT_TRANSLATE_NOOP("CommandLine", "示例：")), kProgram);
}

// The options only: their texts are read when they are shown, in the language in place then.
void AddOptions(QCommandLineParser& parser) {
    for (const OptionRule& rule : kRules) {
        QCommandLineOption option(QString::fromLatin1(rule.name));
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
    if (!parser.parse(arguments)) return Refusal(ParserReason(parser), true);
    if (parser.isSet(kHelp)) return {CommandLineAction::ShowHelp, {}, HelpText()};
    if (parser.isSet(kVersion))
        return {CommandLineAction::ShowVersion,
                {},
                QStringLiteral("%1 %2\n").arg(kProgram, QStringLiteral(LQ_VERSION))};
    if (!parser.positionalArguments().isEmpty())
        return Refusal(Translated(QT_TRANSLATE_NOOP("CommandLine", "多余的参数 \"%1\"：面板只接受选项"))
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
                return Refusal(
                    Translated(QT_TRANSLATE_NOOP("CommandLine", "--%2 的取值 \"%1\" 无效，应为：%3"))
                        .arg(value, name, Translated(rule.accepted)),
                    false);
            rule.store(result.options, value);
        }
    }
    return result;
}

std::optional<InterfaceLanguage> LanguageAsked(const QStringList& arguments) {
    QCommandLineParser parser;
    AddOptions(parser);
    // Read on where the parser stops: a refused command line is still refused in the language asked for.
    parser.parse(arguments);
    const QStringList values = parser.values(QStringLiteral("lang"));
    return values.isEmpty() ? std::nullopt : LanguageNamed(values.constLast());
}

bool OpensWindow(const CommandLine& commandLine) {
    return commandLine.action == CommandLineAction::Run &&
           commandLine.options.parameters.mode == ParameterMode::None;
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
