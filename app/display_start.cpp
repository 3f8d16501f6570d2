#include "app/display_start.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"

namespace lq {

namespace {

QString Variable(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

// The platform's name without its options ("xcb:…").
QString PlatformName() {
    return Variable("QT_QPA_PLATFORM").section(QLatin1Char(':'), 0, 0);
}

bool NeedsX11(const QString& platform) {
    return platform.isEmpty() || platform == QLatin1String("xcb");
}

[[noreturn]] void ExitWithoutDisplay(const QString& reason) {
    const QString line = QStringLiteral("lq-modbus-rtu: %1; the panel needs one (--backup, --compare and "
                                        "--restore run without)\n")
                             .arg(reason);
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    // Inside Qt's start-up nothing may be torn down safely, so no exit handlers run.
    std::_Exit(kBadCommandLineStatus);
}

// What Qt says while the platform starts is held back: on success it goes on as said, on a display that
// does not answer only the one line is printed.
QtMessageHandler previousHandler = nullptr;
QStringList heldBack;

void HoldBackDuringStart(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg && NeedsX11(PlatformName()))
        ExitWithoutDisplay(QStringLiteral("no display: %1 does not answer")
                               .arg(QStringLiteral("DISPLAY=") + Variable("DISPLAY")));
    if (type == QtFatalMsg) {
        for (const QString& held : heldBack)
            std::fprintf(stderr, "%s\n", held.toLocal8Bit().constData());
        if (previousHandler != nullptr) previousHandler(type, context, text);
        return;
    }
    heldBack << qFormatLogMessage(type, context, text);
}

} // namespace

QString NoDisplayReason(const QString& platform, const QString& display, const QString& waylandDisplay) {
    if (!NeedsX11(platform) || !display.isEmpty()) return {};
    if (platform.isEmpty() && !waylandDisplay.isEmpty()) return {};
    return platform.isEmpty() ? QStringLiteral("no display (neither DISPLAY nor WAYLAND_DISPLAY is set)")
                              : QStringLiteral("no display (QT_QPA_PLATFORM=xcb and DISPLAY is not set)");
}

std::unique_ptr<QApplication> MakeWindowApplication(int& argc, char** argv) {
    const QString reason = NoDisplayReason(PlatformName(), Variable("DISPLAY"), Variable("WAYLAND_DISPLAY"));
    if (!reason.isEmpty()) ExitWithoutDisplay(reason);
    previousHandler = qInstallMessageHandler(HoldBackDuringStart);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previousHandler);
    for (const QString& held : heldBack)
        std::fprintf(stderr, "%s\n", held.toLocal8Bit().constData());
    heldBack.clear();
    return app;
}

} // namespace lq
