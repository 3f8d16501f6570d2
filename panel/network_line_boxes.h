#pragma once

class QWidget;

namespace lq {

// A serial device server keeps its own rate and framing: while a network port is open the panel's boxes
// for them are greyed, with a tooltip saying so; otherwise they are as the layout made them.
void ShowLineBoxesFor(bool networkPortOpen, QWidget* baudBox, QWidget* framingBox);

} // namespace lq
