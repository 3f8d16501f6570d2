#pragma once

#include "panel/interface_language.h"

class QMenu;
class QWidget;

namespace lq {

class ToolsMenu;

// The tools menu's "界面语言 (Language)": each language named in itself, the one in use ticked. A choice is
// kept for the next start, which the notice says: the windows are built from their texts once.
QMenu* AddLanguageChoice(ToolsMenu& tools, QWidget* window, InterfaceLanguage inUse);

} // namespace lq
