#pragma once

#include <QString>
#include <memory>

class QApplication;

namespace lq {

// Why the panel can have no window, judged from the platform asked for (QT_QPA_PLATFORM) and the display
// variables alone; empty when a display may be there. Only the X11 default is judged: another platform
// (offscreen, wayland, …) is left to Qt.
QString NoDisplayReason(const QString& platform, const QString& display, const QString& waylandDisplay);

// The application object for the window. When there is no display, or the one named does not answer, it
// prints one line on standard error and ends the program with status 2 instead of Qt's abort.
std::unique_ptr<QApplication> MakeWindowApplication(int& argc, char** argv);

} // namespace lq
