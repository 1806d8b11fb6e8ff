#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

// Cuts the bytes of one pipe into lines. CR and LF both end a line, so a progress line that
// redraws itself with CR yields one line per redraw and CR LF ends just one; empty lines are
// dropped. Lines are decoded as UTF-8 with invalid sequences replaced by U+FFFD, and only once
// they are whole, so a character split across two reads is decoded once.
//
// A line keeps at most its first `maxLineBytes` bytes (whole characters), followed by how many
// it had beyond them: a child that never ends its line must not take our memory with it.
class LineBuffer final
{
public:
    static constexpr qsizetype maxLineBytes = 64 * 1024;

    // Takes the next bytes read and returns the lines they complete.
    [[nodiscard]] QStringList feed(QByteArrayView data);
    // The unterminated rest as one last line (none when nothing is left); empties the buffer.
    [[nodiscard]] QStringList flush();

private:
    void keep(QByteArrayView bytes);
    [[nodiscard]] QString takeLine();

    QByteArray m_buf;
    qint64 m_dropped = 0; // bytes of the line in `m_buf` beyond the cap
};
