#include "LineBuffer.h"

#include <algorithm>
#include <cstring>

namespace {

const char *find(const char *from, const char *end, char byte)
{
    const void *found = std::memchr(from, byte, end - from);
    return found ? static_cast<const char *>(found) : end;
}

// The length of `bytes` without a character cut short at its end.
qsizetype wholeCharacters(QByteArrayView bytes)
{
    qsizetype lead = bytes.size();
    while (lead > 0 && bytes.size() - lead < 3 && (uchar(bytes[lead - 1]) & 0xC0) == 0x80)
        --lead;
    if (lead == 0)
        return bytes.size();
    const auto first = uchar(bytes[lead - 1]);
    const qsizetype length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    return bytes.size() - (lead - 1) < length ? lead - 1 : bytes.size();
}

// Decodes a whole line, cut to the cap, and says how much of it is left out.
QString decode(QByteArrayView line, qint64 dropped)
{
    if (line.size() <= LineBuffer::maxLineBytes && dropped == 0)
        return QString::fromUtf8(line);
    const QByteArrayView kept = line.first(std::min(line.size(), LineBuffer::maxLineBytes));
    const qsizetype whole = wholeCharacters(kept);
    dropped += line.size() - whole;
    return QString::fromUtf8(kept.first(whole)) + QStringLiteral("\u2026 (%1 bytes left out)").arg(dropped);
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
            keep(QByteArrayView(start, terminator - start));
            lines.append(takeLine());
        } else if (terminator != start) {
            lines.append(decode(QByteArrayView(start, terminator - start), 0));
        }
        start = terminator + 1;
        if (lf < start)
            lf = find(start, end, '\n');
        if (cr < start)
            cr = find(start, end, '\r');
    }
    keep(QByteArrayView(start, end - start));
    return lines;
}

QStringList LineBuffer::flush()
{
    if (m_buf.isEmpty())
        return {};
    const QString last = takeLine();
    m_buf.clear();
    return {last};
}

void LineBuffer::keep(QByteArrayView bytes)
{
    const qsizetype room = std::max<qsizetype>(maxLineBytes - m_buf.size(), 0);
    const qsizetype taken = std::min(bytes.size(), room);
    m_buf.append(bytes.first(taken));
    m_dropped += bytes.size() - taken;
}

QString LineBuffer::takeLine()
{
    const QString line = decode(m_buf, m_dropped);
    m_buf.truncate(0);
    m_dropped = 0;
    return line;
}
