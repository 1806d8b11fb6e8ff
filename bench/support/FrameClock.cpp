#include "FrameClock.h"

#include <QEventLoop>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QThread>
#include <QTimer>

FrameClock::FrameClock(QQuickWindow *window)
    : m_window(window)
{
    QObject::connect(
        window, &QQuickWindow::frameSwapped, window,
        [this] {
            if (!m_armed.exchange(false))
                return;
            m_renderThread = QThread::currentThread() != m_window->thread();
            m_frameNs = m_clock.nsecsElapsed();
        },
        Qt::DirectConnection);
}

void FrameClock::start()
{
    m_frameNs = -1;
    m_clock.start();
    m_armed = true;
}

double FrameClock::elapsed() const
{
    return double(m_clock.nsecsElapsed()) / 1e6;
}

double FrameClock::waitForFrame(int timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (m_frameNs < 0 && waited.elapsed() < timeoutMs)
        wait(1);
    m_armed = false;
    return m_frameNs < 0 ? -1 : double(m_frameNs) / 1e6;
}

void FrameClock::wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QByteArray FrameClock::describe() const
{
    QByteArray api;
    switch (m_window->rendererInterface()->graphicsApi()) {
    case QSGRendererInterface::OpenGL: api = "OpenGL"; break;
    case QSGRendererInterface::Software: api = "software"; break;
    default: api = "other"; break;
    }
    return api + (m_renderThread ? ", frames swapped on the render thread" : ", frames swapped on the main thread");
}
