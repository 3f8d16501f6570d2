#include <QApplication>
#include <cstdio>

#include "app/command_line.h"
#include "app/display_start.h"
#include "app/monitor_start.h"
#include "app/parameter_command.h"
#include "app/start_options.h"
#include "journal/journal_files.h"
#include "panel/caption_font_check.h"
#include "panel/form1.h"
#include "panel/form2.h"
#include "panel/interface_language.h"
#include "panel/journal/journal_tool.h"
#include "panel/language_choice.h"
#include "panel/parameters/parameters_tool.h"
#include "panel/trend/trend_tool.h"

namespace {

QString JournalFolder(const lq::JournalStart& start) {
    if (start.noFiles) return {};
    return start.folder.isEmpty() ? QString::fromStdString(lq::DefaultJournalFolder()) : start.folder;
}

} // namespace

int main(int argc, char* argv[]) {
    // Read before the application object exists: a wrong setting never gets as far as a window or a port.
    const QStringList arguments = lq::ArgumentList(argc, argv);
    lq::CommandLine commandLine = lq::ParseCommandLine(arguments);
    if (!lq::OpensWindow(commandLine)) {
        // The help, the version, a refusal and backing up, comparing and restoring from a script need no
        // display, only the translation, which needs an application object: read once more with it in place.
        QCoreApplication app(argc, argv);
        lq::InstallInterfaceLanguage(lq::ChosenLanguage(lq::LanguageAsked(arguments)));
        commandLine = lq::ParseCommandLine(arguments);
        if (commandLine.action != lq::CommandLineAction::Run) return lq::ReportCommandLine(commandLine);
        return lq::RunParameterCommand(commandLine.options.serial, commandLine.options.parameters);
    }
    const lq::PanelOptions& options = commandLine.options;

    // Without a display: one line and status 2, not Qt's abort.
    const std::unique_ptr<QApplication> app = lq::MakeWindowApplication(argc, argv);
    // Lets a Wayland desktop match the window to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(LQ_APP_ID));
    // Before the first window, whose texts are read from the translation as it is built.
    const lq::InterfaceLanguage language = lq::ChosenLanguage(options.language);
    if (!lq::InstallInterfaceLanguage(language))
        std::fputs("lq-modbus-rtu: the English translation is missing from this build; showing Chinese\n",
                   stderr);
    lq::TForm1 Form1;
    // Created after the main window and never shown by the panel.
    lq::TForm2 Form2;
    Form1.show();
    // Without a Chinese font every caption is a box: say so, and which package brings one.
    lq::WarnWhenCaptionsHaveNoFont(Form1);
    // The alarm and event journal "报警与事件" (F9, --alarms), on from the start so that the command line's
    // settings and the port's opening are in it; day files unless --no-journal.
    lq::JournalTool journal(Form1);
    journal.Start(options.journal.open, JournalFolder(options.journal));
    lq::ApplySerialStart(Form1, options.serial);
    // The communication monitor "通讯监视" (F12, --monitor) and the traffic log (--traffic-log).
    lq::MonitorStartup monitor(Form1, options.monitor);
    if (lq::TrafficLogRecording* log = monitor.Log()) journal.Watch(*log);
    lq::TrendTool trend(Form1); // destroyed before the panel, whose master it listens to
    journal.Watch(trend);
    trend.Start(options.trend.open, options.trend.recordFile);
    lq::ParametersTool parameters(Form1); // "控制器参数" (F10)
    lq::AddLanguageChoice(Form1.Tools(), &Form1, language);
    return QApplication::exec();
}
