#include "PipeReader.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Output shows at most this late, which nobody notices on a progress bar or a log.
constexpr int pauseMs = 50;
// A read of this much means the writer outpaces the pause (the default pipe holds 64 KiB).
constexpr qsizetype muchBytes = 16 * 1024;
// One wake-up reads at most this much, so a flood cannot hold the event loop.
constexpr qsizetype mostPerRead = 1024 * 1024;

} // namespace

PipeReader::PipeReader(BytesHandler onBytes, QObject *parent)
    : QObject(parent)
    , m_onBytes(std::move(onBytes))
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    // Only our end is non-blocking: the child expects ordinary blocking writes.
    ::fcntl(fds[0], F_SETFL, ::fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    m_readFd = fds[0];
    m_writeFd = fds[1];
    m_notifier = new QSocketNotifier(m_readFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { afterRead(readAvailable()); });
    m_pause.setSingleShot(true);
    m_pause.setTimerType(Qt::PreciseTimer);
    // After the pause the pipe is read directly: one wake-up per batch instead of two.
    connect(&m_pause, &QTimer::timeout, this, [this] { afterRead(readAvailable()); });
}

PipeReader::~PipeReader()
{
    closeWriteEnd();
    close();
}

void PipeReader::closeWriteEnd()
{
    if (m_writeFd >= 0)
        ::close(m_writeFd);
    m_writeFd = -1;
}

void PipeReader::finish()
{
    if (m_readFd >= 0)
        readAvailable();
    close();
}

PipeReader::Read PipeReader::readAvailable()
{
    // Each chunk goes out as read: gathering them would allocate and free a large block on
    // every wake-up, which costs more than the reading itself.
    char chunk[64 * 1024];
    qsizetype total = 0;
    while (total < mostPerRead) {
        const ssize_t got = ::read(m_readFd, chunk, sizeof chunk);
        if (got > 0) {
            total += got;
            m_onBytes(QByteArrayView(chunk, got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN) // drained for now
            break;
        return Read::Ended; // end of file, or the pipe failed
    }
    return total == 0 ? Read::Nothing : total >= muchBytes ? Read::Much : Read::Little;
}

void PipeReader::afterRead(Read read)
{
    switch (read) {
    case Read::Ended: close(); return;
    case Read::Much: m_lastMuch.start(); break;
    case Read::Nothing: break;
    case Read::Little:
        // Soon after a large read the writer is streaming and has only stopped for a moment (to
        // open its next file, say): a pause now would leave it blocked on a full pipe.
        if (m_lastMuch.isValid() && m_lastMuch.elapsed() < pauseMs)
            break;
        m_notifier->setEnabled(false);
        m_pause.start(pauseMs);
        return;
    }
    m_notifier->setEnabled(true);
}

void PipeReader::close()
{
    m_pause.stop();
    if (m_readFd < 0)
        return;
    m_notifier->setEnabled(false);
    ::close(m_readFd);
    m_readFd = -1;
}
