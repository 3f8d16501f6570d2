#pragma once

#include <QFont>

namespace lq {

// The layout was drawn for "MS Sans Serif" and "宋体", which Linux lacks: these ask for fonts that exist,
// at the layout's pixel sizes, with a CJK face in the fallback list so every Chinese text renders.
QFont SansFont(int pixelSize, bool bold = false);
QFont SongFont(int pixelSize, bool bold = false);

} // namespace lq
