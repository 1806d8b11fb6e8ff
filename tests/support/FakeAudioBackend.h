#pragma once

#include "player/AudioBackend.h"

#include <cmath>

// An audio back end that plays nothing: it records what the player asks and reports whatever
// the test makes it report.
class FakeAudioBackend final : public AudioBackend
{
    Q_OBJECT

public:
    struct Load
    {
        QUrl url;
        QMap<QString, QString> headers;
        double start = 0;
        bool play = false;
    };

    using AudioBackend::AudioBackend;

    void load(const QUrl &url, const QMap<QString, QString> &headers, double start, bool play) override;
    void stop() override;
    void play() override;
    void pause() override;
    void seek(double seconds) override;
    void setVolume(double volume) override { lastVolume = volume; }

    [[nodiscard]] bool hasItem() const override { return m_hasItem; }
    [[nodiscard]] bool isRunning() const override { return m_hasItem && m_ready && !m_paused && !m_waiting; }
    [[nodiscard]] bool isWaiting() const override { return m_hasItem && m_waiting; }
    // The player reads the position once per tick of its time observer, so this counts ticks.
    [[nodiscard]] double position() const override
    {
        ++positionReads;
        return m_hasItem ? currentPosition : NAN;
    }
    [[nodiscard]] double duration() const override { return m_hasItem ? currentDuration : NAN; }
    [[nodiscard]] QList<AudioOutput> outputs() const override { return m_outputs; }
    [[nodiscard]] QString output() const override { return m_output; }
    void setOutput(const QString &name) override;
    // What the system offers changes.
    void offerOutputs(const QList<AudioOutput> &outputs);

    // What the item does.
    void becomeReady(double duration);
    // Played to `at`, or through to the length when known.
    void end(double at = NAN);
    void fail(const QString &message);
    // The stream runs dry (true) or has data again.
    void setWaiting(bool waiting);

    QList<Load> loads;
    QList<double> seeks;
    double lastVolume = NAN;
    double currentPosition = 0;
    double currentDuration = NAN;
    mutable int positionReads = 0;

private:
    bool m_hasItem = false;
    bool m_ready = false;
    bool m_paused = true;
    bool m_waiting = false;
    QList<AudioOutput> m_outputs{{QStringLiteral("auto"), QStringLiteral("Autoselect device")},
                                 {QStringLiteral("pulse/speakers"), QStringLiteral("Speakers")}};
    QString m_output = QStringLiteral("auto");
};
