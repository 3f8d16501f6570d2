#include "app/command_help.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace lq {

namespace {

constexpr int kIndent = 2;

// The East Asian wide ranges a terminal draws two columns wide: Hangul Jamo, CJK and Yi, Hangul
// syllables, compatibility ideographs, vertical forms and the full-width forms ("：", "（").
bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

QString WithoutTrailingBlanks(QString text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    text.truncate(end);
    return text;
}

// Where Unicode lets a line break, a help line breaks only at a blank or beside a Chinese character: never
// inside an option, a path or a name ("--traffic-log", "lq-modbus-rtu/journal").
bool BreaksHere(const QString& paragraph, qsizetype at) {
    if (at >= paragraph.size()) return true;
    return paragraph.at(at - 1).isSpace() || IsWide(paragraph.at(at - 1).unicode()) ||
           IsWide(paragraph.at(at).unicode());
}

void WrapParagraph(const QString& paragraph, int width, QStringList& lines) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, paragraph);
    QString line;
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        if (!BreaksHere(paragraph, finder.position())) continue;
        const QString piece = paragraph.mid(start, finder.position() - start);
        start = finder.position();
        // A blank at the end of a line takes no room.
        if (!line.isEmpty() && TerminalWidth(WithoutTrailingBlanks(line + piece)) > width) {
            lines << WithoutTrailingBlanks(line);
            line = piece;
        } else {
            line += piece;
        }
    }
    lines << WithoutTrailingBlanks(line);
}

} // namespace

int TerminalWidth(const QString& text) {
    int columns = 0;
    for (const char32_t c : text.toUcs4())
        columns += IsWide(c) ? 2 : 1;
    return columns;
}

QStringList WrappedLines(const QString& text, int width) {
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n')))
        WrapParagraph(paragraph, width, lines);
    return lines;
}

QString HelpColumns(const QList<HelpEntry>& entries, int width) {
    int namesWidth = 0;
    for (const HelpEntry& entry : entries)
        namesWidth = std::max(namesWidth, TerminalWidth(entry.names));
    const int column = kIndent + namesWidth + 2;
    const QString blank(column, QLatin1Char(' '));
    QString text;
    for (const HelpEntry& entry : entries) {
        const QStringList lines = WrappedLines(entry.description, width - column);
        const QString names = entry.names.leftJustified(namesWidth + 2);
        for (qsizetype i = 0; i < lines.size(); ++i)
            text += (i == 0 ? QString(kIndent, QLatin1Char(' ')) + names : blank) + lines.at(i) +
                    QLatin1Char('\n');
    }
    return text;
}

} // namespace lq
