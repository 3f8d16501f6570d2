#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace lq {

// The columns a text takes on a terminal: two for a Chinese (or other East Asian wide) character.
int TerminalWidth(const QString& text);

// The lines of a text no wider than `width` columns each, breaking only at a blank or beside a Chinese
// character, and there only where Unicode lets a line break (never before "，" or after "（"); a newline
// always breaks. A word wider than a line keeps its own line.
QStringList WrappedLines(const QString& text, int width);

// One line of the option list: the option's names ("-h, --help", "--port <NAME>") and what it does.
struct HelpEntry {
    QString names;
    QString description;
};

// The option list as --help prints it: the names indented and padded to the longest, the descriptions
// wrapped beside them within `width` columns.
QString HelpColumns(const QList<HelpEntry>& entries, int width);

} // namespace lq
