#pragma once

class QComboBox;

namespace lq {

// Opens the box's list on the item its text shows, selected, rather than on its first item. An editable
// box's text is typed or set without moving its index, so Qt's own choice is the wrong row there.
void SelectShownItemWhenOpened(QComboBox* box);

} // namespace lq
