#pragma once

#include <QColor>

namespace lq {

// The Windows system and named colours the layout uses, as they look with the classic scheme.
inline const QColor kMaroon{128, 0, 0};
inline const QColor kSkyBlue{166, 202, 240};
inline const QColor kButtonFace{240, 240, 240};
inline const QColor kLight3DFace{227, 227, 227};
inline const QColor kScrollBarColour{200, 200, 200};
inline const QColor kHotLight{0, 102, 204};
inline const QColor kAppWorkspace{171, 171, 171};

} // namespace lq
