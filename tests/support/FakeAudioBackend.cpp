#include "FakeAudioBackend.h"

#include <algorithm>

void FakeAudioBackend::load(const QUrl &url, const QMap<QString, QString> &headers, double start, bool play)
{
    loads.append(Load{url, headers, start, play});
    m_hasItem = true;
    m_ready = false;
    m_waiting = false;
    m_paused = !play;
    currentPosition = start;
    Q_EMIT stateChanged();
}

void FakeAudioBackend::stop()
{
    m_hasItem = false;
    m_waiting = false;
    m_ready = false;
    Q_EMIT stateChanged();
}

void FakeAudioBackend::play()
{
    m_paused = false;
    Q_EMIT stateChanged();
}

void FakeAudioBackend::pause()
{
    m_paused = true;
    Q_EMIT stateChanged();
}

void FakeAudioBackend::seek(double seconds)
{
    seeks.append(seconds);
    currentPosition = seconds;
}

void FakeAudioBackend::becomeReady(double duration)
{
    m_ready = true;
    currentDuration = duration;
    Q_EMIT ready(duration);
    Q_EMIT stateChanged();
}

void FakeAudioBackend::end(double at)
{
    if (std::isfinite(at))
        currentPosition = at;
    else if (std::isfinite(currentDuration))
        currentPosition = currentDuration;
    // As mpv with keep-open: the item stays, paused at its end.
    m_paused = true;
    Q_EMIT stateChanged();
    Q_EMIT ended();
}

void FakeAudioBackend::fail(const QString &message)
{
    m_hasItem = false;
    m_ready = false;
    Q_EMIT failed(message);
    Q_EMIT stateChanged();
}

void FakeAudioBackend::setWaiting(bool waiting)
{
    m_waiting = waiting;
    Q_EMIT stateChanged();
}

void FakeAudioBackend::setOutput(const QString &name)
{
    if (std::none_of(m_outputs.begin(), m_outputs.end(), [&name](const AudioOutput &o) { return o.name == name; }))
        return;
    m_output = name;
    Q_EMIT outputsChanged();
}

void FakeAudioBackend::offerOutputs(const QList<AudioOutput> &outputs)
{
    m_outputs = outputs;
    Q_EMIT outputsChanged();
}
