#pragma once

#include <QPixmap>

namespace lq {

// 32 x 32 lamp icons on a transparent background.
QPixmap DarkLampIcon(); // a white ring with an empty centre
QPixmap LitLampIcon();  // a red disc inside a white ring with eight short red rays

} // namespace lq
