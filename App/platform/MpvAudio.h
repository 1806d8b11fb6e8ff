#pragma once

#include "MpvLibrary.h"
#include "player/AudioBackend.h"

#include <atomic>
#include <cstdint>
#include <optional>

// The audio back end on libmpv: one mpv core without video, scripts or configuration files,
// kept open at the end of a file so that the end is a pause we can tell apart from a stop.
// The output driver is "MORVANE_AO" when that variable is set (tests use "null"). The core, and
// libmpv itself, come with the first load or the first look at the outputs: until then the
// player holds its volume and has nothing to play.
//
// mpv wakes us from its own threads; that only queues one drain of its events on the main
// thread. Each load is known by the playlist entry id that mpv gives it, and events that carry
// another id belong to a replaced file and are dropped. A load that fails before mpv takes it
// (no libmpv, a refused command) is known by its place in the order of loads and stops.
class MpvAudio final : public AudioBackend
{
    Q_OBJECT

public:
    explicit MpvAudio(QObject *parent = nullptr);
    ~MpvAudio() override;

    void load(const QUrl &url, const QMap<QString, QString> &headers, double start, bool play) override;
    void stop() override;
    void play() override;
    void pause() override;
    void seek(double seconds) override;
    void setVolume(double volume) override;
    void listOutputs() override;

    [[nodiscard]] bool hasItem() const override { return m_entry != 0; }
    [[nodiscard]] bool isRunning() const override { return hasItem() && !m_coreIdle; }
    // mpv holds a stream back while its cache refills; loading a file or draining the output at
    // its end is no such wait.
    [[nodiscard]] bool isWaiting() const override { return hasItem() && m_pausedForCache; }
    [[nodiscard]] double position() const override;
    [[nodiscard]] double duration() const override;
    [[nodiscard]] QList<AudioOutput> outputs() const override { return m_outputs; }
    [[nodiscard]] QString output() const override { return m_output; }
    void setOutput(const QString &name) override;

    // Whether the mpv core has been made.
    [[nodiscard]] bool isStarted() const { return m_mpv != nullptr; }
    // mpv's own volume property (percent on its cubic scale).
    [[nodiscard]] double mpvVolume() const;

    // The one value of mpv's "http-header-fields" option for `headers`: mpv splits it at commas,
    // so commas and backslashes inside a field are escaped.
    [[nodiscard]] static QString headerFields(const QMap<QString, QString> &headers);

private:
    // Makes the core once; false when libmpv is missing or refuses (logged once).
    bool startCore();
    void applyVolume();
    static void wakeup(void *context);
    void drain();
    void handle(const mpv_event &event);
    void propertyChanged(const char *name, bool value);
    void devicesChanged(const mpv_node &list);
    void endIfDrained();
    void failLater(const QString &message);
    void setPaused(bool paused);
    [[nodiscard]] double number(const char *name) const;

    MpvLibrary m_api;
    mpv_handle *m_mpv = nullptr;
    bool m_startFailed = false;
    double m_volume = 1.0;
    std::atomic_bool m_drainQueued = false;
    // Counts loads and stops: a failure reported later belongs to the one it was counted in.
    quint64 m_generation = 0;
    // The playlist entry of the current load (0: none), and the entry mpv last started.
    int64_t m_entry = 0;
    int64_t m_startedEntry = 0;
    bool m_loaded = false;
    bool m_endSent = false;
    std::optional<double> m_heldSeek;
    // Mirrors of mpv's flags, and whether the last pause was ours.
    bool m_coreIdle = true;
    bool m_paused = false;
    bool m_eofReached = false;
    bool m_pausedForCache = false;
    bool m_pauseRequested = false;
    QList<AudioOutput> m_outputs;
    QString m_output;
};
