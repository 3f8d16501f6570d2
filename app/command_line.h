#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "panel/interface_language.h"

namespace lq {

// What the operator would otherwise type or click right after start; an empty value leaves the panel's
// own starting value in place.
struct SerialStart {
    std::optional<QString> port;
    std::optional<std::uint32_t> baud;
    std::optional<QString> framing;
    std::optional<int> address;
    bool open = false;  // click "打开串口"
    bool poll = false;  // tick "通讯"
    bool rs485 = false; // RTS on while transmitting, set before the port is first opened
};

// The communication monitor; an empty file name means no traffic log.
struct MonitorStart {
    bool open = false;
    QString trafficLog;
};

// The trend window; an empty file name means no recording.
struct TrendStart {
    bool open = false;
    QString recordFile;
};

// The alarm and event journal: its window, and where its day files go (an empty folder: the default one).
struct JournalStart {
    bool open = false;
    QString folder;
    bool noFiles = false;
};

// The controller parameters from the command line, without a window: back up, compare or restore a file.
enum class ParameterMode { None, Backup, Compare, Restore };
struct ParameterStart {
    ParameterMode mode = ParameterMode::None;
    QString file;
    bool yes = false; // --restore makes its writes only with this
};

struct PanelOptions {
    SerialStart serial;
    MonitorStart monitor;
    TrendStart trend;
    JournalStart journal;
    ParameterStart parameters;
    std::optional<InterfaceLanguage> language; // --lang; else the tools menu's choice or the locale's
};

enum class CommandLineAction { Run, ShowHelp, ShowVersion, Reject };

struct CommandLine {
    CommandLineAction action = CommandLineAction::Run;
    PanelOptions options;
    // The help or version text for standard output, or the reason for standard error.
    QString message;
};

// The exit status of a command line that is refused.
inline constexpr int kBadCommandLineStatus = 2;

// Reads the program's arguments, the program's own name first. Needs no application object, so that a
// refused command line never gets as far as a window or a port; the help and the reasons are in the
// translation in place (the Chinese source without one).
CommandLine ParseCommandLine(const QStringList& arguments);

// The language --lang asks for, read as ParseCommandLine reads it (the last value counts) even where the
// command line is refused; nothing without --lang or for a value that names no language.
std::optional<InterfaceLanguage> LanguageAsked(const QStringList& arguments);

// A good command line that is no parameter command: the one kind that needs a display.
bool OpensWindow(const CommandLine& commandLine);

// The program's arguments as text in the locale's encoding.
QStringList ArgumentList(int argc, char* argv[]);

// Prints the help, the version or the reason for a refusal and gives the exit status that goes with it.
int ReportCommandLine(const CommandLine& commandLine);

} // namespace lq
