#pragma once

#include <QString>

class QMessageBox;
class QWidget;

namespace lq {

// A notice that the open port went away, beside the window, not blocking it. There is only ever one: a
// second loss updates and raises it.
void ShowPortLostNotice(QWidget* owner, const QString& portName, const QString& devicePath);

// The port is open again: the notice would say something no longer true.
void DismissPortLostNotice(QWidget* owner);

// The notice, if one was shown.
QMessageBox* FindPortLostNotice(QWidget* owner);

} // namespace lq
