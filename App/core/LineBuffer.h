#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

// Cuts the bytes of one pipe into lines. CR and LF both end a line, so a progress line that
// redraws itself with CR yields one line per redraw and CR LF ends just one; empty lines are
// dropped. Lines are decoded as UTF-8 with invalid sequences replaced by U+FFFD, and only once
// they are whole, so a character split across two reads is decoded once.
class LineBuffer final
{
public:
    // Takes the next bytes read and returns the lines they complete.
    [[nodiscard]] QStringList feed(QByteArrayView data);
    // The unterminated rest as one last line (none when nothing is left); empties the buffer.
    [[nodiscard]] QStringList flush();

private:
    QByteArray m_buf;
};
