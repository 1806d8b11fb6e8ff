#include "LineBuffer.h"

QStringList LineBuffer::feed(QByteArrayView data)
{
    QStringList lines;
    const char *const end = data.data() + data.size();
    const char *start = data.data();
    for (const char *p = start; p != end; ++p) {
        if (*p != '\n' && *p != '\r')
            continue;
        if (!m_buf.isEmpty()) {
            // The line began in an earlier read.
            m_buf.append(start, p - start);
            lines.append(QString::fromUtf8(m_buf));
            m_buf.truncate(0);
        } else if (p != start) {
            lines.append(QString::fromUtf8(start, p - start));
        }
        start = p + 1;
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
