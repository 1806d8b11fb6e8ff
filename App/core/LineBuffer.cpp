#include "LineBuffer.h"

#include <cstring>

namespace {

const char *find(const char *from, const char *end, char byte)
{
    const void *found = std::memchr(from, byte, end - from);
    return found ? static_cast<const char *>(found) : end;
}

} // namespace

QStringList LineBuffer::feed(QByteArrayView data)
{
    QStringList lines;
    const char *const end = data.data() + data.size();
    const char *start = data.data();
    // The next LF and the next CR, each searched again only once passed, so a read full of one
    // kind never rescans the rest for the other.
    const char *lf = find(start, end, '\n');
    const char *cr = find(start, end, '\r');
    while (lf != end || cr != end) {
        const char *terminator = lf < cr ? lf : cr;
        if (!m_buf.isEmpty()) {
            // The line began in an earlier read.
            m_buf.append(start, terminator - start);
            lines.append(QString::fromUtf8(m_buf));
            m_buf.truncate(0);
        } else if (terminator != start) {
            lines.append(QString::fromUtf8(start, terminator - start));
        }
        start = terminator + 1;
        if (lf < start)
            lf = find(start, end, '\n');
        if (cr < start)
            cr = find(start, end, '\r');
    }
    m_buf.append(start, end - start);
    return lines;
}

QStringList LineBuffer::flush()
{
    if (m_buf.isEmpty())
        return {};
    const QString last = QString::fromUtf8(m_buf);
    m_buf.clear();
    return {last};
}
