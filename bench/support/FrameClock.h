#pragma once

#include <QElapsedTimer>

#include <atomic>

class QQuickWindow;

// Times from a moment on the main thread to the next frame a window puts on screen. The frame is
// stamped where it is swapped, on the render thread when there is one, so a busy main thread does
// not lengthen the time.
class FrameClock final
{
public:
    explicit FrameClock(QQuickWindow *window);

    // Starts the clock; the next frame swapped is timed from now.
    void start();
    // Milliseconds since start().
    [[nodiscard]] double elapsed() const;
    // Runs the event loop until the frame timed by start() is swapped; its time in milliseconds,
    // or -1 when none comes within `timeoutMs`.
    double waitForFrame(int timeoutMs = 5000);

    // Runs the event loop for `ms`.
    static void wait(int ms);
    // What draws the window: its graphics API, and whether frames are swapped on a render thread
    // (known once a frame was timed).
    [[nodiscard]] QByteArray describe() const;

private:
    QQuickWindow *m_window;
    QElapsedTimer m_clock;
    std::atomic<bool> m_armed = false;
    std::atomic<qint64> m_frameNs = -1;
    std::atomic<bool> m_renderThread = false;
};
