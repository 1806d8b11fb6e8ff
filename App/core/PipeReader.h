#pragma once

#include <QByteArrayView>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <functional>

// The reading end of one pipe from a child, read on the main thread in batches. A child that
// writes a line at a time (yt-dlp flushes every progress line) would otherwise wake the event
// loop for every line; after each read the pipe is left alone for a short pause, so a busy
// child costs at most about twenty wake-ups a second while its bytes still arrive in order.
// A child that fills the pipe is read again at once, and so is one that did a moment ago, so a
// flood is not slowed down.
class PipeReader final : public QObject
{
    Q_OBJECT

public:
    using BytesHandler = std::function<void(QByteArrayView bytes)>;

    // Opens the pipe. `onBytes` receives every chunk read, in order; it may not delete the reader.
    explicit PipeReader(BytesHandler onBytes, QObject *parent = nullptr);
    ~PipeReader() override;

    // False when the pipe could not be opened.
    [[nodiscard]] bool isOpen() const { return m_readFd >= 0 && m_writeFd >= 0; }
    // The end the child writes to; it is closed on exec in every process that does not claim it.
    [[nodiscard]] int writeEnd() const { return m_writeFd; }
    // Once the child has its copy of the writing end: ours must go, or the pipe never ends.
    void closeWriteEnd();
    // Reads everything the pipe holds now and stops reading for good (the child has ended).
    void finish();

private:
    enum class Read {
        Nothing, // the pipe was empty: wait for the next write
        Little,  // the pipe ran dry after a small amount: the writer is slow, pause
        Much,    // a lot was waiting: the writer may be blocked on a full pipe, read on at once
        Ended,   // end of file or an error: nothing more will come
    };

    Read readAvailable();
    void afterRead(Read read);
    void close();

    BytesHandler m_onBytes;
    int m_readFd = -1;
    int m_writeFd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_pause;
    QElapsedTimer m_lastMuch; // since the last large read
};
