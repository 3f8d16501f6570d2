#pragma once

#include <QString>

class QWidget;

namespace lq {

// The captions' characters that no installed font has (each once, in the order met); ASCII is taken as
// always there. A font without the Chinese characters turns every caption into a row of boxes.
QString CharactersWithoutFont(const QString& captions);

// Every caption the window and its components show: labels, buttons, instrument labels, the title.
QString CaptionsOf(const QWidget& window);

// What to tell the operator when characters have no font, naming the package that brings one; empty when
// every character has one. Latin only, as it is shown exactly when Chinese cannot be.
QString MissingFontNotice(const QString& missing);

// At start: the notice on standard error and in a box beside the window that does not block it, once.
void WarnWhenCaptionsHaveNoFont(QWidget& window);

} // namespace lq
