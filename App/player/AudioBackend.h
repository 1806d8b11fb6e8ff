#pragma once

#include "AudioOutput.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QUrl>

// The one audio player under the music player: it holds at most one item at a time. Every
// signal belongs to the item of the latest load(); whatever a replaced or stopped item still
// reports is dropped before it reaches the caller. Main thread only.
class AudioBackend : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Replaces the current item. `headers` go with every request for `url`; playback starts at
    // `start` seconds, and runs at once only when `play` is set.
    virtual void load(const QUrl &url, const QMap<QString, QString> &headers, double start, bool play) = 0;
    // Drops the current item, if any.
    virtual void stop() = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    // Seconds from the start of the current item; a seek before the item is ready waits for it.
    virtual void seek(double seconds) = 0;
    // Linear gain, 0…1.
    virtual void setVolume(double volume) = 0;

    [[nodiscard]] virtual bool hasItem() const = 0;
    // Sound is coming out: an item is loaded, not paused and not waiting for data.
    [[nodiscard]] virtual bool isRunning() const = 0;
    // Held up mid-stream until more data arrives.
    [[nodiscard]] virtual bool isWaiting() const = 0;
    // The current item's time and length in seconds; NaN when unknown.
    [[nodiscard]] virtual double position() const = 0;
    [[nodiscard]] virtual double duration() const = 0;

    // The outputs the system offers, in its order, and the name of the one in use. A choice lasts
    // for the run; a name that is not listed is ignored.
    [[nodiscard]] virtual QList<AudioOutput> outputs() const = 0;
    [[nodiscard]] virtual QString output() const = 0;
    virtual void setOutput(const QString &name) = 0;
    // A back end that starts its player on first use lists no outputs before that; this asks it
    // to look now (the list follows with outputsChanged).
    virtual void listOutputs() {}

Q_SIGNALS:
    // The item can play; `duration` is NaN when its length is not known yet.
    void ready(double duration);
    // The item played to its last sound.
    void ended();
    // The item cannot be played; one sentence for the user.
    void failed(const QString &message);
    // isRunning() or isWaiting() may have changed.
    void stateChanged();
    // outputs() or output() changed.
    void outputsChanged();
};
