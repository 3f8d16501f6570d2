#pragma once

class QAbstractButton;

namespace lq {

// Enter and Return click a focused button as Space does; Qt's buttons outside a dialog leave both unused.
void PressOnEnter(QAbstractButton* button);

} // namespace lq
